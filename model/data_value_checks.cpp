#include "model/data_value_checks.h"

#include <cmath>

#include "common/cformat.h"
#include "model/data_file.h"
#include "model/theory.h"
#include "model/units.h"

namespace quorvane {

std::string numberProblem(std::string_view key, std::string_view text, NumberRule rule) {
    double value = 0;
    const std::string quoted = "\"" + std::string(text) + "\"";
    const std::string name(key);
    if (!parseFiniteDouble(text, value)) return name + ": " + quoted + " is not a number";
    if (rule == NumberRule::Whole && value != std::floor(value))
        return name + ": " + quoted + " is not a whole number";
    if (rule == NumberRule::NotNegative && value < 0) return name + ": " + quoted + " is below 0";
    return {};
}

void temperatureProblems(const PhysicalData& d, std::vector<std::string>& problems) {
    struct Named {
        const char* key;
        double value;
    };
    const Named temperatures[] = {{"Temperature", d.Temperature},
                                  {"Temperature_of_Liquidus", d.Temperature_of_Liquidus},
                                  {"Temperature_of_Melt", d.Temperature_of_Melt}};
    // Every formula divides by a temperature in kelvin: at 0 K and below
    // nothing the program derives has a meaning.
    for (const Named& t : temperatures) {
        if (ToKelvin(t.value, d.temperature) > kMinimumKelvin) continue;
        problems.push_back(cformat("%s: %g %s is not above absolute zero", t.key, t.value,
                                   unitShortName(UnitKind::Temperature, d.temperature)));
    }
}

std::string refusedDataMessage(const std::vector<std::string>& problems) {
    std::string message = kNotDataFileMessage;
    for (const std::string& problem : problems) message += "\n" + problem;
    return message;
}

}  // namespace quorvane
