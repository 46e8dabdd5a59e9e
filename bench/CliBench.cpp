// mondral-cli's heavy work: the near-duplicate search over a full library (32 000 voices made
// of the 768 real voices, each with up to three parameters moved by 1-3 steps), against every
// pair compared on 2 000 of them (the same groups are checked before timing); and repair and
// import of 1 000 bank files (real banks, every fourth damaged: bad checksum, no F7, high bits,
// an output level out of range, bytes between). At the end the ratios are printed.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "bench/TimesReporter.h"
#include "cli/Commands.h"
#include "cli/SimilarVoices.h"
#include "core/Libson.h"
#include "platform/MessageBoxes.h"
#include "tests/cli/AllPairsSimilar.h"
#include "tests/cli/BankBytes.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLibraryVoices = 32000;
constexpr std::size_t kPairVoices = 2000;
constexpr std::size_t kFiles = 1000;

const std::vector<ParameterVector>& LibraryVoices() {
    static const std::vector<ParameterVector> voices = [] {
        const std::vector<ParameterVector> real = test::RealVoiceParameters();
        if (real.empty()) {
            std::fprintf(stderr, "no bank files in %s/banks\n", MONDRAL_SHARED_DIR);
            std::exit(1);
        }
        return test::Variants(real, kLibraryVoices, 3, 816);
    }();
    return voices;
}

std::span<const ParameterVector> PairVoices() {
    static const bool checked = [] {
        const std::span<const ParameterVector> voices(LibraryVoices().data(), kPairVoices);
        if (FindSimilarGroups(voices, kDefaultThreshold) != test::AllPairsGroups(voices, kDefaultThreshold)) {
            std::fprintf(stderr, "the fast search and every pair disagree\n");
            std::exit(1);
        }
        return true;
    }();
    (void)checked;
    return {LibraryVoices().data(), kPairVoices};
}

void SimilarFullLibrary(benchmark::State& state) {
    std::size_t groups = 0;
    for (auto _ : state) {
        const std::vector<RankedGroup> ranked =
            RankGroups(LibraryVoices(), FindSimilarGroups(LibraryVoices(), kDefaultThreshold));
        groups = ranked.size();
        benchmark::DoNotOptimize(ranked.data());
    }
    state.counters["groups"] = double(groups);
}

void SimilarFast2000(benchmark::State& state) {
    const std::span<const ParameterVector> voices = PairVoices();
    for (auto _ : state) benchmark::DoNotOptimize(FindSimilarGroups(voices, kDefaultThreshold).data());
}

void SimilarAllPairs2000(benchmark::State& state) {
    const std::span<const ParameterVector> voices = PairVoices();
    for (auto _ : state) benchmark::DoNotOptimize(test::AllPairsGroups(voices, kDefaultThreshold).data());
}

fs::path BenchDirectory() {
    static const fs::path directory = [] {
        const fs::path d = fs::temp_directory_path() / "mondral-cli-bench";
        fs::remove_all(d);
        fs::create_directories(d / "in");
        // Real banks, every fourth damaged in one of four ways.
        for (std::size_t f = 0; f < kFiles; ++f) {
            test::Bytes bytes = test::RealDump(f % 24);
            switch (f % 16) {
            case 3: bytes[4102] ^= 1; break;
            case 7: bytes.pop_back(); break;
            case 11: bytes[6 + 128 * (f % 32)] |= 0x80; break;
            case 15: bytes[6 + 14] = 120; bytes.insert(bytes.begin(), {0x00, 0x11}); break;
            default: break;
            }
            char name[32];
            std::snprintf(name, sizeof name, "bank%04zu.syx", f);
            testing_support::WriteBytes(d / "in" / name, bytes);
        }
        return d;
    }();
    return directory;
}

int RunQuietly(std::vector<std::string> args) {
    std::ostringstream out, err;
    return RunCli(args, {out, err, false});
}

void RepairThousandFiles(benchmark::State& state) {
    const fs::path dir = BenchDirectory();
    std::vector<std::string> args{"repair"};
    for (std::size_t f = 0; f < kFiles; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "bank%04zu.syx", f);
        args.push_back((dir / "in" / name).string());
    }
    args.insert(args.end(), {"-o", ""});
    // A fresh folder each time, as in use: refilling an emptied one makes the file system
    // search its recently freed entries, which is not what a user waits for.
    int round = 0;
    for (auto _ : state) {
        args.back() = (dir / ("out" + std::to_string(round++))).string();
        if (RunQuietly(args) != kExitOk) state.SkipWithError("repair failed");
    }
    for (int r = 0; r < round; ++r) fs::remove_all(dir / ("out" + std::to_string(r)));
}

void ImportThousandFiles(benchmark::State& state) {
    const fs::path dir = BenchDirectory();
    const fs::path library = dir / "LIB.DXL";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(library);
        state.ResumeTiming();
        if (RunQuietly({"import", (dir / "in").string(), "--library", library.string()}) != kExitOk)
            state.SkipWithError("import failed");
    }
}

// The whole command on a saved full library: load, search, report.
void SimilarCommand(benchmark::State& state) {
    const fs::path library = BenchDirectory() / "SIMILAR.DXL";
    {
        platform::RecordingBoxes boxes;
        core::Libson full;
        for (std::size_t v = 0; v < kLibraryVoices; ++v) {
            core::UnpackedVoice unpacked{};
            std::copy(LibraryVoices()[v].begin(), LibraryVoices()[v].end(), unpacked.begin());
            std::fill(unpacked.begin() + kParameterCount, unpacked.end(), Byte('A'));
            core::VoiceSlot& slot = full.Page(int(v / 32))[v % 32];
            core::PackVoice(unpacked, slot.voice);
            slot.status = core::kStatusUsed;
        }
        full.SaveLibraryFile(library);
    }
    for (auto _ : state)
        if (RunQuietly({"similar", library.string()}) != kExitOk) state.SkipWithError("similar failed");
}

BENCHMARK(SimilarFullLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(SimilarFast2000)->Unit(benchmark::kMillisecond);
BENCHMARK(SimilarAllPairs2000)->Unit(benchmark::kMillisecond);
BENCHMARK(SimilarCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(RepairThousandFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportThousandFiles)->Unit(benchmark::kMillisecond);

void PrintRatios(const bench::TimesReporter& times) {
    const std::optional<double> fast = times.Seconds("SimilarFast2000");
    const std::optional<double> pairs = times.Seconds("SimilarAllPairs2000");
    const std::optional<double> full = times.Seconds("SimilarFullLibrary");
    if (!pairs) return;
    if (fast)
        std::printf("\nSimilar on %zu voices: every pair %.1f ms, fast %.3f ms, ratio %.0f\n", kPairVoices,
                    *pairs * 1e3, *fast * 1e3, *pairs / *fast);
    if (full) {
        const double scale = double(kLibraryVoices) * (kLibraryVoices - 1) / (double(kPairVoices) * (kPairVoices - 1));
        std::printf("Similar on %zu voices: fast %.1f ms; every pair x %.0f (pairs) = %.1f s, ratio %.0f\n",
                    kLibraryVoices, *full * 1e3, scale, *pairs * scale, *pairs * scale / *full);
    }
}

}  // namespace
}  // namespace cli

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    cli::PrintRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
