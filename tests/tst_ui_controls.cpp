// The controls: grid, masked date box, combo box, list box, toolbar, and the
// message, modal and error-report helpers.
#include "data/DbError.h"
#include "ui/ComboBox.h"
#include "ui/Convert.h"
#include "ui/DateCheck.h"
#include "ui/ErrorReport.h"
#include "ui/Grid.h"
#include "ui/ListBox.h"
#include "ui/ListOrder.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"
#include "ui/Toolbar.h"

#include <QDialog>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestUiControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateValidity_data();
    void dateValidity();
    void maskedBoxText();
    void gridCellsOfLines_data();
    void gridCellsOfLines();

    void gridFormatString();
    void gridRowCount();
    void gridHiddenColumnKeepsValuesAndStaysHidden();
    void gridAddItem();
    void gridDoubleClickGivesClickedRow();

    void comboFilledHasNoSelection();
    void comboClickWhenCodeSetsIndex();
    void comboSortedKeepsTextAndDataTogether();

    void listSortedOrder();
    void listBatchMergesIntoSortedList();
    void listBatchSortAgreesWithOneByOne();
    void listEditsAgreeWithPlainList_data();
    void listEditsAgreeWithPlainList();
    void listClickOnlyOnSelectionChange();

    void toolbarButtonsByPositionAndKey();
    void toolbarButtonMenu();

    void messageRecorder();
    void errorReport_data();
    void errorReport();
    void toLong_data();
    void toLong();
    void modalRecorder();
    void tag();
};

void TestUiControls::dateValidity_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("blank mask") << "__/__/____" << false;
    QTest::newRow("half typed") << "12/0_/____" << false;
    QTest::newRow("31 February") << "31/02/2004" << false;
    QTest::newRow("leap day") << "29/02/2004" << true;
    QTest::newRow("no leap day") << "29/02/2003" << false;
    QTest::newRow("century not leap") << "29/02/1900" << false;
    QTest::newRow("day first") << "13/01/2004" << true;
    QTest::newRow("month 13") << "01/13/2004" << false;
    QTest::newRow("day 0") << "00/01/2004" << false;
    QTest::newRow("year typed half") << "01/01/20__" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("year 0001") << "01/01/0001" << false;
    QTest::newRow("end of range") << "31/12/9999" << true;
}

void TestUiControls::dateValidity()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidDate(text), valid);
    if (valid)
        QCOMPARE(MaskedDateText(DateOf(text)), text);
}

void TestUiControls::maskedBoxText()
{
    MaskEdBox box;
    QCOMPARE(box.text(), QStringLiteral("__/__/____"));
    box.show();
    box.setFocus();
    box.setCursorPosition(0);
    QTest::keyClicks(&box, QStringLiteral("12a0"));
    QCOMPARE(box.text(), QStringLiteral("12/0_/____"));
    QVERIFY(!IsValidDate(box.text()));
    box.setText(QStringLiteral("05/06/2004"));
    QCOMPARE(box.text(), QStringLiteral("05/06/2004"));
    QCOMPARE(DateOf(box.text()), QDate(2004, 6, 5));
    box.setText(QStringLiteral("__/__/____"));
    QCOMPARE(box.text(), QStringLiteral("__/__/____"));
    box.setText(QStringLiteral("05/06/2004"));
    static_cast<QLineEdit&>(box).setText(QString()); // cleared as a plain text field
    QCOMPARE(box.text(), QStringLiteral("__/__/____"));
}

