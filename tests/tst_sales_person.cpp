// The sales person window, driven through its real widgets.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "screens/session/frmLogin.h"
#include "screens/session/frmMain.h"
#include "ui/ListBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"
#include "ui/Toolbar.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Window = frmMstMarketingExecutive;

namespace {

void addPerson(TestDb& t, int code, const QString& name, const QString& post, const QString& uid,
               const QString& pw, const QString& division, const QString& role)
{
    t.exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,exePassword,"
                          "exeDivision,exeRole) VALUES (%1,'%2','%3','%4','%5','%6','%7')")
               .arg(code)
               .arg(name, post, uid, pw, division, role));
}

QLineEdit* field(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(QLatin1String(name));
}

ListBox* list(QWidget* w, const char* name)
{
    return w->findChild<ListBox*>(QLatin1String(name));
}

QPushButton* button(QWidget* w, const char* name)
{
    return w->findChild<QPushButton*>(QLatin1String(name));
}

QAction* menuItem(QWidget* w, const char* name)
{
    return w->findChild<QAction*>(QLatin1String(name));
}

Toolbar* toolbar(QWidget* w)
{
    return w->findChild<Toolbar*>(QStringLiteral("tbrExecutive"));
}

// Name, post, user ID, password, division and role of one row, "|"-joined.
QString person(int code)
{
    data::Recordset rs(QStringLiteral("SELECT exeName,exePost,exeUID,exePassword,exeDivision,"
                                      "exeRole FROM mstExecutive WHERE exeCode=") +
                           QString::number(code),
                       modAdmin::DbConnection);
    if (rs.eof())
        return QString();
    QStringList values;
    for (int i = 0; i < rs.fieldCount(); ++i)
        values << rs.text(i);
    return values.join(u'|');
}

// Every row, in code order.
QStringList everyone()
{
    data::Recordset rs(QStringLiteral("SELECT exeCode FROM mstExecutive ORDER BY exeCode"),
                       modAdmin::DbConnection);
    QStringList rows;
    for (; !rs.eof(); rs.moveNext())
        rows << rs.text(0) + u':' + person(int(rs.field(0).toLongLong()));
    return rows;
}

QStringList entries(const ListBox* l)
{
    QStringList texts;
    for (int i = 0; i < l->listCount(); ++i)
        texts << l->list(i);
    return texts;
}

QString focusName()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

void enter(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_Return);
}

// Replaces a field's text the way a user would: select all, type over it.
void retype(QLineEdit* f, const QString& text)
{
    f->setFocus();
    f->selectAll();
    QTest::keyClick(f, Qt::Key_Backspace);
    QTest::keyClicks(f, text);
}

} // namespace

class TestSalesPerson : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void opensPreparedForItsMode();
    void createThroughTheWidgetsAndLogIn();
    void validation_data();
    void validation();
    void passwordsCompareTrimmed();
    void pastedApostropheIsStoredAsTyped();
    void noCodeBeyondTheLoginRange();
    void postAndDivisionPickLists();
    void namePickListOnlyInLookUpModes();
    void modifyLoadsAndSaves();
    void modifyLoadsOnDoubleClick();
    void modifyRefusesAnotherPersonsName();
    void modifyBeforePickWritesNothing();
    void modeSwitches_data();
    void modeSwitches();
    void deletePerson_data();
    void deletePerson();
    void deleteBeforePickDeletesNothing();
    void closeSavesNothing_data();
    void closeSavesNothing();
    void databaseFailuresAreReported();

private:
    Window* open(const QString& mode);
    // Types the first letters into txtName, then Down-arrow and Enter.
    void pick(Window* f, const QString& prefix);
    int persons() { return m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstExecutive")); }

    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<Modal::Recorder> m_modal;
    std::unique_ptr<MsgBox::Recorder> m_msg;
    QPointer<Window> m_window;
};

