#pragma once
/// The About box of the window's own menu: the program's version and build.

#include <QString>

class QWidget;

namespace quorvane {

/// The box's text: version, commit, build type, build date and Qt version.
QString aboutBoxText();
void showAboutBox(QWidget* parent);

}  // namespace quorvane