void TestUiControls::gridFormatString()
{
    Grid grid;
    grid.setFormatString(QStringLiteral("code|<Follow Date |Action                              "
                                        "                                        |Status|Percent"));
    QCOMPARE(grid.cols(), 5);
    QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("Follow Date "));
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Follow Date"));
    // Widths follow the padded heading lengths, and every heading fits.
    QVERIFY(grid.colWidth(2) > 5 * grid.colWidth(0));
    const QFontMetrics fm = grid.horizontalHeader()->fontMetrics();
    for (int c = 0; c < grid.cols(); ++c)
        QVERIFY(grid.colWidth(c) >= fm.horizontalAdvance(grid.textMatrix(0, c).trimmed()));
    // "<" left-aligns; other columns: text left, numbers right.
    grid.addItem(QStringLiteral("7\t123\tcall back\tPending\t40"));
    auto align = [&](int c) {
        return Qt::Alignment(grid.model()->index(1, c).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(align(1), Qt::AlignLeft);
    QCOMPARE(align(2), Qt::AlignLeft);
    QCOMPARE(align(4), Qt::AlignRight);
}

void TestUiControls::gridRowCount()
{
    Grid grid;
    QCOMPARE(grid.rows(), 2); // a new grid: heading and one empty row
    grid.setFormatString(QStringLiteral("a|b|c"));
    grid.addItem(QStringLiteral("1\t2\t3"));
    grid.addItem(QStringLiteral("4\t5\t6"));
    QCOMPARE(grid.rows(), 4);
    grid.setRows(1);
    QCOMPARE(grid.rows(), 1);
    grid.setRows(2);
    QCOMPARE(grid.rows(), 2);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(grid.textMatrix(1, c), QString());
    QCOMPARE(grid.textMatrix(0, 2), QStringLiteral("c"));
    QCOMPARE(grid.textMatrix(5, 0), QString()); // outside: empty, no crash
}

void TestUiControls::gridHiddenColumnKeepsValuesAndStaysHidden()
{
    Grid grid;
    grid.setFormatString(QStringLiteral("code|Name      |City"));
    grid.setColWidth(0, 0);
    grid.setRows(1);
    grid.addItem(QStringLiteral("42\tAlpha\tPune"));
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.colWidth(0), 0);
    QCOMPARE(grid.textMatrix(1, 0), QStringLiteral("42"));
    const int nameWidth = grid.colWidth(1);
    grid.setCols(5); // more columns leave the hidden one hidden and widths as they were
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.colWidth(1), nameWidth);
    QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("Alpha"));
    grid.setFormatString(QStringLiteral("No|cltcode |Type")); // a new layout shows all columns
    QVERIFY(!grid.isColumnHidden(0));
}

void TestUiControls::gridAddItem()
{
    Grid grid;
    grid.setFormatString(QStringLiteral("a|b|c"));
    grid.setRows(1);
    grid.addItem(QStringLiteral("1\t\t3\textra"));
    grid.addItem(QStringLiteral("only"));
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.textMatrix(1, 0), QStringLiteral("1"));
    QCOMPARE(grid.textMatrix(1, 1), QString());
    QCOMPARE(grid.textMatrix(1, 2), QStringLiteral("3"));
    QCOMPARE(grid.textMatrix(2, 0), QStringLiteral("only"));
    QCOMPARE(grid.textMatrix(2, 2), QString());

    QStringList many;
    for (int i = 0; i < 30000; ++i)
        many << QStringLiteral("%1\tname %1\tx").arg(i);
    QElapsedTimer t;
    t.start();
    grid.addItems(many);
    QCOMPARE(grid.rows(), 30003);
    QCOMPARE(grid.textMatrix(30003 - 1, 1), QStringLiteral("name 29999"));
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
}

