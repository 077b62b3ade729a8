// The database tool: create, demo and sql.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Recordset.h"

#include <QProcess>
#include <QtTest>

class TestTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void createsReadableOnlyWithPassword_data();
    void createsReadableOnlyWithPassword();
    void refusesToOverwrite();
    void demoHasEveryKindOfData();
    void sqlPrintsRowsTabSeparated();
    void createRefusesBadArguments();

private:
    struct Run {
        int exit;
        QString out;
        QString err;
    };
    Run tool(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(KORVANE_BIN_DIR "/korvane-tool"), args);
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
};

void TestTool::createsReadableOnlyWithPassword_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("executives");
    QTest::newRow("create") << QStringList{"create", "Office Admin", "boss", "secret"} << 1;
    QTest::newRow("demo") << QStringList{"demo"} << 5;
}

void TestTool::createsReadableOnlyWithPassword()
{
    QFETCH(QStringList, args);
    QFETCH(int, executives);
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/Korvane.MDB");
    const Run r = tool(args << file);
    QCOMPARE(r.exit, 0);
    QVERIFY(r.out.contains(file));
    data::Connection db;
    db.openFile(file, QStringLiteral("tessiravolm208"));
    data::Recordset rs(QStringLiteral("SELECT COUNT(*) FROM mstExecutive"), db);
    QCOMPARE(rs.field(0).toInt(), executives);
    rs.open(QStringLiteral("SELECT COUNT(*) FROM mstExecutive WHERE exeRole='A'"));
    QCOMPARE(rs.field(0).toInt(), 1);
    rs.close();
    db.close();
    for (const QString& key : {QString(), QStringLiteral("tessiravolm209"), QStringLiteral("TESSIRAVOLM208")})
        QVERIFY_THROWS_EXCEPTION(data::DbError, db.openFile(file, key));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(!bytes.startsWith("SQLite format 3"));
    QVERIFY(!bytes.contains("mstExecutive"));
}

void TestTool::refusesToOverwrite()
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/x.MDB");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    QVERIFY(tool({"demo", file}).exit != 0);
    QVERIFY(tool({"create", "A", "a", "a", file}).exit != 0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep me"));
}

void TestTool::demoHasEveryKindOfData()
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/Korvane.MDB");
    QCOMPARE(tool({"demo", file}).exit, 0);
    data::Connection db;
    db.openFile(file, data::Connection::databasePassword());
    auto count = [&db](const QString& sql) {
        data::Recordset rs(sql, db);
        return rs.field(0).toInt();
    };
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM mstClient")) >= 20);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister")) >= 90);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM mstService WHERE Type='SR'")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM mstService WHERE Type='SG'")) > 0);
    for (const char* status : {"Pending", "Closed", "Dropped"})
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus WHERE enqKey='F' AND enqStatus='%1'")
                          .arg(QLatin1String(status))) > 0);
    // Exactly one current status record per enquiry, none without its enquiry.
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister ER WHERE (SELECT COUNT(*) FROM "
                                  "trnEnquiryStatus ES WHERE ES.enqCode=ER.enqCode AND ES.enqKey='F') <> 1")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus WHERE enqCode NOT IN (SELECT enqCode "
                                  "FROM trnEnquiryRegister)")),
             0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus WHERE enqFollDate > #%1#")
                      .arg(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")))) > 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM trnTarget WHERE trYear=%1").arg(QDate::currentDate().year())),
             48);
}

void TestTool::sqlPrintsRowsTabSeparated()
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/Korvane.MDB");
    QCOMPARE(tool({"create", "Office Admin", "boss", "secret", file}).exit, 0);
    Run r = tool({"sql", "SELECT exeCode, exeName, exeRole FROM mstexecutive", file});
    QCOMPARE(r.exit, 0);
    QCOMPARE(r.out, QStringLiteral("exeCode\texeName\texeRole\n1\tOffice Admin\tA\n"));
    r = tool({"sql", "SELECT 1; DELETE FROM mstExecutive", file});
    QVERIFY(r.exit != 0);
    QVERIFY(r.err.contains(QLatin1String("Characters found after end of SQL statement")));
    QCOMPARE(tool({"sql", "SELECT COUNT(*) AS n FROM mstExecutive", file}).out, QStringLiteral("n\n1\n"));
}

void TestTool::createRefusesBadArguments()
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/Korvane.MDB");
    QVERIFY(tool({"create", "Name", "a-login-too-long", "pw", file}).exit != 0);
    QVERIFY(tool({"create", "Name", "login", "password9", file}).exit != 0);
    QVERIFY(tool({"create", "Name", "login"}).exit != 0);
    QVERIFY(!QFile::exists(file));
}

QTEST_GUILESS_MAIN(TestTool)
#include "tst_tool.moc"
