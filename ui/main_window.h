#pragma once
/// The program's one window: a tab control with the Data, Run, View, Results
/// and Help panels, the start-up that finds the working folder and loads the
/// last data, and the close that saves them.

#include <QWidget>
#include <memory>
#include <string>

#include "experiments/app_state.h"
#include "experiments/session.h"
#include "ui/qt_platform.h"

class QTabWidget;

namespace quorvane {

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    /// Tab labels, each with one blank before and after the word.
    static constexpr const char* kTabLabels[5] = {" Data ", " Run ", " View ", " Results ",
                                                  " Help "};

    /// `documentsFolder` is the user's documents folder; the working folder
    /// "Ambrevo" is made in it. Empty: no working folder (nothing is read or saved).
    MainWindow(AppState& state, QtPlatform& platform, const std::string& documentsFolder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QTabWidget* tabs() const { return tabs_; }
    Session& session() { return *session_; }
    bool workingFolderReady() const { return folderReady_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void startUp(const std::string& documentsFolder);

    AppState& state_;
    QtPlatform& platform_;
    std::unique_ptr<Session> session_;
    QTabWidget* tabs_ = nullptr;
    bool folderReady_ = false;
};

}  // namespace quorvane
