// The benchmark's generator and harness at a tiny size: they build, run and
// leave a sound database. No time is asserted here.
#include "bench/Harness.h"

#include "data/Connection.h"
#include "data/Recordset.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One query's first column as a number.
qint64 Scalar(data::Connection& db, const QString& sql)
{
    data::Recordset rs(sql, db);
    return rs.eof() ? -1 : rs.field(0).toLongLong();
}

// A fingerprint of the contents that changes with any row.
QString Fingerprint(data::Connection& db)
{
    QStringList parts;
    for (const char* sql :
         {"SELECT count(*), sum(length(cltName)), sum(length(cltAddress)), sum(cltCode * "
          "length(cltCity)) FROM mstClient",
          "SELECT count(*), sum(enqExeCode), sum(enqCltCode), sum(enqAmount), sum(length(enqType)) "
          "FROM trnEnquiryRegister",
          "SELECT count(*), sum(enqCode * length(enqStatus)), sum(enqPercentage), "
          "sum(length(enqReason)) FROM trnEnquiryStatus",
          "SELECT count(*), sum(trTarget), sum(exeCode * trMonth) FROM trnTarget",
          "SELECT count(*), sum(length(exeName)), sum(length(exeUID)) FROM mstExecutive"}) {
        data::Recordset rs(QString::fromLatin1(sql), db);
        for (int i = 0; i < rs.fieldCount(); ++i)
            parts << rs.text(i);
    }
    return parts.join(QLatin1Char(','));
}

} // namespace

class tst_bench_smoke : public QObject {
    Q_OBJECT

private slots:
    void generatorWritesSoundData();
    void generatorIsReproducible();
    void harnessRunsEveryOperation();
    void programRuns();
};

void tst_bench_smoke::generatorWritesSoundData()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Korvane.MDB");
    const bench::GeneratorOptions o = bench::GeneratorOptions::small();
    const bench::GeneratorResult r = bench::Generate(path, o);
    QCOMPARE(r.executives, qint64(o.salesPersons + 1));
    QCOMPARE(r.clients, qint64(o.clients));
    QCOMPARE(r.enquiries, qint64(o.enquiries));
    QVERIFY(r.statusRecords >= r.enquiries && r.statusRecords <= 6 * r.enquiries);
    QCOMPARE(r.targets, qint64(o.salesPersons * 12 * o.years));

    // Opens as the program opens it: the program's key and every table.
    data::Connection db;
    db.openFile(path, data::Connection::databasePassword());
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM trnEnquiryStatus")), r.statusRecords);
    // Exactly one current record per enquiry, and only enquiries that exist.
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM (SELECT enqCode FROM trnEnquiryStatus "
                                       "WHERE enqKey='F' GROUP BY enqCode HAVING count(*)=1)")),
             r.enquiries);
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM trnEnquiryStatus WHERE enqCode NOT IN "
                                       "(SELECT enqCode FROM trnEnquiryRegister)")),
             qint64(0));
    // Closed and dropped enquiries were followed up at least once.
    QCOMPARE(
        Scalar(db, QStringLiteral("SELECT count(*) FROM trnEnquiryStatus ES WHERE enqKey='F' AND "
                                  "enqStatus<>'Pending' AND (SELECT count(*) FROM trnEnquiryStatus "
                                  "S2 WHERE S2.enqCode=ES.enqCode)<2")),
        qint64(0));
    QVERIFY(Scalar(db, QStringLiteral("SELECT count(*) FROM trnEnquiryStatus WHERE enqKey='F' AND "
                                      "enqStatus='Pending'")) > 0);
    // References hold: every enquiry names an existing client and sales person.
    QCOMPARE(
        Scalar(db, QStringLiteral("SELECT count(*) FROM trnEnquiryRegister WHERE enqCltCode NOT IN "
                                  "(SELECT cltCode FROM mstClient) OR enqExeCode NOT IN (SELECT "
                                  "exeCode FROM mstExecutive WHERE exeRole='U')")),
        qint64(0));
    // Stored as the windows store them: dates as yyyy-mm-dd text read back
    // as dates, numbers as numbers.
    data::Recordset rs(
        QStringLiteral("SELECT enqDate, enqFollowdate, enqAmount, enqPercentage FROM "
                       "trnEnquiryRegister WHERE enqCode=1"),
        db);
    QVERIFY(!rs.eof());
    QCOMPARE(rs.field(0).typeId(), int(QMetaType::QDate));
    QCOMPARE(rs.field(1).typeId(), int(QMetaType::QDate));
    QVERIFY(rs.field(1).toDate() > rs.field(0).toDate());
    QCOMPARE(rs.field(2).typeId(), int(QMetaType::LongLong));
    QCOMPARE(rs.field(3).typeId(), int(QMetaType::LongLong));
    rs.close();
    QCOMPARE(
        Scalar(db, QStringLiteral(
                       "SELECT count(*) FROM trnEnquiryStatus WHERE typeof(enqFollDate)<>'text' "
                       "OR date(enqFollDate) IS NOT enqFollDate")),
        qint64(0));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT min(enqDate) >= #01/Jan/%1# FROM trnEnquiryRegister")
                            .arg(o.lastDay.year() - o.years + 1)),
             qint64(1));
    // Client names are unique without regard to case, as the client window keeps them.
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(DISTINCT cltName) FROM mstClient")),
             qint64(o.clients));
    // Sales persons can log in: the administrator and each user ID once.
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(*) FROM mstExecutive WHERE exeUID='admin' AND "
                                       "exePassword='admin' AND exeRole='A'")),
             qint64(1));
    QCOMPARE(Scalar(db, QStringLiteral("SELECT count(DISTINCT exeUID) FROM mstExecutive")),
             r.executives);

    // A second generation never overwrites the file.
    QVERIFY_THROWS_EXCEPTION(data::DbError, bench::Generate(path, o));
}

