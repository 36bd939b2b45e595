#pragma once
/// The full report's template: the one the program ships, and its place in
/// the working folder, where the user may edit it.

#include <cstdint>
#include <string>

namespace quorvane {

/// Far beyond any report template: a larger file is refused rather than read
/// whole into memory.
inline constexpr std::uintmax_t kLargestReportTemplate = std::uintmax_t{64} << 20;

/// The shipped template: a complete report of the data that uses every
/// placeholder and all seven pictures.
std::string defaultReportTemplate();

enum class TemplateInstall {
    Present,    ///< a template is there already; it is the user's and stays untouched
    Installed,  ///< the shipped template has been written
    Failed,     ///< it could not be written
};

/// Writes the shipped template to `templatePath` when no file is there, so
/// that "Save full report" works on a fresh machine. Never overwrites.
TemplateInstall installReportTemplate(const std::string& templatePath);

}  // namespace quorvane
