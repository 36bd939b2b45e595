// Charts of the theoretical predictions against temperature.

#include "views/temperature_charts.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/cformat.h"
#include "model/units.h"
#include "views/chart_frame.h"
#include "views/painter_text.h"

namespace quorvane::views {

namespace {

const QColor kRateColour(128, 0, 128);
const QColor kRoughnessColour(0, 0, 255);
const QColor kPorosityColour(200, 120, 0);
const QColor kGridColour(200, 200, 200);

enum class Group { Rate, Roughness, Porosity };

const std::vector<double>& valuesOf(const HalvikCurve& curve, Group group) {
    switch (group) {
        case Group::Roughness:
            return curve.roughness;
        case Group::Porosity:
            return curve.porosity;
        case Group::Rate:
            break;
    }
    return curve.rate;
}

// The finite range of a group over the chosen directions, with room above and below.
bool groupRange(const TemperatureSweep& sweep, Group group, const std::array<bool, 3>& directions,
                double scale, double& y0, double& y1) {
    double low = INFINITY, high = -INFINITY;
    for (std::size_t d = 0; d < 3; ++d) {
        if (!directions[d]) continue;
        for (const double v : valuesOf(sweep.curves[d], group))
            if (std::isfinite(v)) low = std::min(low, v / scale), high = std::max(high, v / scale);
    }
    if (!(low <= high)) return false;
    double span = high - low;
    if (span <= std::abs(high) * 1e-12) span = std::max(std::abs(high) * 0.1, 1e-12);
    y0 = low - 0.03 * span;
    y1 = high + 0.08 * span;
    return true;
}

void drawGroupCurves(QPainter& painter, ChartFrame& frame, const TemperatureSweep& sweep,
                     Group group, const std::array<bool, 3>& directions, double scale,
                     const QColor* single) {
    static const Qt::PenStyle kStyles[3] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine};
    for (std::size_t d = 0; d < 3; ++d) {
        if (!directions[d]) continue;
        const std::vector<double>& values = valuesOf(sweep.curves[d], group);
        QPolygon line;
        for (std::size_t i = 0; i < values.size() && i < sweep.temperature.size(); ++i)
            if (std::isfinite(values[i]))
                line.append(frame.map(sweep.temperature[i], values[i] / scale));
        // Equal directions (a cube) lie on one another: the styles keep them apart.
        const QColor colour = single ? *single : directionColour(static_cast<int>(d));
        painter.setPen(QPen(colour, 2, kStyles[d]));
        painter.drawPolyline(line);
    }
}

void drawTemperatureAxis(QPainter& painter, const ChartFrame& frame, const QRect& area,
                         const std::string& unit) {
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(frame.px0, frame.py0, frame.px1, frame.py0);
    painter.setPen(Qt::black);
    // Temperatures keep their digits: 1650 rather than 1.65e+3. The numbers stay
    // right of the value axes and inside the picture.
    drawTimeAxis(painter, frame, frame.py0, QPen(kGridColour, 1, Qt::DashLine), 5, 1, "%.6g",
                 area.right() - 2, frame.px0 - 4);
    const QString title = fromWindows1252(cformat("Temperature, %s", unit.c_str()));
    drawTextTopLeft(painter, frame.px1 - textWidth(painter, title) - 10,
                    frame.py0 + painter.fontMetrics().height() + 6, title);
}

// The legend of the three directions (or of their line styles) at the top right.
void drawDirectionLegend(QPainter& painter, const QRect& area,
                         const std::array<bool, 3>& directions, bool styles) {
    static const char* kNames[3] = {"A (growth direction)", "B", "C"};
    static const Qt::PenStyle kStyles[3] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine};
    int x = area.right() - 10;
    const int y = area.top() + 4;
    for (int d = 2; d >= 0; --d) {
        if (!directions[static_cast<std::size_t>(d)]) continue;
        const QString name = QString::fromLatin1(kNames[d]);
        x -= textWidth(painter, name);
        const QColor colour = styles ? QColor(Qt::black) : directionColour(d);
        painter.setPen(colour);
        drawTextTopLeft(painter, x, y, name);
        painter.setPen(QPen(colour, 2, kStyles[d]));
        const int lineY = y + painter.fontMetrics().height() / 2;
        painter.drawLine(x - 30, lineY, x - 5, lineY);
        x -= 45;
    }
}