void TestUiControls::gridDoubleClickGivesClickedRow()
{
    Grid grid;
    grid.setFormatString(QStringLiteral("code|Name            "));
    grid.setColWidth(0, 0);
    grid.setRows(1);
    for (int i = 1; i <= 5; ++i)
        grid.addItem(QStringLiteral("%1\tClient %1").arg(i * 10));
    grid.resize(300, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int rowSeen = -1;
    QString codeSeen;
    connect(&grid, &Grid::dblClick, this, [&] {
        rowSeen = grid.row();
        codeSeen = grid.textMatrix(grid.row(), 0);
    });
    const QRect cell = grid.visualRect(grid.model()->index(2, 1)); // data row 3
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(rowSeen, 3);
    QCOMPARE(codeSeen, QStringLiteral("30"));
}

void TestUiControls::comboFilledHasNoSelection()
{
    ComboBox cbo;
    QSignalSpy click(&cbo, &ComboBox::click);
    cbo.addItem(QStringLiteral("North"));
    cbo.addItem(QStringLiteral("South"));
    cbo.addItem(QStringLiteral("<ALL>"), 0);
    QCOMPARE(cbo.listIndex(), -1);
    QCOMPARE(cbo.listCount(), 3);
    QCOMPARE(cbo.list(0), QStringLiteral("<ALL>"));
    QCOMPARE(click.count(), 0);
    cbo.setListIndex(2);
    cbo.removeItem(2);
    QCOMPARE(cbo.listIndex(), -1);
    cbo.clear();
    QCOMPARE(cbo.listCount(), 0);
    QCOMPARE(cbo.listIndex(), -1);
}

void TestUiControls::comboClickWhenCodeSetsIndex()
{
    ComboBox cbo;
    cbo.addItem(QStringLiteral("A"));
    cbo.addItem(QStringLiteral("B"));
    QSignalSpy click(&cbo, &ComboBox::click);
    cbo.setListIndex(1);
    QCOMPARE(click.count(), 1);
    QCOMPARE(cbo.listIndex(), 1);
    cbo.setListIndex(0);
    QCOMPARE(click.count(), 2);
    cbo.addItem(QStringLiteral("first"), 0); // the selected item moves: no click
    QCOMPARE(cbo.listIndex(), 1);
    QCOMPARE(click.count(), 2);
    // The user choosing with the keyboard is a click too.
    cbo.show();
    cbo.setFocus();
    QTest::keyClick(&cbo, Qt::Key_Down);
    QCOMPARE(cbo.listIndex(), 2);
    QCOMPARE(click.count(), 3);
}

void TestUiControls::comboSortedKeepsTextAndDataTogether()
{
    ComboBox cbo;
    cbo.setSorted(true);
    const QList<QPair<QString, qint32>> rows = {
        {QStringLiteral("Ravi"), 3}, {QStringLiteral("anil"), 7}, {QStringLiteral("Meena"), 1}};
    for (const auto& [name, code] : rows) {
        cbo.addItem(name);
        cbo.setItemData(cbo.newIndex(), code);
    }
    QCOMPARE(cbo.list(0), QStringLiteral("anil"));
    QCOMPARE(cbo.itemData(0), 7);
    QCOMPARE(cbo.list(1), QStringLiteral("Meena"));
    QCOMPARE(cbo.itemData(1), 1);
    QCOMPARE(cbo.list(2), QStringLiteral("Ravi"));
    QCOMPARE(cbo.itemData(2), 3);
}

void TestUiControls::listSortedOrder()
{
    ListBox list;
    list.setSorted(true);
    QStringList order;
    for (const char* t : {"banana", "Cherry", "apple", "Apple pie", "BANANA split"}) {
        list.addItem(QString::fromLatin1(t));
        order << QString::number(list.newIndex());
    }
    QCOMPARE(order, QStringList({"0", "1", "0", "1", "3"}));
    QStringList texts;
    for (int i = 0; i < list.listCount(); ++i)
        texts << list.list(i);
    QCOMPARE(texts, QStringList({"apple", "Apple pie", "banana", "BANANA split", "Cherry"}));
    list.addItem(QStringLiteral("<New>"), 0); // a position given: it goes there
    QCOMPARE(list.list(0), QStringLiteral("<New>"));
    QCOMPARE(list.newIndex(), 0);
}

void TestUiControls::listBatchMergesIntoSortedList()
{
    ListBox list;
    list.setSorted(true);
    list.addItem(QStringLiteral("Mango"));
    list.setItemData(list.newIndex(), 5);
    list.setListIndex(0);
    list.addItems(
        {{QStringLiteral("zeta"), 1}, {QStringLiteral("Alpha"), 2}, {QStringLiteral("mu"), 3}});
    QStringList texts;
    for (int i = 0; i < list.listCount(); ++i)
        texts << QStringLiteral("%1=%2").arg(list.list(i)).arg(list.itemData(i));
    QCOMPARE(texts, QStringList({"Alpha=2", "Mango=5", "mu=3", "zeta=1"}));
    QCOMPARE(list.newIndex(), 2);  // the last given entry, "mu"
    QCOMPARE(list.listIndex(), 1); // "Mango" stays selected

    // Unsorted: at the end, in the given order.
    ListBox plain;
    plain.addItems(QStringList({"b", "a"}));
    plain.addItems(QStringList({"d", "c"}));
    QCOMPARE(plain.list(2), QStringLiteral("d"));
    QCOMPARE(plain.newIndex(), 3);
}

void TestUiControls::listBatchSortAgreesWithOneByOne()
{
    // Long shared prefixes, case, blanks, punctuation, non-ASCII, duplicates.
    QStringList texts;
    const QStringList stems = {"Sri Lakshmi Traders ",
                               "sri lakshmi traders",
                               "SRI LAKSHMI",
                               "Élan ",
                               "élan",
                               "Zeta",
                               "",
                               "a",
                               "A",
                               "a b",
                               "a-b",
                               "_x",
                               "[x"};
    for (int i = 0; i < 400; ++i)
        texts << stems.at(i % stems.size()) + QString::number((i * 37) % 101);
    texts << stems;
    ListBox batch;
    batch.setSorted(true);
    std::vector<ListEntry> entries;
    for (int i = 0; i < texts.size(); ++i)
        entries.push_back({texts.at(i), i});
    batch.addItems(std::move(entries));
    ListBox single;
    single.setSorted(true);
    for (int i = 0; i < texts.size(); ++i) {
        single.addItem(texts.at(i));
        single.setItemData(single.newIndex(), i);
    }
    QCOMPARE(batch.listCount(), single.listCount());
    for (int i = 0; i < batch.listCount(); ++i) {
        QCOMPARE(batch.list(i), single.list(i));
        QCOMPARE(batch.itemData(i), single.itemData(i));
    }
}

// A list box keeps all its texts in one buffer: entries added at places,
// removed, and added in batches must read back as a plain list of the same
// edits holds them, texts and item data.
void TestUiControls::listEditsAgreeWithPlainList_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<uint>("seed");
    for (const uint seed : {1u, 2u, 3u}) {
        QTest::addRow("unsorted, seed %u", seed) << false << seed;
        QTest::addRow("sorted, seed %u", seed) << true << seed;
    }
}

