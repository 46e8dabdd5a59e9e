// What the editor's graphic displays cost: one gradient rendered (what a colour or band change
// costs once for all thirteen displays), and one display drawn with its cached gradient (what
// every repaint during a drag costs).

#include <benchmark/benchmark.h>

#include <QApplication>

#include "controls/GradientBands.h"
#include "controls/GradientCache.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzokeyf.h"

namespace {

// A fresh background colour each round, so every picture is rendered rather than found.
void BM_GradientRendered(benchmark::State& state) {
    controls::ColourNumber background = 0;
    for (auto _ : state) {
        background = (background + 1) & 0xFFFFFF;
        benchmark::DoNotOptimize(controls::GradientPicture(QSize(140, 100), 1.0, 0x404000,
                                                           background, 6, int(state.range(0))));
    }
}
BENCHMARK(BM_GradientRendered)->Arg(16)->Arg(64)->Arg(0);

void BM_GradientBands(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(controls::GradientBands(140, 100, 0x404000, 0, 6, 64));
}
BENCHMARK(BM_GradientBands);

template <typename Display>
void DrawnWithCachedGradient(benchmark::State& state) {
    Display d;
    d.resize(140, 100);
    d.setGradientEnabled(true);
    d.setGradientColor(QColor(0, 0x40, 0x40));
    for (auto _ : state) benchmark::DoNotOptimize(d.render(double(state.range(0))));
}
void BM_EnvelopeDrawn(benchmark::State& state) { DrawnWithCachedGradient<controls::Tzoadsr2>(state); }
void BM_KeyScaleDrawn(benchmark::State& state) { DrawnWithCachedGradient<controls::Tzokeyf>(state); }
BENCHMARK(BM_EnvelopeDrawn)->Arg(1)->Arg(2);
BENCHMARK(BM_KeyScaleDrawn)->Arg(1)->Arg(2);

}  // namespace
