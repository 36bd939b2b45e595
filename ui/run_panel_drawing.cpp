#include "ui/run_panel_drawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "views/chart_frame.h"

namespace quorvane {

namespace {

/// Lines of marks: roomy for a few kinds, closer for many.
int markRowHeight(const ExperimentPlan& plan) {
    return plan.parameters().size() > 4 ? 24 : 32;
}
constexpr int kMarkTop = 10;
constexpr int kMarkLabelWidth = 130;

}  // namespace

void drawGroupFrame(QPainter& p, const char* caption, const QRect& frame, const QColor& colour,
                    int penWidth) {
    p.save();
    p.setPen(QPen(colour, penWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    p.setPen(Qt::black);
    p.drawText(frame.left() + 5, frame.top() - 2, QString::fromLatin1(caption));
    p.restore();
}

int planMarksBottom(const QRect& list, const ExperimentPlan& plan) {
    const int kinds = static_cast<int>(plan.parameters().size());
    return list.bottom() + (kinds > 0 ? kMarkTop + kinds * markRowHeight(plan) : 0);
}

void drawPlanValueMarks(QPainter& p, const QRect& list, const ExperimentPlan& plan) {
    p.save();
    QFont small("Times");
    small.setPixelSize(13);
    p.setFont(small);
    const QFontMetrics metrics(small);
    const int left = list.left() + kMarkLabelWidth, right = list.right() - 20;
    int row = 0;
    for (const parameter& par : plan.parameters()) {
        const int axisY = list.bottom() + kMarkTop + row * markRowHeight(plan) + 10;
        ++row;
        std::vector<double> values = plan.valuesOfKind(par.kind);
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        p.setPen(Qt::black);
        p.drawText(QRect(list.left(), axisY - 9, kMarkLabelWidth - 8, 18),
                   Qt::AlignRight | Qt::AlignVCenter, planKindLabel(par.kind));
        p.setPen(QColor(120, 120, 120));
        p.drawLine(left, axisY, right, axisY);
        if (values.empty()) continue;
        const double lo = values.front(), hi = values.back();
        auto xOf = [&](double v) {
            return hi > lo
                       ? left + static_cast<int>(std::lround((v - lo) / (hi - lo) * (right - left)))
                       : (left + right) / 2;
        };
        // Every value as a blue mark, numbered where the number does not
        // overlap the one before.
        p.setPen(QColor(0, 0, 255));
        int lastLabelRight = -100000;
        for (size_t i = 0; i < values.size(); ++i) {
            const int x = xOf(values[i]);
            const int w =
                metrics.horizontalAdvance(QString::fromStdString(views::markLabel(values[i])));
            if (x - w / 2 > lastLabelRight + 4) {
                views::drawNumberMark(p, values[i], x, axisY);
                lastLabelRight = x + w / 2;
            } else {
                p.drawLine(x, axisY, x, axisY - 4);
            }
        }
        // The value the next run uses.
        const int x = xOf(par.current);
        p.setPen(QPen(QColor(255, 0, 0), 2));
        p.drawLine(x, axisY + 2, x, axisY - 9);
        p.drawText(x + 3, axisY - 3, QString::fromStdString(views::markLabel(par.current)));
    }
    p.restore();
}

}  // namespace quorvane
