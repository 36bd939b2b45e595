#include "ui/data_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include "model/quantity_schema.h"
#include "model/units.h"
#include "ui/panel_access.h"
#include "ui/qt_platform.h"
#include "ui_data_panel.h"
#include "views/probability_charts.h"
#include "views/temperature_charts.h"

namespace quorvane {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// The combo texts of unit combo `combo` (0 the systems, then the units).
QStringList comboItems(int combo) {
    static constexpr UnitKind kKinds[] = {
        UnitKind::Length, UnitKind::Length,      UnitKind::Weight,       UnitKind::Energy,
        UnitKind::Time,   UnitKind::Temperature, UnitKind::Concentration};
    QStringList items;
    if (combo == 0) {
        for (const char* name : kUnitSystemNames) items << name;
        return items;
    }
    for (int u = 0; u < unitCount(kKinds[combo]); ++u) items << unitComboText(kKinds[combo], u);
    return items;
}

}  // namespace

DataPanel::DataPanel(Session& session, QtPlatform& platform, QWidget* parent)
    : QWidget(parent),
      session_(session),
      platform_(platform),
      sheet_(session),
      form_(std::make_unique<Ui::DataPanel>()) {
    form_->setupUi(this);
    bindFields();
    bindUnits();
    bindCharts();
    bindCommands();
    prepareDataPanel(*this);
    refreshFromData();
}

DataPanel::~DataPanel() = default;

QLabel* DataPanel::theoryLabel() const {
    return form_->theoryLabel;
}
QLabel* DataPanel::predictionLabel() const {
    return form_->predictionLabel;
}
QCheckBox* DataPanel::defaultCheck() const {
    return form_->defaultCheck;
}
QSpinBox* DataPanel::accuracyBox() const {
    return form_->accuracyBox;
}
QPushButton* DataPanel::fileButton() const {
    return form_->fileButton;
}
QPushButton* DataPanel::estimateButton() const {
    return form_->estimateButton;
}
ChartArea* DataPanel::chartArea() const {
    return form_->theoreticalChart;
}
ChartArea* DataPanel::frequencyChart() const {
    return form_->frequencyChart;
}
ChartArea* DataPanel::probabilityChart() const {
    return form_->probabilityChart;
}
QLabel* DataPanel::zoomLabel(bool in) const {
    return in ? form_->zoomIn : form_->zoomOut;
}

void DataPanel::bindFields() {
    for (int i = 0; i < kDataFieldCount; ++i) {
        const auto f = static_cast<DataField>(i);
        const QString key = dataKeyForField(f);
        edits_[i] = findChild<QLineEdit*>("edit_" + key);
        unitLabels_[i] = findChild<QLabel*>("unit_" + key);
        // Enter applies the field; so does leaving a field whose text was changed.
        connect(edits_[i], &QLineEdit::returnPressed, this, [this, f] { fieldEdited(f); });
        connect(edits_[i], &QLineEdit::editingFinished, this, [this, f] {
            if (field(f)->isModified()) fieldEdited(f);
        });
    }
}

void DataPanel::bindUnits() {
    for (int i = 0; i < DataSheet::kComboCount; ++i) {
        combos_[i] = findChild<QComboBox*>(QString("unitCombo%1").arg(i));
        scales_[i] = findChild<QLabel*>(QString("unitScale%1").arg(i));
        combos_[i]->addItems(comboItems(i));
        connect(combos_[i], &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (refreshing_) return;
            sheet_.changeUnit(i, index);
            refreshFromData();
            emit dataChanged();
        });
    }
}

void DataPanel::bindCharts() {
    const char* names[3] = {"curveV", "curveR", "curveP"};
    for (int i = 0; i < 3; ++i) {
        curveLabels_[i] = findChild<QLabel*>(names[i]);
        connect(curveLabels_[i], &QLabel::linkActivated, this, &DataPanel::chartLabelClicked);
    }
    connect(form_->zoomIn, &QLabel::linkActivated, this, &DataPanel::chartLabelClicked);
    connect(form_->zoomOut, &QLabel::linkActivated, this, &DataPanel::chartLabelClicked);
    form_->theoreticalChart->painter = [this](QPainter& painter, const QRect& area) {
        views::paintTemperatureChart(
            painter, area,
            views::temperatureChartInputs(sheet_.data(), sheet_.sweep(),
                                          views::TemperatureChartKind::Theoretical));
    };
    // Beneath the data, what they mean for the engine: how often a molecule
    // leaves against how much of it touches the crystal, and the engine's
    // probabilities per step.
    form_->frequencyChart->painter = [this](QPainter& painter, const QRect& area) {
        if (const auto& chart = sheet_.engineCharts().frequency)
            views::paintFrequencyChart(painter, area, *chart);
    };
    form_->probabilityChart->painter = [this](QPainter& painter, const QRect& area) {
        if (const auto& chart = sheet_.engineCharts().probability)
            views::paintProbabilityChart(painter, area, *chart);
    };
    chartTableText = [this](int table) {
        return sheet_.table(table == 0 ? DataSheet::Table::ChartCurves
                                       : DataSheet::Table::Probabilities);
    };
}

