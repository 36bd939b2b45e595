#include "ui/full_run_setting.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/cformat.h"

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

QLineEdit* makeEdit(QWidget* parent, int id, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString("edit%1").arg(id));
    edit->setFixedWidth(width);
    return edit;
}

}  // namespace

FullRunSetting::FullRunSetting(ResearchSettings& settings, Platform& platform, QWidget* parent)
    : QDialog(parent), settings_(settings), platform_(platform) {
    setWindowTitle("Setting of one experiment of full research");
    setObjectName("FullRunSetting");

    loopCheck_ = new QCheckBox("Run probabilities to accept molecule in as loop:", this);
    loopCheck_->setObjectName(QString("check%1").arg(kLoopCheckBox));
    loopStart_ = makeEdit(this, kLoopStartEdit, 80);
    loopStep_ = makeEdit(this, kLoopStepEdit, 80);
    loopCount_ = makeEdit(this, kLoopCountEdit, 50);
    loopLabels_[0] = new QLabel("from:", this);
    loopLabels_[1] = new QLabel("with step:", this);
    loopLabels_[2] = new QLabel("and number of steps:", this);
    listCheck_ = new QCheckBox("Set probalilities as list (coma delimited):", this);
    listCheck_->setObjectName(QString("check%1").arg(kListCheckBox));
    list_ = makeEdit(this, kListEdit, 360);
    terms_ = makeEdit(this, kInterpolationTermsEdit, 40);
    scheme_ = new QComboBox(this);
    scheme_->setObjectName(QString("combo%1").arg(kPorositySchemeCombo));
    // The entries keep the trailing blanks they always had in the box.
    for (const char* name : kPorositySchemeNames)
        scheme_->addItem(QString::fromLatin1(name).leftJustified(40, ' '));
    optimise_ = new QCheckBox("Optimize probability to run once if appropriate", this);
    optimise_->setObjectName(QString("check%1").arg(kOptimizeCheckBox));
    exitEarly_ = new QCheckBox("Exit experiment if a run filled less than", this);
    exitEarly_->setObjectName(QString("check%1").arg(kExitEarlyCheckBox));
    threshold_ = makeEdit(this, kLayerThresholdEdit, 50);
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName(QString("button%1").arg(kResearchOkButton));
    ok_->setAutoDefault(false);

    // The two sources exclude each other.
    auto* source = new QButtonGroup(this);
    source->setExclusive(true);
    source->addButton(loopCheck_);
    source->addButton(listCheck_);
    connect(loopCheck_, &QCheckBox::clicked, this, [this] { chooseSource(true); });
    connect(listCheck_, &QCheckBox::clicked, this, [this] { chooseSource(false); });
    connect(scheme_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) settings_.Sheme_for_running_with_porosity = index;
    });
    connect(ok_, &QPushButton::clicked, this, &FullRunSetting::pressOk);

    auto* loopRow = new QHBoxLayout;
    loopRow->addSpacing(24);
    loopRow->addWidget(loopLabels_[0]);
    loopRow->addWidget(loopStart_);
    loopRow->addWidget(loopLabels_[1]);
    loopRow->addWidget(loopStep_);
    loopRow->addWidget(loopLabels_[2]);
    loopRow->addWidget(loopCount_);
    loopRow->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addSpacing(24);
    listRow->addWidget(list_);
    listRow->addStretch();
    auto* termsRow = new QHBoxLayout;
    termsRow->addWidget(new QLabel("Interpolation with", this));
    termsRow->addWidget(terms_);
    termsRow->addWidget(new QLabel("terms polynom", this));
    termsRow->addStretch();
    auto* schemeRow = new QHBoxLayout;
    schemeRow->addWidget(new QLabel("Porocity is", this));
    schemeRow->addWidget(scheme_);
    schemeRow->addStretch();
    auto* exitRow = new QHBoxLayout;
    exitRow->addWidget(exitEarly_);
    exitRow->addWidget(threshold_);
    exitRow->addWidget(new QLabel("layers", this));
    exitRow->addStretch();
    auto* okRow = new QHBoxLayout;
    okRow->addStretch();
    okRow->addWidget(ok_);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(loopCheck_);
    layout->addLayout(loopRow);
    layout->addSpacing(6);
    layout->addWidget(listCheck_);
    layout->addLayout(listRow);
    layout->addSpacing(10);
    layout->addLayout(termsRow);
    layout->addLayout(schemeRow);
    layout->addWidget(optimise_);
    layout->addLayout(exitRow);
    layout->addSpacing(6);
    layout->addLayout(okRow);
    loadControls();
}

