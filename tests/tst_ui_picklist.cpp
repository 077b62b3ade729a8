// The type-ahead pick-list on a small fixture database: the post list
// (hidden first, stop on empty text) and the client list (sorted, "<New>"
// entry, suppress marker), driven by typing into the real fields.
#include "TestDb.h"
#include "ui/KeyFilters.h"
#include "ui/ListBox.h"
#include "ui/MsgBox.h"
#include "ui/PickList.h"
#include "ui/Tag.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QStringList Entries(const ListBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->listCount(); ++i)
        texts << list->list(i);
    return texts;
}

struct Window {
    QPointer<QDialog> dialog = new QDialog;
    QLineEdit* txtPost = new QLineEdit(dialog);
    ListBox* lstPost = new ListBox(dialog);
    QLineEdit* txtUserID = new QLineEdit(dialog);
    QLineEdit* txtClient = new QLineEdit(dialog);
    ListBox* lstClient = new ListBox(dialog);
    QLabel* lblClient = new QLabel(QStringLiteral("Client"), dialog);
    QLineEdit* txtRequirment = new QLineEdit(dialog);
    PickList* posts = nullptr;
    PickList* clients = nullptr;

    explicit Window(data::Connection& db, const QString& postQuery = QStringLiteral(
                                              "select distinct(exepost) as post from "
                                              "mstexecutive where exeRole<>'A'"))
    {
        auto* layout = new QVBoxLayout(dialog);
        for (QWidget* w : std::initializer_list<QWidget*>{txtPost, lstPost, txtUserID, lblClient,
                                                          txtClient, lstClient, txtRequirment})
            layout->addWidget(w);

        PickList::Config post;
        post.hideFirst = true;
        post.emptyTest = PickList::EmptyTest::AsTyped;
        post.emptyAction = PickList::EmptyAction::Stop;
        post.sourceQuery = postQuery;
        post.matchColumn = post.displayColumn = QStringLiteral("post");
        posts = new PickList(txtPost, lstPost, db, post);
        posts->attachChoice(txtUserID);
        AttachKeyHandling(txtPost, KeyFilter::Apostrophe, txtUserID, true);

        lstClient->setSorted(true);
        PickList::Config client;
        client.emptyTest = PickList::EmptyTest::Trimmed;
        client.emptyAction = PickList::EmptyAction::ShowNewEntryOnly;
        // In code order, so that "rows after the first match" is fixed; the
        // engine may return the windows' query in another order.
        client.sourceQuery =
            QStringLiteral("SELECT cltCode,cltName FROM mstClient ORDER BY cltCode");
        client.matchColumn = client.displayColumn = QStringLiteral("cltName");
        client.dataColumn = QStringLiteral("cltCode");
        client.suppressMarker = lblClient;
        client.newEntryText = QStringLiteral("<New>");
        client.clearAfterMarker = true;
        clients = new PickList(txtClient, lstClient, db, client);
        AttachKeyHandling(txtClient, KeyFilter::Apostrophe, txtRequirment);

        lstPost->hide();
        lstClient->hide();
    }
    ~Window() { delete dialog.data(); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    bool show()
    {
        dialog->show();
        return QTest::qWaitForWindowActive(dialog);
    }
};

void AddPost(TestDb& t, int code, const QString& post, const QString& role = QStringLiteral("U"))
{
    t.exec(QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exePost,exeUID,exePassword,"
                          "exeDivision,exeRole) VALUES (%1,'P%1','%2','u%1','p','D','%3')")
               .arg(code)
               .arg(post, role));
}

void AddClient(TestDb& t, int code, const QString& name)
{
    t.exec(QStringLiteral("INSERT INTO mstClient (cltCode,cltName,cltPhone,cltMobile,cltAddress,"
                          "cltCity) VALUES (%1,'%2','','','','')")
               .arg(code)
               .arg(name));
}

} // namespace

class TestUiPickList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void postList_data();
    void postList();
    void downArrow();
    void choiceWritesTextHidesListAndMovesFocus_data();
    void choiceWritesTextHidesListAndMovesFocus();
    void clientList_data();
    void clientList();
    void clientEntriesFromFirstMatchSortedWithCodes();
    void suppressMarkerSkipsOneRefresh();
    void properCaseOnEnterRefreshesOnlyWhenChanged();
    void pastedApostropheIsHarmless();
    void databaseFailureIsReported();
    void keystrokeOverManyClientsIsFast();

private:
    std::unique_ptr<TestDb> m_db;
};

void TestUiPickList::init()
{
    m_db = std::make_unique<TestDb>(false);
    int code = 1;
    for (const char* post : {"Accountant", "Manager", "Sales Executive", "Technician"})
        AddPost(*m_db, code++, QString::fromLatin1(post));
    AddPost(*m_db, code++, QStringLiteral("Administrator"), QStringLiteral("A"));
    AddClient(*m_db, 1, QStringLiteral("Zenith Traders"));
    AddClient(*m_db, 2, QStringLiteral("Alpha Stores"));
    AddClient(*m_db, 3, QStringLiteral("Mehta Sons"));
    AddClient(*m_db, 4, QStringLiteral("apex tools"));
}

