// The follow-up window: recording a follow-up through its widgets, the
// date check, the view-only use, and the save as one transaction.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "screens/enquiry/FollowUpSave.h"
#include "screens/enquiry/frmViewHistory.h"
#include "ui/Grid.h"
#include "ui/MaskEdBox.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// Enquiry 7 (registered 10/01/2024, 40 %, 150000) with its first status
// record, and enquiry 8 with one of its own that no follow-up of 7 touches.
void Fixture(TestDb& t)
{
    t.exec("INSERT INTO mstExecutive VALUES (2,'Anita Rao','Sales','anita','anita','South','U')");
    t.exec("INSERT INTO mstClient VALUES (1,'Apex','0471 55512','9847012345','MG Road','Kochi')");
    t.exec("INSERT INTO trnEnquiryRegister VALUES (7,#10/01/2024#,'Telephone','AMC','Corporate',"
           "2,1,'Annual maintenance','Sent quotation',#25/01/2024#,40,'first call',150000)");
    t.exec("INSERT INTO trnEnquiryStatus VALUES (7,#25/01/2024#,'Sent quotation','Pending','F',"
           "'first call',40,150000)");
    t.exec("INSERT INTO trnEnquiryRegister VALUES (8,#11/01/2024#,'Telephone','AMC','Corporate',"
           "2,1,'Other','Called',#26/01/2024#,10,'',10)");
    t.exec("INSERT INTO trnEnquiryStatus VALUES (8,#26/01/2024#,'Called','Pending','F','',10,10)");
}

// The window as the status list fills it for enquiry 7.
frmViewHistory* OpenFilled()
{
    auto* f = new frmViewHistory;
    f->txtClient->setText(QStringLiteral("Apex"));
    SetTag(f->txtClient, QStringLiteral("1"));
    f->txtAmount->setText(QStringLiteral("150000"));
    f->grdView->setRows(1);
    SetTag(f->grdView, QStringLiteral("7"));
    f->grdView->addItem(QStringLiteral("7\t25/01/2024\tfirst call\tPending\t40"));
    f->optPending->setChecked(true);
    f->txtPercent->setText(QStringLiteral("40"));
    f->show();
    f->activateWindow();
    if (!QTest::qWaitForWindowActive(f))
        qWarning("window not active");
    return f;
}

struct StatusRow {
    QString follow, status, key, reason, action, percent, amount;
};

QList<StatusRow> Records(TestDb& t, int code)
{
    QList<StatusRow> out;
    data::Recordset rs(
        QStringLiteral("SELECT * FROM trnEnquiryStatus WHERE enqCode=%1 ORDER BY rowid").arg(code),
        t.db());
    for (; !rs.eof(); rs.moveNext())
        out << StatusRow{
            rs.text(QStringLiteral("enqFollDate")), rs.text(QStringLiteral("enqStatus")),
            rs.text(QStringLiteral("enqKey")),      rs.text(QStringLiteral("enqReason")),
            rs.text(QStringLiteral("enqAction")),   rs.text(QStringLiteral("enqPercentage")),
            rs.text(QStringLiteral("enqAmount"))};
    return out;
}

QString Keys(const QList<StatusRow>& rows)
{
    QString keys;
    for (const StatusRow& r : rows)
        keys += r.key;
    return keys;
}

} // namespace

class TestViewHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowAsDesigned();
    void followUpThroughTheKeyboard();
    void statusAndTexts_data();
    void statusAndTexts();
    void threeFollowUpsGiveFourRecords();
    void invalidDate_data();
    void invalidDate();
    void failingInsertKeepsCurrentRecord();
    void viewOnly();
    void closeSavesNothing();
    void saveWithoutEnquiryIsRefused();
};

