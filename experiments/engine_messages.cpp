#include "experiments/engine_messages.h"

namespace quorvane {

std::string engineRefusalMessage(InitStatus status) {
    switch (status) {
        case InitStatus::Ok:
            return {};
        case InitStatus::BadFieldSize:
            return "The field must be at least 1 x 1 molecules. Check Width and Height on the "
                   "Run panel.";
        case InitStatus::FieldTooLarge:
            return "The field is too large for the memory of this computer. Choose a smaller "
                   "Width and Height.";
        case InitStatus::BadRate:
            return "The general supercooling or the specific surface energy is not a usable "
                   "number. Check them on the Data panel.";
        case InitStatus::BadMolecule:
            return "The molecule sizes must be above zero and the surface ratios not negative. "
                   "Check them on the Data panel.";
        case InitStatus::NoRun:
            return "No simulation has been started yet.";
    }
    return "The simulation cannot start with these data.";
}

}  // namespace quorvane
