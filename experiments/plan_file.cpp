#include "experiments/plan_file.h"

#include <filesystem>
#include <sstream>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/text.h"

namespace quorvane {
namespace {

constexpr const char* kWrongExtension = "Wrong file extention, must be csv";
constexpr const char* kCannotRead = "Error to open file for reading";
constexpr const char* kCannotWrite = "Error to open file for writing";
constexpr const char* kNotAPlan = "It is not valid file for experiment setting\nTry other one.";
constexpr const char* kCorrupted = "Wrong or corrupted file";

/// A results path that is only the suffix was saved from a plan path without
/// a name: it would point every run of the plan into a nameless log.
constexpr const char* kNamelessResults = "_Quorvane_res.csv";

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

/// A data path worth loading: a name before its ".csv".
bool isDataPath(const std::string& line) {
    return !line.empty() && line.find(".csv", 1) != std::string::npos;
}

/// A data file named without a folder is looked for beside the plan first: a
/// plan and its data travel together, wherever the program was started.
std::string dataPathBeside(const std::string& planPath, const std::string& dataLine) {
    if (dataLine.find('/') != std::string::npos) return dataLine;
    const std::string folder = std::filesystem::path(planPath).parent_path().string();
    if (folder.empty()) return dataLine;
    const std::string beside = joinPath(folder, dataLine);
    return isRegularFile(beside) ? beside : dataLine;
}

}  // namespace

std::string formatPlanFile(const ExperimentPlan& plan, const PlanPaths& paths, bool finished) {
    std::string text = cformat("%s%s\n", kPlanFileMagic, finished ? kShareFinishedMark : "");
    text += cformat("%s\n", paths.data.c_str());
    text += cformat("%s\n", paths.results.c_str());
    for (const auto& row : plan.rows()) {
        text += cformat("%d, %g, %g, %g, %d\n", row.kind, row.from, row.till,
                        plan.currentValueOfKind(row.kind), row.steps);
    }
    return text;
}

bool PlanFile::open() {
    FileQuestion question;
    question.title = "Open experiment plan";
    question.filter = "*.csv";
    auto chosen = platform_.chooseFile(question);
    if (!chosen) return false;
    return read(*chosen);
}

bool PlanFile::read(const std::string& path) {
    if (!hasCsvName(path)) {
        platform_.message(kWrongExtension);
        return false;
    }
    auto content = readWholeFile(path);
    if (!content) {
        platform_.message(kCannotRead);
        return false;
    }
    std::istringstream in(*content);
    std::string line;
    if (!readLine(in, line) || !startsWith(line, kPlanFileMagic)) {
        platform_.message(kNotAPlan);
        return false;
    }
    const std::string firstLine = line;
    std::string dataLine;
    readLine(in, dataLine);
    // The plan's data are loaded as soon as they are named, before the rest of
    // the file is checked.
    if (isDataPath(dataLine) && host_.loadDataFile)
        host_.loadDataFile(dataPathBeside(path, dataLine));

    std::string resultsLine;
    if (!readLine(in, resultsLine) || resultsLine.empty() ||
        startsWith(resultsLine, kNamelessResults)) {
        platform_.message(kCorrupted);
        return false;
    }
    std::vector<task> rows;
    std::vector<double> currents;
    if (!readRows(in, rows, currents)) {
        platform_.message(kCorrupted);
        return false;
    }

    // The whole file is good: only now does anything of the plan change.
    finished = firstLine == std::string(kPlanFileMagic) + kShareFinishedMark;
    plan_.setRows(rows);
    restoreCurrents(rows, currents);
    paths.plan = path;
    if (isDataPath(dataLine)) paths.data = dataLine;
    paths.results = resultsLine;
    if (host_.setLogPath) host_.setLogPath(resultsLine);
    if (host_.switchOffTestMode) host_.switchOffTestMode();
    return true;
}

bool PlanFile::readRows(std::istream& in, std::vector<task>& rows, std::vector<double>& currents) {
    std::string line;
    while (readLine(in, line)) {
        if (line.size() <= 3) continue;
        auto fields = splitFields(line, " ,\n");
        if (fields.size() < 5) return false;
        task row;
        row.kind = cAtoi(fields[0]);
        // A kind the program does not know cannot be shown or applied.
        if (!isPlanKind(row.kind)) return false;
        row.from = rangeEndFromText(fields[1]);
        row.till = rangeEndFromText(fields[2]);
        currents.push_back(rangeEndFromText(fields[3]));
        row.steps = cAtoi(fields[4]);
        rows.push_back(row);
    }
    return true;
}

void PlanFile::restoreCurrents(const std::vector<task>& rows, const std::vector<double>& currents) {
    if (currents.size() != rows.size()) return;
    // Every row of a kind carries the same current value; the first one counts.
    // It was saved with six significant digits, so 1/3 comes back as 0.333333,
    // just below its grid value, and the next step would visit that value
    // again: it is put back on the nearest value of its kind.
    constexpr double kSavedDigits = 1e-5;
    for (const auto& p : plan_.parameters()) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].kind != p.kind) continue;
            plan_.setCurrent(p.kind, plan_.snapToValue(p.kind, currents[i], kSavedDigits));
            break;
        }
    }
}

bool PlanFile::save() {
    if (!hasCsvName(paths.plan)) {
        platform_.message(kWrongExtension);
        return false;
    }
    std::string prefix = csvStem(paths.plan);
    paths.results = prefix + "_Quorvane_res.csv";
    paths.data = prefix + "_Quorvane_data.csv";
    if (host_.setLogPath) host_.setLogPath(paths.results);
    if (host_.writeDataFile) host_.writeDataFile(paths.data);
    return write();
}

bool PlanFile::saveAs() {
    FileQuestion question;
    question.title = "Save experimental plan";
    question.filter = "*.csv";
    question.forSaving = true;
    auto chosen = platform_.chooseFile(question);
    if (!chosen) return false;
    // A refused name changes nothing, not even the plan path: the runner
    // rewrites the plan path before every run.
    if (!hasCsvName(*chosen)) {
        platform_.message(kWrongExtension);
        return false;
    }
    // Writing the data file makes it the Data panel's file; the panel keeps its own.
    bool keepDataPath = host_.currentDataPath && host_.setCurrentDataPath;
    std::string previousDataPath = keepDataPath ? host_.currentDataPath() : std::string();
    paths.plan = *chosen;
    bool saved = save();
    if (host_.writeDataFile) host_.writeDataFile(paths.data);
    if (keepDataPath) host_.setCurrentDataPath(previousDataPath);
    return saved;
}

bool PlanFile::write() {
    if (!writeFileAtomically(paths.plan, formatPlanFile(plan_, paths, finished))) {
        platform_.message(kCannotWrite);
        return false;
    }
    return true;
}

bool PlanFile::prepare(PendingFile& file, const ExperimentPlan& plan, bool finishedShare) {
    if (!file.write(paths.plan, formatPlanFile(plan, paths, finishedShare))) {
        platform_.message(kCannotWrite);
        return false;
    }
    return true;
}

bool PlanFile::commit(PendingFile& file) {
    if (!file.commit()) {
        platform_.message(kCannotWrite);
        return false;
    }
    return true;
}

}  // namespace quorvane
