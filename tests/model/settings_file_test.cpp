#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "document_fixture.h"
#include "model/settings_file.h"
#include "model/start_close.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

using testing::DocumentFixture;
using testing::TempFolder;

struct Settings : ::testing::Test {
    TempFolder documents;
    DocumentFixture f;
    std::string folder = documents.file("Ambrevo");

    StartResult start() { return startSession(documents.path(), f.doc, f.platform); }
    std::string settingsText() const { return documents.read("Ambrevo/_Quorvane_setting.csv"); }
};

TEST_F(Settings, BlockFormatIsFixedWhateverTheLocale) {
    std::tm time = testing::ScriptedPlatform::makeTime(2011, 3, 3, 14, 5, 9);  // weekday unset
    const std::string expected =
        "Setting Quorvane\nChanded at: Thu Mar  3 14:05:09 2011\n"
        "Path_To_Data_File,/d/_Quorvane_lastData.csv\nPath_To_Log_File,/d/my log, 2.csv\n";
    EXPECT_EQ(formatSettingsBlock(time, "/d/_Quorvane_lastData.csv", "/d/my log, 2.csv"), expected);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    std::string inGerman =
        formatSettingsBlock(time, "/d/_Quorvane_lastData.csv", "/d/my log, 2.csv");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inGerman, expected);
}

TEST_F(Settings, FirstStartCreatesFolderSettingsAndLastData) {
    StartResult started = start();
    EXPECT_EQ(started.folder.status, WorkingFolderStatus::Created);
    EXPECT_EQ(started.folder.folder, folder);
    EXPECT_EQ(started.settings.status, SettingsReadStatus::FirstStart);
    EXPECT_TRUE(started.settings.saved.appended);
    EXPECT_TRUE(started.settings.saved.data.written);
    const AppPaths& paths = started.paths;
    EXPECT_EQ(paths.settingsFile, folder + "/_Quorvane_setting.csv");
    EXPECT_EQ(paths.lastDataFile, folder + "/_Quorvane_lastData.csv");
    EXPECT_EQ(paths.templatePathFile, folder + "/_Quorvane_pathToTemlateOfFullReport.html");
    EXPECT_EQ(paths.currentDataPath, paths.lastDataFile);
    EXPECT_EQ(paths.logPath, folder + "/_Quorvane_log.csv");
    EXPECT_EQ(settingsText(),
              formatSettingsBlock(f.platform.localTime, paths.lastDataFile, paths.logPath));
    DocumentFixture defaults;
    EXPECT_EQ(documents.read("Ambrevo/_Quorvane_lastData.csv"), formatDataFile(defaults.doc));
    EXPECT_TRUE(f.platform.messages.empty());

    // The next start finds the folder and reads what the first one wrote.
    DocumentFixture g;
    StartResult again = startSession(documents.path(), g.doc, g.platform);
    EXPECT_EQ(again.folder.status, WorkingFolderStatus::Existing);
    EXPECT_EQ(again.settings.status, SettingsReadStatus::Read);
    EXPECT_TRUE(again.settings.data.loaded());
    EXPECT_EQ(again.paths, paths);
}