struct GroupSpec {
    Group group;
    QColor colour;
    std::string title;
    double scale;
};

std::vector<GroupSpec> overlaidGroups(const TemperatureChartInputs& in) {
    const bool theoretical = in.kind == TemperatureChartKind::Theoretical;
    std::vector<GroupSpec> groups;
    if (in.showRates) {
        if (theoretical) {
            const int e = rateExponent(*in.sweep, in.directions);
            groups.push_back(
                {Group::Rate, kRateColour,
                 cformat("Growth rate, 1e%d %s/%s", e, in.lengthUnit.c_str(), in.timeUnit.c_str()),
                 std::pow(10.0, e)});
        } else {
            groups.push_back(
                {Group::Rate, kRateColour,
                 cformat("Velocity, %s/%s", in.lengthUnit.c_str(), in.timeUnit.c_str()), 1});
        }
    }
    if (in.showRoughness)
        groups.push_back({Group::Roughness, kRoughnessColour,
                          theoretical ? "Rouphness, (layers)" : "Roughness, (layers)", 1});
    if (in.showPorosity)
        groups.push_back({Group::Porosity, kPorosityColour,
                          cformat(theoretical ? "Porocity, (%s)" : "Porosity, (%s)",
                                  in.concentrationUnit.c_str()),
                          1});
    return groups;
}

void paintOverlaid(QPainter& painter, const QRect& area, const TemperatureChartInputs& in) {
    const TemperatureSweep& sweep = *in.sweep;
    const std::vector<GroupSpec> groups = overlaidGroups(in);
    painter.setFont(tickLabelFont());
    const int lineHeight = painter.fontMetrics().height();
    ChartFrame frame;
    frame.setPixels(area.left() + 10, area.bottom() - 2 * lineHeight - 10, area.right() - 20,
                    area.top() + lineHeight + 14);
    frame.setXRange(sweep.temperature.back(), sweep.temperature.front());
    if (frame.x0 > frame.x1) frame.setXRange(frame.x1, frame.x0);
    // Axis columns: each title upward 15 pixels left of its axis, its labels right of it.
    int x = area.left() + 4;
    std::vector<std::pair<double, double>> ranges;
    for (const GroupSpec& g : groups) {
        double y0 = 0, y1 = 1;
        if (!groupRange(sweep, g.group, in.directions, g.scale, y0, y1)) y0 = 0, y1 = 1;
        ranges.emplace_back(y0, y1);
        frame.setYRange(y0, y1);
        painter.setFont(axisTitleFont());
        const QString title = fromWindows1252(compactTitle(g.title));
        const int titleHeight = painter.fontMetrics().height();
        const int axisX = x + titleHeight + 15;
        // The title's upper end at the height of 85 % of the range, kept inside the area.
        const int width = textWidth(painter, title);
        const int top = std::max(frame.pixelY(y0 + 0.85 * (y1 - y0)), area.top() + 2);
        const int bottom = std::min(top + width, area.bottom() - 2);
        painter.setPen(g.colour);
        drawTextUpward(painter, x, bottom, title);
        painter.setFont(tickLabelFont());
        const int widest = drawVerticalAxis(painter, frame, axisX, QPen(g.colour, 2));
        x = axisX + 6 + widest + 6;
    }
    frame.setPixels(x + 4, frame.py0, frame.px1, frame.py1);
    for (std::size_t k = 0; k < groups.size(); ++k) {
        frame.setYRange(ranges[k].first, ranges[k].second);
        drawGroupCurves(painter, frame, sweep, groups[k].group, in.directions, groups[k].scale,
                        &groups[k].colour);
    }
    painter.setFont(tickLabelFont());
    drawTemperatureAxis(painter, frame, area, in.temperatureUnit);
    const int shown =
        static_cast<int>(std::count(in.directions.begin(), in.directions.end(), true));
    if (shown > 1) drawDirectionLegend(painter, area, in.directions, true);
}

