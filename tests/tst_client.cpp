// The client window in both modes, driven through its widgets.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "screens/masters/ClientSave.h"
#include "screens/masters/frmClient.h"
#include "ui/ListBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

struct Client {
    QPointer<frmClient> f;
    QLineEdit* txtName;
    QLineEdit* txtPhone;
    QLineEdit* txtMobile;
    QLineEdit* txtAddress;
    QLineEdit* txtCity;
    QPushButton* cmdOK;
    QPushButton* cmdClose;

    // As the openers do it: mode, then (record list) ShowClient, then show.
    explicit Client(const QString& mode, qint32 code = -1)
    {
        f = new frmClient;
        f->strCltFormMode = mode;
        if (code >= 0)
            f->ShowClient(code);
        ShowModal(f);
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f))
            qWarning("client window not active");
        txtName = find("txtName");
        txtPhone = find("txtPhone");
        txtMobile = find("txtMobile");
        txtAddress = find("txtAddress");
        txtCity = find("txtCity");
        cmdOK = f->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        cmdClose = f->findChild<QPushButton*>(QStringLiteral("cmdClose"));
    }
    ~Client() { delete f; }
    QLineEdit* find(const char* name) const
    {
        auto* w = f->findChild<QLineEdit*>(QLatin1String(name));
        if (!w)
            qFatal("control %s missing", name);
        return w;
    }
    void ok() { QTest::mouseClick(cmdOK, Qt::LeftButton); }
};

} // namespace

class TestClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void captionsFromMode_data();
    void captionsFromMode();
    void enterChain();
    void checks_data();
    void checks();
    void phoneOnCreate_data();
    void phoneOnCreate();
    void createdOutsideRegisterStaysOpen();
    void apostrophes();
    void modify();
    void showUnknownClient();
    void refusedInsertKeepsWindow();
    void closeSavesNothing();
    void nameTakenByAnotherProgramMeanwhile();

private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<MsgBox::Recorder> m_messages;
    std::unique_ptr<Modal::Recorder> m_windows;
};

void TestClient::init()
{
    m_db = std::make_unique<TestDb>();
    m_db->exec(
        QStringLiteral("INSERT INTO mstClient (cltCode,cltName,cltPhone,cltMobile,cltAddress,"
                       "cltCity) VALUES (1,'Apex Traders','0484 2345','','MG Road','Kochi'),"
                       "(40000,'Blue Star','555','98470 12345','Beach Road','Calicut')"));
    m_messages = std::make_unique<MsgBox::Recorder>();
    m_windows = std::make_unique<Modal::Recorder>();
    modAdmin::FromEnquiryRegister = false;
    modAdmin::EnquiryClientList = nullptr;
}

void TestClient::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_db.reset();
}

void TestClient::captionsFromMode_data()
{
    // clang-format off
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");
    QTest::newRow("create") << "CREATE" << "Create Client" << "Create";
    QTest::newRow("modify") << "MODIFY" << "Modify Client" << "Modify";
    // clang-format on
}

void TestClient::captionsFromMode()
{
    QFETCH(QString, mode);
    QFETCH(QString, caption);
    QFETCH(QString, button);
    Client c(mode);
    QCOMPARE(c.f->windowTitle(), caption);
    QCOMPARE(c.cmdOK->text(), button);
    QCOMPARE(Tag(c.txtName), QStringLiteral("40001")); // the next free code
    QCOMPARE(c.f->focusWidget(), c.txtName);
}

void TestClient::enterChain()
{
    Client c(QStringLiteral("CREATE"));
    QTest::keyClicks(c.txtName, QStringLiteral("sri LAKSHMI traders"));
    QTest::keyClick(c.txtName, Qt::Key_Return);
    QCOMPARE(c.txtName->text(), QStringLiteral("Sri Lakshmi Traders"));
    QCOMPARE(c.f->focusWidget(), c.txtPhone);
    QTest::keyClicks(c.txtPhone, QStringLiteral("0471 55512"));
    QTest::keyClick(c.txtPhone, Qt::Key_Return);
    QCOMPARE(c.f->focusWidget(), c.txtMobile);
    QTest::keyClick(c.txtMobile, Qt::Key_Return);
    QCOMPARE(c.f->focusWidget(), c.txtAddress);
    QTest::keyClicks(c.txtAddress, QStringLiteral("mg ROAD"));
    QTest::keyClick(c.txtAddress, Qt::Key_Return);
    QCOMPARE(c.txtAddress->text(), QStringLiteral("Mg Road"));
    QCOMPARE(c.f->focusWidget(), c.txtCity);
    QTest::keyClicks(c.txtCity, QStringLiteral("kochi"));
    QTest::keyClick(c.txtCity, Qt::Key_Return);
    QCOMPARE(c.txtCity->text(), QStringLiteral("Kochi"));
    QCOMPARE(c.f->focusWidget(), c.cmdOK);
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 2);
    QTest::keyClick(c.cmdOK, Qt::Key_Return);
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=40001")),
             QStringLiteral("Sri Lakshmi Traders"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltAddress FROM mstClient WHERE cltCode=40001")),
             QStringLiteral("Mg Road"));
}

