#pragma once
/// The Data panel (`my_Data`): the physical data of the molecule and the
/// medium in edit fields, their units, the derived and theoretical values,
/// and the charts of the theory and of the engine's probabilities. Its form
/// lays the controls out; every rule and text comes from its sheet.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "sheets/data_sheet.h"
#include "ui/chart_area.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;

namespace Ui {
class DataPanel;
}

namespace quorvane {

class QtPlatform;

class DataPanel : public QWidget {
    Q_OBJECT
  public:
    // The three size fields keep their control numbers: the window's size
    // scaling keys name them.
    static constexpr int kSizeAControl = 1003;
    static constexpr int kSizeBControl = 1004;
    static constexpr int kSizeCControl = 1005;
    /// Steps of the temperature range of the third copied table.
    static constexpr int kTableSteps = DataSheet::kTableSteps;

    DataPanel(Session& session, QtPlatform& platform, QWidget* parent = nullptr);
    ~DataPanel() override;

    /// `my_Data` in the program's own words.
    using my_Data = DataPanel;

    DataSheet& sheet() { return sheet_; }
    QLineEdit* field(DataField f) const { return edits_[static_cast<int>(f)]; }
    QComboBox* unitCombo(int i) const { return combos_[i]; }  ///< 0 system .. 6 concentration
    QLabel* scaleLabel(int i) const { return scales_[i]; }
    QLabel* theoryLabel() const;
    QLabel* predictionLabel() const;
    QCheckBox* defaultCheck() const;
    QSpinBox* accuracyBox() const;
    QPushButton* fileButton() const;
    QPushButton* estimateButton() const;
    QMenu* fileMenu() const { return fileMenu_; }
    ChartArea* chartArea() const;
    ChartArea* frequencyChart() const;
    ChartArea* probabilityChart() const;
    QLabel* curveLabel(int curve) const { return curveLabels_[curve]; }
    QLabel* zoomLabel(bool in) const;

    void focusFirstSize();
    /// 1003, 1004 or 1005 when `w` is that size field, else 0.
    int sizeControlOf(const QWidget* w) const;
    /// The window's size keys: multiply (direction 1) or divide (0) the size
    /// of control 1003, 1004 or 1005 by `factor`, as if the result were typed.
    void scaleSize(int control, int direction, double factor);
    /// Ctrl+C, Ctrl+S and Ctrl+T; true when the key copied a table. Ctrl+C
    /// in a field with selected text is left to the field.
    bool copyKey(const QKeyEvent& key, const QWidget* target);

    /// Writes every field, label and text from the sheet.
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
    void bindFields();
    void bindUnits();
    void bindCharts();
    void bindCommands();
    void buildFileMenu();
    void fieldEdited(DataField f);
    /// Shows what an edit did: the fields again, the focus on a refused text.
    void showEdit(const std::vector<DataField>& refused);
    ShapeTexts shownShapeTexts() const;
    void refreshChartLabels();
    void chartLabelClicked(const QString& which);

    Session& session_;
    QtPlatform& platform_;
    DataSheet sheet_;
    std::unique_ptr<Ui::DataPanel> form_;
    std::array<QLineEdit*, kDataFieldCount> edits_{};
    std::array<QLabel*, kDataFieldCount> unitLabels_{};
    std::array<QComboBox*, DataSheet::kComboCount> combos_{};
    std::array<QLabel*, DataSheet::kComboCount> scales_{};
    std::array<QLabel*, 3> curveLabels_{};
    QMenu* fileMenu_ = nullptr;
    QAction* reportChartAction_ = nullptr;
    QAction* fullReportAction_ = nullptr;
    bool refreshing_ = false;
};

}  // namespace quorvane
