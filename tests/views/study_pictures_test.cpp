// The pictures of the study report as a reader sees them: texts that stay
// apart and inside, a prediction far off that does not flatten the measured
// points, and the theory's boundary on the regime map where the theory puts it.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <climits>
#include <cmath>
#include <functional>

#include "picture_test_support.h"
#include "recorded_picture.h"
#include "views/regime_map.h"
#include "views/study_chart.h"

namespace quorvane::views {
namespace {

StudyChartInputs fiveLines(double scale) {
    StudyChartInputs in{"Time to fill a layer against σ′",
                        "σ′ (specific surface energy)",
                        "time to fill a layer (s)",
                        {},
                        8};
    for (int line = 0; line < 5; ++line) {
        StudyChartLine l{QString("ΔG′ = %1").arg(0.25 + 0.5 * line), {}};
        for (int k = 0; k < 5; ++k) {
            const double y = scale * std::pow(10.0, 0.4 * k - 0.3 * line);
            l.points.push_back({2.0 + 2 * k, y, 0.2 * y, 1.1 * y});
        }
        in.lines.push_back(l);
    }
    return in;
}

RegimeMapInputs fiveByFive() {
    RegimeMapInputs in{"Growth regimes over σ′ and ΔG′", "σ′", "ΔG′", {2, 4, 6, 8, 10},
                       {0.25, 0.75, 1.25, 1.75, 2.25},   {},   {}};
    for (std::size_t i = 0; i < 5; ++i)
        for (std::size_t j = 0; j < 5; ++j)
            in.cells.push_back(
                {i, j, i < 2 ? GrowthRegime::Continuous : GrowthRegime::Nucleation, i != 2});
    return in;
}

template <typename Paint>
std::vector<std::string> problemsOf(QSize size, Paint paint) {
    test::RecordedPicture picture(size);
    QPainter painter(&picture);
    paint(painter, picture.rect());
    painter.end();
    return picture.illegibleTexts();
}

TEST(StudyPictures, TextsStayApartAndInsideThePicture) {
    for (double scale : {1.0, 1e-3}) {  // linear, and powers of ten
        const StudyChartInputs in = fiveLines(scale);
        for (const std::string& problem :
             problemsOf({640, 400}, [&](QPainter&p, const QRect&r) { paintStudyChart(p, r, in); }))
            ADD_FAILURE() << problem;
    }
    const RegimeMapInputs map = fiveByFive();
    for (const std::string& problem :
         problemsOf({760, 520}, [&](QPainter&p, const QRect&r) { paintRegimeMap(p, r, map); }))
        ADD_FAILURE() << problem;
    ScatterInputs scatter{"Roughness against a", "a (nm)", "roughness (layers)", {}, {}};
    for (int k = 0; k < 200; ++k)
        scatter.points.push_back({0.2 + 0.009 * k, 1 + std::sin(k * 0.7), 1.2,
                                  regimeColour(GrowthRegime::Intermediate)});
    scatter.legend = {{"continuous", regimeColour(GrowthRegime::Continuous)},
                      {"intermediate", regimeColour(GrowthRegime::Intermediate)}};
    for (const std::string& problem : problemsOf(
             {520, 340}, [&](QPainter&p, const QRect&r) { paintScatterChart(p, r, scatter); }))
        ADD_FAILURE() << problem;
}

TEST(StudyPictures, APredictionFarOffIsLeftAtTheEdgeAndTheRangeFollowsTheRuns) {
    ShownRange r = shownRange({0.5, 0.6}, {0.45, 0.65}, {0.55, 1e30});
    EXPECT_FALSE(r.logY);
    EXPECT_DOUBLE_EQ(r.lo, 0.45);
    EXPECT_DOUBLE_EQ(r.hi, 0.65);
    // Times over more than two powers of ten go on a logarithmic axis, where a bar
    // reaching below zero ends at the edge instead of pulling the range there.
    r = shownRange({1e-3, 0.5}, {-0.05, 0.7}, {2e-3, 1e-9});
    EXPECT_TRUE(r.logY);
    EXPECT_DOUBLE_EQ(r.lo, 1e-3);
    EXPECT_DOUBLE_EQ(r.hi, 0.7);
    // No run gave the result: the theory alone sets the range.
    r = shownRange({}, {}, {0.2, 0.4});
    EXPECT_DOUBLE_EQ(r.lo, 0.2);
    EXPECT_DOUBLE_EQ(r.hi, 0.4);

    EXPECT_EQ(cellEdges({2, 4, 8}), (std::vector<double>{1, 3, 6, 10}));
    EXPECT_EQ(cellEdges({5}), (std::vector<double>{4.5, 5.5}));
}

TEST(StudyPictures, TheTheorysBoundaryStandsWhereTheTheoryChangesItsRegime) {
    auto draw = [](std::function<std::optional<GrowthRegime>(double, double)> theory) {
        RegimeMapInputs in = fiveByFive();
        in.theory = std::move(theory);
        QImage image(760, 520, QImage::Format_RGB32);
        QPainter painter(&image);
        paintRegimeMap(painter, image.rect(), in);
        return image;
    };
    const QImage none = draw([](double, double) { return GrowthRegime::Nucleation; });
    // Nucleation left of sigma' = 5, the edge between the second and third columns.
    const QImage split = draw([](double x, double) {
        return x < 5 ? GrowthRegime::Nucleation : GrowthRegime::Intermediate;
    });
    test::keepPicture(split, "study_regime_map_boundary");
    int marks = 0, left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
    for (int y = 0; y < split.height(); ++y)
        for (int x = 0; x < split.width(); ++x) {
            if (qGray(split.pixel(x, y)) > 40 || qGray(none.pixel(x, y)) <= 40) continue;
            ++marks;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    // One straight line up the whole map, three pixels wide, where the columns meet.
    EXPECT_LE(right - left, 3);
    EXPECT_GT(bottom - top, 300);
    EXPECT_GT(marks, 3 * 300);
    const QRgb beside = split.pixel(left - 10, (top + bottom) / 2);
    EXPECT_EQ(beside, regimeColour(GrowthRegime::Continuous).rgb());  // the second column
    EXPECT_EQ(split.pixel(right + 10, (top + bottom) / 2),
              regimeColour(GrowthRegime::Nucleation).rgb());
}

}  // namespace
}  // namespace quorvane::views
