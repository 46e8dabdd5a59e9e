// Library-wide operations on a full library (bench/FullLibrary.h). The pairwise doubles search
// runs on the first pages only; its time for the whole library is scaled by the number of slot
// pairs it compares. At the end the ratio pairwise / fast is printed.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <vector>

#include "bench/TimesReporter.h"
#include "FullLibrary.h"
#include "core/Bankson.h"
#include "core/Libson.h"
#include "tests/core/LibraryTestData.h"
#include "tests/core/LiteralLibraryAlgorithms.h"
#include "tests/core/RealBankFiles.h"

namespace core {
namespace {

namespace fs = std::filesystem;
using bench::FullLibrary;

constexpr int kPairwisePages = 100;
constexpr DoublesOptions kBothSelected{true, true, false};

fs::path BenchDirectory() {
    static const fs::path directory = [] {
        fs::path d = fs::temp_directory_path() / "mondral-bench";
        fs::create_directories(d);
        return d;
    }();
    return directory;
}

void FindDoublesFast(benchmark::State& state) {
    Libson library;
    testdata::CopyPages(FullLibrary(), library);
    for (auto _ : state) {
        library.FindDoubles(kBothSelected);
        benchmark::ClobberMemory();
    }
    state.counters["selected"] = library.CountSelection().selected;
}

// The pairwise search over the first kPairwisePages pages of the same library.
void FindDoublesPairwise(benchmark::State& state) {
    Libson library;
    testdata::CopyPages(FullLibrary(), library);
    std::vector<VoicePage*> pages;
    for (int p = 0; p < kPairwisePages; ++p) pages.push_back(&library.Page(p));
    for (auto _ : state) {
        literal::FindDoubles(pages, kBothSelected);
        benchmark::ClobberMemory();
    }
}

double PairwiseScale() {
    const double n = kPairwisePages * 32.0, full = kLibrarySlotCount;
    return (full * (full - 1)) / (n * (n - 1));
}

template <void (Libson::*Sort)()>
void SortLibrary(benchmark::State& state) {
    Libson library;
    for (auto _ : state) {
        state.PauseTiming();
        testdata::CopyPages(FullLibrary(), library);
        state.ResumeTiming();
        (library.*Sort)();
        benchmark::ClobberMemory();
    }
}

void SaveLibrary(benchmark::State& state) {
    Libson library;
    testdata::CopyPages(FullLibrary(), library);
    // From the second save on, the previous file is kept as the backup, as in use.
    for (auto _ : state)
        if (!library.SaveLibraryFile(BenchDirectory() / "SAVE.DXL"))
            state.SkipWithError("save failed");
}

void LoadLibrary(benchmark::State& state) {
    Libson library;
    testdata::CopyPages(FullLibrary(), library);
    const fs::path path = BenchDirectory() / "LOAD.DXL";
    library.SaveLibraryFile(path);
    for (auto _ : state)
        if (!library.LoadLibraryFile(path)) state.SkipWithError("load failed");
}

void LoadBank(benchmark::State& state) {
    const std::vector<fs::path> banks = test::RealBankFiles();
    if (banks.empty()) {
        state.SkipWithError("no bank files");
        return;
    }
    const fs::path path = banks.front();
    Bankson bank;
    for (auto _ : state)
        if (!bank.LoadBankFile(path, false)) state.SkipWithError("load failed");
}

BENCHMARK(FindDoublesFast)->Unit(benchmark::kMillisecond);
BENCHMARK(FindDoublesPairwise)->Unit(benchmark::kMillisecond);
BENCHMARK(SortLibrary<&Libson::SortByName>)->Name("SortByName")->Unit(benchmark::kMillisecond);
BENCHMARK(SortLibrary<&Libson::SortByMarker>)->Name("SortByMarker")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadBank)->Unit(benchmark::kMicrosecond);

// The pairwise search's time scaled to the full library, against the fast search.
void PrintRatio(const ::bench::TimesReporter& times) {
    const std::optional<double> fast = times.Seconds("FindDoublesFast");
    const std::optional<double> pairwise = times.Seconds("FindDoublesPairwise");
    if (!fast || !pairwise) return;
    const double full = *pairwise * PairwiseScale();
    std::printf(
        "\nPairwise doubles search: %.3f ms on %d pages, x %.1f (slot pairs) = %.0f ms "
        "for the full library\n",
        *pairwise * 1e3, kPairwisePages, PairwiseScale(), full * 1e3);
    std::printf("Fast doubles search: %.3f ms\n", *fast * 1e3);
    std::printf("Ratio pairwise / fast: %.0f\n", full / *fast);
}

}  // namespace
}  // namespace core

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    core::PrintRatio(reporter);
    benchmark::Shutdown();
    return 0;
}
