// The connection and result objects, opening files, and the shared
// procedures NextNumber, numeric value and quoting.
#include "BadFiles.h"
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlText.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>

using data::CursorType;
using data::LockType;
using data::Recordset;

namespace {

// Clients with codes 1, 2, ... and the given names ("NULL" for none).
void AddClients(TestDb& t, const QStringList& names)
{
    int code = 1;
    for (const QString& n : names)
        t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (%1,%2)")
                   .arg(code++)
                   .arg(n == QLatin1String("NULL") ? n : data::Quote(n)));
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyResultIsAtEnd();
    void fieldsByNameAndPosition();
    void valuesReadBackWithTheirKinds();
    void findFromCurrentRow();
    void reopenWithNewText();
    void oneStatementPerCall_data();
    void oneStatementPerCall();
    void transactionRollsBackUnlessCommitted();
    void codesAreUnique();
    void nextNumber();
    void nextNumberLimits_data();
    void nextNumberLimits();
    void numericValue_data();
    void numericValue();
    void quoteKeepsTextInsideLiteral_data();
    void quoteKeepsTextInsideLiteral();
    void fieldText_data();
    void fieldText();
    void badFiles_data();
    void badFiles();
    void connectionStringOpensProgramFolder();
    void distinctGivesEveryValueOnce_data();
    void distinctGivesEveryValueOnce();
    void streamedTextsAsStored_data();
    void streamedTextsAsStored();
    void findOnEitherCursor_data();
    void findOnEitherCursor();
};

void TestDatabase::emptyResultIsAtEnd()
{
    TestDb t;
    for (CursorType c : {CursorType::ForwardOnly, CursorType::Keyset}) {
        Recordset rs(QStringLiteral("SELECT * FROM mstClient"), t.db(), c);
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(data::DbError, rs.field(0));
        QVERIFY_THROWS_EXCEPTION(data::DbError, rs.moveNext());
    }
}

void TestDatabase::fieldsByNameAndPosition()
{
    TestDb t;
    t.exec(QStringLiteral(
        "INSERT INTO mstClient (cltCode,cltName,cltCity) VALUES (4,'Apex','Kochi')"));
    Recordset rs(QStringLiteral("SELECT CL.* FROM mstClient CL"), t.db());
    QVERIFY(!rs.eof());
    QCOMPARE(rs.field(QStringLiteral("CLTNAME")).toString(), QStringLiteral("Apex"));
    QCOMPARE(rs.field(QStringLiteral("CL.cltCity")).toString(), QStringLiteral("Kochi"));
    QCOMPARE(rs.field(0).toLongLong(), 4);
    QVERIFY_THROWS_EXCEPTION(data::DbError, rs.field(QStringLiteral("nosuch")));
    QVERIFY_THROWS_EXCEPTION(data::DbError, rs.field(99));
}

void TestDatabase::valuesReadBackWithTheirKinds()
{
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO trnEnquiryRegister (enqCode,enqDate,enqType,enqPercentage,"
                          "enqAmount) VALUES (1,#05/Jan/2004#,'',2.5,100)"));
    Recordset rs(QStringLiteral("SELECT enqCode,enqDate,enqType,enqPercentage,enqAmount,"
                                "enqFollowdate, SUM(enqAmount) AS s FROM trnEnquiryRegister"),
                 t.db());
    QCOMPARE(rs.field(0).typeId(), QMetaType::LongLong);
    QCOMPARE(rs.field(1).toDate(), QDate(2004, 1, 5));
    QCOMPARE(rs.field(2).toString(), QString());
    QCOMPARE(rs.field(3).toDouble(), 2.5);
    QCOMPARE(rs.field(4).toLongLong(), 100);
    QVERIFY(rs.field(5).isNull());
    QCOMPARE(rs.text(3), QStringLiteral("2.5"));
    QCOMPARE(rs.text(1), QStringLiteral("05/01/2004"));
    Recordset none(QStringLiteral("SELECT SUM(enqAmount), COUNT(*) FROM trnEnquiryRegister "
                                  "WHERE enqCode=2"),
                   t.db());
    QVERIFY(none.field(0).isNull());
    QCOMPARE(none.field(1).toLongLong(), 0);
}

