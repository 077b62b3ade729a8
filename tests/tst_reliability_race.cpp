// Two programs saving to one database file at the same time: no code is
// stored twice, no save is lost, a save that meets the other program's
// lock waits, and one that waits in vain shows the database's error and
// leaves nothing half-written. KORVANE_LONG_TESTS=1 lets the two programs
// run for 30 s instead of 4 s.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "reliability/Checks.h"
#include "screens/enquiry/EnquirySave.h"
#include "screens/enquiry/FollowUpSave.h"
#include "screens/enquiry/frmEnquiryRegister.h"
#include "screens/masters/ClientSave.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "ui/ListBox.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QtTest>
#include <atomic>
#include <sqlite3.h>
#include <thread>

using namespace reliability;

namespace {

// Another program holding the write lock for a while: a second connection
// on its own thread begins a write transaction, holds it for ms and rolls
// it back.
class LockHolder {
public:
    // Holds the lock for ms after running sql, then rolls back (or commits).
    LockHolder(
        const QString& path, int ms,
        const QString& sql = QStringLiteral("UPDATE mstClient SET cltCity='held' WHERE cltCode=1"),
        bool commit = false)
    {
        m_thread = std::thread([this, path, ms, sql, commit] {
            data::Connection other;
            other.openFile(path, data::Connection::databasePassword());
            other.beginTrans();
            other.execute(sql);
            m_locked = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            if (commit)
                other.commitTrans();
            else
                other.rollbackTrans();
        });
        while (!m_locked)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~LockHolder() { m_thread.join(); }

private:
    std::atomic<bool> m_locked{false};
    std::thread m_thread;
};

EnquiryInput SomeEnquiry(const QString& type)
{
    EnquiryInput in;
    in.enquiryDate = QDate(2024, 3, 1);
    in.type = type;
    in.service = QStringLiteral("Software");
    in.segment = QStringLiteral("Retail");
    in.exeCode = 1;
    in.cltCode = 1;
    in.followDate = QDate(2024, 3, 8);
    in.percentage = QStringLiteral("50");
    in.amount = QStringLiteral("1000");
    return in;
}

void Seed(TestDb& t)
{
    t.exec(QStringLiteral("INSERT INTO mstExecutive(exeCode,exeName,exeUID,exePassword,exeRole)"
                          "VALUES(1,'Anita','anita','anita','U')"));
    t.exec(QStringLiteral("INSERT INTO mstClient(cltCode,cltName,cltPhone)VALUES(1,'Apex','1')"));
    t.exec(QStringLiteral("INSERT INTO mstService(srNo,Name,Type)VALUES(1,'Software','SR'),"
                          "(2,'Retail','SG')"));
}

// Counts calls and answers true for the first `remaining` of them; the test
// triggers below call it to take a code away from the save once.
int g_remaining = 0;
int g_calls = 0;
void TakeCode(sqlite3_context* ctx, int, sqlite3_value**)
{
    ++g_calls;
    sqlite3_result_int(ctx, g_remaining > 0 ? (--g_remaining, 1) : 0);
}

} // namespace

class TestReliabilityRace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoProgramsAtOnce();
    void duplicateCodeIsTakenAgain_data();
    void duplicateCodeIsTakenAgain();
    void saveWaitsForTheOtherProgram_data();
    void saveWaitsForTheOtherProgram();
    void saveThatWaitsInVainShowsTheError();
    void sameNameFromTwoPrograms();
};

