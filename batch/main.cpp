// The headless runner: Quorvane's runs and experiments from the command line.

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_app.h"
#include "batch/batch_options.h"
#include "batch/batch_reports.h"
#include "batch/console_platform.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");  // files never depend on the user's locale
#ifdef QUORVANE_BATCH_REPORTS
    quorvane::batch::setReportWriter(&quorvane::batch::writeReportsWithQt);
    quorvane::batch::setStudyReportWriter(&quorvane::batch::writeStudyReportWithQt);
#endif
    std::vector<std::string> arguments(argv + 1, argv + argc);
    auto parsed = quorvane::batch::parseBatchOptions(arguments);
    if (!parsed.ok) {
        std::fprintf(stderr, "quorvane-batch: %s\n", parsed.error.c_str());
        return quorvane::batch::kExitBadInput;
    }
    quorvane::batch::ConsolePlatform::installSignalHandlers();
    quorvane::batch::ConsolePlatform platform;
    return quorvane::batch::runBatch(parsed.options, platform);
}
