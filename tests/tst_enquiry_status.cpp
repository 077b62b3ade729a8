// The list of open enquiries: selection by role, option and period, the
// double-click that fills the follow-up window, and the printout.
#include "PdfText.h"
#include "TestDb.h"
#include "TypeDate.h"
#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "screens/enquiry/frmEnquiryStatus.h"
#include "screens/enquiry/frmViewHistory.h"
#include "ui/Grid.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/ReportControl.h"
#include "ui/Tag.h"

#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

// Sales persons 2 (Anita Rao) and 3 (Binu Paul), administrator 1.
// Enquiries (origin; current record):
//   1 Anita, Apex,           10/01/2024; Pending, follow 15/02/2024 (second record)
//   2 Binu,  O'Brien Stores, 20/01/2024; Pending, follow 05/03/2024 (first record)
//   3 Anita, Apex,           01/12/2023; Pending, follow 10/01/2024
//   4 Anita, Apex,           15/01/2024; Closed (earlier record Pending)
//   5 Binu,  O'Brien Stores, 16/01/2024; Dropped (earlier record Pending)
void Fixture(TestDb& t)
{
    t.exec(
        "INSERT INTO mstExecutive VALUES (1,'Office Admin','Manager','admin','admin','Head','A')");
    t.exec("INSERT INTO mstExecutive VALUES (2,'Anita Rao','Sales','anita','anita','South','U')");
    t.exec("INSERT INTO mstExecutive VALUES (3,'Binu Paul','Sales','binu','binu','North','U')");
    t.exec("INSERT INTO mstClient VALUES (1,'Apex','0471 55512','9847012345','MG Road','Kochi')");
    t.exec("INSERT INTO mstClient VALUES (2,'O''Brien Stores','0484 1234','9847099999',"
           "'Beach Road','Kollam')");
    auto enquiry = [&](int code, const char* date, int exe, int client, int percent, int amount,
                       const char* requirement, const char* action, const char* follow) {
        t.exec(QStringLiteral("INSERT INTO trnEnquiryRegister VALUES (%1,#%2#,'Telephone','AMC',"
                              "'Corporate',%3,%4,%5,%6,#%7#,%8,'first call',%9)")
                   .arg(code)
                   .arg(QLatin1String(date))
                   .arg(exe)
                   .arg(client)
                   .arg(data::Quote(QString::fromUtf8(requirement)),
                        data::Quote(QString::fromUtf8(action)))
                   .arg(QLatin1String(follow))
                   .arg(percent)
                   .arg(amount));
    };
    auto status = [&](int code, const char* follow, const char* action, const char* status,
                      const char* key, int percent) {
        t.exec(QStringLiteral("INSERT INTO trnEnquiryStatus VALUES (%1,#%2#,'%3','%4','%5',"
                              "'note %1',%6,0)")
                   .arg(code)
                   .arg(QLatin1String(follow), QLatin1String(action), QLatin1String(status),
                        QLatin1String(key))
                   .arg(percent));
    };
    enquiry(1, "10/01/2024", 2, 1, 40, 150000, "Annual maintenance", "Sent quotation",
            "25/01/2024");
    status(1, "25/01/2024", "Sent quotation", "Pending", "P", 40);
    status(1, "15/02/2024", "", "Pending", "F", 60);
    enquiry(2, "20/01/2024", 3, 2, 30, 80000, "Printer's service", "Demo fixed", "05/03/2024");
    status(2, "05/03/2024", "Demo fixed", "Pending", "F", 30);
    enquiry(3, "01/12/2023", 2, 1, 20, 1000, "Old request", "Called", "10/01/2024");
    status(3, "10/01/2024", "Called", "Pending", "F", 20);
    enquiry(4, "15/01/2024", 2, 1, 50, 2000, "Closed one", "Called", "20/01/2024");
    status(4, "20/01/2024", "Called", "Pending", "P", 50);
    status(4, "25/01/2024", "", "Closed", "F", 100);
    enquiry(5, "16/01/2024", 3, 2, 50, 2000, "Dropped one", "Called", "20/01/2024");
    status(5, "20/01/2024", "Called", "Pending", "P", 50);
    status(5, "25/01/2024", "", "Dropped", "F", 0);
}

void Login(qint16 code, const char* role)
{
    modAdmin::CurrentExeCode = code;
    modAdmin::CurrentRole = QLatin1String(role);
}

