// Login and the main window, driven through the real widgets.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "screens/session/frmLogin.h"
#include "screens/session/frmMain.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Toolbar.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct Ended {
    int calls = 0;
    Ended()
    {
        modAdmin::SetEndHandler([this](int) { ++calls; });
    }
    ~Ended() { modAdmin::SetEndHandler({}); }
};

void addPerson(TestDb& t, int code, const QString& name, const QString& uid, const QString& pw,
               const QString& role)
{
    t.exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,exePassword,"
                          "exeDivision,exeRole) VALUES (%1,'%2','Post','%3','%4','North','%5')")
               .arg(code)
               .arg(name, uid, pw, role));
}

QStringList visibleToolbarKeys(frmMain* main)
{
    auto* bar = main->findChild<Toolbar*>(QStringLiteral("tbrKorvane"));
    QStringList keys;
    for (int i = 1; i <= bar->buttonCount(); ++i)
        if (bar->button(i)->isVisible())
            keys << bar->button(i)->key();
    return keys;
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void check_data();
    void check();
    void failingLookUpKeepsWindowOpen();
    void apostropheKeyIsIgnored();
    void exitEndsWithoutQuestion();
    void mainWindowExitQuestions_data();
    void mainWindowExitQuestions();
    void mainWindowMenusAndToolbar();
    void closingMainWindowEndsProgram();
    void mainWindowOpensWindows_data();
    void mainWindowOpensWindows();

private:
    std::unique_ptr<TestDb> m_db;
};

void TestLogin::init()
{
    m_db = std::make_unique<TestDb>();
    addPerson(*m_db, 1, QStringLiteral("Boss"), QStringLiteral("admin"), QStringLiteral("Secret1"),
              QStringLiteral("A"));
    addPerson(*m_db, 2, QStringLiteral("Anita Rao"), QStringLiteral("anita"), QStringLiteral("pw"),
              QStringLiteral("U"));
    addPerson(*m_db, 3, QStringLiteral("Lower Admin"), QStringLiteral("lower"), QStringLiteral("pw"),
              QStringLiteral("a"));
    modAdmin::CurrentExeCode = 0;
    modAdmin::CurrentRole.clear();
}

void TestLogin::check_data()
{
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");   // empty: logged in
    QTest::addColumn<bool>("fieldsEmptied");
    QTest::addColumn<int>("exeCode");
    QTest::addColumn<int>("visibleButtons");
    QTest::newRow("administrator") << "admin" << "Secret1" << "" << false << 1 << 10;
    QTest::newRow("user") << "anita" << "pw" << "" << false << 2 << 4;
    QTest::newRow("blanks trimmed") << "  anita " << " pw  " << "" << false << 2 << 4;
    QTest::newRow("role a is a user") << "lower" << "pw" << "" << false << 3 << 4;
    QTest::newRow("login in capitals") << "ADMIN" << "Secret1" << "Invalid User ID" << true << 1 << 0;
    QTest::newRow("password in other case") << "admin" << "secret1" << "Invalid Password!" << true << 1 << 0;
    QTest::newRow("unknown pair") << "nobody" << "x" << "User Doesnot exist!" << false << 0 << 0;
    QTest::newRow("both empty") << "" << "" << "User Doesnot exist!" << false << 0 << 0;
    QTest::newRow("pasted apostrophe") << "o'neil" << "x" << "User Doesnot exist!" << false << 0 << 0;
}

