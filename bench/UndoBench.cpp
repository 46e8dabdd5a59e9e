// The undo history on a full library (32 000 voices): what a library-wide step costs to
// record, to undo and to redo, and what 100 such steps hold in memory.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/FullLibrary.h"
#include "core/Libson.h"
#include "core/UndoHistory.h"

namespace core::bench {
namespace {

// A copy of the full library, watched by a history with nothing to undo yet.
struct WatchedLibrary {
    Libson library;
    UndoHistory history;
    WatchedLibrary() {
        std::vector<VoicePage*> pages;
        for (int page = 0; page < kLibraryPageCount; ++page) {
            library.Page(page) = FullLibrary().Page(page);
            pages.push_back(&library.Page(page));
        }
        history.WatchPages(pages);
        history.Reset();
    }
};

// Sorting by name and by marker in turn: every step moves (nearly) every slot.
void SortStep(Libson& library, int n) {
    if (n % 2 == 0)
        library.SortByName();
    else
        library.SortByMarker();
}

// 100 library-wide sorts, each recorded: the time of one record, and what the 100 steps hold.
void RecordHundredSorts(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        WatchedLibrary watched;
        state.ResumeTiming();
        for (int n = 0; n < 100; ++n) {
            state.PauseTiming();
            SortStep(watched.library, n);
            state.ResumeTiming();
            watched.history.Commit("Sort");
        }
        state.counters["MB_held_by_100_steps"] = double(watched.history.BytesHeld()) / (1 << 20);
        state.counters["steps"] = double(watched.history.UndoCount());
    }
}

// Undo and redo of one library-wide sort, in turn.
void UndoRedoSort(benchmark::State& state) {
    WatchedLibrary watched;
    watched.library.SortByName();
    watched.history.Commit("Sort by Name");
    bool undo = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(undo ? watched.history.Undo() : watched.history.Redo());
        undo = !undo;
    }
}

// Recording a command that changed nothing: what every click costs the history.
void CommitNothing(benchmark::State& state) {
    WatchedLibrary watched;
    for (auto _ : state) benchmark::DoNotOptimize(watched.history.Commit("Nothing"));
}

}  // namespace

BENCHMARK(RecordHundredSorts)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(UndoRedoSort)->Unit(benchmark::kMillisecond);
BENCHMARK(CommitNothing)->Unit(benchmark::kMicrosecond);

}  // namespace core::bench

BENCHMARK_MAIN();
