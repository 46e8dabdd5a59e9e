#include "midi/MidiSettings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/MemorySettings.h"

namespace midi {
namespace {

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
    EXPECT_EQ(s, expected);
}

TEST(ReadMidiSettings, SwitchStatesOtherThanOneAreOffAndKnobsStayInTheirRanges) {
    platform::MemorySettings store;
    const std::vector<std::pair<std::string, int>> stored{
        {"AD", 2},      {"DX", -1},     {"TX", 1},   {"TXC", 0},  {"PBC", 17},
        {"PBCT", 0},    {"TF1", 3},     {"Timer1", 1000},          {"Timer2", 1000},
        {"C1", 16},     {"C2", 0},      {"C3", 3},   {"C4", 4},   {"C5", 5},
        {"C6", 6},      {"C7", 7},      {"C8", 99}};
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
    EXPECT_EQ(s.inputTimer, 999);
    EXPECT_EQ(s.outputTimer, 1000);
    EXPECT_EQ(s.channels, (std::array<int, 8>{16, 1, 3, 4, 5, 6, 7, 16}));
}

// Records the names written, in order.
class OrderRecorder final : public platform::SettingsStore {
public:
    std::unique_ptr<platform::SettingsKey> OpenForReading(std::string_view) override {
        return nullptr;
    }
    std::unique_ptr<platform::SettingsKey> OpenForWriting(std::string_view key) override {
        struct Key final : platform::SettingsKey {
            std::vector<std::string>& names;
            explicit Key(std::vector<std::string>& n) : names(n) {}
            std::optional<std::int32_t> ReadInt(std::string_view) override { return {}; }
            bool WriteInt(std::string_view name, std::int32_t) override {
                names.emplace_back(name);
                return true;
            }
        };
        keys.emplace_back(key);
        return std::make_unique<Key>(names);
    }
    std::vector<std::string> keys, names;
};

TEST(WriteMidiSettings, WritesTheSeventeenValuesInShutdownOrderAndReadsBackTheSame) {
    OrderRecorder recorder;
    WriteMidiSettings(MidiSettings{}, recorder);
    EXPECT_EQ(recorder.keys, std::vector<std::string>{"Midi"});
    EXPECT_EQ(recorder.names,
              (std::vector<std::string>{"AD", "PBC", "PBCT", "DX", "TX", "TXC", "TF1", "Timer1",
                                        "Timer2", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8"}));

    MidiSettings changed;
    changed.autoDump = false;
    changed.dx7 = true;
    changed.tx816 = false;
    changed.patchBayProgram = 128;
    changed.inputTimer = 7;
    changed.channels[7] = 16;
    platform::MemorySettings store;
    WriteMidiSettings(changed, store);
    MidiSettings read;
    ReadMidiSettings(read, store);
    EXPECT_EQ(read, changed);
}

TEST(ApplyModeClick, FollowsTheModeTable) {
    MidiSettings s;  // TX816 and Custom on
    EXPECT_EQ(MenusFor(s), (ModeMenus{true, true, true}));

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Dx7));
    EXPECT_TRUE(s.dx7);
    EXPECT_FALSE(s.tx816);
    EXPECT_FALSE(s.txCustom);
    EXPECT_EQ(MenusFor(s), (ModeMenus{false, false, false}));

    const MidiSettings inDx7 = s;
    EXPECT_FALSE(ApplyModeClick(s, ModeSwitch::Custom));
    EXPECT_EQ(s, inDx7);

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Tx816));
    EXPECT_FALSE(s.dx7);
    EXPECT_TRUE(s.tx816);
    EXPECT_FALSE(s.txCustom) << "TX816 leaves Custom as it was";
    EXPECT_EQ(MenusFor(s), (ModeMenus{false, true, true}));

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Custom));
    EXPECT_TRUE(s.txCustom);
    EXPECT_EQ(MenusFor(s), (ModeMenus{true, true, true}));

    // A TX816 click with Custom on keeps "Get All Banks" usable: the customized rack still
    // selects its modules.
    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Tx816));
    EXPECT_EQ(MenusFor(s), (ModeMenus{true, true, true}));

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::AutoDump));
    EXPECT_FALSE(s.autoDump);
    EXPECT_TRUE(s.tx816 && s.txCustom && !s.dx7);
}

}  // namespace
}  // namespace midi
