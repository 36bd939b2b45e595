#include "ui/data_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "common/cformat.h"
#include "engine/contact_geometry.h"
#include "model/data_rules.h"
#include "model/probabilities.h"
#include "model/temperature_sweep.h"
#include "model/theory.h"
#include "model/unit_change.h"
#include "ui/qt_platform.h"
#include "views/probability_charts.h"
#include "views/temperature_charts.h"

namespace quorvane {

namespace {

constexpr const char* kWrongCsvMessage = "Wrong file extention, must be csv";
constexpr int kComboSystem = 0, kComboLength = 1, kComboWeight = 2, kComboEnergy = 3,
              kComboTime = 4, kComboTemperature = 5, kComboConcentration = 6;

QString rich(const char* text) {
    return QString::fromUtf8(text);
}

/// An integer in superscript digits: superscripts drawn as characters keep
/// the line's height, so no label clips them.
QString superscript(int n) {
    static const char16_t digits[] =
        u"\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079";
    QString text = QString::number(n);
    QString out;
    for (QChar ch : text) out += ch == '-' ? QChar(u'\u207b') : QChar(digits[ch.digitValue()]);
    return out;
}

/// The unit of each field in the current selections, as rich text.
QString fieldUnit(const PhysicalData& d, DataField f) {
    const QString L = unitShortName(UnitKind::Length, d.dimension);
    const QString W = unitShortName(UnitKind::Weight, d.weight);
    const QString E = unitShortName(UnitKind::Energy, d.energy);
    const QString t = unitShortName(UnitKind::Time, d.time);
    const QString T = unitShortName(UnitKind::Temperature, d.temperature);
    switch (f) {
        case DataField::SizeA:
        case DataField::SizeB:
        case DataField::SizeC:
        case DataField::BondLength:
            return L;
        case DataField::Volume:
            return L + superscript(3);
        case DataField::Surface:
            return L + superscript(2);
        case DataField::MolecularWeight:
            return "(Da)";
        case DataField::Density:
            return W + "/" + L + superscript(3);
        case DataField::MolarEnthalpy:
            return E + "/mol";
        case DataField::VolumeEnthalpy:
            return E + "/" + L + superscript(3);
        case DataField::SurfaceEnergy:
            return E + "/" + L + superscript(2);
        case DataField::MeltTemperature:
        case DataField::LiquidusTemperature:
        case DataField::Temperature:
            return T;
        case DataField::Concentration:
            return unitShortName(UnitKind::Concentration, d.concentration);
        case DataField::VibrationFrequency:
        case DataField::JumpFrequency:
            return "1/" + t;
        case DataField::ActivationEnergy:
            return "(" + E + "/mol)";
        default:
            return {};
    }
}

/// A theoretical value with the data's digits, or "undefined" where the
/// theory gave none (no finite positive number).
QString theoryValue(double x, int digits, bool defined = true) {
    if (!defined || !std::isfinite(x) || x <= 0) return "undefined";
    return QString::fromStdString(formatTheoryValue(x, digits));
}

QLabel* richLabel(const QString& text, QWidget* parent = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::RichText);
    return label;
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts

QString unitScaleText(UnitKind kind, int index) {
    const int e = unitExponent(kind, index);
    const QString power = "10" + superscript(e);
    switch (kind) {
        case UnitKind::Length:
            return "( " + power + " metres)";
        case UnitKind::Weight:
            return "( " + power + " kilograms)";
        case UnitKind::Energy:
            // The calorie units carry the calorie's 4.184 joules.
            return (index == 1 || index == 3 ? "( 4.184 &middot; " : "( ") + power + " kilojoules)";
        case UnitKind::Time: {
            const int seconds = index >= 0 && index < 4 ? kWholeSecondsPerTimeUnit[index] : 0;
            return (seconds ? QString("( %1 &middot; ").arg(seconds) : QString("( ")) + power +
                   " seconds)";
        }
        case UnitKind::Temperature:
            if (index == 1) return "C+273.15 (Kelvins)";
            if (index == 2) return "(F-32)(5/9)+273.15 (Kelvins)";
            return "(Kelvins)";
        case UnitKind::Concentration:
            return "( " + power + " parts)";
    }
    return {};
}

std::string theoryTableText(const PhysicalData& d, int steps) {
    const TemperatureSweep sweep = sweepTemperatures(d, steps);
    const char* L = unitShortName(UnitKind::Length, d.dimension);
    const char* t = unitShortName(UnitKind::Time, d.time);
    const char* T = unitShortName(UnitKind::Temperature, d.temperature);
    const char* c = unitShortName(UnitKind::Concentration, d.concentration);
    std::string text =
        cformat("Maximum of growth rate\t%g\t%s\t%g\t%s/%s\n", sweep.tAtVMax, T, sweep.vMax, L, t);
    text += cformat(
        "T (%s)\tVa (%s/%s)\tVb (%s/%s)\tVc (%s/%s)\tRa (layers)\tRb (layers)\t"
        "Rc (layers)\tPa (%s)\tPb (%s)\tPc (%s)\n",
        T, L, t, L, t, L, t, c, c, c);
    for (std::size_t i = 0; i < sweep.temperature.size(); ++i) {
        text += cformat("%g", sweep.temperature[i]);
        for (int column = 0; column < 3; ++column) {
            for (int dir = 0; dir < 3; ++dir) {
                const HalvikCurve& curve = sweep.curves[dir];
                const std::vector<double>& values = column == 0   ? curve.rate
                                                    : column == 1 ? curve.roughness
                                                                  : curve.porosity;
                text += i < values.size() ? cformat("\t%g", values[i]) : std::string("\t");
            }
        }
        text += "\n";
    }
    return text;
}

std::string chartCurvesText(const PhysicalData& d, int steps) {
    const TemperatureSweep sweep = sweepTemperatures(d, steps);
    const HalvikCurve& curve = sweep.curves[0];  // growth along a
    const char* L = unitShortName(UnitKind::Length, d.dimension);
    const char* t = unitShortName(UnitKind::Time, d.time);
    const char* c = unitShortName(UnitKind::Concentration, d.concentration);
    const bool shown[3] = {d.Chart_show_curves[0] != 0, d.Chart_show_curves[1] != 0,
                           d.Chart_show_curves[2] != 0};
    std::string text =
        cformat("Temperature, %s", unitShortName(UnitKind::Temperature, d.temperature));
    if (shown[0]) text += cformat("\tGrowth rate, %s/%s", L, t);
    if (shown[1]) text += "\tRoughness, (layers)";
    if (shown[2]) text += cformat("\tPorosity, (%s)", c);
    text += "\n";
    for (std::size_t i = 0; i < sweep.temperature.size(); ++i) {
        text += cformat("%g", sweep.temperature[i]);
        const std::vector<double>* columns[3] = {&curve.rate, &curve.roughness, &curve.porosity};
        for (int k = 0; k < 3; ++k)
            if (shown[k]) text += i < columns[k]->size() ? cformat("\t%g", (*columns[k])[i]) : "\t";
        text += "\n";
    }
    return text;
}

std::string probabilityTableText(const PhysicalData& d, const RunSettings& run) {
    const auto inputs = makeEngineInputs(d, run);
    if (!inputs) return {};
    const auto geometry = ContactGeometry::make(inputs->a, inputs->b, inputs->c, inputs->edgeWeight,
                                                inputs->vertexWeight);
    if (!geometry || geometry->n < 2) return {};
    const ProbabilityChart chart =
        makeProbabilityChart(inputs->E0, inputs->E8, inputs->Pint, geometry->n,
                             geometry->adatomFraction, geometry->bottomFaceFraction);
    std::string text = "Part of molecule on surface in direct contact with crystal\t" +
                       chart.outTitle + "\t" + chart.inTitle + "\n";
    for (std::size_t i = 0; i < chart.contactFraction.size(); ++i)
        text += cformat("%g\t%g\t%g\n", chart.contactFraction[i], chart.outProbability[i],
                        chart.inProbability[i]);
    return text;
}

// ---------------------------------------------------------------------------
// Chart area

ChartArea::ChartArea(QWidget* parent) : QWidget(parent) {
    setMinimumSize(360, 260);
}

void ChartArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (painter) painter(p, rect());
    p.setPen(QColor(120, 120, 120));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---------------------------------------------------------------------------
// Building

DataPanel::DataPanel(Session& session, QtPlatform& platform, QWidget* parent)
    : QWidget(parent), session_(session), platform_(platform), data_(session.state.data) {
    setObjectName("my_Data");
    buildFields();
    auto* columns = new QGridLayout(this);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->addWidget(buildLeftColumn(), 0, 0, Qt::AlignTop);
    columns->addWidget(buildMiddleColumn(), 0, 1, Qt::AlignTop);
    columns->addWidget(buildRightColumn(), 0, 2, 2, 1);
    // Beneath the data, what they mean for the engine: how often a molecule
    // leaves against how much of it touches the crystal, and the engine's
    // probabilities per step.
    frequencyChart_ = new ChartArea;
    probabilityChart_ = new ChartArea;
    frequencyChart_->setObjectName("frequencyChart");
    probabilityChart_->setObjectName("probabilityChart");
    for (ChartArea* chart : {frequencyChart_, probabilityChart_}) chart->setMinimumSize(360, 210);
    frequencyChart_->painter = [this](QPainter& painter, const QRect& area) {
        const auto inputs = makeEngineInputs(data_, session_.state.run);
        if (!inputs) return;
        const auto geometry = ContactGeometry::make(inputs->a, inputs->b, inputs->c,
                                                    inputs->edgeWeight, inputs->vertexWeight);
        if (!geometry) return;
        views::paintFrequencyChart(
            painter, area,
            makeFrequencyChart(inputs->E0, inputs->E8, geometry->adatomFraction,
                               geometry->embeddedFraction));
    };
    probabilityChart_->painter = [this](QPainter& painter, const QRect& area) {
        const auto inputs = makeEngineInputs(data_, session_.state.run);
        if (!inputs) return;
        const auto geometry = ContactGeometry::make(inputs->a, inputs->b, inputs->c,
                                                    inputs->edgeWeight, inputs->vertexWeight);
        if (!geometry || geometry->n < 2) return;
        views::paintProbabilityChart(
            painter, area,
            makeProbabilityChart(inputs->E0, inputs->E8, inputs->Pint, geometry->n,
                                 geometry->adatomFraction, geometry->bottomFaceFraction));
    };
    auto* charts = new QHBoxLayout;
    charts->addWidget(frequencyChart_, 1);
    charts->addWidget(probabilityChart_, 1);
    columns->addLayout(charts, 1, 0, 1, 2);
    columns->setRowStretch(1, 1);
    columns->setColumnStretch(2, 1);

    chart_->painter = [this](QPainter& painter, const QRect& area) {
        const TemperatureSweep sweep = sweepTemperatures(data_, kTableSteps);
        views::paintTemperatureChart(
            painter, area,
            views::temperatureChartInputs(data_, sweep, views::TemperatureChartKind::Theoretical));
    };
    chartTableText = [this](int table) {
        return table == 0 ? chartCurvesText(data_, kTableSteps)
                          : probabilityTableText(data_, session_.state.run);
    };

    // The panel starts with the unit selections its numbers are in.
    data_.adoptUnitsAsPrevious();
    theoryComputed_ = computeTheoryQuietly(data_);
    refreshFromData();
}

QLineEdit* DataPanel::makeEdit(DataField f, int width) {
    auto* edit = new QLineEdit;
    edit->setFixedWidth(width);
    edit->setObjectName(QString("edit_%1").arg(dataKeyForField(f)));
    edits_[static_cast<int>(f)] = edit;
    // Enter applies the field; so does leaving a field whose text was changed.
    connect(edit, &QLineEdit::returnPressed, this, [this, f] { fieldEdited(f); });
    connect(edit, &QLineEdit::editingFinished, this, [this, f] {
        if (field(f)->isModified()) fieldEdited(f);
    });
    return edit;
}

void DataPanel::buildFields() {
    for (int i = 0; i < kDataFieldCount; ++i) makeEdit(static_cast<DataField>(i));
    field(DataField::EdgesRatio)->setFixedWidth(55);
    field(DataField::VerticesRatio)->setFixedWidth(55);
    field(DataField::BondLength)->setFixedWidth(70);
    for (int i = 0; i < kDataFieldCount; ++i) unitLabels_[i] = richLabel({});
}

namespace {

/// One row "label edit unit" into a group's grid.
void addRow(QGridLayout* grid, int row, const QString& label, QLineEdit* edit, QLabel* unit,
            int column = 0) {
    auto* l = richLabel(label);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(l, row, column);
    grid->addWidget(edit, row, column + 1);
    if (unit) grid->addWidget(unit, row, column + 2);
}

QGroupBox* group(const QString& title, QGridLayout*& grid) {
    auto* box = new QGroupBox(title);
    grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    grid->setContentsMargins(6, 4, 6, 4);
    return box;
}

}  // namespace

QWidget* DataPanel::buildLeftColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    auto unit = [this](DataField f) { return unitLabels_[static_cast<int>(f)]; };
    QGridLayout* g = nullptr;

