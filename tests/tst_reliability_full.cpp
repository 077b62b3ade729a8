// A save that meets a full database (its page limit lowered to its size,
// then the table the save writes filled to the last byte): the window shows
// the database's error, nothing is half-written, and the window keeps what
// was typed.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "reliability/FollowUp.h"
#include "screens/enquiry/frmEnquiryRegister.h"
#include "screens/enquiry/frmViewHistory.h"
#include "screens/masters/frmClient.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "screens/masters/frmServices.h"
#include "ui/Grid.h"
#include "ui/ListBox.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>

namespace {

constexpr int Full = 13; // the engine's code for a full database

QString Dump()
{
    QString dump;
    for (const QString& table : data::Connection::requiredTables()) {
        data::Recordset rs(QStringLiteral("SELECT * FROM ") + table, modAdmin::DbConnection);
        dump += table + QLatin1Char('\n');
        for (; !rs.eof(); rs.moveNext()) {
            for (int i = 0; i < rs.fieldCount(); ++i)
                dump += rs.text(i) + QLatin1Char('|');
            dump += QLatin1Char('\n');
        }
    }
    return dump;
}

// Inserts rows made by row(number, length) until not even a row of one
// character fits; the database may not grow beyond its present size.
void FillUntilFull(const std::function<QString(int, int)>& row)
{
    modAdmin::DbConnection.executeNative(QStringLiteral("PRAGMA max_page_count=1"));
    int number = 0;
    for (int length = 3000; length >= 1; length /= 2) {
        for (;;) {
            try {
                modAdmin::DbConnection.execute(row(++number, length));
            } catch (const data::DbError& e) {
                if ((e.code() & 0xff) != Full)
                    throw;
                break;
            }
        }
    }
}

QString Filler(int length)
{
    return QString(length, QLatin1Char('f'));
}

// True when the statement fails on the full database (tried in a
// transaction that is rolled back).
bool Fails(const QString& sql)
{
    data::Transaction tx(modAdmin::DbConnection);
    try {
        modAdmin::DbConnection.execute(sql);
    } catch (const data::DbError& e) {
        return (e.code() & 0xff) == Full;
    }
    return false;
}

template <class T> T* Child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void Type(QWidget* w, const char* field, const QString& text)
{
    QTest::keyClicks(Child<QLineEdit>(w, field), text);
}

} // namespace

class TestReliabilityFull : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void saveMeetsFullDatabase_data();
    void saveMeetsFullDatabase();
};

void TestReliabilityFull::init()
{
    modAdmin::FromEnquiryRegister = false;
    modAdmin::CurrentExeCode = 1;
    modAdmin::CurrentRole = QStringLiteral("A");
}

void TestReliabilityFull::saveMeetsFullDatabase_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("enquiry register, second insert") << "frmEnquiryRegister";
    QTest::newRow("follow-up, insert after the update") << "frmViewHistory";
    QTest::newRow("new client") << "frmClient";
    QTest::newRow("changed client") << "frmClient MODIFY";
    QTest::newRow("new sales person") << "frmMstMarketingExecutive";
    QTest::newRow("new service") << "frmServices";
}

