// The live run's cost: a 160 x 160 single run of the growing example, 20,000 steps,
// with the View panel visible in three dimensions, with the Results panel visible,
// and with no panel visible, in one process on the offscreen platform. The cases
// take turns round by round, so that a busy machine slows them alike; the summary
// gives each visible case's speed as a share of the speed with no panel, the frames
// drawn, how soon a Stop clicked during a run with the 3D view is answered, and what
// a Results frame costs after 1,000,000 recorded steps against one after 25,000.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "engine/growth_record.h"
#include "engine/taus88.h"
#include "experiments/session.h"
#include "ui/qt_platform.h"
#include "ui/results_panel.h"
#include "ui/view_panel.h"

namespace {

using namespace quorvane;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 160;
constexpr int kSteps = 20000;
constexpr int kRounds = 5;
const QSize kPanelSize(1500, 760);  // the panel area of the main window at its start size

enum class Shown { None, View3D, Results };
const char* name(Shown shown) {
    switch (shown) {
        case Shown::None:
            return "no panel";
        case Shown::View3D:
            return "View 3D";
        case Shown::Results:
            return "Results";
    }
    return "";
}

std::string examplePath() {
    return (std::filesystem::path(__FILE__).parent_path() / "../examples/growing.csv")
        .lexically_normal()
        .string();
}

/// One program's worth of state with both panels on tabs, as the main window has
/// them; the tab shown decides which panel the run draws.
struct LiveProgram {
    explicit LiveProgram(Shown shown) : session(state, platform) {
        state.random.SeedForStart();
        session.readDataFile(examplePath());
        state.run.N_field_W = kSide;
        state.run.N_field_H = kSide;
        state.run.N_in_per_step = state.run.Prob_in_at_step * kSide * kSide;
        state.run.Is_any_limits = 1;
        state.paths.logPath =
            (std::filesystem::temp_directory_path() / "quorvane-bench-log.csv").string();
        view = new ViewPanel(session);
        results = new ResultsPanel(session);
        tabs.addTab(new QWidget, " Run ");
        tabs.addTab(view, " View ");
        tabs.addTab(results, " Results ");
        tabs.resize(kPanelSize + QSize(0, 40));
        tabs.setCurrentWidget(shown == Shown::View3D    ? static_cast<QWidget*>(view)
                              : shown == Shown::Results ? static_cast<QWidget*>(results)
                                                        : tabs.widget(0));
        tabs.show();
        view->setVisible(shown == Shown::View3D);
        QCoreApplication::processEvents();
        // The 3D icon, clicked as a user does.
        if (shown == Shown::View3D) {
            QPointF at = view->iconRects()[1].center();
            QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &press);
        }
        connectLiveRun(session.loop.hooks, view, results);
    }
    void stopAt(int steps) {
        session.loop.hooks.stepDone = [this, steps](int step) {
            if (step >= steps) state.runState.runFlag = false;
        };
    }
    int frames() const { return view->framesDrawn() + results->framesDrawn(); }
    double drawSeconds() const {
        return (view->pacer().totalCostNs() + results->pacer().totalCostNs()) * 1e-9;
    }

    AppState state;
    QtPlatform platform;
    Session session;
    QTabWidget tabs;
    ViewPanel* view = nullptr;
    ResultsPanel* results = nullptr;
};

struct Measured {
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    std::vector<double> frames;
    std::vector<double> drawShare;  ///< frame time over run time, as the pacer saw it
};
std::map<Shown, Measured> measured;
std::vector<double> stopLatencyMs;

void LiveRun(benchmark::State& bench, Shown shown) {
    for (auto _ : bench) {
        LiveProgram program(shown);
        program.stopAt(kSteps);
        const int framesBefore = program.frames();
        const double drawBefore = program.drawSeconds();
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        program.session.loop.StartNewSingleSimulation();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        measured[shown].cpuSeconds.push_back(static_cast<double>(std::clock() - cpuStart) /
                                             CLOCKS_PER_SEC);
        bench.SetIterationTime(seconds);
        const int frames = program.frames() - framesBefore;
        measured[shown].seconds.push_back(seconds);
        measured[shown].frames.push_back(frames);
        measured[shown].drawShare.push_back((program.drawSeconds() - drawBefore) / seconds);
        bench.counters["steps/s"] = kSteps / seconds;
        bench.counters["frames/s"] = frames / seconds;
    }
}

