// The desktop program: one window over the shared core.

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/version/version.h"
#include "experiments/app_state.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/window_memory.h"

namespace {

bool displayAvailable() {
    if (std::getenv("QT_QPA_PLATFORM")) return true;  // the user chose a platform
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quorvane %s\n", quorvane::versionText().c_str());
            return 0;
        }
    }
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "quorvane: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is "
                     "set).\nStart it from a desktop session, or use build/bin/quorvane-batch "
                     "for runs without a screen.\n");
        return 1;
    }
    QApplication application(argc, argv);
    // The window's place, its last panel and the plan are kept under these names.
    QCoreApplication::setOrganizationName("Quorvane");
    QCoreApplication::setApplicationName("quorvane");
    // Qt takes the user's locale at start-up; numbers in files must not.
    std::setlocale(LC_NUMERIC, "C");

    quorvane::AppState state;
    quorvane::QtPlatform platform;
    const std::string documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    quorvane::MainWindow window(state, platform, documents);
    QSettings settings;
    quorvane::WindowMemory memory(window, settings);
    window.show();
    return application.exec();
}
