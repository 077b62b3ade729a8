#include "screens/session/frmMain.h"

#include "app/ModAdmin.h"
#include "screens/enquiry/frmEnquiryRegister.h"
#include "screens/enquiry/frmEnquiryStatus.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "ui/ErrorReport.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/Toolbar.h"
#include "ui/WindowClose.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QVBoxLayout>

frmMain::frmMain(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("KORVANE"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    PrepareWindow(this);
    resize(860, 540);

    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("mnuKorvane"));
    m_menuBar->setNativeMenuBar(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);

    QAction* mnuMExecutive = addItem(m_menuBar, "mnuMExecutive", QStringLiteral("Sales Person"));
    QAction* mnuCLogin = addItem(m_menuBar, "mnuCLogin", QStringLiteral("Change Login"));
    QAction* mnuEnquiry = addItem(m_menuBar, "mnuEnquiry", QStringLiteral("Enquiry"));
    QAction* mnuTarget = addItem(m_menuBar, "mnuTarget", QStringLiteral("Target"));
    QAction* mnuEStatus = addItem(m_menuBar, "mnuEStatus", QStringLiteral("Enquiry Status"));
    QAction* mnuEHistory = addItem(m_menuBar, "mnuEHistory", QStringLiteral("Enquiry History"));
    QMenu* mnuAnalysis = addMenu(m_menuBar, "mnuAnalysis", QStringLiteral("Analysis"));
    QAction* mnuPerformanceAnalysis =
        addItem(mnuAnalysis, "mnuPerformanceAnalysis", QStringLiteral("Performance Analysis"));
    QMenu* mnuGraphicalAnalysis =
        addMenu(m_menuBar, "mnuGraphicalAnalysis", QStringLiteral("Graphical Analysis"));
    QAction* mnuGraphEWise =
        addItem(mnuGraphicalAnalysis, "mnuGraphEWise", QStringLiteral("Sales Person Wise"));
    QMenu* mnuGraphYear =
        addMenu(mnuGraphicalAnalysis, "mnuGraphYear", QStringLiteral("Yearly Analysis"));
    QAction* mnuGraphSW = addItem(mnuGraphYear, "mnuGraphSW", QStringLiteral("Status Wise"));
    QAction* mnuGraphEW = addItem(mnuGraphYear, "mnuGraphEW", QStringLiteral("Sales Person Wise"));
    QMenu* mnuSPipeline =
        addMenu(mnuGraphicalAnalysis, "mnuSPipeline", QStringLiteral("Sales PipeLine"));
    QAction* mnuSPEWise = addItem(mnuSPipeline, "mnuSPEWise", QStringLiteral("Sales Person Wise"));
    QAction* mnuSPTFirm = addItem(mnuSPipeline, "mnuSPTFirm", QStringLiteral("Total Firm"));
    QAction* mnuGraphTarget =
        addItem(mnuGraphicalAnalysis, "mnuGraphTarget", QStringLiteral("Target"));
    QMenu* mnuView = addMenu(m_menuBar, "mnuView", QStringLiteral("&View"));
    QAction* mnuVMExecutive = addItem(mnuView, "mnuVMExecutive", QStringLiteral("&Sales Person"));
    mnuVMExecutive->setEnabled(false);
    QAction* mnuVClient = addItem(mnuView, "mnuVClient", QStringLiteral("&Client"));
    QAction* mnuExit = addItem(m_menuBar, "mnuExit", QStringLiteral("Exit"));
    QAction* mnuOrbel = addItem(m_menuBar, "mnuOrbel", QStringLiteral("Orbel"));

    // Every handler reports its failures and the main window stays usable.
    auto on = [this](QAction* action, void (frmMain::*slot)()) {
        connect(action, &QAction::triggered, this,
                [this, slot] { ErrorReport(this, [this, slot] { (this->*slot)(); }); });
    };
    on(mnuMExecutive, &frmMain::openSalesPerson);
    on(mnuCLogin, &frmMain::openChangeLogin);
    on(mnuEnquiry, &frmMain::openEnquiry);
    on(mnuTarget, &frmMain::openTarget);
    on(mnuEStatus, &frmMain::openEnquiryStatus);
    on(mnuEHistory, &frmMain::openEnquiryHistory);
    on(mnuPerformanceAnalysis, &frmMain::openPerformanceAnalysis);
    on(mnuGraphEWise, &frmMain::openGraphExecutive);
    on(mnuGraphSW, &frmMain::openGraphStatusYear);
    on(mnuGraphEW, &frmMain::openExeGraph);
    connect(mnuSPEWise, &QAction::triggered, this, [this] {
        ErrorReport(this, [this] { openSalesPipeLine(QStringLiteral("EXECUTIVE WISE")); });
    });
    connect(mnuSPTFirm, &QAction::triggered, this,
            [this] { ErrorReport(this, [this] { openSalesPipeLine(QStringLiteral("FIRM")); }); });
    on(mnuGraphTarget, &frmMain::openTargetVSAcheived);
    on(mnuVClient, &frmMain::openClientList);
    connect(mnuExit, &QAction::triggered, this,
            [this] { exitWithConfirmation(QStringLiteral("Are you sure to Exit?")); });
    on(mnuOrbel, &frmMain::openAbout);

    buildToolbar();
    layout->addWidget(tbrKorvane);

    fraLine = new QFrame(this);
    fraLine->setObjectName(QStringLiteral("fraLine"));
    fraLine->setFrameShape(QFrame::HLine);
    fraLine->setFrameShadow(QFrame::Sunken);
    fraLine->setFixedHeight(3);
    layout->addWidget(fraLine); // the layout keeps it as wide as the window

    auto* workspace = new QFrame(this);
    workspace->setObjectName(QStringLiteral("fraWorkspace"));
    workspace->setAutoFillBackground(true);
    QPalette pal = workspace->palette();
    pal.setColor(QPalette::Window, QColor(0, 159, 204));
    workspace->setPalette(pal);
    layout->addWidget(workspace, 1);
}