    v->addWidget(group("Size and shape of molecule", g));
    addRow(g, 0, "<i>a</i> = ", field(DataField::SizeA), unit(DataField::SizeA));
    addRow(g, 1, "<i>b</i> = ", field(DataField::SizeB), unit(DataField::SizeB));
    addRow(g, 2, "<i>c</i> = ", field(DataField::SizeC), unit(DataField::SizeC));
    g->setColumnStretch(3, 1);

    v->addWidget(group("Ratios of surface in molecule in directions of:", g));
    auto* ratios = new QHBoxLayout;
    ratios->addWidget(richLabel("Faces : Edges : Vertiges = 1 : "));
    ratios->addWidget(field(DataField::EdgesRatio));
    ratios->addWidget(richLabel(" : "));
    ratios->addWidget(field(DataField::VerticesRatio));
    ratios->addStretch();
    g->addLayout(ratios, 0, 0);

    v->addWidget(group("Volume (v) and surface of molecule (S)", g));
    addRow(g, 0, "<i>v</i> = ", field(DataField::Volume), unit(DataField::Volume));
    addRow(g, 1, "<i>S</i> = ", field(DataField::Surface), unit(DataField::Surface));
    g->addWidget(richLabel("<i>v</i> = <i>abc</i>,&nbsp; <i>S</i> = 2(<i>ab</i> + <i>bc</i> + "
                           "<i>ac</i>)"),
                 2, 0, 1, 4);
    g->setColumnStretch(3, 1);