void TestUiControls::listEditsAgreeWithPlainList()
{
    QFETCH(bool, sorted);
    QFETCH(uint, seed);
    QRandomGenerator rng(seed);
    const QStringList words = {"Pune", "goa", "Élan", "", "a b", "Zeta", "mu", "Ωmega", "pune"};
    ListBox list;
    list.setSorted(sorted);
    std::vector<std::pair<QString, qint32>> plain; // the same edits on a plain list
    auto sortedPlace = [&](const QString& t) {
        size_t at = 0;
        while (at < plain.size() && CompareListText(plain[at].first, t) <= 0)
            ++at;
        return at;
    };
    qint32 next = 1;
    for (int step = 0; step < 300; ++step) {
        const QString text =
            words.at(rng.bounded(int(words.size()))) + QString::number(rng.bounded(5));
        // A sorted list only takes entries at their sorted place, so that it
        // stays in order.
        switch (rng.bounded(sorted ? 1 : 0, 4)) {
        case 0: { // one entry at a place
            const int at = rng.bounded(int(plain.size()) + 1);
            list.addItem(text, at);
            list.setItemData(at, next);
            plain.insert(plain.begin() + at, {text, next++});
            break;
        }
        case 1: { // one entry at its sorted place, or at the end
            list.addItem(text);
            list.setItemData(list.newIndex(), next);
            const size_t at = sorted ? sortedPlace(text) : plain.size();
            plain.insert(plain.begin() + qsizetype(at), {text, next++});
            break;
        }
        case 2: // removed
            if (!plain.empty()) {
                const int at = rng.bounded(int(plain.size()));
                list.removeItem(at);
                plain.erase(plain.begin() + at);
            }
            break;
        default: { // a batch
            std::vector<ListEntry> batch;
            for (int k = rng.bounded(6); k >= 0; --k)
                batch.push_back({words.at(rng.bounded(int(words.size()))), next++});
            for (const ListEntry& e : batch)
                plain.insert(plain.begin() + qsizetype(sorted ? sortedPlace(e.text) : plain.size()),
                             {e.text, e.data});
            list.addItems(batch);
            break;
        }
        }
        if (rng.bounded(40) == 0) {
            plain.clear();
            if (rng.bounded(2) == 0) {
                list.clear();
            } else {
                // Emptied, then refilled through the entries it handed over.
                ListEntries refill = list.takeEntries();
                QVERIFY(refill.empty());
                QCOMPARE(list.listCount(), 0);
                for (const QString& w : {QStringLiteral("mu"), QStringLiteral("Goa")}) {
                    refill.add(w, next);
                    plain.insert(plain.begin() + qsizetype(sorted ? sortedPlace(w) : plain.size()),
                                 {w, next++});
                }
                list.addItems(std::move(refill));
            }
        }
        QCOMPARE(list.listCount(), int(plain.size()));
    }
    for (int i = 0; i < list.listCount(); ++i) {
        QCOMPARE(list.list(i), plain[size_t(i)].first);
        QCOMPARE(list.itemData(i), plain[size_t(i)].second);
        QCOMPARE(list.model()->index(i, 0).data().toString(), plain[size_t(i)].first);
    }
}

