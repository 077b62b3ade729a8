#pragma once

#include <QDialog>

class ComboBox;
class ListBox;
class MaskEdBox;
class PickList;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

// Entry of new enquiries: one row of trnEnquiryRegister and its first
// status record per save, then the window is cleared for the next one.
// Clients, services and segments that do not exist yet are created on the
// spot through the "<New>" / "<NEW>" entries. The caller sets nothing; the
// window prepares itself when it is first shown.
class frmEnquiryRegister : public QDialog {
    Q_OBJECT
public:
    explicit frmEnquiryRegister(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void ResetEnquiryForm();
    bool ValidateEnquiry();
    void SaveEnquiry();
    bool ClientIsPicked();
    void lstClient_Pick();
    void OpenServiceWindow(const QString& mode);
    void OpenClientWindow();
    void buildLayout();
    void attachKeys();

    bool m_loaded = false;

    QMenuBar* menuBar;
    QMenu* mnuAction;
    QAction* mnuClose;
    QFrame* fraEnquiry;
    QLabel* lblDateCaption;
    QLabel* lblDate;
    QLabel* lblType;
    QLineEdit* txtType;
    ListBox* lstType;
    QLabel* lblService;
    ComboBox* cboService;
    QLabel* lblSegment;
    ComboBox* cboSegment;
    QLabel* lblExecutive;
    ComboBox* cboExecutive;
    QLabel* lblClient;
    QLineEdit* txtClient;
    ListBox* lstClient;
    QLabel* lblRequirment;
    QLineEdit* txtRequirment;
    QLabel* lblAction;
    QLineEdit* txtAction;
    QLabel* lblFDate;
    MaskEdBox* mskFDate;
    QLabel* lblAmount;
    QLineEdit* txtAmount;
    QLabel* lblPercent;
    QLineEdit* txtPercent;
    QLabel* lblComments;
    QLineEdit* txtComments;
    QLineEdit* txtCode;
    QPushButton* cmdOK;
    QPushButton* cmdClose;
    PickList* typePickList;
    PickList* clientPickList;
};
