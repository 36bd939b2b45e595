#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "common/text.h"
#include "document_fixture.h"
#include "model/data_file.h"
#include "model/probabilities.h"
#include "model/unit_change.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

using testing::DocumentFixture;
using testing::TempFolder;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (readLine(in, line)) lines.push_back(line);
    return lines;
}

struct DataFile : ::testing::Test {
    TempFolder folder;
    DocumentFixture f;

    DataFileReadResult read(const std::string& text) {
        return ReadDataFile(folder.write("in.csv", text), f.doc, f.platform);
    }
};

TEST_F(DataFile, WritesEveryLineInItsOrderAndFormat) {
    f.research.List_of_values_to_try = "0.001, 0.002";
    f.arguments[kArgumentEdgesWeight].editMode = 2;
    auto lines = linesOf(formatDataFile(f.doc));
    ASSERT_EQ(lines.size(), 61u + 7u + 11u);
    const std::vector<std::string> head{"Content,Data",
                                        "Units,Index,Name",
                                        "system,0",
                                        "dimension,0,A",
                                        "weight,0,ng",
                                        "energy,0,J",
                                        "temperature,0,K",
                                        "time,4,s",
                                        "concentration,0,parts",
                                        "accuracy,4,digits",
                                        "Variable,Value,Unit",
                                        "Size_A,6,A",
                                        "Size_B,6,A",
                                        "Size_C,6,A"};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 14), head);
    EXPECT_EQ(lines[14].substr(0, 10), "Enthalpie,");
    EXPECT_TRUE(lines[14].ends_with(",J/A^3"));
    EXPECT_EQ(lines[15], "Molecular_Weight,300,Daltons");
    EXPECT_EQ(lines[16], "Surface_Energy,1.2e-21,J/A^2");
    EXPECT_EQ(lines[20], "Frequency_of_Vibrations,2.099e+14,1/s");
    EXPECT_EQ(lines[21], "Is_Frequency_of_Vibrations_Set_Default,0,Yes=1_or_No=0");
    EXPECT_EQ(lines[22], "Activation_Energy,340000,J/mol");
    EXPECT_TRUE(lines[23].starts_with("Density,") && lines[23].ends_with(",ng/A^3"));
    EXPECT_EQ(lines[29], "Surface,216,A^2");
    EXPECT_EQ(lines[30], "Volume,216,A^3");
    EXPECT_TRUE(lines[31].starts_with("Va_continues,") && lines[31].ends_with(",A/s"));
    EXPECT_TRUE(lines[42].starts_with("Pf_c_kes,") && lines[42].ends_with(",Parts_c"));
    EXPECT_EQ(lines[43], "Chart_show_curves,1,0,1");
    EXPECT_EQ(lines[44], "Paint_temp_curve_with_zoom,0.7");
    EXPECT_EQ(lines[45], "N_field_W,160,unitless");
    EXPECT_EQ(lines[47], "N_in_per_step,5.5552,unitless");
    EXPECT_EQ(lines[48], "Prob_in_at_step,0.000217,unitless");
    EXPECT_TRUE(lines[49].starts_with("Time_step,") && lines[49].ends_with(",sec"));
    EXPECT_EQ(lines[51], "Time_simulattion_limit,10,min");
    EXPECT_EQ(lines[56], "Is_any_limits,0,Yes=1_or_No=0");
    EXPECT_EQ(lines[57], "Parts_of_surface_for_edges,0.25");
    EXPECT_EQ(lines[58], "Parts_of_surface_for_vertices,0.05");
    EXPECT_EQ(lines[59], "Characterictic_length_of_bond,1,A");
    EXPECT_EQ(lines[60], "Is_includes_porosity,0");
    EXPECT_EQ(lines[61],
              "Random_argument__0,A-axis (nm),0,0.2,2,0,0,9,0.05,0.2,0.2,0.15,"
              "0.12,0.1,0.08,0.06,0.04");
    EXPECT_EQ(lines[64],
              "Random_argument__3,Edges weight,2,0,0.5,0,0,10,0.02,0.06,0.1,0.14,"
              "0.18,0.18,0.14,0.1,0.06,0.02");
    EXPECT_EQ(lines[67],
              "Random_argument__6,Specific surface energy,0,-1,-1,0,0,10,0.1,0.1,"
              "0.1,0.1,0.1,0.1,0.1,0.1,0.1,0.1");
    const std::vector<std::string> tail{"Do_optimize_run_probabilities,0",
                                        "Sheme_for_running_with_porosity,1",
                                        "Do_exit_when_less_than_N_layers_filled,0",
                                        "Theshold_of_layesr_to_fill,5",
                                        "N_terms_inInterpolation,2",
                                        "Values_to_try_as_loop_or_list,0",
                                        "Start_loop_from,0.001",
                                        "Step_in_loop,0.001",
                                        "N_steps_in_loop,4",
                                        "Number_values_in_array_to_try,3",
                                        "List_of_values_to_try,0.001, 0.002"};
    EXPECT_EQ(std::vector<std::string>(lines.end() - 11, lines.end()), tail);
}

