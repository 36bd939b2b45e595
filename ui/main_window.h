#pragma once
/// The program's one window: a tab control with the Data, Run, View, Results
/// and Help panels.

#include <QWidget>

#include "experiments/app_state.h"
#include "ui/qt_platform.h"

class QTabWidget;

namespace quorvane {

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    /// Tab labels, each with one blank before and after the word.
    static constexpr const char* kTabLabels[5] = {" Data ", " Run ", " View ", " Results ",
                                                  " Help "};

    MainWindow(AppState& state, QtPlatform& platform, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }

  private:
    AppState& state_;
    QtPlatform& platform_;
    QTabWidget* tabs_ = nullptr;
};

}  // namespace quorvane
