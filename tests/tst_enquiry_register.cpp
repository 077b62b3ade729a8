// The enquiry register driven through its widgets: the road of one
// enquiry, the checks in order, the stored values, the sales persons by
// role, a failing save, and clients created through "<New>".
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "screens/enquiry/EnquirySave.h"
#include "screens/enquiry/frmEnquiryRegister.h"
#include "screens/masters/frmClient.h"
#include "ui/ComboBox.h"
#include "ui/ListBox.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

// Every column of the first row of a query, by lower-case name, as text.
QMap<QString, QString> Row(const QString& sql)
{
    QMap<QString, QString> row;
    data::Recordset rs(sql, modAdmin::DbConnection);
    if (!rs.eof())
        for (int i = 0; i < rs.fieldCount(); ++i)
            row.insert(rs.fieldName(i).toLower(), rs.text(i));
    return row;
}

// The register's controls by name.
struct Register {
    QPointer<frmEnquiryRegister> f;
    QLineEdit* txtType;
    ListBox* lstType;
    ComboBox* cboService;
    ComboBox* cboSegment;
    ComboBox* cboExecutive;
    QLineEdit* txtClient;
    ListBox* lstClient;
    QLabel* lblClient;
    QLineEdit* txtRequirment;
    QLineEdit* txtAction;
    MaskEdBox* mskFDate;
    QLineEdit* txtAmount;
    QLineEdit* txtPercent;
    QLineEdit* txtComments;
    QLineEdit* txtCode;
    QLabel* lblDate;
    QPushButton* cmdOK;

    Register()
    {
        f = new frmEnquiryRegister;
        ShowModal(f); // as the main window opens it; a recorder keeps it open
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f))
            qWarning("register not active");
        txtType = find<QLineEdit>("txtType");
        lstType = find<ListBox>("lstType");
        cboService = find<ComboBox>("cboService");
        cboSegment = find<ComboBox>("cboSegment");
        cboExecutive = find<ComboBox>("cboExecutive");
        txtClient = find<QLineEdit>("txtClient");
        lstClient = find<ListBox>("lstClient");
        lblClient = find<QLabel>("lblClient");
        txtRequirment = find<QLineEdit>("txtRequirment");
        txtAction = find<QLineEdit>("txtAction");
        mskFDate = find<MaskEdBox>("mskFDate");
        txtAmount = find<QLineEdit>("txtAmount");
        txtPercent = find<QLineEdit>("txtPercent");
        txtComments = find<QLineEdit>("txtComments");
        txtCode = find<QLineEdit>("txtCode");
        lblDate = find<QLabel>("lblDate");
        cmdOK = find<QPushButton>("cmdOK");
    }
    ~Register() { delete f; }

    template <class T> T* find(const char* name) const
    {
        T* w = f->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("control %s missing", name);
        return w;
    }
    QWidget* focus() const { return f->focusWidget(); }

    // Types a client prefix and picks the entry at that position of the list.
    void pickClient(const QString& typed, int position)
    {
        txtClient->setFocus();
        QTest::keyClicks(txtClient, typed);
        QTest::keyClick(txtClient, Qt::Key_Down); // into the list, on "<New>"
        for (int i = 0; i < position; ++i)
            QTest::keyClick(lstClient, Qt::Key_Down);
        QTest::keyClick(lstClient, Qt::Key_Return);
    }
    void typeDate(const QString& digits)
    {
        QTest::keyClick(mskFDate, Qt::Key_Home);
        QTest::keyClicks(mskFDate, digits);
    }
    // Everything the checks ask for, with the client Blue Star (code 2).
    void fillValid()
    {
        QTest::keyClicks(txtType, QStringLiteral("Telephone"));
        pickClient(QStringLiteral("Blue S"), 1);
        typeDate(QStringLiteral("15032031"));
    }
    void ok() { QTest::mouseClick(cmdOK, Qt::LeftButton); }
};

void Seed(TestDb& t)
{
    // Executives in an order other than by name; 1 is the administrator.
    t.exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exeRole) VALUES "
                          "(1,'Boss','A'),(2,'Chitra','U'),(3,'Binu','U'),(4,'Anita','U')"));
    t.exec(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (1,'Software','SR'),"
                          "(2,'Hardware','SR'),(3,'Corporate','SG'),(4,'Retail','SG')"));
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName,cltPhone) VALUES "
                          "(1,'Apex Traders','1'),(2,'Blue Star','2'),(3,'O''Brien & Sons','3'),"
                          "(4,'Bluebell Stores','4')"));
}