    v->addWidget(group("Molecular weight (M) and density (d)", g));
    addRow(g, 0, "<i>M</i> = ", field(DataField::MolecularWeight),
           unit(DataField::MolecularWeight));
    addRow(g, 1, "<i>d</i> = ", field(DataField::Density), unit(DataField::Density));
    g->setColumnStretch(3, 1);

    v->addWidget(group("Enthalpy (per mol and volume)", g));
    addRow(g, 0, rich("&Delta;<i>H</i><sub>mol</sub> = "), field(DataField::MolarEnthalpy),
           unit(DataField::MolarEnthalpy));
    addRow(g, 1, rich("&Delta;<i>H</i><sub>v</sub> = "), field(DataField::VolumeEnthalpy),
           unit(DataField::VolumeEnthalpy));
    g->setColumnStretch(3, 1);

    v->addWidget(group("Surface energy:", g));
    addRow(g, 0, rich("&sigma; = "), field(DataField::SurfaceEnergy),
           unit(DataField::SurfaceEnergy));
    addRow(g, 1, "Bond lenght = ", field(DataField::BondLength), unit(DataField::BondLength));
    estimate_ = new QPushButton("Estimate");
    estimate_->setToolTip(rich("&sigma; = 0.5 &middot; bond length &middot; &Delta;H<sub>v</sub>"));
    connect(estimate_, &QPushButton::clicked, this, [this] {
        estimateSurfaceEnergy(data_);
        lastEdit_.reset();
        // A new surface energy moves the critical nucleus and every prediction.
        theoryComputed_ = computeTheoryQuietly(data_);
        refreshFromData();
        emit dataChanged();
    });
    g->addWidget(estimate_, 1, 3);
    g->setColumnStretch(4, 1);
    v->addStretch();
    return column;
}

QWidget* DataPanel::buildMiddleColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    auto unit = [this](DataField f) { return unitLabels_[static_cast<int>(f)]; };
    QGridLayout* g = nullptr;

