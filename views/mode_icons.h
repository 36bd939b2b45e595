#pragma once
/// The View panel's mode icons beyond their strip: the mark of the selected
/// mode, and what each mode shows and which keys move its camera, for the
/// icon's tooltip and for a screen reader.

#include <QPainter>
#include <QRect>
#include <string>

#include "views/surface_pictures.h"

namespace quorvane::views {

/// Draws the three icons at `rects` (from `modeIconRects`) on a light backing,
/// so that they show on any picture, with the icon of `selected` marked.
void paintModeIcons(QPainter& painter, const std::array<QRect, 3>& rects, PictureMode selected);

/// The picture a mode shows, e.g. "Map: the face seen from above, one grey per height".
std::string modeDescription(PictureMode mode);
/// The tooltip of a mode's icon: the mode, its key and the camera keys.
std::string modeIconTip(PictureMode mode);

}  // namespace quorvane::views
