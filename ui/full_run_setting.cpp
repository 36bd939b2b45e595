#include "ui/full_run_setting.h"

#include <QKeyEvent>

#include "common/cformat.h"
#include "ui_full_run_setting.h"

namespace quorvane {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

/// A whole number as the dialog's integer fields accept it: optional blanks
/// and sign, digits only.
bool readInteger(const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

}  // namespace

FullRunSetting::FullRunSetting(ResearchSettings& settings, Platform& platform, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      platform_(platform),
      ui_(std::make_unique<Ui::FullRunSetting>()) {
    ui_->setupUi(this);
    // The entries keep the trailing blanks they always had in the box.
    for (const char* name : kPorositySchemeNames)
        ui_->combo1114->addItem(QString::fromLatin1(name).leftJustified(40, ' '));

    connect(ui_->check1095, &QCheckBox::clicked, this, [this] { chooseSource(true); });
    connect(ui_->check1102, &QCheckBox::clicked, this, [this] { chooseSource(false); });
    connect(ui_->combo1114, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) settings_.Sheme_for_running_with_porosity = index;
    });
    connect(ui_->button1094, &QPushButton::clicked, this, &FullRunSetting::pressOk);
    loadControls();
}

FullRunSetting::~FullRunSetting() = default;

QWidget* FullRunSetting::control(int id) const {
    // The form names every control after its identifier.
    for (const char* kind : {"edit", "check", "combo", "button"})
        if (auto* w = findChild<QWidget*>(QString("%1%2").arg(kind).arg(id))) return w;
    return nullptr;
}

void FullRunSetting::loadControls() {
    const ResearchSettings& s = settings_;
    ui_->edit1097->setText(qs(s.Start_loop_from));
    ui_->edit1099->setText(qs(s.Step_in_loop));
    ui_->edit1101->setText(qs(s.N_steps_in_loop));
    ui_->edit1103->setText(qs(s.List_of_values_to_try));
    ui_->edit1106->setText(qs(cformat("%d", s.N_terms_inInterpolation)));
    ui_->edit1112->setText(qs(cformat("%d", s.Theshold_of_layesr_to_fill)));
    const QSignalBlocker block(ui_->combo1114);
    ui_->combo1114->setCurrentIndex(std::clamp(s.Sheme_for_running_with_porosity, 0, 3));
    ui_->check1110->setChecked(s.Do_optimize_run_probabilities != 0);
    ui_->check1111->setChecked(s.Do_exit_when_less_than_N_layers_filled != 0);
    chooseSource(s.loopMode());
}

void FullRunSetting::chooseSource(bool loop) {
    setValueSource(settings_, loop);
    ui_->check1095->setChecked(loop);
    ui_->check1102->setChecked(!loop);
    for (QWidget* w : {ui_->edit1097, ui_->edit1099, ui_->edit1101}) w->setEnabled(loop);
    for (QWidget* w : {ui_->fromLabel, ui_->stepLabel, ui_->countLabel}) w->setEnabled(loop);
    ui_->edit1103->setEnabled(!loop);
}

void FullRunSetting::focusControl(int id) {
    if (QWidget* w = control(id)) {
        w->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
    }
}

bool FullRunSetting::storeControls() {
    ResearchSettings& s = settings_;
    int terms = 0, threshold = 0;
    if (!readInteger(ui_->edit1106->text(), terms) || terms < 0 || terms > 10) {
        platform_.message(kInterpolationRangeMessage);
        focusControl(kInterpolationTermsEdit);
        return false;
    }
    if (!readInteger(ui_->edit1112->text(), threshold)) {
        platform_.message(kIntegerMessage);
        focusControl(kLayerThresholdEdit);
        return false;
    }
    s.Start_loop_from = ui_->edit1097->text().toStdString();
    s.Step_in_loop = ui_->edit1099->text().toStdString();
    s.N_steps_in_loop = ui_->edit1101->text().toStdString();
    s.List_of_values_to_try = ui_->edit1103->text().toStdString();
    s.N_terms_inInterpolation = terms;
    s.Theshold_of_layesr_to_fill = threshold;
    s.Sheme_for_running_with_porosity = std::max(0, ui_->combo1114->currentIndex());
    s.Do_optimize_run_probabilities = ui_->check1110->isChecked() ? 1 : 0;
    s.Do_exit_when_less_than_N_layers_filled = ui_->check1111->isChecked() ? 1 : 0;
    setValueSource(s, ui_->check1095->isChecked());
    return true;
}

bool FullRunSetting::updateSettings() {
    if (!storeControls()) return false;
    const ResearchUpdateOutcome outcome = updateResearchSettings(settings_, platform_);
    if (outcome.focus != 0) focusControl(outcome.focus);
    return outcome.accepted;
}

void FullRunSetting::pressOk() {
    // A dialog that closed over a value the user must fix would leave the
    // focus move pointing at nothing; it stays open until the values hold.
    if (updateSettings()) accept();
}

void FullRunSetting::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        updateSettings();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quorvane
