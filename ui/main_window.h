#pragma once
/// The program's one window: a tab control with the Data, Run, View, Results
/// and Help panels, the start-up that finds the working folder and loads the
/// last data, the keys that act across panels, and the close that saves them.

#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "experiments/app_state.h"
#include "experiments/session.h"
#include "ui/about_box.h"
#include "ui/qt_platform.h"
#include "ui/window_fit.h"
#include "ui/window_keys.h"
#include "views/surface_camera.h"

class QLabel;
class QTabWidget;

namespace quorvane {

class DataPanel;
class HelpPanel;
class RunPanel;
class ViewPanel;
class ResultsPanel;
class ReportFields;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    /// Tab labels, each with one blank before and after the word.
    static constexpr const char* kTabLabels[5] = {" Data ", " Run ", " View ", " Results ",
                                                  " Help "};
    enum Tab { kDataTab = 0, kRunTab = 1, kViewTab = 2, kResultsTab = 3, kHelpTab = 4 };

    /// `documentsFolder` is the user's documents folder; the working folder
    /// "Ambrevo" is made in it. Empty: no working folder (nothing is read or saved).
    MainWindow(AppState& state, QtPlatform& platform, const std::string& documentsFolder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QTabWidget* tabs() const { return tabs_; }
    Session& session() { return *session_; }
    bool workingFolderReady() const { return folderReady_; }
    DataPanel* dataPanel() const { return dataPanel_; }
    RunPanel* runPanel() const { return runPanel_; }
    ViewPanel* viewPanel() const { return viewPanel_; }
    ResultsPanel* resultsPanel() const { return resultsPanel_; }
    HelpPanel* helpPanel() const { return helpPanel_; }
    /// The panel of a tab.
    QWidget* panel(int tab) const;
    /// Puts `panel` on tab `tab` in place of what was there; the window takes it.
    void setPanel(int tab, QWidget* panel);
    /// The window's size at start; it never becomes smaller.
    QSize minimumWindowSize() const { return fit_.minimum(); }
    /// The "&About Quorvane..." box's text.
    static QString aboutText() { return aboutBoxText(); }

    /// Tab to switch to at the next paint of the window; -1 for none.
    int pendingTab = -1;
    /// Sets `pendingTab` and asks for the paint that makes the switch.
    void requestTab(int tab);
    /// The paint handler's switch, callable directly when no paint will come.
    void applyPendingTab();

    // Hooks for the panels that arrive later. All may stay empty.
    /// Refreshes the Run panel's cached display values (jump frequency, time
    /// unit and time step) from the current data; called before it is shown.
    std::function<void()> refreshRunPanel;
    /// The View panel's camera keys: given the keys held down, moves the
    /// camera and returns whether it moved (the window then repaints the panel).
    std::function<bool(const views::CameraKeys& keys)> cameraKeys;
    /// The View panel's camera reset (the "I" key).
    std::function<void()> cameraReset;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildTabs();
    /// The tab control and the five panels on it, in tab order.
    void addPanels();
    /// The panels' signals and the session's hooks.
    void connectPanels();
    /// The window's size at start: what the panels ask for, within the screen.
    void fitToPanels();
    void startUp(const std::string& documentsFolder);
    void tabChanged(int index);
    void showPanel(int index);
    void controlsChanged();

    AppState& state_;
    QtPlatform& platform_;
    std::unique_ptr<Session> session_;
    QTabWidget* tabs_ = nullptr;
    DataPanel* dataPanel_ = nullptr;
    RunPanel* runPanel_ = nullptr;
    ViewPanel* viewPanel_ = nullptr;
    ResultsPanel* resultsPanel_ = nullptr;
    void hookLivePanels();
    void hookReports();
    /// The full report's placeholder table: it keeps its keys from one report to the next.
    std::unique_ptr<ReportFields> reportFields_;
    HelpPanel* helpPanel_ = nullptr;
    /// The line under the panels: how the last run ended, where a summary went.
    QLabel* statusLine_ = nullptr;
    void hookStatusLine();
    void placeTabs();
    bool layoutReady_ = false;
    bool folderReady_ = false;
    /// The data the start ran on while it could not load the user's last data:
    /// the close keeps that file unless the data were changed.
    std::optional<std::string> untouchedData_;
    int shownTab_ = 0;
    WindowKeys keys_{*this};
    WindowFit fit_{*this};
};

}  // namespace quorvane
