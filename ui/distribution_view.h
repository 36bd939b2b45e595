#pragma once
/// One random argument's histogram in the dialog "Set probabilities
/// distributions", edited by dragging its bars.

#include <QWidget>

#include "model/random_argument.h"

namespace quorvane {

/// What the value edit of the dialog sets in the selected argument.
enum class ArgumentPart : int { LowerEnd, UpperEnd, LowerMass, UpperMass, Bin };

/// The edit modes as the dialog offers them, and what a drag does in each.
inline constexpr const char* kEditModeNames[kEditModeCount] = {
    "0: scale all bars", "1: tilt", "2: tilt, curved", "3: move the range"};
inline constexpr const char* kEditModeTips[kEditModeCount] = {
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

/// One argument's histogram: the mass at the lower end, the bins, the mass at
/// the upper end, with the range written below. A vertical drag over the bins
/// changes them as the argument's edit mode says; a drag over an end bar moves
/// that end's mass with the pointer.
class DistributionView : public QWidget {
    Q_OBJECT
  public:
    DistributionView(RandomArgument& argument, QWidget* parent = nullptr);

    /// The part of the histogram at a point: the end bars or a bin (with its index).
    ArgumentPart partAt(QPoint point, int* bin) const;
    /// Where the bars stand, in the widget's pixels.
    QRect barArea() const;
    /// The horizontal centre of bin k, or of an end bar.
    int centreOf(ArgumentPart part, int bin = 0) const;

    void setSelected(bool selected, ArgumentPart part, int bin);
    QSize sizeHint() const override { return {240, 150}; }

  signals:
    /// The user pressed on a bar; the dialog selects it.
    void picked(ArgumentPart part, int bin);
    /// The masses or the range changed by a drag.
    void edited();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    /// The slot of the picture outlined as selected; -1 for none.
    int markedSlot() const;

    RandomArgument& argument_;
    bool selected_ = false;
    ArgumentPart selectedPart_ = ArgumentPart::Bin;
    int selectedBin_ = 0;
    // The drag: the argument and the bar scale when the button went down.
    bool dragging_ = false;
    RandomArgument atStart_;
    QPoint start_;
    ArgumentPart dragPart_ = ArgumentPart::Bin;
    int dragBin_ = 0;
    double dragScale_ = 1;
};

}  // namespace quorvane