void paintStacked(QPainter& painter, const QRect& area, const TemperatureChartInputs& in) {
    const TemperatureSweep& sweep = *in.sweep;
    const std::array<bool, 3> all{true, true, true};
    painter.setFont(axisTitleFont());
    painter.setPen(Qt::black);
    drawTextTopLeft(painter, area.left() + 10, area.top() + 4, QStringLiteral("Growth rate"));
    const int lineHeight = painter.fontMetrics().height();
    painter.setFont(tickLabelFont());
    drawDirectionLegend(painter, area, all, false);
    const struct {
        Group group;
        std::string title;
    } panels[3] = {
        {Group::Rate, cformat("Growth rate, %s/%s", in.lengthUnit.c_str(), in.timeUnit.c_str())},
        {Group::Roughness, "Roughness, layers"},
        {Group::Porosity, cformat("Porosity, %s", in.concentrationUnit.c_str())},
    };
    const int top = area.top() + lineHeight + 14;
    const int bottom = area.bottom() - 2 * lineHeight - 10;
    const int gap = 16;
    const int height = (bottom - top - 2 * gap) / 3;
    const int left = area.left() + 110, right = area.right() - 20;
    for (int p = 0; p < 3; ++p) {
        ChartFrame frame;
        const int panelTop = top + p * (height + gap);
        frame.setPixels(left, panelTop + height, right, panelTop);
        frame.setXRange(sweep.temperature.back(), sweep.temperature.front());
        if (frame.x0 > frame.x1) frame.setXRange(frame.x1, frame.x0);
        double y0 = 0, y1 = 1;
        if (!groupRange(sweep, panels[p].group, all, 1, y0, y1)) y0 = 0, y1 = 1;
        frame.setYRange(y0, y1);
        painter.setPen(QColor(Qt::black));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(left, panelTop), QPoint(right, panelTop + height)));
        painter.setFont(axisTitleFont());
        const QString title = fromWindows1252(panels[p].title);
        drawTextUpward(painter, area.left() + 4,
                       panelTop + (height + textWidth(painter, title)) / 2, title);
        // Labels of the value axis sit left of the panel: drawn from a column of
        // their own 85 pixels wide.
        painter.setFont(tickLabelFont());
        drawVerticalAxis(painter, frame, area.left() + 8 + lineHeight, QPen(Qt::black, 1), 6, 4);
        drawGroupCurves(painter, frame, sweep, panels[p].group, all, 1, nullptr);
        if (p == 2)
            drawTemperatureAxis(painter, frame, area, in.temperatureUnit);
        else {
            painter.setPen(Qt::black);
            drawTimeAxis(painter, frame, frame.py0, QPen(kGridColour, 1, Qt::DashLine), 5, 1,
                         nullptr);
        }
    }
}

}  // namespace

QColor directionColour(int direction) {
    switch (direction) {
        case 0:
            return {200, 0, 0};
        case 1:
            return {0, 140, 0};
        default:
            return {0, 0, 220};
    }
}

TemperatureChartInputs temperatureChartInputs(const PhysicalData& data,
                                              const TemperatureSweep& sweep,
                                              TemperatureChartKind kind) {
    TemperatureChartInputs in;
    in.sweep = &sweep;
    in.kind = kind;
    in.showRates = data.Chart_show_curves[0] != 0;
    in.showRoughness = data.Chart_show_curves[1] != 0;
    in.showPorosity = data.Chart_show_curves[2] != 0;
    in.lengthUnit = unitShortName(UnitKind::Length, data.dimension);
    in.timeUnit = unitShortName(UnitKind::Time, data.time);
    in.concentrationUnit = unitShortName(UnitKind::Concentration, data.concentration);
    in.temperatureUnit = unitShortName(UnitKind::Temperature, data.temperature);
    return in;
}

int rateExponent(const TemperatureSweep& sweep, const std::array<bool, 3>& directions) {
    double largest = 0;
    for (std::size_t d = 0; d < 3; ++d)
        if (directions[d])
            for (const double v : sweep.curves[d].rate)
                if (std::isfinite(v)) largest = std::max(largest, std::abs(v));
    if (largest == 0) return 0;
    return static_cast<int>(std::floor(std::log10(largest)));
}

void paintTemperatureChart(QPainter& painter, const QRect& area,
                           const TemperatureChartInputs& inputs) {
    PainterSaver saver(painter);
    painter.fillRect(area, Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Fewer than two temperatures with a prediction: an empty picture.
    if (inputs.sweep == nullptr || inputs.sweep->temperature.size() < 2) return;
    if (inputs.kind == TemperatureChartKind::AllDirections)
        paintStacked(painter, area, inputs);
    else
        paintOverlaid(painter, area, inputs);
}

}  // namespace quorvane::views