void TestViewHistory::windowAsDesigned()
{
    TestDb t;
    std::unique_ptr<frmViewHistory> f(new frmViewHistory);
    QCOMPARE(f->windowTitle(), QStringLiteral("View History"));
    QVERIFY(f->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(f->grdView->cols(), 5);
    QCOMPARE(f->grdView->colWidth(0), 0);
    QCOMPARE(f->grdView->textMatrix(0, 1).trimmed(), QStringLiteral("Follow Date"));
    QCOMPARE(f->grdView->textMatrix(0, 2).trimmed(), QStringLiteral("Action"));
    QVERIFY(f->optPending->isChecked());
    QCOMPARE(f->mskFDate2->text(), QStringLiteral("__/__/____"));
    QCOMPARE(f->txtPercent->maxLength(), 3);
    QCOMPARE(f->txtPhone->maxLength(), 15);
    QCOMPARE(f->cmdOK->text(), QStringLiteral("&OK"));
    QCOMPARE(f->cmdClose->text(), QStringLiteral("&Close"));
    for (const char* name :
         {"fra1",          "txtClient", "txtAddress", "txtPhone",    "txtMobile",  "txtReq",
          "txtAction",     "mskODate",  "mskFDate",   "fraStstus",   "optPending", "optClosed",
          "optDropped",    "mskFDate2", "txtPercent", "txtAmount",   "txtReason",  "grdView",
          "cmdOK",         "cmdClose",  "lblClient",  "lblAddress",  "lblPhone",   "lblMobile",
          "lblRequirment", "lblAction", "lblOrigin",  "lblFollDate", "lblPercent", "lblAmount",
          "lblReason"})
        QVERIFY2(f->findChild<QWidget*>(QLatin1String(name)), name);
}

void TestViewHistory::followUpThroughTheKeyboard()
{
    TestDb t;
    Fixture(t);
    MsgBox::Recorder messages;
    QPointer<frmViewHistory> f = OpenFilled();
    f->txtReason->setFocus();
    QTest::keyClicks(f->txtReason, QStringLiteral("client wants a demo"));
    QTest::keyClick(f->txtReason, Qt::Key_Return);
    QCOMPARE(f->txtReason->text(), QStringLiteral("Client Wants A Demo"));
    QVERIFY(f->mskFDate2->hasFocus());
    f->mskFDate2->setCursorPosition(0);
    QTest::keyClicks(f->mskFDate2, QStringLiteral("20022024"));
    QTest::keyClick(f->mskFDate2, Qt::Key_Return);
    QVERIFY(f->txtPercent->hasFocus());
    f->txtPercent->selectAll();
    QTest::keyClicks(f->txtPercent, QStringLiteral("75"));
    QTest::keyClick(f->txtPercent, Qt::Key_Return);
    QVERIFY(f->txtAmount->hasFocus());
    f->txtAmount->selectAll();
    QTest::keyClicks(f->txtAmount, QStringLiteral("1,25,000"));
    QTest::keyClick(f->txtAmount, Qt::Key_Return);
    QVERIFY(f->cmdOK->hasFocus());
    QVERIFY(f->isVisible()); // Enter only moved the focus
    QTest::keyClick(f->cmdOK, Qt::Key_Return);
    QTRY_VERIFY(!f);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));

    const QList<StatusRow> rows = Records(t, 7);
    QCOMPARE(Keys(rows), QStringLiteral("PF"));
    QCOMPARE(rows[0].follow, QStringLiteral("25/01/2024"));
    QCOMPARE(rows[0].action, QStringLiteral("Sent quotation"));
    const StatusRow& now = rows[1];
    QCOMPARE(now.follow, QStringLiteral("20/02/2024"));
    QCOMPARE(now.status, QStringLiteral("Pending"));
    QCOMPARE(now.reason, QStringLiteral("Client Wants A Demo"));
    QCOMPARE(now.action, QString());
    QCOMPARE(now.percent, QStringLiteral("75"));
    QCOMPARE(now.amount, QStringLiteral("1")); // the numeric value of "1,25,000"
    QCOMPARE(Keys(Records(t, 8)), QStringLiteral("F"));
}

