#pragma once
/// Where the program finds what it ships besides its binaries (help pages, the
/// default report template, examples): `<prefix>/share/quorvane` beside the
/// `<prefix>/bin` folder of the running program. The build tree has the same
/// layout, so a program run from build/bin finds them exactly as an installed one.

#include <string>

namespace quorvane {

/// The folder of the running executable ("" when the system cannot say).
std::string executableFolder();

/// `<executable folder>/../share/quorvane/<name>` when that folder exists, else "".
std::string sharedFolder(const std::string& name);

/// The same, from a given executable folder (tests).
std::string sharedFolderFrom(const std::string& executableFolder, const std::string& name);

}  // namespace quorvane