TEST_F(DataFile, WriteReadWriteIsByteIdentical) {
    // A state far from the defaults in every part of the document.
    changeLengthUnit(f.data, 1);
    changeTemperatureScale(f.data, 1);
    f.data.accuracy = 7;
    f.data.Chart_show_curves = {0, 1, 1};
    f.run.N_field_W = 200;
    f.run.Is_any_limits = 1;
    f.run.Is_includes_porosity = 1;
    setValueSource(f.research, true);
    f.research.N_steps_in_loop = "6";
    f.research.values = reReadValues(f.research);
    f.research.Sheme_for_running_with_porosity = 3;
    setBinMass(f.arguments[kArgumentAxisB], 4, 0.5);
    f.arguments[kArgumentSupercooling].editMode = 3;
    recomputeProbabilityAndTimeStep(f.run, f.data);
    computeTheoryQuietly(f.data);
    std::string first = formatDataFile(f.doc);

    // Saving rounds to six digits, and the derived values follow the rounded
    // ones; from then on a file read and saved again is the same file.
    auto reload = [&](const std::string& text, DocumentFixture& into) {
        EXPECT_TRUE(ReadDataFile(folder.write("a.csv", text), into.doc, into.platform).loaded());
        computeTheoryQuietly(into.data);  // the Data panel's repaint after loading
        return formatDataFile(into.doc);
    };
    DocumentFixture g;
    DocumentFixture h;
    std::string second = reload(first, g);
    EXPECT_EQ(reload(second, h), second);
    EXPECT_TRUE(g.platform.messages.empty());
    EXPECT_EQ(h.research, f.research);
    EXPECT_EQ(g.arguments[kArgumentSupercooling], f.arguments[kArgumentSupercooling]);
    EXPECT_EQ(h.arguments[kArgumentAxisB].bins[4], 0.5);
}

TEST_F(DataFile, NumbersDoNotDependOnTheLocale) {
    std::string inC = formatDataFile(f.doc);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    char plain[16];
    std::snprintf(plain, sizeof plain, "%g", 0.5);  // the locale really writes commas
    std::string inGerman = formatDataFile(f.doc);
    DocumentFixture g;
    g.data.Size_A = 1;
    auto result = ReadDataFile(folder.write("de.csv", inGerman), g.doc, g.platform);
    std::setlocale(LC_ALL, "C");
    EXPECT_STREQ(plain, "0,5");
    EXPECT_EQ(inGerman, inC);
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(g.data.Size_A, 6);
    EXPECT_EQ(g.data.Surface_Energy, 1.2e-21);
    EXPECT_DOUBLE_EQ(g.run.Prob_in_at_step, 0.000217);
}

TEST_F(DataFile, RefusedHeadersChangeNothing) {
    auto before = f.snapshot();
    for (const char* text :
         {"content,data\nSize_A,7\n", "Content\nSize_A,7\n", "Content,Data,More\nSize_A,7\n",
          "Data,Content\n", "", "\n", "Con\n", "Content Data Size_A,7\n"}) {
        auto result = read(text);
        EXPECT_EQ(result.status, DataFileReadStatus::WrongHeader) << text;
    }
    EXPECT_EQ(f.platform.messages,
              std::vector<std::string>(8, "It is not correct file for reading data"));
    EXPECT_TRUE(f.snapshot() == before);

    // Blanks, commas and a CR line end around the two words are fine.
    EXPECT_TRUE(read(" Content , Data ,\r\nSize_A,7\n").loaded());
    EXPECT_EQ(f.data.Size_A, 7);
}

