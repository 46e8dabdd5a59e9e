// What the MIDI thread spends per received message, and the window thread per taken event,
// with the configuration window's queue and buffer settings.

#include <benchmark/benchmark.h>

#include <vector>

#include "midi/InputReceiver.h"

namespace {

std::vector<std::uint8_t> BankDump() {
    std::vector<std::uint8_t> dump(4104, 0x11);
    dump.front() = 0xF0;
    dump.back() = 0xF7;
    return dump;
}

// One bank dump received (in 1024-byte pieces when range(0) is 1) and taken.
void BM_BankDumpReceivedAndTaken(benchmark::State& state) {
    midi::PortNotices notices;
    midi::InputReceiver receiver(5000, 16000, 64, true, notices);
    const std::vector<std::uint8_t> dump = BankDump();
    const std::size_t piece = state.range(0) ? 1024 : dump.size();
    for (auto _ : state) {
        for (std::size_t offset = 0; offset < dump.size(); offset += piece)
            receiver.OnMidiData(std::span(dump).subspan(offset, std::min(piece, dump.size() - offset)), 0);
        auto event = receiver.TakeEvent();
        benchmark::DoNotOptimize(event);
        notices.Take();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(dump.size()));
}
BENCHMARK(BM_BankDumpReceivedAndTaken)->Arg(0)->Arg(1);

// A burst of short messages filling the queue, then all taken.
void BM_ShortMessageBurst(benchmark::State& state) {
    midi::PortNotices notices;
    midi::InputReceiver receiver(5000, 16000, 64, false, notices);
    const std::uint8_t noteOn[3] = {0x90, 0x3C, 0x64};
    for (auto _ : state) {
        for (int i = 0; i < 5000; ++i) receiver.OnMidiData(noteOn, static_cast<std::uint32_t>(i));
        while (auto event = receiver.TakeEvent()) benchmark::DoNotOptimize(event);
        notices.Take();
    }
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_ShortMessageBurst);

}  // namespace