void TestDatabase::findFromCurrentRow()
{
    TestDb t;
    const char* names[] = {"Zeta", "apex", "Beta", "Apple", "Åsa"};
    int code = 1;
    for (const char* n : names)
        t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (%1,'%2')")
                   .arg(code++)
                   .arg(QString::fromUtf8(n)));
    Recordset rs(QStringLiteral("SELECT cltCode,cltName FROM mstClient "), t.db(),
                 CursorType::Keyset, LockType::Pessimistic);
    rs.find(QStringLiteral("cltName LIKE 'AP*'"));
    QCOMPARE(rs.text(QStringLiteral("cltName")), QStringLiteral("apex"));
    rs.find(QStringLiteral("cltName LIKE 'AP*'")); // the current row matches: stays
    QCOMPARE(rs.text(QStringLiteral("cltName")), QStringLiteral("apex"));
    rs.moveNext();
    rs.find(QStringLiteral("cltName LIKE 'ap*'"));
    QCOMPARE(rs.text(QStringLiteral("cltName")), QStringLiteral("Apple"));
    rs.moveNext();
    rs.find(QStringLiteral("cltName LIKE 'ap*'"));
    QVERIFY(rs.eof());
    rs.moveFirst();
    rs.find(QStringLiteral("cltName like 'åS*'"));
    QCOMPARE(rs.text(1), QStringLiteral("Åsa"));
    QVERIFY_THROWS_EXCEPTION(data::DbError, rs.find(QStringLiteral("cltName = 'x'")));
}

void TestDatabase::reopenWithNewText()
{
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'One')"));
    t.exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName) VALUES (1,'Exe')"));
    Recordset rs(QStringLiteral("SELECT cltName FROM mstClient"), t.db());
    QCOMPARE(rs.text(0), QStringLiteral("One"));
    rs.close();
    rs.open(QStringLiteral("SELECT exeName FROM mstExecutive"));
    QCOMPARE(rs.text(0), QStringLiteral("Exe"));
    rs.moveNext();
    QVERIFY(rs.eof());
    rs.moveFirst(); // a forward-only result runs again
    QCOMPARE(rs.text(0), QStringLiteral("Exe"));
    Recordset fresh;
    QVERIFY_THROWS_EXCEPTION(data::DbError, fresh.open(QStringLiteral("SELECT 1")));
}

void TestDatabase::oneStatementPerCall_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("second statement") << "SELECT 1; DELETE FROM mstClient";
    QTest::newRow("injected through a value")
        << "SELECT * FROM mstClient WHERE cltName=''; DELETE FROM mstClient; --'";
    QTest::newRow("attach") << "ATTACH DATABASE '/tmp/x.db' AS x";
    QTest::newRow("pragma") << "PRAGMA key='other'";
    QTest::newRow("drop") << "DROP TABLE mstClient";
    QTest::newRow("load extension") << "SELECT load_extension('libx')";
    QTest::newRow("empty") << "   ";
}

void TestDatabase::oneStatementPerCall()
{
    QFETCH(QString, sql);
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'One')"));
    QVERIFY_THROWS_EXCEPTION(data::DbError, t.exec(sql));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 1);
    QVERIFY(!QFile::exists(QStringLiteral("/tmp/x.db")));
}

void TestDatabase::transactionRollsBackUnlessCommitted()
{
    TestDb t;
    {
        data::Transaction tx(t.db());
        t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'One')"));
    }
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 0);
    {
        data::Transaction tx(t.db());
        t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'One')"));
        tx.commit();
    }
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 1);
    QVERIFY(!t.db().inTransaction());
}

