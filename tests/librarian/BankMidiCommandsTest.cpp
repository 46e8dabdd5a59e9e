// The bank menus' MIDI commands on the emulated rack, through the real ports, with the bank
// panel and the progress recorded.

#include "librarian/BankMidiCommands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "midi/EmulatedRack.h"
#include "midi/MidiErrors.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace librarian {
namespace {

using Bytes = std::vector<core::Byte>;
using namespace std::chrono_literals;

std::string BankFile(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "/banks/SynprezFM_%02d.syx", number);
    return std::string(MONDRAL_SHARED_DIR) + name;
}

// Every call on the panel and the progress, in order, as text.
class Recorder final : public BankPanel, public midi::DumpProgress {
public:
    bool FunctionsMode() const override { return functions; }
    void SetBankLabel(int bank, const std::string& text) override {
        log.push_back("label " + std::to_string(bank) + " " + text);
    }
    void RefreshBankList(int bank) override { log.push_back("list " + std::to_string(bank)); }
    void SetCaption(const std::string& caption) override { log.push_back("caption " + caption); }
    void Show() override { log.push_back("show"); }
    void SetCounter(int value) override {
        log.push_back("counter " + std::to_string(value));
        if (onCounter) onCounter(value);
    }
    void Hide() override { log.push_back("hide"); }

    bool functions = false;
    std::vector<std::string> log;
    std::function<void(int)> onCounter;
};

class BankMidiCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        input.SetCapacity(5000);
        input.SetSysexBufferSize(16000);
        input.SetSysexBufferCount(64);
        input.SetSysexOnly(true);
        input.SetProductName(midi::kEmulatedRackName);
        output.SetTechnology(midi::kTechnologyMidiPort);
        ASSERT_TRUE(output.Open());
        ASSERT_TRUE(input.Open());
        input.Start();
        settings.inputTimerTicks = 1;
        settings.outputTimerTicks = 1;
        engine.SetBusyFactory([this] {
            ++busy;
            return std::shared_ptr<void>(nullptr, [this](void*) { --busy; });
        });
    }
    static Bytes PageBytes(const core::Bankson& bank) {
        const auto* page = reinterpret_cast<const core::Byte*>(bank.Page().data());
        return Bytes(page, page + core::kPageSize);
    }
    static midi::BankBytes ImageOf(const core::Bankson& bank) {
        midi::BankBytes image{};
        core::PageToBankImage(bank.Page(), image);
        return image;
    }
    // The requests the rack took in, as "module format" pairs.
    std::vector<std::string> Requests() {
        EXPECT_TRUE(rack.WaitIdle(10s));
        std::vector<std::string> requests;
        for (const Bytes& message : rack.ReceivedMessages())
            if (message.size() == 5 && (message[2] & 0xF0) == 0x20)
                requests.push_back(std::to_string(message[2] & 0x0F) + " " + std::to_string(message[3]));
        return requests;
    }

    midi::EmulatedRack rack;
    midi::TMidiInput input{rack};
    midi::TMidiOutput output{rack};
    midi::MidiSettings settings;
    midi::SysexMessages messages{output, settings};
    midi::DumpEngine engine{messages, input, settings};
    platform::RecordingBoxes boxes;
    platform::RecordingWaits waits;  // the sends' pauses, without their time
    std::array<core::Bankson, core::kModuleCount> banks;
    BankMidiCommands::Banks bankPointers = [this] {
        BankMidiCommands::Banks pointers{};
        for (int n = 0; n < core::kModuleCount; ++n) pointers[n] = &banks[n];
        return pointers;
    }();
    Recorder recorder;
    BankMidiCommands commands{bankPointers, recorder, engine, recorder};
    int busy = 0;
};

TEST_F(BankMidiCommandsTest, GetAllStopsAtTheFirstSilentModule) {
    settings.moduleCount = 3;
    rack.SetSilent(1, true);
    ASSERT_TRUE(banks[1].LoadBankFile(BankFile(4), false));
    ASSERT_TRUE(banks[2].LoadBankFile(BankFile(6), false));
    const Bytes silentBefore = PageBytes(banks[1]);
    const Bytes untouched = PageBytes(banks[2]);

    commands.GetAllBanks();

    EXPECT_EQ(recorder.log, (std::vector<std::string>{"caption Get All", "counter 1", "show",
                                                       "counter 1", "label 0 MIDI New", "list 0",
                                                       "counter 2", "hide"}));
    EXPECT_EQ(ImageOf(banks[0]), rack.VoiceBank(0));
    EXPECT_EQ(banks[0].Page()[31].status, core::kStatusUsed);
    EXPECT_EQ(PageBytes(banks[1]), silentBefore);
    EXPECT_EQ(PageBytes(banks[2]), untouched);
    // Customized rack: each module selected before its request; module 2 never asked.
    EXPECT_EQ(Requests(), (std::vector<std::string>{"0 9", "1 9"}));
    EXPECT_EQ(rack.SelectedModule(), std::optional<std::size_t>(1));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, midi::kTimeOutText);
    EXPECT_EQ(busy, 0);
}

