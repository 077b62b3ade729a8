// Start-up of the real program on bad database files: each ends with a
// clear message and a non-zero exit status, before any window, and leaves
// the file as it was.
#include "BadFiles.h"
#include "data/Connection.h"

#include <QProcess>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void badDatabaseEndsTheStart_data();
    void badDatabaseEndsTheStart();
};

void TestStartup::badDatabaseEndsTheStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "missing"
                                  << "Could not find file";
    QTest::newRow("zero-length file") << "empty"
                                      << "missing";
    QTest::newRow("random bytes") << "random"
                                  << "not a Korvane database";
    QTest::newRow("wrong password") << "wrongkey"
                                    << "not a Korvane database";
    QTest::newRow("missing table") << "notable"
                                   << "trnTarget";
    QTest::newRow("truncated copy") << "truncated"
                                    << "Korvane.MDB";
    QTest::newRow("cut inside the first page") << "cut100"
                                               << "Korvane.MDB";
    QTest::newRow("cut after the first page") << "firstpage"
                                              << "Korvane.MDB";
    QTest::newRow("plain SQLite database") << "plain"
                                           << "not a Korvane database";
    QTest::newRow("folder in place of the file") << "folder"
                                                 << "Could not find file";
}

void TestStartup::badDatabaseEndsTheStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    // The program opens the database beside itself: run a copy of it.
    const QString program = dir.path() + QStringLiteral("/Korvane");
    QVERIFY(QFile::copy(QStringLiteral(KORVANE_BIN_DIR "/Korvane"), program));
    const QString path = dir.path() + QStringLiteral("/Korvane.MDB");
    BadFiles::make(kind, path);
    const QByteArray before = BadFiles::hash(path);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, {});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY(p.exitCode() != 0);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(message), qPrintable(err));
    QVERIFY2(!err.contains(data::Connection::databasePassword()), qPrintable(err));
    if (kind == QLatin1String("missing"))
        QVERIFY(!QFile::exists(path));
    else
        QCOMPARE(BadFiles::hash(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