void TestDatabase::codesAreUnique()
{
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'One')"));
    QVERIFY_THROWS_EXCEPTION(
        data::DbError,
        t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'Two')")));
    t.exec(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (1,'Web','SR')"));
    QVERIFY_THROWS_EXCEPTION(
        data::DbError,
        t.exec(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (1,'Net','SR')")));
    // Every service row gets a whole number in No.
    QCOMPARE(t.scalar(QStringLiteral("SELECT No FROM mstService WHERE srNo=1")),
             QStringLiteral("1"));
    // A text longer than its column is refused with a readable message.
    try {
        t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (2,'%1')")
                   .arg(QString(31, 'x')));
        QFAIL("no error");
    } catch (const data::DbError& e) {
        QVERIFY2(e.description().contains(QLatin1String("cltName")), qPrintable(e.description()));
    }
}

void TestDatabase::nextNumber()
{
    TestDb t;
    QCOMPARE(modAdmin::NextNumber(QStringLiteral("mstClient"), QStringLiteral("cltCode")), 1);
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (7,'Seven')"));
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (3,'Three')"));
    QCOMPARE(modAdmin::NextNumber(QStringLiteral("mstClient"), QStringLiteral("cltCode")), 8);
    for (const char* table : {"mstExecutive:exeCode", "mstService:srNo",
                              "trnEnquiryRegister:enqCode", "trnTarget:trNo"}) {
        const QStringList tc = QString::fromLatin1(table).split(QLatin1Char(':'));
        QCOMPARE(modAdmin::NextNumber(tc[0], tc[1]), 1);
    }
}

void TestDatabase::nextNumberLimits_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("largest value") << "2147483647";
    QTest::newRow("beyond 32 bits") << "9999999999";
    QTest::newRow("no number") << "'abc'";
}

void TestDatabase::nextNumberLimits()
{
    QFETCH(QString, value);
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO rptGraph (Name,exeCode) VALUES ('x',%1)").arg(value));
    QVERIFY_THROWS_EXCEPTION(
        data::DbError, modAdmin::NextNumber(QStringLiteral("rptGraph"), QStringLiteral("exeCode")));
}

void TestDatabase::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::newRow("blanks inside") << "0471 55512"
                                   << "47155512";
    QTest::newRow("stops at minus") << "555-0199"
                                    << "555";
    QTest::newRow("plus and blank") << "+1 555"
                                    << "1555";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("decimal") << "2.5"
                             << "2.5";
    QTest::newRow("negative") << "-3"
                              << "-3";
    QTest::newRow("comma stops") << "1,500"
                                 << "1";
    QTest::newRow("letters") << "abc"
                             << "0";
    QTest::newRow("trailing unit") << "12 kg"
                                   << "12";
    QTest::newRow("second point stops") << "1.2.3"
                                        << "1.2";
    QTest::newRow("leading point") << ".5"
                                   << "0.5";
    QTest::newRow("long number stays exact") << "123456789012345678901"
                                             << "123456789012345678901";
    QTest::newRow("minus zero") << "-0"
                                << "0";
}

void TestDatabase::numericValue()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QCOMPARE(data::NumericText(text), value);
}

void TestDatabase::quoteKeepsTextInsideLiteral_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << "O'Brien";
    QTest::newRow("closing quote and statement") << "'); DELETE FROM mstClient; --";
    QTest::newRow("doubled") << "''";
    QTest::newRow("hash and between") << "#01/01/2004# BETWEEN 1 AND 2";
    QTest::newRow("non-ASCII") << "Åsa Öberg 김민준 Ñandú";
}

void TestDatabase::quoteKeepsTextInsideLiteral()
{
    QFETCH(QString, text);
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (1,'Keep')"));
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName) VALUES (2,") +
           data::Quote(text) + QLatin1Char(')'));
    QCOMPARE(t.scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=2")), text);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient WHERE cltName=") +
                     data::Quote(text)),
             1);
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 2);
}

void TestDatabase::fieldText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("whole") << QVariant(qlonglong(42)) << "42";
    QTest::newRow("whole double") << QVariant(5000.0) << "5000";
    QTest::newRow("decimal") << QVariant(2.5) << "2.5";
    QTest::newRow("date") << QVariant(QDate(2004, 1, 5)) << "05/01/2004";
    QTest::newRow("text") << QVariant(QStringLiteral("x")) << "x";
}