void TestUiControls::listClickOnlyOnSelectionChange()
{
    ListBox list;
    QSignalSpy click(&list, &ListBox::click);
    list.addItems(QStringList({"a", "b", "c"}));
    QCOMPARE(click.count(), 0);
    QCOMPARE(list.listIndex(), -1);
    list.setListIndex(1);
    QCOMPARE(click.count(), 1);
    list.addItem(QStringLiteral("first"), 0);
    QCOMPARE(list.listIndex(), 2);
    QCOMPARE(click.count(), 1);
    list.clear();
    QCOMPARE(list.listIndex(), -1);
    QCOMPARE(click.count(), 1);
}

namespace {

Toolbar* MainToolbar(QWidget* parent)
{
    auto* bar = new Toolbar(parent);
    const QStringList keys = {"EXECUTIVE", "CHANGE LOGIN", "ENQUIRY", "GRAPH", "EXIT"};
    for (const QString& key : keys) {
        const auto style =
            key == "GRAPH" ? ToolbarButton::Style::DropDown : ToolbarButton::Style::Plain;
        ToolbarButton* b = bar->addButton(key, key.toLower(), {}, {}, style);
        if (key == "GRAPH") {
            b->addMenuEntry(QStringLiteral("Sales Person Wise"), QStringLiteral("EXE WISE"));
            b->addMenuEntry(QStringLiteral("Target"), QStringLiteral("TARGET"));
        }
    }
    return bar;
}

} // namespace

