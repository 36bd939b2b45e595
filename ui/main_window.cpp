#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFont>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/settings_file.h"
#include "model/working_folder.h"

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
    WorkingFolderResult folder = locateWorkingFolder(documentsFolder, platform_);
    if (!folder.ready()) return;
    folderReady_ = true;
    QDir::setCurrent(QString::fromStdString(folder.folder));
    state_.paths = makeAppPaths(folder.folder);
    DataDocument document = session_->document();
    SettingsReadResult read = readSettings(state_.paths, document, platform_);
    if (read.status == SettingsReadStatus::Read && read.data.loaded())
        setWindowTitle(QString::fromStdString("Quorvane - " + read.data.path));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A running simulation ends at its next look at the message queue.
    state_.runState.runFlag = false;
    platform_.requestClose();
    if (folderReady_) saveSettings(state_.paths, session_->document(), platform_);
    event->accept();
}

}  // namespace quorvane