int Enquiries()
{
    data::Recordset rs(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister"),
                       modAdmin::DbConnection);
    return int(rs.field(0).toLongLong());
}

int StatusRows()
{
    data::Recordset rs(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus"),
                       modAdmin::DbConnection);
    return int(rs.field(0).toLongLong());
}

} // namespace

class TestEnquiryRegister : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void preparedWhenShown();
    void roadOfOneEnquiry();
    void checksInOrder_data();
    void checksInOrder();
    void clientMustBePicked_data();
    void clientMustBePicked();
    void followUpDate_data();
    void followUpDate();
    void numbers_data();
    void numbers();
    void pastedApostrophesAreStored();
    void salesPersonsByRole_data();
    void salesPersonsByRole();
    void failingStatusInsertKeepsEverything();
    void typePickList();
    void clientPickList();
    void newClientThroughRegister();
    void newClientSortedAboveNewEntry();
    void clientWindowClosedWithoutSaving();
    void staleRequestGivesNoHandBack();
    void saveWithoutWidgets();

private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<MsgBox::Recorder> m_messages;
    std::unique_ptr<Modal::Recorder> m_windows;
};

void TestEnquiryRegister::init()
{
    m_db = std::make_unique<TestDb>();
    Seed(*m_db);
    m_messages = std::make_unique<MsgBox::Recorder>();
    m_windows = std::make_unique<Modal::Recorder>();
    modAdmin::CurrentRole = QStringLiteral("A");
    modAdmin::CurrentExeCode = 1;
    modAdmin::FromEnquiryRegister = false;
    modAdmin::EnquiryClientList = nullptr;
}

void TestEnquiryRegister::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_db.reset();
}