    v->addWidget(group("Temperature (T) of melting (o), liquidus (l) and concentration (c)", g));
    addRow(g, 0, "<i>T</i> = ", field(DataField::Temperature), unit(DataField::Temperature));
    addRow(g, 1, "<i>T</i><sub>o</sub> = ", field(DataField::MeltTemperature),
           unit(DataField::MeltTemperature));
    addRow(g, 2, "<i>T</i><sub>l</sub> = ", field(DataField::LiquidusTemperature),
           unit(DataField::LiquidusTemperature));
    addRow(g, 3, "<i>c</i> = ", field(DataField::Concentration), unit(DataField::Concentration));
    g->setColumnStretch(3, 1);

    v->addWidget(group("Frequencies of thermal vibrations, jumps and activation energy (Ea):", g));
    addRow(g, 0, rich("&nu;<sub>0</sub> = "), field(DataField::VibrationFrequency),
           unit(DataField::VibrationFrequency));
    defaultCheck_ = new QCheckBox("default");
    connect(defaultCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_) return;
        setDefaultFrequency(data_, on);
        recomputeProbabilityAndTimeStep(session_.state.run, data_);
        // The rates scale with the jump frequency.
        theoryComputed_ = computeTheoryQuietly(data_);
        refreshFromData();
        emit dataChanged();
    });
    g->addWidget(defaultCheck_, 0, 3);
    addRow(g, 1, "<i>E</i><sub>a</sub> = ", field(DataField::ActivationEnergy),
           unit(DataField::ActivationEnergy));
    addRow(g, 2, rich("&nu; = "), field(DataField::JumpFrequency), unit(DataField::JumpFrequency));
    // exp() rather than a raised exponent: a sub-script inside a superscript
    // does not fit a label's line.
    auto* relation =
        richLabel(rich("&nu; = &nu;<sub>0</sub>&middot;exp(&minus;<i>E</i><sub>a</sub>"
                       "/<i>kT</i>),&nbsp;&nbsp;&nbsp;&nbsp; k is Boltzmann "
                       "constant"));
    g->addWidget(relation, 3, 0, 1, 5);
    g->setColumnStretch(4, 1);

    v->addWidget(group("General supercooling and specific surface energy", g));
    addRow(g, 0, rich("&Delta;<i>G</i>&prime; = "), field(DataField::GeneralSupercooling), nullptr);
    g->addWidget(richLabel(rich("&Delta;<i>G</i>' = &Delta;<i>H</i><sub>v</sub>(<i>T</i><sub>l"
                                "</sub> - <i>T</i>) / <i>kTT</i><sub>l</sub>")),
                 0, 2);
    addRow(g, 1, rich("&sigma;&prime; = "), field(DataField::GeneralSurfaceEnergy), nullptr);
    g->addWidget(richLabel(rich("&sigma;' = &sigma;<i>S</i> / <i>kT</i>")), 1, 2);
    g->setColumnStretch(3, 1);

    v->addWidget(group("Measurement units:", g));
    const char* names[7] = {
        "System:", "Length:", "Weight:", "Energy:", "Time:", "Temperature:", "Concentration:"};
    const UnitKind kinds[7] = {UnitKind::Length,       UnitKind::Length, UnitKind::Weight,
                               UnitKind::Energy,       UnitKind::Time,   UnitKind::Temperature,
                               UnitKind::Concentration};
    for (int i = 0; i < 7; ++i) {
        auto* combo = new QComboBox;
        combo->setObjectName(QString("unitCombo%1").arg(i));
        if (i == kComboSystem) {
            for (const char* name : kUnitSystemNames) combo->addItem(name);
        } else {
            for (int u = 0; u < unitCount(kinds[i]); ++u)
                combo->addItem(unitComboText(kinds[i], u));
        }
        combos_[i] = combo;
        scales_[i] = richLabel({});
        g->addWidget(new QLabel(names[i]), i, 0);
        g->addWidget(combo, i, 1);
        g->addWidget(scales_[i], i, 2);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, i](int index) { unitChanged(i, index); });
    }
    g->setColumnStretch(2, 1);
    v->addStretch();
    return column;
}