TEST_F(BankMidiCommandsTest, FailedFunctionsFetchLeavesVoicesAndFunctionsAsTheyWere) {
    recorder.functions = true;
    rack.SetAnsweredFormats(4, {midi::kFormatVoiceBank});
    ASSERT_TRUE(banks[4].LoadBankFile(BankFile(2), false));
    std::memset(banks[4].Functions().data(), 0x11, core::kFunctionBankSize);
    const core::BankSlotBlock before = banks[4].Slots();

    commands.GetBank(4);

    EXPECT_TRUE(recorder.log.empty());
    EXPECT_EQ(std::memcmp(&banks[4].Slots(), &before, sizeof before), 0);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"4 9", "4 2"}));
}

TEST_F(BankMidiCommandsTest, SendBankReachesTheModuleOnlyWithProtectionOff) {
    recorder.functions = true;
    ASSERT_TRUE(banks[2].LoadBankFile(BankFile(8), false));
    std::memset(banks[2].Functions().data(), 0x0C, core::kFunctionBankSize);
    const Bytes file = [] {
        std::FILE* f = std::fopen(BankFile(8).c_str(), "rb");
        Bytes bytes(4104);
        EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
        std::fclose(f);
        return bytes;
    }();
    midi::BankBytes fromFile{};
    std::copy_n(file.begin() + 6, fromFile.size(), fromFile.begin());
    const midi::BankBytes before = rack.VoiceBank(2);

    commands.SendBank(2);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(rack.VoiceBank(2), before);  // protected since power-up

    commands.ToggleMemoryProtect(2);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_FALSE(rack.MemoryProtected(2));
    commands.SendBank(2);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(rack.VoiceBank(2), fromFile);
    midi::BankBytes functions{};
    functions.fill(0x0C);
    EXPECT_EQ(rack.FunctionBank(2), functions);
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(busy, 0);
}

TEST_F(BankMidiCommandsTest, MemoryProtectToAllTogglesTheTakingPartModulesOnTheirChannels) {
    settings.moduleCount = 2;
    settings.moduleChannels[1] = 5;
    rack.SetModuleChannel(1, 5);
    commands.ToggleMemoryProtectAll();
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_FALSE(rack.MemoryProtected(0));
    EXPECT_FALSE(rack.MemoryProtected(1));
    commands.ToggleMemoryProtectAll();
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_TRUE(rack.MemoryProtected(0));
    EXPECT_TRUE(rack.MemoryProtected(1));
    EXPECT_EQ(rack.ReceivedMessages(),
              (std::vector<Bytes>{{0xF0, 0x43, 0x10, 0x11, 0x07, 0x00, 0xF7},
                                  {0xF0, 0x43, 0x14, 0x11, 0x07, 0x00, 0xF7},
                                  {0xF0, 0x43, 0x10, 0x11, 0x07, 0x7F, 0xF7},
                                  {0xF0, 0x43, 0x14, 0x11, 0x07, 0x7F, 0xF7}}));
    EXPECT_EQ(messages.MemoryProtectState(2), midi::kMemoryProtectOn);
}

// The interface goes away while the banks are being sent: the error reaches the caller, and the
// progress window and the hourglass are gone all the same.
TEST_F(BankMidiCommandsTest, OutputClosedDuringSendAllHidesTheProgress) {
    settings.moduleCount = 4;
    recorder.onCounter = [this](int value) {
        if (value == 3) output.Close();
    };
    EXPECT_THROW(commands.SendAllBanks(), midi::EmidioutputError);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"caption Send All", "counter 1", "show",
                                                       "counter 1", "counter 2", "counter 3",
                                                       "hide"}));
    EXPECT_EQ(busy, 0);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(rack.ReceivedMessages().size(), 2u);  // the voice banks of modules 0 and 1
}

}  // namespace
}  // namespace librarian
