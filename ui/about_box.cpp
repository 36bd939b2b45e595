#include "ui/about_box.h"

#include <QMessageBox>

#include "common/version/version.h"
#include "ui/tab_icons.h"

#ifndef QUORVANE_BUILD_TYPE
#define QUORVANE_BUILD_TYPE ""
#endif

namespace quorvane {

QString aboutBoxText() {
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

void showAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle("About Quorvane");
    box.setIconPixmap(programIcon().pixmap(48, 48));
    box.setTextFormat(Qt::PlainText);
    box.setText(aboutBoxText());
    box.exec();
}

}  // namespace quorvane
