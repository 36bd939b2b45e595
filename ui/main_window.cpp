#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFont>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/start_close.h"
#include "views/report_template.h"

namespace quorvane {

MainWindow::MainWindow(AppState& state, QtPlatform& platform, const std::string& documentsFolder,
                       QWidget* parent)
    : QWidget(parent), state_(state), platform_(platform) {
    setWindowTitle("Quorvane");
    platform_.setParentWidget(this);

    // Every process start repeats the same random sequence.
    state_.random.SeedForStart();
    session_ = std::make_unique<Session>(state_, platform_);

    tabs_ = new QTabWidget(this);
    QFont tabFont("Times");
    tabFont.setPixelSize(20);
    tabFont.setWeight(QFont::DemiBold);
    tabs_->setFont(tabFont);
    for (const char* label : kTabLabels) {
        auto* panel = new QWidget(tabs_);
        tabs_->addTab(panel, QString::fromLatin1(label));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 10, 10, 10);
    layout->addWidget(tabs_);
    resize(1200, 800);

    startUp(documentsFolder);
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp(const std::string& documentsFolder) {
    if (documentsFolder.empty()) return;
    DataDocument document = session_->document();
    StartResult start = startSession(documentsFolder, document, platform_);
    if (!start.folder.ready()) return;
    folderReady_ = true;
    QDir::setCurrent(QString::fromStdString(start.folder.folder));
    state_.paths = start.paths;
    // "Save full report" works on a fresh machine; a template already there is the user's.
    installReportTemplate(state_.paths.templatePathFile);
    if (start.settings.status == SettingsReadStatus::Read && start.settings.data.loaded())
        setWindowTitle(QString::fromStdString(start.settings.data.windowTitle()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A running simulation ends at its next look at the message queue.
    state_.runState.runFlag = false;
    platform_.requestClose();
    if (folderReady_) closeSession(state_.paths, session_->document(), platform_);
    event->accept();
}

}  // namespace quorvane
