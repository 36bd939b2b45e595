// The rows of the quantity schema: every key of the data file in the order
// the file writes it, with where its value lives and the rules it keeps.

#include <array>

#include "model/quantity_schema.h"

namespace quorvane {
namespace {

using D = PhysicalData;
using R = RunSettings;
using S = ResearchSettings;
using K = QuantityKind;
using Dim = Dimension;

constexpr double kMaxFieldSide = 1'000'000;

constexpr QuantityBounds kAnyNumber{};
constexpr QuantityBounds kFlag{0, 1, true, false, "0 or 1"};
constexpr QuantityBounds kNotNegative{0, 1e308, false, false, "a number >= 0"};

/// A row with everything not given left at its default.
constexpr QuantityRow row(const char* key, K kind, QuantityMember member, Dim dim = Dim::None,
                          const char* fixed = "", QuantityBounds bounds = kAnyNumber,
                          ReadRule rule = ReadRule::Store, std::optional<DataField> field = {}) {
    QuantityRow r{};
    r.key = key;
    r.kind = kind;
    r.member = member;
    r.dimension = dim;
    r.fixedUnit = fixed;
    r.bounds = bounds;
    r.readRule = rule;
    r.field = field;
    return r;
}

constexpr QuantityBounds unitIndexBounds(std::size_t count) {
    return {0, static_cast<double>(count) - 1, true, false, nullptr};
}

/// A quantity of the physical data that a Data panel field edits.
constexpr QuantityRow dataReal(const char* key, double D::*member, Dim dim, DataField field) {
    return row(key, K::Real, member, dim, "", kAnyNumber, ReadRule::Store, field);
}
/// A theoretical result, written with its unit for the file's reader.
constexpr QuantityRow derived(const char* key, double D::*member, Dim dim, const char* fixed = "") {
    return row(key, K::Derived, member, dim, fixed);
}
constexpr QuantityRow unitIndex(const char* key, int D::*member, Dim dim, UnitKind kind,
                                std::size_t count) {
    QuantityRow r =
        row(key, K::UnitIndex, member, dim, "", unitIndexBounds(count), ReadRule::Ignore);
    r.unitKind = kind;
    return r;
}
constexpr QuantityRow runReal(const char* key, double R::*member, const char* unit,
                              QuantityBounds bounds) {
    return row(key, K::Real, member, Dim::Fixed, unit, bounds);
}
constexpr QuantityRow runFlag(const char* key, int R::*member) {
    return row(key, K::Whole, member, Dim::Fixed, "Yes=1_or_No=0", kFlag);
}
constexpr QuantityRow shapeText(const char* key, std::string D::*member, Dim dim, DataField field,
                                double D::*parsed, ReadRule rule) {
    QuantityRow r = row(key, K::Text, member, dim, "", kAnyNumber, rule, field);
    r.parsed = parsed;
    return r;
}
constexpr QuantityRow researchWhole(const char* key, int S::*member, QuantityBounds bounds,
                                    ReadRule rule = ReadRule::Store) {
    return row(key, K::Whole, member, Dim::None, "", bounds, rule);
}
constexpr QuantityRow researchText(const char* key, std::string S::*member) {
    return row(key, K::Text, member);
}
constexpr QuantityRow heading(const char* line) {
    return row(line, K::Heading, std::monostate{});
}

// clang-format off
const std::array kRows{
    heading("Content,Data"),
    heading("Units,Index,Name"),
    unitIndex("system", &D::system, Dim::None, UnitKind::Length, kUnitSystemNames.size()),
    unitIndex("dimension", &D::dimension, Dim::Length, UnitKind::Length, kLengthUnits.size()),
    unitIndex("weight", &D::weight, Dim::Mass, UnitKind::Weight, kWeightUnits.size()),
    unitIndex("energy", &D::energy, Dim::Energy, UnitKind::Energy, kEnergyUnits.size()),
    unitIndex("temperature", &D::temperature, Dim::Temperature, UnitKind::Temperature,
              kTemperatureScales.size()),
    unitIndex("time", &D::time, Dim::Time, UnitKind::Time, kTimeUnits.size()),
    unitIndex("concentration", &D::concentration, Dim::Concentration, UnitKind::Concentration,
              kConcentrationUnits.size()),
    row("accuracy", K::Whole, &D::accuracy, Dim::Fixed, "digits",
                {1, 20, true, false, "digits 1..20"}, ReadRule::Clamp),
    heading("Variable,Value,Unit"),
    dataReal("Size_A", &D::Size_A, Dim::Length, DataField::SizeA),
    dataReal("Size_B", &D::Size_B, Dim::Length, DataField::SizeB),
    dataReal("Size_C", &D::Size_C, Dim::Length, DataField::SizeC),
    dataReal("Enthalpie", &D::Enthalpie, Dim::VolumeEnergy, DataField::VolumeEnthalpy),
    dataReal("Molecular_Weight", &D::Molecular_Weight, Dim::Daltons, DataField::MolecularWeight),
    dataReal("Surface_Energy", &D::Surface_Energy, Dim::SurfaceEnergy, DataField::SurfaceEnergy),
    dataReal("Temperature_of_Liquidus", &D::Temperature_of_Liquidus, Dim::Temperature,
             DataField::LiquidusTemperature),
    dataReal("Temperature_of_Melt", &D::Temperature_of_Melt, Dim::Temperature,
             DataField::MeltTemperature),
    dataReal("Temperature", &D::Temperature, Dim::Temperature, DataField::Temperature),
    dataReal("Frequency_of_Vibrations", &D::Frequency_of_Vibrations, Dim::Frequency,
             DataField::VibrationFrequency),
    row("Is_Frequency_of_Vibrations_Set_Default", K::Whole,
                &D::Is_Frequency_of_Vibrations_Set_Default, Dim::Fixed, "Yes=1_or_No=0", kFlag),
    dataReal("Activation_Energy", &D::Activation_Energy, Dim::MolarEnergy,
             DataField::ActivationEnergy),
    dataReal("Density", &D::Density, Dim::Density, DataField::Density),
    dataReal("Molecular_Enthaphie", &D::Molecular_Enthaphie, Dim::MolarEnergy,
             DataField::MolarEnthalpy),
    dataReal("Concentration", &D::Concentration, Dim::Concentration, DataField::Concentration),
    dataReal("General_Suupercooling", &D::General_Suupercooling, Dim::Dimensionless,
             DataField::GeneralSupercooling),
    dataReal("General_Surface_Energy", &D::General_Surface_Energy, Dim::Dimensionless,
             DataField::GeneralSurfaceEnergy),
    dataReal("Frequency_of_Jumps", &D::Frequency_of_Jumps, Dim::Frequency,
             DataField::JumpFrequency),
    dataReal("Surface", &D::Surface, Dim::Area, DataField::Surface),
    dataReal("Volume", &D::Volume, Dim::Volume, DataField::Volume),
    derived("Va_continues", &D::Va_continues, Dim::Rate),
    derived("Va_spiral", &D::Va_spiral, Dim::Rate),
    derived("Va_nuclei", &D::Va_nuclei, Dim::Rate),
    derived("Va_kes", &D::Va_kes, Dim::Rate),
    derived("Vb_kes", &D::Vb_kes, Dim::Rate),
    derived("Vc_kes", &D::Vc_kes, Dim::Rate),
    derived("Rf_a_kes", &D::Rf_a_kes, Dim::Fixed, "Layers_a"),
    derived("Rf_b_kes", &D::Rf_b_kes, Dim::Fixed, "Layers_b"),
    derived("Rf_c_kes", &D::Rf_c_kes, Dim::Fixed, "Layers_c"),
    derived("Pf_a_kes", &D::Pf_a_kes, Dim::Fixed, "Parts_a"),
    derived("Pf_b_kes", &D::Pf_b_kes, Dim::Fixed, "Parts_b"),
    derived("Pf_c_kes", &D::Pf_c_kes, Dim::Fixed, "Parts_c"),
    row("Chart_show_curves", K::Curves, std::monostate{}),
    row("Paint_temp_curve_with_zoom", K::Real, &D::Paint_temp_curve_with_zoom, Dim::None,
                "", {0.01, 0.999, false, false, "a zoom 0.01..0.999"}, ReadRule::Clamp),
    row("N_field_W", K::Whole, &R::N_field_W, Dim::Fixed, "unitless",
                {1, kMaxFieldSide, true, false, "a whole number of molecules 1..1000000"},
                ReadRule::IgnoreBelow),
    row("N_field_H", K::Whole, &R::N_field_H, Dim::Fixed, "unitless",
                {1, kMaxFieldSide, true, false, "a whole number of molecules 1..1000000"},
                ReadRule::IgnoreBelow),
    runReal("N_in_per_step", &R::N_in_per_step, "unitless",
            {0, 1e308, false, false, "a number of molecules >= 0"}),
    runReal("Prob_in_at_step", &R::Prob_in_at_step, "unitless",
            {0, 1, false, false, "a probability 0..1"}),
    runReal("Time_step", &R::Time_step, "sec", {0, 1e308, false, true, "a duration above 0"}),
    runReal("Layers_limit", &R::Layers_limit, "Layers", kNotNegative),
    runReal("Time_simulattion_limit", &R::Time_simulattion_limit, "min", kNotNegative),
    runReal("Time_simulattion_limit_first_layer", &R::Time_simulattion_limit_first_layer, "min",
            kNotNegative),
    runFlag("Is_layers_limit", &R::Is_layers_limit),
    runFlag("Is_time_simulattion_limit", &R::Is_time_simulattion_limit),
    runFlag("Is_time_simulattion_limit_first_layer", &R::Is_time_simulattion_limit_first_layer),
    runFlag("Is_any_limits", &R::Is_any_limits),
    shapeText("Parts_of_surface_for_edges", &D::Parts_of_surface_for_edges, Dim::None,
              DataField::EdgesRatio, &D::edgesRatio, ReadRule::Store),
    shapeText("Parts_of_surface_for_vertices", &D::Parts_of_surface_for_vertices, Dim::None,
              DataField::VerticesRatio, &D::verticesRatio, ReadRule::Store),
    // The bond length is read only when it is a number, and then as one.
    shapeText("Characterictic_length_of_bond", &D::Characterictic_length_of_bond, Dim::Length,
              DataField::BondLength, &D::bondLength, ReadRule::NumberOnly),
    row("Is_includes_porosity", K::Whole, &R::Is_includes_porosity, Dim::None, "", kFlag,
                ReadRule::PositiveOne),
    row("Random_argument_", K::RandomArguments, std::monostate{}),
    researchWhole("Do_optimize_run_probabilities", &S::Do_optimize_run_probabilities, kFlag),
    researchWhole("Sheme_for_running_with_porosity", &S::Sheme_for_running_with_porosity,
                  {0, 3, true, false, "a scheme 0..3"}, ReadRule::Ignore),
    researchWhole("Do_exit_when_less_than_N_layers_filled",
                  &S::Do_exit_when_less_than_N_layers_filled, kFlag),
    researchWhole("Theshold_of_layesr_to_fill", &S::Theshold_of_layesr_to_fill,
                  {0, 1'000'000, true, false, "layers >= 0"}),
    researchWhole("N_terms_inInterpolation", &S::N_terms_inInterpolation,
                  {0, 10, true, false, "a number 0..10"}, ReadRule::Ignore),
    researchWhole("Values_to_try_as_loop_or_list", &S::Values_to_try_as_loop_or_list,
                  {0, 1, true, false, "1 (loop) or 0 (list)"}),
    researchText("Start_loop_from", &S::Start_loop_from),
    researchText("Step_in_loop", &S::Step_in_loop),
    researchText("N_steps_in_loop", &S::N_steps_in_loop),
    row("Number_values_in_array_to_try", K::ValueCount, std::monostate{}),
    row("List_of_values_to_try", K::ValueList, &S::List_of_values_to_try),
};
// clang-format on

}  // namespace

std::span<const QuantityRow> quantitySchema() {
    return kRows;
}

}  // namespace quorvane
