// What one keystroke costs: the whole handler path through the simulated window, and the engine's
// share of it on its own.

#include "app/program_record.hpp"
#include "engine/estimate.hpp"
#include "engine/figure_text.hpp"
#include "platform/simulated/simulated_window.hpp"
#include "window/form1.hpp"

#include <array>
#include <string_view>

#include <benchmark/benchmark.h>

namespace {

using namespace brindle;

// A digit typed into the archive box: change event, ReadDays, the archive estimate, UpdTotal and
// both captions. Alternating two texts makes every iteration a real change.
void Keystroke(benchmark::State& state) {
    platform::SimulatedWindow window(app::BrindleWindowDesign());
    window::Form1 form(window);
    window.Attach(form);
    window.Load();
    constexpr std::array<std::string_view, 2> kTexts{"37", "38"};
    std::size_t next = 0;
    for (auto _ : state) {
        window.Replace("txtArchive", kTexts[next]);
        next ^= 1U;
    }
    benchmark::DoNotOptimize(window.CaptionOf("lblextrares"));
}
BENCHMARK(Keystroke);

void EngineAlone(benchmark::State& state) {
    constexpr std::array<std::string_view, 2> kTexts{"37", "38"};
    std::size_t next = 0;
    const engine::ByteFigure cd = engine::ComputeCDBytes(5.0).Checked();
    for (auto _ : state) {
        const engine::DayCount days = engine::ReadDays(kTexts[next]);
        next ^= 1U;
        const engine::ByteFigure archive =
            engine::ComputeArchiveBytes(engine::ArchiveQuality::Mono11k, days).Checked();
        const engine::ByteFigure total = engine::ComputeTotal(cd, archive).Checked();
        auto gigabytes = engine::GigabyteCaption(engine::ToGigabytes(total).Checked());
        auto megabytes = engine::MegabyteCaption(engine::ToMegabytes(total).Checked());
        benchmark::DoNotOptimize(gigabytes);
        benchmark::DoNotOptimize(megabytes);
    }
}
BENCHMARK(EngineAlone);

void ReadDaysOnly(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::ReadDays("  37.5 days"));
    }
}
BENCHMARK(ReadDaysOnly);

void FormatFigureOnly(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::FormatFigure(34974.633F));
    }
}
BENCHMARK(FormatFigureOnly);

} // namespace