void TestViewHistory::statusAndTexts_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typedReason");
    QTest::addColumn<QString>("pastedReason");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("storedPercent");
    QTest::newRow("closed, typed apostrophe dropped") << "optClosed"
                                                      << "O'Neil ordered"
                                                      << ""
                                                      << "100"
                                                      << "Closed"
                                                      << "ONeil ordered"
                                                      << "100";
    QTest::newRow("dropped, pasted apostrophe kept, blanks trimmed") << "optDropped"
                                                                     << ""
                                                                     << "  client's budget cut  "
                                                                     << "0"
                                                                     << "Dropped"
                                                                     << "client's budget cut"
                                                                     << "0";
    QTest::newRow("pending, empty reason, percent no number") << "optPending"
                                                              << ""
                                                              << ""
                                                              << "ab"
                                                              << "Pending"
                                                              << ""
                                                              << "0";
    QTest::newRow("fraction of a percent") << "optPending"
                                           << ""
                                           << ""
                                           << "2.5"
                                           << "Pending"
                                           << ""
                                           << "2.5";
}

void TestViewHistory::statusAndTexts()
{
    QFETCH(QString, option);
    QFETCH(QString, typedReason);
    QFETCH(QString, pastedReason);
    QFETCH(QString, percent);
    QFETCH(QString, status);
    QFETCH(QString, reason);
    QFETCH(QString, storedPercent);
    TestDb t;
    Fixture(t);
    MsgBox::Recorder messages;
    QPointer<frmViewHistory> f = OpenFilled();
    QTest::mouseClick(f->findChild<QRadioButton*>(option), Qt::LeftButton);
    if (!typedReason.isEmpty())
        QTest::keyClicks(f->txtReason, typedReason);
    if (!pastedReason.isEmpty())
        f->txtReason->setText(pastedReason);
    f->mskFDate2->setText(QStringLiteral("01/03/2024"));
    f->txtPercent->setText(percent);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QTRY_VERIFY(!f);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join('|')));
    const QList<StatusRow> rows = Records(t, 7);
    QCOMPARE(Keys(rows), QStringLiteral("PF"));
    QCOMPARE(rows[1].status, status);
    QCOMPARE(rows[1].reason, reason);
    QCOMPARE(rows[1].percent, storedPercent);
    QCOMPARE(rows[1].amount, QStringLiteral("150000")); // the shown amount, untouched
}

void TestViewHistory::threeFollowUpsGiveFourRecords()
{
    TestDb t;
    Fixture(t);
    MsgBox::Recorder messages;
    const QStringList dates{"01/02/2024", "15/02/2024", "01/03/2024"};
    for (const QString& date : dates) {
        QPointer<frmViewHistory> f = OpenFilled();
        f->mskFDate2->setText(date);
        f->cmdOK->click();
        QTRY_VERIFY(!f);
    }
    QVERIFY(messages.isEmpty());
    const QList<StatusRow> rows = Records(t, 7);
    QCOMPARE(Keys(rows), QStringLiteral("PPPF"));
    QCOMPARE(rows.back().follow, QStringLiteral("01/03/2024"));
    QCOMPARE(t.count("SELECT COUNT(*) FROM trnEnquiryStatus WHERE enqCode=7 AND enqKey='F'"), 1);
}

void TestViewHistory::invalidDate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("blank") << "";
    QTest::newRow("half typed") << "120";
    QTest::newRow("impossible") << "31022024";
}

void TestViewHistory::invalidDate()
{
    QFETCH(QString, typed);
    TestDb t;
    Fixture(t);
    MsgBox::Recorder messages;
    QPointer<frmViewHistory> f = OpenFilled();
    f->mskFDate2->setFocus();
    f->mskFDate2->setCursorPosition(0);
    QTest::keyClicks(f->mskFDate2, typed);
    f->txtReason->setFocus();
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{"Please Enter a valid Date!"});
    QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
    QVERIFY(f);
    QVERIFY(f->isVisible());
    QVERIFY(f->mskFDate2->hasFocus());
    QCOMPARE(Keys(Records(t, 7)), QStringLiteral("F"));
    delete f;
}

