// FormulaText, the probability charts, the status block and JPEG files.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include "engine/mechanism.h"
#include "engine/record_builder.h"
#include "model/probabilities.h"
#include "picture_test_support.h"
#include "views/formula_text.h"
#include "views/painter_text.h"
#include "views/picture_file.h"
#include "views/probability_charts.h"
#include "views/status_block_painter.h"

namespace quorvane::views {
namespace {

TEST(FormulaTextLine, SymbolsSubscriptsAndPlacementBesideAControl) {
    FormulaText formula;
    EXPECT_EQ(formula.measure().width(), 0);
    formula.symbol("D").normal("t").sub("step").normal(" = ");
    EXPECT_EQ(formula.plainText(), QString::fromUtf8("\u0394tstep = "));
    const QSize line = formula.measure();
    FormulaText plain;
    plain.normal("t = ");
    // The subscript hangs below the line: the line with it is taller.
    EXPECT_GT(line.height(), plain.measure().height());
    EXPECT_GT(line.width(), plain.measure().width());

    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    const QRect control(200, 30, 80, 24);
    formula.drawLeftOf(painter, control);
    FormulaText unit;
    unit.normal("(s)");
    unit.drawRightOf(painter, control);
    painter.end();
    test::keepPicture(image, "formula_text");
    // Ink only left of the control's left edge minus the gap, and right of its right edge.
    int leftInk = 0, rightInk = 0, inside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
            if (x < 200 - 3 + 1)
                ++leftInk;
            else if (x > 280)
                ++rightInk;
            else
                ++inside;
        }
    EXPECT_GT(leftInk, 50);
    EXPECT_GT(rightInk, 20);
    EXPECT_EQ(inside, 0);
    formula.clear();
    EXPECT_EQ(formula.plainText(), QString());
    EXPECT_EQ(formula.measure().width(), 0);
}

TEST(FormulaTextLine, SymbolKeysAreGreekLetters) {
    EXPECT_EQ(FormulaText::symbolLetter('D'), QChar(0x0394));
    EXPECT_EQ(FormulaText::symbolLetter('s'), QChar(0x03C3));
    EXPECT_EQ(FormulaText::symbolLetter('f'), QChar(0x03C6));
    EXPECT_EQ(FormulaText::symbolLetter('n'), QChar(0x03BD));
    EXPECT_EQ(FormulaText::symbolLetter('='), QChar('='));
}

TEST(ProbabilityPictures, CurvesShowInTheirColours) {
    const ProbabilityChart chart = makeProbabilityChart(1.0, 3.0, 42949672, 30, 0.35, 0.2);
    QImage image(570, 330, QImage::Format_RGB32);
    QPainter painter(&image);
    paintProbabilityChart(painter, image.rect(), chart);
    painter.end();
    test::keepPicture(image, "probability_chart");
    const ProbabilityChartStyle style;
    EXPECT_GT(test::countColour(image, style.outCurve.rgb()), 300);
    EXPECT_GT(test::countColour(image, style.inCurve.rgb()), 300);
    EXPECT_GT(test::countColour(image, style.mark.rgb()), 20);

    // With no supercooling and no surface energy the frequency is 1 everywhere.
    const FrequencyChart flat = makeFrequencyChart(0, 0, 0.2, 0.6);
    image = QImage(570, 330, QImage::Format_RGB32);
    painter.begin(&image);
    paintFrequencyChart(painter, image.rect(), flat);
    painter.end();
    // The curve lies on the dashed line at 1.0: a single row of red, 2 pixels thick.
    int top = 330, bottom = -1;
    for (int y = 0; y < 330; ++y)
        for (int x = 150; x < 450; ++x)
            if (image.pixel(x, y) == style.outCurve.rgb())
                top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_LE(bottom - top, 2);

    const FrequencyChart frequency = makeFrequencyChart(0.5, 4, 0.2, 0.6);
    image = QImage(570, 330, QImage::Format_RGB32);
    painter.begin(&image);
    paintFrequencyChart(painter, image.rect(), frequency);
    painter.end();
    test::keepPicture(image, "frequency_chart");
    EXPECT_GT(test::countColour(image, style.outCurve.rgb()), 300);
}

TEST(StatusBlockPicture, PlusMinusIsOneCharacterAndColoursFollowTheLines) {
    EXPECT_EQ(fromWindows1252("a \xB1 b"), QString::fromUtf8("a \u00B1 b"));
    EXPECT_EQ(fromWindows1252("\x80"), QString::fromUtf8("\u20AC"));

    RunEvaluation evaluation;
    evaluation.steps = 500;
    evaluation.timeOfGrowth = 12.5;
    evaluation.finalHeight = 3.2;
    evaluation.fillMean = 2;
    evaluation.fillStd = 0.5;
    evaluation.mechanism = kNotEnoughData;
    StatusBlockInputs inputs;
    inputs.evaluation = &evaluation;
    inputs.display.lengthUnit = "A";
    inputs.display.timeUnit = "s";
    inputs.display.rateLengthUnit = "A";
    inputs.display.sizeA = 6;
    inputs.font = makeFont(kChartFamily, 16, 400);
    QImage image(1400, 200, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    paintStatusBlock(painter, image.rect().adjusted(0, 0, -1, -1), inputs);
    painter.end();
    test::keepPicture(image, "status_block");
    const std::vector<StatusLine> lines = statusBlockLines(evaluation, inputs.display);
    bool plusMinus = false;
    for (const StatusLine& line : lines)
        plusMinus = plusMinus || fromWindows1252(line.text).contains(QChar(0x00B1));
    EXPECT_TRUE(plusMinus);
    // White block, text in the three colours of its parts.
    EXPECT_EQ(image.pixel(700, 190), qRgb(255, 255, 255));
    EXPECT_GT(test::countColour(image, qRgb(0, 0, 0), QRect(0, 10, 390, 130)), 100);
    EXPECT_GT(test::countColour(image, qRgb(100, 40, 40), QRect(40, 150, 390, 40)), 20);
    EXPECT_GT(test::countColour(image, qRgb(0, 0, 125), QRect(390, 10, 1000, 130)), 100);

    // Zero steps: only the first two lines, both black and on the left.
    const RunEvaluation none;
    inputs.evaluation = &none;
    image.fill(Qt::gray);
    painter.begin(&image);
    paintStatusBlock(painter, image.rect().adjusted(0, 0, -1, -1), inputs);
    painter.end();
    EXPECT_EQ(test::countColour(image, qRgb(0, 0, 125)), 0);
    EXPECT_EQ(test::countColour(image, qRgb(0, 0, 0), QRect(2, 70, 1395, 120)), 0);
}

// The longest block there is (percent, pores, a stable run, four lines of
// evidence) at the panel's width on a small screen and on a wide one: every line
// inside the band, none over another.
TEST(StatusBlockPicture, EveryLineInsideTheBandAndApartAtAnyWidth) {
    RunEvaluation ev;
    ev.steps = 123456789;
    ev.timeOfGrowth = 1.23456e-7;
    ev.finalHeight = 1234.5;
    ev.stableStart = 10;
    ev.mechanism = kNotEnoughData;
    ev.regime = quorvane::testing::stronglyActivatedNucleation();
    StatusDisplay display{1e9, 1e-9, "mkm", "ns", "mkm", 0.6, 1, true};
    const std::vector<StatusLine> lines = statusBlockLines(ev, display);
    const QFont font = makeFont(kChartFamily, 16, 400);
    for (const int width : {560, 900, 1400}) {
        const QRect band(0, 0, width, 200);
        const StatusLayout layout = layoutStatusLines(band, lines, font);
        ASSERT_EQ(layout.boxes.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(band.contains(layout.boxes[i])) << width << ": " << lines[i].text;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(layout.boxes[i].intersects(layout.boxes[j]))
                    << width << ": " << lines[i].text << " / " << lines[j].text;
        }
        // On a wide screen the longest block keeps a legible size.
        if (width == 1400) {
            EXPECT_GE(QFontInfo(layout.font).pixelSize(), 12);
        }
    }
}

TEST(JpegFile, WrittenWholeOrNotAtAll) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage picture = whitePicture(300, 250);
    QPainter painter(&picture);
    painter.fillRect(50, 50, 100, 100, Qt::red);
    painter.end();
    const QString path = folder.filePath("molecule.jpg");
    ASSERT_EQ(saveJpeg(picture, path), SaveStatus::Ok);
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), QSize(300, 250));
    const QColor centre = back.pixelColor(100, 100);
    EXPECT_GT(centre.red(), 230);
    EXPECT_LT(centre.green(), 30);
    EXPECT_GT(back.pixelColor(250, 200).green(), 240);

    // The format is JPEG whatever the name says.
    ASSERT_EQ(saveJpeg(picture, folder.filePath("chart.jpg.old")), SaveStatus::Ok);
    EXPECT_EQ(QImageReader(folder.filePath("chart.jpg.old")).format(), "jpeg");
    EXPECT_EQ(saveJpeg(QImage(), folder.filePath("empty.jpg")), SaveStatus::EmptyImage);
    EXPECT_EQ(saveJpeg(picture, folder.filePath("missing/folder/chart.jpg")),
              SaveStatus::WriteFailed);
    // A name taken by a folder cannot be written, and the folder stays as it was.
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken.jpg"));
    EXPECT_EQ(saveJpeg(picture, folder.filePath("taken.jpg")), SaveStatus::WriteFailed);
    EXPECT_TRUE(QFileInfo(folder.filePath("taken.jpg")).isDir());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2) << "no temporary files left";
}

}  // namespace
}  // namespace quorvane::views

