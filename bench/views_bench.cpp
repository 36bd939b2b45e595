// The pictures' speed: the three-dimensional picture and the map of a 310 x 310
// field, and the growth chart of 25,000 samples and of a long run after 25,000 and
// 1,000,000 steps, each against the copy of one 900 x 600 frame measured in the same
// run (what showing any picture costs).

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/growth_engine.h"
#include "engine/growth_record.h"
#include "views/growth_chart.h"
#include "views/surface_pictures.h"

namespace quorvane::bench {

namespace {

constexpr int kRepetitions = 7;
constexpr double kMinSecondsPerRepetition = 0.2;

// Keeps the fastest repetition of every case (a busy machine only slows a run
// down) with its counters, and prints one line per case: milliseconds a frame
// and the ratio to the frame copy.
class FrameTable : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const std::string name = run.run_name.function_name;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            auto [at, added] = best_.try_emplace(name, Best{seconds, run.counters});
            if (!added && seconds < at->second.seconds) at->second = Best{seconds, run.counters};
            if (added) order_.push_back(name);
        }
    }
    void Print(const std::string& reference) const {
        const auto base = best_.find(reference);
        for (const std::string& name : order_) {
            const Best& b = best_.at(name);
            std::printf("%s: %.2f ms", name.c_str(), b.seconds * 1e3);
            if (base != best_.end() && name != reference)
                std::printf(", %.1f x %s", b.seconds / base->second.seconds, reference.c_str());
            for (const auto& [counter, value] : b.counters)
                std::printf(", %s %.0f", counter.c_str(), static_cast<double>(value));
            std::printf("\n");
        }
    }

  private:
    struct Best {
        double seconds;
        benchmark::UserCounters counters;
    };
    std::map<std::string, Best> best_;
    std::vector<std::string> order_;
};

constexpr int kSide = 310;
const QSize kFrame(900, 600);

// The bordered grid of a field, its border copied from the opposite edges.
struct BenchField {
    std::vector<std::int32_t> heights;
    views::FieldExtent extent{kSide, kSide, 6, 6, 6};
    BenchField() : heights(static_cast<std::size_t>((kSide + 2) * (kSide + 2)), 0) {}
    std::int32_t& at(int i, int j) {
        return heights[static_cast<std::size_t>(i * (kSide + 2) + j)];
    }
};

// Twenty layers of terraced relief: wide hills whose steps are one layer high.
BenchField terraced() {
    BenchField field;
    for (int i = 1; i <= kSide; ++i)
        for (int j = 1; j <= kSide; ++j)
            field.at(i, j) = static_cast<std::int32_t>(
                std::lround(10 + 5 * std::sin(i / 23.0) + 4.9 * std::cos(j / 31.0 + i / 97.0)));
    return field;
}

// A surface grown by the engine itself: rough at the scale of single molecules.
BenchField grown() {
    BenchField field;
    Taus88 random;
    random.SeedForStart();
    GrowthEngine engine(random);
    if (engine.InitRun(1, 3, static_cast<std::uint32_t>(0.01 * 4294967295.0), 6, 6, 6, kSide, kSide,
                       0.25, 0.05) != InitStatus::Ok)
        return field;
    for (int s = 0; s < 2000; ++s) engine.StepPlain();
    const auto all = engine.heights();
    field.heights.assign(all.begin(), all.end());
    return field;
}

