// The study report of a 1,000-row log: a 5 x 5 plan of full runs (two
// probabilities and the reduced row each, 333 full runs) and a general
// experiment of 1,000 draws, each written whole (pictures as PNG and SVG, their
// numbers, the page) against one chart drawn and saved as PNG in the same run.
// With chromium installed it also times how long the page of each takes to
// load in a browser (the load of its frame, pictures and all).

#include <unistd.h>
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "common/cformat.h"
#include "common/file_io.h"
#include "common/platform.h"
#include "experiments/run_log.h"
#include "reports/study_report.h"
#include "views/study_chart.h"

namespace quorvane::bench {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReference = "one chart as PNG";

class QuietPlatform : public Platform {
  public:
    void message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool askYesNo(const std::string&) override { return false; }
    bool askRetryCancel(const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileQuestion&) override { return std::nullopt; }
    void openInDefaultProgram(const std::string&) override {}
    bool messagePending() override { return false; }
    bool pendingMessageIsClose() override { return false; }
    void dispatchMessage() override {}
    std::int64_t nowSeconds() override { return 0; }
    std::tm localTimeNow() override { return {}; }
    void sleepMilliseconds(int) override {}
};

/// One row of the log with the named cells, every other one 0.
std::string row(const std::map<std::string, std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < kRunLogColumns.size(); ++i) {
        const auto found = cells.find(kRunLogColumns[i].name);
        line += (i == 0 ? "\"" : ",\"") + (found == cells.end() ? "0" : found->second) + "\"";
    }
    return line + "\n";
}

std::map<std::string, std::string> run(std::mt19937& random, double dG, double Sm, int event) {
    std::uniform_real_distribution<double> noise(0.9, 1.1);
    const double rate = std::exp(-0.02 * Sm * Sm / dG) * noise(random);
    return {{"Date", "01/02/24 10:00:00"},
            {"Event", cformat("%d", event)},
            {"a", "0.6"},
            {"b", "0.6"},
            {"c", "0.6"},
            {"Sedg", "0.25"},
            {"Svrt", "0.05"},
            {"dG", cformat("%g", dG)},
            {"Sm", cformat("%g", Sm)},
            {"Vc", "600"},
            {"Av.Rate as part cont.", cformat("%g", rate)},
            {"Time To Fill Layer", cformat("%g", 0.001 / rate)},
            {"Roughness", cformat("%g", 3 / Sm * noise(random))},
            {"Porosity", "n/a"},
            {"TypeOfGrowthMech", rate > 0.5   ? "1"
                                 : rate > 0.1 ? "2"
                                              : "0"}};
}

/// A 5 x 5 plan of sigma' and dG' run again and again: two probabilities and the
/// reduced row for every full run, 1,000 rows in all.
std::string planLog() {
    std::mt19937 random(7);
    std::string log = runLogHeader();
    for (int n = 0; n < 1000; ++n) {
        const int fullRun = n / 3 % 25;
        log += row(
            run(random, 0.25 + 0.5 * (fullRun % 5), 2 + 2 * (fullRun / 5), n % 3 == 2 ? 77 : 3));
    }
    return log;
}

/// A general experiment of 1,000 draws of the axes, edges, vertices, dG' and
/// sigma', each an optimised full run of one row.
std::string generalLog() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0, 1);
    std::string log = runLogHeader();
    for (int n = 0; n < 1000; ++n) {
        auto cells = run(random, 0.05 + 4 * unit(random), 1 + 9 * unit(random), 77);
        for (const char* axis : {"a", "b", "c"})
            cells[axis] = cformat("%g", 0.2 + 1.8 * unit(random));
        cells["Sedg"] = cformat("%g", 0.5 * unit(random));
        cells["Svrt"] = cformat("%g", 0.1 * unit(random));
        log += row(cells);
    }
    return log;
}

