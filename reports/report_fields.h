#pragma once
/// `ReportFields`: the placeholders of the full report and what replaces them,
/// and the copy of a template with every placeholder filled in.

#include <string>
#include <string_view>
#include <vector>

#include "model/physical_data.h"

namespace quorvane {

class ReportFields {
  public:
    /// Replaces the value of a key already present in place; appends a new key.
    /// A value is HTML as it stands: a caller escapes the texts it sets.
    void set(const std::string& key, const std::string& value);
    /// The line with every placeholder replaced by its value, in one pass from
    /// left to right: where keys start at the same place, the first in table
    /// order wins, and a value is never searched for keys again (a value
    /// holding a key, even its own, is copied as it stands).
    std::string replaceInLine(const std::string& line) const;

    const std::vector<std::string>& keys() const { return keys_; }
    const std::vector<std::string>& values() const { return values_; }
    /// The value of a key, or nullptr when the key has not been set.
    const std::string* find(std::string_view key) const;

  private:
    std::vector<std::string> keys_;
    std::vector<std::string> values_;
};

/// The seven pictures of the full report: placeholder key, file name, size.
struct FullReportPicture {
    const char* key;
    const char* fileName;
    int width;
    int height;
};
inline constexpr FullReportPicture kFullReportPictures[] = {
    {"_molecule_img|", "molecule.jpg", 300, 250},
    {"_phase_diagram_img|", "phase_diagram.jpg", 400, 300},
    {"_cryst_cur|", "crystal_cur_temp.jpg", 250, 250},
    {"_temperature_Curves|", "cur_temp_curve.jpg", 800, 500},
    {"_temperature_Curves_for_All_Directions_1|", "temp_curves_all_dir.jpg", 800, 700},
    {"_temperature_Curves_for_All_Directions_s|", "temp_curves_all_dir_small_supercoolings.jpg",
     800, 700},
    {"_shapes of the crystal|", "shapes_of_gr_crystal.jpg", 600, 1000},
};

/// Sets every value placeholder from the data, in the table's order: the unit
/// names, the molecule, the thermodynamics and the theoretical predictions,
/// numbers with the data's accuracy digits each followed by a line end.
void setValueFields(ReportFields& fields, const PhysicalData& data);

/// The template copied in pieces as the C library's fgets reads them (up to
/// 999 characters, a line end included), each piece with its placeholders
/// replaced and followed by "\n".
std::string fillTemplate(std::string_view templateText, const ReportFields& fields);

}  // namespace quorvane