void TestReliabilityRace::twoProgramsAtOnce()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Korvane.MDB");
    {
        data::Connection db;
        SeedForDriver(db, path);
    }
    const int seconds = LongRun() ? 30 : 4;
    QProcess first, second;
    for (QProcess* p : {&first, &second}) {
        PrepareDriver(*p, dir.path());
        p->start(DriverPath(),
                 {path, QString::number(p == &first ? 1 : 2), QString::number(seconds),
                  QStringLiteral("--executives"), QStringLiteral("--few-enquiries")});
        QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
    }
    Reported r[2];
    int i = 0;
    for (QProcess* p : {&first, &second}) {
        QVERIFY(p->waitForFinished((seconds + 60) * 1000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        r[i].read(p->readAllStandardOutput());
        QVERIFY(r[i].ready && r[i].done);
        QVERIFY2(r[i].saves() > 0, "a program saved nothing");
        ++i;
    }

    // A save may fail only on the other program's lock, with its message.
    for (const Reported& one : r)
        for (const QString& failure : one.failures)
            QVERIFY2(failure.contains(QLatin1String("in use by another program")),
                     qPrintable(failure));

    data::Connection db;
    db.openFile(path, data::Connection::databasePassword());
    const QStringList faults = InvariantFaults(db);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    for (const Reported& one : r) {
        const QStringList missing = MissingSaves(db, one);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    // No code reported twice, and nothing stored that was not reported.
    auto codes = [&](auto member) {
        QSet<qint32> set;
        for (const Reported& one : r)
            for (qint32 code : one.*member)
                set.insert(code);
        return qsizetype(set.size());
    };
    const auto sum = [&](auto member) { return (r[0].*member).size() + (r[1].*member).size(); };
    QCOMPARE(codes(&Reported::enquiries), sum(&Reported::enquiries));
    QCOMPARE(codes(&Reported::clients), sum(&Reported::clients));
    QCOMPARE(codes(&Reported::executives), sum(&Reported::executives));
    QCOMPARE(Number(db, QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister")),
             qlonglong(sum(&Reported::enquiries)));
    QCOMPARE(Number(db, QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus")),
             qlonglong(sum(&Reported::enquiries) + sum(&Reported::followUps)));
    QCOMPARE(Number(db, QStringLiteral("SELECT COUNT(*) FROM mstClient")),
             qlonglong(1 + sum(&Reported::clients)));
    QCOMPARE(Number(db, QStringLiteral("SELECT COUNT(*) FROM mstExecutive")),
             qlonglong(1 + sum(&Reported::executives)));

    qInfo("two programs for %d s: %lld and %lld saves (%lld enquiries, %lld follow-ups, %lld "
          "clients, %lld sales persons), %lld saves refused with the lock message, none lost, "
          "no code twice; the slowest save took %lld ms",
          seconds, qlonglong(r[0].saves()), qlonglong(r[1].saves()),
          qlonglong(sum(&Reported::enquiries)), qlonglong(sum(&Reported::followUps)),
          qlonglong(sum(&Reported::clients)), qlonglong(sum(&Reported::executives)),
          qlonglong(r[0].failures.size() + r[1].failures.size()),
          qMax(r[0].longestMs, r[1].longestMs));
}

void TestReliabilityRace::duplicateCodeIsTakenAgain_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("takenAway"); // how many attempts meet a code taken away
    QTest::addColumn<bool>("stored");
    QTest::newRow("enquiry, once") << "trnEnquiryRegister" << 1 << true;
    QTest::newRow("client, twice") << "mstClient" << 2 << true;
    QTest::newRow("enquiry, every time") << "trnEnquiryRegister" << 99 << false;
    QTest::newRow("client, every time") << "mstClient" << 99 << false;
}

// Between taking the code and the insert, the code is taken away (as a
// writer ignoring the lock would): the save starts over with a fresh code,
// and gives up with the database's error after three attempts. Never two
// rows with one code, never half an enquiry.
void TestReliabilityRace::duplicateCodeIsTakenAgain()
{
    QFETCH(QString, table);
    QFETCH(int, takenAway);
    QFETCH(bool, stored);
    TestDb t;
    Seed(t);
    const bool enquiry = table == QLatin1String("trnEnquiryRegister");
    QVERIFY(sqlite3_create_function_v2(modAdmin::DbConnection.handle(), "take_code", 0, SQLITE_UTF8,
                                       nullptr, TakeCode, nullptr, nullptr, nullptr) == SQLITE_OK);
    modAdmin::DbConnection.executeNative(
        enquiry
            ? QStringLiteral("CREATE TRIGGER taker BEFORE INSERT ON trnEnquiryRegister WHEN "
                             "take_code() BEGIN INSERT INTO trnEnquiryRegister(enqCode,enqType) "
                             "VALUES(NEW.enqCode,'taken'); END")
            : QStringLiteral("CREATE TRIGGER taker BEFORE INSERT ON mstClient WHEN take_code() "
                             "BEGIN INSERT INTO mstClient(cltCode,cltName) "
                             "VALUES(NEW.cltCode,'taken'); END"));
    g_remaining = takenAway;
    g_calls = 0;

    qint32 code = 0;
    QString error;
    try {
        code = enquiry
                   ? SaveEnquiryRecord(SomeEnquiry(QStringLiteral("Mine")))
                   : InsertClientRecord({QStringLiteral("Mine"), QStringLiteral("5"), {}, {}, {}});
    } catch (const data::DbError& e) {
        error = e.description();
    }
    QCOMPARE(g_calls, stored ? takenAway + 1 : 3);
    if (stored) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(code, enquiry ? 1 : 2);
    } else {
        QVERIFY2(error.contains(QLatin1String("UNIQUE constraint failed")), qPrintable(error));
    }
    const QString name = enquiry ? QStringLiteral("enqType") : QStringLiteral("cltName");
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2='Mine'").arg(table, name)),
             stored ? 1 : 0);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2='taken'").arg(table, name)),
             0);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus")),
             enquiry && stored ? 1 : 0);
}

void TestReliabilityRace::saveWaitsForTheOtherProgram_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("enquiry") << "enquiry";
    QTest::newRow("follow-up") << "follow-up";
    QTest::newRow("client") << "client";
}

