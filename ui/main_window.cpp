#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFont>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include <cmath>

#include "common/version/version.h"
#include "model/start_close.h"
#include "ui/data_panel.h"
#include "ui/help_panel.h"
#include "ui/live_redraw.h"
#include "ui/results_panel.h"
#include "ui/run_panel.h"
#include "ui/tab_icons.h"
#include "ui/view_panel.h"

#ifndef QUORVANE_BUILD_TYPE
#define QUORVANE_BUILD_TYPE ""
#endif
#include "views/report_fields.h"
#include "views/report_full.h"
#include "views/report_run.h"
#include "views/report_template.h"

namespace quorvane {

namespace {

// The tab control lies 3 pixels from the left, 10 from the top and right,
// and 36 above the bottom edge of the window.
constexpr int kTabLeft = 3, kTabTop = 10, kTabRight = 10, kTabBottom = 36;

/// The factor the held keys ask for: the highest digit 2..9 held, or the
/// square root of 2 while "O" is held; 1 when none is.
double factorFromKeys(const QSet<int>& keys) {
    double factor = 1;
    for (int digit = 2; digit <= 9; ++digit)
        if (keys.contains(Qt::Key_0 + digit)) factor = digit;
    if (keys.contains(Qt::Key_O)) factor = std::sqrt(2.0);
    return factor;
}

/// The key as the window keeps it: keypad digits apart from the digit row,
/// since only the row's digits scale sizes and only the keypad's turn the camera.
int keyCode(const QKeyEvent& key) {
    const int code = key.key();
    const bool digit = code >= Qt::Key_0 && code <= Qt::Key_9;
    return digit && (key.modifiers() & Qt::KeypadModifier) ? code | MainWindow::kKeypadBit : code;
}

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

QString MainWindow::aboutText() {
    const std::string commit = buildCommit();
    const QString build =
        commit.empty() ? QString("no commit id") : "commit " + QString::fromStdString(commit);
    const QString type = QString(QUORVANE_BUILD_TYPE);
    return QString(
               "Quorvane, version %1\nBuild: %2%3, %4 %5 (Qt %6)\n\n"
               "Monte Carlo simulation of the growth of a crystal face\n"
               "built of box-shaped molecules.")
        .arg(QString::fromStdString(versionNumber()), build,
             type.isEmpty() ? QString() : ", " + type, __DATE__, __TIME__, qVersion());
}

void MainWindow::showAbout() {
    QMessageBox box(this);
    box.setWindowTitle("About Quorvane");
    box.setIconPixmap(programIcon().pixmap(48, 48));
    box.setTextFormat(Qt::PlainText);
    box.setText(aboutText());
    box.exec();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The window's own menu (the right mouse button on the tabs or on a free
    // part of a panel) carries the About box.
    QMenu menu(this);
    menu.addAction("&About Quorvane...", this, &MainWindow::showAbout);
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

bool MainWindow::scaleFocusedSize(const QKeyEvent& key, QWidget* target) {
    if (tabs_->currentWidget() != dataPanel_) return false;
    const int field = dataPanel_->sizeControlOf(target);
    if (field == 0) return false;
    const double factor = factorFromKeys(keysDown_);
    if (factor < 1.1 || factor > 9) return false;
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    const bool alt = key.modifiers() & Qt::AltModifier;
    if (!ctrl && !alt) return false;
    if (ctrl) dataPanel_->scaleSize(field, 1, factor);
    if (alt) dataPanel_->scaleSize(field, 0, factor);
    return true;
}

views::CameraKeys MainWindow::cameraKeysOf(const QSet<int>& keys, Qt::KeyboardModifiers modifiers) {
    views::CameraKeys k;
    k.up = keys.contains(Qt::Key_Up);
    k.down = keys.contains(Qt::Key_Down);
    k.left = keys.contains(Qt::Key_Left);
    k.right = keys.contains(Qt::Key_Right);
    auto pad = [&keys](int digit) { return keys.contains((Qt::Key_0 + digit) | kKeypadBit); };
    k.pad1 = pad(1);
    k.pad2 = pad(2);
    k.pad3 = pad(3);
    k.pad4 = pad(4);
    k.pad6 = pad(6);
    k.pad7 = pad(7);
    k.pad8 = pad(8);
    k.pad9 = pad(9);
    k.control = modifiers & Qt::ControlModifier;
    k.alt = modifiers & Qt::AltModifier;
    k.s = keys.contains(Qt::Key_S);
    k.r = keys.contains(Qt::Key_R);
    return k;
}

bool MainWindow::forwardCameraKeys(Qt::KeyboardModifiers modifiers) {
    if (tabs_->currentIndex() != kViewTab) return false;
    QWidget* view = tabs_->currentWidget();
    bool used = false;
    if (cameraKeys && cameraKeys(cameraKeysOf(keysDown_, modifiers))) {
        view->repaint();
        used = true;
    }
    if (cameraReset && keysDown_.contains(Qt::Key_I)) {
        cameraReset();
        view->repaint();
        used = true;
    }
    return used;
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
            keysDown_.clear();
            break;
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) keysDown_.remove(keyCode(*key));
            break;
        }
        case QEvent::KeyPress:
            if (keyPressed(watched, static_cast<QKeyEvent*>(event))) return true;
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::keyPressed(QObject* watched, QKeyEvent* key) {
    // Keys typed anywhere in this window, before the widget sees them.
    if (!watched->isWidgetType()) return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target != this && !isAncestorOf(target)) return false;
    if (travelling(*key, target)) return false;
    lastKey_ = {key, key->key(), key->timestamp(), target};
    keysDown_.insert(keyCode(*key));
    if (scaleFocusedSize(*key, target)) return true;
    if (tabs_->currentWidget() == dataPanel_ && dataPanel_->copyKey(*key, target)) return true;
    return forwardCameraKeys(key->modifiers());
}

bool MainWindow::travelling(const QKeyEvent& key, const QWidget* target) const {
    // A key no widget takes travels up to the parents, through this filter
    // again each time: it is acted on once, where it arrived.
    return &key == lastKey_.event && key.key() == lastKey_.key &&
           key.timestamp() == lastKey_.timestamp && lastKey_.receiver &&
           target != lastKey_.receiver && target->isAncestorOf(lastKey_.receiver);
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
