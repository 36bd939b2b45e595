// The growth chart: which samples it draws, how many axis columns, what it shows
// before a run has data.

#include "views/growth_chart.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "picture_test_support.h"
#include "recorded_picture.h"
#include "views/chart_frame.h"

namespace quorvane::views {
namespace {

// A record of `steps` entries of a surface growing a layer every 100 steps.
GrowthRecord makeRecord(int steps, bool porous) {
    GrowthRecord record;
    const RecordParameters parameters = RecordParameters::make(0.01, 1, 10, 10, 5, 6);
    record.Reset(GrowthRecord::kGrowthIncrement, parameters);
    for (int s = 0; s < steps; ++s) {
        const double height = s / 100.0 + 0.2 * std::sin(s / 7.0);
        record.Append(parameters.dt, height, 1 + 0.3 * std::cos(s / 50.0),
                      porous ? 0.02 + 0.01 * std::sin(s / 30.0) : 0, porous);
    }
    return record;
}

GrowthChartInputs inputsFor(const GrowthRecord& record, const RunEvaluation* evaluation,
                            bool porous) {
    GrowthChartInputs inputs;
    inputs.record = &record;
    inputs.evaluation = evaluation;
    inputs.sizeA = 6;
    inputs.lengthUnit = "A";
    inputs.timeUnit = "s";
    inputs.concentrationUnit = "%";
    inputs.concentrationExponent = -2;
    inputs.porous = porous;
    return inputs;
}

TEST(GrowthChartSamples, EveryTwentySixthOfTwentyFiveThousandAndTheLast) {
    const std::vector<std::size_t> samples = chartSampleIndices(25000);
    ASSERT_EQ(samples.size(), 962u + 1);  // 0, 26, ..., 24986, then 24999
    for (std::size_t k = 0; k + 1 < samples.size(); ++k) EXPECT_EQ(samples[k], 26 * k);
    EXPECT_EQ(samples.back(), 24999u);
    // Below 1000 samples every one is drawn; the last is never doubled.
    EXPECT_EQ(chartSampleIndices(999).size(), 999u);
    const std::vector<std::size_t> even = chartSampleIndices(2002);  // p = 3, 2001 is a sample
    EXPECT_EQ(even.back(), 2001u);
    EXPECT_EQ(even[even.size() - 2], 1998u);
    const std::vector<std::size_t> odd = chartSampleIndices(2001);
    EXPECT_EQ(odd.back(), 2000u);
    EXPECT_EQ(odd[odd.size() - 2], 1998u);
    // A curve that starts late (the growth rate) counts from its first sample.
    const std::vector<std::size_t> late = chartSampleIndices(25000, 100);
    EXPECT_EQ(late.front(), 100u);
    EXPECT_EQ(late[1], 126u);
    EXPECT_TRUE(chartSampleIndices(0).empty());
    EXPECT_TRUE(chartSampleIndices(10, 10).empty());
}

TEST(GrowthChartPicture, NoDataNoticeBeforeTwoSamples) {
    QImage image(800, 500, QImage::Format_RGB32);
    const GrowthRecord record = makeRecord(1, false);
    QPainter painter(&image);
    const GrowthChartLayout layout =
        paintGrowthChart(painter, image.rect(), inputsFor(record, nullptr, false));
    painter.end();
    test::keepPicture(image, "growth_chart_empty");
    EXPECT_TRUE(layout.empty);
    EXPECT_EQ(layout.columns, 0);
    // The background and black text only.
    EXPECT_GT(test::countColour(image, qRgb(190, 160, 160)), 800 * 500 * 9 / 10);
    EXPECT_EQ(test::countColour(image, qRgb(20, 245, 130)), 0);
}

TEST(GrowthChartPicture, ColumnsFollowWhatTheRunMeasured) {
    QImage image(1000, 600, QImage::Format_RGB32);
    // Porosity off: distance, roughness and rate, never a fourth column.
    const GrowthRecord plain = makeRecord(3000, false);
    QPainter painter(&image);
    GrowthChartLayout layout =
        paintGrowthChart(painter, image.rect(), inputsFor(plain, nullptr, false));
    EXPECT_LE(layout.columns, 3);
    EXPECT_EQ(layout.columns, plain.firstRateIndex() > 0 ? 3 : 2);
    // The same record with porosity switched on but not measured: still no fourth.
    layout = paintGrowthChart(painter, image.rect(), inputsFor(plain, nullptr, true));
    EXPECT_LE(layout.columns, 3);

    const GrowthRecord porous = makeRecord(3000, true);
    EvaluationInputs evaluationInputs;
    evaluationInputs.probIn = 0.05;
    evaluationInputs.a = evaluationInputs.b = evaluationInputs.c = 6;
    evaluationInputs.fieldW = 10;
    evaluationInputs.vaContinues = 1;
    evaluationInputs.porous = true;
    const RunEvaluation evaluation = Evaluate(porous, evaluationInputs);
    image.fill(Qt::black);
    layout = paintGrowthChart(painter, image.rect(), inputsFor(porous, &evaluation, true));
    painter.end();
    test::keepPicture(image, "growth_chart");
    EXPECT_EQ(layout.columns, 4);
    ASSERT_EQ(layout.axisX.size(), 4u);
    // The first axis line stands one title height plus 6 pixels right of the edge.
    QImage probe(10, 10, QImage::Format_RGB32);
    QPainter measure(&probe);
    measure.setFont(axisTitleFont());
    EXPECT_EQ(layout.axisX[0], measure.fontMetrics().height() + 6);
    measure.end();
    for (std::size_t k = 1; k < layout.axisX.size(); ++k)
        EXPECT_GT(layout.axisX[k], layout.axisX[k - 1] + 20) << "columns side by side";
    EXPECT_GT(layout.plot.left(), layout.axisX.back());
    EXPECT_EQ(layout.plot.right(), 1000 - 10);
    EXPECT_EQ(layout.plot.bottom(), 600 - 60);
    EXPECT_EQ(layout.plot.top(), 10);
    // Each curve shows in its own colour inside the plot.
    for (QRgb colour : {qRgb(20, 245, 130), qRgb(0, 0, 255), qRgb(128, 0, 128), qRgb(255, 255, 0)})
        EXPECT_GT(test::countColour(image, colour, layout.plot), 200) << std::hex << colour;
    // The layer marks rise 15 pixels from the time axis in the distance colour.
    ASSERT_GT(evaluation.crossings.size(), 5u);
    EXPECT_GT(test::countColour(image, qRgb(20, 245, 130),
                                QRect(layout.plot.left(), 600 - 60 - 14, layout.plot.width(), 10)),
              5 * 10);
}

// A long run: every curve is a bar a pixel column, and a single step's spike, which
// an even thinning would skip, still reaches the top.
TEST(GrowthChartPicture, LongRecordsDrawABarAColumnAndKeepTheirSpikes) {
    const GrowthRecord record = makeRecord(300000, false);
    const std::size_t spike = 150001;  // between two entries of a thinning by 301
    GrowthRecord spiked;
    spiked.Reset(GrowthRecord::kGrowthIncrement, record.parameters());
    for (std::size_t i = 0; i < record.count(); ++i)
        spiked.Append(record.parameters().dt, i == spike ? 5000 : record.height(i),
                      record.roughness(i), 0, false);
    test::RecordedPicture picture(QSize(1000, 600));
    QPainter painter(&picture);
    const GrowthChartLayout layout =
        paintGrowthChart(painter, picture.rect(), inputsFor(spiked, nullptr, false));
    painter.end();
    const GrowthChartStyle style;
    int distanceBars = 0;
    double top = 600;
    for (const auto& bar : picture.bars) {
        if (bar.colour != style.distance) continue;
        ++distanceBars;
        EXPECT_LE(bar.rect.width(), 2);
        top = std::min(top, bar.rect.top());
    }
    EXPECT_LE(distanceBars, layout.plot.width() + 1);
    EXPECT_GE(distanceBars, layout.plot.width() - 1);
    EXPECT_LE(top, layout.plot.top() + 0.06 * 540) << "the spike";
}

}  // namespace
}  // namespace quorvane::views
