#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <array>

#include "model/start_close.h"
#include "reports/report_fields.h"
#include "reports/report_full.h"
#include "reports/report_run.h"
#include "reports/report_template.h"
#include "reports/study_report.h"
#include "sheets/run_sheet.h"
#include "ui/data_panel.h"
#include "ui/help_panel.h"
#include "ui/live_redraw.h"
#include "ui/panel_scroll.h"
#include "ui/results_panel.h"
#include "ui/run_panel.h"
#include "ui/tab_icons.h"
#include "ui/view_panel.h"
#include "ui/window_commands.h"

namespace quorvane {

namespace {

// The tab control lies 3 pixels from the left, 10 from the top and right,
// and 36 above the bottom edge of the window.
constexpr int kTabLeft = 3, kTabTop = 10, kTabRight = 10, kTabBottom = 36;

}  // namespace

MainWindow::MainWindow(AppState& state, QtPlatform& platform, const std::string& documentsFolder,
                       QWidget* parent)
    : QWidget(parent), state_(state), platform_(platform) {
    setWindowTitle("Quorvane");
    setWindowIcon(programIcon());
    platform_.setParentWidget(this);

    // Every process start repeats the same random sequence.
    state_.random.SeedForStart();
    session_ = std::make_unique<Session>(state_, platform_);

    buildTabs();
    addWindowCommands(*this);
    startUp(documentsFolder);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The panels go before the session they hold references to.
    delete tabs_;
    tabs_ = nullptr;
}

void MainWindow::buildTabs() {
    addPanels();
    connectPanels();
    fitToPanels();
}

void MainWindow::addPanels() {
    tabs_ = new QTabWidget(this);
    QFont tabFont("Times");
    tabFont.setPixelSize(20);
    tabFont.setWeight(QFont::DemiBold);  // weight 600
    tabs_->tabBar()->setFont(tabFont);
    tabs_->setIconSize(QSize(32, 32));

    dataPanel_ = new DataPanel(*session_, platform_);
    helpPanel_ = new HelpPanel(state_, platform_);
    runPanel_ = new RunPanel(state_, *session_, platform_);
    viewPanel_ = new ViewPanel(*session_);
    resultsPanel_ = new ResultsPanel(*session_);
    // ---- The five panels, in tab order. -------------------------------------
    std::array<QWidget*, 5> panels{dataPanel_, runPanel_, viewPanel_, resultsPanel_, helpPanel_};
    // ---------------------------------------------------------------------------
    // A panel larger than its tab scrolls in it rather than being squashed.
    for (int i = 0; i < 5; ++i)
        tabs_->addTab(new PanelScroll(panels[i]), tabIcon(i), QString::fromLatin1(kTabLabels[i]));
}

void MainWindow::connectPanels() {
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tabChanged);
    connect(dataPanel_, &DataPanel::titleChanged, this,
            [this](const QString& title) { setWindowTitle(title); });
    connect(dataPanel_, &DataPanel::logPathChanged, helpPanel_, &HelpPanel::refresh);
    session_->logPathChanged = [this] { helpPanel_->refresh(); };
    refreshRunPanel = [this] { runPanel_->refreshDisplayValues(); };
    hookReports();
    hookLivePanels();
    hookStatusLine();

    RunHooks& hooks = session_->loop.hooks;
    std::function<void()> earlier = hooks.controlsChanged;
    hooks.controlsChanged = [this, earlier] {
        if (earlier) earlier();
        controlsChanged();
    };
}

void MainWindow::fitToPanels() {
    // The window opens at the size its panels ask for, within the screen, and
    // that size is its minimum from then on.
    fit_.fit(tabs_->sizeHint() + QSize(kTabLeft + kTabRight, kTabTop + kTabBottom));
    placeTabs();
    layoutReady_ = true;
}

void MainWindow::placeTabs() {
    tabs_->setGeometry(kTabLeft, kTabTop, width() - kTabLeft - kTabRight,
                       height() - kTabTop - kTabBottom);
    if (statusLine_)
        statusLine_->setGeometry(kTabLeft + 6, height() - kTabBottom + 4,
                                 width() - kTabLeft - kTabRight - 6, kTabBottom - 8);
}

void MainWindow::hookStatusLine() {
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName("statusLine");
    statusLine_->setAccessibleName("Status");
    statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    session_->saidStatus = [this](const std::string& text) {
        statusLine_->setText(QString::fromStdString(text));
        statusLine_->setToolTip(statusLine_->text());
    };
    RunHooks& hooks = session_->loop.hooks;
    std::function<void(int)> ended = hooks.runEnded;
    hooks.runEnded = [this, ended](int code) {
        if (ended) ended(code);
        session_->saidStatus(runEndedText(state_, code));
    };
}

void MainWindow::hookLivePanels() {
    cameraKeys = [this](const views::CameraKeys& keys) { return viewPanel_->cameraKeys(keys); };
    cameraReset = [this] { viewPanel_->resetCamera(); };
    connectLiveRun(session_->loop.hooks, viewPanel_, resultsPanel_,
                   [this](int tab) { requestTab(tab); });
    // After parameter changes, at a run's start and at close every window repaints.
    std::function<void()> before = session_->loop.hooks.repaintAll;
    session_->loop.hooks.repaintAll = [this, before] {
        if (before) before();
        for (QWidget* top : QApplication::topLevelWidgets()) top->update();
    };
}