void TestEnquiryRegister::preparedWhenShown()
{
    Register r;
    QCOMPARE(r.f->windowTitle(), QStringLiteral("Enquiry Reigster"));
    QCOMPARE(r.cboService->listCount(), 3);
    QCOMPARE(r.cboService->list(0), QStringLiteral("<NEW>"));
    QCOMPARE(r.cboService->listIndex(), 0);
    QCOMPARE(r.cboService->list(1), QStringLiteral("Hardware"));
    QCOMPARE(r.cboService->list(2), QStringLiteral("Software"));
    QCOMPARE(r.cboSegment->list(0), QStringLiteral("<NEW>"));
    QCOMPARE(r.cboSegment->listIndex(), 0);
    QCOMPARE(r.cboSegment->list(2), QStringLiteral("Retail"));
    QCOMPARE(r.lblDate->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    QCOMPARE(r.txtCode->text(), QStringLiteral("1"));
    QCOMPARE(r.txtAmount->text(), QString());
    QCOMPARE(r.txtPercent->text(), QString());
    QCOMPARE(r.mskFDate->text(), QStringLiteral("__/__/____"));
    QVERIFY(r.lstType->isHidden());
    QVERIFY(r.lstClient->isHidden());
    QCOMPARE(r.focus(), r.txtType);
    QVERIFY(m_messages->isEmpty());
}

void TestEnquiryRegister::roadOfOneEnquiry()
{
    Register r;
    QTest::keyClicks(r.txtType, QStringLiteral("walk o'in"));
    QTest::keyClick(r.txtType, Qt::Key_Return);
    QCOMPARE(r.txtType->text(), QStringLiteral("Walk Oin"));
    QCOMPARE(r.focus(), r.cboService);
    QTest::keyClick(r.cboService, Qt::Key_Down); // Hardware
    QTest::keyClick(r.cboService, Qt::Key_Return);
    QCOMPARE(r.focus(), r.cboSegment);
    QTest::keyClick(r.cboSegment, Qt::Key_Down);
    QTest::keyClick(r.cboSegment, Qt::Key_Down); // Retail
    QTest::keyClick(r.cboSegment, Qt::Key_Return);
    QCOMPARE(r.focus(), r.cboExecutive);
    QVERIFY(m_windows->shown().size() == 1); // no service window was opened
    QCOMPARE(r.cboExecutive->list(r.cboExecutive->listIndex()), QStringLiteral("Anita"));
    QTest::keyClick(r.cboExecutive, Qt::Key_Down); // Binu, code 3
    QTest::keyClick(r.cboExecutive, Qt::Key_Return);
    QCOMPARE(r.focus(), r.txtClient);

    r.pickClient(QStringLiteral("blue s"), 1);
    QCOMPARE(r.txtClient->text(), QStringLiteral("Blue Star"));
    QCOMPARE(Tag(r.txtClient), QStringLiteral("2"));
    QVERIFY(r.lstClient->isHidden());
    QCOMPARE(r.focus(), r.txtRequirment);

    QTest::keyClicks(r.txtRequirment, QStringLiteral("accounting PACKAGE"));
    QTest::keyClick(r.txtRequirment, Qt::Key_Return);
    QCOMPARE(r.focus(), r.txtAction);
    QTest::keyClicks(r.txtAction, QStringLiteral("sent quotation"));
    QTest::keyClick(r.txtAction, Qt::Key_Return);
    QCOMPARE(r.focus(), r.mskFDate);
    r.typeDate(QStringLiteral("15032031"));
    QTest::keyClick(r.mskFDate, Qt::Key_Return);
    QCOMPARE(r.focus(), r.txtAmount);
    QTest::keyClicks(r.txtAmount, QStringLiteral("25,0x00"));
    QTest::keyClick(r.txtAmount, Qt::Key_Return);
    QCOMPARE(r.txtAmount->text(), QStringLiteral("25000"));
    QCOMPARE(r.focus(), r.txtPercent);
    QTest::keyClicks(r.txtPercent, QStringLiteral("60"));
    QTest::keyClick(r.txtPercent, Qt::Key_Return);
    QCOMPARE(r.focus(), r.txtComments);
    QTest::keyClicks(r.txtComments, QStringLiteral("  call back at ten "));
    QTest::keyClick(r.txtComments, Qt::Key_Return);
    QCOMPARE(r.focus(), r.cmdOK);
    QCOMPARE(Enquiries(), 0); // Enter in the last field only moves to OK
    QTest::keyClick(r.cmdOK, Qt::Key_Return);

    QVERIFY2(m_messages->isEmpty(), qPrintable(m_messages->texts().join(u'|')));
    QCOMPARE(Enquiries(), 1);
    QCOMPARE(StatusRows(), 1);
    const auto enq = Row(QStringLiteral("SELECT * FROM trnEnquiryRegister"));
    QCOMPARE(enq[u"enqcode"_qs], QStringLiteral("1"));
    QCOMPARE(enq[u"enqdate"_qs], QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    QCOMPARE(enq[u"enqtype"_qs], QStringLiteral("Walk Oin"));
    QCOMPARE(enq[u"enqservice"_qs], QStringLiteral("Hardware"));
    QCOMPARE(enq[u"enqsegment"_qs], QStringLiteral("Retail"));
    QCOMPARE(enq[u"enqexecode"_qs], QStringLiteral("3"));
    QCOMPARE(enq[u"enqcltcode"_qs], QStringLiteral("2"));
    QCOMPARE(enq[u"enqrequirment"_qs], QStringLiteral("Accounting Package"));
    QCOMPARE(enq[u"enqaction"_qs], QStringLiteral("Sent Quotation"));
    QCOMPARE(enq[u"enqfollowdate"_qs], QStringLiteral("15/03/2031"));
    QCOMPARE(enq[u"enqpercentage"_qs], QStringLiteral("60"));
    QCOMPARE(enq[u"enqcomments"_qs], QStringLiteral("call back at ten"));
    QCOMPARE(enq[u"enqamount"_qs], QStringLiteral("25000"));
    const auto st = Row(QStringLiteral("SELECT * FROM trnEnquiryStatus"));
    QCOMPARE(st[u"enqcode"_qs], QStringLiteral("1"));
    QCOMPARE(st[u"enqfolldate"_qs], QStringLiteral("15/03/2031"));
    QCOMPARE(st[u"enqaction"_qs], QStringLiteral("Sent Quotation"));
    QCOMPARE(st[u"enqstatus"_qs], QStringLiteral("Pending"));
    QCOMPARE(st[u"enqkey"_qs], QStringLiteral("F"));
    QCOMPARE(st[u"enqreason"_qs], QStringLiteral("call back at ten"));
    QCOMPARE(st[u"enqpercentage"_qs], QStringLiteral("60"));
    QCOMPARE(st[u"enqamount"_qs], QStringLiteral("25000"));

    // Reset for the next enquiry.
    QVERIFY(r.f->isVisible());
    QCOMPARE(r.txtType->text(), QString());
    QCOMPARE(r.txtClient->text(), QString());
    QCOMPARE(r.txtComments->text(), QString());
    QCOMPARE(r.mskFDate->text(), QStringLiteral("__/__/____"));
    QCOMPARE(r.cboService->listIndex(), 0);
    QCOMPARE(r.cboSegment->listIndex(), 0);
    QCOMPARE(r.cboExecutive->listIndex(), 0);
    QCOMPARE(r.txtCode->text(), QStringLiteral("2"));
    QVERIFY(r.lstClient->isHidden());
    QVERIFY(r.lstType->isHidden());
    QCOMPARE(r.focus(), r.txtType);
}

void TestEnquiryRegister::checksInOrder_data()
{
    // clang-format off
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("type") << 1 << "Please insert Type" << "txtType";
    QTest::newRow("service") << 2 << "Please Select a Service" << "cboService";
    QTest::newRow("segment") << 3 << "Please Select a Segment" << "cboSegment";
    QTest::newRow("sales person") << 4 << "Please Select an Executive" << "cboExecutive";
    QTest::newRow("date") << 5 << "Please Enter a valid Date" << "mskFDate";
    QTest::newRow("client") << 6 << "Please Select a Client" << "txtClient";
    // clang-format on
}

// Every check from the failing one on fails too: only the first is shown.
void TestEnquiryRegister::checksInOrder()
{
    QFETCH(int, failing);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Register r;
    if (failing > 1)
        QTest::keyClicks(r.txtType, QStringLiteral(" "));
    if (failing <= 2)
        r.cboService->setListIndex(-1);
    if (failing <= 3)
        r.cboSegment->setListIndex(-1);
    if (failing <= 4)
        r.cboExecutive->setListIndex(-1);
    if (failing > 5)
        r.typeDate(QStringLiteral("01012030"));
    r.txtComments->setFocus();
    r.ok();
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->last().kind, MsgBox::Kind::Information);
    QCOMPARE(r.focus()->objectName(), focus);
    QCOMPARE(Enquiries(), 0);
    QCOMPARE(StatusRows(), 0);
}

void TestEnquiryRegister::clientMustBePicked_data()
{
    // clang-format off
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("saved");
    QTest::newRow("name typed, never picked") << "typed" << false;
    QTest::newRow("picked, then another name typed") << "retyped" << false;
    QTest::newRow("picked for the last enquiry") << "previous" << false;
    QTest::newRow("picked, only letter case changed") << "case" << true;
    // clang-format on
}

void TestEnquiryRegister::clientMustBePicked()
{
    QFETCH(QString, how);
    QFETCH(bool, saved);
    Register r;
    const int before = how == QLatin1String("previous") ? 1 : 0;
    if (how == QLatin1String("previous")) {
        r.fillValid();
        r.ok();
        QCOMPARE(Enquiries(), 1);
        QCOMPARE(Tag(r.txtClient), QStringLiteral("2")); // kept over the reset
        QTest::keyClicks(r.txtType, QStringLiteral("Email"));
        r.typeDate(QStringLiteral("01012030"));
    } else {
        QTest::keyClicks(r.txtType, QStringLiteral("Email"));
        r.typeDate(QStringLiteral("01012030"));
        if (how == QLatin1String("typed")) {
            QTest::keyClicks(r.txtClient, QStringLiteral("Apex Traders"));
        } else {
            r.pickClient(QStringLiteral("Blue S"), 1);
            r.txtClient->clear();
            QTest::keyClicks(r.txtClient, how == QLatin1String("retyped")
                                              ? QStringLiteral("Apex Traders")
                                              : QStringLiteral("BLUE STAR "));
        }
    }
    m_messages->clear();
    r.ok();
    if (saved) {
        QVERIFY(m_messages->isEmpty());
        QCOMPARE(Enquiries(), before + 1);
        QCOMPARE(Row(QStringLiteral("SELECT enqCltCode FROM trnEnquiryRegister"))[u"enqcltcode"_qs],
                 QStringLiteral("2"));
    } else {
        QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Please Select a Client")});
        QCOMPARE(r.focus(), r.txtClient);
        QCOMPARE(Enquiries(), before);
        QCOMPARE(r.txtType->text(), QStringLiteral("Email")); // nothing lost
    }
}

void TestEnquiryRegister::followUpDate_data()
{
    // clang-format off
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("nothing typed") << "" << "";
    QTest::newRow("half typed") << "120" << "";
    QTest::newRow("impossible") << "31022007" << "";
    QTest::newRow("month 13") << "01132007" << "";
    QTest::newRow("leap day") << "29022004" << "29/02/2004";
    QTest::newRow("day first") << "05012004" << "05/01/2004";
    QTest::newRow("four-digit year kept") << "01012045" << "01/01/2045";
    QTest::newRow("last century") << "31121999" << "31/12/1999";
    QTest::newRow("far future") << "15062090" << "15/06/2090";
    QTest::newRow("far past") << "15061950" << "15/06/1950";
    // clang-format on
}

void TestEnquiryRegister::followUpDate()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Register r;
    QTest::keyClicks(r.txtType, QStringLiteral("Email"));
    r.pickClient(QStringLiteral("Apex"), 1);
    r.typeDate(typed);
    r.ok();
    if (stored.isEmpty()) {
        QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Please Enter a valid Date")});
        QCOMPARE(r.focus(), r.mskFDate);
        QCOMPARE(Enquiries(), 0);
    } else {
        QVERIFY(m_messages->isEmpty());
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT enqFollowdate FROM trnEnquiryRegister")),
                 stored);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT enqFollDate FROM trnEnquiryStatus")), stored);
        QCOMPARE(m_db->count(
                     QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister WHERE "
                                    "enqFollowdate=") +
                     EnquiryDateLiteral(QDate::fromString(stored, QStringLiteral("dd/MM/yyyy")))),
                 1);
    }
}

