#include "ui/panel_access.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "sheets/control_tips.h"
#include "ui/data_panel.h"
#include "ui/run_panel.h"
#include "ui/text_fit.h"

namespace quorvane {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// Sets a text only when it changed: every change is announced to assistive tools.
void setTip(QWidget* widget, const std::string& tip) {
    const QString text = qs(tip);
    if (widget->toolTip() != text) widget->setToolTip(text);
}

void setDescription(QWidget* widget, const std::string& description) {
    const QString text = qs(description);
    if (widget->accessibleDescription() != text) widget->setAccessibleDescription(text);
}

/// A label holding one link, given a Tab stop by its form, follows its link on
/// Enter or Space as a button would.
class LinkKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
        auto* label = static_cast<QLabel*>(watched);
        static const QRegularExpression href(R"re(href="([^"]*)")re");
        const QRegularExpressionMatch link = href.match(label->text());
        if (!link.hasMatch()) return false;
        emit label->linkActivated(link.captured(1));
        return true;
    }
};

/// The Run panel's fields and check boxes by the data-file key each shows.
struct RunControl {
    int id;
    const char* key;
};
constexpr RunControl kRunControls[] = {
    {kFieldWidthEdit, "N_field_W"},
    {kFieldHeightEdit, "N_field_H"},
    {kJumpsPerStepEdit, "N_in_per_step"},
    {kProbabilityEdit, "Prob_in_at_step"},
    {kTimeStepEdit, "Time_step"},
    {kLayersLimitEdit, "Layers_limit"},
    {kTimeLimitEdit, "Time_simulattion_limit"},
    {kFirstLayerLimitEdit, "Time_simulattion_limit_first_layer"},
    {kNeverStopCheck, "Is_any_limits"},
    {kLayersLimitCheck, "Is_layers_limit"},
    {kTimeLimitCheck, "Is_time_simulattion_limit"},
    {kFirstLayerLimitCheck, "Is_time_simulattion_limit_first_layer"},
    {kPorosityCheck, "Is_includes_porosity"},
};

/// The widest numbers the Data panel writes: "%.4g" with a compacted exponent
/// and a sign ("-1.234e-21"), and a bond length in "%g" one digit longer.
constexpr int kNumberDigits = 11;
/// The surface ratios, "%.3g" and mostly short ("0.333").
constexpr int kRatioDigits = 7;
/// The Run panel's numbers: "%.4g" with an exponent ("1.302e-07"), or "%d".
constexpr int kRunDigits = 10;

}  // namespace

void prepareDataPanel(DataPanel& panel) {
    for (int i = 0; i < kDataFieldCount; ++i) {
        const auto f = static_cast<DataField>(i);
        const bool ratio = f == DataField::EdgesRatio || f == DataField::VerticesRatio;
        fitToDigits(*panel.field(f), ratio ? kRatioDigits : kNumberDigits);
    }
    for (int i = 0; i < DataSheet::kComboCount; ++i) setTip(panel.unitCombo(i), unitComboTip(i));
    auto* keys = new LinkKeys(&panel);
    for (QLabel* label : {panel.curveLabel(0), panel.curveLabel(1), panel.curveLabel(2),
                          panel.zoomLabel(true), panel.zoomLabel(false)})
        label->installEventFilter(keys);
    setTip(panel.estimateButton(), dataControlTip("Estimate"));
    setTip(panel.defaultCheck(), dataControlTip("default"));
}

void describeDataPanel(DataPanel& panel) {
    DataSheet& sheet = panel.sheet();
    for (int i = 0; i < kDataFieldCount; ++i) {
        const auto f = static_cast<DataField>(i);
        setTip(panel.field(f), dataFieldTip(sheet.data(), f));
    }
    setDescription(panel.chartArea(), theoreticalChartDescription(sheet.data(), sheet.sweep()));
    const EngineCharts& charts = sheet.engineCharts();
    if (charts.frequency)
        setDescription(panel.frequencyChart(), frequencyChartDescription(*charts.frequency));
    if (charts.probability)
        setDescription(panel.probabilityChart(), probabilityChartDescription(*charts.probability));
}

void prepareRunPanel(RunPanel& panel) {
    // The labels and units the panel draws follow the fields wherever they end.
    for (const RunControl& c : kRunControls)
        if (auto* edit = qobject_cast<QLineEdit*>(panel.control(c.id)))
            fitToDigits(*edit, kRunDigits);
}

void describeRunPanel(RunPanel& panel) {
    const std::string timeUnit = panel.sheet().timeUnit();
    for (const RunControl& c : kRunControls)
        if (QWidget* control = panel.control(c.id)) setTip(control, runFieldTip(c.key, timeUnit));
    // The chart is drawn on the panel itself: the panel describes it.
    if (const auto& chart = panel.sheet().probabilityChart())
        setDescription(&panel, probabilityChartDescription(*chart));
}

}  // namespace quorvane