TEST_F(Settings, StartUsesTheLastOfSeveralBlocks) {
    StartResult started = start();
    AppPaths paths = started.paths;
    for (const char* log : {"/logs/first.csv", "/logs/with blanks and, a comma .csv"}) {
        paths.logPath = log;
        paths.currentDataPath = documents.file("elsewhere.csv");  // a file the user opened
        f.data.Size_A += 1;
        EXPECT_TRUE(closeSession(paths, f.doc, f.platform).appended);
        EXPECT_EQ(paths.currentDataPath, paths.lastDataFile);
    }
    EXPECT_FALSE(std::filesystem::exists(documents.file("elsewhere.csv")));
    std::string text = settingsText();
    size_t blocks = 0;
    for (size_t at = text.find("Setting Quorvane"); at != std::string::npos;
         at = text.find("Setting Quorvane", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 3u);

    DocumentFixture g;
    StartResult again = startSession(documents.path(), g.doc, g.platform);
    EXPECT_EQ(again.paths.logPath, "/logs/with blanks and, a comma .csv");
    EXPECT_EQ(again.paths.currentDataPath, paths.lastDataFile);
    EXPECT_EQ(g.data.Size_A, 8);  // the data of the last close
}

TEST_F(Settings, PathsAreTakenAsWritten) {
    std::filesystem::create_directories(folder);
    documents.write("Ambrevo/_Quorvane_setting.csv",
                    "Setting,Quorvane\r\nChanded at: Thu Mar  3 14:05:09 2011\r\n"
                    " Path_To_Log_File ,  relative log.csv ,\r\n"
                    "Path_To_Data_File,mine.csv\r\nPath_To_Log_File\r\nother,x\r\n");
    DocumentFixture saved;
    saved.data.Size_B = 3;
    documents.write("Ambrevo/mine.csv", formatDataFile(saved.doc));
    StartResult started = start();
    EXPECT_EQ(started.settings.status, SettingsReadStatus::Read);
    EXPECT_EQ(started.paths.logPath, folder + "/relative log.csv");
    EXPECT_EQ(started.paths.currentDataPath, folder + "/mine.csv");
    EXPECT_EQ(f.data.Size_B, 3);

    SettingsContent content = parseSettingsText("Setting Quorvane\nPath_To_Data_File,,,\n");
    EXPECT_TRUE(content.headerAccepted);
    EXPECT_FALSE(content.dataPath);
}

TEST_F(Settings, ADamagedFirstLineIsSetAsideAndTheLastDataAreRead) {
    std::filesystem::create_directories(folder);
    DocumentFixture saved;
    saved.data.Size_A = 2;
    documents.write("Ambrevo/_Quorvane_lastData.csv", formatDataFile(saved.doc));
    for (const char* header : {"Setting", "setting Quorvane", "Setting Quorvane now", "Set", ""}) {
        documents.write("Ambrevo/_Quorvane_setting.csv",
                        std::string(header) + "\nPath_To_Log_File,my log.csv\n");
        DocumentFixture g;
        StartResult started = startSession(documents.path(), g.doc, g.platform);
        EXPECT_EQ(started.settings.status, SettingsReadStatus::SetAside) << header;
        EXPECT_EQ(g.data.Size_A, 2) << header;  // the last data, which every block names
        EXPECT_EQ(started.paths.logPath, folder + "/my log.csv");
        ASSERT_EQ(g.platform.messages.size(), 2u);
        EXPECT_EQ(g.platform.messages[0], "It is not correct file for reading data");
        EXPECT_FALSE(documents.exists("Ambrevo/_Quorvane_setting.csv"));
    }
    EXPECT_EQ(documents.read("Ambrevo/_Quorvane_setting.csv.damaged-5"),
              "\nPath_To_Log_File,my log.csv\n");
    // Without any settings file the last data are read too, and kept.
    DocumentFixture g;
    EXPECT_EQ(startSession(documents.path(), g.doc, g.platform).settings.status,
              SettingsReadStatus::FirstStart);
    EXPECT_EQ(g.data.Size_A, 2);
    EXPECT_EQ(documents.read("Ambrevo/_Quorvane_lastData.csv"), formatDataFile(saved.doc));
}

TEST_F(Settings, FileInTheWayIsLeftAlone) {
    documents.write("Ambrevo", "the user's own file");
    StartResult started = start();
    EXPECT_EQ(started.folder.status, WorkingFolderStatus::FileInTheWay);
    EXPECT_FALSE(started.folder.ready());
    EXPECT_EQ(started.settings.status, SettingsReadStatus::NotRead);
    ASSERT_EQ(f.platform.messages.size(), 1u);
    EXPECT_EQ(f.platform.messages[0],
              "The working folder cannot be created, a file of that name is in the way: " + folder);

    // Closing cannot save; it says so and touches nothing.
    SettingsSaveResult saved = closeSession(started.paths, f.doc, f.platform);
    EXPECT_FALSE(saved.appended);
    EXPECT_FALSE(saved.data.written);
    EXPECT_EQ(f.platform.messages.back(), "Error to open file for writing");
    EXPECT_EQ(documents.read("Ambrevo"), "the user's own file");
}

TEST_F(Settings, UnwritableSettingsWriteNoData) {
    std::filesystem::create_directories(folder + "/_Quorvane_setting.csv");  // a folder
    StartResult started = start();
    EXPECT_EQ(started.settings.status, SettingsReadStatus::FirstStart);
    EXPECT_FALSE(started.settings.saved.appended);
    EXPECT_EQ(f.platform.messages, std::vector<std::string>{"Error to open file for writing"});
    EXPECT_FALSE(std::filesystem::exists(folder + "/_Quorvane_lastData.csv"));
}

TEST_F(Settings, LongDocumentsFolderWorks) {
    std::string deep = documents.path();
    for (int i = 0; i < 7; ++i) deep += "/" + std::string(45, static_cast<char>('k' + i));
    std::filesystem::create_directories(deep);
    StartResult started = startSession(deep, f.doc, f.platform);
    ASSERT_GT(started.paths.settingsFile.size(), 300u);
    EXPECT_EQ(started.settings.status, SettingsReadStatus::FirstStart);
    EXPECT_TRUE(started.settings.saved.data.written);
    DocumentFixture g;
    EXPECT_TRUE(startSession(deep, g.doc, g.platform).settings.data.loaded());
}

}  // namespace
}  // namespace quorvane
