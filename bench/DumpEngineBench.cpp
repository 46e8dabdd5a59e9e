// The dump engine against the emulated rack at MIDI wire speed: how soon a fetched bank is taken
// once its last byte has arrived, and "Get All Banks" over eight modules against the wire time
// of its request/reply pairs.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

#include "librarian/BankMidiCommands.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"

namespace {

using Clock = std::chrono::steady_clock;
using midi::Byte;

// No boxes, labels or lists: only the transfers.
class QuietPanel final : public librarian::BankPanel, public midi::DumpProgress {
public:
    bool FunctionsMode() const override { return false; }
    void SetBankLabel(int, const std::string&) override {}
    void RefreshBankList(int) override {}
    void SetCaption(const std::string&) override {}
    void Show() override {}
    void SetCounter(int) override {}
    void Hide() override {}
};

struct RackSession {
    RackSession() {
        input.SetCapacity(5000);
        input.SetSysexBufferSize(16000);
        input.SetSysexBufferCount(64);
        input.SetSysexOnly(true);
        input.SetProductName(midi::kEmulatedRackName);
        output.SetTechnology(midi::kTechnologyMidiPort);
        output.Open();
        input.Open();
        input.Start();
        rack.SetWireSpeed(true);
    }
    ~RackSession() {
        input.Close();
        output.Close();
    }

    midi::EmulatedRack rack;
    midi::TMidiInput input{rack};
    midi::TMidiOutput output{rack};
    midi::MidiSettings settings;  // as shipped: Input Timer 1 s
    midi::SysexMessages messages{output, settings};
    midi::DumpEngine engine{messages, input, settings};
};

// From the moment the input queued the whole reply (its wake hook, on the MIDI thread) to the
// moment ReceiveDump returned with the bank accepted.
void BankFetchCompleteToAccepted(benchmark::State& state) {
    std::atomic<Clock::rep> queuedAt{0};
    auto session = std::make_unique<RackSession>();
    session->input.Close();
    session->input.SetNoticeHook([&] { queuedAt.store(Clock::now().time_since_epoch().count()); });
    session->input.Open();
    session->input.Start();
    auto block = std::make_unique<core::BankSlotBlock>();
    const std::span<Byte> bytes(reinterpret_cast<Byte*>(block.get()), sizeof *block);
    double worstMs = 0, totalMs = 0;
    for (auto _ : state) {
        session->input.HandleNotices();  // re-arms the hook
        if (session->engine.ReceiveDump(bytes, midi::kDumpVoices, 0)) state.SkipWithError("fetch failed");
        const auto accepted = Clock::now();
        const double ms = std::chrono::duration<double, std::milli>(
                              accepted - Clock::time_point(Clock::duration(queuedAt.load())))
                              .count();
        worstMs = std::max(worstMs, ms);
        totalMs += ms;
    }
    state.counters["complete_to_accepted_ms"] = totalMs / double(state.iterations());
    state.counters["worst_ms"] = worstMs;
}
BENCHMARK(BankFetchCompleteToAccepted)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// "Get All Banks from MIDI", voices only, eight modules of a customized rack.
void GetAllBanksEightModules(benchmark::State& state) {
    RackSession session;
    std::array<core::Bankson, core::kModuleCount> banks;
    librarian::BankMidiCommands::Banks pointers{};
    for (int n = 0; n < core::kModuleCount; ++n) pointers[n] = &banks[n];
    QuietPanel panel;
    librarian::BankMidiCommands commands(pointers, panel, session.engine, panel);
    // Each module: its select (3 bytes) and request (5 bytes) out, its bank (4104 bytes) back.
    const auto wire = midi::kWireByteTime * (core::kModuleCount * (3 + 5 + 4104));
    double ratio = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        commands.GetAllBanks();
        ratio = std::chrono::duration<double>(Clock::now() - start) / wire;
    }
    state.counters["wire_s"] = std::chrono::duration<double>(wire).count();
    state.counters["ratio_to_wire"] = ratio;
}
BENCHMARK(GetAllBanksEightModules)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
