#include "ui/run_panel_drawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/cformat.h"

namespace quorvane {

namespace {

constexpr int kMarkRowHeight = 32;
constexpr int kMarkTop = 10;
constexpr int kMarkLabelWidth = 130;

/// A font whose character cell (ascent plus descent) is `height` pixels, as a
/// font height is counted on the desktop the labels were laid out for.
QFont cellFont(int height, QFont::Weight weight) {
    QFont font("Times");
    font.setWeight(weight);
    font.setPixelSize(height);
    const int cell = QFontMetrics(font).height();
    if (cell > height) font.setPixelSize(std::max(1, height * height / cell));
    return font;
}

QFont formulaFont(FormulaPiece::Style style) {
    return cellFont(style == FormulaPiece::Subscript ? 16 : 20,
                    style == FormulaPiece::Normal ? QFont::Medium : QFont::DemiBold);
}

/// The symbol font's letters as the Greek characters they stand for.
QString pieceText(const FormulaPiece& piece) {
    QString text = QString::fromStdString(piece.text);
    if (piece.style != FormulaPiece::Symbol) return text;
    static const QString latin = "ABGDEZHQIKLMNXOPRSTUFCYWabgdezhqiklmnxoprstufcyw";
    static const QString greek =
        QString::fromUtf8("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψω");
    for (QChar& c : text) {
        const int i = latin.indexOf(c);
        if (i >= 0) c = greek[i];
    }
    return text;
}

void drawFormulaAt(QPainter& p, int x, int centreY, const Formula& formula) {
    const QFont normal = formulaFont(FormulaPiece::Normal);
    const QFontMetrics metrics(normal);
    const int baseline = centreY + (metrics.ascent() - metrics.descent()) / 2;
    p.save();
    p.setPen(Qt::black);
    for (const FormulaPiece& piece : formula) {
        const QFont font = formulaFont(piece.style);
        p.setFont(font);
        const QString text = pieceText(piece);
        // Sub- and superscripts sit 5 pixels off the line.
        p.drawText(x, baseline + (piece.style == FormulaPiece::Subscript ? 5 : 0), text);
        x += QFontMetrics(font).horizontalAdvance(text);
    }
    p.restore();
}

}  // namespace

QSize measureFormula(const Formula& formula) {
    int width = 0, height = 0;
    for (const FormulaPiece& piece : formula) {
        const QFontMetrics metrics(formulaFont(piece.style));
        width += metrics.horizontalAdvance(pieceText(piece));
        height =
            std::max(height, metrics.height() + (piece.style == FormulaPiece::Subscript ? 5 : 0));
    }
    return {width, height};
}

void drawFormulaLeftOf(QPainter& p, const QRect& control, const Formula& formula) {
    const QSize size = measureFormula(formula);
    drawFormulaAt(p, control.left() - 3 - size.width(), control.center().y(), formula);
}

void drawFormulaRightOf(QPainter& p, const QRect& control, const Formula& formula) {
    drawFormulaAt(p, control.right() + 1 + 3, control.center().y(), formula);
}

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

std::string markLabel(double value) {
    std::string text = cformat("%.2g", value);
    const auto e = text.find('e');
    if (e == std::string::npos) return text;
    std::string exponent = text.substr(e + 1);
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    return text.substr(0, e + 1) + (negative ? "-" : "") + exponent;
}

int planMarksBottom(const QRect& list, const ExperimentPlan& plan) {
    const int kinds = static_cast<int>(plan.parameters().size());
    return list.bottom() + (kinds > 0 ? kMarkTop + kinds * kMarkRowHeight : 0);
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
        const int axisY = list.bottom() + kMarkTop + row * kMarkRowHeight + 10;
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
        // Every value as a blue tick; numbers only where they do not overlap.
        int lastLabelRight = -100000;
        for (double v : values) {
            const int x = xOf(v);
            p.setPen(QColor(0, 0, 255));
            p.drawLine(x, axisY, x, axisY - 4);
            const QString text = QString::fromStdString(markLabel(v));
            const int w = metrics.horizontalAdvance(text);
            const bool ends = v == lo || v == hi;
            if (x - w / 2 > lastLabelRight + 4 || ends) {
                if (!(ends && x - w / 2 <= lastLabelRight + 4 && v == hi && values.size() > 1)) {
                    p.drawText(x - w / 2, axisY + metrics.ascent() + 1, text);
                    lastLabelRight = x + w / 2;
                }
            }
        }
        // The value the next run uses.
        const int x = xOf(par.current);
        p.setPen(QPen(QColor(255, 0, 0), 2));
        p.drawLine(x, axisY + 2, x, axisY - 9);
        const QString current = QString::fromStdString(markLabel(par.current));
        p.drawText(x + 3, axisY - 3, current);
    }
    p.restore();
}

void drawProbabilityChartPlain(QPainter& p, const QRect& area, const ProbabilityChart& chart) {
    p.save();
    p.fillRect(area, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(area);
    const QRect plot = area.adjusted(60, 30, -20, -45);
    p.drawRect(plot);
    const size_t n = chart.contactFraction.size();
    const double yMin = chart.yMin, yMax = chart.yMax > chart.yMin ? chart.yMax : chart.yMin + 1;
    auto point = [&](double x, double y) {
        return QPointF(plot.left() + x * plot.width(),
                       plot.bottom() - (y - yMin) / (yMax - yMin) * plot.height());
    };
    auto curve = [&](const std::vector<double>& ys, const QColor& colour) {
        QPainterPath path;
        for (size_t i = 0; i < n && i < ys.size(); ++i) {
            const QPointF pt = point(chart.contactFraction[i], ys[i]);
            if (i == 0) {
                path.moveTo(pt);
            } else {
                path.lineTo(pt);
            }
        }
        p.setPen(QPen(colour, 2));
        p.drawPath(path);
    };
    p.setClipRect(plot.adjusted(-2, -2, 2, 2));
    curve(chart.outProbability, QColor(200, 0, 0));
    curve(chart.inProbability, QColor(0, 0, 200));
    p.setClipping(false);
    QFont font("Times");
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(area.left(), plot.bottom() + 8, area.width(), 18), Qt::AlignCenter,
               QString::fromStdString(chart.xTitle));
    p.setPen(QColor(200, 0, 0));
    p.drawText(plot.left() + 8, area.top() + 20, QString::fromStdString(chart.outTitle));
    p.setPen(QColor(0, 0, 200));
    p.drawText(plot.center().x(), area.top() + 20, QString::fromStdString(chart.inTitle));
    p.setPen(Qt::black);
    p.drawText(QRect(area.left(), plot.top() - 8, 56, 16), Qt::AlignRight,
               QString::fromStdString(markLabel(yMax)));
    p.drawText(QRect(area.left(), plot.bottom() - 8, 56, 16), Qt::AlignRight,
               QString::fromStdString(markLabel(yMin)));
    p.restore();
}

}  // namespace quorvane
