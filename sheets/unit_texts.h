#pragma once
/// The unit texts of the Data panel: the unit beside each field and the scale
/// beside each unit combo, as rich text (UTF-8, superscripts as characters so
/// that no label clips them).

#include <string>

#include "model/data_fields.h"
#include "model/physical_data.h"
#include "model/units.h"

namespace quorvane {

/// An integer in superscript digits, e.g. "⁻⁹".
std::string superscriptNumber(int n);

/// The scale text beside a unit combo, e.g. "( 10⁻¹⁰ metres)".
std::string unitScaleText(UnitKind kind, int index);

/// The unit beside a field of the Data panel in the data's current units.
std::string fieldUnitText(const PhysicalData& data, DataField field);

}  // namespace quorvane
