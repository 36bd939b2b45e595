// Fuzz target of the plan-file reader: any bytes as a plan file, opened as the
// Run panel opens one; a refused file must leave the plan exactly as it was.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "experiments/plan_file.h"
#include "silent_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace quorvane;
    std::string folder =
        (std::filesystem::temp_directory_path() / "quorvane-plan-fuzz-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 0;
    const std::string path = folder + "/plan.csv";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));

    fuzzing::SilentPlatform platform;
    ExperimentPlan plan;
    plan.setRows({{4, 300, 250, 5}, {0, 1, 2, 2}});
    const auto rowsBefore = plan.rows().size();
    PlanHost host;
    PlanFile file(plan, platform, host);
    if (!file.read(path) && plan.rows().size() != rowsBefore) std::abort();
    // Whatever was read must step and print without trouble.
    for (int i = 0; i < 50 && plan.advance(); ++i) {
    }
    for (int row = 0; row < static_cast<int>(plan.rows().size()); ++row) plan.cellTexts(row);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
