#include <gtest/gtest.h>

#include <filesystem>

#include "common/share_folder.h"
#include "common/version/version.h"
#include "support/temp_folder.h"

namespace quorvane {
namespace {

TEST(Version, NumberAndCommitMakeTheText) {
    EXPECT_FALSE(versionNumber().empty());
    const std::string text = versionText();
    EXPECT_EQ(text.rfind(versionNumber(), 0), 0u);
    if (buildCommit().empty())
        EXPECT_EQ(text, versionNumber());
    else
        EXPECT_EQ(text, versionNumber() + " (commit " + buildCommit() + ")");
}

TEST(SharedFolder, FoundBesideTheBinFolderOnly) {
    testing::TempFolder temp;
    namespace fs = std::filesystem;
    fs::path bin = fs::path(temp.path()) / "prefix" / "bin";
    fs::create_directories(bin);
    EXPECT_EQ(sharedFolderFrom(bin.string(), "help"), "");
    fs::create_directories(fs::path(temp.path()) / "prefix" / "share" / "quorvane" / "help");
    EXPECT_EQ(sharedFolderFrom(bin.string(), "help"),
              (fs::path(temp.path()) / "prefix" / "share" / "quorvane" / "help").string());
    EXPECT_EQ(sharedFolderFrom(bin.string(), "templates"), "");
    EXPECT_EQ(sharedFolderFrom("", "help"), "");
    EXPECT_FALSE(executableFolder().empty());
}

}  // namespace
}  // namespace quorvane