QWidget* DataPanel::buildRightColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    QGridLayout* g = nullptr;

    v->addWidget(group("Theoretical growth rate (V) critical nuclei (r)", g));
    theory_ = richLabel({});
    theory_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(theory_, 0, 0);

    v->addWidget(group("Prediction of growth rates (V),roughness (R) and porosity (P)", g));
    prediction_ = richLabel({});
    prediction_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(prediction_, 0, 0, 1, 3);
    g->addWidget(new QLabel("Accuracy = "), 1, 0);
    accuracy_ = new QSpinBox;
    accuracy_->setRange(1, 20);
    accuracy_->setFixedWidth(60);
    connect(accuracy_, &QSpinBox::valueChanged, this, [this](int value) {
        if (refreshing_) return;
        stepAccuracy(data_, value - data_.accuracy);
        refreshFromData();
    });
    g->addWidget(accuracy_, 1, 1);
    g->setColumnStretch(2, 1);

    // The chart with its clickable labels.
    auto* labels = new QHBoxLayout;
    labels->addWidget(new QLabel("View:"));
    const char* curves[3] = {"V", "R", "P"};
    for (int i = 0; i < 3; ++i) {
        curveLabels_[i] = richLabel({});
        curveLabels_[i]->setObjectName(QString("curve%1").arg(curves[i]));
        connect(curveLabels_[i], &QLabel::linkActivated, this, &DataPanel::chartLabelClicked);
        labels->addWidget(curveLabels_[i]);
    }
    labels->addWidget(new QLabel("    Zoom: "));
    zoomIn_ = richLabel("<a href=\"In\">In</a>");
    zoomOut_ = richLabel("<a href=\"Out\">Out</a>");
    connect(zoomIn_, &QLabel::linkActivated, this, &DataPanel::chartLabelClicked);
    connect(zoomOut_, &QLabel::linkActivated, this, &DataPanel::chartLabelClicked);
    labels->addWidget(zoomIn_);
    labels->addWidget(zoomOut_);
    labels->addStretch();
    v->addLayout(labels);
    chart_ = new ChartArea;
    v->addWidget(chart_, 1);

    // The buttons: File with its menu, and the hidden Update that Enter presses.
    auto* buttons = new QHBoxLayout;
    fileButton_ = new QPushButton("File");
    fileMenu_ = new QMenu(this);
    fileMenu_->addAction("Open", this, &DataPanel::openDataFile);
    fileMenu_->addAction("Save", this, &DataPanel::saveDataFile);
    fileMenu_->addAction("Save As", this, &DataPanel::saveDataFileAs);
    fileMenu_->addSeparator();
    reportChartAction_ = fileMenu_->addAction("Save report chart", this, [this] {
        if (saveReportChart) saveReportChart();
    });
    fullReportAction_ = fileMenu_->addAction("Save full report", this, [this] {
        if (saveFullReport) saveFullReport();
    });
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        reportChartAction_->setEnabled(static_cast<bool>(saveReportChart));
        fullReportAction_->setEnabled(static_cast<bool>(saveFullReport));
    });
    reportChartAction_->setEnabled(false);
    fullReportAction_->setEnabled(false);
    // The menu opens where the mouse is, as a pop-up menu does.
    connect(fileButton_, &QPushButton::clicked, this, [this] { fileMenu_->popup(QCursor::pos()); });
    updateButton_ = new QPushButton("Update");
    updateButton_->setVisible(false);
    connect(updateButton_, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < kDataFieldCount; ++i)
            if (edits_[i]->hasFocus()) fieldEdited(static_cast<DataField>(i));
    });
    buttons->addWidget(fileButton_);
    buttons->addStretch();
    v->addLayout(buttons);
    return column;
}

