// Key filters, proper case, Enter advance and window keys, driven through
// real widgets.
#include "ui/ComboBox.h"
#include "ui/KeyFilters.h"
#include "ui/MaskEdBox.h"
#include "ui/WindowClose.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

Q_DECLARE_METATYPE(KeyFilter)

namespace {

// A small window: two text fields, a combo box, a masked date box and two
// buttons, shown and active so that focus moves are real.
struct Window {
    QPointer<QDialog> dialog = new QDialog; // may delete itself on close
    QLineEdit* txtA = new QLineEdit(dialog);
    QLineEdit* txtB = new QLineEdit(dialog);
    ComboBox* cbo = new ComboBox(dialog);
    MaskEdBox* msk = new MaskEdBox(dialog);
    QPushButton* cmdOK = new QPushButton(QStringLiteral("&OK"), dialog);
    QPushButton* cmdClose = new QPushButton(QStringLiteral("&Close"), dialog);

    Window()
    {
        auto* layout = new QVBoxLayout(dialog);
        for (QWidget* w : {static_cast<QWidget*>(txtA), static_cast<QWidget*>(txtB),
                           static_cast<QWidget*>(cbo), static_cast<QWidget*>(msk),
                           static_cast<QWidget*>(cmdOK), static_cast<QWidget*>(cmdClose)})
            layout->addWidget(w);
        cbo->addItem(QStringLiteral("One"));
        cbo->addItem(QStringLiteral("Two"));
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

} // namespace

class TestUiKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filters_data();
    void filters();
    void properCase_data();
    void properCase();
    void enterWithProperCaseChangesOnlyWhenDifferent_data();
    void enterWithProperCaseChangesOnlyWhenDifferent();
    void enterAdvanceFromEveryKindOfControl();
    void enterOnButtonOnlyFocusesItThenSecondEnterPresses();
    void focusMoveToHiddenControlDoesNothing();
    void sideEffectRunsOnCharacterKeysOnly();
    void onEnterRunsBeforeFocusMove();
    void noDefaultButton();
    void escapePressesCloseButtonWhereverTheFocusIs_data();
    void escapePressesCloseButtonWhereverTheFocusIs();
    void escapeWithoutCloseButtonKeepsWindowOpen();
    void closeMenuItemClosesWindow();
};

void TestUiKeys::filters_data()
{
    QTest::addColumn<KeyFilter>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("apostrophe dropped") << KeyFilter::Apostrophe << "O'Neil"
                                        << "ONeil";
    QTest::newRow("apostrophe keeps comma") << KeyFilter::Apostrophe << "a,b [x]"
                                            << "a,b [x]";
    QTest::newRow("no filter") << KeyFilter::None << "O'Neil"
                               << "O'Neil";
    QTest::newRow("numeric comma") << KeyFilter::Numeric << "1,500"
                                   << "1500";
    QTest::newRow("numeric letters, blank passes") << KeyFilter::Numeric << "12 kg"
                                                   << "12 ";
    QTest::newRow("numeric minus") << KeyFilter::Numeric << "-5"
                                   << "-5";
    QTest::newRow("numeric point") << KeyFilter::Numeric << "2.5"
                                   << "2.5";
    QTest::newRow("numeric 91..96 dropped") << KeyFilter::Numeric << "1[2]3^_`"
                                            << "123";
    QTest::newRow("numeric above 122 passes") << KeyFilter::Numeric << "{5}~"
                                              << "{5}~";
    QTest::newRow("numeric apostrophe") << KeyFilter::Numeric << "3'4"
                                        << "34";
}

void TestUiKeys::filters()
{
    QFETCH(KeyFilter, filter);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Window w;
    AttachKeyHandling(w.txtA, filter, w.txtB);
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClicks(w.txtA, typed);
    QCOMPARE(w.txtA->text(), expected);
    // Enter is never discarded: it still advances.
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.txtB);
}

void TestUiKeys::properCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mixed") << "aNNA mARIA k.v."
                           << "Anna Maria K.v.";
    QTest::newRow("firm") << "sri LAKSHMI traders"
                          << "Sri Lakshmi Traders";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blanks kept") << "  two  words "
                                 << "  Two  Words ";
    QTest::newRow("tab") << "a\tb"
                         << "A\tB";
    QTest::newRow("line breaks") << "x\r\ny\nz"
                                 << "X\r\nY\nZ";
    QTest::newRow("nul") << QString::fromUtf16(u"ab\0cd", 5) << QString::fromUtf16(u"Ab\0Cd", 5);
    QTest::newRow("punctuation is no separator") << "o'neil k.v.raman"
                                                 << "O'neil K.v.raman";
    QTest::newRow("digit first") << "12ABC"
                                 << "12abc";
    QTest::newRow("non-ASCII") << "ÉCOLE élan"
                               << "École Élan";
}

void TestUiKeys::properCase()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ProperCase(text), expected);
}

void TestUiKeys::enterWithProperCaseChangesOnlyWhenDifferent_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("changes");
    QTest::newRow("rewritten") << "sri LAKSHMI traders"
                               << "Sri Lakshmi Traders" << 1;
    QTest::newRow("already proper") << "Sri Lakshmi"
                                    << "Sri Lakshmi" << 0;
}

void TestUiKeys::enterWithProperCaseChangesOnlyWhenDifferent()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, changes);
    Window w;
    AttachKeyHandling(w.txtA, KeyFilter::Apostrophe, w.txtB, true);
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClicks(w.txtA, typed);
    QSignalSpy changed(w.txtA, &QLineEdit::textChanged);
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(w.txtA->text(), expected);
    QCOMPARE(int(changed.count()), changes);
    QCOMPARE(QApplication::focusWidget(), w.txtB);

    // Leaving the field otherwise keeps the text as typed.
    w.txtA->setText(QStringLiteral("aBC"));
    w.txtA->setFocus();
    QTest::keyClick(w.txtA, Qt::Key_Tab);
    QCOMPARE(w.txtA->text(), QStringLiteral("aBC"));
}

