#pragma once
/// The dialog "Set probabilities distributions" of the general experiment: the
/// seven random physical parameters, each a histogram over its range with a
/// point mass at either end, edited by dragging the bars or by typing a value.

#include <QDialog>
#include <QWidget>
#include <vector>

#include "common/platform.h"
#include "model/random_argument.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace quorvane {

inline constexpr int kExperimentRunButton = 1090;
inline constexpr int kExperimentCancelButton = 1091;
inline constexpr int kExperimentUpdateButton = 1092;
inline constexpr int kExperimentValueEdit = 1093;

/// What the value edit of the dialog sets in the selected argument.
enum class ArgumentPart : int { LowerEnd, UpperEnd, LowerMass, UpperMass, Bin };

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
    int slotCount() const { return static_cast<int>(argument_.bins.size()) + 2; }
    double massScale() const;

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

/// `m_Experiment`: edits a working copy of the arguments; Run takes it over
/// and answers Run, Cancel leaves the arguments as they were.
class ExperimentDialog : public QDialog {
    Q_OBJECT
  public:
    ExperimentDialog(std::vector<RandomArgument>& arguments, Platform& platform,
                     QWidget* parent = nullptr);

    /// The arguments as edited so far.
    const std::vector<RandomArgument>& working() const { return working_; }
    DistributionView* view(int index) const { return views_.at(index); }
    /// Selects an argument and the part the value edit sets.
    void select(int index, ArgumentPart part, int bin = 0);
    int selectedArgument() const { return selected_; }
    /// Update (1092): the edit's text becomes the selected part's value.
    bool applyValue();
    /// Run (1090): the edited arguments are kept and the experiment may start.
    void run();

    QLineEdit* valueEdit() const { return value_; }
    QComboBox* partChoice() const { return part_; }

  private:
    void showSelection();
    void refreshViews();

    std::vector<RandomArgument>& arguments_;
    Platform& platform_;
    std::vector<RandomArgument> working_;
    std::vector<DistributionView*> views_;
    std::vector<QComboBox*> modes_;
    int selected_ = 0;
    int selectedBin_ = 0;
    QLabel* caption_ = nullptr;
    QComboBox* part_ = nullptr;
    QLineEdit* value_ = nullptr;
};

/// The dialog under its name in the program's design.
using m_Experiment = ExperimentDialog;

/// Messages of the value edit.
inline constexpr const char* kValueNotNumberMessage =
    "Type a number (or auto for an end of the range).";
inline constexpr const char* kRangeOrderMessage =
    "The lower end of the range must be below the upper end.";
inline constexpr const char* kMassRangeMessage = "A probability mass must lie between 0 and 1.";

}  // namespace quorvane