void TestClient::checks_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("mobile");
    QTest::addColumn<QString>("message"); // empty: saved
    QTest::addColumn<QString>("focus");
    QTest::newRow("no name") << "" << "" << "" << "Please Enter a Name!" << "txtName";
    QTest::newRow("no phone and no mobile") << "New One" << "" << "" << "Please Enter Phone No:!" << "txtPhone";
    QTest::newRow("existing name in other case") << "APEX traders" << "1" << "" << "Name already exists" << "txtName";
    QTest::newRow("existing name with blanks") << "  Apex Traders " << "" << "2" << "Name already exists" << "txtName";
    QTest::newRow("mobile only") << "New One" << "" << "98470" << "" << "";
    QTest::newRow("phone only") << "New One" << "22" << "" << "" << "";
    QTest::newRow("a wildcard is no wildcard") << "Ap*" << "22" << "" << "" << "";
    QTest::newRow("blank name stored empty") << "   " << "22" << "" << "" << "";
    // clang-format on
}

void TestClient::checks()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, mobile);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Client c(QStringLiteral("CREATE"));
    c.txtName->setText(name);
    c.txtPhone->setText(phone);
    c.txtMobile->setText(mobile);
    c.txtCity->setFocus();
    c.ok();
    if (message.isEmpty()) {
        QVERIFY(m_messages->isEmpty());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=40001")),
                 name.trimmed());
    } else {
        QCOMPARE(m_messages->texts(), QStringList{message});
        QCOMPARE(m_messages->last().kind, MsgBox::Kind::Information);
        QCOMPARE(c.f->focusWidget()->objectName(), focus);
        QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 2);
    }
}

void TestClient::phoneOnCreate_data()
{
    // clang-format off
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("storedPhone");
    QTest::addColumn<QString>("storedMobile");
    QTest::newRow("blanks and leading zero") << "0471 55512" << "47155512" << "0";
    QTest::newRow("stops at the dash") << "555-0199" << "555" << "0";
    QTest::newRow("plus sign") << "+1 555" << "1555" << "0";
    QTest::newRow("three groups") << "022 555 0199" << "225550199" << "0";
    // clang-format on
}

void TestClient::phoneOnCreate()
{
    QFETCH(QString, phone);
    QFETCH(QString, storedPhone);
    QFETCH(QString, storedMobile);
    Client c(QStringLiteral("CREATE"));
    QTest::keyClicks(c.txtName, QStringLiteral("Nova"));
    QTest::keyClicks(c.txtPhone, phone);
    c.ok();
    QVERIFY(m_messages->isEmpty());
    const QString where = QStringLiteral(" FROM mstClient WHERE cltName='Nova'");
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltPhone") + where), storedPhone);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltMobile") + where), storedMobile);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltCode") + where), QStringLiteral("40001"));
}

// Not asked by the register, a created client leaves the window open; the
// same name a second time is refused, so no second row.
void TestClient::createdOutsideRegisterStaysOpen()
{
    Client c(QStringLiteral("CREATE"));
    c.txtName->setText(QStringLiteral("Nova"));
    c.txtPhone->setText(QStringLiteral("1"));
    c.ok();
    QVERIFY(m_messages->isEmpty());
    QVERIFY(c.f && c.f->isVisible());
    QCOMPARE(Tag(c.txtName), QStringLiteral("40001"));
    c.ok();
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Name already exists")});
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 3);
}

void TestClient::apostrophes()
{
    Client c(QStringLiteral("CREATE"));
    QTest::keyClicks(c.txtName, QStringLiteral("O'Neil"));
    QCOMPARE(c.txtName->text(), QStringLiteral("ONeil"));
    // Pasted text is not filtered: it is stored as it stands.
    c.txtName->setText(QStringLiteral("O'Neil's Stores"));
    c.txtPhone->setText(QStringLiteral("1"));
    c.txtAddress->setText(QStringLiteral("'); DELETE FROM mstClient; --"));
    c.ok();
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=40001")),
             QStringLiteral("O'Neil's Stores"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltAddress FROM mstClient WHERE cltCode=40001")),
             QStringLiteral("'); DELETE FROM mstClient; --"));
    c.txtName->setText(QStringLiteral("o'neil's stores"));
    c.ok();
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Name already exists")});
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 3);
}

