// The FM engine's cost: 8 modules x 16 notes (the whole rack sounding) and one note, each a
// second of audio at 48 kHz with voices of a shared bank. `real_time_share` is the part of
// one core the rendering takes (processor time per second of audio) (aims: at most 0.40 for the rack, 0.005 for one note).

#include <benchmark/benchmark.h>

#include <array>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/VoiceFormats.h"
#include "synth/ModuleEngine.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kPeriod = 256;

core::EditImage SharedVoice(int slot) {
    std::ifstream file(std::string(MONDRAL_SHARED_DIR) + "/banks/SynprezFM_01.syx", std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    core::EditImage image{};
    core::InitEditImage(image);
    if (bytes.size() == 4104)
        core::UnpackVoice(std::span<const core::Byte, 128>(reinterpret_cast<const core::Byte*>(bytes.data()) + 6 + 128 * slot, 128),
                          std::span<core::Byte, 155>(image.data(), 155));
    return image;
}

// Processor time of this thread: the machine's other work does not count.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

void RenderSecond(benchmark::State& state, int modules, int notes) {
    std::vector<synth::ModuleEngine> engines(static_cast<std::size_t>(modules), synth::ModuleEngine(kRate));
    for (int m = 0; m < modules; ++m) {
        const auto image = SharedVoice(m * 3);
        engines[std::size_t(m)].SetImage(synth::Image(image.data(), synth::kImageBytes));
        // Held for the whole run: the sustain pedal down.
        const std::uint8_t pedal[3] = {0xB0, 64, 127};
        engines[std::size_t(m)].Midi(pedal, 3);
        for (int n = 0; n < notes; ++n) {
            const std::uint8_t on[3] = {0x90, std::uint8_t(36 + n * 3), 100};
            engines[std::size_t(m)].Midi(on, 3);
        }
    }
    std::array<float, kPeriod> out{};
    double seconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        for (int done = 0; done < int(kRate); done += kPeriod)
            for (auto& engine : engines) engine.Render(out.data(), kPeriod);
        benchmark::DoNotOptimize(out);
        seconds += ThreadSeconds() - start;
    }
    int sounding = 0;
    for (const auto& engine : engines) sounding += engine.SoundingNotes();
    state.counters["real_time_share"] = seconds / double(state.iterations());
    state.counters["notes_sounding"] = sounding;
}

void BM_RackOf128Notes(benchmark::State& state) { RenderSecond(state, 8, 16); }
void BM_OneNote(benchmark::State& state) { RenderSecond(state, 1, 1); }

BENCHMARK(BM_RackOf128Notes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneNote)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
