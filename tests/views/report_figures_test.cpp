// The temperature charts and the pictures of the full report.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "model/physical_data.h"
#include "model/temperature_sweep.h"
#include "picture_test_support.h"
#include "views/full_report_figures.h"
#include "views/picture_file.h"
#include "views/temperature_charts.h"

namespace quorvane::views {
namespace {

int nonWhite(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

TEST(TemperatureChartPicture, GroupsFollowTheirFlagsAndRatesAreScaled) {
    const PhysicalData data = makeStartData();
    const TemperatureSweep sweep = sweepTemperatures(data, 60);
    ASSERT_GT(sweep.temperature.size(), 10u);
    const int e = rateExponent(sweep, {true, false, false});
    double largest = 0;
    for (double v : sweep.curves[0].rate) largest = std::max(largest, std::abs(v));
    EXPECT_LE(std::pow(10.0, e), largest);
    EXPECT_GT(std::pow(10.0, e + 1), largest);
    TemperatureSweep zero = sweep;
    for (auto& curve : zero.curves) std::fill(curve.rate.begin(), curve.rate.end(), 0.0);
    EXPECT_EQ(rateExponent(zero, {true, true, true}), 0);

    TemperatureChartInputs inputs =
        temperatureChartInputs(data, sweep, TemperatureChartKind::Theoretical);
    EXPECT_EQ(inputs.showRates, data.Chart_show_curves[0] != 0);
    EXPECT_EQ(inputs.temperatureUnit, "K");
    inputs.showRates = inputs.showRoughness = inputs.showPorosity = true;
    QImage image(800, 500, QImage::Format_RGB32);
    QPainter painter(&image);
    paintTemperatureChart(painter, image.rect(), inputs);
    painter.end();
    test::keepPicture(image, "theoretical_chart");
    const int withAll = nonWhite(image);
    // The rate group in its purple.
    EXPECT_GT(test::countColour(image, qRgb(128, 0, 128)), 200);

    inputs.showRates = inputs.showRoughness = false;
    painter.begin(&image);
    paintTemperatureChart(painter, image.rect(), inputs);
    painter.end();
    EXPECT_EQ(test::countColour(image, qRgb(128, 0, 128)), 0);
    EXPECT_LT(nonWhite(image), withAll);

    // No sweep: a white picture, nothing else.
    inputs.sweep = nullptr;
    painter.begin(&image);
    paintTemperatureChart(painter, image.rect(), inputs);
    painter.end();
    EXPECT_EQ(nonWhite(image), 0);
}

TEST(ReportFigures, SevenPicturesOfTheirSizesLeaveTheDataAlone) {
    // A molecule a little longer along C than along B than along A.
    PhysicalData data = makeStartData();
    data.Size_B = 6.3;
    data.Size_C = 6.6;
    const PhysicalData before = data;
    const auto& layouts = reportFigureLayouts();
    ASSERT_EQ(layouts.size(), 7u);
    EXPECT_STREQ(layouts[0].fileName, "molecule.jpg");
    EXPECT_STREQ(layouts[6].fileName, "shapes_of_gr_crystal.jpg");
    EXPECT_EQ(layouts[6].width, 600);
    EXPECT_EQ(layouts[6].height, 1000);
    QTemporaryDir folder;
    for (const ReportFigureLayout& layout : layouts) {
        const QImage image = drawReportFigure(layout.figure, data);
        EXPECT_EQ(image.size(), QSize(layout.width, layout.height)) << layout.fileName;
        EXPECT_GT(nonWhite(image), layout.width * layout.height / 200) << layout.fileName;
        QString name = QString::fromLatin1(layout.fileName);
        name.chop(4);
        test::keepPicture(image, name.toLatin1().constData());
        EXPECT_EQ(saveJpeg(image, folder.filePath(layout.fileName)), SaveStatus::Ok);
    }
    const QImage chart = drawReportChart(data);
    EXPECT_EQ(chart.size(), QSize(800, 600));
    EXPECT_TRUE(data == before);
}

TEST(ReportFigures, CrystalProportionsFollowTheRates) {
    const auto p = crystalProportions(2, 1, 4);
    EXPECT_DOUBLE_EQ(p[0], 0.5);
    EXPECT_DOUBLE_EQ(p[1], 0.25);
    EXPECT_DOUBLE_EQ(p[2], 1);
    const auto sliver = crystalProportions(1, 0, std::nan(""));
    EXPECT_DOUBLE_EQ(sliver[0], 1);
    EXPECT_DOUBLE_EQ(sliver[1], 0.02);
    EXPECT_DOUBLE_EQ(sliver[2], 0.02);
    const auto none = crystalProportions(0, -1, 0);
    EXPECT_EQ(none[0] + none[1] + none[2], 0);
}

}  // namespace
}  // namespace quorvane::views