void TestUiControls::toolbarButtonsByPositionAndKey()
{
    QWidget window;
    Toolbar* bar = MainToolbar(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->buttonCount(), 5);
    QCOMPARE(bar->button(1)->key(), QStringLiteral("EXECUTIVE"));
    QCOMPARE(bar->button(5)->key(), QStringLiteral("EXIT"));
    QVERIFY(!bar->button(0));
    QVERIFY(!bar->button(6));

    QSignalSpy clicks(bar, &Toolbar::buttonClick);
    bar->button(1)->setVisible(false);
    QVERIFY(!bar->button(1)->isVisible());
    auto* widget = window.findChild<QToolButton*>(QStringLiteral("EXECUTIVE"));
    QVERIFY(widget);
    QTRY_VERIFY(!widget->isVisible()); // the toolbar hides it on its next layout
    QVERIFY(!bar->clickButton(QStringLiteral("EXECUTIVE")));
    QCOMPARE(clicks.count(), 0);
    // Positions do not shift when a button is hidden.
    QCOMPARE(bar->button(2)->key(), QStringLiteral("CHANGE LOGIN"));

    bar->button(1)->setVisible(true);
    QTRY_VERIFY(widget->isVisible());
    QVERIFY(bar->clickButton(QStringLiteral("EXECUTIVE")));
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("EXIT")), Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toString(), QStringLiteral("EXECUTIVE"));
    QCOMPARE(clicks.at(1).at(0).toString(), QStringLiteral("EXIT"));
}

void TestUiControls::toolbarButtonMenu()
{
    QWidget window;
    Toolbar* bar = MainToolbar(&window);
    QSignalSpy menus(bar, &Toolbar::buttonMenuClick);
    QCOMPARE(bar->buttonByKey(QStringLiteral("GRAPH"))->menuKeys(),
             QStringList({"EXE WISE", "TARGET"}));
    QVERIFY(bar->clickButtonMenu(QStringLiteral("GRAPH"), QStringLiteral("TARGET")));
    QVERIFY(!bar->clickButtonMenu(QStringLiteral("GRAPH"), QStringLiteral("NONE")));
    QCOMPARE(menus.count(), 1);
    QCOMPARE(menus.at(0).at(0).toString(), QStringLiteral("GRAPH"));
    QCOMPARE(menus.at(0).at(1).toString(), QStringLiteral("TARGET"));
}

void TestUiControls::messageRecorder()
{
    MsgBox::Recorder outer(false);
    {
        MsgBox::Recorder messages;
        MsgBox::information(nullptr, QStringLiteral("Please Enter Name!"));
        QVERIFY(MsgBox::confirm(nullptr, QStringLiteral("Are you sure to delete?")));
        messages.setAnswer(false);
        QVERIFY(!MsgBox::confirm(nullptr, QStringLiteral("Are you sure to exit?")));
        MsgBox::plain(nullptr, QStringLiteral("Please re-enter passwords!"));
        QCOMPARE(messages.count(), 4);
        QCOMPARE(messages.messages().at(0).kind, MsgBox::Kind::Information);
        QCOMPARE(messages.messages().at(1).kind, MsgBox::Kind::Confirmation);
        QCOMPARE(messages.last().kind, MsgBox::Kind::Plain);
        QCOMPARE(messages.last().text, QStringLiteral("Please re-enter passwords!"));
    }
    // The outer recorder is in charge again.
    QVERIFY(!MsgBox::confirm(nullptr, QStringLiteral("again?")));
    QCOMPARE(outer.texts(), QStringList({"again?"}));
}

void TestUiControls::errorReport_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("ok") << 0 << "";
    QTest::newRow("database") << 1 << "no such table: mstNothing";
    QTest::newRow("conversion") << 2 << "Type mismatch";
    QTest::newRow("other") << 3 << "out of memory";
}

void TestUiControls::errorReport()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    MsgBox::Recorder messages;
    bool after = false;
    const bool ok = ErrorReport(nullptr, [&] {
        if (kind == 1)
            throw data::DbError(message);
        if (kind == 2)
            ui::ToLong(QStringLiteral("abc"));
        if (kind == 3)
            throw std::runtime_error(message.toStdString());
        after = true;
    });
    QCOMPARE(ok, kind == 0);
    QCOMPARE(after, kind == 0);
    if (kind == 0) {
        QVERIFY(messages.isEmpty());
    } else {
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MsgBox::Kind::Information);
        QCOMPARE(messages.last().text, message);
    }
}