void CopyLayout(const TestDb& t)
{
    QFile::remove(t.folder() + QStringLiteral("/rptEnquiryStatus.rpt"));
    QVERIFY(QFile::copy(QStringLiteral(KORVANE_BIN_DIR "/rptEnquiryStatus.rpt"),
                        t.folder() + QStringLiteral("/rptEnquiryStatus.rpt")));
}

// The window as the main window opens it, shown and active.
frmEnquiryStatus* Open()
{
    auto* w = new frmEnquiryStatus;
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        qWarning("window not active");
    return w;
}

void SetPeriod(frmEnquiryStatus* w, const QString& from, const QString& to, bool followDate)
{
    TypeDate(w->mskFrom, from);
    QTest::keyClick(w->mskFrom, Qt::Key_Return);
    TypeDate(w->mskTo, to);
    QTest::keyClick(w->mskTo, Qt::Key_Return);
    QTest::mouseClick(followDate ? w->optFDate : w->optOrigin, Qt::LeftButton);
}

QStringList Column(const Grid* g, int col)
{
    QStringList out;
    for (int r = 1; r < g->rows(); ++r)
        out << g->textMatrix(r, col);
    return out;
}

void DoubleClickRow(Grid* g, int row)
{
    const QRect cell = g->visualRect(g->model()->index(row - 1, 1));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestEnquiryStatus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowAsDesigned();
    void listing_data();
    void listing();
    void rowsCarryTheirColumns();
    void emptyListSaysNoRecord();
    void invalidDates_data();
    void invalidDates();
    void fourDigitYears();
    void doubleClickFillsFollowUp();
    void followUpLeavesListUntilShow();
    void printFillsScratchTable_data();
    void printFillsScratchTable();
    void printOfNothingIsEmptyReport();
    void printToPdfHoldsRowsInOrder();
    void missingLayoutIsReported();
    void errorsAreReported();
};

void TestEnquiryStatus::windowAsDesigned()
{
    TestDb t;
    QPointer<frmEnquiryStatus> w = Open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Enquiry Status"));
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(w->optOrigin->isChecked());
    QCOMPARE(w->mskFrom->text(), QStringLiteral("__/__/____"));
    QCOMPARE(w->grdStatus->cols(), 8);
    QCOMPARE(w->grdStatus->rows(), 2);
    QCOMPARE(w->grdStatus->colWidth(0), 0);
    QCOMPARE(w->grdStatus->colWidth(3), 0);
    QCOMPARE(w->grdStatus->textMatrix(0, 4).trimmed(), QStringLiteral("Client"));
    for (const char* name : {"fraDate", "optOrigin", "optFDate", "mskFrom", "mskTo", "lblFrom",
                             "lblTo", "cmdShow", "cmdPrint", "cmdClose", "grdStatus"})
        QVERIFY2(w->findChild<QWidget*>(QLatin1String(name)), name);
    QVERIFY(w->findChild<ReportControl*>(QStringLiteral("rptEnquiryStatus")));
    // Enter walks From -> To -> the first option.
    w->mskFrom->setFocus();
    QTest::keyClick(w->mskFrom, Qt::Key_Return);
    QVERIFY(w->mskTo->hasFocus());
    QTest::keyClick(w->mskTo, Qt::Key_Return);
    QVERIFY(w->optOrigin->hasFocus());
    // Esc closes it.
    QTest::keyClick(w, Qt::Key_Escape);
    QTRY_VERIFY(!w);
}

void TestEnquiryStatus::listing_data()
{
    QTest::addColumn<int>("user");
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("followDate");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("clients");

    const QStringList both{"1", "2"};
    const QStringList bothNamed{"Apex[Anita Rao]", "O'Brien Stores[Binu Paul]"};
    QTest::newRow("administrator, origin") << 1 << "A" << false << "01012024"
                                           << "31012024" << both << bothNamed;
    QTest::newRow("administrator, origin, reversed") << 1 << "A" << false << "31012024"
                                                     << "01012024" << both << bothNamed;
    QTest::newRow("sales person, origin") << 2 << "U" << false << "01012024"
                                          << "31012024" << QStringList{"1"} << QStringList{"Apex"};
    QTest::newRow("other sales person, origin")
        << 3 << "U" << false << "01012024"
        << "31012024" << QStringList{"2"} << QStringList{"O'Brien Stores"};
    QTest::newRow("administrator, follow date")
        << 1 << "A" << true << "01012024"
        << "31012024" << QStringList{"3"} << QStringList{"Apex[Anita Rao]"};
    QTest::newRow("administrator, follow date, ordered by it")
        << 1 << "A" << true << "01012024"
        << "31032024" << QStringList{"3", "1", "2"}
        << QStringList{"Apex[Anita Rao]", "Apex[Anita Rao]", "O'Brien Stores[Binu Paul]"};
    QTest::newRow("sales person, follow date, reversed")
        << 2 << "U" << true << "31032024"
        << "01012024" << QStringList{"3", "1"} << QStringList{"Apex", "Apex"};
    QTest::newRow("sales person, origin, both ends included")
        << 2 << "U" << false << "01122023"
        << "10012024" << QStringList{"3", "1"} << QStringList{"Apex", "Apex"};
}