void TestEnquiryRegister::numbers_data()
{
    // clang-format off
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("storedAmount");
    QTest::addColumn<QString>("storedPercent");
    QTest::newRow("empty fields") << "" << "" << "0" << "0";
    QTest::newRow("fraction and minus") << "1.5" << "-3" << "1.5" << "-3";
    QTest::newRow("letters and comma dropped") << "1,500 kg" << "5%" << "1500" << "5";
    QTest::newRow("second point ends the number") << "1.2.3" << "9.9" << "1.2" << "9.9";
    // clang-format on
}

void TestEnquiryRegister::numbers()
{
    QFETCH(QString, amount);
    QFETCH(QString, percent);
    QFETCH(QString, storedAmount);
    QFETCH(QString, storedPercent);
    Register r;
    r.fillValid();
    QTest::keyClicks(r.txtAmount, amount);
    QTest::keyClicks(r.txtPercent, percent);
    r.ok();
    QVERIFY(m_messages->isEmpty());
    const auto enq = Row(QStringLiteral("SELECT enqAmount,enqPercentage FROM trnEnquiryRegister"));
    QCOMPARE(enq[u"enqamount"_qs], storedAmount);
    QCOMPARE(enq[u"enqpercentage"_qs], storedPercent);
    const auto st = Row(QStringLiteral("SELECT enqAmount,enqPercentage FROM trnEnquiryStatus"));
    QCOMPARE(st[u"enqamount"_qs], storedAmount);
    QCOMPARE(st[u"enqpercentage"_qs], storedPercent);
}