void DataPanel::bindCommands() {
    connect(form_->estimateButton, &QPushButton::clicked, this, [this] {
        sheet_.estimate();
        refreshFromData();
        emit dataChanged();
    });
    connect(form_->defaultCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_) return;
        sheet_.setDefaultFrequency(on);
        refreshFromData();
        emit dataChanged();
    });
    connect(form_->accuracyBox, &QSpinBox::valueChanged, this, [this](int value) {
        if (refreshing_) return;
        sheet_.setAccuracy(value);
        refreshFromData();
    });
    connect(form_->updateButton, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < kDataFieldCount; ++i)
            if (edits_[i]->hasFocus()) fieldEdited(static_cast<DataField>(i));
    });
    buildFileMenu();
}

void DataPanel::buildFileMenu() {
    fileMenu_ = new QMenu(this);
    fileMenu_->addAction("&Open", this, &DataPanel::openDataFile);
    fileMenu_->addAction("&Save", this, &DataPanel::saveDataFile);
    fileMenu_->addAction("Save &As", this, &DataPanel::saveDataFileAs);
    fileMenu_->addSeparator();
    reportChartAction_ = fileMenu_->addAction("Save report &chart", this, [this] {
        if (saveReportChart) saveReportChart();
    });
    fullReportAction_ = fileMenu_->addAction("Save &full report", this, [this] {
        if (saveFullReport) saveFullReport();
    });
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        reportChartAction_->setEnabled(static_cast<bool>(saveReportChart));
        fullReportAction_->setEnabled(static_cast<bool>(saveFullReport));
    });
    reportChartAction_->setEnabled(false);
    fullReportAction_->setEnabled(false);
    // The menu opens where the mouse is, as a pop-up menu does; opened from the
    // keyboard (Alt+F, Space), under the button.
    connect(form_->fileButton, &QPushButton::clicked, this, [this] {
        const QPushButton* b = form_->fileButton;
        fileMenu_->popup(b->underMouse() ? QCursor::pos() : b->mapToGlobal(b->rect().bottomLeft()));
    });
}

// ---------------------------------------------------------------------------
// Editing

ShapeTexts DataPanel::shownShapeTexts() const {
    return {field(DataField::EdgesRatio)->text().toStdString(),
            field(DataField::VerticesRatio)->text().toStdString(),
            field(DataField::BondLength)->text().toStdString()};
}

void DataPanel::fieldEdited(DataField f) {
    if (refreshing_) return;
    QLineEdit* edit = field(f);
    if (!edit->isModified()) {
        // Enter on a field as shown: the shape texts are parsed again and the
        // numbers stay as they are (reading the shown text would round them).
        showEdit(sheet_.edit(std::nullopt, {}, shownShapeTexts()));
        return;
    }
    edit->setModified(false);
    showEdit(sheet_.edit(f, edit->text().toStdString(), shownShapeTexts()));
}

void DataPanel::showEdit(const std::vector<DataField>& refused) {
    refreshFromData();
    if (!refused.empty()) field(refused.front())->setFocus();
    emit dataChanged();
}

void DataPanel::scaleSize(int control, int direction, double factor) {
    const DataField f = control == kSizeAControl   ? DataField::SizeA
                        : control == kSizeBControl ? DataField::SizeB
                        : control == kSizeCControl ? DataField::SizeC
                                                   : DataField::Volume;
    if (f == DataField::Volume || factor <= 0) return;
    showEdit(sheet_.scaleSize(f, direction, factor, shownShapeTexts()));
}

