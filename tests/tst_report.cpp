// The report control: reading layout files and rendering every row of the
// layout's table, in its order, into a PDF with page frames.
#include "PdfText.h"
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/SqlText.h"
#include "ui/ReportControl.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char* const kMinimalLayout = "table = rptEnquiryStatus\n"
                                   "column = No | No | 10 | right\n";

QString shippedLayout()
{
    return QStringLiteral(KORVANE_BIN_DIR "/rptEnquiryStatus.rpt");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

bool havePdfText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

void insertRow(TestDb& t, int no, const QString& client, const QString& requirement = {})
{
    t.exec(QStringLiteral("INSERT INTO rptEnquiryStatus(No,Origin,Service,Client,Address,City,"
                          "Requirment,Phone,Follow,Status,Action)VALUES(%1,#%2/Mar/2024#,'AMC',")
               .arg(no)
               .arg(1 + no % 28, 2, 10, QLatin1Char('0')) +
           data::Quote(client) + QStringLiteral(",'Main Road','Kochi',") +
           data::Quote(requirement) + QStringLiteral(",'4712345',#15/Apr/2024#,'Pending','Call')"));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shippedLayoutIsBesideTheProgram();
    void badLayouts_data();
    void badLayouts();
    void missingLayoutNamesTheFile();
    void unknownFieldNamesTheFileAndColumn();
    void rowsRenderInOrderWithPageFrame();
    void manyRowsGiveNumberedPagesWithHeadings();
    void emptyTableGivesEmptyReport();
    void fileDestinationWritesPdfWithoutDialog();
};

void TestReport::shippedLayoutIsBesideTheProgram()
{
    const ReportLayout layout = ReportLayout::read(shippedLayout());
    QCOMPARE(layout.table, QStringLiteral("rptEnquiryStatus"));
    QCOMPARE(layout.order, QStringLiteral("No"));
    QCOMPARE(layout.orientation, QPageLayout::Landscape);
    QCOMPARE(layout.dateFormat, QStringLiteral("dd/MMM/yyyy"));
    QStringList fields;
    for (const ReportColumn& c : layout.columns)
        fields << c.field;
    QCOMPARE(fields, QStringList({"No", "Origin", "Service", "Client", "Address", "City", "Phone",
                                  "Requirment", "Follow", "Status", "Action"}));
    QCOMPARE(layout.columns.front().alignment, Qt::AlignRight);
}

void TestReport::badLayouts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unknown setting")
        << QByteArray("table = rptEnquiryStatus\ncolour = red\ncolumn = No|No|10|left\n")
        << "line 2: unknown setting \"colour\"";
    QTest::newRow("no equals sign")
        << QByteArray("table = rptEnquiryStatus\n\n# note\ncolumn No|No|10|left\n")
        << "line 4: expected";
    QTest::newRow("width no number")
        << QByteArray("table = rptEnquiryStatus\ncolumn = No | No | wide | left\n")
        << "line 2: the width";
    QTest::newRow("bad alignment")
        << QByteArray("table = rptEnquiryStatus\ncolumn = No | No | 10 | middle\n")
        << "line 2: the alignment";
    QTest::newRow("too few parts")
        << QByteArray("table = rptEnquiryStatus\ncolumn = No | No\n") << "line 2: a column is";
    QTest::newRow("bad orientation")
        << QByteArray("orientation = sideways\ntable = rptEnquiryStatus\ncolumn = No|No|10|left\n")
        << "line 1: orientation";
    QTest::newRow("table not a name")
        << QByteArray("table = rptEnquiryStatus; DROP TABLE mstClient\ncolumn = No|No|10|left\n")
        << "line 1: \"rptEnquiryStatus; DROP TABLE mstClient\" is not a table";
    QTest::newRow("no table") << QByteArray("column = No | No | 10 | left\n") << "names no table";
    QTest::newRow("no column") << QByteArray("table = rptEnquiryStatus\n") << "has no column";
    QTest::newRow("not utf-8") << QByteArray("title = \xff\xfe\ntable = x\n") << "not UTF-8";
}

void TestReport::badLayouts()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.rpt"));
    writeFile(path, text);
    try {
        ReportLayout::read(path);
        QFAIL("the layout was accepted");
    } catch (const ReportError& e) {
        QVERIFY2(e.description().contains(expected), qPrintable(e.description()));
        QVERIFY2(e.description().contains(QDir::toNativeSeparators(path)),
                 qPrintable(e.description()));
    }
}

void TestReport::missingLayoutNamesTheFile()
{
    TestDb t;
    ReportControl report;
    const QString path = t.folder() + QStringLiteral("/rptEnquiryStatus.rpt");
    report.setReportFileName(path);
    try {
        report.renderToPdf(t.folder() + QStringLiteral("/out.pdf"));
        QFAIL("a missing layout was accepted");
    } catch (const ReportError& e) {
        QVERIFY2(e.description().contains(QDir::toNativeSeparators(path)),
                 qPrintable(e.description()));
    }
    QVERIFY(!QFile::exists(t.folder() + QStringLiteral("/out.pdf")));
}

void TestReport::unknownFieldNamesTheFileAndColumn()
{
    TestDb t;
    const QString path = t.folder() + QStringLiteral("/r.rpt");
    writeFile(path,
              "table = rptEnquiryStatus\norder = No\ncolumn = Who | Clientname | 30 | left\n");
    ReportControl report;
    report.setReportFileName(path);
    try {
        report.load();
        QFAIL("an unknown column was accepted");
    } catch (const ReportError& e) {
        QVERIFY2(e.description().contains(QStringLiteral("\"Clientname\"")),
                 qPrintable(e.description()));
        QVERIFY2(e.description().contains(QDir::toNativeSeparators(path)),
                 qPrintable(e.description()));
    }
}

