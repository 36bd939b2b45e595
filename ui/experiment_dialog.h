#pragma once
/// The dialog "Set probabilities distributions" of the general experiment: the
/// seven random physical parameters, each a histogram over its range with a
/// point mass at either end, edited by dragging the bars or by typing a value.

#include <QDialog>
#include <memory>
#include <vector>

#include "common/platform.h"
#include "model/random_argument.h"
#include "ui/distribution_view.h"

class QComboBox;
class QHBoxLayout;
class QLineEdit;

namespace Ui {
class ExperimentDialog;
}

namespace quorvane {

inline constexpr int kExperimentRunButton = 1090;
inline constexpr int kExperimentCancelButton = 1091;
inline constexpr int kExperimentUpdateButton = 1092;
inline constexpr int kExperimentValueEdit = 1093;

/// `m_Experiment`: edits a working copy of the arguments; Run takes it over
/// and answers Run, Cancel leaves the arguments as they were.
class ExperimentDialog : public QDialog {
    Q_OBJECT
  public:
    ExperimentDialog(std::vector<RandomArgument>& arguments, Platform& platform,
                     QWidget* parent = nullptr);
    ~ExperimentDialog() override;

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

    QLineEdit* valueEdit() const;
    QComboBox* partChoice() const;

  private:
    /// The histogram of argument i and its edit mode choice.
    void addArgument(int i);
    /// The edit mode combo of argument `i` with its label.
    QHBoxLayout* labelledMode(int i);
    void showSelection();
    void refreshViews();

    std::vector<RandomArgument>& arguments_;
    Platform& platform_;
    std::unique_ptr<Ui::ExperimentDialog> ui_;
    std::vector<RandomArgument> working_;
    std::vector<DistributionView*> views_;
    std::vector<QComboBox*> modes_;
    int selected_ = 0;
    int selectedBin_ = 0;
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
