#pragma once

#include <QDialog>

class QAction;
class QFrame;
class QMenu;
class QMenuBar;
class Toolbar;

// The program's shell: a menu bar and a toolbar from which every other
// window is opened modally. Closing it ends the program.
class frmMain : public QDialog {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // What an ordinary user does not see: the administrator's menus and
    // toolbar buttons 1, 5, 6, 7, 8 and 9.
    void HideAdministratorItems();

public Q_SLOTS:
    void tbrKorvane_ButtonClick(const QString& key);
    void tbrKorvane_ButtonMenuClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addItem(QMenuBar* bar, const char* name, const QString& caption);
    QAction* addItem(QMenu* menu, const char* name, const QString& caption);
    QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption);
    QMenu* addMenu(QMenu* menu, const char* name, const QString& caption);
    void buildToolbar();

    void openSalesPerson();
    void openChangeLogin();
    void openEnquiry();
    void openTarget();
    void openEnquiryStatus();
    void openEnquiryHistory();
    void openPerformanceAnalysis();
    void openGraphExecutive();
    void openGraphStatusYear();
    void openExeGraph();
    void openSalesPipeLine(const QString& mode);
    void openTargetVSAcheived();
    void openClientList();
    void openAbout();
    void exitWithConfirmation(const QString& question);

    QMenuBar* m_menuBar;
    Toolbar* tbrKorvane;
    QFrame* fraLine;
};