void TestUiPickList::cleanup()
{
    m_db.reset();
}

void TestUiPickList::postList_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QStringList>("entries");
    const QStringList fromS = {"Sales Executive", "Technician"};
    QTest::newRow("s") << "s" << 0 << true << fromS;
    QTest::newRow("S") << "S" << 0 << true << fromS;
    QTest::newRow("sal") << "sal" << 0 << true << fromS;
    QTest::newRow("leading blank")
        << " man" << 0 << true << QStringList({"Manager", "Sales Executive", "Technician"});
    QTest::newRow("x hides") << "x" << 0 << false << QStringList();
    QTest::newRow("s then x hides") << "sx" << 0 << false << QStringList();
    QTest::newRow("cleared hides") << "s" << 1 << false << QStringList();
    QTest::newRow("administrator not offered") << "adm" << 0 << false << QStringList();
}

void TestUiPickList::postList()
{
    QFETCH(QString, typed);
    QFETCH(int, backspaces);
    QFETCH(bool, shown);
    QFETCH(QStringList, entries);
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtPost->setFocus();
    QTest::keyClicks(w.txtPost, typed);
    for (int i = 0; i < backspaces; ++i)
        QTest::keyClick(w.txtPost, Qt::Key_Backspace);
    QCOMPARE(w.lstPost->isVisible(), shown);
    if (shown)
        QCOMPARE(Entries(w.lstPost), entries);
}

void TestUiPickList::downArrow()
{
    Window w(m_db->db());
    QVERIFY(w.show());
    // Hidden list: nothing.
    w.txtPost->setFocus();
    QTest::keyClick(w.txtPost, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.txtPost);
    QCOMPARE(w.lstPost->listIndex(), -1);
    // Visible list: first entry selected, focus in the list.
    QTest::keyClicks(w.txtPost, QStringLiteral("m"));
    QTest::keyClick(w.txtPost, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.lstPost);
    QCOMPARE(w.lstPost->listIndex(), 0);
    QCOMPARE(w.lstPost->list(0), QStringLiteral("Manager"));
    // Client list: the first entry is "<New>".
    w.txtClient->setFocus();
    QTest::keyClicks(w.txtClient, QStringLiteral("a"));
    QTest::keyClick(w.txtClient, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.lstClient);
    QCOMPARE(w.lstClient->list(w.lstClient->listIndex()), QStringLiteral("<New>"));
}

void TestUiPickList::choiceWritesTextHidesListAndMovesFocus_data()
{
    QTest::addColumn<bool>("byDoubleClick");
    QTest::newRow("Enter") << false;
    QTest::newRow("double-click") << true;
}

void TestUiPickList::choiceWritesTextHidesListAndMovesFocus()
{
    QFETCH(bool, byDoubleClick);
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtPost->setFocus();
    QTest::keyClicks(w.txtPost, QStringLiteral("s"));
    QTest::keyClick(w.txtPost, Qt::Key_Down);
    QTest::keyClick(w.lstPost, Qt::Key_Down); // second entry
    QCOMPARE(w.lstPost->listIndex(), 1);
    if (byDoubleClick) {
        const QRect r = w.lstPost->visualRect(w.lstPost->model()->index(1, 0));
        QTest::mouseDClick(w.lstPost->viewport(), Qt::LeftButton, {}, r.center());
    } else {
        QTest::keyClick(w.lstPost, Qt::Key_Return);
    }
    QCOMPARE(w.txtPost->text(), QStringLiteral("Technician"));
    QVERIFY(
        !w.lstPost->isVisible()); // the refresh the new text caused showed it; the choice hides it
    QCOMPARE(QApplication::focusWidget(), w.txtUserID);

    // Without a selected entry a choice does nothing.
    w.txtPost->clear();
    w.txtPost->setFocus();
    QTest::keyClicks(w.txtPost, QStringLiteral("t"));
    w.lstPost->setFocus();
    QTest::keyClick(w.lstPost, Qt::Key_Return);
    QCOMPARE(w.txtPost->text(), QStringLiteral("t"));
    QVERIFY(w.lstPost->isVisible());
}

void TestUiPickList::clientList_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("no match: only <New>") << "q" << QStringList({"<New>"});
    QTest::newRow("blanks: only <New>") << "   " << QStringList({"<New>"});
    QTest::newRow("typed then cleared") << "z\b" << QStringList({"<New>"});
    QTest::newRow("match and the rows after it")
        << "me" << QStringList({"<New>", "apex tools", "Mehta Sons"});
}

void TestUiPickList::clientList()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, entries);
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtClient->setFocus();
    for (const QChar ch : typed) {
        if (ch == u'\b')
            QTest::keyClick(w.txtClient, Qt::Key_Backspace);
        else
            QTest::keyClicks(w.txtClient, QString(ch));
    }
    QVERIFY(w.lstClient->isVisible());
    QCOMPARE(Entries(w.lstClient), entries);
}

