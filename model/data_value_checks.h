#pragma once
/// What a data file may not hold: a value that is no number where its key
/// holds one, a negative surface share or bond length, and a temperature at
/// or below absolute zero. A file holding any of them is refused whole, with
/// every such line named, so that no run goes on with a value the file did
/// not give.

#include <string>
#include <string_view>
#include <vector>

#include "model/physical_data.h"

namespace quorvane {

/// What a number read from a data file must be.
enum class NumberRule {
    Any,          ///< a finite number
    Whole,        ///< a finite whole number (huge ones are saturated when stored)
    NotNegative,  ///< a finite number >= 0 (the surface shares, the bond length)
};

/// Why `text`, the value of `key`, is refused ("" when it is a number the rule takes).
std::string numberProblem(std::string_view key, std::string_view text, NumberRule rule);

/// The temperatures of the data at or below absolute zero (in kelvin, whatever
/// the scale), one line each naming its key.
void temperatureProblems(const PhysicalData& d, std::vector<std::string>& problems);

/// The message of a refused file: "It is not correct file for reading data"
/// followed by one line per problem.
std::string refusedDataMessage(const std::vector<std::string>& problems);

}  // namespace quorvane
