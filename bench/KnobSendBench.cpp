// A knob dragged with a 1000 Hz mouse: 1,000 moves one millisecond apart, each writing a new
// value of one voice parameter, sent through the output port to the emulated rack running at
// MIDI wire speed. Reported: how long after the last move the module holds the final value.
// Paced (the editor's way): latest value per parameter, a message only when the wire has room.
// Every move (the plain way): each change sent at once, piling up behind the 2.24 ms a
// parameter change takes on the wire.

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "midi/EmulatedRack.h"
#include "midi/MidiOutput.h"
#include "midi/ParameterQueue.h"
#include "midi/SysexMessages.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kMoves = 1000;
constexpr auto kMoveInterval = 1ms;
constexpr std::size_t kModule = 2;
constexpr int kParameter = 134;  // the algorithm: sent as group 01h

// The last move's value is one no earlier move has, so the module holds it only once the last
// move has arrived.
int ValueOfMove(int move) { return move == kMoves - 1 ? 31 : (move * 7) % 31; }

void KnobDrag(benchmark::State& state) {
    const bool paced = state.range(0) != 0;
    double worstMs = 0;
    double sentPerDrag = 0;
    double dragMs = 0;
    for (auto _ : state) {
        midi::EmulatedRack rack;
        rack.SetWireSpeed(true);
        midi::TMidiOutput output(rack);
        output.SetTechnology(midi::kTechnologyMidiPort);
        output.Open();
        midi::MidiSettings settings;
        midi::SysexMessages messages(output, settings, [] { return kModule; });
        midi::ParameterQueue queue(
            [&](std::size_t m, int p, int g, int v) { messages.SendParameterChange(p, m, g, v); },
            midi::kWireByteTime);

        const Clock::time_point start = Clock::now();
        std::optional<Clock::time_point> due;
        for (int move = 0; move < kMoves; ++move) {
            const Clock::time_point at = start + move * kMoveInterval;
            // Between moves the editor's timer flushes when the wire has room.
            while (due && *due < at) {
                std::this_thread::sleep_until(*due);
                due = queue.Flush(Clock::now());
            }
            std::this_thread::sleep_until(at);
            if (paced) {
                queue.Post(messages.CurrentModule(), kParameter, midi::kGroupVoice, ValueOfMove(move));
                due = queue.Flush(Clock::now());
            } else {
                messages.SendParameterChangeCurrent(kParameter, ValueOfMove(move), midi::kGroupVoice);
            }
        }
        const Clock::time_point lastMove = Clock::now();
        dragMs = std::chrono::duration<double, std::milli>(lastMove - start).count();
        const int final = ValueOfMove(kMoves - 1);
        while (rack.EditBuffer(kModule)[kParameter] != final) {
            if (due && *due <= Clock::now()) due = queue.Flush(Clock::now());
            std::this_thread::sleep_for(50us);
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - lastMove).count();
        worstMs = std::max(worstMs, ms);
        rack.WaitIdle(10s);
        sentPerDrag = double(rack.ReceivedMessages().size());
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["final_value_after_ms"] = worstMs;
    state.counters["messages_sent"] = sentPerDrag;
    // 999 ms when the machine keeps up with the 1000 Hz moves.
    state.counters["drag_ms"] = dragMs;
}
// The figure to hold: the final value in the module within 30 ms of the last move.
BENCHMARK(KnobDrag)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
// For comparison: every move sent, seconds behind.
BENCHMARK(KnobDrag)->Arg(0)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
