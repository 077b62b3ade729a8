// Hostile text pasted (the key filters do not see a paste) into every text
// field of the windows, then the window's action: the statement runs or the
// window refuses with a clear message; what is saved reads back exactly as
// stored, within the field's length limit, which holds for a paste too; no
// table changes but the one the window writes. Then the stored texts travel
// on: into the printout's scratch table and the follow-up window.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "reliability/FollowUp.h"
#include "screens/enquiry/EnquirySave.h"
#include "screens/enquiry/frmEnquiryRegister.h"
#include "screens/enquiry/frmEnquiryStatus.h"
#include "screens/enquiry/frmViewHistory.h"
#include "screens/masters/ClientSave.h"
#include "screens/masters/frmClient.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "screens/masters/frmServices.h"
#include "screens/session/frmLogin.h"
#include "ui/Grid.h"
#include "ui/ListBox.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>

namespace {

struct Hostile {
    const char* name;
    QString text;
};

QString Repeated(const QString& piece, int length)
{
    QString s;
    while (s.size() < length)
        s += piece;
    return s.left(length);
}

const QList<Hostile>& HostileTexts()
{
    static const QList<Hostile> texts{
        {"apostrophe", QStringLiteral("O'Brien")},
        {"closing quote and statement", QStringLiteral("'); DELETE FROM mstClient; --")},
        {"dialect characters", QStringLiteral("#01/01/04# BETWEEN 9 AND 1 * ? % _ \"x\" [y]")},
        {"10,000 characters", Repeated(QStringLiteral("Long text, "), 10000)},
        {"10,000 digits", QString(10000, QLatin1Char('9'))},
        {"NUL character", QStringLiteral("Nul") + QChar(0) + QStringLiteral("Byte")},
        {"non-ASCII names", QStringLiteral("Åsa Öberg, 김민준, Ñandú")},
        {"outside the BMP", Repeated(QStringLiteral("😀"), 80)},
        {"line break and tab", QStringLiteral("line one\nline two\tend")},
        {"byte order mark", QChar(0xFEFF) + QStringLiteral("Apex")},
    };
    return texts;
}

// Every table's rows as text, to see which tables a window changed.
QMap<QString, QString> Snapshot()
{
    QMap<QString, QString> all;
    for (const QString& table : data::Connection::requiredTables()) {
        QString dump;
        data::Recordset rs(QStringLiteral("SELECT * FROM ") + table, modAdmin::DbConnection);
        for (; !rs.eof(); rs.moveNext()) {
            for (int i = 0; i < rs.fieldCount(); ++i)
                dump += rs.text(i) + QLatin1Char('\x1f');
            dump += QLatin1Char('\n');
        }
        all.insert(table, dump);
    }
    return all;
}

QStringList ChangedTables(const QMap<QString, QString>& before)
{
    QStringList changed;
    const QMap<QString, QString> after = Snapshot();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (after.value(it.key()) != it.value())
            changed << it.key();
    return changed;
}

// A paste: the field's whole text replaced through the clipboard.
void Paste(QLineEdit* field, const QString& text)
{
    if (field->isReadOnly())
        return; // a field that only shows offers no Paste
    field->setFocus();
    field->selectAll();
    QGuiApplication::clipboard()->setText(text);
    field->paste(); // as the field's Paste menu item does
}

// What a text field's text becomes in the database: trimmed, without NUL
// characters and halves of characters.
QString Stored(const QString& fieldText)
{
    QString out;
    const QString t = fieldText.trimmed();
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.unicode() == 0)
            continue;
        if (c.isHighSurrogate() && (i + 1 >= t.size() || !t[i + 1].isLowSurrogate()))
            continue;
        if (c.isLowSurrogate() && (i == 0 || !t[i - 1].isHighSurrogate()))
            continue;
        out += c;
    }
    return out;
}

