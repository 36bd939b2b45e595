// The texts of the charts as a reader meets them: none on another, none crossed by
// a curve, none past the picture's edge, at the sizes the panels and the reports
// draw them and for data that put the curves in different places.

#include <gtest/gtest.h>

#include <QPainter>

#include "engine/contact_geometry.h"
#include "model/probabilities.h"
#include "model/temperature_sweep.h"
#include "model/unit_change.h"
#include "recorded_picture.h"
#include "views/full_report_figures.h"
#include "views/probability_charts.h"
#include "views/temperature_charts.h"

namespace quorvane::views {
namespace {

using test::RecordedPicture;

void expectLegible(const RecordedPicture& picture, const std::string& what) {
    for (const QString& pair : picture.overlappingTexts())
        ADD_FAILURE() << what << ": texts overlap: " << pair.toStdString();
    for (const QString& text : picture.textsOutside())
        ADD_FAILURE() << what << ": text past the edge: " << text.toStdString();
    for (const QString& text : picture.textsOnCurves())
        ADD_FAILURE() << what << ": text on a curve: " << text.toStdString();
}

std::string named(const char* chart, QSize size, double E0, double E8) {
    return std::string(chart) + " " + std::to_string(size.width()) + "x" +
           std::to_string(size.height()) + " E0 " + std::to_string(E0) + " E8 " +
           std::to_string(E8);
}

// The Data panel's two charts at their smallest, at the size of a wide window and
// at the run report's size; rates from the start data's (nearly no driving force,
// a high surface energy) to fast growth.
TEST(ChartLabels, FrequencyAndProbabilityChartsKeepTheirMarksApart) {
    const auto geometry = ContactGeometry::make(6, 6, 6, 0.25, 0.05);
    ASSERT_TRUE(geometry.has_value());
    const std::uint32_t Pint = static_cast<std::uint32_t>(0.000217 * 4294967295.0);
    const struct {
        double E0, E8;
    } rates[] = {{0.08844, 11.73}, {0.5, 4}, {1, 3}, {0, 0}, {3, 1}, {0.2, 20}};
    for (const QSize size : {QSize(360, 210), QSize(378, 185), QSize(570, 330), QSize(900, 300)}) {
        for (const auto& r : rates) {
            RecordedPicture frequency(size);
            QPainter painter(&frequency);
            paintFrequencyChart(painter, frequency.rect(),
                                makeFrequencyChart(r.E0, r.E8, geometry->adatomFraction,
                                                   geometry->embeddedFraction));
            painter.end();
            EXPECT_GE(frequency.texts.size(), 10u);
            expectLegible(frequency, named("frequency", size, r.E0, r.E8));

            RecordedPicture probability(size);
            painter.begin(&probability);
            paintProbabilityChart(
                painter, probability.rect(),
                makeProbabilityChart(r.E0, r.E8, Pint, geometry->n, geometry->adatomFraction,
                                     geometry->bottomFaceFraction));
            painter.end();
            expectLegible(probability, named("probability", size, r.E0, r.E8));
        }
    }
}

// The theoretical chart with every group shown, in a narrow panel and in the
// report, in kelvin and in Fahrenheit (longer numbers).
TEST(ChartLabels, TemperatureNumbersStandApartWithEveryGroupShown) {
    for (const int scale : {0, 2}) {
        PhysicalData data = makeStartData();
        changeTemperatureScale(data, scale);
        data.Chart_show_curves = {1, 1, 1};
        for (const QSize size : {QSize(360, 260), QSize(390, 355), QSize(800, 600)}) {
            RecordedPicture chart(size);
            QPainter painter(&chart);
            paintTheoreticalChart(painter, chart.rect(), data);
            painter.end();
            const std::string what =
                "theoretical " + std::to_string(size.width()) + " scale " + std::to_string(scale);
            expectLegible(chart, what);
            int temperatures = 0;
            for (const auto& text : chart.texts)
                temperatures += text.box.top() > size.height() - 60 && text.text.toDouble() > 0;
            EXPECT_GE(temperatures, 2) << what;
        }
    }
}

// Every picture of the full report, of the start data and of a cold melt whose
// liquidus lies near the top of the phase diagram.
TEST(ChartLabels, ReportFiguresKeepTheirTextsClear) {
    PhysicalData cold = makeStartData();
    cold.Temperature = 1000;
    for (const PhysicalData& data : {makeStartData(), cold}) {
        for (const ReportFigureLayout& layout : reportFigureLayouts()) {
            RecordedPicture figure(QSize(layout.width, layout.height));
            QPainter painter(&figure);
            paintReportFigure(painter, figure.rect(), layout.figure, data);
            painter.end();
            expectLegible(
                figure, std::string(layout.fileName) + " at T " + std::to_string(data.Temperature));
        }
    }
}

}  // namespace
}  // namespace quorvane::views