// ---------------------------------------------------------------------------
// Editing

void DataPanel::fieldEdited(DataField f) {
    if (refreshing_) return;
    QLineEdit* edit = field(f);
    if (!edit->isModified()) {
        // Enter on a field as shown: the shape texts are parsed again and the
        // numbers stay as they are (reading the shown text would round them).
        applyEdit(std::nullopt, {});
        return;
    }
    edit->setModified(false);
    applyEdit(f, edit->text().toStdString());
}

void DataPanel::applyEdit(std::optional<DataField> focus, const std::string& text) {
    UpdateRequest request;
    request.edgesText = field(DataField::EdgesRatio)->text().toStdString();
    request.verticesText = field(DataField::VerticesRatio)->text().toStdString();
    request.bondText = field(DataField::BondLength)->text().toStdString();
    request.focus = focus;
    request.focusText = text;
    RunSettings& run = session_.state.run;
    const std::vector<DataField> refused = applyUpdate(data_, run, request, platform_);
    recomputeForField(data_, focus);
    theoryComputed_ = computeTheory(data_, platform_);
    // Update set the time step before the edit reached the jump frequency.
    recomputeProbabilityAndTimeStep(run, data_);
    lastEdit_ = focus;
    temperatureScaleChanged_ = false;
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
    const double size = *numericField(data_, f);
    const double scaled = direction == 1 ? size * factor : size / factor;
    // "%.17g" reads back as the same double: the scaling is exact.
    applyEdit(f, cformat("%.17g", scaled));
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

void DataPanel::unitChanged(int combo, int index) {
    if (refreshing_) return;
    RunSettings& run = session_.state.run;
    UnitChangeEffect effect;
    switch (combo) {
        case kComboSystem:
            effect = changeUnitSystem(data_, run, index);
            break;
        case kComboLength:
            effect = changeLengthUnit(data_, index);
            break;
        case kComboWeight:
            effect = changeWeightUnit(data_, index);
            break;
        case kComboEnergy:
            effect = changeEnergyUnit(data_, index);
            break;
        case kComboTime:
            effect = changeTimeUnit(data_, run, index);
            break;
        case kComboTemperature:
            effect = changeTemperatureScale(data_, index);
            break;
        default:
            effect = changeConcentrationUnit(data_, index);
            break;
    }
    session_.applyUnitChange(effect);
    theoryComputed_ = computeTheoryQuietly(data_);
    lastEdit_.reset();
    temperatureScaleChanged_ = combo == kComboTemperature || combo == kComboSystem;
    refreshFromData();
    emit dataChanged();
}

void DataPanel::chartLabelClicked(const QString& which) {
    if (which == "V") toggleChartCurve(data_, 0);
    if (which == "R") toggleChartCurve(data_, 1);
    if (which == "P") toggleChartCurve(data_, 2);
    if (which == "In") zoomChartIn(data_);
    if (which == "Out") zoomChartOut(data_);
    refreshChartLabels();
    chart_->update();
}

// ---------------------------------------------------------------------------
// Display

void DataPanel::refreshFromData() {
    refreshing_ = true;
    for (int i = 0; i < kDataFieldCount; ++i) {
        const auto f = static_cast<DataField>(i);
        std::string text;
        if (const std::string* t = textField(data_, f)) {
            text = *t;
        } else {
            const double x = *numericField(data_, f);
            const bool temperature = f == DataField::Temperature ||
                                     f == DataField::MeltTemperature ||
                                     f == DataField::LiquidusTemperature;
            if (temperature && temperatureScaleChanged_)
                text = formatTemperatureAfterScaleChange(x);
            else if (f == DataField::Density && lastEdit_ == DataField::MolecularWeight)
                text = formatDensityAfterWeightEdit(x);
            else
                text = formatFieldValue(x);
        }
        const QString shown = QString::fromStdString(text);
        if (edits_[i]->text() != shown) edits_[i]->setText(shown);
        edits_[i]->setModified(false);
        unitLabels_[i]->setText(fieldUnit(data_, f));
    }
    defaultCheck_->setChecked(data_.Is_Frequency_of_Vibrations_Set_Default != 0);
    accuracy_->setValue(data_.accuracy);
    refreshUnits();
    refreshTheory();
    refreshChartLabels();
    refreshEnabled();
    chart_->update();
    frequencyChart_->update();
    probabilityChart_->update();
    refreshing_ = false;
}

void DataPanel::refreshUnits() {
    const int selections[7] = {data_.system, data_.dimension,   data_.weight,       data_.energy,
                               data_.time,   data_.temperature, data_.concentration};
    const UnitKind kinds[7] = {UnitKind::Length,       UnitKind::Length, UnitKind::Weight,
                               UnitKind::Energy,       UnitKind::Time,   UnitKind::Temperature,
                               UnitKind::Concentration};
    for (int i = 0; i < 7; ++i) {
        QSignalBlocker block(combos_[i]);
        combos_[i]->setCurrentIndex(selections[i]);
        scales_[i]->setText(i == kComboSystem ? QString() : unitScaleText(kinds[i], selections[i]));
    }
}

void DataPanel::refreshTheory() {
    const PhysicalData& d = data_;
    const int n = d.accuracy;
    const QString L = unitShortName(UnitKind::Length, d.dimension);
    const QString rate = L + "/" + unitShortName(UnitKind::Time, d.time);
    const bool ok = theoryComputed_;
    theory_->setText(QString("<table cellspacing=2>"
                             "<tr><td><i>V</i><sub>continues</sub> = </td><td>%1 %5</td></tr>"
                             "<tr><td><i>r</i><sub>crit</sub> = </td><td>%2 %6</td></tr>"
                             "<tr><td><i>V</i><sub>spiral</sub> = </td><td>%3 %5</td></tr>"
                             "<tr><td><i>V</i><sub>nuclei</sub> = </td><td>%4 %5</td></tr></table>")
                         .arg(theoryValue(d.Va_continues, n, ok), theoryValue(d.r_crit, n, ok),
                              theoryValue(d.Va_spiral, n, ok), theoryValue(d.Va_nuclei, n, ok),
                              rate, L));

    const double rates[3] = {d.Va_kes, d.Vb_kes, d.Vc_kes};
    const double factors[3] = {d.K_a, d.K_b, d.K_c};
    const double rough[3] = {d.Rf_a_kes, d.Rf_b_kes, d.Rf_c_kes};
    const double pores[3] = {d.Pf_a_kes, d.Pf_b_kes, d.Pf_c_kes};
    const char* axis[3] = {"a", "b", "c"};
    const QString conc = unitShortName(UnitKind::Concentration, d.concentration);
    QString rows = "<table cellspacing=2><tr><td colspan=3><b>Growth rates:</b></td></tr>";
    for (int i = 0; i < 3; ++i) {
        const bool defined = ok && d.definedDirections[i] != 0;
        rows += QString(
                    "<tr><td><i>V</i><sub>%1</sub> = </td><td>%2 %3</td><td>= %4*V "
                    "<sub>%1 cont</sub></td></tr>")
                    .arg(axis[i], theoryValue(rates[i], n, defined), rate,
                         theoryValue(factors[i], n, defined));
    }
    rows += "<tr><td colspan=3><b>Roughness:</b></td></tr>";
    for (int i = 0; i < 3; ++i) {
        const bool defined = ok && d.definedDirections[i] != 0;
        rows += QString(
                    "<tr><td><i>R</i><sub>%1</sub> = </td><td colspan=2>%2 (%1 layers)</td>"
                    "</tr>")
                    .arg(axis[i], theoryValue(rough[i], n, defined));
    }
    rows += "<tr><td colspan=3><b>Porosity:</b></td></tr>";
    for (int i = 0; i < 3; ++i) {
        const bool defined = ok && d.definedDirections[i] != 0 && std::isfinite(pores[i]);
        // A porosity of exactly 0 is a value, not a missing one.
        const QString value =
            defined ? QString::fromStdString(formatTheoryValue(pores[i], n)) : QString("undefined");
        rows += QString("<tr><td><i>P</i><sub>%1</sub> = </td><td colspan=2>%2 %3</td></tr>")
                    .arg(axis[i], value, conc);
    }
    prediction_->setText(rows + "</table>");
}

void DataPanel::refreshChartLabels() {
    const char* names[3] = {"V", "R", "P"};
    for (int i = 0; i < 3; ++i) {
        const bool on = data_.Chart_show_curves[i] != 0;
        curveLabels_[i]->setText(
            QString("<a href=\"%1\" style=\"color:%2; text-decoration:%3\"><b>%1</b></a>")
                .arg(names[i], on ? "#0000c0" : "#909090", on ? "underline" : "none"));
    }
}

void DataPanel::refreshEnabled() {
    const bool free = session_.state.runState.controlsEnabled;
    for (int i = 0; i < kDataFieldCount; ++i) edits_[i]->setEnabled(free);
    field(DataField::VibrationFrequency)
        ->setEnabled(free && data_.Is_Frequency_of_Vibrations_Set_Default == 0);
    combos_[kComboSystem]->setEnabled(free);
    for (int i = 1; i < 7; ++i) combos_[i]->setEnabled(free && unitCombosEnabled(data_));
    defaultCheck_->setEnabled(free);
    accuracy_->setEnabled(free);
    fileButton_->setEnabled(free);
    estimate_->setEnabled(free);
}

void DataPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshEnabled();
}