QString Column(const QString& sql)
{
    data::Recordset rs(sql, modAdmin::DbConnection);
    if (rs.eof())
        return QStringLiteral("<no row>");
    const QVariant v = rs.field(0);
    return v.typeId() == QMetaType::QString ? v.toString() : data::FieldText(v);
}

double NumberColumn(const QString& sql)
{
    data::Recordset rs(sql, modAdmin::DbConnection);
    return rs.eof() ? std::nan("") : rs.field(0).toDouble();
}

void Seed(TestDb& t)
{
    // Durability is not what these tests look at; without waiting for the
    // disk they run several times faster.
    t.db().executeNative(QStringLiteral("PRAGMA synchronous=OFF"));
    t.exec(QStringLiteral("INSERT INTO mstExecutive VALUES (1,'Boss','Head','boss','boss','','A'),"
                          "(2,'Anita','Sales','anita','anita','South','U')"));
    t.exec(QStringLiteral("INSERT INTO mstClient VALUES (1,'Apex','0471 55512','9847012345',"
                          "'MG Road','Kochi')"));
    t.exec(QStringLiteral(
        "INSERT INTO mstService(srNo,Name,Type) VALUES (1,'Software','SR'),(2,'Retail','SG')"));
    t.exec(QStringLiteral("INSERT INTO trnEnquiryRegister VALUES (1,#10/01/2024#,'Telephone',"
                          "'Software','Retail',2,1,'Annual maintenance','Sent quotation',"
                          "#25/01/2024#,40,'first call',150000)"));
    t.exec(QStringLiteral("INSERT INTO trnEnquiryStatus VALUES (1,#25/01/2024#,'Sent quotation',"
                          "'Pending','F','first call',40,150000)"));
    modAdmin::CurrentExeCode = 1;
    modAdmin::CurrentRole = QStringLiteral("A");
}

template <class T> T* Child(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("%s has no control %s", qPrintable(w->objectName()), qPrintable(name));
    return c;
}

void Click(QWidget* w, const char* button)
{
    QTest::mouseClick(Child<QPushButton>(w, QLatin1String(button)), Qt::LeftButton);
}

// What one pasted field is expected to do.
struct Expectation {
    QString message;      // the one message expected, "" for none
    QStringList written;  // tables the action may change
    QString storedSql;    // reads back the saved value ("" when nothing is saved)
    QString storedText;   // ... as text
    bool numeric = false; // ... or as the numeric value of the field's text
    QString numericText;
};

// The numeric value of a field's text, or the overflow refusal.
void ExpectNumber(Expectation& e, const QString& fieldText)
{
    try {
        e.numericText = data::NumericText(fieldText);
        e.numeric = true;
    } catch (const data::DbError& error) {
        e.message = error.description();
        e.written.clear();
        e.storedSql.clear();
    }
}

} // namespace

class TestReliabilityInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void pastedIntoEveryField_data();
    void pastedIntoEveryField();
    void storedTextTravelsIntact_data();
    void storedTextTravelsIntact();

private:
    int m_cases = 0;
};

void TestReliabilityInput::init()
{
    modAdmin::FromEnquiryRegister = false;
}

void TestReliabilityInput::pastedIntoEveryField_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    const QList<QPair<const char*, QStringList>> fields{
        {"frmLogin", {"txtUID", "txtPassword"}},
        {"frmMstMarketingExecutive CREATE",
         {"txtName", "txtPost", "txtUserID", "txtPassword", "txtDivision"}},
        {"frmMstMarketingExecutive MODIFY", {"txtName"}},
        {"frmClient CREATE", {"txtName", "txtPhone", "txtMobile", "txtAddress", "txtCity"}},
        {"frmClient MODIFY", {"txtName", "txtPhone", "txtMobile", "txtAddress", "txtCity"}},
        {"frmServices", {"txtName"}},
        {"frmEnquiryRegister",
         {"txtType", "txtClient", "txtRequirment", "txtAction", "txtAmount", "txtPercent",
          "txtComments"}},
        {"frmViewHistory",
         {"txtReason", "txtPercent", "txtAmount", "txtClient", "txtAddress", "txtPhone",
          "txtMobile", "txtReq", "txtAction"}},
        {"frmEnquiryStatus", {"mskFrom", "mskTo"}},
    };
    for (const auto& [window, names] : fields)
        for (const QString& field : names)
            for (const Hostile& h : HostileTexts())
                QTest::addRow("%s %s, %s", window, qPrintable(field), h.name)
                    << QString::fromLatin1(window) << field << h.text;
}