void TestLogin::check()
{
    QFETCH(QString, uid);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(bool, fieldsEmptied);
    QFETCH(int, exeCode);
    QFETCH(int, visibleButtons);
    MsgBox::Recorder messages;
    Modal::Recorder windows;
    QPointer<frmLogin> login = new frmLogin;
    login->show();
    QVERIFY(QTest::qWaitForWindowExposed(login));
    auto* txtUID = login->findChild<QLineEdit*>(QStringLiteral("txtUID"));
    auto* txtPassword = login->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    txtUID->setText(uid); // pasted: the key filter does not see it
    txtPassword->setText(password);
    QTest::mouseClick(login->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(modAdmin::CurrentExeCode, exeCode);
    if (message.isEmpty()) {
        QVERIFY(messages.isEmpty());
        auto* main = windows.last<frmMain>();
        QVERIFY(main);
        QCOMPARE(main->windowTitle(), QStringLiteral("KORVANE"));
        QTRY_VERIFY(!login);
        QCOMPARE(visibleToolbarKeys(main).size(), visibleButtons);
        if (visibleButtons == 4)
            QCOMPARE(visibleToolbarKeys(main),
                     (QStringList{"CHANGE LOGIN", "ENQUIRY", "ENQUIRY STATUS", "EXIT"}));
        for (const char* name : {"mnuMExecutive", "mnuTarget", "mnuEHistory", "mnuAnalysis",
                                 "mnuGraphicalAnalysis"})
            QCOMPARE(main->findChild<QAction*>(QLatin1String(name))->isVisible(),
                     visibleButtons == 10);
        for (const char* name : {"mnuCLogin", "mnuEnquiry", "mnuEStatus", "mnuView", "mnuExit", "mnuOrbel"})
            QVERIFY(main->findChild<QAction*>(QLatin1String(name))->isVisible());
        Ended ended;
        main->close();
    } else {
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
        QVERIFY(windows.shown().isEmpty());
        QVERIFY(login && login->isVisible());
        QCOMPARE(txtUID->text().isEmpty(), fieldsEmptied || uid.isEmpty());
        QCOMPARE(txtPassword->text().isEmpty(), fieldsEmptied || password.isEmpty());
        if (fieldsEmptied)
            QTRY_COMPARE(QApplication::focusWidget(), txtUID);
        delete login;
    }
}

void TestLogin::failingLookUpKeepsWindowOpen()
{
    MsgBox::Recorder messages;
    Modal::Recorder windows;
    m_db->db().close();
    frmLogin login;
    login.show();
    login.findChild<QLineEdit*>(QStringLiteral("txtUID"))->setText(QStringLiteral("anita"));
    login.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(QStringLiteral("pw"));
    login.cmdOK_Click(); // the database is closed: the look-up fails
    QCOMPARE(messages.count(), 1);
    QVERIFY(windows.shown().isEmpty());
    QVERIFY(login.isVisible());
}

void TestLogin::apostropheKeyIsIgnored()
{
    MsgBox::Recorder messages;
    Modal::Recorder windows;
    frmLogin login;
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    auto* txtUID = login.findChild<QLineEdit*>(QStringLiteral("txtUID"));
    auto* txtPassword = login.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    txtUID->setFocus();
    QTest::keyClicks(txtUID, QStringLiteral("an'ita"));
    QCOMPARE(txtUID->text(), QStringLiteral("anita"));
    QTest::keyClick(txtUID, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), txtPassword);
    QTest::keyClicks(txtPassword, QStringLiteral("p'w"));
    QCOMPARE(txtPassword->text(), QStringLiteral("pw"));
    QCOMPARE(txtPassword->echoMode(), QLineEdit::Password);
    QCOMPARE(txtPassword->maxLength(), 8);
    QTest::keyClick(txtPassword, Qt::Key_Return); // Enter logs in
    QVERIFY(windows.last<frmMain>());
    QCOMPARE(modAdmin::CurrentExeCode, qint16(2));
    QCOMPARE(modAdmin::CurrentRole, QStringLiteral("U"));
    Ended ended;
    windows.last()->close();
}

void TestLogin::exitEndsWithoutQuestion()
{
    MsgBox::Recorder messages;
    Ended ended;
    frmLogin login;
    login.show();
    QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
    QCOMPARE(ended.calls, 1);
    QVERIFY(messages.isEmpty());
}

void TestLogin::mainWindowExitQuestions_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<bool>("yes");
    QTest::newRow("menu, No") << true << false;
    QTest::newRow("menu, Yes") << true << true;
    QTest::newRow("toolbar, No") << false << false;
    QTest::newRow("toolbar, Yes") << false << true;
}

void TestLogin::mainWindowExitQuestions()
{
    QFETCH(bool, fromMenu);
    QFETCH(bool, yes);
    MsgBox::Recorder messages(yes);
    Ended ended;
    frmMain main;
    main.show();
    if (fromMenu)
        main.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    else
        main.findChild<Toolbar*>(QStringLiteral("tbrKorvane"))->clickButton(QStringLiteral("EXIT"));
    QCOMPARE(messages.texts(),
             QStringList{fromMenu ? QStringLiteral("Are you sure to Exit?") : QStringLiteral("Are you sure to exit?")});
    QCOMPARE(messages.last().kind, MsgBox::Kind::Confirmation);
    QCOMPARE(ended.calls, yes ? 1 : 0);
    QVERIFY(main.isVisible());
    QCOMPARE(visibleToolbarKeys(&main).size(), 10);
}