// The other program holds the write lock for 1.5 s: the save waits and
// then succeeds.
void TestReliabilityRace::saveWaitsForTheOtherProgram()
{
    QFETCH(QString, kind);
    TestDb t;
    Seed(t);
    const qint32 first = SaveEnquiryRecord(SomeEnquiry(QStringLiteral("First")));
    QElapsedTimer clock;
    {
        LockHolder other(t.path(), 1500);
        clock.start();
        if (kind == QLatin1String("enquiry")) {
            SaveEnquiryRecord(SomeEnquiry(QStringLiteral("Second")));
        } else if (kind == QLatin1String("follow-up")) {
            SaveFollowUp({QString::number(first), QDate(2024, 4, 1), QStringLiteral("Closed"),
                          QStringLiteral("Done"), QStringLiteral("100"), QStringLiteral("900")});
        } else {
            InsertClientRecord({QStringLiteral("Blue Star"), QStringLiteral("7"), {}, {}, {}});
        }
    }
    QVERIFY2(clock.elapsed() >= 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister")),
             kind == QLatin1String("enquiry") ? 2 : 1);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus")),
             kind == QLatin1String("client") ? 1 : 2);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient")),
             kind == QLatin1String("client") ? 2 : 1);
    QCOMPARE(t.scalar(QStringLiteral("SELECT cltCity FROM mstClient WHERE cltCode=1")), QString());
    QVERIFY(InvariantFaults(modAdmin::DbConnection).isEmpty());
}

// The other program holds the lock longer than the wait: the register shows
// the database's error, stores nothing and keeps what was typed.
void TestReliabilityRace::saveThatWaitsInVainShowsTheError()
{
    TestDb t;
    Seed(t);
    modAdmin::CurrentExeCode = 1;
    modAdmin::CurrentRole = QStringLiteral("U");
    Modal::Recorder windows;
    MsgBox::Recorder messages;
    auto* f = new frmEnquiryRegister;
    ShowModal(f);
    auto* txtType = f->findChild<QLineEdit*>(QStringLiteral("txtType"));
    auto* txtClient = f->findChild<QLineEdit*>(QStringLiteral("txtClient"));
    auto* lstClient = f->findChild<ListBox*>(QStringLiteral("lstClient"));
    auto* mskFDate = f->findChild<MaskEdBox*>(QStringLiteral("mskFDate"));
    auto* txtComments = f->findChild<QLineEdit*>(QStringLiteral("txtComments"));
    QTest::keyClicks(txtType, QStringLiteral("Telephone"));
    txtClient->setFocus();
    QTest::keyClicks(txtClient, QStringLiteral("Ap"));
    QTest::keyClick(txtClient, Qt::Key_Down); // "<New>"
    QTest::keyClick(lstClient, Qt::Key_Down); // Apex
    QTest::keyClick(lstClient, Qt::Key_Return);
    QTest::keyClick(mskFDate, Qt::Key_Home);
    QTest::keyClicks(mskFDate, QStringLiteral("15032031"));
    QTest::keyClicks(txtComments, QStringLiteral("Call back"));
    QVERIFY(messages.isEmpty());

    QElapsedTimer clock;
    {
        LockHolder other(t.path(), 7000);
        clock.start();
        QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY2(clock.elapsed() >= 4000, qPrintable(QString::number(clock.elapsed()) +
                                                     messages.texts().join(QLatin1Char('|'))));
    }
    QCOMPARE(messages.count(), 1);
    QVERIFY2(messages.last().text.contains(QLatin1String("in use by another program")),
             qPrintable(messages.last().text));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister")), 0);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus")), 0);
    QCOMPARE(txtType->text(), QStringLiteral("Telephone"));
    QCOMPARE(txtClient->text(), QStringLiteral("Apex"));
    QCOMPARE(mskFDate->text(), QStringLiteral("15/03/2031"));
    QCOMPARE(txtComments->text(), QStringLiteral("Call back"));

    // Once the other program is done, the same OK saves.
    messages.clear();
    QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister WHERE "
                                    "enqComments='Call back'")),
             1);
    delete f;
}

// The other program creates a sales person of the same name while this one
// is past its check: the name is checked again under the lock and refused.
void TestReliabilityRace::sameNameFromTwoPrograms()
{
    TestDb t;
    Seed(t);
    MsgBox::Recorder messages;
    auto* f = new frmMstMarketingExecutive;
    f->strFormMode = QStringLiteral("CREATE");
    f->show();
    const QList<QPair<const char*, const char*>> typed{
        {"txtName", "Binu"},     {"txtPost", "Sales"},     {"txtUserID", "binu"},
        {"txtPassword", "binu"}, {"txtCPassword", "binu"}, {"txtDivision", "North"}};
    for (const auto& [name, text] : typed)
        QTest::keyClicks(f->findChild<QLineEdit*>(QLatin1String(name)), QLatin1String(text));
    {
        LockHolder other(t.path(), 1000,
                         QStringLiteral("INSERT INTO mstExecutive(exeCode,exeName,exeRole) VALUES "
                                        "(7,'binu','U')"),
                         true);
        QTest::mouseClick(f->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    }
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Name already exists!")});
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstExecutive WHERE exeName='Binu'")), 1);
    QCOMPARE(t.scalar(QStringLiteral("SELECT exeCode FROM mstExecutive WHERE exeName='Binu'")),
             QStringLiteral("7"));
    QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("txtUserID"))->text(), QStringLiteral("binu"));
    delete f;
}

QTEST_MAIN(TestReliabilityRace)
#include "tst_reliability_race.moc"
