// The program driven from the keyboard alone: the Alt keys of the Action, Edit
// and File buttons and the letters of their menus, F5 and Shift+F5 from any
// panel, Ctrl+PgDown, Ctrl+PgUp and Ctrl+Tab between the panels, Tab through
// a panel in reading order, and the keys the program had before keeping
// their meaning beside the new ones.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "experiments/app_state.h"
#include "experiments/experiment_runner.h"
#include "recording_platform.h"
#include "ui/data_panel.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"
#include "ui/view_panel.h"

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
    /// The offscreen platform leaves a closed menu the active window; a
    /// desktop gives the activation back to the window.
    void regainActivation() {
        window.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &window);
    }
    /// A key pressed where the keyboard focus is, as a user presses it.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, static_cast<Qt::Key>(key), modifiers);
    }
    QString focusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
    /// The names of the controls Tab reaches from the focus, `count` of them.
    QStringList tabThrough(int count) {
        QStringList names{focusName()};
        for (int i = 1; i < count; ++i) {
            press(Qt::Key_Tab);
            names << focusName();
        }
        return names;
    }
    /// A small field that grows three layers in a moment.
    void smallRun() {
        RunSheet& sheet = window.runPanel()->sheet();
        state.data.General_Suupercooling = 3;
        for (auto [key, value] : {std::pair{"N_field_W", "20"},
                                  {"N_field_H", "20"},
                                  {"Is_any_limits", "0"},
                                  {"Is_layers_limit", "1"},
                                  {"Layers_limit", "3"}})
            QCOMPARE(QString::fromStdString(sheet.set(key, value)), QString());
        window.runPanel()->refreshDisplayValues();
    }
    int logRows() const {
        QFile log(QString::fromStdString(state.paths.logPath));
        if (!log.open(QIODevice::ReadOnly)) return 0;
        return static_cast<int>(log.readAll().count('\n')) - 2;
    }
};

/// Types `keys` into the menus as they open, one key per menu, and records
/// each menu that opened.
class MenuTyping : public QObject {
  public:
    explicit MenuTyping(QList<int> keys) : keys_(std::move(keys)) {
        connect(&poll_, &QTimer::timeout, this, [this] { step(); });
        poll_.start(10);
    }
    QList<QMenu*> opened;

  private:
    void step() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || opened.contains(menu)) return;
        opened << menu;
        if (keys_.isEmpty()) {
            menu->close();
            return;
        }
        QTest::keyClick(menu, static_cast<Qt::Key>(keys_.takeFirst()));
    }
    QList<int> keys_;
    QTimer poll_;
};

