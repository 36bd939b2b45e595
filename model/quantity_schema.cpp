#include "model/quantity_schema.h"

#include <cmath>

#include "common/cformat.h"

namespace quorvane {
namespace {

/// A unit's short name in the data's current selection.
std::string shortName(UnitKind kind, const PhysicalData& d) {
    const int index = kind == UnitKind::Length        ? d.dimension
                      : kind == UnitKind::Weight      ? d.weight
                      : kind == UnitKind::Energy      ? d.energy
                      : kind == UnitKind::Temperature ? d.temperature
                      : kind == UnitKind::Time        ? d.time
                                                      : d.concentration;
    return unitShortName(kind, index);
}

/// The unit of a dimension that is one unit of a table itself; "" for others.
std::string baseUnit(Dimension dimension, const PhysicalData& d) {
    switch (dimension) {
        case Dimension::Length:
            return shortName(UnitKind::Length, d);
        case Dimension::Mass:
            return shortName(UnitKind::Weight, d);
        case Dimension::Energy:
            return shortName(UnitKind::Energy, d);
        case Dimension::Temperature:
            return shortName(UnitKind::Temperature, d);
        case Dimension::Concentration:
            return shortName(UnitKind::Concentration, d);
        case Dimension::Time:
            return shortName(UnitKind::Time, d);
        default:
            return {};
    }
}

std::string power(const std::string& unit, int exponent, Notation notation) {
    switch (notation) {
        case Notation::File:
            return unit + "^" + std::to_string(exponent);
        case Notation::Panel:
            return unit + (exponent == 2 ? "\u00b2" : "\u00b3");
        case Notation::Html:
            return unit + "<sup>" + std::to_string(exponent) + "</sup>";
    }
    return unit;
}

template <typename T, typename Owner>
T* memberOf(const QuantityMember& member, Owner& owner) {
    if (auto* p = std::get_if<T Owner::*>(&member)) return &(owner.**p);
    return nullptr;
}

}  // namespace

const QuantityRow* findQuantity(std::string_view key) {
    for (const QuantityRow& row : quantitySchema())
        if (row.kind != QuantityKind::Heading && key == row.key) return &row;
    return nullptr;
}

const QuantityRow& quantityOfField(DataField field) {
    for (const QuantityRow& row : quantitySchema())
        if (row.field == field) return row;
    return quantitySchema().front();  // every field has its row; a test holds it
}

std::string unitText(Dimension dimension, const PhysicalData& d, Notation n) {
    const std::string L = shortName(UnitKind::Length, d);
    const std::string E = shortName(UnitKind::Energy, d);
    const std::string t = shortName(UnitKind::Time, d);
    switch (dimension) {
        case Dimension::Area:
            return power(L, 2, n);
        case Dimension::Volume:
            return power(L, 3, n);
        case Dimension::Daltons:
            return n == Notation::Panel ? "(Da)" : "Daltons";
        case Dimension::Density:
            return shortName(UnitKind::Weight, d) + "/" + power(L, 3, n);
        case Dimension::MolarEnergy:
            return E + "/mol";
        case Dimension::VolumeEnergy:
            return E + "/" + power(L, 3, n);
        case Dimension::SurfaceEnergy:
            return E + "/" + power(L, 2, n);
        case Dimension::Frequency:
            return "1/" + t;
        case Dimension::Rate:
            return L + "/" + t;
        case Dimension::Dimensionless:
            return n == Notation::File ? "Dimensionless" : n == Notation::Html ? "unitless" : "";
        default:
            return baseUnit(dimension, d);
    }
}

std::string unitText(const QuantityRow& row, const PhysicalData& d, Notation notation) {
    if (row.dimension == Dimension::Fixed) return row.fixedUnit;
    return unitText(row.dimension, d, notation);
}

double* realOf(const QuantityRow& row, const DataDocument& doc) {
    if (double* p = memberOf<double>(row.member, doc.data)) return p;
    return memberOf<double>(row.member, doc.run);
}

int* wholeOf(const QuantityRow& row, const DataDocument& doc) {
    if (int* p = memberOf<int>(row.member, doc.data)) return p;
    if (int* p = memberOf<int>(row.member, doc.run)) return p;
    return memberOf<int>(row.member, doc.research);
}

std::string* textOf(const QuantityRow& row, const DataDocument& doc) {
    if (std::string* p = memberOf<std::string>(row.member, doc.data)) return p;
    return memberOf<std::string>(row.member, doc.research);
}

std::optional<double> quantityNumber(const QuantityRow& row, const DataDocument& doc) {
    if (row.parsed) return doc.data.*row.parsed;
    if (const double* p = realOf(row, doc)) return *p;
    if (const int* p = wholeOf(row, doc)) return *p;
    return std::nullopt;
}

bool withinBounds(const QuantityRow& row, double value) {
    const QuantityBounds& b = row.bounds;
    if (b.whole && value != std::floor(value)) return false;
    if (value < b.low || value > b.high) return false;
    return !(b.lowOpen && value == b.low);
}

std::optional<double> parseBounded(const QuantityRow& row, std::string_view text) {
    double value = 0;
    if (!parseFiniteDouble(text, value) || !withinBounds(row, value)) return std::nullopt;
    return value;
}

std::string refusalReason(const QuantityRow& row) {
    if (row.kind == QuantityKind::UnitIndex)
        return cformat("the value must be a unit index 0..%d", static_cast<int>(row.bounds.high));
    return std::string("the value must be ") + row.bounds.want;
}

}  // namespace quorvane
