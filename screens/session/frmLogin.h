#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class frmMain;

// The login window: looks the typed pair up in mstExecutive, demands an
// exact match of both, records who logged in and opens the main window.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdOK_Click();
    void cmdClose_Click();

private:
    void ShowMainForAdmin();
    void ShowMainForUser();
    void refuse(const QString& message);

    QFrame* fraLogin;
    QLabel* lblUID;
    QLineEdit* txtUID;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QFrame* fraLoginCmd;
    QPushButton* cmdOK;
    QPushButton* cmdClose;
    QFrame* Shape1;
};
