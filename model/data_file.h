#pragma once
/// The data file: the program's document, holding the physical data with its
/// units, the run settings, the random arguments and the full-research
/// settings in one comma-separated text file beginning with "Content,Data".

#include <string>
#include <vector>

#include "common/platform.h"
#include "model/data_fields.h"
#include "model/physical_data.h"
#include "model/quantity_schema.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "model/run_settings.h"

namespace quorvane {

inline constexpr const char* kNotDataFileMessage = "It is not correct file for reading data";
inline constexpr const char* kCannotWriteMessage = "Error to open file for writing";

/// What writing did.
struct DataFileWriteResult {
    bool written = false;
    std::string path;

    /// The main window's title after a successful write: the path.
    std::string windowTitle() const { return path; }
};

enum class DataFileReadStatus {
    NotOpened,    ///< no readable file there: silently nothing changed
    WrongHeader,  ///< refused with "It is not correct file for reading data"; nothing changed
    BadValue,  ///< refused for the values named in `problems` (the same message); nothing changed
    Loaded,    ///< read and refreshed
};

/// What reading did, and what the panels must show afterwards.
struct DataFileReadResult {
    DataFileReadStatus status = DataFileReadStatus::NotOpened;
    std::string path;                     ///< on Loaded the title becomes "Quorvane - " + path
    bool unitCombosEnabled = false;       ///< the six unit combos: only under system 2 (Custom)
    bool vibrationFieldEnabled = true;    ///< the nu0 field: only while nu0 is not the default
    std::vector<DataField> refusedTexts;  ///< shape texts Update refused, focus the first
    std::vector<std::string> problems;    ///< on BadValue: each refused line, its key first

    bool loaded() const { return status == DataFileReadStatus::Loaded; }
    /// The main window's title after a successful read.
    std::string windowTitle() const { return "Quorvane - " + path; }
};

/// The whole file as `WriteDataFile` writes it.
std::string formatDataFile(const DataDocument& document);

/// Writes the file completely or not at all; "Error to open file for writing"
/// when it cannot be written, and then the old file stays as it was.
DataFileWriteResult WriteDataFile(const std::string& path, const DataDocument& document,
                                  Platform& platform);

/// Reads a data file into the document, then refreshes what the panels
/// derive from it:
///  - the previous unit selections become the loaded ones (the loaded numbers
///    are in the loaded units; nothing is converted), and the gas constant R
///    follows the loaded energy unit;
///  - sizes at or below 0 become 1, the jump frequencies are recomputed, the
///    Data panel's Update parses the shape texts and recomputes P and the
///    time step;
///  - the value list of the research settings is re-read from its texts (the
///    file holds only its count, "Number_values_in_array_to_try", which
///    reading therefore passes over).
/// Every line is read whole, whatever its length. A value that is no number
/// where its key holds one (NaN and infinity included: they would spread
/// through every formula), a negative surface share or bond length, and a
/// temperature at or below absolute zero refuse the whole file: the message
/// names every such line and nothing changes. A known key without a value, a
/// unit index outside its table, a field size below 1 and a random-argument
/// index outside the arguments leave their quantity as it was; huge integers
/// saturate; the accuracy digits and the chart zoom are kept within their
/// ranges (1..20 and 0.01..0.999); a random argument keeps at most kMaxBins bins.
DataFileReadResult ReadDataFile(const std::string& path, DataDocument& document,
                                Platform& platform);

/// The same over a file's text, for readers that have it already.
DataFileReadResult readDataText(const std::string& text, DataDocument& document,
                                Platform& platform);

}  // namespace quorvane