void TestEnquiryRegister::pastedApostrophesAreStored()
{
    Register r;
    r.txtType->setText(QStringLiteral("Dealer's call"));
    r.pickClient(QStringLiteral("O"), 1); // O'Brien & Sons, with its apostrophe
    QCOMPARE(r.txtClient->text(), QStringLiteral("O'Brien & Sons"));
    r.txtRequirment->setText(QStringLiteral("Rock 'n' roll'); DROP TABLE mstClient; --"));
    r.txtAction->setText(QStringLiteral("'"));
    r.txtComments->setText(QStringLiteral("it's ''quoted''"));
    r.typeDate(QStringLiteral("01012030"));
    r.ok();
    QVERIFY2(m_messages->isEmpty(), qPrintable(m_messages->texts().join(u'|')));
    const auto enq = Row(QStringLiteral("SELECT * FROM trnEnquiryRegister"));
    QCOMPARE(enq[u"enqtype"_qs], QStringLiteral("Dealer's call"));
    QCOMPARE(enq[u"enqcltcode"_qs], QStringLiteral("3"));
    QCOMPARE(enq[u"enqrequirment"_qs], QStringLiteral("Rock 'n' roll'); DROP TABLE mstClient; --"));
    QCOMPARE(enq[u"enqaction"_qs], QStringLiteral("'"));
    QCOMPARE(enq[u"enqcomments"_qs], QStringLiteral("it's ''quoted''"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT enqReason FROM trnEnquiryStatus")),
             QStringLiteral("it's ''quoted''"));
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 4);
}

void TestEnquiryRegister::salesPersonsByRole_data()
{
    // clang-format off
    QTest::addColumn<QString>("role");
    QTest::addColumn<int>("exeCode");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("administrator sees every sales person") << "A" << 1 << QStringList{"Anita", "Binu", "Chitra"};
    QTest::newRow("a sales person sees only themself") << "U" << 3 << QStringList{"Binu"};
    QTest::newRow("an unknown user sees nobody") << "U" << 99 << QStringList{};
    // clang-format on
}

