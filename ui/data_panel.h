#pragma once
/// The Data panel (`my_Data`): the physical data of the molecule and the
/// medium in edit fields, their units, the derived and theoretical values,
/// and the chart of the theoretical curves. Every rule that ties the fields
/// together lives in the model (data_rules, unit_change, theory); the panel
/// only reads the fields, calls the rules and writes the numbers back.

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "experiments/session.h"
#include "model/data_fields.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPushButton;
class QSpinBox;

namespace quorvane {

class QtPlatform;

/// The tab-separated table of the theoretical values over the chart's
/// temperature range (`steps` + 1 temperatures), headed by the maximum of the
/// growth rate. Undefined values are left empty.
std::string theoryTableText(const PhysicalData& data, int steps);
/// The theoretical chart's curves as shown: the temperature, then the
/// growth rate, roughness and porosity of the growth direction, each only
/// while its curve is switched on.
std::string chartCurvesText(const PhysicalData& data, int steps);
/// The probability chart's values: contact fraction, probability out and in per step.
std::string probabilityTableText(const PhysicalData& data, const RunSettings& run);
/// The scale text beside a unit combo (rich text), e.g. "( 10<sup>-10</sup> metres)".
QString unitScaleText(UnitKind kind, int index);

/// The area the theoretical chart is painted into. Until a painter is given
/// it stays an empty framed area.
class ChartArea : public QWidget {
  public:
    explicit ChartArea(QWidget* parent = nullptr);
    std::function<void(QPainter&, const QRect&)> painter;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class DataPanel : public QWidget {
    Q_OBJECT
  public:
    // The three size fields keep their control numbers: the window's size
    // scaling keys name them.
    static constexpr int kSizeAControl = 1003;
    static constexpr int kSizeBControl = 1004;
    static constexpr int kSizeCControl = 1005;
    /// Steps of the temperature range of the third copied table.
    static constexpr int kTableSteps = 100;

    DataPanel(Session& session, QtPlatform& platform, QWidget* parent = nullptr);

    /// `my_Data` in the program's own words.
    using my_Data = DataPanel;

    QLineEdit* field(DataField f) const { return edits_[static_cast<int>(f)]; }
    QComboBox* unitCombo(int i) const { return combos_[i]; }  ///< 0 system .. 6 concentration
    QLabel* scaleLabel(int i) const { return scales_[i]; }
    QLabel* theoryLabel() const { return theory_; }
    QLabel* predictionLabel() const { return prediction_; }
    QCheckBox* defaultCheck() const { return defaultCheck_; }
    QSpinBox* accuracyBox() const { return accuracy_; }
    QPushButton* fileButton() const { return fileButton_; }
    QPushButton* estimateButton() const { return estimate_; }
    QMenu* fileMenu() const { return fileMenu_; }
    ChartArea* chartArea() const { return chart_; }
    ChartArea* frequencyChart() const { return frequencyChart_; }
    ChartArea* probabilityChart() const { return probabilityChart_; }
    QLabel* curveLabel(int curve) const { return curveLabels_[curve]; }
    QLabel* zoomLabel(bool in) const { return in ? zoomIn_ : zoomOut_; }

    void focusFirstSize();
    /// 1003, 1004 or 1005 when `w` is that size field, else 0.
    int sizeControlOf(const QWidget* w) const;
    /// The window's size keys: multiply (direction 1) or divide (0) the size
    /// of control 1003, 1004 or 1005 by `factor`, as if the result were typed.
    void scaleSize(int control, int direction, double factor);
    /// Ctrl+C, Ctrl+S and Ctrl+T; true when the key copied a table. Ctrl+C
    /// in a field with selected text is left to the field.
    bool copyKey(const QKeyEvent& key, const QWidget* target);

    /// Writes every field, label and text from the data.
    void refreshFromData();
    /// Inputs are held while a run goes on.
    void refreshEnabled();
    /// After a data file was read (by the File menu or at start).
    void afterDataLoaded(const DataFileReadResult& result);

    // File menu commands.
    void openDataFile();
    void saveDataFile();
    void saveDataFileAs();

    /// "Save report chart" and "Save full report": enabled once set.
    std::function<void()> saveReportChart;
    std::function<void()> saveFullReport;
    /// The tables Ctrl+C (0) and Ctrl+S (1) copy: the theoretical chart's
    /// curves and the probability chart's values, unless replaced.
    std::function<std::string(int table)> chartTableText;

  signals:
    /// The window's title after a data file was read or written.
    void titleChanged(const QString& title);
    /// The data changed; panels that show them refresh.
    void dataChanged();
    /// Opening a data file may name another log file.
    void logPathChanged();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildFields();
    QWidget* buildLeftColumn();
    QWidget* buildMiddleColumn();
    QWidget* buildRightColumn();
    QLineEdit* makeEdit(DataField f, int width = 90);
    void fieldEdited(DataField f);
    void applyEdit(std::optional<DataField> focus, const std::string& text);
    void unitChanged(int combo, int index);
    void refreshUnits();
    void refreshTheory();
    void refreshChartLabels();
    void chartLabelClicked(const QString& which);
    bool chooseCsv(bool forSaving, std::string& path);

    Session& session_;
    QtPlatform& platform_;
    PhysicalData& data_;
    std::array<QLineEdit*, kDataFieldCount> edits_{};
    std::array<QComboBox*, 7> combos_{};
    std::array<QLabel*, 7> scales_{};
    std::array<QLabel*, 22> unitLabels_{};
    std::array<QLabel*, 3> curveLabels_{};
    QLabel* zoomIn_ = nullptr;
    QLabel* zoomOut_ = nullptr;
    QLabel* theory_ = nullptr;
    QLabel* prediction_ = nullptr;
    QCheckBox* defaultCheck_ = nullptr;
    QSpinBox* accuracy_ = nullptr;
    QPushButton* fileButton_ = nullptr;
    QPushButton* estimate_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* reportChartAction_ = nullptr;
    QAction* fullReportAction_ = nullptr;
    ChartArea* chart_ = nullptr;
    ChartArea* frequencyChart_ = nullptr;
    ChartArea* probabilityChart_ = nullptr;
    /// The last field edited, or a scale change: it decides a few display formats.
    std::optional<DataField> lastEdit_;
    bool temperatureScaleChanged_ = false;
    bool theoryComputed_ = true;
    bool refreshing_ = false;
};

}  // namespace quorvane