TEST_F(DataFile, UnreadablePathsAreSilent) {
    auto before = f.snapshot();
    auto missing = ReadDataFile(folder.file("none.csv"), f.doc, f.platform);
    auto directory = ReadDataFile(folder.path(), f.doc, f.platform);
    EXPECT_EQ(missing.status, DataFileReadStatus::NotOpened);
    EXPECT_EQ(directory.status, DataFileReadStatus::NotOpened);
    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_TRUE(f.snapshot() == before);
}

TEST_F(DataFile, FieldsAreTrimmedAndTheLastKeyWins) {
    ASSERT_TRUE(read("Content,Data\n Size_A , 7.5 \nSize_B,\t2\t,A\nSize_C,3\nSize_C,4\n"
                     "Temperature_of_Melt,1900,K,extra,fields\n")
                    .loaded());
    EXPECT_EQ(f.data.Size_A, 7.5);
    EXPECT_EQ(f.data.Size_B, 2);
    EXPECT_EQ(f.data.Size_C, 4);
    EXPECT_EQ(f.data.Temperature_of_Melt, 1900);

    // Six significant digits go to the file.
    f.data.Size_A = 1.23456789;
    auto lines = linesOf(formatDataFile(f.doc));
    EXPECT_EQ(lines[11], "Size_A,1.23457,A");
    read(formatDataFile(f.doc));
    EXPECT_EQ(f.data.Size_A, 1.23457);
}

TEST_F(DataFile, UnitsAreLoadedWithoutConversion) {
    // Saved in nanometres...
    DocumentFixture saved;
    changeLengthUnit(saved.data, 1);
    ASSERT_DOUBLE_EQ(saved.data.Size_A, 0.6);
    std::string text = formatDataFile(saved.doc);
    // ...loaded while angstrom is selected.
    ASSERT_EQ(f.data.dimension, 0);
    ASSERT_TRUE(read(text).loaded());
    EXPECT_EQ(f.data.dimension, 1);
    EXPECT_EQ(f.data.previous.dimension, 1);
    EXPECT_EQ(f.data.Size_A, 0.6);
    EXPECT_EQ(f.data.Volume, 0.216);
    // A later change from nanometres converts from nanometres.
    changeLengthUnit(f.data, 0);
    EXPECT_DOUBLE_EQ(f.data.Size_A, 6);

    // The gas constant follows a loaded energy unit.
    read("Content,Data\nenergy,2,kJ\n");
    EXPECT_DOUBLE_EQ(f.data.R, kGasConstant / 1000);
}

TEST_F(DataFile, OnlyTheHeaderStillRefreshes) {
    f.run.Prob_in_at_step = 0.5;  // not N / (W H)
    f.data.dimension = 3;         // not yet converted to
    f.data.Parts_of_surface_for_edges = "0.5";
    f.research.values.clear();
    auto result = read("Content,Data\n");
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(f.run.Prob_in_at_step, f.run.N_in_per_step / (160.0 * 160.0));
    EXPECT_EQ(f.data.previous.dimension, 3);
    EXPECT_EQ(f.data.edgesRatio, 0.5);
    EXPECT_EQ(f.research.values, (std::vector<double>{0.001, 0.0015, 0.002}));
    EXPECT_FALSE(result.unitCombosEnabled);
    EXPECT_TRUE(result.vibrationFieldEnabled);

    result = read("Content,Data\nsystem,2\nIs_Frequency_of_Vibrations_Set_Default,1\n");
    EXPECT_TRUE(result.unitCombosEnabled);
    EXPECT_FALSE(result.vibrationFieldEnabled);
    EXPECT_EQ(f.data.Frequency_of_Vibrations, f.data.nu0_a);  // nu0 from the molecule size
}