void TestEnquiryRegister::salesPersonsByRole()
{
    QFETCH(QString, role);
    QFETCH(int, exeCode);
    QFETCH(QStringList, names);
    modAdmin::CurrentRole = role;
    modAdmin::CurrentExeCode = qint16(exeCode);
    Register r;
    QStringList shown;
    for (int i = 0; i < r.cboExecutive->listCount(); ++i)
        shown << r.cboExecutive->list(i);
    QCOMPARE(shown, names);
    QCOMPARE(r.cboExecutive->listIndex(), names.isEmpty() ? -1 : 0);
    if (!names.isEmpty()) {
        r.fillValid();
        r.ok();
        QVERIFY(m_messages->isEmpty());
        const QString code =
            role == QLatin1String("A") ? QStringLiteral("4") : QString::number(exeCode);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT enqExeCode FROM trnEnquiryRegister")), code);
    } else {
        r.fillValid();
        r.ok();
        QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Please Select an Executive")});
    }
}

void TestEnquiryRegister::failingStatusInsertKeepsEverything()
{
    m_db->db().executeNative(
        QStringLiteral("CREATE TRIGGER refuseStatus BEFORE INSERT ON trnEnquiryStatus "
                       "BEGIN SELECT RAISE(ABORT, 'status records are refused'); END"));
    Register r;
    r.fillValid();
    QTest::keyClicks(r.txtAmount, QStringLiteral("700"));
    QTest::keyClicks(r.txtComments, QStringLiteral("keep me"));
    r.ok();
    QCOMPARE(m_messages->count(), 1);
    QVERIFY2(m_messages->last().text.contains(u"status records are refused"_qs),
             qPrintable(m_messages->last().text));
    QCOMPARE(Enquiries(), 0);
    QCOMPARE(StatusRows(), 0);
    QVERIFY(!modAdmin::DbConnection.inTransaction());
    QCOMPARE(r.txtType->text(), QStringLiteral("Telephone"));
    QCOMPARE(r.txtClient->text(), QStringLiteral("Blue Star"));
    QCOMPARE(r.mskFDate->text(), QStringLiteral("15/03/2031"));
    QCOMPARE(r.txtAmount->text(), QStringLiteral("700"));
    QCOMPARE(r.txtComments->text(), QStringLiteral("keep me"));

    // Once the database takes it again, the same entry is saved.
    m_db->db().executeNative(QStringLiteral("DROP TRIGGER refuseStatus"));
    m_messages->clear();
    r.ok();
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(Enquiries(), 1);
    QCOMPARE(StatusRows(), 1);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT enqCode FROM trnEnquiryStatus")),
             QStringLiteral("1"));
}

void TestEnquiryRegister::typePickList()
{
    m_db->exec(QStringLiteral("INSERT INTO trnEnquiryRegister (enqCode,enqType) VALUES "
                              "(1,'Email'),(2,'Telephone'),(3,'Tender'),(4,'Exhibition')"));
    Register r;
    auto entries = [&] {
        QStringList e;
        for (int i = 0; i < r.lstType->listCount(); ++i)
            e << r.lstType->list(i);
        return e;
    };
    // The types come sorted from the database: Email, Exhibition, Telephone,
    // Tender. Shown are the first that begins with the text and every later one.
    QTest::keyClicks(r.txtType, QStringLiteral("ex"));
    QVERIFY(r.lstType->isShown());
    QCOMPARE(entries(), (QStringList{"Exhibition", "Telephone", "Tender"}));
    QTest::keyClicks(r.txtType, QStringLiteral("z"));
    QVERIFY(r.lstType->isHidden());
    QTest::keyClick(r.txtType, Qt::Key_Backspace);
    QVERIFY(r.lstType->isShown());
    QTest::keyClick(r.txtType, Qt::Key_Backspace);
    QTest::keyClick(r.txtType, Qt::Key_Backspace);
    QVERIFY(r.lstType->isHidden());
    QTest::keyClick(r.txtType, Qt::Key_Down); // hidden list: nothing
    QCOMPARE(r.focus(), r.txtType);
    QTest::keyClicks(r.txtType, QStringLiteral("TE"));
    QCOMPARE(entries(), (QStringList{"Telephone", "Tender"}));
    QTest::keyClick(r.txtType, Qt::Key_Down);
    QCOMPARE(r.focus(), r.lstType);
    QCOMPARE(r.lstType->listIndex(), 0);
    QTest::keyClick(r.lstType, Qt::Key_Down);
    QTest::keyClick(r.lstType, Qt::Key_Return);
    QCOMPARE(r.txtType->text(), QStringLiteral("Tender"));
    QVERIFY(r.lstType->isHidden());
    QCOMPARE(r.focus(), r.cboService);
}

