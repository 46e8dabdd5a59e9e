// How long a bank request takes through the emulated rack, with and without MIDI wire speed,
// and what building and checking a 4104-byte dump costs.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>

#include "midi/EmulatedRack.h"
#include "midi/SysexMessages.h"

namespace {

using midi::Byte;

// Counts whole replies (the rack delivers them unsplit by default).
class ReplyCounter final : public midi::InputHandler {
public:
    void OnMidiData(std::span<const std::uint8_t>, std::uint32_t) override {
        std::lock_guard lock(mutex_);
        ++count_;
        arrived_.notify_all();
    }
    void WaitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [&] { return count_ >= count; });
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::size_t count_ = 0;
};

void BankRequestRoundTrip(benchmark::State& state) {
    midi::EmulatedRack rack;
    rack.SetWireSpeed(state.range(0) != 0);
    ReplyCounter replies;
    auto input = rack.OpenInput(0, replies);
    auto output = rack.OpenOutput(0);
    input->Start();
    const midi::DumpRequest request = midi::MakeDumpRequest(midi::kFormatVoiceBank, 0);
    std::size_t expected = 0;
    for (auto _ : state) {
        output->Send(request);
        replies.WaitFor(++expected);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * midi::kBulkDumpMessageSize));
}
BENCHMARK(BankRequestRoundTrip)->Arg(0)->UseRealTime()->Unit(benchmark::kMicrosecond);
// 4109 bytes on the wires at 320 µs each: about 1.315 s.
BENCHMARK(BankRequestRoundTrip)->Arg(1)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BuildAndAcceptBankDump(benchmark::State& state) {
    const midi::BankBytes bank = midi::GeneratedVoiceBank(0);
    for (auto _ : state) {
        const auto header = midi::MakeSysexHeader(midi::kFormatVoiceBank, 0, bank.size());
        const auto message = midi::BuildSysex(header, bank);
        benchmark::DoNotOptimize(midi::AcceptReply(message).kind);
    }
}
BENCHMARK(BuildAndAcceptBankDump);

}  // namespace
