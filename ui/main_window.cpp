#include "ui/main_window.h"

#include <QFont>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quorvane {

MainWindow::MainWindow(AppState& state, QtPlatform& platform, QWidget* parent)
    : QWidget(parent), state_(state), platform_(platform) {
    setWindowTitle("Quorvane");
    platform_.setParentWidget(this);

    // Every process start repeats the same random sequence.
    state_.random.SeedForStart();

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
}

}  // namespace quorvane
