#include "ui/experiment_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/cformat.h"
#include "ui_experiment_dialog.h"
#include "views/distribution_picture.h"

namespace quorvane {

namespace {

QString massText(double mass) {
    return QString::fromStdString(cformat("%.4g", mass));
}

}  // namespace

ExperimentDialog::ExperimentDialog(std::vector<RandomArgument>& arguments, Platform& platform,
                                   QWidget* parent)
    : QDialog(parent),
      arguments_(arguments),
      platform_(platform),
      ui_(std::make_unique<Ui::ExperimentDialog>()),
      working_(arguments) {
    // The histograms and their edit modes come first, so that Tab starts there.
    for (int i = 0; i < static_cast<int>(working_.size()); ++i) addArgument(i);
    ui_->setupUi(this);
    QGroupBox* const groups[3] = {ui_->group0, ui_->group1, ui_->group2};
    QHBoxLayout* const cells[3] = {ui_->group0Cells, ui_->group1Cells, ui_->group2Cells};
    for (int g = 0; g < 3; ++g) groups[g]->setTitle(kRandomArgumentGroups[g]);
    for (int i = 0; i < static_cast<int>(views_.size()); ++i) {
        auto* cell = new QVBoxLayout;
        cell->addWidget(views_[i], 1);
        cell->addLayout(labelledMode(i));
        cells[std::max(0, randomArgumentGroup(i))]->addLayout(cell);
    }

    connect(ui_->partChoice, &QComboBox::currentIndexChanged, this, [this] { showSelection(); });
    connect(ui_->edit1093, &QLineEdit::returnPressed, this, &ExperimentDialog::applyValue);
    connect(ui_->button1092, &QPushButton::clicked, this, &ExperimentDialog::applyValue);
    connect(ui_->button1090, &QPushButton::clicked, this, &ExperimentDialog::run);
    connect(ui_->button1091, &QPushButton::clicked, this, &QDialog::reject);
    if (!working_.empty()) select(0, ArgumentPart::Bin, 0);
}

ExperimentDialog::~ExperimentDialog() = default;

void ExperimentDialog::addArgument(int i) {
    auto* view = new DistributionView(working_[i], this);
    view->setObjectName(QString("histogram%1").arg(i));
    auto* mode = new QComboBox(this);
    mode->setObjectName(QString("mode%1").arg(i));
    mode->setAccessibleName(QString::fromStdString(working_[i].name) + " edit mode");
    for (int m = 0; m < kEditModeCount; ++m) {
        mode->addItem(kEditModeNames[m]);
        mode->setItemData(m, kEditModeTips[m], Qt::ToolTipRole);
    }
    mode->setCurrentIndex(std::clamp(working_[i].editMode, 0, kEditModeCount - 1));
    mode->setToolTip("How a drag over the bars changes the distribution");
    connect(mode, &QComboBox::currentIndexChanged, this, [this, i](int m) {
        if (m < 0) return;
        working_[i].editMode = m;
        refreshViews();
    });
    connect(view, &DistributionView::picked, this,
            [this, i](ArgumentPart part, int bin) { select(i, part, bin); });
    connect(view, &DistributionView::edited, this, [this] { showSelection(); });
    views_.push_back(view);
    modes_.push_back(mode);
}

QHBoxLayout* ExperimentDialog::labelledMode(int i) {
    // A screen reader names a combo box by the label that points at it.
    auto* label = new QLabel("Mode:", this);
    label->setBuddy(modes_[i]);
    label->setAccessibleName(modes_[i]->accessibleName());
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(modes_[i], 1);
    return row;
}

QLineEdit* ExperimentDialog::valueEdit() const {
    return ui_->edit1093;
}

QComboBox* ExperimentDialog::partChoice() const {
    return ui_->partChoice;
}

void ExperimentDialog::select(int index, ArgumentPart part, int bin) {
    if (index < 0 || index >= static_cast<int>(working_.size())) return;
    selected_ = index;
    selectedBin_ =
        std::clamp(bin, 0, std::max(0, static_cast<int>(working_[index].bins.size()) - 1));
    const QSignalBlocker block(ui_->partChoice);
    ui_->partChoice->setCurrentIndex(static_cast<int>(part));
    showSelection();
}

void ExperimentDialog::showSelection() {
    if (working_.empty()) return;
    const RandomArgument& a = working_[selected_];
    const auto part = static_cast<ArgumentPart>(ui_->partChoice->currentIndex());
    ui_->caption->setText(
        QString::fromStdString(a.name) +
        (part == ArgumentPart::Bin ? QString(", bin %1:").arg(selectedBin_ + 1) : QString(":")));
    QString text;
    switch (part) {
        case ArgumentPart::LowerEnd:
            text = views::distributionEndText(a, a.min);
            break;
        case ArgumentPart::UpperEnd:
            text = views::distributionEndText(a, a.max);
            break;
        case ArgumentPart::LowerMass:
            text = massText(a.below);
            break;
        case ArgumentPart::UpperMass:
            text = massText(a.above);
            break;
        case ArgumentPart::Bin:
            if (selectedBin_ < static_cast<int>(a.bins.size()))
                text = massText(a.bins[selectedBin_]);
            break;
    }
    ui_->edit1093->setText(text);
    refreshViews();
}

void ExperimentDialog::refreshViews() {
    for (int i = 0; i < static_cast<int>(views_.size()); ++i)
        views_[i]->setSelected(i == selected_,
                               static_cast<ArgumentPart>(ui_->partChoice->currentIndex()),
                               selectedBin_);
}

bool ExperimentDialog::applyValue() {
    if (working_.empty()) return false;
    RandomArgument& a = working_[selected_];
    const auto part = static_cast<ArgumentPart>(ui_->partChoice->currentIndex());
    const std::string text = ui_->edit1093->text().trimmed().toStdString();
    const bool isEnd = part == ArgumentPart::LowerEnd || part == ArgumentPart::UpperEnd;
    double x = 0;
    if (isEnd && ui_->edit1093->text().trimmed().compare("auto", Qt::CaseInsensitive) == 0) {
        x = a.autoMarker;
    } else if (!parseFiniteDouble(text, x)) {
        platform_.message(kValueNotNumberMessage);
        ui_->edit1093->setFocus();
        return false;
    }
    if (isEnd) {
        const double lo = part == ArgumentPart::LowerEnd ? x : a.min;
        const double hi = part == ArgumentPart::UpperEnd ? x : a.max;
        if (!isAutoEnd(a, lo) && !isAutoEnd(a, hi) && lo >= hi) {
            platform_.message(kRangeOrderMessage);
            ui_->edit1093->setFocus();
            return false;
        }
        a.min = lo;
        a.max = hi;
    } else {
        if (x < 0 || x > 1) {
            platform_.message(kMassRangeMessage);
            ui_->edit1093->setFocus();
            return false;
        }
        if (part == ArgumentPart::LowerMass) setLowerMass(a, x);
        if (part == ArgumentPart::UpperMass) setUpperMass(a, x);
        if (part == ArgumentPart::Bin) setBinMass(a, selectedBin_, x);
    }
    showSelection();
    return true;
}

void ExperimentDialog::run() {
    arguments_ = working_;
    accept();
}

}  // namespace quorvane
