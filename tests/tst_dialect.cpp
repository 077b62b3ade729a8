// The SQL dialect: translation on its own and the same cases against a
// real database.
#include "TestDb.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlDialect.h"

#include <QtTest>

class TestDialect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void translation_data();
    void translation();
    void dateLiteral_data();
    void dateLiteral();
    void againstDatabase_data();
    void againstDatabase();
    void impossibleDateIsAnError_data();
    void impossibleDateIsAnError();
    void likeMatch_data();
    void likeMatch();
};

void TestDialect::translation_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "SELECT * FROM mstClient" << "SELECT * FROM mstClient";
    QTest::newRow("short month") << "WHERE d=#05/Jan/04#" << "WHERE d='2004-01-05'";
    QTest::newRow("long year") << "WHERE d=#05/Jan/2004#" << "WHERE d='2004-01-05'";
    QTest::newRow("numeric day first") << "WHERE d=#05/06/2004#" << "WHERE d='2004-06-05'";
    QTest::newRow("day above 12") << "WHERE d=#25/12/2004#" << "WHERE d='2004-12-25'";
    QTest::newRow("hash inside text kept") << "WHERE n='No #1' AND d=#01/01/2000#"
                                           << "WHERE n='No #1' AND d='2000-01-01'";
    QTest::newRow("reversed numbers") << "WHERE p BETWEEN 100 AND 80" << "WHERE p BETWEEN 80 AND 100";
    QTest::newRow("ordered numbers") << "WHERE p BETWEEN 0 AND 29" << "WHERE p BETWEEN 0 AND 29";
    QTest::newRow("reversed dates") << "WHERE d BETWEEN #31/12/2004# AND #01/01/2004#"
                                    << "WHERE d BETWEEN '2004-01-01' AND '2004-12-31'";
    QTest::newRow("negative bound") << "WHERE p BETWEEN 5 AND -5" << "WHERE p BETWEEN -5 AND 5";
    QTest::newRow("column bounds") << "WHERE p BETWEEN a AND b"
                                   << "WHERE p BETWEEN min(a,b) AND max(a,b)";
    QTest::newRow("between and more") << "WHERE p BETWEEN 79 AND 60 AND k='F'"
                                      << "WHERE p BETWEEN 60 AND 79 AND k='F'";
    QTest::newRow("quote in text") << "WHERE n='O''Brien #2#'" << "WHERE n='O''Brien #2#'";
}

void TestDialect::translation()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(data::translateSql(sql, QDate(2026, 12, 10)), expected);
}

void TestDialect::dateLiteral_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("04 is 2004") << "05/Jan/04" << QDate(2004, 1, 5);
    QTest::newRow("30 is 2030") << "05/Jan/30" << QDate(2030, 1, 5);
    QTest::newRow("75 is 2075") << "01/Feb/75" << QDate(2075, 2, 1);
    QTest::newRow("77 is 1977") << "01/Feb/77" << QDate(1977, 2, 1);
    QTest::newRow("month name any case") << "5/DEC/2026" << QDate(2026, 12, 5);
    QTest::newRow("leap day") << "29/02/2004" << QDate(2004, 2, 29);
    QTest::newRow("impossible") << "31/02/2004" << QDate();
    QTest::newRow("month 13") << "01/13/2004" << QDate();
    QTest::newRow("not a date") << "hello" << QDate();
    QTest::newRow("three-digit year") << "01/01/204" << QDate();
}

void TestDialect::dateLiteral()
{
    QFETCH(QString, body);
    QFETCH(QDate, expected);
    QCOMPARE(data::parseDateLiteral(body, QDate(2026, 12, 10)), expected);
}