void TestSalesPerson::init()
{
    m_db = std::make_unique<TestDb>();
    addPerson(*m_db, 1, QStringLiteral("Admin"), QStringLiteral("Administrator"),
              QStringLiteral("admin"), QStringLiteral("Secret1"), QStringLiteral("Head Office"),
              QStringLiteral("A"));
    addPerson(*m_db, 2, QStringLiteral("Anna Maria"), QStringLiteral("Accountant"),
              QStringLiteral("anna"), QStringLiteral("pw2"), QStringLiteral("North"),
              QStringLiteral("U"));
    addPerson(*m_db, 3, QStringLiteral("Bala Krishnan"), QStringLiteral("Sales Executive"),
              QStringLiteral("bala"), QStringLiteral("pw3"), QStringLiteral("South"),
              QStringLiteral("U"));
    addPerson(*m_db, 4, QStringLiteral("Bhavana"), QStringLiteral("Technician"),
              QStringLiteral("bhav"), QStringLiteral("pw4"), QStringLiteral("Service"),
              QStringLiteral("U"));
    // Bala Krishnan has an enquiry.
    m_db->exec(
        QStringLiteral("INSERT INTO mstClient (cltCode,cltName,cltPhone,cltMobile,"
                       "cltAddress,cltCity) VALUES (1,'Sun Traders','1','2','Road','Town')"));
    m_db->exec(QStringLiteral(
        "INSERT INTO trnEnquiryRegister (enqCode,enqDate,enqType,enqService,enqSegment,"
        "enqExeCode,enqCltCode,enqRequirment,enqAction,enqFollowdate,enqPercentage,enqComments,"
        "enqAmount) VALUES (1,#05/01/2004#,'Phone','Repair','Retail',3,1,'r','a',#10/01/2004#,"
        "50,'c',1000)"));
    m_modal = std::make_unique<Modal::Recorder>();
    m_msg = std::make_unique<MsgBox::Recorder>();
}

void TestSalesPerson::cleanup()
{
    delete m_window.data();
    m_msg.reset();
    m_modal.reset();
    m_db.reset();
}

Window* TestSalesPerson::open(const QString& mode)
{
    // As the main window opens it.
    auto* f = new Window;
    f->strFormMode = mode;
    ShowModal(f);
    m_window = f;
    if (!QTest::qWaitForWindowActive(f))
        qWarning("window not active");
    return f;
}

void TestSalesPerson::pick(Window* f, const QString& prefix)
{
    QLineEdit* name = field(f, "txtName");
    name->setFocus();
    QTest::keyClicks(name, prefix);
    QTest::keyClick(name, Qt::Key_Down);
    enter(list(f, "lstName"));
}