void TestEnquiryStatus::listing()
{
    QFETCH(int, user);
    QFETCH(QString, role);
    QFETCH(bool, followDate);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, clients);

    TestDb t;
    Fixture(t);
    Login(qint16(user), role.toLatin1().constData());
    MsgBox::Recorder messages;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), from, to, followDate);
    QTest::mouseClick(w->cmdShow, Qt::LeftButton);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));
    QCOMPARE(Column(w->grdStatus, 0), codes);
    QCOMPARE(Column(w->grdStatus, 4), clients);
    QCOMPARE(Column(w->grdStatus, 6), QStringList(QList<QString>(codes.size(), "Pending")));
}

void TestEnquiryStatus::rowsCarryTheirColumns()
{
    TestDb t;
    Fixture(t);
    MsgBox::Recorder messages;
    for (const char* role : {"A", "U"}) {
        Login(2, role);
        std::unique_ptr<frmEnquiryStatus> w(Open());
        SetPeriod(w.get(), "01012024", "31012024", false);
        w->cmdShow->click();
        const Grid* g = w->grdStatus;
        QCOMPARE(g->textMatrix(1, 0), QStringLiteral("1"));
        QCOMPARE(g->textMatrix(1, 1), QStringLiteral("10/01/2024"));
        QCOMPARE(g->textMatrix(1, 2), QStringLiteral("AMC"));
        QCOMPARE(g->textMatrix(1, 3), QStringLiteral("1"));
        QCOMPARE(g->textMatrix(1, 5), QStringLiteral("15/02/2024"));
        QCOMPARE(g->textMatrix(1, 6), QStringLiteral("Pending"));
        // The percentage registered with the enquiry, not that of its
        // latest follow-up (60).
        QCOMPARE(g->textMatrix(1, 7), QStringLiteral("40"));
    }
    QVERIFY(messages.isEmpty());
}

void TestEnquiryStatus::emptyListSaysNoRecord()
{
    TestDb t;
    Fixture(t);
    Login(1, "A");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    // A full list first: the empty one must replace it.
    SetPeriod(w.get(), "01012024", "31012024", false);
    w->cmdShow->click();
    QCOMPARE(w->grdStatus->rows(), 3);
    SetPeriod(w.get(), "01012020", "31122020", false);
    QTest::mouseClick(w->cmdShow, Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"No record!"});
    QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
    QCOMPARE(w->grdStatus->rows(), 2);
    QCOMPARE(w->grdStatus->textMatrix(1, 0), QString());
    // The empty row, and the heading, open nothing.
    DoubleClickRow(w->grdStatus, 1);
    w->grdStatus->setRow(0);
    w->grdStatus_DblClick();
    QVERIFY(shown.shown().isEmpty());
    QCOMPARE(messages.count(), 1);
}

void TestEnquiryStatus::invalidDates_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("fromFails");
    QTest::newRow("from blank") << ""
                                << "31012024" << true;
    QTest::newRow("from half typed") << "120"
                                     << "31012024" << true;
    QTest::newRow("to impossible") << "01012024"
                                   << "31022024" << false;
    QTest::newRow("to blank") << "01012024"
                              << "" << false;
}

void TestEnquiryStatus::invalidDates()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, fromFails);
    TestDb t;
    Fixture(t);
    CopyLayout(t);
    Login(1, "A");
    t.exec("INSERT INTO rptEnquiryStatus(No,Client) VALUES (9,'kept')");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), from, to, false);
    for (QPushButton* button : {w->cmdShow, w->cmdPrint}) {
        messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{"Enter a valid date!"});
        QVERIFY((fromFails ? w->mskFrom : w->mskTo)->hasFocus());
    }
    QCOMPARE(w->grdStatus->rows(), 2);
    QCOMPARE(t.scalar("SELECT Client FROM rptEnquiryStatus"), QStringLiteral("kept"));
    QVERIFY(shown.shown().isEmpty());
    QVERIFY(!w->PrintToPdf(t.folder() + QStringLiteral("/x.pdf")));
    QVERIFY(!QFile::exists(t.folder() + QStringLiteral("/x.pdf")));
}

