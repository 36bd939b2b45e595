// The full report's placeholders: how a template line is filled, and which
// values the report carries.

#include <gtest/gtest.h>

#include <string>

#include "model/directional_rates.h"
#include "model/theory.h"
#include "reports/report_fields.h"
#include "reports/report_format.h"
#include "reports/report_template.h"

namespace quorvane {
namespace {

TEST(ReportFormat, AccuracyDigitsAndCompactedExponents) {
    EXPECT_EQ(formatValue(123456, 3), "1.23e+5");
    EXPECT_EQ(formatValue(1.5e5, 4), "1.5e+5");
    EXPECT_EQ(formatValue(2.5e-7, 4), "2.5e-7");
    EXPECT_EQ(formatValue(1e-100, 4), "1e-100");
    EXPECT_EQ(formatValue(6, 4), "6");
    // The placeholders keep the C library's exponent and end with a line end.
    EXPECT_EQ(reportFieldNumber(123456, 3), "1.23e+05\n");
}

class FieldsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fields_.set("_a|", "6\n");
        fields_.set("_size_u|", "nm");
    }
    ReportFields fields_;
};

TEST_F(FieldsTest, SetReplacesInPlaceAndAppendsNewKeys) {
    fields_.set("_a|", "7\n");
    fields_.set("_b|", "8\n");
    ASSERT_EQ(fields_.keys().size(), 3u);
    EXPECT_EQ(fields_.keys()[0], "_a|");
    EXPECT_EQ(fields_.values()[0], "7\n");
    EXPECT_EQ(fields_.keys()[2], "_b|");
}

TEST_F(FieldsTest, ReplacementRules) {
    // A key, a blank and another key.
    EXPECT_EQ(fields_.replaceInLine("_a| _size_u|\n"), "6\n nm\n");
    // Every occurrence of a key; a word that starts with "_" but is no key stays.
    EXPECT_EQ(fields_.replaceInLine("_a|+_a| _unknown| _a"), "6\n+6\n _unknown| _a");
    EXPECT_EQ(fields_.replaceInLine("no placeholder here\n"), "no placeholder here\n");
    // A value is copied as it stands: a key in it is text, not a placeholder.
    fields_.set("_nested|", "[_size_u|]");
    EXPECT_EQ(fields_.replaceInLine("_nested| _a|"), "[_size_u|] 6\n");
    fields_.set("_x|", "_x|_x|");
    EXPECT_EQ(fields_.replaceInLine("_x|_x|"), "_x|_x|_x|_x|");
    // A "_" in front of a key does not hide it.
    EXPECT_EQ(fields_.replaceInLine("__a|_"), "_6\n_");
}

TEST_F(FieldsTest, TemplateIsCopiedInPiecesEachFollowedByALineEnd) {
    EXPECT_EQ(fillTemplate("<p>plain</p>\n<p>text</p>\n", fields_),
              "<p>plain</p>\n\n<p>text</p>\n\n");
    EXPECT_EQ(fillTemplate("A = _a| _size_u|\nlast", fields_), "A = 6\n nm\n\nlast\n");
    EXPECT_EQ(fillTemplate("", fields_), "");
    // A line longer than 999 characters is read in two pieces.
    const std::string longLine = std::string(1200, 'x') + "\n";
    EXPECT_EQ(fillTemplate(longLine, fields_),
              std::string(999, 'x') + "\n" + std::string(201, 'x') + "\n\n");
    // A CR LF template keeps its CR.
    EXPECT_EQ(fillTemplate("_a|\r\n", fields_), "6\n\r\n\n");
}

TEST(ReportValueFields, EveryKeyInOrderWithTheDataValues) {
    PhysicalData data = makeStartData();
    data.edgesRatio = 0.25;
    data.verticesRatio = 0.05;
    data.dimension = 1;
    data.accuracy = 3;
    ASSERT_TRUE(computeTheoryQuietly(data));
    ReportFields fields;
    setValueFields(fields, data);
    const auto& keys = fields.keys();
    ASSERT_EQ(keys.size(), 55u);
    EXPECT_EQ(keys.front(), "_size_u|");
    EXPECT_EQ(keys[6], "_a|");
    EXPECT_EQ(keys[30], "_sigma_specfic||");
    EXPECT_EQ(keys.back(), "_P_halvik_C|");
    EXPECT_EQ(*fields.find("_size_u|"), "nm");
    EXPECT_EQ(*fields.find("_a|"), "6\n");
    EXPECT_EQ(*fields.find("_etf|"), "0.25");  // the text as typed
    EXPECT_EQ(*fields.find("_sf|"), "0.769\n");
    EXPECT_EQ(*fields.find("_Boltzman|"), "1.38e-23\n");
    EXPECT_EQ(*fields.find("_Vcont_A|"), reportFieldNumber(data.Va_continues, 3));
    EXPECT_EQ(*fields.find("_Vspiral_A|"), reportFieldNumber(data.Va_spiral, 3));
    EXPECT_EQ(*fields.find("_Vnuclei_A|"), reportFieldNumber(data.Va_nuclei, 3));
    EXPECT_EQ(*fields.find("_V_halvik_B|"), reportFieldNumber(data.Vb_kes, 3));
    EXPECT_EQ(*fields.find("_R_halvik_C|"), reportFieldNumber(data.Rf_c_kes, 3));
}

TEST(DirectionalRates, DirectionAIsTheDataPanelsTheory) {
    PhysicalData data = makeStartData();
    data.Size_B = 9;
    data.Is_Frequency_of_Vibrations_Set_Default = 1;
    ASSERT_TRUE(computeTheoryQuietly(data));
    const DirectionalRates r = directionalRates(data);
    EXPECT_EQ(r.continuous[0], data.Va_continues);
    EXPECT_EQ(r.spiral[0], data.Va_spiral);
    EXPECT_EQ(r.nucleation[0], data.Va_nuclei);
    EXPECT_EQ(r.criticalRadius[1], data.r_crit);
    EXPECT_EQ(r.halvikEstimate[1], data.Vb_kes);  // own frequencies: the same rate
    // A taller layer needs a larger nucleus: nucleation along B is slower.
    EXPECT_LT(r.nucleation[1] / r.continuous[1], r.nucleation[0] / r.continuous[0]);
}

TEST(ReportTemplate, ShippedTemplateUsesEveryPlaceholderAndPicture) {
    const std::string text = defaultReportTemplate();
    ASSERT_FALSE(text.empty());
    ReportFields fields;
    for (const auto& picture : kFullReportPictures) fields.set(picture.key, "x.jpg");
    PhysicalData data = makeStartData();
    computeTheoryQuietly(data);
    setValueFields(fields, data);
    for (const std::string& key : fields.keys())
        EXPECT_NE(text.find(key), std::string::npos) << key;
    // Filled in, nothing that looks like a placeholder is left.
    const std::string filled = fillTemplate(text, fields);
    EXPECT_EQ(filled.find("_|"), std::string::npos);
    for (const std::string& key : fields.keys())
        EXPECT_EQ(filled.find(key), std::string::npos) << key;
}

}  // namespace
}  // namespace quorvane