void TestReport::rowsRenderInOrderWithPageFrame()
{
    TestDb t;
    // Stored out of order; the report lists them by No.
    insertRow(t, 3, QStringLiteral("Gamma Traders"));
    insertRow(t, 1, QStringLiteral("O'Brien Stores"));
    insertRow(t, 2, QStringLiteral("Beta Systems"));

    ReportControl report;
    report.setReportFileName(shippedLayout());
    report.setParameter(QStringLiteral("Filter"), QStringLiteral("Date of Origin"));
    report.setParameter(QStringLiteral("From"), QStringLiteral("01/Jan/2024"));
    report.setParameter(QStringLiteral("To"), QStringLiteral("31/Dec/2024"));

    const ReportData loaded = report.load();
    QCOMPARE(loaded.rows.size(), 3);
    QCOMPARE(loaded.rows[0][0], QStringLiteral("1"));
    QCOMPARE(loaded.rows[0][1], QStringLiteral("02/Mar/2024"));
    QCOMPARE(loaded.rows[0][3], QStringLiteral("O'Brien Stores"));
    QCOMPARE(loaded.rows[2][3], QStringLiteral("Gamma Traders"));

    const QString pdf = t.folder() + QStringLiteral("/status.pdf");
    QCOMPARE(report.renderToPdf(pdf), 1);
    QVERIFY(QFile(pdf).size() > 1000);
    if (!havePdfText())
        QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
    const QString text = PdfText(pdf);
    const qsizetype title = text.indexOf(QStringLiteral("Enquiry Status"));
    const qsizetype period = text.indexOf(
        QStringLiteral("Pending enquiries by Date of Origin: 01/Jan/2024 to 31/Dec/2024"));
    const QString today =
        QLocale::c().toString(QDate::currentDate(), QStringLiteral("dd/MMM/yyyy"));
    const qsizetype printed = text.indexOf(QStringLiteral("Printed on ") + today);
    const qsizetype heading = text.indexOf(QStringLiteral("Requirement"));
    const qsizetype first = text.indexOf(QStringLiteral("O'Brien Stores"));
    const qsizetype second = text.indexOf(QStringLiteral("Beta Systems"));
    const qsizetype third = text.indexOf(QStringLiteral("Gamma Traders"));
    QVERIFY2(title >= 0 && period > title && printed > title, qPrintable(text));
    QVERIFY2(heading > period && first > heading, qPrintable(text));
    QVERIFY2(first < second && second < third, qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("02/Mar/2024")));
    QVERIFY(text.contains(QStringLiteral("15/Apr/2024")));
    QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));
}

void TestReport::manyRowsGiveNumberedPagesWithHeadings()
{
    TestDb t;
    {
        data::Transaction tx(t.db());
        for (int i = 1; i <= 300; ++i)
            insertRow(t, i, QStringLiteral("Client %1").arg(i, 3, 10, QLatin1Char('0')),
                      i % 7 ? QString()
                            : QStringLiteral("A long requirement that has to wrap onto more "
                                             "lines than one in its column %1")
                                  .arg(i));
        tx.commit();
    }
    ReportControl report;
    report.setReportFileName(shippedLayout());
    const QString pdf = t.folder() + QStringLiteral("/many.pdf");
    const int pages = report.renderToPdf(pdf);
    QVERIFY2(pages > 2, qPrintable(QString::number(pages)));
    if (!havePdfText())
        QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
    const QStringList pageTexts = PdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pageTexts.size(), pages);
    qsizetype lastPos = -1;
    int seen = 0;
    for (int p = 0; p < pages; ++p) {
        const QString& page = pageTexts[p];
        QVERIFY(page.contains(QStringLiteral("Enquiry Status")));
        QVERIFY(page.contains(QStringLiteral("Requirement")));
        QVERIFY(page.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages)));
        // Every row appears once, in order, across the pages.
        for (;;) {
            const qsizetype at =
                page.indexOf(QStringLiteral("Client %1").arg(seen + 1, 3, 10, QLatin1Char('0')));
            if (at < 0)
                break;
            QVERIFY(p > 0 || at > lastPos);
            lastPos = at;
            ++seen;
        }
        lastPos = -1;
    }
    QCOMPARE(seen, 300);
}

void TestReport::emptyTableGivesEmptyReport()
{
    TestDb t;
    insertRow(t, 1, QStringLiteral("Stale"));
    t.exec(QStringLiteral("DELETE FROM rptEnquiryStatus"));
    ReportControl report;
    report.setReportFileName(shippedLayout());
    QVERIFY(report.load().rows.isEmpty());
    const QString pdf = t.folder() + QStringLiteral("/empty.pdf");
    QCOMPARE(report.renderToPdf(pdf), 1);
    if (!havePdfText())
        QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
    const QString text = PdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("Requirement")));
    QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));
    QVERIFY(!text.contains(QStringLiteral("Kochi")));
}

void TestReport::fileDestinationWritesPdfWithoutDialog()
{
    TestDb t;
    insertRow(t, 1, QStringLiteral("Alpha"));
    const QString layout = t.folder() + QStringLiteral("/small.rpt");
    writeFile(layout, kMinimalLayout);
    ReportControl report;
    report.setReportFileName(layout);
    report.setDestination(ReportControl::Destination::File);
    report.setPrintFileName(t.folder() + QStringLiteral("/no/such/folder/out.pdf"));
    QVERIFY_THROWS_EXCEPTION(ReportError, report.setAction(1));

    const QString pdf = t.folder() + QStringLiteral("/out.pdf");
    report.setPrintFileName(pdf);
    report.setAction(1);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
