// Start-up (Main), ClearControls and FillCombo.
#include "TestDb.h"
#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "screens/session/frmLogin.h"
#include "screens/session/frmSplash.h"
#include "ui/ComboBox.h"
#include "ui/Grid.h"
#include "ui/ListOrder.h"
#include "ui/MaskEdBox.h"
#include "ui/MsgBox.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mainShowsSplashThenLogin();
    void mainWithoutDatabaseShowsNoWindow();
    void clearControlsByKind();
    void fillCombo_data();
    void fillCombo();
    void fillComboRefusesNonNumericCodes();
    void fillSortedComboPairsTextAndData();
};

void TestSession::mainShowsSplashThenLogin()
{
    TestDb t;
    t.db().close();
    QElapsedTimer timer;
    timer.start();
    QVERIFY(modAdmin::Main());
    QVERIFY(timer.elapsed() >= 500); // the splash stays half a second
    QVERIFY(modAdmin::DbConnection.isOpen());
    frmLogin* login = nullptr;
    int splashes = 0, visibleSplashes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* l = qobject_cast<frmLogin*>(w); l && l->isVisible())
            login = l;
        if (qobject_cast<frmSplash*>(w)) {
            ++splashes; // closed, its deletion still pending
            visibleSplashes += w->isVisible() ? 1 : 0;
        }
    }
    QVERIFY(login);
    QCOMPARE(splashes, 1);        // the splash was made and shown...
    QCOMPARE(visibleSplashes, 0); // ...and is gone before the login window
    QVERIFY(!login->isModal());
    delete login;
}

void TestSession::mainWithoutDatabaseShowsNoWindow()
{
    QTemporaryDir dir;
    modAdmin::SetProgramFolder(dir.path());
    modAdmin::DbConnection.close();
    MsgBox::Recorder messages;
    QVERIFY(!modAdmin::Main());
    QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/Korvane.MDB")));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!w->isVisible() || !qobject_cast<QDialog*>(w));
}

void TestSession::clearControlsByKind()
{
    QDialog window;
    auto* text = new QLineEdit(QStringLiteral("typed"), &window);
    auto* grid = new Grid(&window);
    grid->setFormatString(QStringLiteral("Code|<Name      "));
    for (int i = 0; i < 5; ++i)
        grid->addItem(QStringLiteral("%1\tName %1").arg(i));
    auto* mask = new MaskEdBox(&window);
    mask->setText(QStringLiteral("05/06/2004"));
    auto* check = new QCheckBox(&window);
    check->setChecked(true);
    auto* combo = new ComboBox(&window);
    combo->addItem(QStringLiteral("kept"));
    combo->setListIndex(0);
    modAdmin::ClearControls(&window);
    QCOMPARE(text->text(), QString());
    QCOMPARE(grid->rows(), 2);
    QCOMPARE(grid->textMatrix(1, 1), QString());
    QCOMPARE(grid->textMatrix(0, 1).trimmed(), QStringLiteral("Name"));
    QCOMPARE(mask->text(), QStringLiteral("__/__/____"));
    QVERIFY(!check->isChecked());
    QCOMPARE(combo->listCount(), 1);
    QCOMPARE(combo->listIndex(), 0);
}

void TestSession::fillCombo_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("codes");
    QTest::newRow("two rows") << "exeRole <> 'A'" << QStringList{"Binu", "Anita"}
                              << QList<int>{3, 2};
    QTest::newRow("no rows empties the combo") << "exeRole = 'X'" << QStringList{} << QList<int>{};
}

void TestSession::fillCombo()
{
    QFETCH(QString, where);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, codes);
    TestDb t;
    t.exec(
        QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exeRole) VALUES (1,'Boss','A')"));
    t.exec(
        QStringLiteral("INSERT INTO mstExecutive (exeCode,exeName,exeRole) VALUES (3,'Binu','U')"));
    t.exec(QStringLiteral(
        "INSERT INTO mstExecutive (exeCode,exeName,exeRole) VALUES (2,'Anita','U')"));
    ComboBox combo;
    combo.addItem(QStringLiteral("old"));
    modAdmin::FillCombo(&combo, QStringLiteral("SELECT exeCode,exeName FROM mstExecutive where ") +
                                    where + QStringLiteral(" ORDER BY exeName DESC"));
    QCOMPARE(combo.listCount(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(combo.list(i), texts[i]);
        QCOMPARE(combo.itemData(i), codes[i]);
    }
}

void TestSession::fillComboRefusesNonNumericCodes()
{
    TestDb t;
    t.exec(QStringLiteral("INSERT INTO mstService (srNo,Name,Type) VALUES (1,'Web','SR')"));
    ComboBox combo;
    QVERIFY_THROWS_EXCEPTION(
        std::exception,
        modAdmin::FillCombo(&combo, QStringLiteral("SELECT Name, Name FROM mstService")));
}

void TestSession::fillSortedComboPairsTextAndData()
{
    TestDb t;
    const char* names[] = {"Zara", "anita", "Binu", "Åsa", "Chitra"};
    int code = 1;
    for (const char* n : names)
        t.exec(QStringLiteral(
                   "INSERT INTO mstExecutive (exeCode,exeName,exeRole) VALUES (%1,'%2','U')")
                   .arg(code++)
                   .arg(QString::fromUtf8(n)));
    ComboBox combo;
    combo.setSorted(true);
    QSignalSpy clicks(&combo, &ComboBox::click);
    modAdmin::FillCombo(&combo, QStringLiteral("SELECT exeCode,exeName FROM mstExecutive"));
    QCOMPARE(combo.listCount(), 5);
    QCOMPARE(combo.listIndex(), -1); // filling selects nothing
    QCOMPARE(clicks.count(), 0);
    for (int i = 0; i < combo.listCount(); ++i) {
        const QString name = combo.list(i);
        QCOMPARE(t.scalar(QStringLiteral("SELECT exeName FROM mstExecutive WHERE exeCode=%1")
                              .arg(combo.itemData(i))),
                 name);
        if (i > 0)
            QVERIFY(CompareListText(combo.list(i - 1), name) <= 0);
    }
    // newIndex is where the query's last row went.
    QString last;
    for (data::Recordset rs(QStringLiteral("SELECT exeCode,exeName FROM mstExecutive"), t.db());
         !rs.eof(); rs.moveNext())
        last = rs.text(1);
    QCOMPARE(combo.list(combo.newIndex()), last);
    // A refill after a save gives the same items again.
    modAdmin::FillCombo(&combo, QStringLiteral("SELECT exeCode,exeName FROM mstExecutive"));
    QCOMPARE(combo.listCount(), 5);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