/// Every entry of `menu` and its submenus has one marked letter, none twice in a menu.
QStringList unmarkedEntries(const QMenu& menu) {
    QStringList wrong;
    QSet<QChar> letters;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const QString text = action->text();
        const qsizetype at = text.indexOf('&');
        const QChar letter = at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
        if (letter.isNull() || letters.contains(letter)) wrong << text;
        letters.insert(letter);
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
        // The texts keep their words: the marks are all that was added.
        QCOMPARE(run.action(kCmdStartSingle)->text().remove('&'),
                 QString("Start new single simulation"));

        // On the Data panel, Alt+F opens its File menu.
        {
            MenuTyping typing({});
            p.press(Qt::Key_F, Qt::AltModifier);
            QTRY_VERIFY(typing.opened.contains(p.window.dataPanel()->fileMenu()));
        }
        p.regainActivation();
        // On the Run panel, Alt+E then "Add", "General parameters", "General
        // supercooling" adds a row to the plan.
        p.press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(p.window.tabs()->currentIndex(), int(MainWindow::kRunTab));
        {
            MenuTyping typing({Qt::Key_A, Qt::Key_G, Qt::Key_S});
            p.press(Qt::Key_E, Qt::AltModifier);
            QTRY_COMPARE(p.state.plan.rows().size(), std::size_t(1));
            QVERIFY(typing.opened.first() == run.editMenu());
            QCOMPARE(p.state.plan.rows().front().kind, int(kKindGeneralSupercooling));
        }
        p.regainActivation();
        MenuTyping action({});
        p.press(Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(action.opened.contains(run.actionMenu()));
        // The Action menu shows the key that starts a run from anywhere.
        QCOMPARE(run.action(kCmdStartSingle)->shortcut(), QKeySequence(Qt::Key_F5));
    }

    void f5StartsAndShiftF5StopsAndResumesFromAnyPanel() {
        Program p;
        p.smallRun();
        QPushButton* stop =
            static_cast<QPushButton*>(p.window.runPanel()->control(kPauseResumeButton));
        bool pressedDuringRun = false;
        p.window.session().loop.hooks.stepDone = [&](int step) {
            if (step != 30 || pressedDuringRun) return;
            pressedDuringRun = true;
            // A second F5 while the run holds the controls starts nothing.
            QTimer::singleShot(0, [&] { p.press(Qt::Key_F5); });
            QTimer::singleShot(0, [&] { p.press(Qt::Key_F5, Qt::ShiftModifier); });
        };
        QCOMPARE(p.window.tabs()->currentIndex(), int(MainWindow::kDataTab));
        p.press(Qt::Key_F5);
        QVERIFY(pressedDuringRun);
        QCOMPARE(stop->text(), QString("Resume"));
        const int paused = p.state.runState.step_count;
        QVERIFY(paused >= 30);
        QCOMPARE(p.logRows(), 0);  // a pause leaves no row

        // From the Help panel, Shift+F5 resumes the same run to its layer limit.
        p.window.tabs()->setCurrentIndex(MainWindow::kHelpTab);
        p.press(Qt::Key_F5, Qt::ShiftModifier);
        QVERIFY(p.state.runState.step_count > paused);
        QCOMPARE(p.logRows(), 1);
        QVERIFY(p.window.runPanel()->action(kCmdStartSingle)->isEnabled());
    }

    void ctrlKeysMoveBetweenPanelsAndTabFollowsTheReadingOrder() {
        Program p;
        QTabWidget* tabs = p.window.tabs();
        QCOMPARE(p.focusName(), QString("edit_Size_A"));
        p.press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kRunTab));
        QCOMPARE(p.focusName(), QString("edit1033"));
        const QStringList run{"edit1033",   "edit1034",   "edit1035",   "edit1036",  "edit1037",
                              "button1039", "check1043",  "check1044",  "edit1045",  "check1046",
                              "edit1047",   "check1053",  "edit1054",   "check1087", "button1051",
                              "button1049", "button1052", "button1050", "list1048"};
        QCOMPARE(p.tabThrough(run.size()), run);

        p.press(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kDataTab));
        const QStringList data = p.tabThrough(38);
        const QStringList opening{"edit_Size_A",
                                  "edit_Size_B",
                                  "edit_Size_C",
                                  "edit_Parts_of_surface_for_edges",
                                  "edit_Parts_of_surface_for_vertices",
                                  "edit_Volume"};
        QCOMPARE(data.mid(0, opening.size()), opening);
        // Down the first column, then the second, the units, the theory and the File button.
        QVERIFY(data.indexOf("estimateButton") >
                data.indexOf("edit_Characterictic_length_of_bond"));
        QVERIFY(data.indexOf("edit_Temperature") > data.indexOf("estimateButton"));
        QVERIFY(data.indexOf("unitCombo0") > data.indexOf("edit_General_Surface_Energy"));
        QVERIFY(data.indexOf("accuracyBox") > data.indexOf("unitCombo6"));
        QVERIFY(data.indexOf("fileButton") > data.indexOf("zoomOut"));

        p.press(Qt::Key_PageUp, Qt::ControlModifier);  // round to the last panel
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kHelpTab));
        p.press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kDataTab));
        p.press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kRunTab));
    }

    void theKeysTheProgramHadKeepTheirMeaning() {
        Program p;
        // Ctrl+3 in a size field triples it.
        QLineEdit* b = p.window.dataPanel()->field(DataField::SizeB);
        b->setFocus();
        const double before = b->text().toDouble();
        p.press(Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(b->text().toDouble(), 3 * before);
        // On the View panel Ctrl+2 shows the three-dimensional picture, and the
        // arrows still turn its camera.
        p.window.tabs()->setCurrentIndex(MainWindow::kViewTab);
        ViewPanel& view = *p.window.viewPanel();
        view.setFocus();
        p.press(Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(view.mode(), views::PictureMode::ThreeD);
        const double azimuth = view.camera().azimuth;
        p.press(Qt::Key_Left);
        QVERIFY(view.camera().azimuth != azimuth);
        p.press(Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(view.mode(), views::PictureMode::Map);
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
