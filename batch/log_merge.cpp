#include "batch/log_merge.h"

#include <sstream>

#include "common/file_io.h"
#include "common/text.h"
#include "experiments/regime_table.h"
#include "experiments/run_log.h"

namespace quorvane::batch {

std::string mergeRunLogs(const std::string& output, const std::vector<std::string>& inputs) {
    const std::string header = runLogHeader();
    std::string merged = header;
    for (const std::string& input : inputs) {
        auto text = readWholeFile(input);
        if (!text) return "cannot read the log " + input;
        if (text->empty()) continue;  // a shard that logged nothing
        if (text->compare(0, header.size(), header) != 0)
            return input + " is not a run log of this program (its two header lines differ)";
        std::string rows = text->substr(header.size());
        if (!rows.empty() && rows.back() != '\n') rows += '\n';
        merged += rows;
    }
    for (const std::string& input : inputs)
        if (input == output) return "the merged log must not be one of its inputs";
    if (!writeFileAtomically(output, merged)) return "cannot write the merged log " + output;
    return joinRegimeTables(output, inputs, true);
}

}  // namespace quorvane::batch
