#pragma once
/// Where a report puts its pictures and how it refers to them.

#include <optional>
#include <string>

namespace quorvane {

inline constexpr const char* kWrongHtmlExtension = "Wrong file extention, must be html";
inline constexpr const char* kWrongJpgExtension = "Wrong file extention, must be jpg";
inline constexpr const char* kProblemsToOpenFile = "Problems to open file";
/// A report called ".html" (or "dir/.html") would put its pictures into the
/// folder it stands in, over whatever is there.
inline constexpr const char* kNamelessReport = "The report file needs a name before .html";

/// The report's path cut at its last "." (a "." in a folder name above the
/// file does not count), plus `suffix`: the folder of its pictures.
std::string reportImageFolder(const std::string& reportPath, const std::string& suffix = "");

/// The last component of a folder path.
std::string lastPathComponent(const std::string& path);

/// folder name + "/" + file name, as the report refers to a picture. Bytes a
/// browser would read as part of the markup or of the address (quotes, "#",
/// "?", "%", blanks, "<", ">" and every non-ASCII byte) are written as %XX, so a
/// picture loads whatever the folder is called and whatever character set
/// the page declares.
std::string relativePicturePath(const std::string& folderName, const std::string& fileName);

class Platform;

/// Asks where to save a report file: the save dialog with `title`, its filter
/// and initial name "*" + `extension` (".html", ".jpg"); empty when cancelled.
std::optional<std::string> askReportFile(Platform& platform, const char* title,
                                         const std::string& extension);

/// Creates a folder whose parent exists; true when it exists afterwards.
bool makeFolder(const std::string& folder);

}  // namespace quorvane
