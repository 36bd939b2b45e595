#pragma once
// What the View and Results panel tests share: a session of their own over the
// shipped example that grows and roughens, its run log in a temporary folder.

#include <filesystem>
#include <string>

#include "experiments/session.h"
#include "support/temp_folder.h"
#include "ui/qt_platform.h"
#include "ui/view_panel.h"
#include "ui/window_keys.h"

namespace quorvane::testing {

inline std::string exampleData(const char* name) {
    return (std::filesystem::path(__FILE__).parent_path() / "../../examples" / name)
        .lexically_normal()
        .string();
}

/// A state, the desktop platform and a session, with the growing example loaded
/// on a `side` x `side` field and the run log kept out of the build folder.
struct LiveFixture {
    explicit LiveFixture(int side) : session(state, platform) {
        state.random.SeedForStart();
        session.readDataFile(exampleData("growing.csv"));
        state.run.N_field_W = side;
        state.run.N_field_H = side;
        state.run.N_in_per_step = state.run.Prob_in_at_step * side * side;
        state.run.Is_any_limits = 1;  // only the test ends a run
        state.paths.logPath = folder.file("log.csv");
    }
    /// Ends the run after `steps` steps, as a pause does.
    void stopAt(int steps) {
        session.loop.hooks.stepDone = [this, steps](int step) {
            if (step >= steps) state.runState.runFlag = false;
        };
    }

    TempFolder folder;
    AppState state;
    QtPlatform platform;
    Session session;
};

/// Keys held down on the View panel, read as the main window reads them
/// (keypad digits marked) and handed on as it hands them on.
inline bool pressKeys(ViewPanel& view, std::initializer_list<int> keys,
                      Qt::KeyboardModifiers modifiers) {
    QSet<int> down;
    for (int key : keys)
        down.insert(modifiers & Qt::KeypadModifier ? key | WindowKeys::kKeypadBit : key);
    return view.cameraKeys(cameraKeysOf(down, modifiers));
}

}  // namespace quorvane::testing