void tst_bench_smoke::generatorIsReproducible()
{
    QTemporaryDir dir;
    bench::GeneratorOptions o = bench::GeneratorOptions::small();
    o.clients = 150;
    o.enquiries = 600;
    QStringList prints;
    for (const quint32 seed : {7u, 7u, 8u}) {
        o.seed = seed;
        const QString path = dir.path() + QStringLiteral("/g%1.MDB").arg(prints.size());
        bench::Generate(path, o);
        data::Connection db;
        db.openFile(path, data::Connection::databasePassword());
        prints << Fingerprint(db);
    }
    QCOMPARE(prints[0], prints[1]);
    QVERIFY(prints[0] != prints[2]);
}

void tst_bench_smoke::harnessRunsEveryOperation()
{
    QTemporaryDir dir;
    bench::HarnessOptions o;
    o.generator = bench::GeneratorOptions::small();
    o.runs = 2;
    o.dbPath = dir.path() + QStringLiteral("/Korvane.MDB");
    o.programFolder = QStringLiteral(KORVANE_BIN_DIR); // the report layouts
    QString text;
    QTextStream out(&text);
    const bench::HarnessResult r = bench::Harness(o, out).run();
    QVERIFY2(r.generated, qPrintable(text));
    QVERIFY(r.peakMb > 0);
    QVERIFY(text.contains(QStringLiteral("peak memory")));
    QVERIFY(r.lines.size() >= 6); // opening and NextNumber on five tables at least
    // Every window the benchmark drives is built, and each drove it to its
    // end: saves stored, typed text taken, the printout written.
    QVERIFY2(r.missing.isEmpty(), qPrintable(r.missing.join(QLatin1Char(','))));
    for (const bench::Line& l : r.lines) {
        QVERIFY2(int(l.layer.ms.size()) >= o.runs, qPrintable(l.operation));
        QVERIFY2(l.raw.empty() || l.raw.ms.size() == l.layer.ms.size(), qPrintable(l.operation));
        QVERIFY2(l.failure.isEmpty(), qPrintable(l.operation + QStringLiteral(": ") + l.failure));
        QVERIFY2(l.layer.min() >= 0 && l.layer.min() <= l.layer.median() &&
                     l.layer.median() <= l.layer.max(),
                 qPrintable(l.operation));
        QVERIFY2(text.contains(l.operation.left(40)), qPrintable(l.operation));
    }
    QVERIFY(std::any_of(r.lines.begin(), r.lines.end(), [](const bench::Line& l) {
        return l.operation.startsWith(QLatin1String("open"));
    }));
    QVERIFY(!modAdmin::DbConnection.isOpen());

    // The windows' saves left a sound database: one current record per
    // enquiry, every enquiry with its status records.
    data::Connection db;
    db.openFile(o.dbPath, data::Connection::databasePassword());
    const qint64 enquiries = Scalar(db, QStringLiteral("SELECT count(*) FROM trnEnquiryRegister"));
    QVERIFY(enquiries >= o.generator.enquiries);
    QCOMPARE(Scalar(db, QStringLiteral(
                            "SELECT count(*) FROM (SELECT enqCode FROM trnEnquiryStatus WHERE "
                            "enqKey='F' GROUP BY enqCode HAVING count(*)=1)")),
             enquiries);
    db.close();

    // Reuse takes the file as it is.
    o.reuse = true;
    QString again;
    QTextStream out2(&again);
    const bench::HarnessResult r2 = bench::Harness(o, out2).run();
    QVERIFY(!r2.generated);
    QVERIFY(again.contains(QStringLiteral("reusing")));
    QCOMPARE(r2.lines.size(), r.lines.size());
}

// The program itself, as the README runs it, at the small size.
void tst_bench_smoke::programRuns()
{
    const QString program = QStringLiteral(KORVANE_TEST_DIR "/../bench/bench_korvane");
    if (!QFileInfo::exists(program))
        QSKIP("bench_korvane is not built");
    QProcess p;
    p.start(program, {QStringLiteral("--small"), QStringLiteral("--runs"), QStringLiteral("1")});
    QVERIFY(p.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(p.readAllStandardOutput());
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
             qPrintable(output + QString::fromLocal8Bit(p.readAllStandardError())));
    // The generator ran in its own process and reported its rows.
    QVERIFY2(output.contains(QStringLiteral("2000 enquiries, ")), qPrintable(output));
    QVERIFY(output.contains(QStringLiteral("open database")));
    QVERIFY(output.contains(QStringLiteral("NextNumber trnEnquiryRegister.enqCode")));
    QVERIFY(output.contains(QStringLiteral("peak memory")));
}

QTEST_MAIN(tst_bench_smoke)
#include "tst_bench_smoke.moc"
