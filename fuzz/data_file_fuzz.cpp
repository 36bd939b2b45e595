// Fuzz target of the data-file reader: any bytes, read as a data file into a
// fresh document; whatever was loaded is written and read back.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/data_file.h"
#include "model/data_rules.h"
#include "model/units.h"
#include "silent_platform.h"

namespace {

using namespace quorvane;

struct Document {
    PhysicalData data = makeStartData();
    RunSettings run = makeStartRunSettings(data);
    ResearchSettings research;
    std::vector<RandomArgument> arguments = makeDefaultRandomArguments();
    DataDocument doc{data, run, research, arguments};
};

/// What no file may break: unit indices name units, and a distribution's
/// masses are numbers.
void checkInvariants(const Document& d) {
    const PhysicalData& p = d.data;
    bool unitsValid =
        isValidUnit(UnitKind::Length, p.dimension) && isValidUnit(UnitKind::Weight, p.weight) &&
        isValidUnit(UnitKind::Energy, p.energy) &&
        isValidUnit(UnitKind::Temperature, p.temperature) && isValidUnit(UnitKind::Time, p.time) &&
        isValidUnit(UnitKind::Concentration, p.concentration) && p.system >= 0 && p.system <= 2;
    if (!unitsValid || p.accuracy < 1 || p.accuracy > 20) std::abort();
    if (!std::isfinite(p.Size_A) || !std::isfinite(p.Temperature)) std::abort();
    for (const RandomArgument& a : d.arguments) {
        if (a.bins.size() > static_cast<size_t>(kMaxBins)) std::abort();
        if (!std::isfinite(a.below) || !std::isfinite(a.min) || !std::isfinite(a.max)) std::abort();
        for (double bin : a.bins) {
            if (!std::isfinite(bin)) std::abort();
        }
    }
}

/// A fresh file in the temporary folder (TMPDIR; a RAM disk speeds fuzzing up).
std::string temporaryPath() {
    std::string path =
        (std::filesystem::temp_directory_path() / "quorvane-data-fuzz-XXXXXX").string();
    int fd = mkstemp(path.data());
    if (fd >= 0) close(fd);
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string path = temporaryPath();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));

    fuzzing::SilentPlatform platform;
    Document first;
    applyUpdate(first.data, first.run, requestFromData(first.data), platform);
    DataFileReadResult result = ReadDataFile(path, first.doc, platform);
    checkInvariants(first);
    if (result.loaded()) {
        WriteDataFile(path, first.doc, platform);
        Document second;
        ReadDataFile(path, second.doc, platform);
        checkInvariants(second);
    }
    unlink(path.c_str());
    return 0;
}