void TestEnquiryRegister::clientPickList()
{
    Register r;
    auto entries = [&] {
        QStringList e;
        for (int i = 0; i < r.lstClient->listCount(); ++i)
            e << r.lstClient->list(i);
        return e;
    };
    QTest::keyClicks(r.txtClient, QStringLiteral("zz"));
    QVERIFY(r.lstClient->isShown());
    QCOMPARE(entries(), QStringList{"<New>"});
    QTest::keyClick(r.txtClient, Qt::Key_Backspace);
    QTest::keyClick(r.txtClient, Qt::Key_Backspace);
    QCOMPARE(entries(), QStringList{"<New>"});
    QTest::keyClicks(r.txtClient, QStringLiteral("b"));
    QCOMPARE(entries(), (QStringList{"<New>", "Blue Star", "Bluebell Stores", "O'Brien & Sons"}));
    // A double-click without a selection picks nothing.
    r.lstClient->setListIndex(-1);
    emit r.lstClient->dblClick();
    QCOMPARE(Tag(r.txtClient), QString());
    r.lstClient->setListIndex(2);
    emit r.lstClient->dblClick();
    QCOMPARE(r.txtClient->text(), QStringLiteral("Bluebell Stores"));
    QCOMPARE(Tag(r.txtClient), QStringLiteral("4"));
    QVERIFY(r.lstClient->isHidden());
    QVERIFY(m_windows->shown().size() == 1);
}

void TestEnquiryRegister::newClientThroughRegister()
{
    Register r;
    QTest::keyClicks(r.txtType, QStringLiteral("Email"));
    r.pickClient(QStringLiteral("Zeta"), 0); // "<New>"
    QVERIFY(modAdmin::FromEnquiryRegister);
    QCOMPARE(modAdmin::EnquiryClientList.data(), r.lstClient);
    auto* client = m_windows->last<frmClient>();
    QVERIFY(client);
    QCOMPARE(client->windowTitle(), QStringLiteral("Create Client"));
    auto* txtName = client->findChild<QLineEdit*>(QStringLiteral("txtName"));
    QTest::keyClicks(txtName, QStringLiteral("zeta TRADERS"));
    QTest::keyClick(txtName, Qt::Key_Return);
    auto* txtPhone = client->findChild<QLineEdit*>(QStringLiteral("txtPhone"));
    QTest::keyClicks(txtPhone, QStringLiteral("0471 55512"));
    QTest::mouseClick(client->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY2(m_messages->isEmpty(), qPrintable(m_messages->texts().join(u'|')));

    QTRY_VERIFY(!m_windows->last()); // closed and deleted
    QVERIFY(!modAdmin::FromEnquiryRegister);
    QVERIFY(!modAdmin::EnquiryClientList);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltName FROM mstClient WHERE cltCode=5")),
             QStringLiteral("Zeta Traders"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltPhone FROM mstClient WHERE cltCode=5")),
             QStringLiteral("47155512"));
    QCOMPARE(r.txtClient->text(), QStringLiteral("Zeta Traders"));
    QCOMPARE(Tag(r.txtClient), QStringLiteral("5"));
    QCOMPARE(Tag(r.lblClient), QString()); // the marker swallowed the hand-back's change
    int inList = -1;
    for (int i = 0; i < r.lstClient->listCount(); ++i)
        if (r.lstClient->list(i) == QLatin1String("Zeta Traders"))
            inList = i;
    QVERIFY(inList > 0);
    QCOMPARE(r.lstClient->itemData(inList), 5);
    QCOMPARE(r.focus(), r.txtRequirment);

    r.typeDate(QStringLiteral("02022030"));
    r.ok();
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT enqCltCode FROM trnEnquiryRegister")),
             QStringLiteral("5"));
}

