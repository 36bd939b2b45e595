#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFont>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <array>

#include "model/start_close.h"
#include "reports/report_fields.h"
#include "reports/report_full.h"
#include "reports/report_run.h"
#include "reports/report_template.h"
#include "reports/study_report.h"
#include "ui/data_panel.h"
#include "ui/help_panel.h"
#include "ui/live_redraw.h"
#include "ui/results_panel.h"
#include "ui/run_panel.h"
#include "ui/tab_icons.h"
#include "ui/view_panel.h"

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
    for (int i = 0; i < 5; ++i) {
        tabs_->addTab(panels[i], tabIcon(i), QString::fromLatin1(kTabLabels[i]));
    }
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
    QSize wanted = tabs_->sizeHint() + QSize(kTabLeft + kTabRight, kTabTop + kTabBottom);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableSize());
    resize(wanted);
    minimumSize_ = size();
    setMinimumSize(minimumSize_);
    tabs_->setGeometry(kTabLeft, kTabTop, width() - kTabLeft - kTabRight,
                       height() - kTabTop - kTabBottom);
    centreOnScreen();
    layoutReady_ = true;
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
    return tabs_->widget(tab);
}

void MainWindow::setPanel(int tab, QWidget* panel) {
    if (tab < 0 || tab >= tabs_->count() || !panel) return;
    const bool current = tabs_->currentIndex() == tab;
    QWidget* old = tabs_->widget(tab);
    QSignalBlocker block(tabs_);
    tabs_->removeTab(tab);
    tabs_->insertTab(tab, panel, tabIcon(tab), QString::fromLatin1(kTabLabels[tab]));
    if (current) tabs_->setCurrentIndex(tab);
    if (old != dataPanel_ && old != helpPanel_) old->deleteLater();
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
    if (start.settings.status == SettingsReadStatus::Read && start.settings.data.loaded())
        setWindowTitle(QString::fromStdString(start.settings.data.windowTitle()));
}

void MainWindow::centreOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized()) return;
    if (layoutReady_ && (width() < minimumSize_.width() || height() < minimumSize_.height())) {
        // Never smaller than at start: the attempt is undone and the window re-centred.
        resize(size().expandedTo(minimumSize_));
        centreOnScreen();
        return;
    }
    if (layoutReady_)
        tabs_->setGeometry(kTabLeft, kTabTop, width() - kTabLeft - kTabRight,
                           height() - kTabTop - kTabBottom);
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
            if (refreshRunPanel && tabs_ && watched == tabs_->widget(kRunTab)) refreshRunPanel();
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
    if (folderReady_) closeSession(state_.paths, session_->document(), platform_);
    event->accept();
}

}  // namespace quorvane
