#pragma once

#include <QDialog>
#include <QPointer>

class Grid;
class MaskEdBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class ReportControl;
class frmViewHistory;

// "Enquiry Status": the open enquiries (current status Pending) of a
// period of origin or follow-up dates, the user's own unless the user is an
// administrator; a double-click opens the follow-up window for the row, and
// Print lists the same selection as a report.
class frmEnquiryStatus : public QDialog {
    Q_OBJECT
public:
    explicit frmEnquiryStatus(QWidget* parent = nullptr);

    QGroupBox* fraDate = nullptr;
    QRadioButton* optOrigin = nullptr;
    QRadioButton* optFDate = nullptr;
    MaskEdBox* mskFrom = nullptr;
    MaskEdBox* mskTo = nullptr;
    QPushButton* cmdShow = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdClose = nullptr;
    Grid* grdStatus = nullptr;
    ReportControl* rptEnquiryStatus = nullptr;

    // Fills grdStatus from the database for the options and dates in the
    // window (the dates must be valid).
    void ShowEnquiryStatus();

    // Checks the dates, fills the scratch table and renders the report
    // straight into a PDF file, without the preview. Returns true when the
    // report was written.
    bool PrintToPdf(const QString& pdfPath);

public Q_SLOTS:
    void cmdShow_Click();
    void cmdPrint_Click();
    // Fills the follow-up window with the enquiry of the current row and
    // shows it modally; nothing on a row without an enquiry. Returns the
    // window while it is still open (under a test's modal recorder), else null.
    QPointer<frmViewHistory> grdStatus_DblClick();

private:
    void CreateControls();
    void Form_Load();
    bool ValidateDates();
    void PrintEnquiryStatus();
    // The period condition's dates as date literals, in the order typed.
    QString FromLiteral() const;
    QString ToLiteral() const;
};
