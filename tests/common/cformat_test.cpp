#include "common/cformat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace quorvane {
namespace {

TEST(CFormat, PrintsLikePrintfInTheCLocale) {
    EXPECT_EQ(cformat("%g", 1.23456789), "1.23457");
    EXPECT_EQ(cformat("%d,%s", 42, "nm"), "42,nm");
    EXPECT_EQ(cformat("%#.4g", 2.0), "2.000");
    std::string longText(1000, 'x');
    EXPECT_EQ(cformat("%s!", longText.c_str()), longText + "!");
}

TEST(CFormat, IgnoresACommaDecimalLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 missing";
    EXPECT_EQ(cformat("%g", 0.25), "0.25");
    EXPECT_DOUBLE_EQ(cAtof("0.25"), 0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(CFormat, CompactsExponentsTwice) {
    EXPECT_EQ(compactExponent("1.2e-021"), "1.2e-21");
    EXPECT_EQ(compactExponent("1e+005"), "1e+5");
    EXPECT_EQ(compactExponent("1e-05 and 2e-07 and 3e-09"), "1e-5 and 2e-7 and 3e-09");
    EXPECT_EQ(compactExponent("216"), "216");
}

TEST(CFormat, ReadsNumbersWithAtofSemantics) {
    EXPECT_DOUBLE_EQ(cAtof(" 7.5xyz"), 7.5);
    EXPECT_EQ(cAtof("abc"), 0.0);
    EXPECT_EQ(cAtof(""), 0.0);
    EXPECT_TRUE(std::isnan(cAtof("nan")));
    EXPECT_EQ(cAtoi("12abc"), 12);
    EXPECT_EQ(cAtoi("99999999999999"), 2147483647);
    EXPECT_EQ(cAtoi("x"), 0);

    double value = 0;
    EXPECT_TRUE(parseFiniteDouble(" 1e-3 ", value));
    EXPECT_DOUBLE_EQ(value, 1e-3);
    EXPECT_FALSE(parseFiniteDouble("1e-3x", value));
    EXPECT_FALSE(parseFiniteDouble("inf", value));
    EXPECT_FALSE(parseFiniteDouble("", value));
}

}  // namespace
}  // namespace quorvane