void TestViewHistory::failingInsertKeepsCurrentRecord()
{
    TestDb t;
    Fixture(t);
    t.db().executeNative(QStringLiteral("CREATE TRIGGER failInsert BEFORE INSERT ON "
                                        "trnEnquiryStatus BEGIN SELECT RAISE(ABORT,'disk is "
                                        "full'); END"));
    MsgBox::Recorder messages;
    QPointer<frmViewHistory> f = OpenFilled();
    f->mskFDate2->setText(QStringLiteral("01/03/2024"));
    f->txtReason->setText(QStringLiteral("kept on screen"));
    f->cmdOK->click();
    QCOMPARE(messages.count(), 1);
    QVERIFY2(messages.last().text.contains(QStringLiteral("disk is full")),
             qPrintable(messages.last().text));
    // The update was rolled back with the failed insert.
    const QList<StatusRow> rows = Records(t, 7);
    QCOMPARE(Keys(rows), QStringLiteral("F"));
    QCOMPARE(rows[0].follow, QStringLiteral("25/01/2024"));
    QVERIFY(!t.db().inTransaction());
    // The window stays open with what was typed.
    QTest::qWait(20);
    QVERIFY(f && f->isVisible());
    QCOMPARE(f->txtReason->text(), QStringLiteral("kept on screen"));
    QCOMPARE(Tag(f->grdView), QStringLiteral("7"));

    // Once the fault is gone the same window saves.
    t.db().executeNative(QStringLiteral("DROP TRIGGER failInsert"));
    f->cmdOK->click();
    QTRY_VERIFY(!f);
    QCOMPARE(Keys(Records(t, 7)), QStringLiteral("PF"));
}

void TestViewHistory::viewOnly()
{
    TestDb t;
    Fixture(t);
    QPointer<frmViewHistory> f = OpenFilled();
    f->cmdOK->setEnabled(false);
    f->txtAmount->setFocus();
    QTest::keyClick(f->txtAmount, Qt::Key_Return);
    QVERIFY(f->txtAmount->hasFocus());
    // The details are shown, not edited.
    QVERIFY(f->txtClient->isReadOnly());
    QTest::keyClicks(f->txtClient, QStringLiteral("x"));
    QCOMPARE(f->txtClient->text(), QStringLiteral("Apex"));
    f->cmdClose->click();
    QTRY_VERIFY(!f);
    QCOMPARE(Keys(Records(t, 7)), QStringLiteral("F"));
}

void TestViewHistory::closeSavesNothing()
{
    TestDb t;
    Fixture(t);
    MsgBox::Recorder messages;
    QPointer<frmViewHistory> f = OpenFilled();
    f->mskFDate2->setText(QStringLiteral("01/03/2024"));
    f->optClosed->setChecked(true);
    QTest::keyClick(f->txtReason, Qt::Key_Escape);
    QTRY_VERIFY(!f);
    QVERIFY(messages.isEmpty());
    QCOMPARE(Keys(Records(t, 7)), QStringLiteral("F"));
}

void TestViewHistory::saveWithoutEnquiryIsRefused()
{
    // Without a loaded enquiry the save would add a current record that
    // belongs to no enquiry.
    TestDb t;
    Fixture(t);
    FollowUpInput in;
    in.nextDate = QDate(2024, 3, 1);
    in.status = QStringLiteral("Pending");
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveFollowUp(in));
    QCOMPARE(t.count("SELECT COUNT(*) FROM trnEnquiryStatus"), 2);

    MsgBox::Recorder messages;
    QPointer<frmViewHistory> f = new frmViewHistory;
    f->show();
    f->mskFDate2->setText(QStringLiteral("01/03/2024"));
    f->cmdOK->click();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(t.count("SELECT COUNT(*) FROM trnEnquiryStatus"), 2);
    delete f;
}

QTEST_MAIN(TestViewHistory)
#include "tst_view_history.moc"