QAction* frmMain::addItem(QMenuBar* bar, const char* name, const QString& caption)
{
    QAction* action = bar->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* frmMain::addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* frmMain::addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name) + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* frmMain::addMenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name) + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

void frmMain::buildToolbar()
{
    tbrKorvane = new Toolbar(this);
    tbrKorvane->setObjectName(QStringLiteral("tbrKorvane"));
    tbrKorvane->setIconSize(QSize(32, 32));
    tbrKorvane->setToolButtonStyle(Qt::ToolButtonIconOnly);
    using Style = ToolbarButton::Style;
    QStyle* s = style();
    tbrKorvane->addButton(QStringLiteral("EXECUTIVE"), QStringLiteral("Create Sales Person"), {},
                          s->standardIcon(QStyle::SP_FileDialogNewFolder));
    tbrKorvane->addButton(QStringLiteral("CHANGE LOGIN"), QStringLiteral("Change Login"), {},
                          s->standardIcon(QStyle::SP_BrowserReload));
    tbrKorvane->addButton(QStringLiteral("ENQUIRY"), QStringLiteral("Enquiry"), {},
                          s->standardIcon(QStyle::SP_FileIcon));
    tbrKorvane->addButton(QStringLiteral("ENQUIRY STATUS"), QStringLiteral("Enquiry Status"), {},
                          s->standardIcon(QStyle::SP_FileDialogDetailedView));
    tbrKorvane->addButton(QStringLiteral("ENQUIRY HISTORY"), QStringLiteral("Enquiry History"), {},
                          s->standardIcon(QStyle::SP_FileDialogContentsView));
    tbrKorvane->addButton(QStringLiteral("PERFORMANCE ANALYSIS"),
                          QStringLiteral("Performance Analysis"), {},
                          s->standardIcon(QStyle::SP_FileDialogInfoView));
    ToolbarButton* graph =
        tbrKorvane->addButton(QStringLiteral("GRAPH"), QStringLiteral("Graphical Analysis"), {},
                              s->standardIcon(QStyle::SP_DesktopIcon), Style::DropDown);
    graph->addMenuEntry(QStringLiteral("Sales Person Wise"), QStringLiteral("EXE WISE"));
    graph->addMenuEntry(QStringLiteral("Target"), QStringLiteral("TARGET"));
    ToolbarButton* yearly =
        tbrKorvane->addButton(QStringLiteral("YEARLY ANALYSIS"), QStringLiteral("Yearly Analysis"),
                              {}, s->standardIcon(QStyle::SP_ComputerIcon), Style::DropDown);
    yearly->addMenuEntry(QStringLiteral("Status Wise"), QStringLiteral("YS WISE"));
    yearly->addMenuEntry(QStringLiteral("Sales Person Wise"), QStringLiteral("YE WISE"));
    ToolbarButton* pipeline =
        tbrKorvane->addButton(QStringLiteral("SALES PIPELINE"), QStringLiteral("Sales PipeLine"),
                              {}, s->standardIcon(QStyle::SP_DriveNetIcon), Style::DropDown);
    pipeline->addMenuEntry(QStringLiteral("Sales Person Wise"), QStringLiteral("SPE WISE"));
    pipeline->addMenuEntry(QStringLiteral("Total Firm"), QStringLiteral("SPT FIRM"));
    tbrKorvane->addButton(QStringLiteral("EXIT"), QStringLiteral("End Programe"), {},
                          s->standardIcon(QStyle::SP_DialogCloseButton));
    connect(tbrKorvane, &Toolbar::buttonClick, this, &frmMain::tbrKorvane_ButtonClick);
    connect(
        tbrKorvane, &Toolbar::buttonMenuClick, this,
        [this](const QString&, const QString& menuKey) { tbrKorvane_ButtonMenuClick(menuKey); });
}