void TestSalesPerson::opensPreparedForItsMode()
{
    Window* f = open(QStringLiteral("CREATE"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Create Sales Person"));
    QCOMPARE(focusName(), QStringLiteral("txtName"));
    QCOMPARE(f->palette().color(QPalette::Window), QColor(0, 159, 204));
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("5"));
    for (const char* name : {"lstName", "lstPost", "lstDivision"})
        QVERIFY2(list(f, name)->isHidden(), name);

    const struct {
        const char* name;
        int limit;
    } limits[] = {{"txtName", 30},    {"txtPost", 25},     {"txtUserID", 10},
                  {"txtPassword", 8}, {"txtCPassword", 8}, {"txtDivision", 20}};
    for (const auto& l : limits)
        QCOMPARE(field(f, l.name)->maxLength(), l.limit);
    QCOMPARE(field(f, "txtPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(field(f, "txtCPassword")->echoMode(), QLineEdit::Password);

    Toolbar* bar = toolbar(f);
    QVERIFY(bar);
    QCOMPARE(bar->buttonCount(), 3);
    const QStringList keys{QStringLiteral("CREATE"), QStringLiteral("MODIFY"),
                           QStringLiteral("DELETE")};
    const QStringList tips{QStringLiteral("Create Marketing Executive"),
                           QStringLiteral("Modify Marketing Executive"),
                           QStringLiteral("Delete Marketing Executive")};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(bar->button(i + 1)->key(), keys[i]);
        QCOMPARE(bar->button(i + 1)->toolTip(), tips[i]);
    }

    auto* action = f->findChild<QMenu*>(QStringLiteral("mnuAction"));
    QVERIFY(action);
    QCOMPARE(action->title(), QStringLiteral("&Action"));
    QStringList items;
    for (QAction* a : action->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(items, QStringList({QStringLiteral("&Create"), QStringLiteral("&Modify"),
                                 QStringLiteral("&Delete"), QStringLiteral("-"),
                                 QStringLiteral("&Close")}));
    QVERIFY(menuItem(f, "mnuModify")->isEnabled());
}

void TestSalesPerson::createThroughTheWidgetsAndLogIn()
{
    Window* f = open(QStringLiteral("CREATE"));
    QLineEdit* name = field(f, "txtName");
    // Every Enter moves on; names, posts and divisions get proper case.
    QTest::keyClicks(name, QStringLiteral("  ravi KUMAR  "));
    enter(name);
    QCOMPARE(focusName(), QStringLiteral("txtPost"));
    QTest::keyClicks(field(f, "txtPost"), QStringLiteral(" field engineer "));
    enter(field(f, "txtPost"));
    QCOMPARE(focusName(), QStringLiteral("txtUserID"));
    QTest::keyClicks(field(f, "txtUserID"), QStringLiteral(" Ravi "));
    enter(field(f, "txtUserID"));
    QCOMPARE(focusName(), QStringLiteral("txtPassword"));
    QTest::keyClicks(field(f, "txtPassword"), QStringLiteral("Pw9"));
    enter(field(f, "txtPassword"));
    QCOMPARE(focusName(), QStringLiteral("txtCPassword"));
    QTest::keyClicks(field(f, "txtCPassword"), QStringLiteral("Pw9"));
    enter(field(f, "txtCPassword"));
    QCOMPARE(focusName(), QStringLiteral("txtDivision"));
    QTest::keyClicks(field(f, "txtDivision"), QStringLiteral("east zone"));
    enter(field(f, "txtDivision"));
    QCOMPARE(focusName(), QStringLiteral("cmdOK"));
    QCOMPARE(persons(), 4); // Enter only moved the focus
    enter(button(f, "cmdOK"));

    QVERIFY2(m_msg->isEmpty(), qPrintable(m_msg->texts().join(u'|')));
    QCOMPARE(persons(), 5);
    QCOMPARE(person(5), QStringLiteral("Ravi Kumar|Field Engineer|Ravi|Pw9|East Zone|U"));

    // Cleared for the next person, with the next code, in the same mode.
    for (const char* n :
         {"txtName", "txtPost", "txtUserID", "txtPassword", "txtCPassword", "txtDivision"})
        QVERIFY2(field(f, n)->text().isEmpty(), n);
    QCOMPARE(Tag(name), QStringLiteral("6"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Create Sales Person"));
    QCOMPARE(focusName(), QStringLiteral("txtName"));
    f->close();

    // The new person logs in at once.
    modAdmin::CurrentExeCode = 0;
    modAdmin::CurrentRole.clear();
    QPointer<frmLogin> login = new frmLogin;
    login->show();
    QTest::keyClicks(login->findChild<QLineEdit*>(QStringLiteral("txtUID")),
                     QStringLiteral("Ravi"));
    QTest::keyClicks(login->findChild<QLineEdit*>(QStringLiteral("txtPassword")),
                     QStringLiteral("Pw9"));
    QTest::mouseClick(login->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY2(m_msg->isEmpty(), qPrintable(m_msg->texts().join(u'|')));
    QCOMPARE(modAdmin::CurrentExeCode, qint16(5));
    QCOMPARE(modAdmin::CurrentRole, QStringLiteral("U"));
    auto* main = m_modal->last<frmMain>();
    QVERIFY(main);
    delete main;
    delete login.data();
}

void TestSalesPerson::validation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("plain");
    QTest::addColumn<QString>("focus");

    const QString n = QStringLiteral("New Person");
    const QString u = QStringLiteral("newp");
    const QString p = QStringLiteral("abc");
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << ""
                               << "Please Enter Name!" << false << "txtName";
    QTest::newRow("only blanks as name")
        << "   " << u << p << p << "Please Enter Name!" << false << "txtName";
    QTest::newRow("no user ID") << n << "" << p << p << "Please Enter UserID!" << false
                                << "txtUserID";
    QTest::newRow("only blanks as user ID")
        << n << "  " << p << p << "Please Enter UserID!" << false << "txtUserID";
    QTest::newRow("no password") << n << u << "" << p << "Please Enter a Password!" << false
                                 << "txtPassword";
    QTest::newRow("only blanks as password")
        << n << u << "  "
        << "  "
        << "Please Enter a Password!" << false << "txtPassword";
    QTest::newRow("no confirmation") << n << u << p << ""
                                     << "Please confirm the Password!" << false << "txtCPassword";
    QTest::newRow("passwords differ in case")
        << n << u << p << "ABC"
        << "Please re-enter passwords!" << true << "txtPassword";
    QTest::newRow("name taken, other case")
        << "bala KRISHNAN" << u << p << p << "Name already exists!" << false << "txtName";
    QTest::newRow("name taken, blanks around")
        << " Anna Maria " << u << p << p << "Name already exists!" << false << "txtName";
    QTest::newRow("name of an administrator")
        << "admin" << u << p << p << "Name already exists!" << false << "txtName";
    // Every check before the name check runs first.
    QTest::newRow("name taken and no user ID")
        << "Bhavana"
        << "" << p << p << "Please Enter UserID!" << false << "txtUserID";
}

void TestSalesPerson::validation()
{
    QFETCH(QString, name);
    QFETCH(QString, uid);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(bool, plain);
    QFETCH(QString, focus);

    Window* f = open(QStringLiteral("CREATE"));
    QTest::keyClicks(field(f, "txtName"), name);
    QTest::keyClicks(field(f, "txtUserID"), uid);
    QTest::keyClicks(field(f, "txtPassword"), password);
    QTest::keyClicks(field(f, "txtCPassword"), confirm);
    QTest::keyClicks(field(f, "txtPost"), QStringLiteral("Clerk"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_msg->texts(), QStringList{message});
    QCOMPARE(m_msg->last().kind, plain ? MsgBox::Kind::Plain : MsgBox::Kind::Information);
    QCOMPARE(focusName(), focus);
    QCOMPARE(persons(), 4);
    // The window is not cleared; only a password mismatch empties both fields.
    QCOMPARE(field(f, "txtName")->text(), name);
    QCOMPARE(field(f, "txtUserID")->text(), uid);
    QCOMPARE(field(f, "txtPost")->text(), QStringLiteral("Clerk"));
    QCOMPARE(field(f, "txtPassword")->text(), plain ? QString() : password);
    QCOMPARE(field(f, "txtCPassword")->text(), plain ? QString() : confirm);
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("5"));
}

void TestSalesPerson::passwordsCompareTrimmed()
{
    Window* f = open(QStringLiteral("CREATE"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("Chitra"));
    QTest::keyClicks(field(f, "txtUserID"), QStringLiteral("chitra"));
    QTest::keyClicks(field(f, "txtPassword"), QStringLiteral("abc"));
    QTest::keyClicks(field(f, "txtCPassword"), QStringLiteral("abc "));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QVERIFY2(m_msg->isEmpty(), qPrintable(m_msg->texts().join(u'|')));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT exePassword FROM mstExecutive WHERE exeCode=5")),
             QStringLiteral("abc"));
    // Post and division are optional and stored as empty texts.
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstExecutive WHERE exeCode=5 AND "
                                        "exePost='' AND exeDivision=''")),
             1);
}

void TestSalesPerson::pastedApostropheIsStoredAsTyped()
{
    Window* f = open(QStringLiteral("CREATE"));
    // Typed, the apostrophe is dropped; pasted, it reaches the field.
    QTest::keyClicks(field(f, "txtPost"), QStringLiteral("O'Neil"));
    QCOMPARE(field(f, "txtPost")->text(), QStringLiteral("ONeil"));
    field(f, "txtName")->setText(QStringLiteral("D'Souza"));
    field(f, "txtUserID")->setText(QStringLiteral("d'souza"));
    field(f, "txtPassword")->setText(QStringLiteral("a'b"));
    field(f, "txtCPassword")->setText(QStringLiteral("a'b"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QVERIFY2(m_msg->isEmpty(), qPrintable(m_msg->texts().join(u'|')));
    QCOMPARE(person(5), QStringLiteral("D'Souza|ONeil|d'souza|a'b||U"));

    // The same name again is found taken.
    field(f, "txtName")->setText(QStringLiteral("d'souza"));
    field(f, "txtUserID")->setText(QStringLiteral("x"));
    field(f, "txtPassword")->setText(QStringLiteral("x"));
    field(f, "txtCPassword")->setText(QStringLiteral("x"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{QStringLiteral("Name already exists!")});
    QCOMPARE(persons(), 5);
}

void TestSalesPerson::noCodeBeyondTheLoginRange()
{
    // A login code is held in 16 bits: a person with code 32768 could
    // never log in, so none is created.
    addPerson(*m_db, 32767, QStringLiteral("Last"), QString(), QStringLiteral("last"),
              QStringLiteral("l"), QString(), QStringLiteral("U"));
    Window* f = open(QStringLiteral("CREATE"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("One Too Many"));
    QTest::keyClicks(field(f, "txtUserID"), QStringLiteral("many"));
    QTest::keyClicks(field(f, "txtPassword"), QStringLiteral("m"));
    QTest::keyClicks(field(f, "txtCPassword"), QStringLiteral("m"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->count(), 1);
    QCOMPARE(m_msg->last().kind, MsgBox::Kind::Information);
    QVERIFY2(m_msg->last().text.contains(QLatin1String("32767")), qPrintable(m_msg->last().text));
    QCOMPARE(persons(), 5);
    QCOMPARE(field(f, "txtName")->text(), QStringLiteral("One Too Many"));
}

void TestSalesPerson::postAndDivisionPickLists()
{
    Window* f = open(QStringLiteral("CREATE"));
    QLineEdit* post = field(f, "txtPost");
    ListBox* posts = list(f, "lstPost");
    post->setFocus();
    QTest::keyClicks(post, QStringLiteral("s"));
    QVERIFY(posts->isVisible());
    QCOMPARE(posts->list(0), QStringLiteral("Sales Executive"));
    QVERIFY(!entries(posts).contains(QStringLiteral("Administrator")));
    QTest::keyClick(post, Qt::Key_Down);
    QCOMPARE(focusName(), QStringLiteral("lstPost"));
    enter(posts);
    QCOMPARE(post->text(), QStringLiteral("Sales Executive"));
    QVERIFY(posts->isHidden());
    QCOMPARE(focusName(), QStringLiteral("txtUserID"));

    // An administrator's post is not offered; no match hides the list.
    retype(post, QStringLiteral("adm"));
    QVERIFY(posts->isHidden());

    QLineEdit* division = field(f, "txtDivision");
    ListBox* divisions = list(f, "lstDivision");
    division->setFocus();
    QTest::keyClicks(division, QStringLiteral("so"));
    QVERIFY(divisions->isVisible());
    QCOMPARE(divisions->list(0), QStringLiteral("South"));
    divisions->setListIndex(0);
    const QRect first = divisions->visualRect(divisions->model()->index(0, 0));
    QTest::mouseDClick(divisions->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(division->text(), QStringLiteral("South"));
    QVERIFY(divisions->isHidden());
    QCOMPARE(focusName(), QStringLiteral("cmdOK"));
    // Emptying the field hides the list again.
    retype(division, QStringLiteral("s"));
    QVERIFY(divisions->isVisible());
    QTest::keyClick(division, Qt::Key_Backspace);
    QVERIFY(divisions->isHidden());

    // In create mode the name list stays hidden.
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("b"));
    QVERIFY(list(f, "lstName")->isHidden());
}

void TestSalesPerson::namePickListOnlyInLookUpModes()
{
    Window* f = open(QStringLiteral("CREATE"));
    QVERIFY(toolbar(f)->clickButton(QStringLiteral("DELETE")));
    QLineEdit* name = field(f, "txtName");
    ListBox* names = list(f, "lstName");
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("a"));
    // From the first match onwards, never an administrator.
    QCOMPARE(entries(names),
             QStringList({QStringLiteral("Anna Maria"), QStringLiteral("Bala Krishnan"),
                          QStringLiteral("Bhavana")}));
    QVERIFY(names->isVisible());
    QCOMPARE(names->itemData(1), 3);
    // A key that changes nothing still hides the list.
    QTest::keyClick(name, '\'');
    QCOMPARE(name->text(), QStringLiteral("a"));
    QVERIFY(names->isHidden());
    retype(name, QStringLiteral("adm"));
    QVERIFY(names->isHidden());
    retype(name, QStringLiteral("  "));
    QVERIFY(names->isHidden());
    // The post and division lists are not active here.
    QTest::keyClicks(field(f, "txtPost"), QStringLiteral("s"));
    QVERIFY(list(f, "lstPost")->isHidden());
}

void TestSalesPerson::modifyLoadsAndSaves()
{
    Window* f = open(QStringLiteral("CREATE"));
    QVERIFY(toolbar(f)->clickButton(QStringLiteral("MODIFY")));
    QCOMPARE(f->strFormMode, QStringLiteral("MODIFY"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Modify Sales Person"));
    QCOMPARE(focusName(), QStringLiteral("txtName"));

    pick(f, QStringLiteral("ba"));
    QVERIFY(list(f, "lstName")->isHidden());
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("3"));
    QCOMPARE(field(f, "txtName")->text(), QStringLiteral("Bala Krishnan"));
    QCOMPARE(field(f, "txtPost")->text(), QStringLiteral("Sales Executive"));
    QCOMPARE(field(f, "txtUserID")->text(), QStringLiteral("bala"));
    QCOMPARE(field(f, "txtPassword")->text(), QStringLiteral("pw3"));
    QCOMPARE(field(f, "txtCPassword")->text(), QStringLiteral("pw3"));
    QCOMPARE(field(f, "txtDivision")->text(), QStringLiteral("South"));
    QCOMPARE(field(f, "txtCPassword")->displayText(), QStringLiteral("***"));
    // The load's own name change does not drop the list down again.
    QVERIFY(list(f, "lstName")->isHidden());

    retype(field(f, "txtPost"), QStringLiteral("Area Manager "));
    QVERIFY(list(f, "lstPost")->isHidden());
    retype(field(f, "txtPassword"), QStringLiteral("new1"));
    retype(field(f, "txtCPassword"), QStringLiteral("new1"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);

    QVERIFY2(m_msg->isEmpty(), qPrintable(m_msg->texts().join(u'|')));
    QCOMPARE(persons(), 4);
    QCOMPARE(person(3), QStringLiteral("Bala Krishnan|Area Manager|bala|new1|South|U"));
    // Nobody else changed.
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT exePost FROM mstExecutive WHERE exeCode=2")),
             QStringLiteral("Accountant"));
    QVERIFY(field(f, "txtName")->text().isEmpty());
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("5"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Modify Sales Person"));

    // A second OK without a new pick changes nothing.
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("Bala Krishnan"));
    QTest::keyClicks(field(f, "txtUserID"), QStringLiteral("x"));
    QTest::keyClicks(field(f, "txtPassword"), QStringLiteral("x"));
    QTest::keyClicks(field(f, "txtCPassword"), QStringLiteral("x"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{QStringLiteral("Please Select a Sales Person")});
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT exeUID FROM mstExecutive WHERE exeCode=3")),
             QStringLiteral("bala"));
}

void TestSalesPerson::modifyLoadsOnDoubleClick()
{
    Window* f = open(QStringLiteral("MODIFY"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Modify Sales Person"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("bh"));
    ListBox* names = list(f, "lstName");
    QVERIFY(names->isVisible());
    const QRect first = names->visualRect(names->model()->index(0, 0));
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(names->viewport(), Qt::LeftButton, {}, first.center());
    QVERIFY(names->isHidden());
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("4"));
    QCOMPARE(field(f, "txtName")->text(), QStringLiteral("Bhavana"));
    QCOMPARE(field(f, "txtDivision")->text(), QStringLiteral("Service"));
    QVERIFY(m_msg->isEmpty());
}

void TestSalesPerson::modifyRefusesAnotherPersonsName()
{
    Window* f = open(QStringLiteral("MODIFY"));
    pick(f, QStringLiteral("bha"));
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("4"));
    retype(field(f, "txtName"), QStringLiteral("anna maria"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{QStringLiteral("Name already exists!")});
    QCOMPARE(focusName(), QStringLiteral("txtName"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT exeName FROM mstExecutive WHERE exeCode=4")),
             QStringLiteral("Bhavana"));

    // A name nobody has is taken over, in the letter case typed.
    m_msg->clear();
    retype(field(f, "txtName"), QStringLiteral("Bhavana Devi"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QVERIFY2(m_msg->isEmpty(), qPrintable(m_msg->texts().join(u'|')));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT exeName FROM mstExecutive WHERE exeCode=4")),
             QStringLiteral("Bhavana Devi"));
}

void TestSalesPerson::modifyBeforePickWritesNothing()
{
    Window* f = open(QStringLiteral("MODIFY"));
    const QStringList before = everyone();
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("Zed"));
    QTest::keyClicks(field(f, "txtUserID"), QStringLiteral("zed"));
    QTest::keyClicks(field(f, "txtPassword"), QStringLiteral("z"));
    QTest::keyClicks(field(f, "txtCPassword"), QStringLiteral("z"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{QStringLiteral("Please Select a Sales Person")});
    QCOMPARE(focusName(), QStringLiteral("txtName"));
    QCOMPARE(field(f, "txtName")->text(), QStringLiteral("Zed"));
    QCOMPARE(everyone(), before);
}

void TestSalesPerson::modeSwitches_data()
{
    QTest::addColumn<QString>("how"); // "toolbar" or "menu"
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");

    for (const QString how : {QStringLiteral("toolbar"), QStringLiteral("menu")}) {
        QTest::newRow(qPrintable(how + QStringLiteral(" create"))) << how << "CREATE"
                                                                   << "Create Sales Person";
        QTest::newRow(qPrintable(how + QStringLiteral(" modify"))) << how << "MODIFY"
                                                                   << "Modify Sales Person";
        QTest::newRow(qPrintable(how + QStringLiteral(" delete"))) << how << "DELETE"
                                                                   << "Delete Sales Person";
    }
}

void TestSalesPerson::modeSwitches()
{
    QFETCH(QString, how);
    QFETCH(QString, key);
    QFETCH(QString, caption);

    // Start from another mode with typed text and a visible list.
    Window* f =
        open(key == QLatin1String("MODIFY") ? QStringLiteral("DELETE") : QStringLiteral("MODIFY"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("b"));
    QVERIFY(list(f, "lstName")->isVisible());
    QTest::keyClicks(field(f, "txtDivision"), QStringLiteral("North"));
    m_db->exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,"
                              "exePassword,exeDivision,exeRole) VALUES (9,'X','','','','','U')"));

    if (how == QLatin1String("toolbar")) {
        QVERIFY(toolbar(f)->clickButton(key));
    } else {
        const QString name = QStringLiteral("mnu") + key.at(0) + key.mid(1).toLower();
        QAction* item = f->findChild<QAction*>(name);
        QVERIFY(item);
        QVERIFY(item->isEnabled());
        item->trigger();
    }
    QCOMPARE(f->strFormMode, key);
    QCOMPARE(f->windowTitle(), caption);
    QVERIFY(field(f, "txtName")->text().isEmpty());
    QVERIFY(field(f, "txtDivision")->text().isEmpty());
    QVERIFY(list(f, "lstName")->isHidden());
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("10"));
    QCOMPARE(focusName(), QStringLiteral("txtName"));
    QVERIFY(m_msg->isEmpty());
}

void TestSalesPerson::deletePerson_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("kept");

    const QString ask = QStringLiteral("Are you sure to delete?");
    QTest::newRow("in use") << "bal" << 3 << true
                            << QStringList{QStringLiteral("Cannot Delete Record, Already in use!")}
                            << true;
    QTest::newRow("free, Yes") << "bh" << 4 << true << QStringList{ask} << false;
    QTest::newRow("free, No") << "bh" << 4 << false << QStringList{ask} << true;
}

void TestSalesPerson::deletePerson()
{
    QFETCH(QString, prefix);
    QFETCH(int, code);
    QFETCH(bool, yes);
    QFETCH(QStringList, messages);
    QFETCH(bool, kept);

    Window* f = open(QStringLiteral("DELETE"));
    QCOMPARE(f->windowTitle(), QStringLiteral("Delete Sales Person"));
    pick(f, prefix);
    QCOMPARE(Tag(field(f, "txtName")), QString::number(code));
    m_msg->setAnswer(yes);
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_msg->texts(), messages);
    if (messages.first().startsWith(QLatin1String("Are")))
        QCOMPARE(m_msg->last().kind, MsgBox::Kind::Confirmation);
    else
        QCOMPARE(m_msg->last().kind, MsgBox::Kind::Information);
    const QString count =
        QStringLiteral("SELECT COUNT(*) FROM mstExecutive WHERE exeCode=") + QString::number(code);
    QCOMPARE(m_db->count(count), kept ? 1 : 0);
    QCOMPARE(persons(), kept ? 4 : 3);
    // Cleared after either answer; a refusal keeps the picked person.
    QCOMPARE(field(f, "txtName")->text().isEmpty(), messages.first().startsWith(u'A'));
}

void TestSalesPerson::deleteBeforePickDeletesNothing()
{
    Window* f = open(QStringLiteral("DELETE"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("Bhavana"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{QStringLiteral("Are you sure to delete?")});
    QCOMPARE(persons(), 4);
    QCOMPARE(Tag(field(f, "txtName")), QStringLiteral("5"));
}

void TestSalesPerson::closeSavesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("menu") << "menu";
}

void TestSalesPerson::closeSavesNothing()
{
    QFETCH(QString, how);
    Window* f = open(QStringLiteral("CREATE"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("Unsaved"));
    QTest::keyClicks(field(f, "txtUserID"), QStringLiteral("u"));
    QTest::keyClicks(field(f, "txtPassword"), QStringLiteral("u"));
    QTest::keyClicks(field(f, "txtCPassword"), QStringLiteral("u"));
    if (how == QLatin1String("button"))
        QTest::mouseClick(button(f, "cmdClose"), Qt::LeftButton);
    else if (how == QLatin1String("esc"))
        QTest::keyClick(field(f, "txtPassword"), Qt::Key_Escape);
    else
        menuItem(f, "mnuClose")->trigger();
    QVERIFY(!f->isVisible());
    QTRY_VERIFY(m_window.isNull()); // closing deletes the window
    QVERIFY(m_msg->isEmpty());
    QCOMPARE(persons(), 4);
}

void TestSalesPerson::databaseFailuresAreReported()
{
    Window* f = open(QStringLiteral("MODIFY"));
    QTest::keyClicks(field(f, "txtName"), QStringLiteral("b"));
    QVERIFY(list(f, "lstName")->isVisible());
    QTest::keyClick(field(f, "txtName"), Qt::Key_Down);
    modAdmin::DbConnection.close(); // every statement fails from here on

    // Enter in the name list, the toolbar, OK and the post refresh each
    // report the failure and leave the window working.
    enter(list(f, "lstName"));
    QCOMPARE(m_msg->count(), 1);
    QCOMPARE(m_msg->last().kind, MsgBox::Kind::Information);
    QVERIFY(!m_msg->last().text.isEmpty());
    QVERIFY(field(f, "txtPost")->text().isEmpty());

    m_msg->clear();
    QVERIFY(toolbar(f)->clickButton(QStringLiteral("CREATE")));
    QCOMPARE(m_msg->count(), 1);
    QCOMPARE(f->windowTitle(), QStringLiteral("Create Sales Person"));

    m_msg->clear();
    QTest::keyClicks(field(f, "txtPost"), QStringLiteral("s"));
    QCOMPARE(m_msg->count(), 1);

    m_msg->clear();
    field(f, "txtName")->setText(QStringLiteral("New"));
    field(f, "txtUserID")->setText(QStringLiteral("new"));
    field(f, "txtPassword")->setText(QStringLiteral("n"));
    field(f, "txtCPassword")->setText(QStringLiteral("n"));
    QTest::mouseClick(button(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_msg->count(), 1);
    // The failed save does not clear the window.
    QCOMPARE(field(f, "txtName")->text(), QStringLiteral("New"));
    QVERIFY(f->isVisible());
}

QTEST_MAIN(TestSalesPerson)
#include "tst_sales_person.moc"
