#pragma once
/// The program's own pictures: the five 32 x 32 tab icons and the window
/// icon, drawn in code so that they scale and need no resource files.

#include <QIcon>

namespace quorvane {

/// Icon of tab `index` (0 Data table, 1 Run, 2 surface View, 3 Results chart,
/// 4 Help); an empty icon for any other index.
QIcon tabIcon(int index);
/// The window icon: a growing face of box-shaped molecules.
QIcon programIcon();

}  // namespace quorvane
