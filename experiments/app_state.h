#pragma once
/// The program's long-lived objects, one of each, owned here and handed by
/// reference to whoever needs them. The desktop program, the batch runner and
/// every test build their own.

#include "engine/taus88.h"

namespace quorvane {

struct AppState {
    /// The process-wide random generator: seeded once at start-up, never reset.
    Taus88 random;
};

}  // namespace quorvane