// A name that sorts above "<New>" goes above it in the sorted list; picking
// it still picks the client, and "<New>" still creates one.
void TestEnquiryRegister::newClientSortedAboveNewEntry()
{
    Register r;
    r.pickClient(QStringLiteral("3"), 0);
    auto* client = m_windows->last<frmClient>();
    QVERIFY(client);
    client->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("3M India"));
    client->findChild<QLineEdit*>(QStringLiteral("txtMobile"))->setText(QStringLiteral("98470"));
    QTest::mouseClick(client->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(r.lstClient->list(0), QStringLiteral("3M India"));
    QCOMPARE(r.lstClient->list(1), QStringLiteral("<New>"));
    SetTag(r.txtClient, QString());
    r.lstClient->show();
    r.lstClient->setListIndex(0);
    emit r.lstClient->dblClick();
    QCOMPARE(Tag(r.txtClient), QStringLiteral("5"));
    QCOMPARE(m_windows->shown().size(), 2); // no second client window
}

void TestEnquiryRegister::clientWindowClosedWithoutSaving()
{
    Register r;
    r.pickClient(QStringLiteral("Apex"), 0); // "<New>"
    auto* client = m_windows->last<frmClient>();
    QVERIFY(client);
    client->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Gone"));
    QTest::mouseClick(client->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
    QTRY_VERIFY(!m_windows->last());
    QCOMPARE(m_db->count(QStringLiteral("SELECT COUNT(*) FROM mstClient")), 4);
    QVERIFY(!modAdmin::FromEnquiryRegister);
    QVERIFY(!modAdmin::EnquiryClientList);
    QCOMPARE(r.txtClient->text(), QStringLiteral("Apex"));
    // The marker set for the hand-back skips one refresh, then they resume.
    r.lstClient->hide();
    QTest::keyClick(r.txtClient, Qt::Key_Backspace);
    QVERIFY(r.lstClient->isHidden());
    QTest::keyClick(r.txtClient, Qt::Key_Backspace);
    QVERIFY(r.lstClient->isShown());
    QCOMPARE(r.lstClient->list(1), QStringLiteral("Apex Traders"));
}

// A client window opened for change while the hand-over slots still hold a
// register's request (as a stale flag would) hands nothing to the register.
void TestEnquiryRegister::staleRequestGivesNoHandBack()
{
    Register r;
    modAdmin::FromEnquiryRegister = true;
    modAdmin::EnquiryClientList = r.lstClient;
    auto* client = new frmClient(r.f);
    client->strCltFormMode = QStringLiteral("MODIFY");
    client->ShowClient(1);
    ShowModal(client);
    client->findChild<QLineEdit*>(QStringLiteral("txtCity"))->setText(QStringLiteral("Kochi"));
    QTest::mouseClick(client->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(m_messages->isEmpty());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT cltCity FROM mstClient WHERE cltCode=1")),
             QStringLiteral("Kochi"));
    QCOMPARE(r.txtClient->text(), QString());
    QCOMPARE(Tag(r.txtClient), QString());
    QCOMPARE(r.lstClient->listCount(), 0);
}

// The save the window uses, called without widgets: codes follow on, both
// rows or neither.
void TestEnquiryRegister::saveWithoutWidgets()
{
    EnquiryInput in;
    in.enquiryDate = QDate(2030, 12, 31);
    in.followDate = QDate(2031, 1, 2);
    in.type = QStringLiteral(" Fax ");
    in.service = QStringLiteral("Software");
    in.segment = QStringLiteral("Retail");
    in.exeCode = 2;
    in.cltCode = 40000;
    in.amount = QStringLiteral("12 kg");
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(SaveEnquiryRecord(in), i);
    QCOMPARE(Enquiries(), 3);
    QCOMPARE(StatusRows(), 3);
    const auto enq = Row(QStringLiteral("SELECT * FROM trnEnquiryRegister WHERE enqCode=3"));
    QCOMPARE(enq[u"enqdate"_qs], QStringLiteral("31/12/2030"));
    QCOMPARE(enq[u"enqfollowdate"_qs], QStringLiteral("02/01/2031"));
    QCOMPARE(enq[u"enqtype"_qs], QStringLiteral("Fax"));
    QCOMPARE(enq[u"enqcltcode"_qs], QStringLiteral("40000"));
    QCOMPARE(enq[u"enqamount"_qs], QStringLiteral("12"));
    QCOMPARE(EnquiryDateLiteral(QDate(2031, 1, 2)), QStringLiteral("#02/Jan/2031#"));

    in.followDate = QDate();
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveEnquiryRecord(in));
    in.followDate = QDate(2031, 1, 2);
    in.segment = QString(21, QLatin1Char('x')); // wider than the column
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveEnquiryRecord(in));
    QCOMPARE(Enquiries(), 3);
    QCOMPARE(StatusRows(), 3);
    QVERIFY(!modAdmin::DbConnection.inTransaction());
}

QTEST_MAIN(TestEnquiryRegister)
#include "tst_enquiry_register.moc"
