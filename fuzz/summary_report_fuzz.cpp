// Fuzz target of the run-log reader behind the summary reports: any bytes as a
// run log, summarised into both files.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "experiments/summary_report.h"
#include "silent_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace quorvane;
    std::string folder =
        (std::filesystem::temp_directory_path() / "quorvane-summary-fuzz-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 0;
    const std::string log = folder + "/log.csv";
    std::ofstream(log, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    fuzzing::SilentPlatform platform;
    createSummaryReports(log, platform);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
