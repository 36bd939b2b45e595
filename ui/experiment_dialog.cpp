#include "ui/experiment_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/cformat.h"

namespace quorvane {

namespace {

constexpr int kTitleHeight = 20;
constexpr int kRangeHeight = 20;

const char* const kModeNames[kEditModeCount] = {"0: scale all bars", "1: tilt", "2: tilt, curved",
                                                "3: move the range"};
const char* const kModeTips[kEditModeCount] = {
    "Dragging down lowers every bar in proportion, dragging up raises them; the end "
    "masses take up the difference.",
    "Dragging tilts the bars about the far side: the bars nearest the pressed one change "
    "most.",
    "As the tilt, with the change growing with the square of the distance from the far "
    "side.",
    "Dragging moves the whole range: up to larger values, down to smaller ones, by the "
    "share of the bar height the pointer travels times the width of the range. The "
    "masses stay. The range never starts below 0, and a range with an \"auto\" end is "
    "derived from the other draws and does not move."};

QString endText(const RandomArgument& a, double end) {
    return isAutoEnd(a, end) ? QString("auto") : QString::fromStdString(cformat("%.4g", end));
}

}  // namespace

DistributionView::DistributionView(RandomArgument& argument, QWidget* parent)
    : QWidget(parent), argument_(argument) {
    setMinimumSize(200, 130);
    setCursor(Qt::SizeVerCursor);
    setToolTip(kModeTips[std::clamp(argument.editMode, 0, kEditModeCount - 1)]);
}

QRect DistributionView::barArea() const {
    return QRect(4, kTitleHeight, width() - 8, height() - kTitleHeight - kRangeHeight);
}

double DistributionView::massScale() const {
    double largest = std::max(argument_.below, argument_.above);
    for (double m : argument_.bins) largest = std::max(largest, m);
    // A little headroom, so that the highest bar can still be dragged upward.
    return std::max(largest, 0.05) * 1.15;
}

ArgumentPart DistributionView::partAt(QPoint point, int* bin) const {
    const QRect area = barArea();
    const int slotTotal = slotCount();
    int slot = (point.x() - area.left()) * slotTotal / std::max(1, area.width());
    slot = std::clamp(slot, 0, slotTotal - 1);
    if (bin) *bin = std::clamp(slot - 1, 0, std::max(0, slotTotal - 3));
    if (slot == 0) return ArgumentPart::LowerMass;
    if (slot == slotTotal - 1) return ArgumentPart::UpperMass;
    return ArgumentPart::Bin;
}

int DistributionView::centreOf(ArgumentPart part, int bin) const {
    const QRect area = barArea();
    const int slotTotal = slotCount();
    const int slot = part == ArgumentPart::LowerMass   ? 0
                     : part == ArgumentPart::UpperMass ? slotTotal - 1
                                                       : bin + 1;
    return area.left() + (2 * slot + 1) * area.width() / (2 * slotTotal);
}

void DistributionView::setSelected(bool selected, ArgumentPart part, int bin) {
    selected_ = selected;
    selectedPart_ = part;
    selectedBin_ = bin;
    setToolTip(kModeTips[std::clamp(argument_.editMode, 0, kEditModeCount - 1)]);
    update();
}

void DistributionView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(selected_ ? QColor(0, 0, 255) : QColor(160, 160, 160), selected_ ? 2 : 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(QRect(0, 2, width(), kTitleHeight - 2), Qt::AlignCenter,
               QString::fromStdString(argument_.name));

    const QRect area = barArea();
    const int slotTotal = slotCount();
    const double scale = dragging_ ? dragScale_ : massScale();
    for (int slot = 0; slot < slotTotal; ++slot) {
        const bool lower = slot == 0, upper = slot == slotTotal - 1;
        const double mass = lower   ? argument_.below
                            : upper ? argument_.above
                                    : argument_.bins[slot - 1];
        const int left = area.left() + slot * area.width() / slotTotal;
        const int right = area.left() + (slot + 1) * area.width() / slotTotal;
        const int barHeight =
            static_cast<int>(std::min(1.0, std::max(0.0, mass / scale)) * area.height());
        const QRect bar(left + 1, area.bottom() - barHeight, right - left - 2, barHeight);
        const bool end = lower || upper;
        // The end slots are tinted even without mass: they can be dragged up.
        if (end)
            p.fillRect(QRect(left + 1, area.top(), right - left - 2, area.height()),
                       QColor(252, 240, 225));
        p.fillRect(bar, end ? QColor(230, 140, 40) : QColor(70, 120, 200));
        const ArgumentPart part = lower   ? ArgumentPart::LowerMass
                                  : upper ? ArgumentPart::UpperMass
                                          : ArgumentPart::Bin;
        if (selected_ && part == selectedPart_ &&
            (part != ArgumentPart::Bin || slot - 1 == selectedBin_)) {
            p.setPen(QPen(QColor(220, 0, 0), 2));
            p.drawRect(QRect(left + 1, area.top(), right - left - 2, area.height()));
        }
    }
    p.setPen(Qt::black);
    p.drawLine(area.bottomLeft(), area.bottomRight());
    if (!argument_.valid) {
        p.setPen(QColor(200, 0, 0));
        p.drawText(area, Qt::AlignCenter, "no mass");
    }
    const QRect range(4, height() - kRangeHeight, width() - 8, kRangeHeight);
    p.setPen(Qt::black);
    p.drawText(range, Qt::AlignLeft | Qt::AlignVCenter, endText(argument_, argument_.min));
    p.drawText(range, Qt::AlignRight | Qt::AlignVCenter, endText(argument_, argument_.max));
    p.setPen(QColor(100, 100, 100));
    p.drawText(range, Qt::AlignCenter, QString("mode %1").arg(argument_.editMode));
}

void DistributionView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int bin = 0;
    dragPart_ = partAt(event->position().toPoint(), &bin);
    dragBin_ = bin;
    atStart_ = argument_;
    start_ = event->position().toPoint();
    dragScale_ = massScale();
    dragging_ = true;
    emit picked(dragPart_, dragBin_);
}

