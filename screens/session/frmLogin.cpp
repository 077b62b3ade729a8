#include "screens/session/frmLogin.h"

#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "screens/session/frmMain.h"
#include "ui/Convert.h"
#include "ui/ErrorReport.h"
#include "ui/KeyFilters.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/WindowClose.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmLogin::frmLogin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Enter User Information"));
    PrepareWindow(this);
    setFixedSize(340, 190);

    // Window load: the background colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(54, 108, 162));
    setPalette(pal);
    setAutoFillBackground(true);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(8, 8, 324, 174);
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 1px solid rgb(190, 210, 235); }"));

    fraLogin = new QFrame(this);
    fraLogin->setObjectName(QStringLiteral("fraLogin"));
    fraLogin->setGeometry(20, 18, 300, 92);
    fraLogin->setFrameShape(QFrame::StyledPanel);
    fraLogin->setAutoFillBackground(true);

    lblUID = new QLabel(QStringLiteral("User"), fraLogin);
    lblUID->setObjectName(QStringLiteral("lblUID"));
    lblUID->setGeometry(14, 16, 80, 24);
    txtUID = new QLineEdit(fraLogin);
    txtUID->setObjectName(QStringLiteral("txtUID"));
    txtUID->setGeometry(100, 16, 184, 24);
    lblUID->setBuddy(txtUID);

    lblPassword = new QLabel(QStringLiteral("Password"), fraLogin);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    lblPassword->setGeometry(14, 52, 80, 24);
    txtPassword = new QLineEdit(fraLogin);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setGeometry(100, 52, 184, 24);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMaxLength(8);
    lblPassword->setBuddy(txtPassword);

    fraLoginCmd = new QFrame(this);
    fraLoginCmd->setObjectName(QStringLiteral("fraLoginCmd"));
    fraLoginCmd->setGeometry(20, 120, 300, 50);
    fraLoginCmd->setFrameShape(QFrame::StyledPanel);
    fraLoginCmd->setAutoFillBackground(true);

    cmdOK = new QPushButton(QStringLiteral("&OK"), fraLoginCmd);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(60, 11, 84, 28);
    cmdClose = new QPushButton(QStringLiteral("E&xit"), fraLoginCmd);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(156, 11, 84, 28);

    const QPalette framePal = [] {
        QPalette p;
        p.setColor(QPalette::Window, QColor(235, 240, 248));
        return p;
    }();
    fraLogin->setPalette(framePal);
    fraLoginCmd->setPalette(framePal);

    AttachKeyHandling(txtUID, KeyFilter::Apostrophe, txtPassword);
    KeyHandling password;
    password.filter = KeyFilter::Apostrophe;
    password.onEnter = [this] { cmdOK_Click(); };
    AttachKeyHandling(txtPassword, password);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    // The Exit button ends the program; it is not the cancel button.
    connect(cmdClose, &QPushButton::clicked, this, &frmLogin::cmdClose_Click);
    NoDefaultButtons(this);
    setTabOrder(txtUID, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdClose);
    txtUID->setFocus();
}

void frmLogin::cmdClose_Click()
{
    modAdmin::EndProgram(0);
}

void frmLogin::refuse(const QString& message)
{
    MsgBox::information(this, message);
    txtUID->setText(QString());
    txtPassword->setText(QString());
    txtUID->setFocus();
}

void frmLogin::cmdOK_Click()
{
    // A failing look-up (or a code that does not fit the session) is
    // reported and the window stays open for another try.
    ErrorReport(this, [this] {
        const QString uid = txtUID->text().trimmed();
        const QString password = txtPassword->text().trimmed();
        data::Recordset rs(QStringLiteral("select * from mstExecutive where exeUID =") +
                               data::Quote(uid) + QStringLiteral(" AND exePassword=") +
                               data::Quote(password),
                           modAdmin::DbConnection);
        if (rs.eof()) {
            MsgBox::information(this, QStringLiteral("User Doesnot exist!"));
            return;
        }
        rs.moveFirst();
        modAdmin::CurrentExeCode = ui::ToInteger(rs.field(QStringLiteral("exeCode")));
        modAdmin::CurrentRole = rs.text(QStringLiteral("exeRole"));
        const QString storedUid = rs.text(QStringLiteral("exeUID"));
        const QString storedPassword = rs.text(QStringLiteral("exePassword"));
        rs.close();
        if (storedUid != uid) {
            refuse(QStringLiteral("Invalid User ID"));
            return;
        }
        if (storedPassword != password) {
            refuse(QStringLiteral("Invalid Password!"));
            return;
        }
        if (modAdmin::CurrentRole == QLatin1String("A"))
            ShowMainForAdmin();
        else
            ShowMainForUser();
    });
}

void frmLogin::ShowMainForAdmin()
{
    auto* main = new frmMain;
    close();
    ShowModal(main);
}

void frmLogin::ShowMainForUser()
{
    auto* main = new frmMain;
    close();
    main->HideAdministratorItems();
    ShowModal(main);
}
