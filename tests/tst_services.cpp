// The service / segment window, opened from the enquiry register's
// "<NEW>" entries and on its own.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "screens/enquiry/frmEnquiryRegister.h"
#include "screens/masters/frmServices.h"
#include "ui/ComboBox.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

class TestServices : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void createdFromRegister_data();
    void createdFromRegister();
    void nameOfEitherKindRefused_data();
    void nameOfEitherKindRefused();
    void closeStoresNothing_data();
    void closeStoresNothing();
    void codeTakenWhenSaving();
    void emptyNameAccepted();
    void openedAloneStaysOpen();

private:
    // Opens the register and presses Enter in the named box on "<NEW>".
    frmServices* openFromRegister(const char* box);
    ComboBox* box(const char* name) const
    {
        return m_register->findChild<ComboBox*>(QLatin1String(name));
    }

    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<MsgBox::Recorder> m_messages;
    std::unique_ptr<Modal::Recorder> m_windows;
    QPointer<frmEnquiryRegister> m_register;
};

void TestServices::init()
{
    m_db = std::make_unique<TestDb>();
    m_db->exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exeRole) VALUES "
                              "(2,'Anita','U')"));
    m_db->exec(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (1,'Software','SR'),"
                              "(2,'Retail','SG')"));
    m_db->exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'Apex')"));
    m_messages = std::make_unique<MsgBox::Recorder>();
    m_windows = std::make_unique<Modal::Recorder>();
    modAdmin::CurrentRole = QStringLiteral("A");
    modAdmin::FromEnquiryRegister = false;
}

void TestServices::cleanup()
{
    delete m_register;
    m_windows.reset();
    m_messages.reset();
    m_db.reset();
}

frmServices* TestServices::openFromRegister(const char* name)
{
    m_register = new frmEnquiryRegister;
    ShowModal(m_register);
    ComboBox* b = box(name);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Return);
    auto* f = m_windows->last<frmServices>();
    if (f) {
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f))
            qWarning("service window not active");
    }
    return f;
}

void TestServices::createdFromRegister_data()
{
    // clang-format off
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("next"); // where the register's focus goes
    QTest::newRow("segment") << "cboSegment" << "CREATE SEGMENT" << "SG" << "cboExecutive";
    QTest::newRow("service") << "cboService" << "CREATE SERVICE" << "SR" << "cboSegment";
    // clang-format on
}

void TestServices::createdFromRegister()
{
    QFETCH(QString, boxName);
    QFETCH(QString, caption);
    QFETCH(QString, type);
    QFETCH(QString, next);
    QPointer<frmServices> f = openFromRegister(qPrintable(boxName));
    QVERIFY(f);
    QVERIFY(modAdmin::FromEnquiryRegister);
    QCOMPARE(f->windowTitle(), caption);
    QCOMPARE(m_register->focusWidget()->objectName(), next);
    auto* txtName = f->findChild<QLineEdit*>(QStringLiteral("txtName"));
    QTest::keyClicks(txtName, QStringLiteral("sOH'O"));
    QTest::keyClick(txtName, Qt::Key_Return);
    QCOMPARE(txtName->text(), QStringLiteral("Soho"));
    auto* cmdOK = f->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QCOMPARE(f->focusWidget(), cmdOK);
    QTest::keyClick(cmdOK, Qt::Key_Return);
    QVERIFY(m_messages->isEmpty());
    QTRY_VERIFY(!f);
    QVERIFY(!modAdmin::FromEnquiryRegister);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT Type FROM mstService WHERE Name='Soho'")), type);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT srNo FROM mstService WHERE Name='Soho'")),
             QStringLiteral("3"));
    ComboBox* b = box(qPrintable(boxName));
    QCOMPARE(b->list(b->listCount() - 1), QStringLiteral("Soho"));
    QCOMPARE(b->listIndex(), b->listCount() - 1);

    // The next enquiry carries the new name.
    m_register->findChild<QLineEdit*>(QStringLiteral("txtType"))->setText(QStringLiteral("Email"));
    auto* txtClient = m_register->findChild<QLineEdit*>(QStringLiteral("txtClient"));
    txtClient->setText(QStringLiteral("Apex"));
    SetTag(txtClient, QStringLiteral("1"));
    m_register->findChild<MaskEdBox*>(QStringLiteral("mskFDate"))
        ->setText(QStringLiteral("01/02/2030"));
    QTest::mouseClick(m_register->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(m_messages->isEmpty());
    const QString column =
        type == QLatin1String("SG") ? QStringLiteral("enqSegment") : QStringLiteral("enqService");
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT ") + column +
                          QStringLiteral(" FROM trnEnquiryRegister")),
             QStringLiteral("Soho"));
}