void TestReliabilityInput::pastedIntoEveryField()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, text);
    TestDb t;
    Seed(t);
    const bool registerClient =
        window == QLatin1String("frmEnquiryRegister") && field == QLatin1String("txtClient");
    if (registerClient) // a client of that name, for the paste to find
        t.exec(QStringLiteral("INSERT INTO mstClient(cltCode,cltName) VALUES (2,") +
               data::Quote(Stored(text.left(30))) + QLatin1Char(')'));
    const QMap<QString, QString> before = Snapshot();

    MsgBox::Recorder messages;
    Modal::Recorder windows;
    QPointer<QDialog> w;
    QLineEdit* pasted = nullptr;
    Expectation e;
    auto paste = [&](const QString& name) {
        pasted = Child<QLineEdit>(w, name);
        const QString shown = pasted->text();
        Paste(pasted, text);
        // The field's limit holds for the paste too; a field that only
        // shows takes no paste.
        QCOMPARE(pasted->text(), pasted->isReadOnly() ? shown : text.left(pasted->maxLength()));
    };

    if (window == QLatin1String("frmLogin")) {
        w = new frmLogin;
        w->show();
        QTest::keyClicks(Child<QLineEdit>(w, QStringLiteral("txtUID")), QStringLiteral("anita"));
        QTest::keyClicks(Child<QLineEdit>(w, QStringLiteral("txtPassword")),
                         QStringLiteral("anita"));
        paste(field);
        Click(w, "cmdOK");
        e.message = QStringLiteral("User Doesnot exist!");
    } else if (window.startsWith(QLatin1String("frmMstMarketingExecutive"))) {
        auto* f = new frmMstMarketingExecutive;
        w = f;
        f->strFormMode = window.section(QLatin1Char(' '), 1);
        f->show();
        if (f->strFormMode == QLatin1String("MODIFY")) {
            // The name pick-list looks the pasted text up; nothing is written.
            paste(field);
            QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
            QCOMPARE(ChangedTables(before), QStringList());
            delete w;
            ++m_cases;
            return;
        }
        const QList<QPair<const char*, const char*>> defaults{
            {"txtName", "Test Person"}, {"txtPost", "Sales"},   {"txtUserID", "tp"},
            {"txtPassword", "pw"},      {"txtCPassword", "pw"}, {"txtDivision", "North"}};
        for (const auto& [name, value] : defaults)
            QTest::keyClicks(Child<QLineEdit>(w, QLatin1String(name)), QLatin1String(value));
        paste(field);
        if (field == QLatin1String("txtPassword"))
            Paste(Child<QLineEdit>(w, QStringLiteral("txtCPassword")), text);
        static const QMap<QString, QString> columns{{"txtName", "exeName"},
                                                    {"txtPost", "exePost"},
                                                    {"txtUserID", "exeUID"},
                                                    {"txtPassword", "exePassword"},
                                                    {"txtDivision", "exeDivision"}};
        e.written = {QStringLiteral("mstExecutive")};
        e.storedSql =
            QStringLiteral("SELECT %1 FROM mstExecutive WHERE exeCode=3").arg(columns.value(field));
        e.storedText = Stored(pasted->text());
        Click(w, "cmdOK");
    } else if (window.startsWith(QLatin1String("frmClient"))) {
        auto* f = new frmClient;
        w = f;
        f->strCltFormMode = window.section(QLatin1Char(' '), 1);
        const bool create = f->strCltFormMode == QLatin1String("CREATE");
        if (!create)
            f->ShowClient(1);
        f->show();
        if (create) {
            const QList<QPair<const char*, const char*>> defaults{{"txtName", "New Client"},
                                                                  {"txtPhone", "12345"},
                                                                  {"txtAddress", "Street"},
                                                                  {"txtCity", "Town"}};
            for (const auto& [name, value] : defaults)
                QTest::keyClicks(Child<QLineEdit>(w, QLatin1String(name)), QLatin1String(value));
        }
        paste(field);
        static const QMap<QString, QString> columns{{"txtName", "cltName"},
                                                    {"txtPhone", "cltPhone"},
                                                    {"txtMobile", "cltMobile"},
                                                    {"txtAddress", "cltAddress"},
                                                    {"txtCity", "cltCity"}};
        e.written = {QStringLiteral("mstClient")};
        e.storedSql = QStringLiteral("SELECT %1 FROM mstClient WHERE cltCode=%2")
                          .arg(columns.value(field))
                          .arg(create ? 2 : 1);
        const bool number =
            field == QLatin1String("txtPhone") || field == QLatin1String("txtMobile");
        if (create && number)
            ExpectNumber(e, pasted->text()); // stored as the text of its numeric value
        else
            e.storedText = Stored(pasted->text());
        if (e.numeric) {
            e.storedText = e.numericText;
            e.numeric = false;
        }
        Click(w, "cmdOK");
    } else if (window == QLatin1String("frmServices")) {
        auto* f = new frmServices;
        w = f;
        f->strServices = QStringLiteral("SERVICE");
        f->show();
        paste(field);
        Click(w, "cmdOK");
        e.written = {QStringLiteral("mstService")};
        e.storedSql = QStringLiteral("SELECT Name FROM mstService WHERE srNo=3");
        e.storedText = Stored(pasted->text());
    } else if (window == QLatin1String("frmEnquiryRegister")) {
        w = new frmEnquiryRegister;
        ShowModal(w);
        QTest::keyClicks(Child<QLineEdit>(w, QStringLiteral("txtType")), QStringLiteral("Visit"));
        auto* txtClient = Child<QLineEdit>(w, QStringLiteral("txtClient"));
        auto* lstClient = Child<ListBox>(w, QStringLiteral("lstClient"));
        txtClient->setFocus();
        QTest::keyClicks(txtClient, QStringLiteral("Ap"));
        QTest::keyClick(txtClient, Qt::Key_Down); // "<New>"
        QTest::keyClick(lstClient, Qt::Key_Down); // Apex
        QTest::keyClick(lstClient, Qt::Key_Return);
        QCOMPARE(Tag(txtClient), QStringLiteral("1"));
        TypeDate(Child<MaskEdBox>(w, QStringLiteral("mskFDate")), QStringLiteral("15032031"));
        paste(field);
        e.written = {QStringLiteral("trnEnquiryRegister"), QStringLiteral("trnEnquiryStatus")};
        if (registerClient) {
            // The pasted name is a client only when the pick-list offers it
            // and it is picked; otherwise the register refuses.
            int found = -1;
            for (int i = 0; lstClient->isShown() && i < lstClient->listCount(); ++i)
                if (lstClient->itemData(i) == 2 &&
                    lstClient->list(i) == txtClient->text().trimmed())
                    found = i;
            if (found >= 0) {
                lstClient->setFocus();
                lstClient->setListIndex(found);
                QTest::keyClick(lstClient, Qt::Key_Return);
                e.storedSql = QStringLiteral("SELECT enqCltCode FROM trnEnquiryRegister WHERE "
                                             "enqCode=2");
                e.storedText = QStringLiteral("2");
            } else {
                e.message = QStringLiteral("Please Select a Client");
                e.written.clear();
            }
        } else {
            static const QMap<QString, QString> columns{
                {"txtType", "enqType"},          {"txtRequirment", "enqRequirment"},
                {"txtAction", "enqAction"},      {"txtAmount", "enqAmount"},
                {"txtPercent", "enqPercentage"}, {"txtComments", "enqComments"}};
            e.storedSql = QStringLiteral("SELECT %1 FROM trnEnquiryRegister WHERE enqCode=2")
                              .arg(columns.value(field));
            if (field == QLatin1String("txtAmount") || field == QLatin1String("txtPercent"))
                ExpectNumber(e, pasted->text());
            else
                e.storedText = Stored(pasted->text());
        }
        Click(w, "cmdOK");
    } else if (window == QLatin1String("frmViewHistory")) {
        // Filled as the status list fills it for enquiry 1.
        auto* f = reliability::ShowFollowUpOfEnquiry1();
        w = f;
        paste(field);
        e.written = {QStringLiteral("trnEnquiryStatus")};
        static const QMap<QString, QString> columns{{"txtReason", "enqReason"},
                                                    {"txtPercent", "enqPercentage"},
                                                    {"txtAmount", "enqAmount"}};
        const QString column = columns.value(field, QStringLiteral("enqReason"));
        e.storedSql =
            QStringLiteral("SELECT %1 FROM trnEnquiryStatus WHERE enqCode=1 AND enqKey='F'")
                .arg(column);
        if (field == QLatin1String("txtPercent") || field == QLatin1String("txtAmount"))
            ExpectNumber(e, pasted->text());
        else if (field == QLatin1String("txtReason"))
            e.storedText = Stored(pasted->text());
        else
            e.storedText = QString(); // the details are shown only, never saved
        Click(w, "cmdOK");
    } else if (window == QLatin1String("frmEnquiryStatus")) {
        auto* f = new frmEnquiryStatus;
        w = f;
        f->show();
        TypeDate(f->mskFrom, QStringLiteral("01012024"));
        TypeDate(f->mskTo, QStringLiteral("31012024"));
        auto* mask = Child<MaskEdBox>(w, field);
        Paste(mask, text);
        Click(w, "cmdShow");
        // The mask takes digits only: the period is refused, empty or listed.
        for (const QString& m : messages.texts())
            QVERIFY2(m == QLatin1String("Enter a valid date!") || m == QLatin1String("No record!"),
                     qPrintable(m));
        QCOMPARE(ChangedTables(before), QStringList());
        delete w;
        ++m_cases;
        return;
    } else {
        QFAIL("unknown window");
    }

    // The message expected, and no other.
    QStringList expectedMessages;
    if (!e.message.isEmpty())
        expectedMessages << e.message;
    QVERIFY2(messages.texts() == expectedMessages,
             qPrintable(messages.texts().join(QLatin1Char('|'))));
    QStringList changed = ChangedTables(before);
    QStringList allowed = e.written;
    for (const QString& table : changed)
        QVERIFY2(allowed.contains(table), qPrintable(table + QStringLiteral(" changed")));
    if (e.storedSql.isEmpty()) {
        QCOMPARE(changed, QStringList());
    } else if (e.numeric) {
        const double stored = NumberColumn(e.storedSql);
        QVERIFY2(std::isfinite(stored), qPrintable(QString::number(stored)));
        QCOMPARE(stored, e.numericText.toDouble());
    } else {
        QCOMPARE(Column(e.storedSql), e.storedText);
    }
    // A refused action leaves the window open with what was pasted.
    if (!e.message.isEmpty() && pasted) {
        QVERIFY(w);
        QCOMPARE(pasted->text(), text.left(pasted->maxLength()));
    }
    delete w;
    ++m_cases;
    if (QTest::currentDataTag() && m_cases % 100 == 0)
        qInfo("%d hostile inputs tried so far", m_cases);
}