void TestDatabase::fieldText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(data::FieldText(value), text);
}

void TestDatabase::badFiles_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString& kind : BadFiles::kinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

void TestDatabase::badFiles()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Korvane.MDB");
    const QString key = data::Connection::databasePassword();
    BadFiles::make(kind, path);
    const QByteArray before = BadFiles::hash(path);
    data::Connection c;
    bool failed = false;
    try {
        c.openFile(path, key);
        // The damage of a cut file may only show when the lost pages are read.
        Recordset rs(QStringLiteral("SELECT COUNT(*), MAX(cltAddress) FROM mstClient"), c);
    } catch (const data::DbError& e) {
        failed = true;
        QVERIFY2(e.description().contains(path), qPrintable(e.description()));
        QVERIFY(!e.description().contains(key));
    }
    QVERIFY(failed);
    if (kind == QLatin1String("missing"))
        QVERIFY(!QFile::exists(path));
    else
        QCOMPARE(BadFiles::hash(path), before);
}

void TestDatabase::connectionStringOpensProgramFolder()
{
    QTemporaryDir dir;
    modAdmin::SetProgramFolder(dir.path());
    QCOMPARE(modAdmin::ConnectionString(),
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir.path() +
                 QStringLiteral("/Korvane.MDB;Jet OLEDB:Database Password=tessiravolm208"));
    QVERIFY_THROWS_EXCEPTION(data::DbError,
                             modAdmin::DbConnection.open(modAdmin::ConnectionString()));
    QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/Korvane.MDB")));
    {
        data::Connection c;
        c.createFile(dir.path() + QStringLiteral("/Korvane.MDB"),
                     data::Connection::databasePassword());
    }
    modAdmin::DbConnection.open(modAdmin::ConnectionString(), QString(), QString());
    QVERIFY(modAdmin::DbConnection.isOpen());
    modAdmin::DbConnection.close();
}

void TestDatabase::distinctGivesEveryValueOnce_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("expected");
    // The indexed text column takes a faster road than the other columns.
    QTest::newRow("indexed, letter case folded")
        << "SELECT distinct(enqType) as type FROM trnEnquiryRegister"
        << QStringList{"Email", "email", "Walk In", "Telephone", "Email", ""}
        << QStringList{"", "Email", "Telephone", "Walk In"};
    QTest::newRow("indexed, empty table")
        << "SELECT distinct(enqType) as type FROM trnEnquiryRegister" << QStringList{}
        << QStringList{};
    QTest::newRow("indexed, NULL")
        << "SELECT distinct(enqType) as type FROM trnEnquiryRegister"
        << QStringList{"B", "NULL", "A"} << QStringList{"<null>", "A", "B"};
    QTest::newRow("not indexed") << "select distinct(enqAction) as type from trnenquiryregister"
                                 << QStringList{"Call", "call", "Visit"}
                                 << QStringList{"Call", "Visit"};
}

void TestDatabase::distinctGivesEveryValueOnce()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, expected);
    TestDb t;
    int code = 1;
    for (const QString& r : rows) {
        const QString value = r == QLatin1String("NULL") ? r : data::Quote(r);
        t.exec(QStringLiteral(
                   "INSERT INTO trnEnquiryRegister (enqCode,enqType,enqAction) VALUES (%1,%2,%2)")
                   .arg(code++)
                   .arg(value));
    }
    Recordset rs(sql, t.db(), CursorType::Keyset, LockType::Pessimistic);
    QStringList got;
    for (; !rs.eof(); rs.moveNext())
        got << (rs.field(QStringLiteral("Type")).isNull() ? QStringLiteral("<null>")
                                                          : rs.text(QStringLiteral("TYPE")));
    if (!sql.contains(QLatin1String("enqType")))
        got.sort(Qt::CaseInsensitive);
    for (QString& g : got)
        if (g.compare(QLatin1String("email"), Qt::CaseInsensitive) == 0)
            g = QStringLiteral("Email"); // either spelling stands for both
    QCOMPARE(got, expected);
}

