// Start-up of the real program on bad database files: each ends with a
// clear message and a non-zero exit status, before any window, and leaves
// the file as it was.
#include "data/Connection.h"

#include <QCryptographicHash>
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
    QTest::newRow("missing file") << "missing" << "Could not find file";
    QTest::newRow("zero-length file") << "empty" << "missing";
    QTest::newRow("random bytes") << "random" << "not a Korvane database";
    QTest::newRow("wrong password") << "wrongkey" << "not a Korvane database";
    QTest::newRow("missing table") << "notable" << "trnTarget";
    QTest::newRow("truncated copy") << "truncated" << "Korvane.MDB";
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
    const QString key = data::Connection::databasePassword();
    {
        data::Connection c;
        if (kind == QLatin1String("wrongkey")) {
            c.createFile(path, QStringLiteral("tessiravolm209"));
        } else if (kind == QLatin1String("notable")) {
            c.createFile(path, key);
            c.executeNative(QStringLiteral("DROP TABLE trnTarget"));
        } else if (kind == QLatin1String("truncated")) {
            c.createFile(path, key);
        }
    }
    QFile f(path);
    if (kind == QLatin1String("empty")) {
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
    } else if (kind == QLatin1String("random")) {
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray bytes(4096 * 3, '\0');
        quint32 x = 12345;
        for (char& b : bytes) {
            x = x * 1103515245u + 12345u;
            b = char(x >> 24);
        }
        f.write(bytes);
        f.close();
    } else if (kind == QLatin1String("truncated")) {
        QVERIFY(f.resize(f.size() - 1500));
    }
    QByteArray before;
    if (f.exists()) {
        QVERIFY(f.open(QIODevice::ReadOnly));
        before = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        f.close();
    }

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
    QVERIFY2(!err.contains(key), qPrintable(err));
    if (kind == QLatin1String("missing")) {
        QVERIFY(!QFile::exists(path));
    } else {
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256), before);
    }
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