void DistributionView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    // Positive when the pointer moved down, the direction that lowers the bars.
    const double d = event->position().y() - start_.y();
    const double h = barArea().height();
    RandomArgument changed = atStart_;
    if (dragPart_ == ArgumentPart::Bin) {
        changed = dragged(atStart_, d, h, dragBin_);
    } else {
        // An end bar follows the pointer on the scale it was drawn with.
        const bool lower = dragPart_ == ArgumentPart::LowerMass;
        const double mass = (lower ? atStart_.below : atStart_.above) - d / h * dragScale_;
        if (lower) {
            setLowerMass(changed, mass);
        } else {
            setUpperMass(changed, mass);
        }
    }
    argument_ = changed;
    update();
    emit edited();
}

void DistributionView::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_) mouseMoveEvent(event);
    dragging_ = false;
    update();
}

ExperimentDialog::ExperimentDialog(std::vector<RandomArgument>& arguments, Platform& platform,
                                   QWidget* parent)
    : QDialog(parent), arguments_(arguments), platform_(platform), working_(arguments) {
    setWindowTitle("Set probabilities distributions");
    setObjectName("m_Experiment");
    auto* layout = new QVBoxLayout(this);
    QHBoxLayout* rows[2] = {new QHBoxLayout, new QHBoxLayout};
    QHBoxLayout* groups[3] = {nullptr, nullptr, nullptr};
    for (int g = 0; g < 3; ++g) {
        auto* box = new QGroupBox(kRandomArgumentGroups[g], this);
        groups[g] = new QHBoxLayout(box);
        rows[g == 0 ? 0 : 1]->addWidget(box);
    }
    const int count = static_cast<int>(working_.size());
    for (int i = 0; i < count; ++i) {
        const int group = std::max(0, randomArgumentGroup(i));
        auto* cell = new QVBoxLayout;
        auto* view = new DistributionView(working_[i], this);
        view->setObjectName(QString("histogram%1").arg(i));
        auto* mode = new QComboBox(this);
        mode->setObjectName(QString("mode%1").arg(i));
        for (int m = 0; m < kEditModeCount; ++m) {
            mode->addItem(kModeNames[m]);
            mode->setItemData(m, kModeTips[m], Qt::ToolTipRole);
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
        cell->addWidget(view, 1);
        cell->addWidget(mode);
        groups[group]->addLayout(cell);
        views_.push_back(view);
        modes_.push_back(mode);
    }
    layout->addLayout(rows[0], 1);
    layout->addLayout(rows[1], 1);

    auto* bottom = new QHBoxLayout;
    caption_ = new QLabel(this);
    caption_->setMinimumWidth(190);
    part_ = new QComboBox(this);
    part_->setObjectName("partChoice");
    for (const char* name : {"Lower end of the range", "Upper end of the range",
                             "Mass at the lower end", "Mass at the upper end", "Mass of the bin"})
        part_->addItem(name);
    value_ = new QLineEdit(this);
    value_->setObjectName(QString("edit%1").arg(kExperimentValueEdit));
    value_->setFixedWidth(110);
    auto* update = new QPushButton("Update", this);
    update->setObjectName(QString("button%1").arg(kExperimentUpdateButton));
    auto* runButton = new QPushButton("Run", this);
    runButton->setObjectName(QString("button%1").arg(kExperimentRunButton));
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName(QString("button%1").arg(kExperimentCancelButton));
    for (QPushButton* b : {update, runButton, cancel}) b->setAutoDefault(false);
    connect(part_, &QComboBox::currentIndexChanged, this, [this] { showSelection(); });
    connect(value_, &QLineEdit::returnPressed, this, &ExperimentDialog::applyValue);
    connect(update, &QPushButton::clicked, this, &ExperimentDialog::applyValue);
    connect(runButton, &QPushButton::clicked, this, &ExperimentDialog::run);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(caption_);
    bottom->addWidget(part_);
    bottom->addWidget(value_);
    bottom->addWidget(update);
    bottom->addStretch();
    bottom->addWidget(runButton);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    resize(1040, 460);
    if (!working_.empty()) select(0, ArgumentPart::Bin, 0);
}

void ExperimentDialog::select(int index, ArgumentPart part, int bin) {
    if (index < 0 || index >= static_cast<int>(working_.size())) return;
    selected_ = index;
    selectedBin_ =
        std::clamp(bin, 0, std::max(0, static_cast<int>(working_[index].bins.size()) - 1));
    const QSignalBlocker block(part_);
    part_->setCurrentIndex(static_cast<int>(part));
    showSelection();
}

void ExperimentDialog::showSelection() {
    if (working_.empty()) return;
    const RandomArgument& a = working_[selected_];
    const auto part = static_cast<ArgumentPart>(part_->currentIndex());
    caption_->setText(
        QString::fromStdString(a.name) +
        (part == ArgumentPart::Bin ? QString(", bin %1:").arg(selectedBin_ + 1) : QString(":")));
    QString text;
    switch (part) {
        case ArgumentPart::LowerEnd:
            text = endText(a, a.min);
            break;
        case ArgumentPart::UpperEnd:
            text = endText(a, a.max);
            break;
        case ArgumentPart::LowerMass:
            text = QString::fromStdString(cformat("%.4g", a.below));
            break;
        case ArgumentPart::UpperMass:
            text = QString::fromStdString(cformat("%.4g", a.above));
            break;
        case ArgumentPart::Bin:
            if (selectedBin_ < static_cast<int>(a.bins.size()))
                text = QString::fromStdString(cformat("%.4g", a.bins[selectedBin_]));
            break;
    }
    value_->setText(text);
    refreshViews();
}

void ExperimentDialog::refreshViews() {
    for (int i = 0; i < static_cast<int>(views_.size()); ++i)
        views_[i]->setSelected(i == selected_, static_cast<ArgumentPart>(part_->currentIndex()),
                               selectedBin_);
}

bool ExperimentDialog::applyValue() {
    if (working_.empty()) return false;
    RandomArgument& a = working_[selected_];
    const auto part = static_cast<ArgumentPart>(part_->currentIndex());
    const std::string text = value_->text().trimmed().toStdString();
    const bool isEnd = part == ArgumentPart::LowerEnd || part == ArgumentPart::UpperEnd;
    double x = 0;
    if (isEnd && value_->text().trimmed().compare("auto", Qt::CaseInsensitive) == 0) {
        x = a.autoMarker;
    } else if (!parseFiniteDouble(text, x)) {
        platform_.message(kValueNotNumberMessage);
        value_->setFocus();
        return false;
    }
    if (isEnd) {
        const double lo = part == ArgumentPart::LowerEnd ? x : a.min;
        const double hi = part == ArgumentPart::UpperEnd ? x : a.max;
        if (!isAutoEnd(a, lo) && !isAutoEnd(a, hi) && lo >= hi) {
            platform_.message(kRangeOrderMessage);
            value_->setFocus();
            return false;
        }
        a.min = lo;
        a.max = hi;
    } else {
        if (x < 0 || x > 1) {
            platform_.message(kMassRangeMessage);
            value_->setFocus();
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
