#pragma once

#include <QDialog>

class Grid;
class MaskEdBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "View History": one enquiry with its client, its registered details and
// every status record it has had, and the next follow-up to record. The
// window never looks the enquiry up itself: its callers fill the controls
// (grdView's tag holds the enquiry's code) and then show it modally; the
// history search disables cmdOK for viewing only.
class frmViewHistory : public QDialog {
    Q_OBJECT
public:
    explicit frmViewHistory(QWidget* parent = nullptr);

    // The enquiry's details; shown only, never saved.
    QGroupBox* fra1 = nullptr;
    QLineEdit* txtClient = nullptr;
    QLineEdit* txtAddress = nullptr;
    QLineEdit* txtPhone = nullptr;
    QLineEdit* txtMobile = nullptr;
    QLineEdit* txtReq = nullptr;
    QLineEdit* txtAction = nullptr;
    MaskEdBox* mskODate = nullptr;
    MaskEdBox* mskFDate = nullptr;

    // The follow-up to record.
    QGroupBox* fraStstus = nullptr;
    QRadioButton* optPending = nullptr;
    QRadioButton* optClosed = nullptr;
    QRadioButton* optDropped = nullptr;
    MaskEdBox* mskFDate2 = nullptr;
    QLineEdit* txtPercent = nullptr;
    QLineEdit* txtAmount = nullptr;
    QLineEdit* txtReason = nullptr;

    Grid* grdView = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdClose = nullptr;

public Q_SLOTS:
    void cmdOK_Click();

private:
    void Form_Load();
    bool ValidateFollowUp();
    QString SelectedStatus() const;
    void CreateControls();
};