void TestEnquiryStatus::fourDigitYears()
{
    // A period far from today must not be read in another century.
    TestDb t;
    Fixture(t);
    CopyLayout(t);
    t.exec("INSERT INTO trnEnquiryRegister VALUES (9,#15/06/1960#,'Letter','AMC','Corporate',2,1,"
           "'Old','Wrote',#20/06/1960#,10,'',5)");
    t.exec("INSERT INTO trnEnquiryStatus VALUES (9,#20/06/1960#,'Wrote','Pending','F','',10,5)");
    Login(1, "A");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01011960", "31121960", false);
    w->cmdShow->click();
    QVERIFY2(messages.isEmpty(),
             qPrintable(messages.texts().join('|') + w->mskFrom->text() + w->mskTo->text()));
    QCOMPARE(Column(w->grdStatus, 0), QStringList{"9"});
    QCOMPARE(w->grdStatus->textMatrix(1, 1), QStringLiteral("15/06/1960"));
    w->cmdPrint->click();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));
    QCOMPARE(t.scalar("SELECT Origin FROM rptEnquiryStatus WHERE No=1"),
             QStringLiteral("15/06/1960"));
    QCOMPARE(t.scalar("SELECT Follow FROM rptEnquiryStatus WHERE No=1"),
             QStringLiteral("20/06/1960"));
    for (QDialog* d : shown.shown())
        if (d)
            d->close();
}

void TestEnquiryStatus::doubleClickFillsFollowUp()
{
    TestDb t;
    Fixture(t);
    Login(1, "A");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012024", "31012024", false);
    w->cmdShow->click();
    DoubleClickRow(w->grdStatus, 1);
    QCOMPARE(shown.shown().size(), 1);
    QPointer<frmViewHistory> f = shown.last<frmViewHistory>();
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("View History"));
    QCOMPARE(f->txtClient->text(), QStringLiteral("Apex"));
    QCOMPARE(Tag(f->txtClient), QStringLiteral("1"));
    QCOMPARE(f->txtAddress->text(), QStringLiteral("MG Road, Kochi"));
    QCOMPARE(f->txtPhone->text(), QStringLiteral("0471 55512"));
    QCOMPARE(f->txtMobile->text(), QStringLiteral("9847012345"));
    QCOMPARE(f->txtReq->text(), QStringLiteral("Annual maintenance"));
    QCOMPARE(f->txtAction->text(), QStringLiteral("Sent quotation"));
    QCOMPARE(f->mskODate->text(), QStringLiteral("10/01/2024"));
    QCOMPARE(f->mskFDate->text(), QStringLiteral("25/01/2024"));
    QCOMPARE(f->txtAmount->text(), QStringLiteral("150000")); // as registered
    QCOMPARE(f->txtPercent->text(), QStringLiteral("60"));    // of the last record
    QVERIFY(f->optPending->isChecked());
    QVERIFY(f->cmdOK->isEnabled());
    QCOMPARE(Tag(f->grdView), QStringLiteral("1"));
    QCOMPARE(f->grdView->colWidth(0), 0);
    QCOMPARE(f->grdView->rows(), 3);
    QCOMPARE(f->grdView->textMatrix(1, 1), QStringLiteral("25/01/2024"));
    QCOMPARE(f->grdView->textMatrix(1, 2), QStringLiteral("note 1"));
    QCOMPARE(f->grdView->textMatrix(2, 1), QStringLiteral("15/02/2024"));
    QCOMPARE(f->grdView->textMatrix(2, 3), QStringLiteral("Pending"));
    QCOMPARE(f->grdView->textMatrix(2, 4), QStringLiteral("60"));
    QCOMPARE(f->mskFDate2->text(), QStringLiteral("__/__/____"));
    QVERIFY(messages.isEmpty());
    f->close();

    // The second row: an apostrophe in the client's name, one record.
    DoubleClickRow(w->grdStatus, 2);
    f = shown.last<frmViewHistory>();
    QVERIFY(f);
    QCOMPARE(f->txtClient->text(), QStringLiteral("O'Brien Stores"));
    QCOMPARE(f->grdView->rows(), 2);
    QCOMPARE(f->txtPercent->text(), QStringLiteral("30"));
    f->close();
}

