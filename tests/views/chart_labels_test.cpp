// The texts of the charts as a reader meets them: none on another, none crossed by
// a curve, none past the picture's edge, at the sizes the panels and the reports
// draw them and for data that put the curves in different places.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "engine/contact_geometry.h"
#include "model/probabilities.h"
#include "model/unit_change.h"
#include "picture_test_support.h"
#include "recorded_picture.h"
#include "sheets/data_sheet.h"
#include "views/full_report_figures.h"
#include "views/probability_charts.h"
#include "views/temperature_charts.h"

namespace quorvane::views {
namespace {

/// The texts of the picture `paint` draws at `size`, all of which must be legible.
std::vector<test::RecordedPicture::Text> expectLegible(
    QSize size, const std::string& what,
    const std::function<void(QPainter&, const QRect&)>& paint) {
    test::RecordedPicture picture(size);
    QPainter painter(&picture);
    paint(painter, picture.rect());
    painter.end();
    EXPECT_GE(picture.texts.size(), 2u) << what;
    for (const std::string& problem : picture.illegibleTexts())
        ADD_FAILURE() << what << " " << size.width() << "x" << size.height() << ": " << problem;
    return picture.texts;
}

// The Data panel's two charts at their smallest, as wide as in a large window and at
// the run report's size; rates from the start data's (little driving force, a high
// surface energy) to fast growth.
TEST(ChartLabels, FrequencyAndProbabilityChartsKeepTheirMarksApart) {
    const auto geometry = ContactGeometry::make(6, 6, 6, 0.25, 0.05);
    ASSERT_TRUE(geometry.has_value());
    const auto Pint = static_cast<std::uint32_t>(0.000217 * 4294967295.0);
    const std::pair<double, double> rates[] = {{0.08844, 11.73}, {0.5, 4}, {1, 3},
                                               {0, 0},           {3, 1},   {0.2, 20}};
    for (const QSize size : {QSize(360, 210), QSize(378, 185), QSize(570, 330), QSize(900, 300)})
        for (const auto& [E0, E8] : rates) {
            const std::string what = "E0 " + std::to_string(E0) + " E8 " + std::to_string(E8);
            expectLegible(size, "frequency " + what, [&](QPainter& p, const QRect& r) {
                paintFrequencyChart(p, r,
                                    makeFrequencyChart(E0, E8, geometry->adatomFraction,
                                                       geometry->embeddedFraction));
            });
            expectLegible(size, "probability " + what, [&](QPainter& p, const QRect& r) {
                paintProbabilityChart(
                    p, r,
                    makeProbabilityChart(E0, E8, Pint, geometry->n, geometry->adatomFraction,
                                         geometry->bottomFaceFraction));
            });
        }
}

// The Data panel's theoretical chart: the temperatures of its table.
void paintTheoreticalChart(QPainter& painter, const QRect& area, const PhysicalData& data) {
    const TemperatureSweep sweep = sweepTemperatures(data, DataSheet::kTableSteps);
    views::paintTemperatureChart(
        painter, area,
        views::temperatureChartInputs(data, sweep, views::TemperatureChartKind::Theoretical));
}

// The theoretical chart with every group shown, in a narrow panel and in the
// report, in kelvin and in Fahrenheit (longer numbers): the temperatures keep apart.
TEST(ChartLabels, TemperatureNumbersStandApartWithEveryGroupShown) {
    for (const int scale : {0, 2}) {
        PhysicalData data = makeStartData();
        changeTemperatureScale(data, scale);
        data.Chart_show_curves = {1, 1, 1};
        for (const QSize size : {QSize(360, 260), QSize(390, 355), QSize(800, 600)}) {
            const auto texts = expectLegible(
                size, "theoretical, scale " + std::to_string(scale),
                [&](QPainter& p, const QRect& r) { paintTheoreticalChart(p, r, data); });
            int temperatures = 0;
            for (const auto& text : texts)
                temperatures += text.box.top() > size.height() - 60 && text.text.toDouble() > 0;
            EXPECT_GE(temperatures, 2) << size.width() << " scale " << scale;
        }
        QImage panel(390, 355, QImage::Format_RGB32);
        QPainter painter(&panel);
        paintTheoreticalChart(painter, panel.rect(), data);
        painter.end();
        if (scale == 0) test::keepPicture(panel, "theoretical_chart_panel");
    }
}

// Every picture of the full report, of the start data and of a melt far below its
// liquidus.
TEST(ChartLabels, ReportFiguresKeepTheirTextsClear) {
    PhysicalData cold = makeStartData();
    cold.Temperature = 1000;
    for (const PhysicalData& data : {makeStartData(), cold})
        for (const ReportFigureLayout& layout : reportFigureLayouts())
            expectLegible(
                QSize(layout.width, layout.height),
                layout.fileName + std::string(" at T ") + std::to_string(data.Temperature),
                [&](QPainter& p, const QRect& r) { paintReportFigure(p, r, layout.figure, data); });
}

}  // namespace
}  // namespace quorvane::views