void frmMain::HideAdministratorItems()
{
    for (const char* name :
         {"mnuMExecutive", "mnuTarget", "mnuEHistory", "mnuAnalysis", "mnuGraphicalAnalysis"})
        if (auto* action = findChild<QAction*>(QLatin1String(name)))
            action->setVisible(false);
    for (int position : {1, 5, 6, 7, 8, 9})
        tbrKorvane->button(position)->setVisible(false);
}

void frmMain::tbrKorvane_ButtonClick(const QString& key)
{
    // Every error while a window opens is reported; the main window stays.
    ErrorReport(this, [this, &key] {
        if (key == QLatin1String("EXECUTIVE"))
            openSalesPerson();
        else if (key == QLatin1String("CHANGE LOGIN"))
            openChangeLogin();
        else if (key == QLatin1String("ENQUIRY"))
            openEnquiry();
        else if (key == QLatin1String("ENQUIRY HISTORY"))
            openEnquiryHistory();
        else if (key == QLatin1String("ENQUIRY STATUS"))
            openEnquiryStatus();
        else if (key == QLatin1String("PERFORMANCE ANALYSIS"))
            openPerformanceAnalysis();
        else if (key == QLatin1String("EXIT"))
            exitWithConfirmation(QStringLiteral("Are you sure to exit?"));
    });
}

void frmMain::tbrKorvane_ButtonMenuClick(const QString& key)
{
    ErrorReport(this, [this, &key] {
        if (key == QLatin1String("EXE WISE"))
            openGraphExecutive();
        else if (key == QLatin1String("TARGET"))
            openTargetVSAcheived();
        else if (key == QLatin1String("YS WISE"))
            openGraphStatusYear();
        else if (key == QLatin1String("YE WISE"))
            openExeGraph();
        else if (key == QLatin1String("SPE WISE"))
            openSalesPipeLine(QStringLiteral("EXECUTIVE WISE"));
        else if (key == QLatin1String("SPT FIRM"))
            openSalesPipeLine(QStringLiteral("FIRM"));
    });
}

void frmMain::exitWithConfirmation(const QString& question)
{
    if (MsgBox::confirm(this, question))
        modAdmin::EndProgram(0);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program.
    QDialog::closeEvent(event);
    if (event->isAccepted())
        modAdmin::EndProgram(0);
}

void frmMain::openSalesPerson()
{
    auto* window = new frmMstMarketingExecutive(this);
    window->strFormMode = QStringLiteral("CREATE");
    ShowModal(window);
}

void frmMain::openEnquiry()
{
    ShowModal(new frmEnquiryRegister(this));
}

void frmMain::openEnquiryStatus()
{
    ShowModal(new frmEnquiryStatus(this));
}

// Windows of later work open from here; until they exist the items do
// nothing.
void frmMain::openChangeLogin() {}
void frmMain::openTarget() {}
void frmMain::openEnquiryHistory() {}
void frmMain::openPerformanceAnalysis() {}
void frmMain::openGraphExecutive() {}
void frmMain::openGraphStatusYear() {}
void frmMain::openExeGraph() {}
void frmMain::openSalesPipeLine(const QString&) {}
void frmMain::openTargetVSAcheived() {}
void frmMain::openClientList() {}
void frmMain::openAbout() {}
