#include "common/version/version.h"

#include "quorvane_version.h"

namespace quorvane {

std::string versionNumber() {
    return QUORVANE_VERSION;
}

std::string buildCommit() {
    return QUORVANE_COMMIT;
}

std::string versionText() {
    std::string commit = buildCommit();
    if (commit.empty()) return versionNumber();
    return versionNumber() + " (commit " + commit + ")";
}

}  // namespace quorvane
