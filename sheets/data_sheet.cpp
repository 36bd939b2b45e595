#include "sheets/data_sheet.h"

#include "common/cformat.h"
#include "model/probabilities.h"
#include "model/theory.h"
#include "model/unit_change.h"
#include "sheets/data_tables.h"
#include "sheets/theory_text.h"
#include "sheets/unit_texts.h"

namespace quorvane {
namespace {

constexpr int kSystemCombo = 0;
constexpr int kTemperatureCombo = 5;
constexpr std::array<UnitKind, DataSheet::kComboCount> kComboKinds{
    UnitKind::Length, UnitKind::Length,      UnitKind::Weight,       UnitKind::Energy,
    UnitKind::Time,   UnitKind::Temperature, UnitKind::Concentration};

bool isTemperature(DataField f) {
    return f == DataField::Temperature || f == DataField::MeltTemperature ||
           f == DataField::LiquidusTemperature;
}

}  // namespace

DataSheet::DataSheet(Session& session) : session_(session) {
    // The sheet starts with the unit selections its numbers are in.
    session_.state.data.adoptUnitsAsPrevious();
    theoryComputed_ = computeTheoryQuietly(session_.state.data);
}

std::vector<DataField> DataSheet::edit(std::optional<DataField> field, std::string_view text,
                                       const ShapeTexts& shown) {
    AppState& s = session_.state;
    const EditOutcome outcome =
        enterFieldText(s.data, s.run, field, text, session_.platform, &shown);
    lastEdit_ = field;
    temperatureScaleChanged_ = false;
    theoryComputed_ = outcome.theoryComputed;
    return outcome.refusedFields;
}

std::vector<DataField> DataSheet::edit(DataField field, std::string_view text) {
    const PhysicalData& d = data();
    return edit(field, text,
                {d.Parts_of_surface_for_edges, d.Parts_of_surface_for_vertices,
                 d.Characterictic_length_of_bond});
}

std::vector<DataField> DataSheet::scaleSize(DataField field, int direction, double factor,
                                            const ShapeTexts& shown) {
    const bool size =
        field == DataField::SizeA || field == DataField::SizeB || field == DataField::SizeC;
    if (!size || factor <= 0) return {};
    const double value = *numericField(session_.state.data, field);
    const double scaled = direction == 1 ? value * factor : value / factor;
    // "%.17g" reads back as the same double: the scaling is exact.
    return edit(field, cformat("%.17g", scaled), shown);
}

void DataSheet::changeUnit(int combo, int index) {
    if (combo < 0 || combo >= kComboCount) return;
    AppState& s = session_.state;
    session_.applyUnitChange(changeUnitByKey(s.data, s.run, kComboKeys[combo], index));
    afterChange(computeTheoryQuietly(s.data));
    temperatureScaleChanged_ = combo == kTemperatureCombo || combo == kSystemCombo;
}

void DataSheet::estimate() {
    estimateSurfaceEnergy(session_.state.data);
    // A new surface energy moves the critical nucleus and every prediction.
    afterChange(computeTheoryQuietly(session_.state.data));
}

void DataSheet::setDefaultFrequency(bool on) {
    AppState& s = session_.state;
    quorvane::setDefaultFrequency(s.data, on);
    recomputeProbabilityAndTimeStep(s.run, s.data);
    // The rates scale with the jump frequency.
    theoryComputed_ = computeTheoryQuietly(s.data);
}

void DataSheet::setAccuracy(int digits) {
    PhysicalData& d = session_.state.data;
    stepAccuracy(d, digits - d.accuracy);
}

void DataSheet::clickChartLabel(std::string_view which) {
    PhysicalData& d = session_.state.data;
    if (which == "V") toggleChartCurve(d, 0);
    if (which == "R") toggleChartCurve(d, 1);
    if (which == "P") toggleChartCurve(d, 2);
    if (which == "In") zoomChartIn(d);
    if (which == "Out") zoomChartOut(d);
}

void DataSheet::dataLoaded() {
    afterChange(computeTheoryQuietly(session_.state.data));
    temperatureScaleChanged_ = false;
}

std::optional<std::string> DataSheet::askDataFile(bool forSaving) {
    FileQuestion question;
    question.title = "Select data file";
    question.filter = "*.csv";
    question.initialName = "*.csv";
    question.initialFolder = session_.state.paths.workingFolder;
    question.forSaving = forSaving;
    std::optional<std::string> chosen = session_.platform.chooseFile(question);
    if (!chosen) return std::nullopt;
    if (chosen->find(".csv") == std::string::npos) {
        session_.platform.message("Wrong file extention, must be csv");
        return std::nullopt;
    }
    return chosen;
}

std::optional<DataFileReadResult> DataSheet::openFile() {
    const std::optional<std::string> path = askDataFile(false);
    if (!path) return std::nullopt;
    DataFileReadResult result = session_.readDataFile(*path);
    // The title names the file opened, and Save writes it there.
    if (result.loaded()) session_.state.paths.currentDataPath = *path;
    return result;
}

DataFileWriteResult DataSheet::saveFile() {
    return session_.writeDataFile(session_.state.paths.currentDataPath);
}

std::optional<DataFileWriteResult> DataSheet::saveFileAs() {
    const std::optional<std::string> path = askDataFile(true);
    if (!path) return std::nullopt;
    session_.state.paths.currentDataPath = *path;
    return saveFile();
}

void DataSheet::afterChange(bool theoryComputed) {
    theoryComputed_ = theoryComputed;
    lastEdit_.reset();
}

std::string DataSheet::fieldText(DataField field) const {
    PhysicalData& d = session_.state.data;
    if (const std::string* text = textField(d, field)) return *text;
    const double x = *numericField(d, field);
    if (isTemperature(field) && temperatureScaleChanged_)
        return formatTemperatureAfterScaleChange(x);
    if (field == DataField::Density && lastEdit_ == DataField::MolecularWeight)
        return formatDensityAfterWeightEdit(x);
    return formatFieldValue(x);
}

std::string DataSheet::fieldUnit(DataField field) const {
    return fieldUnitText(data(), field);
}

int DataSheet::unitSelection(int combo) const {
    const PhysicalData& d = data();
    const int selections[kComboCount] = {d.system, d.dimension,   d.weight,       d.energy,
                                         d.time,   d.temperature, d.concentration};
    return combo >= 0 && combo < kComboCount ? selections[combo] : 0;
}

std::string DataSheet::unitScale(int combo) const {
    if (combo <= kSystemCombo || combo >= kComboCount) return {};
    return unitScaleText(kComboKinds[static_cast<std::size_t>(combo)], unitSelection(combo));
}

bool DataSheet::fieldEnabled(DataField field) const {
    if (field == DataField::VibrationFrequency)
        return controlsFree() && data().Is_Frequency_of_Vibrations_Set_Default == 0;
    return controlsFree();
}

bool DataSheet::comboEnabled(int combo) const {
    return controlsFree() && (combo == kSystemCombo || unitCombosEnabled(data()));
}

std::string DataSheet::theoryHtml() const {
    return quorvane::theoryHtml(data(), theoryComputed_);
}

std::string DataSheet::predictionHtml() const {
    return quorvane::predictionHtml(data(), theoryComputed_);
}

std::string DataSheet::curveLabelHtml(int curve) const {
    static const char* const kNames[3] = {"V", "R", "P"};
    if (curve < 0 || curve > 2) return {};
    const bool on = data().Chart_show_curves[static_cast<std::size_t>(curve)] != 0;
    return cformat("<a href=\"%s\" style=\"color:%s; text-decoration:%s\"><b>%s</b></a>",
                   kNames[curve], on ? "#0000c0" : "#909090", on ? "underline" : "none",
                   kNames[curve]);
}

std::string DataSheet::table(Table which) const {
    switch (which) {
        case Table::ChartCurves:
            return chartCurvesText(data(), kTableSteps);
        case Table::Probabilities:
            return probabilityTableText(data(), session_.state.run);
        case Table::Theory:
            return theoryTableText(data(), kTableSteps);
    }
    return {};
}

const TemperatureSweep& DataSheet::sweep() const {
    if (!sweep_ || sweep_->first != data())
        sweep_.emplace(data(), sweepTemperatures(data(), kTableSteps));
    return sweep_->second;
}

}  // namespace quorvane