/// A click on Stop posted from outside the loop, as the window system delivers it,
/// at a moment that falls anywhere within the drawing and stepping of the run.
void StopLatency(benchmark::State& bench, int delayMs) {
    for (auto _ : bench) {
        LiveProgram program(Shown::View3D);
        QPushButton stop("Stop");
        stop.show();
        QObject::connect(&stop, &QPushButton::clicked,
                         [&] { program.session.loop.PressPauseResume(); });
        Clock::time_point clicked, ended;
        std::thread user;
        program.session.loop.hooks.stepDone = [&](int step) {
            if (step != 1) return;
            user = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                clicked = Clock::now();
                const QPointF at = QRectF(stop.rect()).center();
                for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                    QCoreApplication::postEvent(
                        &stop, new QMouseEvent(
                                   type, at, stop.mapToGlobal(at), Qt::LeftButton,
                                   type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                   Qt::NoModifier));
            });
        };
        program.session.loop.hooks.runEnded =
            [&, earlier = program.session.loop.hooks.runEnded](int code) {
                ended = Clock::now();
                if (earlier) earlier(code);
            };
        program.session.loop.StartNewSingleSimulation();
        user.join();
        const double ms = std::chrono::duration<double, std::milli>(ended - clicked).count();
        bench.SetIterationTime(ms / 1000);
        stopLatencyMs.push_back(ms);
        bench.counters["stop ms"] = ms;
    }
}

