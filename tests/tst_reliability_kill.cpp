// A program killed (SIGKILL) at random moments while it saves enquiries,
// follow-ups and clients through the windows' save code: after every kill
// the reopened database is sound, every enquiry has exactly one current
// status record, no status record is without its enquiry, and every save
// reported before the kill is there. KORVANE_LONG_TESTS=1: 100 kills
// instead of 10.
#include "reliability/Checks.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/types.h>

using namespace reliability;

class TestReliabilityKill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedWhileSavingLosesNothing();
};

void TestReliabilityKill::killedWhileSavingLosesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Korvane.MDB");
    const QString journal = path + QStringLiteral("-journal");
    {
        data::Connection db;
        SeedForDriver(db, path);
    }

    const int kills = LongRun() ? 100 : 10;
    const quint32 seed = qEnvironmentVariableIsSet("KORVANE_TEST_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KORVANE_TEST_SEED"))
                             : QRandomGenerator::global()->generate();
    qInfo("seed %u (set KORVANE_TEST_SEED to repeat)", seed);
    QRandomGenerator random(seed);

    Reported all;
    int interrupted = 0; // kills that left a hot journal, to be rolled back
    QElapsedTimer clock;
    clock.start();
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess driver;
        PrepareDriver(driver, dir.path());
        driver.start(DriverPath(), {path, QString::number(random.generate()), QStringLiteral("0")});
        QVERIFY2(driver.waitForStarted(10000), qPrintable(driver.errorString()));
        QByteArray output;
        while (!output.contains("ready\n")) {
            QVERIFY2(driver.waitForReadyRead(10000), "the driver did not start saving");
            output += driver.readAllStandardOutput();
        }
        // Mostly short runs, so that most kills meet a save in progress;
        // now and then a longer one.
        const int ms = random.bounded(8) == 0 ? 200 + random.bounded(400) : random.bounded(120);
        QTest::qWait(ms);
        ::kill(pid_t(driver.processId()), SIGKILL);
        QVERIFY(driver.waitForFinished(10000));
        QCOMPARE(driver.exitStatus(), QProcess::CrashExit);
        output += driver.readAllStandardOutput();

        // A journal whose header was written is hot: the engine rolls it
        // back on the next open. (One cut off before its header is ignored.)
        {
            QFile j(journal);
            if (j.open(QIODevice::ReadOnly) && j.read(1) != QByteArray(1, '\0') && j.size() > 0)
                ++interrupted;
        }

        Reported run;
        run.read(output);
        for (auto it = run.enquiries.cbegin(); it != run.enquiries.cend(); ++it)
            all.enquiries.insert(it.key(), it.value());
        for (auto it = run.followUps.cbegin(); it != run.followUps.cend(); ++it)
            all.followUps.insert(it.key(), it.value());
        for (auto it = run.clients.cbegin(); it != run.clients.cend(); ++it)
            all.clients.insert(it.key(), it.value());
        all.failures << run.failures;
        QVERIFY2(run.failures.isEmpty(), qPrintable(run.failures.join(QLatin1Char('\n'))));

        // Reopening rolls back what the killed program left unfinished.
        data::Connection db;
        db.openFile(path, data::Connection::databasePassword());
        const QStringList faults = InvariantFaults(db);
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("after kill %1: ").arg(kill) +
                                              faults.join(QStringLiteral("; "))));
        const QStringList missing = MissingSaves(db, run);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("after kill %1, lost: ").arg(kill) +
                                               missing.join(QStringLiteral(", "))));
    }

    data::Connection db;
    db.openFile(path, data::Connection::databasePassword());
    QVERIFY2(MissingSaves(db, all).isEmpty(), "a save reported earlier was lost later");
    QVERIFY2(all.saves() > kills, "the driver saved too little for the kills to mean much");
    qInfo("%d kills survived in %lld ms; %d left a transaction to be rolled back; %lld saves "
          "reported "
          "(%lld enquiries, %lld follow-ups, %lld clients), none lost; database holds %lld "
          "enquiries and %lld status records",
          kills, clock.elapsed(), interrupted, qlonglong(all.saves()),
          qlonglong(all.enquiries.size()), qlonglong(all.followUps.size()),
          qlonglong(all.clients.size()),
          Number(db, QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister")),
          Number(db, QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus")));
}

QTEST_GUILESS_MAIN(TestReliabilityKill)
#include "tst_reliability_kill.moc"