void TestClient::modify()
{
    Client c(QStringLiteral("MODIFY"), 40000); // a code above 32767
    QCOMPARE(Tag(c.txtName), QStringLiteral("40000"));
    QCOMPARE(c.txtName->text(), QStringLiteral("Blue Star"));
    QCOMPARE(c.txtPhone->text(), QStringLiteral("555"));
    QCOMPARE(c.txtMobile->text(), QStringLiteral("98470 12345"));
    QCOMPARE(c.txtAddress->text(), QStringLiteral("Beach Road"));
    QCOMPARE(c.txtCity->text(), QStringLiteral("Calicut"));
    // Another client's name is accepted; the numbers are stored as typed.
    c.txtName->setText(QStringLiteral(" apex traders "));
    c.txtPhone->setText(QStringLiteral(" 0471 55512 "));
    c.txtMobile->clear();
    c.ok();
    QVERIFY(m_messages->isEmpty());
    QTRY_VERIFY(!c.f);
    const QString where = QStringLiteral(" FROM mstClient WHERE cltCode=40000");
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName") + where),
             QStringLiteral("apex traders"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltPhone") + where), QStringLiteral("0471 55512"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltMobile") + where), QString());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltCity") + where), QStringLiteral("Calicut"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=1")),
             QStringLiteral("Apex Traders"));
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 2);
}

void TestClient::showUnknownClient()
{
    Client c(QStringLiteral("MODIFY"), 77);
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(c.txtName->text(), QString());
    QCOMPARE(Tag(c.txtName), QStringLiteral("40001"));
}

void TestClient::refusedInsertKeepsWindow()
{
    m_db->db().executeNative(QStringLiteral("CREATE TRIGGER refuseClient BEFORE INSERT ON "
                                            "mstClient BEGIN SELECT RAISE(ABORT, 'disk is full'); "
                                            "END"));
    Client c(QStringLiteral("CREATE"));
    c.txtName->setText(QStringLiteral("Nova"));
    c.txtPhone->setText(QStringLiteral("0471"));
    c.txtCity->setText(QStringLiteral("Kochi"));
    c.ok();
    QCOMPARE(m_messages->count(), 1);
    QVERIFY(m_messages->last().text.contains(QStringLiteral("disk is full")));
    QVERIFY(!modAdmin::DbConnection.inTransaction());
    QVERIFY(c.f && c.f->isVisible());
    QCOMPARE(c.txtName->text(), QStringLiteral("Nova"));
    QCOMPARE(c.txtPhone->text(), QStringLiteral("0471"));
    QCOMPARE(c.txtCity->text(), QStringLiteral("Kochi"));
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 2);

    m_db->db().executeNative(QStringLiteral("DROP TRIGGER refuseClient"));
    m_messages->clear();
    c.ok();
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltCity FROM mstClient WHERE cltName='Nova'")),
             QStringLiteral("Kochi"));
}

void TestClient::closeSavesNothing()
{
    for (bool escape : {false, true}) {
        Client c(QStringLiteral("MODIFY"), 1);
        c.txtName->setText(QStringLiteral("Changed"));
        if (escape)
            QTest::keyClick(c.txtName, Qt::Key_Escape);
        else
            QTest::mouseClick(c.cmdClose, Qt::LeftButton);
        QTRY_VERIFY(!c.f);
        QVERIFY(m_messages->isEmpty());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=1")),
                 QStringLiteral("Apex Traders"));
    }
}

void TestClient::nameTakenByAnotherProgramMeanwhile()
{
    // The window's check passed; before the save another program stored the
    // same name. The save checks again under its write lock.
    TestDb& t = *m_db;
    t.exec(QStringLiteral("DELETE FROM mstClient"));
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'Apex Traders')"));
    ClientInput in;
    in.name = QStringLiteral("apex traders");
    QVERIFY_THROWS_EXCEPTION(data::DbError, InsertClientRecord(in));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 1);
    QVERIFY(!t.db().inTransaction());
    in.name = QStringLiteral("Bharat Textiles");
    QCOMPARE(InsertClientRecord(in), 2);
}

QTEST_MAIN(TestClient)
#include "tst_client.moc"