void TestServices::nameOfEitherKindRefused_data()
{
    // clang-format off
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("name");
    QTest::newRow("segment named as a service") << "cboSegment" << "software";
    QTest::newRow("service named as a segment") << "cboService" << " RETAIL ";
    QTest::newRow("segment of the same name") << "cboSegment" << "Retail";
    // clang-format on
}

void TestServices::nameOfEitherKindRefused()
{
    QFETCH(QString, boxName);
    QFETCH(QString, name);
    QPointer<frmServices> f = openFromRegister(qPrintable(boxName));
    auto* txtName = f->findChild<QLineEdit*>(QStringLiteral("txtName"));
    txtName->setText(name);
    QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Name already exists")});
    QVERIFY(f && f->isVisible());
    QCOMPARE(f->focusWidget(), txtName);
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstService")), 2);
    QCOMPARE(box(qPrintable(boxName))->listCount(), 2);
}

void TestServices::closeStoresNothing_data()
{
    // clang-format off
    QTest::addColumn<bool>("escape");
    QTest::newRow("Close") << false;
    QTest::newRow("Esc") << true;
    // clang-format on
}

void TestServices::closeStoresNothing()
{
    QFETCH(bool, escape);
    QPointer<frmServices> f = openFromRegister("cboSegment");
    auto* txtName = f->findChild<QLineEdit*>(QStringLiteral("txtName"));
    txtName->setText(QStringLiteral("Soho"));
    if (escape)
        QTest::keyClick(txtName, Qt::Key_Escape);
    else
        QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
    QTRY_VERIFY(!f);
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstService")), 2);
    QCOMPARE(box("cboSegment")->listIndex(), 0);
    QCOMPARE(box("cboSegment")->list(0), QStringLiteral("<NEW>"));
    QVERIFY(!modAdmin::FromEnquiryRegister); // no request is left standing
}

void TestServices::codeTakenWhenSaving()
{
    QPointer<frmServices> f = openFromRegister("cboService");
    auto* lblName = f->findChild<QLabel*>(QStringLiteral("lblName"));
    QCOMPARE(Tag(lblName), QStringLiteral("3"));
    // Another program takes code 3 meanwhile.
    m_db->exec(
        QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (3,'Training','SR')"));
    f->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Support"));
    QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY2(m_messages->isEmpty(), qPrintable(m_messages->texts().join(u'|')));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT srNo FROM mstService WHERE Name='Support'")),
             QStringLiteral("4"));
}

void TestServices::emptyNameAccepted()
{
    QPointer<frmServices> f = openFromRegister("cboSegment");
    QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstService WHERE Name='' AND "
                                        "Type='SG'")),
             1);
    ComboBox* b = box("cboSegment");
    QCOMPARE(b->listCount(), 3);
    QCOMPARE(b->listIndex(), 2);
    QCOMPARE(b->list(2), QString());
}

// Not opened by the register: the name is stored, nothing is handed back,
// and a second save takes a fresh code.
void TestServices::openedAloneStaysOpen()
{
    QPointer<frmServices> f = new frmServices;
    f->strServices = QStringLiteral("SERVICE");
    ShowModal(f);
    auto* txtName = f->findChild<QLineEdit*>(QStringLiteral("txtName"));
    auto* cmdOK = f->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    txtName->setText(QStringLiteral("Support"));
    QTest::mouseClick(cmdOK, Qt::LeftButton);
    txtName->setText(QStringLiteral("Training"));
    QTest::mouseClick(cmdOK, Qt::LeftButton);
    QVERIFY(m_messages->isEmpty());
    QVERIFY(f && f->isVisible());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT srNo FROM mstService WHERE Name='Support'")),
             QStringLiteral("3"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT srNo FROM mstService WHERE Name='Training'")),
             QStringLiteral("4"));
    delete f;
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