const fs::path& folder() {
    static const fs::path path = [] {
        fs::path p =
            fs::temp_directory_path() / cformat("quorvane-study-bench-%d", int(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return path;
}

void ChartAsPng(benchmark::State& state) {
    views::StudyChartInputs in{"Rate against σ′", "σ′", "rate", {}, 8};
    for (int line = 0; line < 5; ++line) {
        views::StudyChartLine l{QString("ΔG′ = %1").arg(line), {}};
        for (int k = 0; k < 5; ++k)
            l.points.push_back({2.0 + 2 * k, 0.1 * (5 - k) + 0.05 * line, 0.02, 0.1 * (5 - k)});
        in.lines.push_back(l);
    }
    for (auto _ : state) {
        QImage image(640, 400, QImage::Format_RGB32);
        QPainter painter(&image);
        views::paintStudyChart(painter, image.rect(), in);
        painter.end();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        benchmark::DoNotOptimize(buffer.size());
    }
}

void Report(benchmark::State& state, const std::string& name, std::string (*make)()) {
    const std::string log = (folder() / (name + ".csv")).string();
    writeFileAtomically(log, make());
    QuietPlatform platform;
    for (auto _ : state) {
        StudyReportRequest request{(folder() / (name + ".html")).string(), log, {}, {}, false, ""};
        if (!writeStudyReport(request, platform)) state.SkipWithError("not written");
    }
}

}  // namespace
}  // namespace quorvane::bench

namespace quorvane::bench {
namespace {

/// The fastest repetition of every case, printed as milliseconds and the ratio
/// to the reference.
class Table : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0 || run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            const double seconds = run.real_accumulated_time / double(run.iterations);
            const auto [at, added] = best_.try_emplace(name, seconds);
            if (!added) at->second = std::min(at->second, seconds);
            if (added) order_.push_back(name);
        }
    }
    void Print() const {
        const auto base = best_.find(kReference);
        for (const std::string& name : order_) {
            std::printf("%s: %.0f ms", name.c_str(), best_.at(name) * 1e3);
            if (base != best_.end() && name != kReference)
                std::printf(", %.0f x %s", best_.at(name) / base->second, kReference);
            std::printf("\n");
        }
    }

  private:
    std::map<std::string, double> best_;
    std::vector<std::string> order_;
};

/// Milliseconds from asking a browser's frame for the page to its load event,
/// every picture decoded; the fastest of three, or -1 without chromium.
double pageLoadMilliseconds(const std::string& page) {
    if (!isRegularFile("/usr/bin/chromium")) return -1;
    const fs::path check = folder() / "load.html";
    writeFileAtomically(check.string(),
                        "<html><body><iframe id='f' width='1400' height='900'></iframe><pre "
                        "id='out'></pre><script>\nvar f = document.getElementById('f');\n"
                        "var t0 = performance.now();\nf.onload = function() {\n"
                        "  document.getElementById('out').textContent = 'LOADMS=' +\n"
                        "    (performance.now() - t0).toFixed(1) + ';'; };\nf.src = '" +
                            page + "';\n</script></body></html>\n");
    double best = -1;
    for (int k = 0; k < 3; ++k) {
        const std::string out = (folder() / "load.txt").string();
        const std::string command =
            "/usr/bin/chromium --headless --no-sandbox --disable-gpu "
            "--allow-file-access-from-files --dump-dom 'file://" +
            check.string() + "' > '" + out + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0) return -1;
        const std::string dom = readWholeFile(out).value_or("");
        const std::size_t at = dom.find("LOADMS=");
        if (at == std::string::npos) continue;
        const double ms = std::atof(dom.c_str() + at + 7);
        if (best < 0 || ms < best) best = ms;
    }
    return best;
}

void Register() {
    benchmark::RegisterBenchmark(kReference, ChartAsPng)->Repetitions(5)->MinTime(0.2);
    benchmark::RegisterBenchmark("study report of a 1000-row plan log", Report, "plan", planLog)
        ->Iterations(1)
        ->Repetitions(5);
    benchmark::RegisterBenchmark("study report of a 1000-draw general experiment", Report,
                                 "general", generalLog)
        ->Iterations(1)
        ->Repetitions(5);
}

}  // namespace
}  // namespace quorvane::bench

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quorvane::bench::Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    quorvane::bench::Table table;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    table.Print();
    for (const char* name : {"plan", "general"}) {
        const auto page = quorvane::bench::folder() / (std::string(name) + ".html");
        if (!quorvane::isRegularFile(page.string())) continue;
        std::printf("page of the %s study loaded in a browser: %.0f ms\n", name,
                    quorvane::bench::pageLoadMilliseconds(page.string()));
    }
    // QUORVANE_STUDY_BENCH_KEEP=1 keeps the reports to look at.
    std::error_code ignored;
    if (std::getenv("QUORVANE_STUDY_BENCH_KEEP"))
        std::printf("the reports are in %s\n", quorvane::bench::folder().c_str());
    else
        std::filesystem::remove_all(quorvane::bench::folder(), ignored);
    return 0;
}