void TestEnquiryStatus::followUpLeavesListUntilShow()
{
    TestDb t;
    Fixture(t);
    Login(2, "U");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012024", "31032024", true);
    w->cmdShow->click();
    QCOMPARE(Column(w->grdStatus, 0), QStringList({"3", "1"}));

    DoubleClickRow(w->grdStatus, 2);
    QPointer<frmViewHistory> f = shown.last<frmViewHistory>();
    QVERIFY(f);
    f->optClosed->click();
    f->mskFDate2->setText(QStringLiteral("01/03/2024"));
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QTRY_VERIFY(!f);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));
    // Not refreshed by the follow-up window...
    QCOMPARE(Column(w->grdStatus, 0), QStringList({"3", "1"}));
    // ...until Show is pressed again.
    w->cmdShow->click();
    QCOMPARE(Column(w->grdStatus, 0), QStringList({"3"}));
}

void TestEnquiryStatus::printFillsScratchTable_data()
{
    QTest::addColumn<int>("user");
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("followDate");
    QTest::addColumn<QStringList>("clients");
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("administrator, origin")
        << 1 << "A" << false << QStringList{"Apex", "O'Brien Stores"}
        << QStringList{"", "Demo fixed"};
    QTest::newRow("sales person, origin")
        << 3 << "U" << false << QStringList{"O'Brien Stores"} << QStringList{"Demo fixed"};
    QTest::newRow("administrator, follow date")
        << 1 << "A" << true << QStringList{"Apex"} << QStringList{"Called"};
    QTest::newRow("sales person, follow date")
        << 3 << "U" << true << QStringList{} << QStringList{};
}

void TestEnquiryStatus::printFillsScratchTable()
{
    QFETCH(int, user);
    QFETCH(QString, role);
    QFETCH(bool, followDate);
    QFETCH(QStringList, clients);
    QFETCH(QStringList, actions);
    TestDb t;
    Fixture(t);
    CopyLayout(t);
    Login(qint16(user), role.toLatin1().constData());
    t.exec("INSERT INTO rptEnquiryStatus(No,Client) VALUES (1,'from the last printout')");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012024", "31012024", followDate);
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));

    QStringList gotClients, gotActions, numbers;
    data::Recordset rs(QStringLiteral("SELECT * FROM rptEnquiryStatus ORDER BY No"), t.db());
    for (; !rs.eof(); rs.moveNext()) {
        numbers << rs.text(QStringLiteral("No"));
        gotClients << rs.text(QStringLiteral("Client"));
        gotActions << rs.text(QStringLiteral("Action"));
    }
    rs.close();
    QCOMPARE(gotClients, clients);
    QCOMPARE(gotActions, actions);
    QStringList expected;
    for (int i = 1; i <= clients.size(); ++i)
        expected << QString::number(i);
    QCOMPARE(numbers, expected);
    if (!clients.isEmpty() && clients.front() == QLatin1String("Apex") && !followDate) {
        QCOMPARE(t.scalar("SELECT Origin FROM rptEnquiryStatus WHERE No=1"),
                 QStringLiteral("10/01/2024"));
        QCOMPARE(t.scalar("SELECT Follow FROM rptEnquiryStatus WHERE No=1"),
                 QStringLiteral("15/02/2024"));
        QCOMPARE(t.scalar("SELECT Address FROM rptEnquiryStatus WHERE No=1"),
                 QStringLiteral("MG Road"));
        QCOMPARE(t.scalar("SELECT City FROM rptEnquiryStatus WHERE No=1"), QStringLiteral("Kochi"));
        QCOMPARE(t.scalar("SELECT Phone FROM rptEnquiryStatus WHERE No=1"),
                 QStringLiteral("0471 55512"));
        QCOMPARE(t.scalar("SELECT Requirment FROM rptEnquiryStatus WHERE No=2"),
                 QStringLiteral("Printer's service"));
        QCOMPARE(t.scalar("SELECT Status FROM rptEnquiryStatus WHERE No=2"),
                 QStringLiteral("Pending"));
    }
    // The report opens in a print preview.
    QCOMPARE(shown.shown().size(), 1);
    QPointer<QDialog> preview = shown.last();
    QVERIFY(qobject_cast<QPrintPreviewDialog*>(preview.data()));
    preview->close();
    QTRY_VERIFY(!preview);
}

