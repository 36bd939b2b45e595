#include "ui/window_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QPointer>
#include <QTabWidget>

#include "experiments/experiment_runner.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"

namespace quorvane {

namespace {

QAction* addKey(MainWindow& window, const QList<QKeySequence>& keys) {
    auto* action = new QAction(&window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    return action;
}

/// The first control of `panel` the Tab key would reach.
QWidget* firstControl(QWidget* panel) {
    for (QWidget* w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain()) {
        const bool reachable = (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(panel) &&
                               w->isEnabled() && panel->isAncestorOf(w);
        if (reachable) return w;
    }
    return panel->focusPolicy() & Qt::TabFocus ? panel : nullptr;
}

/// Shift+F5 presses the Run panel's Stop/Resume button, as the mouse would.
void stopOrResume(RunPanel& run) {
    auto* button = qobject_cast<QAbstractButton*>(run.control(kPauseResumeButton));
    if (button && button->isEnabled()) button->click();
}

/// F5 is the Action menu's own entry, given to the window as well: the menu
/// shows the key, and the key acts from any panel. Like the menu, whose button
/// is held during a run, the entry is held while a run holds the controls.
void addStartKey(MainWindow& window) {
    QPointer<QAction> start = window.runPanel()->action(kCmdStartSingle);
    start->setShortcut(QKeySequence(Qt::Key_F5));
    start->setShortcutContext(Qt::WindowShortcut);
    window.addAction(start);
    RunHooks& hooks = window.session().loop.hooks;
    std::function<void()> before = hooks.controlsChanged;
    const RunState& rs = window.session().state.runState;
    hooks.controlsChanged = [before, start, &rs] {
        if (before) before();
        if (start) start->setEnabled(rs.controlsEnabled);
    };
}

}  // namespace

void stepPanel(MainWindow& window, int step) {
    QTabWidget* tabs = window.tabs();
    const int count = tabs->count();
    tabs->setCurrentIndex((tabs->currentIndex() + step + count) % count);
    if (QWidget* first = firstControl(window.panel(tabs->currentIndex())))
        first->setFocus(Qt::TabFocusReason);
}

void addWindowCommands(MainWindow& window) {
    addStartKey(window);
    QObject::connect(addKey(window, {QKeySequence(Qt::SHIFT | Qt::Key_F5)}), &QAction::triggered,
                     &window, [&window] { stopOrResume(*window.runPanel()); });
    const QList<QKeySequence> next{QKeySequence(Qt::CTRL | Qt::Key_PageDown),
                                   QKeySequence(Qt::CTRL | Qt::Key_Tab)};
    const QList<QKeySequence> back{QKeySequence(Qt::CTRL | Qt::Key_PageUp),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)};
    QObject::connect(addKey(window, next), &QAction::triggered, &window,
                     [&window] { stepPanel(window, 1); });
    QObject::connect(addKey(window, back), &QAction::triggered, &window,
                     [&window] { stepPanel(window, -1); });
    QTabWidget* tabs = window.tabs();
    for (int i = 0; i < tabs->count(); ++i)
        tabs->setTabToolTip(i,
                            tabs->tabText(i).trimmed() +
                                " panel. Ctrl+PgDown, Ctrl+PgUp: the next and the previous panel");
}

}  // namespace quorvane