void TestReliabilityFull::saveMeetsFullDatabase()
{
    QFETCH(QString, window);
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO mstExecutive VALUES (1,'Boss','Head','boss','boss','','A'),"
                          "(2,'Anita','Sales','anita','anita','South','U')"));
    t.exec(QStringLiteral("INSERT INTO mstClient VALUES (1,'Apex','0471 55512','9847012345',"
                          "'MG Road','Kochi')"));
    t.exec(QStringLiteral(
        "INSERT INTO mstService(srNo,Name,Type) VALUES (1,'Software','SR'),(2,'Retail','SG')"));
    t.exec(QStringLiteral("INSERT INTO trnEnquiryRegister VALUES (1,#10/01/2024#,'Telephone',"
                          "'Software','Retail',2,1,'Annual maintenance','Sent quotation',"
                          "#25/01/2024#,40,'first call',150000)"));
    t.exec(QStringLiteral("INSERT INTO trnEnquiryStatus VALUES (1,#25/01/2024#,'Sent quotation',"
                          "'Pending','F','first call',40,150000)"));

    MsgBox::Recorder messages;
    Modal::Recorder windows;
    QPointer<QDialog> w;
    QList<QPair<QLineEdit*, QString>> typed;
    auto type = [&](const char* field, const QString& text) {
        Type(w, field, text);
        typed << qMakePair(Child<QLineEdit>(w, field), text);
    };

    if (window == QLatin1String("frmEnquiryRegister") ||
        window == QLatin1String("frmViewHistory")) {
        // Past status records of enquiry 1 fill the status table; the
        // register table keeps room, so the register's first insert
        // succeeds and its second one fails.
        FillUntilFull([](int n, int length) {
            return QStringLiteral(
                       "INSERT INTO trnEnquiryStatus VALUES (1,#25/01/2024#,'','Pending',"
                       "'P','%1',%2,0)")
                .arg(Filler(length))
                .arg(n);
        });
        if (window == QLatin1String("frmEnquiryRegister"))
            QVERIFY(!Fails(QStringLiteral("INSERT INTO trnEnquiryRegister(enqCode,enqType) VALUES "
                                          "(2,'Visit')")));
        QVERIFY(
            Fails(QStringLiteral("INSERT INTO trnEnquiryStatus(enqCode,enqKey) VALUES (2,'F')")));
    } else if (window.startsWith(QLatin1String("frmClient"))) {
        FillUntilFull([](int n, int length) {
            return QStringLiteral("INSERT INTO mstClient(cltCode,cltName,cltAddress) VALUES "
                                  "(%1,'c%1','%2')")
                .arg(n + 100)
                .arg(Filler(qMin(length, 30)));
        });
    } else if (window == QLatin1String("frmMstMarketingExecutive")) {
        FillUntilFull([](int n, int length) {
            return QStringLiteral(
                       "INSERT INTO mstExecutive(exeCode,exeName,exePost,exeRole) VALUES "
                       "(%1,'e%1','%2','A')")
                .arg(n + 100)
                .arg(Filler(qMin(length, 25)));
        });
    } else {
        FillUntilFull([](int n, int length) {
            return QStringLiteral("INSERT INTO mstService(srNo,Name,Type) VALUES (%1,'%2','SR')")
                .arg(n + 100)
                .arg(Filler(qMin(length, 20)).left(14) + QString::number(n));
        });
    }
    const QString before = Dump();

    if (window == QLatin1String("frmEnquiryRegister")) {
        w = new frmEnquiryRegister;
        ShowModal(w);
        type("txtType", QStringLiteral("Visit"));
        auto* txtClient = Child<QLineEdit>(w, "txtClient");
        auto* lstClient = Child<ListBox>(w, "lstClient");
        txtClient->setFocus();
        QTest::keyClicks(txtClient, QStringLiteral("Ap"));
        QTest::keyClick(txtClient, Qt::Key_Down);
        QTest::keyClick(lstClient, Qt::Key_Down);
        QTest::keyClick(lstClient, Qt::Key_Return);
        typed << qMakePair(txtClient, QStringLiteral("Apex"));
        TypeDate(Child<MaskEdBox>(w, "mskFDate"), QStringLiteral("15032031"));
        type("txtRequirment", QStringLiteral("Two laptops"));
        type("txtAmount", QStringLiteral("80000"));
        type("txtPercent", QStringLiteral("60"));
        type("txtComments", QStringLiteral("Call on Monday"));
    } else if (window == QLatin1String("frmViewHistory")) {
        auto* f = reliability::ShowFollowUpOfEnquiry1();
        w = f;
        type("txtReason", QStringLiteral("Asked for a demo"));
    } else if (window == QLatin1String("frmClient")) {
        auto* f = new frmClient;
        w = f;
        f->strCltFormMode = QStringLiteral("CREATE");
        f->show();
        type("txtName", QStringLiteral("Blue Star"));
        type("txtPhone", QStringLiteral("555 0199"));
        type("txtAddress", QStringLiteral("Beach Road"));
        type("txtCity", QStringLiteral("Chennai"));
    } else if (window == QLatin1String("frmClient MODIFY")) {
        // The changed row is longer and finds no room.
        auto* f = new frmClient;
        w = f;
        f->strCltFormMode = QStringLiteral("MODIFY");
        f->ShowClient(1);
        f->show();
        Child<QLineEdit>(w, "txtAddress")->selectAll();
        type("txtAddress", QStringLiteral("Beach Road, Near Light House"));
        typed.last().second = QStringLiteral("Beach Road, Near Light House");
    } else if (window == QLatin1String("frmMstMarketingExecutive")) {
        auto* f = new frmMstMarketingExecutive;
        w = f;
        f->strFormMode = QStringLiteral("CREATE");
        f->show();
        type("txtName", QStringLiteral("Binu"));
        type("txtPost", QStringLiteral("Sales"));
        type("txtUserID", QStringLiteral("binu"));
        type("txtPassword", QStringLiteral("binu"));
        type("txtCPassword", QStringLiteral("binu"));
        type("txtDivision", QStringLiteral("North"));
    } else {
        auto* f = new frmServices;
        w = f;
        f->strServices = QStringLiteral("SERVICE");
        f->show();
        type("txtName", QStringLiteral("Networking"));
    }
    QVERIFY(messages.isEmpty());

    QTest::mouseClick(Child<QPushButton>(w, "cmdOK"), Qt::LeftButton);

    QCOMPARE(messages.count(), 1);
    QVERIFY2(messages.last().text.contains(QLatin1String("full")),
             qPrintable(messages.last().text));
    QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
    QVERIFY(!modAdmin::DbConnection.inTransaction());
    QCOMPARE(Dump(), before);
    QVERIFY2(w && w->isVisible(), "the window closed");
    for (const auto& [field, text] : typed)
        QCOMPARE(field->text(), text);
    QCOMPARE(modAdmin::DbConnection.integrityCheck(), QStringLiteral("ok"));
    delete w;
}

QTEST_MAIN(TestReliabilityFull)
#include "tst_reliability_full.moc"
