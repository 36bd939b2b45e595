// The arithmetic of the charts: steps, labels, the frame's mapping, number marks.

#include "views/chart_frame.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "picture_test_support.h"
#include "recorded_picture.h"
#include "views/painter_text.h"

namespace quorvane::views {
namespace {

TEST(ChartArithmetic, NiceStepsRunOneTwoFiveTen) {
    EXPECT_DOUBLE_EQ(niceStep(0.37 / 5), 0.05);  // 0.074
    EXPECT_DOUBLE_EQ(niceStep(12.0 / 5), 2);     // 2.4
    EXPECT_DOUBLE_EQ(niceStep(80.0 / 5), 20);    // 16
    EXPECT_DOUBLE_EQ(niceStep(1), 1);
    EXPECT_DOUBLE_EQ(niceStep(1.49), 1);
    EXPECT_DOUBLE_EQ(niceStep(3.2), 5);
    EXPECT_DOUBLE_EQ(niceStep(7.6), 10);
    EXPECT_DOUBLE_EQ(niceStep(2e-9), 2e-9);
    EXPECT_EQ(niceStep(0), 0);
    EXPECT_EQ(niceStep(-3), 0);
    EXPECT_EQ(niceStep(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(niceStep(std::numeric_limits<double>::infinity()), 0);
}

TEST(ChartArithmetic, AxisLabelsLoseTheirExponentZerosButKeepLeadingZeros) {
    EXPECT_EQ(axisLabel(1e5, "%.4g"), "1e+5");
    EXPECT_EQ(axisLabel(1e-5, "%.4g"), "1e-5");
    EXPECT_EQ(axisLabel(-0.5, "%.4g"), "-0.5");
    EXPECT_EQ(axisLabel(-0.05, "%.4g"), "-0.05");
    EXPECT_EQ(axisLabel(-1e-5, "%.4g"), "-1e-5");
    EXPECT_EQ(axisLabel(2.5e-12, "%.3g"), "2.5e-12");
    EXPECT_EQ(axisLabel(0, "%.4g"), "0");
    EXPECT_EQ(axisLabel(0.30000000000000004, "%.4g"), "0.3");
    // The Windows spelling of the exponent comes out the same.
    EXPECT_EQ(cleanAxisLabel("1e+005"), "1e+5");
    EXPECT_EQ(cleanAxisLabel("1e-005"), "1e-5");
}

TEST(ChartArithmetic, TitlesAndMarksCompactTheirExponents) {
    EXPECT_EQ(compactTitle("Growth rate, 1e-007 nm/s"), "Growth rate, 1e-7 nm/s");
    EXPECT_EQ(compactTitle("from 1e+05 to 2e-05"), "from 1e+5 to 2e-5");
    EXPECT_EQ(compactTitle("Time, (s)"), "Time, (s)");
    EXPECT_EQ(markLabel(1e5), "1e5");
    EXPECT_EQ(markLabel(2.5e-7), "2.5e-7");
    EXPECT_EQ(markLabel(2.5e-17), "2.5e-17");
    EXPECT_EQ(markLabel(0.25), "0.25");
    EXPECT_EQ(markLabel(1500), "1.5e3");
    EXPECT_EQ(markLabel(-3e-5), "-3e-5");
}

TEST(ChartFrameMapping, WorldPointsTruncateTowardZero) {
    ChartFrame frame;
    frame.setPixels(100, 500, 700, 100);
    frame.setXRange(0, 60);
    frame.setYRange(-1, 3);
    EXPECT_DOUBLE_EQ(frame.sx, 10);
    EXPECT_DOUBLE_EQ(frame.sy, -100);
    EXPECT_EQ(frame.map(0, -1), QPoint(100, 500));
    EXPECT_EQ(frame.map(60, 3), QPoint(700, 100));
    EXPECT_EQ(frame.pixelX(0.99), 109);     // 109.9 truncated
    EXPECT_EQ(frame.pixelY(-0.999), 499);   // 499.9 truncated
    EXPECT_EQ(frame.pixelX(-20.05), -100);  // -100.5 truncated toward zero
    // An empty range maps onto its first pixel rather than dividing by zero.
    frame.setYRange(2, 2);
    EXPECT_EQ(frame.pixelY(2), 500);
    // A span of 1e-40 (a rate that barely moved) or a value that is no number
    // stays a representable pixel.
    frame.setYRange(0, 1e-40);
    EXPECT_EQ(frame.pixelY(1), -1000000);
    EXPECT_EQ(frame.pixelY(-1), 1000000);
    EXPECT_EQ(frame.pixelX(std::numeric_limits<double>::quiet_NaN()), -1000000);
    EXPECT_EQ(toPixel(-2.7), -2);
}

TEST(ChartAxes, VerticalAxisTicksOnlyWithinItsRangeAndReportsItsWidestLabel) {
    QImage image(300, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(tickLabelFont());
    ChartFrame frame;
    frame.setPixels(50, 380, 280, 20);
    frame.setYRange(-0.13, 0.24);  // span 0.37: ticks every 0.05 from -0.1 to 0.2
    const int widest = drawVerticalAxis(painter, frame, 40, QPen(Qt::red, 1));
    EXPECT_EQ(widest, textWidth(painter, "-0.05")) << "the widest of -0.1 .. 0.2";
    // An empty or reversed range draws nothing.
    frame.setYRange(1, 1);
    EXPECT_EQ(drawVerticalAxis(painter, frame, 200, QPen(Qt::blue, 1)), 0);
    painter.end();
    EXPECT_EQ(test::countColour(image, qRgb(0, 0, 255)), 0);
    // Ticks 3 pixels long at the heights of -0.1, -0.05, ..., 0.2: seven of them.
    int ticks = 0;
    for (int y = 20; y <= 380; ++y)
        if (image.pixel(42, y) == qRgb(255, 0, 0)) ++ticks;
    EXPECT_EQ(ticks, 7);
}

TEST(ChartAxes, NumberMarkIsATickWithItsValueCentredBelow) {
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::blue);
    painter.setFont(tickLabelFont());
    const int bottom = drawNumberMark(painter, 2.5e-7, 60, 20);
    painter.end();
    EXPECT_GT(bottom, 21);
    for (int y = 16; y <= 20; ++y) EXPECT_EQ(image.pixel(60, y), qRgb(0, 0, 255)) << y;
    EXPECT_EQ(image.pixel(60, 14), qRgb(255, 255, 255));
    // The text lies under the tick, about centred on it.
    int left = 120, right = -1;
    for (int y = 21; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                left = std::min(left, x), right = std::max(right, x);
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, 60, 4);
}

// Grid lines on every step, with or without numbers; in a narrow chart the numbers
// go on every second or fifth line so that they keep apart, and stay in the picture.
TEST(ChartAxes, TimeAxisGridOnEveryStepNumbersWhereTheyFit) {
    QImage image(800, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(tickLabelFont());
    ChartFrame frame;
    frame.setPixels(50, 60, 750, 10);
    frame.setXRange(1649, 1700);  // steps of 10: lines at 1650 ... 1700
    drawTimeAxis(painter, frame, 60, QPen(Qt::red, 1), 5, 1, nullptr);
    painter.end();
    int lines = 0;
    for (int x = 0; x < 800; ++x) lines += image.pixel(x, 30) == qRgb(255, 0, 0);
    EXPECT_EQ(lines, 6);

    test::RecordedPicture narrow(QSize(200, 100));
    painter.begin(&narrow);
    painter.setFont(tickLabelFont());
    frame.setPixels(60, 60, 190, 10);
    frame.setXRange(1190, 1700);
    drawTimeAxis(painter, frame, 60, QPen(Qt::red, 1), 5, 1, "%.6g", 199);
    painter.end();
    EXPECT_GE(narrow.texts.size(), 2u);
    EXPECT_TRUE(narrow.illegibleTexts().empty());
}

}  // namespace
}  // namespace quorvane::views
