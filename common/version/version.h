#pragma once
/// The program's version and the commit it was built from, so that every result
/// file and report can be traced to the build that made it.

#include <string>

namespace quorvane {

/// The release number, e.g. "0.2.0".
std::string versionNumber();
/// The short commit id of the checkout the program was built from ("-modified"
/// appended when the checkout had uncommitted changes); empty outside a checkout.
std::string buildCommit();
/// "0.2.0 (commit 1a2b3c4d5e6f)", or "0.2.0" without a commit.
std::string versionText();

}  // namespace quorvane
