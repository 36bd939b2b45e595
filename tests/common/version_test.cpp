#include <gtest/gtest.h>

#include "common/version/version.h"

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

}  // namespace
}  // namespace quorvane
