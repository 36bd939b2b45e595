#pragma once
/// The quantities of the data file, one row per key: where the value lives,
/// what kind of value it is, its physical dimension, how the file writes it,
/// and the bounds a value set by hand must keep. The data-file reader and
/// writer, `--set`, the Data panel's unit labels and the run report's rows are
/// all rendered from these rows, each in its own notation, so a new key is one
/// new row (and the member that holds it).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/data_fields.h"
#include "model/physical_data.h"
#include "model/random_argument.h"
#include "model/research_settings.h"
#include "model/run_settings.h"
#include "model/units.h"

namespace quorvane {

/// What a unit text is built from: the current units of the data.
enum class Dimension {
    None,           ///< the file writes no unit column
    Fixed,          ///< a fixed text given by the row ("unitless", "Layers_a"...)
    Length,         ///< L
    Area,           ///< L^2
    Volume,         ///< L^3
    Mass,           ///< W, the weight unit itself
    Energy,         ///< E, the energy unit itself
    Daltons,        ///< molecular weight, never converted
    Density,        ///< W/L^3
    MolarEnergy,    ///< E/mol
    VolumeEnergy,   ///< E/L^3
    SurfaceEnergy,  ///< E/L^2
    Temperature,    ///< the temperature scale
    Concentration,  ///< parts or percent
    Frequency,      ///< 1/t
    Rate,           ///< L/t
    Time,           ///< t
    Dimensionless,  ///< a ratio of energies
};

/// The notations a unit is written in.
enum class Notation {
    File,   ///< "kJ/A^3"
    Panel,  ///< "kJ/A³" (UTF-8 superscripts keep the line's height)
    Html,   ///< "kJ/A<sup>3</sup>"
};

/// What kind of value a key holds, and so how it is read, written and set.
enum class QuantityKind {
    Heading,          ///< a line of its own in the file ("Variable,Value,Unit")
    Real,             ///< a double, read with atof, written "%g"
    Whole,            ///< an int, read with atoi, written "%d"
    Text,             ///< a text kept as typed
    UnitIndex,        ///< the index of a unit in its table
    Derived,          ///< a theoretical result: written for the reader, never read
    Curves,           ///< the three chart-curve flags on one line
    ValueList,        ///< the list of values to try, its items separated by commas
    ValueCount,       ///< the number of values in that list: written, never read
    RandomArguments,  ///< one line per random argument of the general experiment
};

/// What reading does with a whole number outside the row's bounds.
enum class ReadRule {
    Store,        ///< any value is kept
    Ignore,       ///< a value outside the bounds leaves the quantity as it was
    IgnoreBelow,  ///< a value below the low bound leaves the quantity as it was
    Clamp,        ///< a value outside the bounds is brought within them
    PositiveOne,  ///< above 0 reads as 1, else 0
    NumberOnly,   ///< a text is kept only when it reads as a finite number, its number with it
};

/// Where a row's value lives.
using QuantityMember =
    std::variant<std::monostate, double PhysicalData::*, int PhysicalData::*,
                 std::string PhysicalData::*, double RunSettings::*, int RunSettings::*,
                 int ResearchSettings::*, std::string ResearchSettings::*>;

/// The bounds of a number set by hand, and what the refusal says it must be.
struct QuantityBounds {
    double low = -1e308;
    double high = 1e308;
    bool whole = false;
    bool lowOpen = false;  ///< the low bound itself is refused ("above 0")
    const char* want = "a number";
};

struct QuantityRow {
    const char* key;
    QuantityKind kind;
    QuantityMember member;
    Dimension dimension = Dimension::None;
    const char* fixedUnit = "";  ///< the file's unit text of a Fixed row
    QuantityBounds bounds{};
    ReadRule readRule = ReadRule::Store;
    std::optional<DataField> field{};  ///< the Data panel's field that edits it
    /// A shape text's parsed number (edges, vertices, bond length).
    double PhysicalData::*parsed = nullptr;
    UnitKind unitKind = UnitKind::Length;  ///< of a UnitIndex row (not the system)
};

/// Everything a data file holds, wherever the program keeps it. The desktop
/// program points it at its state, the batch runner at its own.
struct DataDocument {
    PhysicalData& data;
    RunSettings& run;
    ResearchSettings& research;
    std::vector<RandomArgument>& randomArguments;
};

/// Every row, in the order the data file writes them.
std::span<const QuantityRow> quantitySchema();
/// The row of a data-file key; nullptr for any other key.
const QuantityRow* findQuantity(std::string_view key);
/// The row a Data panel field edits.
const QuantityRow& quantityOfField(DataField field);

/// The unit text of a dimension in the data's current units.
std::string unitText(Dimension dimension, const PhysicalData& d, Notation notation);
/// The unit text of a row: its dimension's, or its fixed text.
std::string unitText(const QuantityRow& row, const PhysicalData& d, Notation notation);

/// The number a row holds (a shape text: its parsed number); nullopt for rows
/// that hold no single number.
std::optional<double> quantityNumber(const QuantityRow& row, const DataDocument& doc);
/// The double, int or text a row holds, for the rows that hold one (the
/// document refers to its objects, so these reach them whatever its constness).
double* realOf(const QuantityRow& row, const DataDocument& doc);
int* wholeOf(const QuantityRow& row, const DataDocument& doc);
std::string* textOf(const QuantityRow& row, const DataDocument& doc);

/// True when `value` keeps the row's bounds.
bool withinBounds(const QuantityRow& row, double value);
/// The number a text set by hand stands for, when it is one the row takes:
/// a finite number (hex and exponents as the C library reads them), whole
/// where the row is, within its bounds.
std::optional<double> parseBounded(const QuantityRow& row, std::string_view text);
/// Why a value set by hand is refused: "the value must be " + what the row wants.
std::string refusalReason(const QuantityRow& row);

}  // namespace quorvane
