#include "views/run_panel_picture.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "views/chart_frame.h"
#include "views/formula_text.h"
#include "views/painter_text.h"
#include "views/probability_charts.h"

namespace quorvane::views {
namespace {

/// Lines of marks: roomy for a few kinds, closer for many.
int markRowHeight(std::size_t rows) {
    return rows > 4 ? 24 : 32;
}
constexpr int kMarkTop = 10;
constexpr int kMarkLabelWidth = 130;

/// A rectangle outline in its pen with the caption 5 pixels right of its left
/// edge, the caption's baseline 2 pixels above the top edge.
void paintGroupFrame(QPainter& p, const char* caption, const QRect& frame, const QColor& colour,
                     int penWidth, const QColor& text) {
    PainterSaver saver(p);
    p.setPen(QPen(colour, penWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    p.setPen(text);
    p.drawText(frame.left() + 5, frame.top() - 2, QString::fromLatin1(caption));
}

void paintFrames(QPainter& p, const RunPanelPictureInputs& in) {
    const RunPanelPlaces& at = in.places;
    const QRect& w = at.width;
    const QRect& h = at.height;
    const QRect& n = at.jumps;
    const QRect& stop = at.neverStop;
    const QRect& list = at.planList;
    // The area frame holds both size edits, whichever of them stands higher.
    const int areaTop = std::min(w.top(), h.top());
    auto frame = [&](const char* caption, QPoint a, QPoint b, QColor colour, int pen) {
        paintGroupFrame(p, caption, QRect(a, b), colour, pen, Qt::black);
    };
    frame("Parameters of simulation:", {w.left() - 85, w.top() - 40},
          {w.left() + 500, w.top() + 600}, QColor(50, 200, 25), 3);
    frame("Area of simulation", {h.left() - 75, areaTop - 10}, {h.left() + 495, areaTop + 80},
          QColor(50, 105, 25), 2);
    frame("Parameters of incorporating molecule into crystal", {n.left() - 75, n.top() - 10},
          {n.left() + 495, n.top() + 110}, QColor(150, 105, 25), 2);
    frame("Conditions to stop of simulation:", {stop.left() - 20, stop.top() - 10},
          {stop.left() + 450, stop.top() + 170}, QColor(0, 0, 255), 2);
    frame("Experimental plan:", {list.left() - 10, list.top() - 40},
          {list.right() + 5, planMarksBottom(list, in.marks.size()) + 7}, QColor(0, 105, 0), 2);
}

void paintLabels(QPainter& p, const RunPanelPictureInputs& in) {
    const RunPanelPlaces& at = in.places;
    FormulaText f;
    p.setPen(Qt::black);
    auto sides = [&](const QRect& control, const QString& label, const QString& unit) {
        f.clear();
        f.normal(label).drawLeftOf(p, control);
        f.clear();
        f.normal(unit).drawRightOf(p, control);
    };
    sides(at.width, "Width = ", "(molecules)");
    sides(at.height, "Height = ", "(molecules)");
    sides(at.jumps, " N = ", "(average jumps into crystal per step)");
    sides(at.probability, "P = ", "(probability to jump into for one molecule)");
    f.clear();
    f.symbol("D").normal("t").sub("step").normal(" = ").drawLeftOf(p, at.timeStep);
    f.clear();
    f.normal("(" + QString::fromStdString(in.timeUnit) + ")").drawRightOf(p, at.timeStep);
    if (!in.limitsShown) return;
    p.setPen(in.text);
    const std::pair<QRect, const char*> units[] = {
        {at.layersLimit, "(layers established growth)"},
        {at.timeLimit, "(minutes)"},
        {at.firstLayerLimit, "(minutes first layer is not filled)"}};
    for (const auto& [r, text] : units)
        p.drawText(QRect(r.right() + 4, r.top(), 400, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   text);
}

void paintChart(QPainter& p, const RunPanelPictureInputs& in) {
    PainterSaver saver(p);
    p.fillRect(in.chartArea, Qt::white);
    p.setPen(Qt::black);
    if (in.chart)
        paintProbabilityChart(p, in.chartArea, *in.chart);
    else
        p.drawRect(in.chartArea);
}

/// One kind's line of marks at height `axisY`.
void paintMarkRow(QPainter& p, const QFontMetrics& metrics, const QRect& list,
                  const PlanMarkRow& row, int axisY) {
    const int left = list.left() + kMarkLabelWidth, right = list.right() - 20;
    p.setPen(Qt::black);
    p.drawText(QRect(list.left(), axisY - 9, kMarkLabelWidth - 8, 18),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(row.label));
    p.setPen(QColor(120, 120, 120));
    p.drawLine(left, axisY, right, axisY);
    if (row.values.empty()) return;
    const double lo = row.values.front(), hi = row.values.back();
    auto xOf = [&](double v) {
        return hi > lo ? left + static_cast<int>(std::lround((v - lo) / (hi - lo) * (right - left)))
                       : (left + right) / 2;
    };
    // Every value as a blue mark, numbered where the number does not overlap
    // the one before.
    p.setPen(QColor(0, 0, 255));
    int lastLabelRight = -100000;
    for (const double v : row.values) {
        const int x = xOf(v);
        const int w = metrics.horizontalAdvance(QString::fromStdString(markLabel(v)));
        if (x - w / 2 > lastLabelRight + 4) {
            drawNumberMark(p, v, x, axisY);
            lastLabelRight = x + w / 2;
        } else {
            p.drawLine(x, axisY, x, axisY - 4);
        }
    }
    // The value the next run uses.
    const int x = xOf(row.current);
    p.setPen(QPen(QColor(255, 0, 0), 2));
    p.drawLine(x, axisY + 2, x, axisY - 9);
    p.drawText(x + 3, axisY - 3, QString::fromStdString(markLabel(row.current)));
}

}  // namespace

int planMarksBottom(const QRect& list, std::size_t rows) {
    return list.bottom() + (rows > 0 ? kMarkTop + static_cast<int>(rows) * markRowHeight(rows) : 0);
}

void paintPlanValueMarks(QPainter& p, const QRect& list, const std::vector<PlanMarkRow>& rows) {
    PainterSaver saver(p);
    QFont small("Times");
    small.setPixelSize(13);
    p.setFont(small);
    const QFontMetrics metrics(small);
    for (std::size_t i = 0; i < rows.size(); ++i)
        paintMarkRow(
            p, metrics, list, rows[i],
            list.bottom() + kMarkTop + static_cast<int>(i) * markRowHeight(rows.size()) + 10);
}

void paintRunPanelPicture(QPainter& painter, const RunPanelPictureInputs& inputs) {
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(inputs.font);
    paintFrames(painter, inputs);
    paintLabels(painter, inputs);
    paintPlanValueMarks(painter, inputs.places.planList, inputs.marks);
    paintChart(painter, inputs);
}

}  // namespace quorvane::views