int DataPanel::sizeControlOf(const QWidget* w) const {
    if (!w) return 0;
    if (w == field(DataField::SizeA)) return kSizeAControl;
    if (w == field(DataField::SizeB)) return kSizeBControl;
    if (w == field(DataField::SizeC)) return kSizeCControl;
    return 0;
}

void DataPanel::focusFirstSize() {
    field(DataField::SizeA)->setFocus();
}

void DataPanel::chartLabelClicked(const QString& which) {
    sheet_.clickChartLabel(which.toStdString());
    refreshChartLabels();
    form_->theoreticalChart->update();
}

// ---------------------------------------------------------------------------
// Display

void DataPanel::refreshFromData() {
    refreshing_ = true;
    for (int i = 0; i < kDataFieldCount; ++i) {
        const auto f = static_cast<DataField>(i);
        const QString shown = qs(sheet_.fieldText(f));
        if (edits_[i]->text() != shown) edits_[i]->setText(shown);
        edits_[i]->setModified(false);
        if (unitLabels_[i]) unitLabels_[i]->setText(qs(sheet_.fieldUnit(f)));
    }
    for (int i = 0; i < DataSheet::kComboCount; ++i) {
        QSignalBlocker block(combos_[i]);
        combos_[i]->setCurrentIndex(sheet_.unitSelection(i));
        scales_[i]->setText(qs(sheet_.unitScale(i)));
    }
    form_->defaultCheck->setChecked(sheet_.data().Is_Frequency_of_Vibrations_Set_Default != 0);
    form_->accuracyBox->setValue(sheet_.data().accuracy);
    form_->theoryLabel->setText(qs(sheet_.theoryHtml()));
    form_->predictionLabel->setText(qs(sheet_.predictionHtml()));
    refreshChartLabels();
    refreshEnabled();
    for (ChartArea* chart : {chartArea(), frequencyChart(), probabilityChart()}) chart->update();
    refreshing_ = false;
}

void DataPanel::refreshChartLabels() {
    for (int i = 0; i < 3; ++i) curveLabels_[i]->setText(qs(sheet_.curveLabelHtml(i)));
    describeDataPanel(*this);
}

void DataPanel::refreshEnabled() {
    const bool free = sheet_.controlsFree();
    for (int i = 0; i < kDataFieldCount; ++i)
        edits_[i]->setEnabled(sheet_.fieldEnabled(static_cast<DataField>(i)));
    for (int i = 0; i < DataSheet::kComboCount; ++i) combos_[i]->setEnabled(sheet_.comboEnabled(i));
    for (QWidget* w : std::initializer_list<QWidget*>{defaultCheck(), accuracyBox(), fileButton(),
                                                      estimateButton()})
        w->setEnabled(free);
}

void DataPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshEnabled();
}

// ---------------------------------------------------------------------------
// Files and clipboard

void DataPanel::afterDataLoaded(const DataFileReadResult& result) {
    if (!result.loaded()) return;
    sheet_.dataLoaded();
    refreshFromData();
    if (!result.refusedTexts.empty()) field(result.refusedTexts.front())->setFocus();
    emit titleChanged(qs(result.windowTitle()));
    emit dataChanged();
}

void DataPanel::openDataFile() {
    if (const auto result = sheet_.openFile()) {
        afterDataLoaded(*result);
        emit logPathChanged();
    }
}

void DataPanel::saveDataFile() {
    const DataFileWriteResult result = sheet_.saveFile();
    if (result.written) emit titleChanged(qs(result.windowTitle()));
}

void DataPanel::saveDataFileAs() {
    const auto result = sheet_.saveFileAs();
    if (result && result->written) emit titleChanged(qs(result->windowTitle()));
}

bool DataPanel::copyKey(const QKeyEvent& key, const QWidget* target) {
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    const bool alt = key.modifiers() & Qt::AltModifier;
    if (!ctrl || alt) return false;
    if (key.key() == Qt::Key_T) {
        platform_.setClipboardText(sheet_.table(DataSheet::Table::Theory));
        return true;
    }
    if (key.key() != Qt::Key_C && key.key() != Qt::Key_S) return false;
    if (key.key() == Qt::Key_C) {
        if (auto* edit = qobject_cast<const QLineEdit*>(target); edit && edit->hasSelectedText())
            return false;
    }
    if (!chartTableText) return false;
    platform_.setClipboardText(chartTableText(key.key() == Qt::Key_C ? 0 : 1));
    return true;
}

}  // namespace quorvane