void TestUiControls::toLong_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("error");
    QTest::newRow("number") << QVariant(qlonglong(42)) << 42 << "";
    QTest::newRow("text") << QVariant(QStringLiteral(" 17 ")) << 17 << "";
    QTest::newRow("half to even") << QVariant(2.5) << 2 << "";
    QTest::newRow("null") << QVariant() << 0 << "Invalid use of Null";
    QTest::newRow("empty text") << QVariant(QString()) << 0 << "Type mismatch";
    QTest::newRow("no number") << QVariant(QStringLiteral("12a")) << 0 << "Type mismatch";
    QTest::newRow("too big") << QVariant(qlonglong(1) << 40) << 0 << "Overflow";
}

void TestUiControls::toLong()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QFETCH(QString, error);
    try {
        QCOMPARE(ui::ToLong(value), expected);
        QVERIFY(error.isEmpty());
    } catch (const ui::ConversionError& e) {
        QCOMPARE(e.description(), error);
    }
    QVERIFY_THROWS_EXCEPTION(ui::ConversionError, ui::ToInteger(QVariant(40000)));
}

void TestUiControls::modalRecorder()
{
    QString seenTitle;
    Modal::Recorder windows([&](QDialog* d) {
        seenTitle = d->windowTitle();
        d->close();
    });
    auto* dialog = new QDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Enquiry Reigster"));
    QPointer<QDialog> guard(dialog);
    ShowModal(dialog); // returns at once under the recorder
    QCOMPARE(seenTitle, QStringLiteral("Enquiry Reigster"));
    QCOMPARE(windows.shown().size(), 1);
    QCOMPARE(LastShownModal(), dialog);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    QVERIFY(!windows.last());
}

void TestUiControls::tag()
{
    Grid grid;
    QCOMPARE(Tag(&grid), QString());
    SetTag(&grid, QStringLiteral("12"));
    QCOMPARE(Tag(&grid), QStringLiteral("12"));
}

void TestUiControls::gridCellsOfLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("cells"); // as read back from a 3-column grid
    QTest::newRow("full row") << "1\tApex\tKochi" << QStringList{"1", "Apex", "Kochi"};
    QTest::newRow("short row") << "1" << QStringList{"1", "", ""};
    QTest::newRow("empty cells") << "\t\tx" << QStringList{"", "", "x"};
    QTest::newRow("cells beyond the columns dropped")
        << "1\t2\t3\t4\t5" << QStringList{"1", "2", "3"};
    QTest::newRow("empty line") << "" << QStringList{"", "", ""};
}

void TestUiControls::gridCellsOfLines()
{
    QFETCH(QString, line);
    QFETCH(QStringList, cells);
    Grid grid;
    grid.setFormatString(QStringLiteral("A|B|C"));
    grid.setRows(1);
    grid.addItems({line, QStringLiteral("x\ty\tz")});
    QCOMPARE(grid.rows(), 3);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(grid.textMatrix(1, c), cells[c]);
    QCOMPARE(grid.textMatrix(1, 3), QString()); // outside the grid
    // Changing one cell leaves the others; a tab cannot split a cell.
    grid.setTextMatrix(1, 1, QStringLiteral("new\ttext"));
    QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("new text"));
    QCOMPARE(grid.textMatrix(1, 2), cells[2]);
    QCOMPARE(grid.textMatrix(2, 2), QStringLiteral("z"));
    // Fewer columns drop the cells beyond them for good.
    grid.setCols(2);
    grid.setCols(3);
    QCOMPARE(grid.textMatrix(2, 2), QString());
    QCOMPARE(grid.textMatrix(2, 1), QStringLiteral("y"));
}

QTEST_MAIN(TestUiControls)
#include "tst_ui_controls.moc"