void TestUiPickList::clientEntriesFromFirstMatchSortedWithCodes()
{
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtClient->setFocus();
    QTest::keyClicks(w.txtClient, QStringLiteral("A"));
    // Rows from the first match (Alpha Stores, code 2) to the last, matching
    // or not, sorted by the list; "<New>" in front.
    QCOMPARE(Entries(w.lstClient),
             QStringList({"<New>", "Alpha Stores", "apex tools", "Mehta Sons"}));
    QCOMPARE(w.lstClient->itemData(1), 2);
    QCOMPARE(w.lstClient->itemData(2), 4);
    QCOMPARE(w.lstClient->itemData(3), 3);
}

void TestUiPickList::suppressMarkerSkipsOneRefresh()
{
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtClient->setFocus();
    QTest::keyClicks(w.txtClient, QStringLiteral("m"));
    const QStringList before = Entries(w.lstClient);
    SetTag(w.lblClient, QStringLiteral("EXIT"));
    QTest::keyClicks(w.txtClient, QStringLiteral("q")); // skipped: list as it was
    QCOMPARE(Tag(w.lblClient), QString());
    QCOMPARE(Entries(w.lstClient), before);
    QTest::keyClick(w.txtClient, Qt::Key_Backspace); // refreshed again
    QTest::keyClicks(w.txtClient, QStringLiteral("z"));
    QCOMPARE(Entries(w.lstClient), QStringList({"<New>"}));
}

void TestUiPickList::properCaseOnEnterRefreshesOnlyWhenChanged()
{
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtPost->setFocus();
    QTest::keyClicks(w.txtPost, QStringLiteral("tECH"));
    QVERIFY(w.lstPost->isVisible());
    w.lstPost->hide();
    QTest::keyClick(w.txtPost, Qt::Key_Return); // "Tech": a change, so a refresh shows the list
    QCOMPARE(w.txtPost->text(), QStringLiteral("Tech"));
    QVERIFY(w.lstPost->isVisible());
    w.lstPost->hide();
    w.txtPost->setFocus();
    QTest::keyClick(w.txtPost, Qt::Key_Return); // unchanged: no refresh
    QVERIFY(!w.lstPost->isVisible());
}

void TestUiPickList::pastedApostropheIsHarmless()
{
    AddClient(*m_db, 5, QStringLiteral("O''Brien Agencies"));
    MsgBox::Recorder messages;
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtClient->setText(QStringLiteral("o'b")); // as pasted: paste is not filtered
    QVERIFY(messages.isEmpty());
    QCOMPARE(Entries(w.lstClient), QStringList({"<New>", "O'Brien Agencies"}));
}

void TestUiPickList::databaseFailureIsReported()
{
    MsgBox::Recorder messages;
    Window w(m_db->db(), QStringLiteral("SELECT post FROM noSuchTable"));
    QVERIFY(w.show());
    w.txtPost->setFocus();
    QTest::keyClicks(w.txtPost, QStringLiteral("a"));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
    QVERIFY(!messages.last().text.isEmpty());
    QVERIFY(!w.lstPost->isVisible());
}

void TestUiPickList::keystrokeOverManyClientsIsFast()
{
    // 20,000 clients; the first row matches "a", so every row is listed.
    m_db->db().executeNative(QStringLiteral(
        "WITH RECURSIVE n(x) AS (SELECT 10 UNION ALL SELECT x + 1 FROM n WHERE x < 20009) "
        "INSERT INTO mstClient (cltCode,cltName,cltPhone,cltMobile,cltAddress,cltCity) "
        "SELECT x, char(65 + (x * 7) % 26) || 'lient ' || x, '', '', '', '' FROM n"));
    m_db->exec(QStringLiteral("DELETE FROM mstClient WHERE cltCode < 10"));
    m_db->exec(QStringLiteral("UPDATE mstClient SET cltName='Aardvark' WHERE cltCode=10"));
    Window w(m_db->db());
    QVERIFY(w.show());
    w.txtClient->setFocus();

    qint64 worst = 0;
    for (int i = 0; i < 5; ++i) {
        w.txtClient->clear();
        for (int k = 0; k < 2; ++k) { // "a", then "aa" (Aardvark): every row both times
            QElapsedTimer t;
            t.start();
            QTest::keyClicks(w.txtClient, QStringLiteral("a"));
            worst = qMax(worst, t.elapsed());
            QCOMPARE(w.lstClient->listCount(), 20001);
        }
    }
    qInfo("slowest keystroke over 20,000 clients: %lld ms", worst);
    QCOMPARE(w.lstClient->list(0), QStringLiteral("<New>"));
    QVERIFY2(worst < 100, qPrintable(QStringLiteral("%1 ms").arg(worst)));
}

QTEST_MAIN(TestUiPickList)
#include "tst_ui_picklist.moc"
