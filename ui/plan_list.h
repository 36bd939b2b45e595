#pragma once
/// The experiment plan list (control 1048): one line per plan row with the
/// columns "Parameter", "From", "To", "Steps" and "Current", and an edit box
/// laid over a From, To or Steps cell when the user clicks it.

#include <QTableWidget>

#include "experiments/plan.h"

class QLineEdit;

namespace quorvane {

inline constexpr int kPlanListId = 1048;

class PlanList : public QTableWidget {
    Q_OBJECT
  public:
    PlanList(ExperimentPlan& plan, QWidget* parent = nullptr);
    /// A list without its plan yet, as a form makes it; `setPlan` gives it one.
    explicit PlanList(QWidget* parent = nullptr);
    void setPlan(ExperimentPlan& plan) { plan_ = &plan; }

    /// Deletes every line and inserts one per plan row; each column is as wide
    /// as its widest text plus 15 pixels.
    void refill();
    /// The row the user selected last, -1 for none.
    int selectedRow() const { return selected_; }
    /// The edit box over a cell (hidden when no cell is being edited).
    QLineEdit* editBox() const { return editBox_; }
    bool isEditing() const;
    /// Commits the open edit box to the plan; false when none was open.
    bool commitEdit();
    /// Opens the edit box over a cell, as a click on it does.
    void beginEdit(int row, int column);

  signals:
    /// A cell edit changed the plan.
    void planEdited();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void fitColumns();

    ExperimentPlan* plan_ = nullptr;
    QLineEdit* editBox_ = nullptr;
    int selected_ = -1;
    bool refilling_ = false;
    int editRow_ = -1;
    int editColumn_ = -1;
};

}  // namespace quorvane
