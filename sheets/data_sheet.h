#pragma once
/// The Data panel without its widgets: every edit the panel offers (a typed
/// field, a unit, "Estimate", "default", the accuracy, the chart labels), the
/// text and unit of every field as the panel writes them, the theoretical
/// section, the three copy tables and the charts' inputs. The panel binds its
/// widgets to this sheet; the batch runner's --set edits the data through it.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "experiments/session.h"
#include "model/data_fields.h"
#include "model/data_file.h"
#include "model/data_rules.h"
#include "model/temperature_sweep.h"
#include "sheets/engine_charts.h"

namespace quorvane {

class DataSheet {
  public:
    /// The unit combos in the panel's order, by their data-file keys.
    static constexpr std::array<const char*, 7> kComboKeys{
        "system", "dimension", "weight", "energy", "time", "temperature", "concentration"};
    static constexpr int kComboCount = 7;
    /// Steps of the temperature range of the theoretical chart and its tables.
    static constexpr int kTableSteps = 100;
    /// The three copy tables.
    enum class Table { ChartCurves, Probabilities, Theory };

    explicit DataSheet(Session& session);

    // What the user does. An edit returns the shape fields whose texts were
    // refused ("Do fix vertiges control"), in the order checked: the focus
    // goes to the first.

    /// `text` typed into `field` and entered; without a field, Enter on a
    /// field as shown. `shown` are the shape texts as their fields hold them.
    std::vector<DataField> edit(std::optional<DataField> field, std::string_view text,
                                const ShapeTexts& shown);
    /// The same with the shape texts the data hold (the batch runner, plans).
    std::vector<DataField> edit(DataField field, std::string_view text);
    /// The size keys: size `field` multiplied (direction 1) or divided by `factor`.
    std::vector<DataField> scaleSize(DataField field, int direction, double factor,
                                     const ShapeTexts& shown);
    /// Unit combo `combo` set to `index`: the data are converted in place.
    void changeUnit(int combo, int index);
    void estimate();
    void setDefaultFrequency(bool on);
    void setAccuracy(int digits);
    /// "V", "R", "P", "In" or "Out" under the chart.
    void clickChartLabel(std::string_view which);
    /// A data file was read into the state.
    void dataLoaded();

    // The File menu. Each asks for a ".csv" file where it needs one (nothing
    // happens when the question is cancelled or the name is refused with
    // "Wrong file extention, must be csv") and says what it did.

    std::optional<DataFileReadResult> openFile();
    /// Writes the file the current data path names, whole or not at all.
    DataFileWriteResult saveFile();
    std::optional<DataFileWriteResult> saveFileAs();

    // What the panel shows.

    const PhysicalData& data() const { return session_.state.data; }
    std::string fieldText(DataField field) const;
    std::string fieldUnit(DataField field) const;
    int unitSelection(int combo) const;
    std::string unitScale(int combo) const;
    /// No run holds the panels' inputs.
    bool controlsFree() const { return session_.state.runState.controlsEnabled; }
    bool fieldEnabled(DataField field) const;
    bool comboEnabled(int combo) const;
    std::string theoryHtml() const;
    std::string predictionHtml() const;
    /// "V", "R" or "P" as a link, coloured by whether its curve is shown.
    std::string curveLabelHtml(int curve) const;
    std::string table(Table which) const;
    /// The theoretical curves over the chart's temperatures.
    const TemperatureSweep& sweep() const;
    const EngineCharts& engineCharts() const { return charts_.get(data(), session_.state.run); }

  private:
    void afterChange(bool theoryComputed);
    std::optional<std::string> askDataFile(bool forSaving);

    Session& session_;
    /// The last field edited: it decides a few display formats.
    std::optional<DataField> lastEdit_;
    bool temperatureScaleChanged_ = false;
    bool theoryComputed_ = true;
    mutable std::optional<std::pair<PhysicalData, TemperatureSweep>> sweep_;
    mutable EngineChartsCache charts_;
};

}  // namespace quorvane
