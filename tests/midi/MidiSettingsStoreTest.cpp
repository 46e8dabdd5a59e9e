#include "midi/MidiSettingsStore.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/MemorySettings.h"

namespace midi {
namespace {

bool SameSettings(const MidiSettings& a, const MidiSettings& b) {
    return a.dx7 == b.dx7 && a.tx816 == b.tx816 && a.txCustom == b.txCustom &&
           a.autoDump == b.autoDump && a.moduleChannels == b.moduleChannels &&
           a.patchBayChannel == b.patchBayChannel && a.patchBayProgram == b.patchBayProgram &&
           a.moduleCount == b.moduleCount && a.inputTimerTicks == b.inputTimerTicks &&
           a.outputTimerTicks == b.outputTimerTicks && a.audioOutput == b.audioOutput;
}

TEST(ReadMidiSettings, StopsAtTheFirstMissingValue) {
    platform::MemorySettings store;
    store.Set(platform::kMidiKey, "AD", 0);
    store.Set(platform::kMidiKey, "DX", 1);
    // No "TX": what follows is not read even where it exists.
    store.Set(platform::kMidiKey, "TXC", 0);
    store.Set(platform::kMidiKey, "PBC", 5);
    store.Set(platform::kMidiKey, "C1", 9);

    MidiSettings s;
    ReadMidiSettings(s, store);
    MidiSettings expected;
    expected.autoDump = false;
    expected.dx7 = true;
    EXPECT_TRUE(SameSettings(s, expected));
}

TEST(ReadMidiSettings, SwitchStatesOtherThanOneAreOffAndKnobsStayInTheirRanges) {
    platform::MemorySettings store;
    const std::vector<std::pair<std::string, int>> stored{
        {"AD", 2},      {"DX", -1},     {"TX", 1},   {"TXC", 0},  {"PBC", 17},
        {"PBCT", 0},    {"TF1", 3},     {"Timer1", 1000},          {"Timer2", 1000},
        {"C1", 16},     {"C2", 0},      {"C3", 3},   {"C4", 4},   {"C5", 5},
        {"C6", 6},      {"C7", 7},      {"C8", 99},  {"AUDIO", 3}};
    for (const auto& [name, value] : stored) store.Set(platform::kMidiKey, name, value);

    MidiSettings s;
    ReadMidiSettings(s, store);
    EXPECT_FALSE(s.autoDump);
    EXPECT_FALSE(s.dx7);
    EXPECT_TRUE(s.tx816);
    EXPECT_FALSE(s.txCustom);
    EXPECT_EQ(s.patchBayChannel, 16);
    EXPECT_EQ(s.patchBayProgram, 1);
    EXPECT_EQ(s.moduleCount, 3);
    EXPECT_EQ(s.inputTimerTicks, 999);
    EXPECT_EQ(s.outputTimerTicks, 1000);
    EXPECT_EQ(s.moduleChannels, (std::array<int, 8>{16, 1, 3, 4, 5, 6, 7, 16}));
    EXPECT_EQ(s.audioOutput, 2);
}

TEST(WriteMidiSettings, WritesTheEighteenValuesInShutdownOrderAndReadsBackTheSame) {
    platform::MemorySettings defaults;
    WriteMidiSettings(MidiSettings{}, defaults);
    EXPECT_EQ(defaults.Writes().size(), 18u) << "the Midi key alone";
    EXPECT_EQ(defaults.WrittenNames(platform::kMidiKey),
              (std::vector<std::string>{"AD", "PBC", "PBCT", "DX", "TX", "TXC", "TF1", "Timer1",
                                        "Timer2", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8",
                                        "AUDIO"}));

    MidiSettings changed;
    changed.autoDump = false;
    changed.dx7 = true;
    changed.tx816 = false;
    changed.patchBayProgram = 128;
    changed.inputTimerTicks = 7;
    changed.moduleChannels[7] = 16;
    changed.audioOutput = 1;
    platform::MemorySettings store;
    WriteMidiSettings(changed, store);
    MidiSettings read;
    ReadMidiSettings(read, store);
    EXPECT_TRUE(SameSettings(read, changed));
}

}  // namespace
}  // namespace midi