QWidget* FullRunSetting::control(int id) const {
    switch (id) {
        case kLoopCheckBox:
            return loopCheck_;
        case kLoopStartEdit:
            return loopStart_;
        case kLoopStepEdit:
            return loopStep_;
        case kLoopCountEdit:
            return loopCount_;
        case kListCheckBox:
            return listCheck_;
        case kListEdit:
            return list_;
        case kInterpolationTermsEdit:
            return terms_;
        case kOptimizeCheckBox:
            return optimise_;
        case kExitEarlyCheckBox:
            return exitEarly_;
        case kLayerThresholdEdit:
            return threshold_;
        case kPorositySchemeCombo:
            return scheme_;
        case kResearchOkButton:
            return ok_;
        default:
            return nullptr;
    }
}

void FullRunSetting::loadControls() {
    const ResearchSettings& s = settings_;
    loopStart_->setText(qs(s.Start_loop_from));
    loopStep_->setText(qs(s.Step_in_loop));
    loopCount_->setText(qs(s.N_steps_in_loop));
    list_->setText(qs(s.List_of_values_to_try));
    terms_->setText(qs(cformat("%d", s.N_terms_inInterpolation)));
    threshold_->setText(qs(cformat("%d", s.Theshold_of_layesr_to_fill)));
    const QSignalBlocker block(scheme_);
    scheme_->setCurrentIndex(std::clamp(s.Sheme_for_running_with_porosity, 0, 3));
    optimise_->setChecked(s.Do_optimize_run_probabilities != 0);
    exitEarly_->setChecked(s.Do_exit_when_less_than_N_layers_filled != 0);
    chooseSource(s.loopMode());
}

void FullRunSetting::chooseSource(bool loop) {
    setValueSource(settings_, loop);
    loopCheck_->setChecked(loop);
    listCheck_->setChecked(!loop);
    for (QWidget* w :
         {static_cast<QWidget*>(loopStart_), static_cast<QWidget*>(loopStep_),
          static_cast<QWidget*>(loopCount_), loopLabels_[0], loopLabels_[1], loopLabels_[2]})
        w->setEnabled(loop);
    list_->setEnabled(!loop);
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
    if (!readInteger(terms_->text(), terms) || terms < 0 || terms > 10) {
        platform_.message(kInterpolationRangeMessage);
        focusControl(kInterpolationTermsEdit);
        return false;
    }
    if (!readInteger(threshold_->text(), threshold)) {
        platform_.message(kIntegerMessage);
        focusControl(kLayerThresholdEdit);
        return false;
    }
    s.Start_loop_from = loopStart_->text().toStdString();
    s.Step_in_loop = loopStep_->text().toStdString();
    s.N_steps_in_loop = loopCount_->text().toStdString();
    s.List_of_values_to_try = list_->text().toStdString();
    s.N_terms_inInterpolation = terms;
    s.Theshold_of_layesr_to_fill = threshold;
    s.Sheme_for_running_with_porosity = std::max(0, scheme_->currentIndex());
    s.Do_optimize_run_probabilities = optimise_->isChecked() ? 1 : 0;
    s.Do_exit_when_less_than_N_layers_filled = exitEarly_->isChecked() ? 1 : 0;
    setValueSource(s, loopCheck_->isChecked());
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