/// One frame of a panel on a field grown for 3,000 steps: what the pacing weighs.
void FrameCost(benchmark::State& bench, Shown shown, views::PictureMode mode) {
    LiveProgram program(shown);
    program.stopAt(3000);
    program.session.loop.StartNewSingleSimulation();
    LivePanel* panel = shown == Shown::Results ? static_cast<LivePanel*>(program.results)
                                               : static_cast<LivePanel*>(program.view);
    if (shown == Shown::View3D) {
        QPointF at = program.view->iconRects()[static_cast<int>(mode)].center();
        QMouseEvent press(QEvent::MouseButtonPress, at, program.view->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(program.view, &press);
    }
    for (auto _ : bench) panel->redraw();
}

/// A record of `steps` entries as a long run leaves it: the face grows a layer
/// every 250 steps with a little jitter, its roughness wanders slowly about 1.2.
void fillRecord(GrowthRecord& record, std::size_t steps) {
    const RecordParameters parameters = record.parameters();
    record.Reset(GrowthRecord::kGrowthIncrement, parameters);
    Taus88 jitter;
    jitter.SeedForStart();
    const double dt = parameters.dt > 0 ? parameters.dt : 1e-3;
    double roughness = 1.2;
    for (std::size_t s = 0; s < steps; ++s) {
        const double noise = jitter.NextRandom() / 4294967296.0 - 0.5;
        roughness += 0.01 * noise - 0.001 * (roughness - 1.2);
        record.Append(dt, static_cast<double>(s) / 250 + 0.02 * noise, roughness, 0, false);
    }
}

struct FrameParts {
    double frameMs = 0;       ///< a whole Results frame
    double chartMs = 0;       ///< its growth chart alone
    double evaluationMs = 0;  ///< the run's evaluation the frame makes for its status block
};
std::map<std::size_t, FrameParts> resultsFrames;

double fastestMs(int times, const std::function<void()>& work) {
    double best = INFINITY;
    for (int k = 0; k < times; ++k) {
        const auto start = Clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

/// One Results frame over a record of `steps` entries, and the evaluation within
/// it: the fastest of the benchmark's iterations, kept for the summary.
void ResultsFrameAt(benchmark::State& bench, std::size_t steps) {
    LiveProgram program(Shown::Results);
    program.stopAt(100);
    program.session.loop.StartNewSingleSimulation();
    fillRecord(program.state.results.record, steps);
    program.results->redraw();  // the first frame also summarises the record once
    FrameParts& parts = resultsFrames[steps];
    // Frames of a run in progress: ten steps between two frames, as a fast run
    // gives them; the mean of all frames, since a frame that evaluates the run
    // costs more than one that does not.
    GrowthRecord& record = program.state.results.record;
    program.state.runState.runFlag = true;
    double totalMs = 0;
    int frames = 0;
    for (auto _ : bench) {
        for (int s = 0; s < 10; ++s)
            record.Append(record.parameters().dt, record.height(record.count() - 1),
                          record.roughness(record.count() - 1), 0, false);
        totalMs += fastestMs(1, [&] { program.results->redraw(); });
        ++frames;
    }
    program.state.runState.runFlag = false;
    parts.frameMs = totalMs / std::max(frames, 1);
    parts.evaluationMs = fastestMs(5, [&] { program.session.loop.EvaluateRun(); });
    QImage chart(program.results->width(),
                 program.results->height() - ResultsPanel::kStatusBandHeight, QImage::Format_RGB32);
    parts.chartMs = fastestMs(100, [&] {
        QPainter painter(&chart);
        views::paintGrowthChart(painter, chart.rect(), views::growthChartInputs(program.state));
    });
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void printSummary() {
    if (measured[Shown::None].seconds.empty()) return;
    const double base = kSteps / median(measured[Shown::None].seconds);
    const double cpuBase = kSteps / median(measured[Shown::None].cpuSeconds);
    std::printf("\nlive run %dx%d, %d steps, panel %dx%d, median of %d rounds:\n", kSide, kSide,
                kSteps, kPanelSize.width(), kPanelSize.height(), kRounds);
    for (Shown shown : {Shown::None, Shown::View3D, Shown::Results}) {
        const Measured& m = measured[shown];
        const double seconds = median(m.seconds);
        const double cpuSpeed = kSteps / median(m.cpuSeconds);
        std::printf(
            "  %-8s %6.0f steps/s  %.3f x no panel  (CPU time: %6.0f steps/s  %.3f x)  %5.1f "
            "frames/s  drawing %4.1f %%\n",
            name(shown), kSteps / seconds, kSteps / seconds / base, cpuSpeed, cpuSpeed / cpuBase,
            median(m.frames) / seconds, 100 * median(m.drawShare));
    }
}

void printFrameGrowthSummary() {
    const auto small = resultsFrames.find(25000), large = resultsFrames.find(1000000);
    if (small == resultsFrames.end() || large == resultsFrames.end()) return;
    const FrameParts& a = small->second;
    const FrameParts& b = large->second;
    std::printf("  Results frame: %.2f ms at 25,000 recorded steps, %.2f ms at 1,000,000: %.2f x\n",
                a.frameMs, b.frameMs, b.frameMs / a.frameMs);
    std::printf("    its growth chart: %.2f ms and %.2f ms: %.2f x\n", a.chartMs, b.chartMs,
                b.chartMs / a.chartMs);
    std::printf("    the run's evaluation for its status block: %.2f ms and %.2f ms\n",
                a.evaluationMs, b.evaluationMs);
}

void printStopSummary() {
    if (!stopLatencyMs.empty())
        std::printf("  Stop with View 3D: median %.1f ms, longest %.1f ms of %zu clicks\n",
                    median(stopLatencyMs),
                    *std::max_element(stopLatencyMs.begin(), stopLatencyMs.end()),
                    stopLatencyMs.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int round = 0; round < kRounds; ++round) {
        for (Shown shown : {Shown::None, Shown::View3D, Shown::Results}) {
            const std::string label =
                std::string("LiveRun/") + name(shown) + "/round" + std::to_string(round);
            benchmark::RegisterBenchmark(label.c_str(), LiveRun, shown)
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("FrameCost/View map", FrameCost, Shown::View3D,
                                 views::PictureMode::Map)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FrameCost/View 3D", FrameCost, Shown::View3D,
                                 views::PictureMode::ThreeD)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FrameCost/View stereo", FrameCost, Shown::View3D,
                                 views::PictureMode::Stereo)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FrameCost/Results", FrameCost, Shown::Results,
                                 views::PictureMode::Map)
        ->Unit(benchmark::kMillisecond);
    for (const std::size_t steps : {std::size_t{25000}, std::size_t{1000000}})
        benchmark::RegisterBenchmark(("ResultsFrame/" + std::to_string(steps) + " steps").c_str(),
                                     ResultsFrameAt, steps)
            ->Unit(benchmark::kMillisecond);
    for (int delay : {150, 230, 310, 390, 470, 550, 630, 710})
        benchmark::RegisterBenchmark(("StopLatency/after" + std::to_string(delay) + "ms").c_str(),
                                     StopLatency, delay)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    printFrameGrowthSummary();
    printStopSummary();
    return 0;
}