#include "views/run_panel_picture.h"

namespace quorvane::views {
namespace {

TEST(PlanValueMarks, ValuesBlueCurrentRedWithinTheirRows) {
    const std::vector<PlanMarkRow> rows{{"Temperature", {250, 260, 270, 280, 290, 300}, 280},
                                        {"Volume", {1e-7}, 1e-7}};
    const QRect list(10, 0, 400, 20);
    QImage image(420, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPlanValueMarks(painter, list, rows);
    painter.end();
    test::keepPicture(image, "plan_value_marks");
    const int bottom = planMarksBottom(list, rows.size());
    EXPECT_EQ(bottom, list.bottom() + 10 + 2 * 32);
    // Both rows have their red current value and blue marks; nothing below the rows.
    EXPECT_GT(test::countColour(image, qRgb(255, 0, 0)), 10);
    EXPECT_GT(test::countColour(image, qRgb(0, 0, 255)), 10);
    EXPECT_EQ(
        test::countColour(image, qRgb(255, 255, 255), QRect(0, bottom + 1, 420, 119 - bottom)),
        420 * (119 - bottom));
    // The current value 280 lies 3/5 of the way from 250 to 300 on the first line.
    const int left = list.left() + 130, right = list.right() - 20;
    const int x = left + (right - left) * 3 / 5;
    EXPECT_EQ(image.pixel(x, list.bottom() + 10 + 10 - 5), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace quorvane::views