void TestReliabilityInput::storedTextTravelsIntact_data()
{
    QTest::addColumn<QString>("text");
    for (const Hostile& h : HostileTexts())
        QTest::newRow(h.name) << h.text;
}

// Texts stored through the windows' save code come back out unchanged: in
// the status list, the printout's scratch table and the follow-up window.
void TestReliabilityInput::storedTextTravelsIntact()
{
    QFETCH(QString, text);
    TestDb t;
    Seed(t);
    QFile::copy(QStringLiteral(KORVANE_BIN_DIR "/rptEnquiryStatus.rpt"),
                t.folder() + QStringLiteral("/rptEnquiryStatus.rpt"));
    auto limit = [&](int n) { return Stored(text.left(n)); };
    const qint32 client =
        InsertClientRecord({text.left(30), QStringLiteral("1"), {}, text.left(30), text.left(30)});
    UpdateClientRecord(client,
                       {text.left(30), text.left(12), text.left(12), text.left(30), text.left(30)});
    EnquiryInput in;
    in.enquiryDate = QDate(2024, 1, 15);
    in.type = text;
    in.service = limit(20);
    in.segment = limit(20);
    in.exeCode = 2;
    in.cltCode = client;
    in.requirement = text.left(75);
    in.action = text.left(75);
    in.followDate = QDate(2024, 1, 20);
    in.percentage = QStringLiteral("50");
    in.amount = QStringLiteral("100");
    in.comments = text.left(100);
    const qint32 code = SaveEnquiryRecord(in);

    MsgBox::Recorder messages;
    Modal::Recorder windows;
    QPointer<frmEnquiryStatus> w = new frmEnquiryStatus;
    w->show();
    TypeDate(w->mskFrom, QStringLiteral("14012024"));
    TypeDate(w->mskTo, QStringLiteral("16012024"));
    Click(w, "cmdPrint");
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(t.count(QStringLiteral("SELECT COUNT(*) FROM rptEnquiryStatus")), 1);
    const QList<QPair<const char*, QString>> printed{
        {"Client", limit(30)}, {"Address", limit(30)},    {"City", limit(30)},
        {"Phone", limit(12)},  {"Requirment", limit(75)}, {"Action", limit(75)},
        {"Service", limit(20)}};
    for (const auto& [column, value] : printed)
        QCOMPARE(
            Column(QStringLiteral("SELECT %1 FROM rptEnquiryStatus").arg(QLatin1String(column))),
            value);

    Click(w, "cmdShow");
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(w->grdStatus->textMatrix(1, 0), QString::number(code));
    // A grid cell shows a tab as a blank (a tab would separate the cells).
    auto cell = [](QString s) { return s.replace(QLatin1Char('\t'), QLatin1Char(' ')); };
    QCOMPARE(w->grdStatus->textMatrix(1, 2), cell(limit(20)));
    QCOMPARE(w->grdStatus->textMatrix(1, 4), cell(limit(30)) + QStringLiteral("[Anita]"));
    w->grdStatus->setRow(1);
    QPointer<frmViewHistory> f = w->grdStatus_DblClick();
    QVERIFY(f);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(f->txtClient->text(), limit(30).left(f->txtClient->maxLength()));
    QCOMPARE(f->txtReq->text(), limit(75));
    QCOMPARE(f->txtAction->text(), limit(75));
    QCOMPARE(f->grdView->textMatrix(1, 2), cell(limit(100)));

    // A follow-up of that enquiry, its reason the same text.
    TypeDate(f->mskFDate2, QStringLiteral("01022024"));
    Paste(f->txtReason, text);
    Click(f, "cmdOK");
    QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(Column(QStringLiteral("SELECT enqReason FROM trnEnquiryStatus WHERE enqKey='F' AND "
                                   "enqCode=%1")
                        .arg(code)),
             Stored(text));
    delete w;
}

QTEST_MAIN(TestReliabilityInput)
#include "tst_reliability_input.moc"
