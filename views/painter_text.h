#pragma once
/// Text helpers shared by the painters: the core's Windows-1252 texts as Qt
/// strings, the program's fonts, and text placed by its top-left corner as the
/// pictures' geometry counts it.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <string>

namespace quorvane::views {

/// The core keeps its texts as Windows-1252 bytes (0xB1 is the plus-minus sign).
QString fromWindows1252(const std::string& text);

/// The face every chart writes in.
inline constexpr const char* kChartFamily = "Times";

/// A font of the given family whose character cell is `height` pixels high, at
/// a weight on the 100..900 scale.
QFont makeFont(const char* family, int height, int weight);

/// Writes `text` with the top-left corner of its cell at (x, y); returns its width.
int drawTextTopLeft(QPainter& painter, int x, int y, const QString& text);

/// Writes `text` turned 90 degrees counter-clockwise (reading upward), starting
/// at (x, y): the text runs up from y and its cell lies right of x.
void drawTextUpward(QPainter& painter, int x, int y, const QString& text);

/// Width of `text` in the painter's current font.
int textWidth(const QPainter& painter, const QString& text);

/// A polyline 2 pixels thick in `colour`: two one-pixel lines, the second moved a
/// pixel right and down. The raster engine draws one-pixel lines directly, while a
/// wide pen goes through its stroker, many times slower on long curves.
void drawThickPolyline(QPainter& painter, const QPoint* points, int count, const QColor& colour);

/// Restores the painter's state on leaving a scope.
class PainterSaver {
  public:
    explicit PainterSaver(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~PainterSaver() { painter_.restore(); }
    PainterSaver(const PainterSaver&) = delete;
    PainterSaver& operator=(const PainterSaver&) = delete;

  private:
    QPainter& painter_;
};

}  // namespace quorvane::views