void TestUiKeys::enterAdvanceFromEveryKindOfControl()
{
    Window w;
    AttachKeyHandling(w.txtA, KeyFilter::None, w.cbo);
    AttachEnterAdvance(w.cbo, w.msk);
    AttachEnterAdvance(w.msk, w.txtB);
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.cbo);
    QTest::keyClick(w.cbo, Qt::Key_Enter); // keypad Enter counts as Enter
    QCOMPARE(QApplication::focusWidget(), w.msk);
    QTest::keyClicks(w.msk, QStringLiteral("0506"));
    QTest::keyClick(w.msk, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.txtB);
    QCOMPARE(w.msk->text(), QStringLiteral("05/06/____"));
}

void TestUiKeys::enterOnButtonOnlyFocusesItThenSecondEnterPresses()
{
    Window w;
    PrepareWindow(w.dialog);
    AttachKeyHandling(w.txtA, KeyFilter::None, w.cmdOK);
    QSignalSpy clicked(w.cmdOK, &QPushButton::clicked);
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.cmdOK);
    QCOMPARE(clicked.count(), 0);
    QTest::keyClick(w.cmdOK, Qt::Key_Return);
    QCOMPARE(clicked.count(), 1);
}

void TestUiKeys::focusMoveToHiddenControlDoesNothing()
{
    Window w;
    AttachKeyHandling(w.txtA, KeyFilter::None, w.txtB);
    QVERIFY(w.show());
    w.txtB->hide();
    w.txtA->setFocus();
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.txtA);
    w.txtB->show();
    QCOMPARE(QApplication::focusWidget(), w.txtA); // no delayed jump either
}

void TestUiKeys::sideEffectRunsOnCharacterKeysOnly()
{
    Window w;
    int calls = 0;
    AttachKeyHandling(w.txtA, KeyFilter::Apostrophe, w.txtB, false, [&] { ++calls; });
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClicks(w.txtA, QStringLiteral("a'"));
    QCOMPARE(calls, 2); // also for the discarded apostrophe
    QTest::keyClick(w.txtA, Qt::Key_Down);
    QTest::keyClick(w.txtA, Qt::Key_Left);
    QCOMPARE(calls, 2); // not for keys that type nothing (Down moves into a pick-list)
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(calls, 3);
}

void TestUiKeys::onEnterRunsBeforeFocusMove()
{
    Window w;
    QWidget* focusSeen = nullptr;
    QString textSeen;
    KeyHandling h;
    h.properCase = true;
    h.next = w.txtB;
    h.onEnter = [&] {
        focusSeen = QApplication::focusWidget();
        textSeen = w.txtA->text();
    };
    AttachKeyHandling(w.txtA, h);
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClicks(w.txtA, QStringLiteral("new ENTRY"));
    QTest::keyClick(w.txtA, Qt::Key_Return);
    QCOMPARE(focusSeen, w.txtA);
    QCOMPARE(textSeen, QStringLiteral("New Entry"));
    QCOMPARE(QApplication::focusWidget(), w.txtB);
}

void TestUiKeys::noDefaultButton()
{
    Window w;
    PrepareWindow(w.dialog);
    w.dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    QSignalSpy ok(w.cmdOK, &QPushButton::clicked);
    QSignalSpy close(w.cmdClose, &QPushButton::clicked);
    QVERIFY(w.show());
    w.txtB->setFocus(); // a field without key handling of its own
    QTest::keyClick(w.txtB, Qt::Key_Return);
    QCOMPARE(ok.count(), 0);
    QCOMPARE(close.count(), 0);
    QVERIFY(w.dialog->isVisible());
}

void TestUiKeys::escapePressesCloseButtonWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("text field") << "txtA";
    QTest::newRow("combo box") << "cbo";
    QTest::newRow("masked box") << "msk";
    QTest::newRow("button") << "cmdOK";
}

void TestUiKeys::escapePressesCloseButtonWhereverTheFocusIs()
{
    QFETCH(QString, focus);
    Window w;
    AttachWindowClose(w.dialog, w.cmdClose);
    QSignalSpy ok(w.cmdOK, &QPushButton::clicked);
    QVERIFY(w.show());
    QWidget* target = focus == "txtA"  ? static_cast<QWidget*>(w.txtA)
                      : focus == "cbo" ? static_cast<QWidget*>(w.cbo)
                      : focus == "msk" ? static_cast<QWidget*>(w.msk)
                                       : static_cast<QWidget*>(w.cmdOK);
    w.txtA->setFocus();
    QTest::keyClicks(w.txtA, QStringLiteral("typed"));
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Escape);
    QCOMPARE(ok.count(), 0);
    // The window closed and deletes itself.
    QVERIFY(w.dialog && !w.dialog->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.dialog.isNull());
}

void TestUiKeys::escapeWithoutCloseButtonKeepsWindowOpen()
{
    Window w;
    PrepareWindow(w.dialog);
    w.dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(w.show());
    w.txtA->setFocus();
    QTest::keyClick(w.txtA, Qt::Key_Escape);
    QVERIFY(w.dialog->isVisible());
}

void TestUiKeys::closeMenuItemClosesWindow()
{
    auto* dialog = new QDialog;
    QPointer<QDialog> guard(dialog);
    auto* mnuClose = new QAction(QStringLiteral("&Close"), dialog);
    AttachWindowClose(dialog, mnuClose);
    dialog->show();
    mnuClose->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
}

QTEST_MAIN(TestUiKeys)
#include "tst_ui_keys.moc"