TEST_F(DataFile, SpecialKeys) {
    ASSERT_TRUE(read("Content,Data\nCharacterictic_length_of_bond, 2.5 ,A\n"
                     "Is_includes_porosity,7\nChart_show_curves,0,1\n"
                     "List_of_values_to_try,0.001,0.0015, 0.002\n")
                    .loaded());
    EXPECT_EQ(f.data.Characterictic_length_of_bond, "2.5");
    EXPECT_EQ(f.data.bondLength, 2.5);
    EXPECT_EQ(f.run.Is_includes_porosity, 1);
    EXPECT_EQ(f.data.Chart_show_curves, (std::array<int, 3>{0, 1, 1}));
    // Each item is trimmed, so the text is the one the dialog validates.
    EXPECT_EQ(f.research.List_of_values_to_try, "0.001,0.0015,0.002");
    EXPECT_EQ(f.research.values, (std::vector<double>{0.001, 0.0015, 0.002}));
    EXPECT_TRUE(f.platform.messages.empty());

    read("Content,Data\nIs_includes_porosity,-3\n");
    EXPECT_EQ(f.run.Is_includes_porosity, 0);
}

TEST_F(DataFile, RandomArgumentLines) {
    ASSERT_TRUE(read("Content,Data\n"
                     "Random_argument__12, Wide C ,1,0.5,1.5,0.25,0.25,2,0.25,0.25\n"
                     "Random_argument__0,Renamed A\n"
                     "Random_argument__9,Beyond,0,0,1,0,0,1,1\n"
                     "Random_argument_,Too short\n"
                     "Random_argument__/,Below zero\n"
                     "Random_argument__5, ,9,1,2\n")
                    .loaded());
    const RandomArgument& c = f.arguments[kArgumentAxisC];
    EXPECT_EQ(c.name, "Wide C");
    EXPECT_EQ(c.editMode, 1);
    EXPECT_EQ(c.min, 0.5);
    EXPECT_EQ(c.max, 1.5);
    EXPECT_EQ(c.below, 0.25);
    EXPECT_EQ(c.bins, (std::vector<double>{0.25, 0.25}));  // normalised
    // Overwritten as far as fields go.
    EXPECT_EQ(f.arguments[0].name, "Renamed A");
    EXPECT_EQ(f.arguments[0].bins, makeDefaultRandomArguments()[0].bins);
    // An empty name and an edit mode outside 0..3 are not taken; min and max are.
    const RandomArgument& supercooling = f.arguments[kArgumentSupercooling];
    EXPECT_EQ(supercooling.name, "Specific supercooling");
    EXPECT_EQ(supercooling.editMode, 0);
    EXPECT_EQ(supercooling.max, 2);
    EXPECT_EQ(f.arguments.size(), 7u);

    // A count beyond what a record holds, or below 0, never allocates wildly.
    read(
        "Content,Data\nRandom_argument__1,B,0,0,1,0,0,2147483647,1,2\n"
        "Random_argument__2,C,0,0,1,0,0,-5,1,2\n");
    // The bins not listed keep their masses (0.75 beyond the first two), the new ones are empty.
    ASSERT_EQ(f.arguments[1].bins.size(), static_cast<size_t>(kMaxBins));
    EXPECT_NEAR(f.arguments[1].bins[1], 2 / 3.75, 1e-12);
    EXPECT_EQ(f.arguments[1].bins[kMaxBins - 1], 0);
    EXPECT_EQ(f.arguments[2].bins, (std::vector<double>{0.5, 0.5}));

    // With no mass at all the record is kept, marked invalid.
    read("Content,Data\nRandom_argument__4,V,0,0,1,0,0,2,0,0\n");
    EXPECT_FALSE(f.arguments[4].valid);
}

TEST_F(DataFile, SurvivesAnyLine) {
    std::string huge(1 << 20, 'x');
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
    EXPECT_TRUE(
        read("Content,Data\n" + huge + "\n" + binary + "\n,,,,\n \n\r\n" + "Size_A,8").loaded());
    EXPECT_EQ(f.data.Size_A, 8);  // the last line has no line end
    read(binary);
    EXPECT_EQ(f.data.Size_A, 8);
    EXPECT_EQ(read("Content,Data\nSize_A," + huge + "\n").status, DataFileReadStatus::BadValue);
    EXPECT_EQ(f.data.Size_A, 8);
}

