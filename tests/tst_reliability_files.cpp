// More bad database files at start-up of the real program (beside the
// cases of tst_startup): cut inside and at the end of its first page, a
// plain unencrypted SQLite database of another program, a folder in place
// of the file. Each ends the start
// with a message naming the file and a non-zero exit status, before any
// window, and leaves the file as it was.
#include "data/Connection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QtTest>
#include <sqlite3.h>

class TestReliabilityFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void badFileEndsTheStart_data();
    void badFileEndsTheStart();
};

namespace {

QByteArray Hash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

void TestReliabilityFiles::badFileEndsTheStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("cut inside the first page") << "cut100"
                                               << "Korvane.MDB";
    QTest::newRow("cut after the first page") << "firstpage"
                                              << "Korvane.MDB";
    QTest::newRow("plain SQLite database") << "plain"
                                           << "not a Korvane database";
    QTest::newRow("folder in place of the file") << "folder"
                                                 << "Could not find file";
}

void TestReliabilityFiles::badFileEndsTheStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/Korvane");
    QVERIFY(QFile::copy(QStringLiteral(KORVANE_BIN_DIR "/Korvane"), program));
    const QString path = dir.path() + QStringLiteral("/Korvane.MDB");

    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("plain")) {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TABLE notes(x TEXT); INSERT INTO notes VALUES('hello')",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
    } else {
        {
            data::Connection c;
            c.createFile(path, data::Connection::databasePassword());
            c.execute(QStringLiteral("INSERT INTO mstClient(cltCode,cltName) VALUES (1,'Apex')"));
        }
        QFile f(path);
        if (kind == QLatin1String("cut100")) {
            QVERIFY(f.resize(100));
        } else {
            QVERIFY(f.resize(4096));
        }
    }
    const QByteArray before = Hash(path);

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
    QCOMPARE(Hash(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

QTEST_GUILESS_MAIN(TestReliabilityFiles)
#include "tst_reliability_files.moc"
