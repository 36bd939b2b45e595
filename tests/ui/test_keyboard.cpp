// The program driven from the keyboard alone: the Alt keys of the buttons and
// the letters of their menus, F5 and Shift+F5 from any panel, Ctrl+PgDown,
// Ctrl+PgUp and Ctrl+Tab between the panels, and Tab in reading order. (The
// size, copy and camera keys have their own tests, with the window's keys in
// place.)

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "experiments/app_state.h"
#include "experiments/experiment_runner.h"
#include "recording_platform.h"
#include "ui/data_panel.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"

using namespace quorvane;

namespace {

struct Program {
    QTemporaryDir documents;
    AppState state;
    testing::RecordingPlatform platform;
    MainWindow window{state, platform, documents.path().toStdString()};

    Program() {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    /// A key pressed where the keyboard focus is, as a user presses it.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, static_cast<Qt::Key>(key), modifiers);
    }
    /// The names of the controls Tab reaches from the focus on.
    QStringList tabThrough(int count) {
        QStringList names{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < count; ++i) {
            press(Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        return names;
    }
    int logRows() const {
        QFile log(QString::fromStdString(state.paths.logPath));
        return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) - 2 : 0;
    }
};

/// Types one key into each menu that opens, until the keys are used up.
void typeIntoMenus(QList<int> keys) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, keys, last = (QWidget*)nullptr]() mutable {
        QWidget* menu = QApplication::activePopupWidget();
        if (!menu || menu == last) return;
        last = menu;
        QTest::keyClick(menu, static_cast<Qt::Key>(keys.takeFirst()));
        if (keys.isEmpty()) poll->deleteLater();
    });
    poll->start(10);
}

/// Entries of `menu` and its submenus without a letter of their own.
QStringList unmarkedEntries(const QMenu& menu) {
    QStringList wrong;
    QSet<QChar> letters;
    for (QAction* action : menu.actions()) {
        const qsizetype at = action->text().indexOf('&') + 1;
        if (action->isSeparator()) continue;
        if (at == 0 || letters.contains(action->text()[at].toLower())) wrong << action->text();
        if (at > 0) letters.insert(action->text()[at].toLower());
        if (action->menu()) wrong << unmarkedEntries(*action->menu());
    }
    return wrong;
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
  private slots:
    void altKeysOpenTheMenusAndLettersChooseTheirEntries() {
        Program p;
        RunPanel& run = *p.window.runPanel();
        for (QMenu* menu :
             {run.actionMenu(), run.editMenu(), run.fileMenu(), p.window.dataPanel()->fileMenu()})
            QCOMPARE(unmarkedEntries(*menu), QStringList());
        QCOMPARE(run.action(kCmdStartSingle)->text().remove('&'),
                 QString("Start new single simulation"));
        QCOMPARE(run.action(kCmdStartSingle)->shortcut(), QKeySequence(Qt::Key_F5));
        // Alt+E, then "Add", "General parameters", "General supercooling".
        p.press(Qt::Key_PageDown, Qt::ControlModifier);
        typeIntoMenus({Qt::Key_A, Qt::Key_G, Qt::Key_S});
        p.press(Qt::Key_E, Qt::AltModifier);
        QTRY_COMPARE(p.state.plan.rows().size(), std::size_t(1));
        QCOMPARE(p.state.plan.rows().front().kind, int(kKindGeneralSupercooling));
    }

    void f5StartsAndShiftF5StopsAndResumesFromAnyPanel() {
        Program p;
        for (auto [key, value] : {std::pair{"N_field_W", "20"},
                                  {"N_field_H", "20"},
                                  {"Is_any_limits", "0"},
                                  {"Is_layers_limit", "1"},
                                  {"Layers_limit", "3"}})
            p.window.runPanel()->sheet().set(key, value);
        p.state.data.General_Suupercooling = 3;  // every face grows at once
        p.window.runPanel()->refreshDisplayValues();
        p.window.session().loop.hooks.stepDone = [&p](int step) {
            if (step != 30) return;
            // A second F5 while the run holds the controls starts nothing.
            QTimer::singleShot(0, [&p] { p.press(Qt::Key_F5); });
            QTimer::singleShot(0, [&p] { p.press(Qt::Key_F5, Qt::ShiftModifier); });
        };
        p.press(Qt::Key_F5);  // on the Data panel
        const int paused = p.state.runState.step_count;
        QVERIFY(paused >= 30);
        QCOMPARE(p.window.runPanel()->control(kPauseResumeButton)->property("text"),
                 QVariant("Resume"));
        QCOMPARE(p.logRows(), 0);  // a pause leaves no row
        p.window.tabs()->setCurrentIndex(MainWindow::kHelpTab);
        p.press(Qt::Key_F5, Qt::ShiftModifier);  // resumes to the layer limit
        QVERIFY(p.state.runState.step_count > paused);
        QCOMPARE(p.logRows(), 1);
    }

    void ctrlKeysMoveBetweenPanelsAndTabFollowsTheReadingOrder() {
        Program p;
        QTabWidget* tabs = p.window.tabs();
        p.press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kRunTab));
        const QStringList run{"edit1033",   "edit1034",   "edit1035",   "edit1036",  "edit1037",
                              "button1039", "check1043",  "check1044",  "edit1045",  "check1046",
                              "edit1047",   "check1053",  "edit1054",   "check1087", "button1051",
                              "button1049", "button1052", "button1050", "list1048"};
        QCOMPARE(p.tabThrough(run.size()), run);
        p.press(Qt::Key_PageUp, Qt::ControlModifier);
        const QStringList data = p.tabThrough(37);
        QCOMPARE(data.mid(0, 4), QStringList({"edit_Size_A", "edit_Size_B", "edit_Size_C",
                                              "edit_Parts_of_surface_for_edges"}));
        QVERIFY(data.indexOf("edit_Temperature") > data.indexOf("estimateButton"));
        QCOMPARE(data.mid(data.indexOf("accuracyBox"), 7),
                 QStringList({"accuracyBox", "curveV", "curveR", "curveP", "zoomIn", "zoomOut",
                              "fileButton"}));
        p.press(Qt::Key_PageUp, Qt::ControlModifier);  // round to the last panel
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kHelpTab));
        p.press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kDataTab));
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