// ---------------------------------------------------------------------------
// Files and clipboard

bool DataPanel::chooseCsv(bool forSaving, std::string& path) {
    FileQuestion question;
    question.title = "Select data file";
    question.filter = "*.csv";
    question.initialName = "*.csv";
    question.initialFolder = session_.state.paths.workingFolder;
    question.forSaving = forSaving;
    std::optional<std::string> chosen = platform_.chooseFile(question);
    if (!chosen) return false;
    if (chosen->find(".csv") == std::string::npos) {
        platform_.message(kWrongCsvMessage);
        return false;
    }
    path = *chosen;
    return true;
}

void DataPanel::afterDataLoaded(const DataFileReadResult& result) {
    if (!result.loaded()) return;
    theoryComputed_ = computeTheoryQuietly(data_);
    lastEdit_.reset();
    temperatureScaleChanged_ = false;
    refreshFromData();
    if (!result.refusedTexts.empty()) field(result.refusedTexts.front())->setFocus();
    emit titleChanged(QString::fromStdString(result.windowTitle()));
    emit dataChanged();
}

void DataPanel::openDataFile() {
    std::string path;
    if (!chooseCsv(false, path)) return;
    afterDataLoaded(session_.readDataFile(path));
    emit logPathChanged();
}

void DataPanel::saveDataFile() {
    DataFileWriteResult result = session_.writeDataFile(session_.state.paths.currentDataPath);
    if (result.written) emit titleChanged(QString::fromStdString(result.windowTitle()));
}

void DataPanel::saveDataFileAs() {
    std::string path;
    if (!chooseCsv(true, path)) return;
    session_.state.paths.currentDataPath = path;
    saveDataFile();
}

bool DataPanel::copyKey(const QKeyEvent& key, const QWidget* target) {
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    const bool alt = key.modifiers() & Qt::AltModifier;
    if (!ctrl || alt) return false;
    if (key.key() == Qt::Key_T) {
        platform_.setClipboardText(theoryTableText(data_, kTableSteps));
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