void MainWindow::hookReports() {
    reportFields_ = std::make_unique<ReportFields>();
    dataPanel_->saveReportChart = [this] { saveReportChart(state_, platform_); };
    dataPanel_->saveFullReport = [this] {
        saveFullReport(state_, platform_, *reportFields_,
                       ReportTemplate{state_.paths.templatePathFile});
    };
    // The surface picture of the run report: the Run panel's size, the View panel's camera.
    runPanel_->saveRunReport = [this] {
        saveRunReport(state_, platform_,
                      {RunReportView{runPanel_->size(), &viewPanel_->camera()}, {}});
    };
    runPanel_->saveStudyReport = [this] {
        saveStudyReport(state_, session_->planFile.paths, platform_);
    };
}

QWidget* MainWindow::panel(int tab) const {
    return panelOf(tabs_->widget(tab));
}

void MainWindow::setPanel(int tab, QWidget* panel) {
    if (tab < 0 || tab >= tabs_->count() || !panel) return;
    const bool current = tabs_->currentIndex() == tab;
    auto* old = static_cast<PanelScroll*>(tabs_->widget(tab));
    QSignalBlocker block(tabs_);
    tabs_->removeTab(tab);
    tabs_->insertTab(tab, new PanelScroll(panel), tabIcon(tab),
                     QString::fromLatin1(kTabLabels[tab]));
    if (current) tabs_->setCurrentIndex(tab);
    // The Data and Help panels live on: the start-up and the close still use them.
    if (old->panel() == dataPanel_ || old->panel() == helpPanel_)
        old->takeWidget()->setParent(this);
    old->deleteLater();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The window's own menu (the right mouse button on the tabs or on a free
    // part of a panel) carries the About box.
    QMenu menu(this);
    menu.addAction("&About Quorvane...", this, [this] { showAboutBox(this); });
    menu.exec(event->globalPos());
}

void MainWindow::startUp(const std::string& documentsFolder) {
    // Keys typed at once go to the first size field.
    dataPanel_->focusFirstSize();
    if (documentsFolder.empty()) return;
    DataDocument document = session_->document();
    StartResult start = startSession(documentsFolder, document, platform_);
    if (!start.folder.ready()) return;
    folderReady_ = true;
    QDir::setCurrent(QString::fromStdString(start.folder.folder));
    state_.paths = start.paths;
    helpPanel_->installPages(start.folder.folder);
    helpPanel_->refresh();
    dataPanel_->afterDataLoaded(start.settings.data);
    // "Save full report" works on a fresh machine; a template already there is the user's.
    installReportTemplate(state_.paths.templatePathFile);
    if (start.settings.data.loaded())
        setWindowTitle(QString::fromStdString(start.settings.data.windowTitle()));
    untouchedData_ = start.settings.untouchedData;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized() || !layoutReady_ || !fit_.keepMinimum()) return;
    placeTabs();
}

void MainWindow::requestTab(int tab) {
    pendingTab = tab;
    update();
}

void MainWindow::applyPendingTab() {
    if (pendingTab >= 0 && pendingTab < tabs_->count()) tabs_->setCurrentIndex(pendingTab);
    pendingTab = -1;
}

void MainWindow::paintEvent(QPaintEvent* event) {
    if (!isMinimized()) applyPendingTab();
    QWidget::paintEvent(event);
}

void MainWindow::tabChanged(int index) {
    showPanel(index);
}

void MainWindow::showPanel(int index) {
    shownTab_ = index;
    if (QWidget* shown = tabs_->widget(index)) shown->update();
}

void MainWindow::controlsChanged() {
    // An experiment sets the physical values between its runs: the panel
    // shows them whenever a run takes or gives back the controls.
    dataPanel_->refreshFromData();
    helpPanel_->refreshEnabled();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Show:
            // The Run panel shows the jump frequency and time step of the data
            // as they are now, so it is refreshed as it is shown, by any route.
            if (refreshRunPanel && tabs_ && watched == panel(kRunTab)) refreshRunPanel();
            // Once on screen its frame is known, and the window is kept within the screen.
            if (watched == this) QTimer::singleShot(0, this, [this] { fit_.fitFrame(); });
            break;
        case QEvent::Quit:
            // A running simulation ends at its next look at the message queue.
            state_.runState.runFlag = false;
            break;
        case QEvent::ApplicationDeactivate:
            keys_.clear();
            break;
        case QEvent::KeyRelease:
            keys_.released(*static_cast<QKeyEvent*>(event));
            break;
        case QEvent::KeyPress:
            // Keys typed anywhere in this window, before the widget sees them.
            if (keys_.pressed(watched, *static_cast<QKeyEvent*>(event))) return true;
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Repaint what is on screen, stop a run at its next look at the queue,
    // then keep the paths and the data for the next start.
    update();
    state_.runState.runFlag = false;
    platform_.requestClose();
    if (folderReady_) closeSession(state_.paths, session_->document(), platform_, untouchedData_);
    event->accept();
}

}  // namespace quorvane