void FrameCopy(benchmark::State& state) {
    QImage source(kFrame, QImage::Format_RGB32);
    source.fill(Qt::white);
    QImage target(kFrame, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(0, 0, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void Surface(benchmark::State& state, const char* label, BenchField (*make)(),
             views::PictureMode mode) {
    const BenchField field = make();
    views::SurfaceCamera camera;
    views::takeFieldSize(camera, field.extent, kFrame);
    const views::SurfaceInputs inputs{field.heights, field.extent, 10, &camera};
    views::SurfacePainter surface;
    QImage image(kFrame, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        surface.paint(painter, image.rect(), inputs, mode);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    // QUORVANE_BENCH_PICTURES=folder keeps the last frame of every case, to compare
    // the pictures of two builds pixel by pixel.
    if (const char* folder = std::getenv("QUORVANE_BENCH_PICTURES")) {
        std::string name = std::string(folder) + "/" + label + ".png";
        for (char& c : name)
            if (c == ' ') c = '_';
        image.save(QString::fromStdString(name));
    }
    state.counters["walls"] = surface.stats().walls;
    state.counters["tops"] = surface.stats().topPolygons;
    state.counters["layers"] = surface.stats().layers;
}

BenchField flat() {
    return BenchField();
}

// Waves a few hundred samples long on every curve: resolved at 25,000 samples.
void wavyRecord(GrowthRecord& record, const RecordParameters& parameters, int samples) {
    for (int s = 0; s < samples; ++s)
        record.Append(parameters.dt, s / 300.0 + 0.3 * std::sin(s / 40.0),
                      1 + 0.2 * std::cos(s / 400.0), 0.01 + 0.005 * std::sin(s / 90.0), true);
}

// A record as a long run leaves it: the face grows steadily with a little jitter,
// its roughness and porosity wander slowly.
void longRunRecord(GrowthRecord& record, const RecordParameters& parameters, int samples) {
    Taus88 jitter;
    jitter.SeedForStart();
    double roughness = 1.2, porosity = 0.01;
    for (int s = 0; s < samples; ++s) {
        const double noise = jitter.NextRandom() / 4294967296.0 - 0.5;
        roughness += 0.01 * noise - 0.001 * (roughness - 1.2);
        porosity += 0.0001 * noise - 0.001 * (porosity - 0.01);
        record.Append(parameters.dt, s / 250.0 + 0.02 * noise, roughness, porosity, true);
    }
}

void GrowthChart(benchmark::State& state, int samples,
                 void (*fill)(GrowthRecord&, const RecordParameters&, int)) {
    GrowthRecord record;
    const RecordParameters parameters = RecordParameters::make(0.01, 1, 100, 100, 50, 6);
    record.Reset(GrowthRecord::kGrowthIncrement, parameters);
    fill(record, parameters, samples);
    const views::GrowthChartInputs inputs{.record = &record,
                                          .sizeA = 6,
                                          .lengthUnit = std::string("A"),
                                          .timeUnit = std::string("s"),
                                          .concentrationUnit = std::string("parts"),
                                          .porous = true,
                                          .style = views::GrowthChartStyle{}};
    QImage image(kFrame, QImage::Format_RGB32);
    // The first frame summarises the record once; a live run's frames each add only
    // the steps since the last.
    record.envelope();
    for (auto _ : state) {
        QPainter painter(&image);
        const views::GrowthChartLayout layout =
            views::paintGrowthChart(painter, image.rect(), inputs);
        painter.end();
        benchmark::DoNotOptimize(layout.columns);
    }
}

benchmark::internal::Benchmark* Repeat(benchmark::internal::Benchmark* case_) {
    return case_->Repetitions(kRepetitions)
        ->MinTime(kMinSecondsPerRepetition)
        ->Unit(benchmark::kMillisecond);
}

const char* const kReference = "frame copy 900x600";

void Register() {
    Repeat(benchmark::RegisterBenchmark(kReference, FrameCopy));
    struct Case {
        const char* label;
        BenchField (*make)();
        views::PictureMode mode;
    };
    const Case cases[] = {
        {"3D 310x310 terraced 20 layers", terraced, views::PictureMode::ThreeD},
        {"3D 310x310 grown rough", grown, views::PictureMode::ThreeD},
        {"3D 310x310 flat", flat, views::PictureMode::ThreeD},
        {"stereo 310x310 terraced 20 layers", terraced, views::PictureMode::Stereo},
        {"map 310x310 terraced 20 layers", terraced, views::PictureMode::Map},
    };
    for (const Case& c : cases)
        Repeat(benchmark::RegisterBenchmark(c.label, Surface, c.label, c.make, c.mode));
    Repeat(
        benchmark::RegisterBenchmark("growth chart 25000 samples", GrowthChart, 25000, wavyRecord));
    // A frame after a million steps of a run costs about what one after 25,000 does:
    // each pixel column draws the extremes the record keeps for it.
    Repeat(benchmark::RegisterBenchmark("growth chart long run 25000 steps", GrowthChart, 25000,
                                        longRunRecord));
    Repeat(benchmark::RegisterBenchmark("growth chart long run 1000000 steps", GrowthChart, 1000000,
                                        longRunRecord));
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
    quorvane::bench::FrameTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    table.Print(quorvane::bench::kReference);
    return 0;
}