// Texts of one column, read row after row: a streamed result shares a text
// repeated from the last row and reuses its buffer when nobody holds it.
// Every read must still give the stored text, and a text kept from an
// earlier row must not change.
void TestDatabase::streamedTextsAsStored_data()
{
    QTest::addColumn<QStringList>("names");
    const QString bom = QString(QChar(0xFEFF)) + QStringLiteral("Bom");
    QTest::newRow("repeated and changing ASCII")
        << QStringList{"Pune", "Pune", "Puna", "Pun", "Pune", "", "", "Goa"};
    QTest::newRow("same length, letters not ASCII") << QStringList{"é1", "è1", "è1", "e1", "é1"};
    QTest::newRow("same bytes length, other text") << QStringList{"é", "ab", "é", "Ω", "ab"};
    QTest::newRow("NULL between texts") << QStringList{"Goa", "NULL", "Goa", "NULL", "NULL"};
    QTest::newRow("byte-order mark kept") << QStringList{bom, "Bom", bom};
}

void TestDatabase::streamedTextsAsStored()
{
    QFETCH(QStringList, names);
    TestDb t;
    AddClients(t, names);
    for (const CursorType cursor : {CursorType::ForwardOnly, CursorType::Keyset}) {
        Recordset rs(QStringLiteral("SELECT cltName FROM mstClient ORDER BY cltCode"), t.db(),
                     cursor);
        QStringList kept; // texts held while reading on
        QStringList viaField;
        for (; !rs.eof(); rs.moveNext()) {
            const QVariant v = rs.field(0);
            viaField << (v.isNull() ? QStringLiteral("NULL") : v.toString());
            // Read again after the value above is gone: its buffer may be reused.
            const QString again = rs.text(0);
            kept << (rs.field(0).isNull() ? QStringLiteral("NULL") : again);
        }
        QCOMPARE(kept, names);
        QCOMPARE(viaField, names);
    }
}

// find moves to the first row whose text begins with the prefix, letters
// compared without regard to case; the streamed result compares ASCII
// prefixes on the stored bytes, so both cursor kinds must agree.
void TestDatabase::findOnEitherCursor_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<int>("expected"); // row number of the match, -1 none
    const QStringList names{"Zeta", "apex", "Beta", "Apple", "Åsa", "ſam", "Sam", "12 Lane"};
    QTest::newRow("letter case") << names << "cltName LIKE 'AP*'" << 1;
    QTest::newRow("longer prefix") << names << "cltName LIKE 'appl*'" << 3;
    QTest::newRow("prefix longer than every text") << names << "cltName LIKE 'applesauce*'" << -1;
    QTest::newRow("prefix not ASCII") << names << "cltName LIKE 'ås*'" << 4;
    QTest::newRow("long s folds to s") << names << "cltName LIKE 'S*'" << 5;
    QTest::newRow("digits") << names << "cltName LIKE '12 *'" << 7;
    QTest::newRow("everything") << names << "cltName LIKE '*'" << 0;
    QTest::newRow("quote in the prefix")
        << QStringList{"Dsouza", "D'Souza"} << "cltName LIKE 'd''s*'" << 1;
    QTest::newRow("NULL passed over") << QStringList{"NULL", "Mira"} << "cltName LIKE 'm*'" << 1;
    QTest::newRow("numbers as text") << QStringList{"Ana", "Bob"} << "cltCode LIKE '2*'" << 1;
    QTest::newRow("pattern, not a prefix") << names << "cltName LIKE '*ta'" << 0;
}

void TestDatabase::findOnEitherCursor()
{
    QFETCH(QStringList, names);
    QFETCH(QString, criterion);
    QFETCH(int, expected);
    TestDb t;
    AddClients(t, names);
    for (const CursorType cursor : {CursorType::ForwardOnly, CursorType::Keyset}) {
        Recordset rs(QStringLiteral("SELECT cltCode,cltName FROM mstClient ORDER BY cltCode"),
                     t.db(), cursor);
        rs.find(criterion);
        const int got = rs.eof() ? -1 : int(rs.field(0).toLongLong()) - 1;
        QCOMPARE(got, expected);
    }
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
