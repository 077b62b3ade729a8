#pragma once

#include <QDialog>
#include <QString>

class ListBox;
class PickList;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class Toolbar;

// Keeps the sales persons (the non-administrator rows of mstExecutive) in
// three modes: "CREATE" adds one, "MODIFY" looks one up and changes it,
// "DELETE" removes one that no enquiry refers to. The opener sets
// strFormMode after construction; the window prepares itself from it when
// it is first shown, and its own toolbar and Action menu switch the mode.
class frmMstMarketingExecutive : public QDialog {
    Q_OBJECT
public:
    explicit frmMstMarketingExecutive(QWidget* parent = nullptr);

    QString strFormMode;

public Q_SLOTS:
    void cmdOK_Click();
    void tbrExecutive_ButtonClick(const QString& key);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void ResetExecutiveWindow();
    bool ValidateExecutive();
    void InsertExecutive();
    void UpdateExecutive();
    void DeleteExecutive();
    void LoadSelectedExecutive();
    void lstName_Choose();

    bool NameTaken(const QString& name) const;
    QString CodeText() const;
    void buildLayout();
    void buildMenu();
    void buildToolbar();
    void attachBehaviour();
    void placeLists();

    bool m_loaded = false;
    // A person was loaded from the name list since the last preparation;
    // only then does OK in mode "MODIFY" have a row to change.
    bool m_picked = false;

    QMenuBar* menuBar;
    QMenu* mnuAction;
    QAction* mnuCreate;
    QAction* mnuModify;
    QAction* mnuDelete;
    QAction* mnuSep;
    QAction* mnuClose;
    Toolbar* tbrExecutive;
    QFrame* fraExecutive;
    QLabel* lblName;
    QLineEdit* txtName;
    ListBox* lstName;
    QLabel* lblPost;
    QLineEdit* txtPost;
    ListBox* lstPost;
    QLabel* lblUID;
    QLineEdit* txtUserID;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QLabel* lblCPassword;
    QLineEdit* txtCPassword;
    QLabel* lblDivision;
    QLineEdit* txtDivision;
    ListBox* lstDivision;
    QPushButton* cmdOK;
    QPushButton* cmdClose;

    PickList* namePicks = nullptr;
    PickList* postPicks = nullptr;
    PickList* divisionPicks = nullptr;
};