void TestDialect::againstDatabase_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("codes");
    QTest::newRow("reversed number range") << "enqPercentage BETWEEN 100 AND 80" << "3,4";
    QTest::newRow("ordered number range") << "enqPercentage BETWEEN 80 AND 100" << "3,4";
    QTest::newRow("reversed date range") << "enqDate BETWEEN #31/Dec/04# AND #01/Jan/04#" << "1,2";
    QTest::newRow("four-digit year") << "enqDate = #05/Jan/2004#" << "1";
    QTest::newRow("numeric month, day first") << "enqDate = #05/06/2004#" << "2";
    QTest::newRow("month over several years") << "MONTH(enqDate) = 1" << "1,3";
    QTest::newRow("equal ignores case") << "enqType = 'TELEPHONE'" << "1,2";
    QTest::newRow("equal ignores non-ASCII case") << "enqType = 'åsa öberg'" << "3";
    QTest::newRow("like ignores case") << "enqType LIKE 'tele*'" << "1,2";
    QTest::newRow("like question mark") << "enqType LIKE '?mail'" << "4";
    QTest::newRow("percent is a plain character") << "enqType LIKE '100%'" << "";
    QTest::newRow("percent matched literally") << "enqType LIKE '50%*'" << "5";
    QTest::newRow("underscore is a plain character") << "enqType LIKE 'e_ail'" << "";
    QTest::newRow("follow date 2030 kept") << "enqFollowdate > #01/Jan/2029#" << "4";
}

void TestDialect::againstDatabase()
{
    QFETCH(QString, where);
    QFETCH(QString, codes);
    TestDb t;
    const char* rows[] = {
        "1,#05/Jan/2004#,'Telephone',50,#10/Jan/2004#", "2,#05/Jun/2004#,'telephone',20,#10/Jun/2004#",
        "3,#07/Jan/2005#,'Åsa Öberg',90,#10/Jan/2005#", "4,#01/Mar/2006#,'Email',100,#01/Mar/2030#",
        "5,#01/Mar/2007#,'50% off',10,#01/Mar/2007#"};
    for (const char* r : rows)
        t.exec(QStringLiteral("INSERT INTO trnEnquiryRegister (enqCode,enqDate,enqType,"
                              "enqPercentage,enqFollowdate) VALUES (%1)")
                   .arg(QString::fromUtf8(r)));
    data::Recordset rs(QStringLiteral("SELECT enqCode FROM trnEnquiryRegister WHERE ") + where +
                           QStringLiteral(" ORDER BY enqCode"),
                       t.db());
    QStringList got;
    for (; !rs.eof(); rs.moveNext())
        got << rs.text(0);
    QCOMPARE(got.join(QLatin1Char(',')), codes);
}

void TestDialect::impossibleDateIsAnError_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("31 February") << "SELECT * FROM trnEnquiryRegister WHERE enqDate=#31/02/2004#";
    QTest::newRow("unclosed") << "SELECT * FROM trnEnquiryRegister WHERE enqDate=#31/02/2004";
    QTest::newRow("in an insert") << "INSERT INTO trnEnquiryRegister (enqCode,enqDate) VALUES (1,#30/Feb/04#)";
}

void TestDialect::impossibleDateIsAnError()
{
    QFETCH(QString, sql);
    TestDb t;
    QVERIFY_THROWS_EXCEPTION(data::DbError, t.exec(sql));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister")), 0);
}

void TestDialect::likeMatch_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("match");
    QTest::newRow("prefix") << "Sales Executive" << "s*" << true;
    QTest::newRow("no wildcard is equality") << "Manager" << "MANAGER" << true;
    QTest::newRow("no wildcard, longer value") << "Managers" << "manager" << false;
    QTest::newRow("star in middle") << "Sales Executive" << "s*e" << true;
    QTest::newRow("non-ASCII case") << "ÑANDÚ" << "ñand*" << true;
    QTest::newRow("Korean") << "김민준" << "김*" << true;
    QTest::newRow("empty pattern") << "x" << "" << false;
    QTest::newRow("star only") << "" << "*" << true;
}

void TestDialect::likeMatch()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(bool, match);
    QCOMPARE(data::likeMatch(value, pattern), match);
}

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_dialect.moc"