TEST_F(DataFile, WriteFailsWholeOrNotAtAll) {
    std::string target = folder.write("keep.csv", "Content,Data\nSize_A,3\n");
    auto result = WriteDataFile(folder.path(), f.doc, f.platform);  // a folder
    EXPECT_FALSE(result.written);
    result = WriteDataFile(folder.file("missing/dir/data.csv"), f.doc, f.platform);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(f.platform.messages, std::vector<std::string>(2, "Error to open file for writing"));
    EXPECT_EQ(folder.read("keep.csv"), "Content,Data\nSize_A,3\n");

    result = WriteDataFile(target, f.doc, f.platform);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.path, target);
    EXPECT_EQ(folder.read("keep.csv"), formatDataFile(f.doc));
}

TEST_F(DataFile, LongPathsWork) {
    std::string dir = folder.path();
    for (int i = 0; i < 8; ++i) dir += "/" + std::string(40, static_cast<char>('a' + i));
    std::filesystem::create_directories(dir);
    std::string path = dir + "/a data file, with a comma.csv";
    ASSERT_GT(path.size(), 300u);
    f.data.Size_A = 4.5;
    ASSERT_TRUE(WriteDataFile(path, f.doc, f.platform).written);
    DocumentFixture g;
    auto result = ReadDataFile(path, g.doc, g.platform);
    EXPECT_TRUE(result.loaded());
    EXPECT_EQ(result.windowTitle(), "Quorvane - " + path);
    EXPECT_EQ(g.data.Size_A, 4.5);
}

TEST_F(DataFile, LineBreaksInTypedTextsDoNotBreakTheFile) {
    f.research.List_of_values_to_try = "0.001\n0.002\r\n0.003";
    f.research.Start_loop_from = "0.0\n01";
    DocumentFixture g;
    ASSERT_TRUE(
        ReadDataFile(folder.write("t.csv", formatDataFile(f.doc)), g.doc, g.platform).loaded());
    EXPECT_EQ(g.research.List_of_values_to_try, "0.001,0.002,0.003");
    EXPECT_EQ(g.research.values, (std::vector<double>{0.001, 0.002, 0.003}));
    EXPECT_EQ(g.research.Start_loop_from, "0.0 01");
    EXPECT_EQ(linesOf(formatDataFile(f.doc)).size(), 79u);
}

TEST_F(DataFile, NoTextCanStartALineOfItsOwn) {
    // Whatever a caller puts into the typed texts, the file keeps its lines.
    const std::string injected = "x\nN_field_W,2000000\r\vy";
    f.data.Parts_of_surface_for_edges = injected;
    f.data.Parts_of_surface_for_vertices = injected;
    f.data.Characterictic_length_of_bond = injected;
    f.arguments.at(0).name = injected;
    f.research.Start_loop_from = f.research.Step_in_loop = f.research.N_steps_in_loop = injected;
    f.research.List_of_values_to_try = injected;
    const std::string text = formatDataFile(f.doc);
    EXPECT_EQ(linesOf(text).size(), 79u);
    EXPECT_EQ(text.find("\nN_field_W,2000000"), std::string::npos);
    EXPECT_EQ(text.find('\v'), std::string::npos);
}

TEST_F(DataFile, AByteOrderMarkIsNoPartOfTheHeader) {
    auto result = read(
        "\xEF\xBB\xBF"
        "Content,Data\nSize_A,7.5,nm\n");
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(f.data.Size_A, 7.5);
    EXPECT_TRUE(f.platform.messages.empty());
    // A list with blanks after its items reads back as the dialog would show it.
    ASSERT_TRUE(read("Content,Data\nList_of_values_to_try,0.002 ,0.003\n").loaded());
    EXPECT_EQ(f.research.List_of_values_to_try, "0.002,0.003");
}

}  // namespace
}  // namespace quorvane
