#pragma once
/// The Data panel's theoretical section as rich text: the theoretical growth
/// rates with the critical nucleus, and the predicted rates, roughness and
/// porosity of the three growth directions.

#include <string>

#include "model/physical_data.h"

namespace quorvane {

/// A theoretical value with the data's digits, or "undefined" where the
/// theory gave none (no finite positive number).
std::string theoryValueText(double x, int digits, bool defined = true);

/// V continues, r crit, V spiral and V nuclei with their units. `computed` is
/// false when the theory could not be computed (a temperature at 0 K).
std::string theoryHtml(const PhysicalData& data, bool computed);

/// "Growth rates:", "Roughness:" and "Porosity:" of the directions a, b, c.
std::string predictionHtml(const PhysicalData& data, bool computed);

}  // namespace quorvane