void TestEnquiryStatus::printOfNothingIsEmptyReport()
{
    TestDb t;
    Fixture(t);
    CopyLayout(t);
    Login(1, "A");
    t.exec("INSERT INTO rptEnquiryStatus(No,Client) VALUES (1,'stale')");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012020", "31122020", false);
    const QString pdf = t.folder() + QStringLiteral("/empty.pdf");
    QVERIFY(w->PrintToPdf(pdf));
    QVERIFY(messages.isEmpty());
    QVERIFY(shown.shown().isEmpty());
    QCOMPARE(t.count("SELECT COUNT(*) FROM rptEnquiryStatus"), 0);
    QVERIFY(QFile::exists(pdf));
    // Through the button: the (empty) preview and no message.
    w->cmdPrint->click();
    QVERIFY(messages.isEmpty());
    QCOMPARE(shown.shown().size(), 1);
    shown.last()->close();
}

void TestEnquiryStatus::printToPdfHoldsRowsInOrder()
{
    TestDb t;
    Fixture(t);
    CopyLayout(t);
    Login(1, "A");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012024", "31032024", true);
    const QString pdf = t.folder() + QStringLiteral("/status.pdf");
    QVERIFY(w->PrintToPdf(pdf));
    QVERIFY(messages.isEmpty());
    QVERIFY(shown.shown().isEmpty());
    const QString text = PdfText(pdf);
    if (text.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
    QVERIFY(text.contains(
        QStringLiteral("Pending enquiries by Follow Date: 01/Jan/2024 to 31/Mar/2024")));
    const qsizetype first = text.indexOf(QStringLiteral("Old request"));
    const qsizetype second = text.indexOf(QStringLiteral("Annual maintenance"));
    const qsizetype third = text.indexOf(QStringLiteral("Printer's service"));
    QVERIFY2(first >= 0 && first < second && second < third, qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("10/Jan/2024")));
    QVERIFY(text.contains(QStringLiteral("O'Brien Stores")));
}

void TestEnquiryStatus::missingLayoutIsReported()
{
    TestDb t;
    Fixture(t);
    Login(1, "A");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012024", "31012024", false);
    w->cmdPrint->click();
    QCOMPARE(messages.count(), 1);
    QVERIFY2(messages.last().text.contains(
                 QDir::toNativeSeparators(t.folder() + QStringLiteral("/rptEnquiryStatus.rpt"))),
             qPrintable(messages.last().text));
    QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
    QVERIFY(shown.shown().isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(w->isVisible());
}

void TestEnquiryStatus::errorsAreReported()
{
    // A database failure during Show, Print and the double-click is shown
    // as a message, the pointer is back to normal and the window stays.
    TestDb t;
    Fixture(t);
    CopyLayout(t);
    Login(1, "A");
    MsgBox::Recorder messages;
    Modal::Recorder shown;
    std::unique_ptr<frmEnquiryStatus> w(Open());
    SetPeriod(w.get(), "01012024", "31012024", false);
    w->cmdShow->click();
    QCOMPARE(w->grdStatus->rows(), 3);
    t.exec("INSERT INTO rptEnquiryStatus(No,Client) VALUES (1,'kept')");
    t.db().executeNative(QStringLiteral("CREATE TRIGGER failPrint BEFORE INSERT ON "
                                        "rptEnquiryStatus BEGIN SELECT RAISE(ABORT,'disk is "
                                        "full'); END"));
    w->cmdPrint->click();
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.last().text.contains(QStringLiteral("disk is full")),
             qPrintable(messages.last().text));
    // The scratch table is refilled as a whole or not at all.
    QCOMPARE(t.scalar("SELECT Client FROM rptEnquiryStatus"), QStringLiteral("kept"));
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(shown.shown().isEmpty());

    w->grdStatus->setRow(1);
    t.db().executeNative(QStringLiteral("DROP TABLE mstClient"));
    messages.clear();
    w->grdStatus_DblClick();
    QCOMPARE(messages.count(), 1);
    QVERIFY(shown.shown().isEmpty());
    messages.clear();
    w->cmdShow->click();
    QCOMPARE(messages.count(), 1);
    QVERIFY(messages.last().text != QLatin1String("No record!"));
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(w->isVisible());
}

QTEST_MAIN(TestEnquiryStatus)
#include "tst_enquiry_status.moc"