void TestLogin::mainWindowMenusAndToolbar()
{
    frmMain main;
    main.resize(900, 500);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    auto* bar = main.findChild<Toolbar*>(QStringLiteral("tbrKorvane"));
    const QStringList keys{"EXECUTIVE", "CHANGE LOGIN", "ENQUIRY", "ENQUIRY STATUS", "ENQUIRY HISTORY",
                           "PERFORMANCE ANALYSIS", "GRAPH", "YEARLY ANALYSIS", "SALES PIPELINE", "EXIT"};
    const QStringList tips{"Create Sales Person", "Change Login", "Enquiry", "Enquiry Status", "Enquiry History",
                           "Performance Analysis", "Graphical Analysis", "Yearly Analysis", "Sales PipeLine",
                           "End Programe"};
    QCOMPARE(bar->buttonCount(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(bar->button(i + 1)->key(), keys[i]);
        QCOMPARE(bar->button(i + 1)->toolTip(), tips[i]);
    }
    const QList<QPair<QString, QString>> captions{
        {"mnuMExecutive", "Sales Person"}, {"mnuCLogin", "Change Login"}, {"mnuEnquiry", "Enquiry"},
        {"mnuTarget", "Target"}, {"mnuEStatus", "Enquiry Status"}, {"mnuEHistory", "Enquiry History"},
        {"mnuAnalysis", "Analysis"}, {"mnuPerformanceAnalysis", "Performance Analysis"},
        {"mnuGraphicalAnalysis", "Graphical Analysis"}, {"mnuGraphEWise", "Sales Person Wise"},
        {"mnuGraphYear", "Yearly Analysis"}, {"mnuGraphSW", "Status Wise"}, {"mnuGraphEW", "Sales Person Wise"},
        {"mnuSPipeline", "Sales PipeLine"}, {"mnuSPEWise", "Sales Person Wise"}, {"mnuSPTFirm", "Total Firm"},
        {"mnuGraphTarget", "Target"}, {"mnuView", "&View"}, {"mnuVMExecutive", "&Sales Person"},
        {"mnuVClient", "&Client"}, {"mnuExit", "Exit"}, {"mnuOrbel", "Orbel"}};
    for (const auto& [name, caption] : captions) {
        auto* action = main.findChild<QAction*>(name);
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->text(), caption);
    }
    QVERIFY(!main.findChild<QAction*>(QStringLiteral("mnuVMExecutive"))->isEnabled());
    auto* line = main.findChild<QFrame*>(QStringLiteral("fraLine"));
    QCOMPARE(line->width(), main.width());
    main.resize(700, 500);
    QTRY_COMPARE(line->width(), 700);
}

void TestLogin::closingMainWindowEndsProgram()
{
    MsgBox::Recorder messages;
    Ended ended;
    auto* main = new frmMain;
    main->show();
    main->close();
    QCOMPARE(ended.calls, 1);
    QVERIFY(messages.isEmpty());
}

void TestLogin::mainWindowOpensWindows_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("toolbarKey");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("mode");
    QTest::newRow("sales person") << "mnuMExecutive" << "EXECUTIVE" << "frmMstMarketingExecutive" << "CREATE";
    QTest::newRow("enquiry register") << "mnuEnquiry" << "ENQUIRY" << "frmEnquiryRegister" << "";
    QTest::newRow("enquiry status") << "mnuEStatus" << "ENQUIRY STATUS" << "frmEnquiryStatus" << "";
}

void TestLogin::mainWindowOpensWindows()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, toolbarKey);
    QFETCH(QString, window);
    QFETCH(QString, mode);
    MsgBox::Recorder messages;
    frmMain main;
    main.show();
    for (bool fromMenu : {true, false}) {
        Modal::Recorder windows;
        if (fromMenu)
            main.findChild<QAction*>(menuItem)->trigger();
        else
            QVERIFY(main.findChild<Toolbar*>(QStringLiteral("tbrKorvane"))->clickButton(toolbarKey));
        QCOMPARE(windows.shown().size(), 1);
        QDialog* opened = windows.last();
        QCOMPARE(opened->objectName(), window);
        QVERIFY(opened->isModal() || opened->isVisible());
        if (auto* exe = qobject_cast<frmMstMarketingExecutive*>(opened))
            QCOMPARE(exe->strFormMode, mode);
        opened->close();
    }
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
