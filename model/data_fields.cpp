#include "model/data_fields.h"

#include <algorithm>

#include "common/cformat.h"
#include "model/quantity_schema.h"

namespace quorvane {

std::optional<DataField> fieldForDataKey(std::string_view key) {
    const QuantityRow* row = findQuantity(key);
    return row ? row->field : std::nullopt;
}

const char* dataKeyForField(DataField field) {
    return quantityOfField(field).key;
}

bool isTextField(DataField field) {
    return quantityOfField(field).kind == QuantityKind::Text;
}

double* numericField(PhysicalData& d, DataField field) {
    const QuantityRow& row = quantityOfField(field);
    if (row.kind != QuantityKind::Real) return nullptr;
    return &(d.*std::get<double PhysicalData::*>(row.member));
}

std::string* textField(PhysicalData& d, DataField field) {
    const QuantityRow& row = quantityOfField(field);
    if (row.kind != QuantityKind::Text) return nullptr;
    return &(d.*std::get<std::string PhysicalData::*>(row.member));
}

std::string formatFieldValue(double x) {
    return compactExponent(cformat("%.4g", x));
}

std::string formatTemperatureAfterScaleChange(double x) {
    return compactExponent(cformat("%.5g", x));
}

std::string formatSurfaceRatio(double x) {
    return compactExponent(cformat("%.3g", x));
}

std::string formatDensityAfterWeightEdit(double x) {
    return compactExponent(cformat("%.4g", x));
}

std::string formatTheoryValue(double x, int digits) {
    return compactExponent(cformat("%.*g", std::clamp(digits, 1, 20), x));
}

}  // namespace quorvane
