// The bank transfers against the emulated rack, through the real ports: what goes out, what is
// taken from what comes back, and the one box each failure shows.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <numeric>
#include <thread>

#include "BankFiles.h"
#include "core/Bankson.h"
#include "midi/DumpEngine.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace midi {
namespace {

using Bytes = std::vector<Byte>;
using namespace std::chrono_literals;

class DumpEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As the configuration window sets the ports up.
        input.SetCapacity(5000);
        input.SetSysexBufferSize(16000);
        input.SetSysexBufferCount(64);
        input.SetSysexOnly(true);
        input.SetProductName(kEmulatedRackName);
        output.SetTechnology(kTechnologyMidiPort);
        ASSERT_TRUE(output.Open());
        ASSERT_TRUE(input.Open());
        input.Start();
        settings.inputTimerTicks = 5;
        settings.outputTimerTicks = 1;
    }

    // What the rack took in since the last call, once it has taken in everything.
    std::vector<Bytes> Taken() {
        EXPECT_TRUE(rack.WaitIdle(10s));
        auto taken = rack.ReceivedMessages();
        rack.ClearReceivedMessages();
        return taken;
    }

    // A real bank's 4096 voice bytes.
    static BankBytes RealBank(const char* name) {
        const Bytes file = testing::ReadBytes(testing::BankFile(name));
        BankBytes bank{};
        std::copy_n(file.begin() + kSysexHeaderSize, bank.size(), bank.begin());
        return bank;
    }
    // The page a fetch of this bank image gives: every slot used, unselected, unmarked.
    static Bytes PageOf(const BankBytes& bank) {
        Bytes page;
        for (std::size_t slot = 0; slot < core::kSlotsPerPage; ++slot) {
            page.insert(page.end(), bank.begin() + slot * 128, bank.begin() + slot * 128 + 128);
            page.push_back(core::kStatusUsed);
        }
        return page;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.Shown()) {
            EXPECT_EQ(box.title, kDumpErrorTitle);
            EXPECT_EQ(box.kind, platform::BoxKind::Error);
            texts.push_back(box.text);
        }
        return texts;
    }

    static std::span<Byte> BytesOf(core::BankSlotBlock& block) {
        return {reinterpret_cast<Byte*>(&block), sizeof block};
    }
    Bytes PageBytes() const {
        const Byte* page = reinterpret_cast<const Byte*>(&block->page);
        return Bytes(page, page + core::kPageSize);
    }

    std::unique_ptr<core::BankSlotBlock> block = std::make_unique<core::BankSlotBlock>();
    EmulatedRack rack;
    TMidiInput input{rack};
    TMidiOutput output{rack};
    MidiSettings settings;
    SysexMessages messages{output, settings};
    DumpEngine engine{messages, input, settings};
    platform::RecordingBoxes boxes;
    platform::RecordingWaits waits;
};

TEST_F(DumpEngineTest, AutoDumpVoiceSendsOnlyWhenSwitchedOnAndWhatAsked) {
    core::EditImage image;
    std::iota(image.begin(), image.end(), Byte(0));
    for (auto& byte : image) byte &= 0x7F;
    const Bytes voice(image.begin(), image.begin() + core::kUnpackedVoiceSize);
    const Bytes function(image.begin() + core::kUnpackedVoiceSize, image.end());
    settings.moduleChannels[5] = 11;
    rack.SetModuleChannel(5, 11);

    settings.autoDump = false;
    EXPECT_FALSE(engine.AutoDumpVoice(image, kDumpVoices | kDumpFunctions, 5));
    EXPECT_TRUE(Taken().empty());

    settings.autoDump = true;
    EXPECT_TRUE(engine.AutoDumpVoice(image, kDumpVoices, 5));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{BuildSysex({0xF0, 0x43, 0x0A, 0x00, 0x01, 0x1B}, voice)}));

    EXPECT_TRUE(engine.AutoDumpVoice(image, kDumpFunctions, 5));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{BuildSysex({0xF0, 0x43, 0x0A, 0x01, 0x00, 0x5E}, function)}));

    settings.dx7 = true;
    EXPECT_TRUE(engine.AutoDumpVoice(image, kDumpVoices | kDumpFunctions, 5));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{BuildSysex({0xF0, 0x43, 0x0A, 0x00, 0x01, 0x1B}, voice),
                                            BuildSysex({0xF0, 0x43, 0x0A, 0x02, 0x00, 0x5E}, function)}));
    EXPECT_EQ(rack.EditBuffer(5), image);
    EXPECT_TRUE(boxes.Shown().empty());
}

// The reply each exchange waits for, against the messages that may arrive meanwhile: sizes one
// byte off, the other 4104-byte kind, and a bad checksum on the right kind.
TEST(MatchReply, OnlyTheKindAskedForCounts) {
    const Bytes bank = BuildSysex(MakeSysexHeader(kFormatVoiceBank, 0, 4096), Bytes(4096, 0x11));
    const Bytes functions = BuildSysex(MakeSysexHeader(kFormatFunctions, 0, 4096), Bytes(4096, 0x22));
    const Bytes info = BuildSysex(MakeSysexHeader(kFormatSystemInfo, 0, 16), Bytes(16, 0x33));
    const Bytes voice = BuildSysex(MakeSysexHeader(kFormatSingleVoice, 0, 155), Bytes(155, 0x44));
    const Bytes info25 = BuildSysex(MakeSysexHeader(kFormatSystemInfo, 0, 17), Bytes(17, 0x33));
    const Bytes info23 = BuildSysex(MakeSysexHeader(kFormatSystemInfo, 0, 15), Bytes(15, 0x33));
    const Bytes bank4103 = BuildSysex(MakeSysexHeader(kFormatVoiceBank, 0, 4095), Bytes(4095, 0x11));
    Bytes badBank = bank;
    badBank[100] ^= 0x01;
    Bytes badInfo = info;
    badInfo[6] ^= 0x01;
    using enum ReplyMatch;
    struct Row {
        const Bytes& message;
        ReplyMatch voices, functionBank, systemInfo;
    };
    const Row rows[] = {
        {bank, kAccepted, kOtherMessage, kOtherMessage},
        {functions, kOtherMessage, kAccepted, kOtherMessage},
        {info, kOtherMessage, kOtherMessage, kAccepted},
        {voice, kOtherMessage, kOtherMessage, kOtherMessage},
        {info25, kOtherMessage, kOtherMessage, kOtherMessage},
        {info23, kOtherMessage, kOtherMessage, kOtherMessage},
        {bank4103, kOtherMessage, kOtherMessage, kOtherMessage},
        {badBank, kBadChecksum, kOtherMessage, kOtherMessage},
        {badInfo, kOtherMessage, kOtherMessage, kBadChecksum},
    };
    // TX816 mode: from the module's own channel the same; a bank from the next channel is
    // another module's, whatever its checksum; system information is not checked.
    const auto fromNextChannel = [](ReplyMatch plain) {
        return plain == kOtherMessage ? kOtherMessage : kOtherModule;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message.size());
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kVoiceBank), row.voices);
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kFunctionBank), row.functionBank);
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kSystemInfo), row.systemInfo);
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kVoiceBank, Byte(0)), row.voices);
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kFunctionBank, Byte(0)), row.functionBank);
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kVoiceBank, Byte(1)), fromNextChannel(row.voices));
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kFunctionBank, Byte(1)),
                  fromNextChannel(row.functionBank));
        EXPECT_EQ(MatchReply(row.message, ExpectedReply::kSystemInfo, Byte(1)), row.systemInfo);
    }
}

// Defaults: Input Timer 1 s, shorter than a bank on the wire (1.313 s). The reply is still
// received, whole, and taken the moment it is complete.
// Found by fuzzing: a bank stored where system information was expected ran 4080 bytes past a
// 16-byte destination. Every accepted message of another kind is refused and writes nothing.
TEST(StoreReply, RefusesAGoodMessageOfAnotherKind) {
    const Bytes bank = BuildSysex(MakeSysexHeader(kFormatVoiceBank, 0, 4096), Bytes(4096, 0x11));
    const Bytes functions = BuildSysex(MakeSysexHeader(kFormatFunctions, 0, 4096), Bytes(4096, 0x22));
    const Bytes info = BuildSysex(MakeSysexHeader(kFormatSystemInfo, 0, 16), Bytes(16, 0x33));
    const Bytes voice = BuildSysex(MakeSysexHeader(kFormatSingleVoice, 0, 155), Bytes(155, 0x44));
    const struct {
        const Bytes& message;
        ExpectedReply expected;
    } rows[] = {
        {bank, ExpectedReply::kSystemInfo},    {bank, ExpectedReply::kFunctionBank},
        {functions, ExpectedReply::kVoiceBank}, {info, ExpectedReply::kVoiceBank},
        {voice, ExpectedReply::kSystemInfo},    {voice, ExpectedReply::kVoiceBank},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(AcceptReply(row.message).error, ReplyError::kNone);
        Bytes destination(DestinationSize(row.expected), 0xE5);
        EXPECT_THROW(StoreReply(row.message, row.expected, destination), std::invalid_argument)
            << row.message.size() << " bytes";
        EXPECT_EQ(destination, Bytes(destination.size(), 0xE5));
    }
    // The reply expected, one byte short of room: refused too.
    Bytes small(15, 0xE5);
    EXPECT_THROW(StoreReply(info, ExpectedReply::kSystemInfo, small), std::invalid_argument);
    EXPECT_EQ(small, Bytes(15, 0xE5));
}

TEST_F(DumpEngineTest, BankAtWireSpeedWithDefaultTimerIsReceivedByteForByte) {
    settings = MidiSettings{};
    settings.moduleChannels[2] = 9;
    rack.SetModuleChannel(2, 9);
    const BankBytes bank = RealBank("SynprezFM_03.syx");
    rack.LoadVoiceBank(2, bank);
    rack.SetWireSpeed(true);

    EXPECT_FALSE(engine.ReceiveDump(BytesOf(*block), kDumpVoices, 2));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(PageBytes(), PageOf(bank));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{{0xF0, 0x43, 0x28, 0x09, 0xF7}}));
}

// Module 0 answers after its exchange gave up, while silent module 1 is being asked: its bank,
// on another channel, must not become module 1's. Once module 1 answers, its own bank counts.
TEST_F(DumpEngineTest, LateReplyNeverLandsInTheNextBank) {
    settings.inputTimerTicks = 1;
    rack.LoadVoiceBank(0, RealBank("SynprezFM_01.syx"));
    const BankBytes bank1 = RealBank("SynprezFM_02.syx");
    rack.LoadVoiceBank(1, bank1);
    rack.SetSilent(1, true);
    rack.SetReplyDelay(1500ms);  // beyond 10 ms + a bank's wire time, within the next exchange
    std::memset(block.get(), 0x5A, sizeof *block);
    EXPECT_TRUE(engine.ReceiveDump(BytesOf(*block), kDumpVoices, 0));
    EXPECT_TRUE(engine.ReceiveDump(BytesOf(*block), kDumpVoices, 1));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kTimeOutText, kTimeOutText}));
    EXPECT_EQ(PageBytes(), Bytes(core::kPageSize, 0x5A));

    rack.SetReplyDelay(0ms);
    rack.SetSilent(1, false);
    boxes.Clear();
    EXPECT_FALSE(engine.ReceiveDump(BytesOf(*block), kDumpVoices, 1));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(PageBytes(), PageOf(bank1));
}

// The 16-byte area has a heap block of its own, so an overrun shows in the address sanitizer.
TEST_F(DumpEngineTest, SystemInfoTakesOnlyItsReplyWhateverIsQueued) {
    auto info = std::make_unique<Byte[]>(kSystemInfoSize);
    const std::span<Byte> area(info.get(), kSystemInfoSize);
    rack.SetBattery(4, 26);
    rack.SetOmni(4, true);

    // TX816: the stale bank is discarded before the request goes out.
    rack.SendUnsolicitedBankDump(3);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_FALSE(engine.ReceiveDump(area, kDumpSystemInfo, 4));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Bytes(area.begin(), area.end()),
              (Bytes{'T', 'F', '1', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 1, 3, 0x10, 4, 26, 0}));

    // DX7: nothing is requested and the queued bank is passed over, not copied.
    settings.dx7 = true;
    settings.tx816 = false;
    std::fill(area.begin(), area.end(), Byte(0x55));
    rack.SendUnsolicitedBankDump(3);
    ASSERT_TRUE(rack.WaitIdle(10s));
    rack.ClearReceivedMessages();
    settings.inputTimerTicks = 1;
    EXPECT_TRUE(engine.ReceiveDump(area, kDumpSystemInfo, 4));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kWrongSizeText});
    EXPECT_EQ(Bytes(area.begin(), area.end()), Bytes(kSystemInfoSize, 0x55));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DumpEngineTest, CorruptedChecksumLeavesTheDestinationAlone) {
    rack.SetCorruptChecksum(6, true);
    std::memset(block.get(), 0x5A, sizeof *block);
    EXPECT_TRUE(engine.ReceiveDump(BytesOf(*block), kDumpVoices | kDumpFunctions, 6));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kChecksumErrorText});
    EXPECT_EQ(PageBytes(), Bytes(core::kPageSize, 0x5A));
    // The functions are not asked for once the voices failed.
    EXPECT_EQ(Taken(), (std::vector<Bytes>{{0xF0, 0x43, 0x26, 0x09, 0xF7}}));
}

// The voices arrive, the function bank doesn't: the fetch fails and writes nothing, not the
// voices either, which would lie over function records that are not theirs.
TEST_F(DumpEngineTest, ModuleAnsweringVoicesButNoFunctionsFailsTheFetch) {
    settings.inputTimerTicks = 1;
    rack.SetAnsweredFormats(1, {kFormatVoiceBank});
    rack.LoadVoiceBank(1, RealBank("SynprezFM_05.syx"));
    std::memset(block.get(), 0x5A, sizeof *block);
    EXPECT_TRUE(engine.ReceiveDump(BytesOf(*block), kDumpVoices | kDumpFunctions, 1));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kTimeOutText});
    EXPECT_EQ(PageBytes(), Bytes(core::kPageSize, 0x5A));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{{0xF0, 0x43, 0x21, 0x09, 0xF7}, {0xF0, 0x43, 0x21, 0x02, 0xF7}}));

    // The same module with both: voices and the function bank, each where it belongs.
    rack.SetAnsweredFormats(1, {kFormatVoiceBank, kFormatFunctions});
    boxes.Clear();
    EXPECT_FALSE(engine.ReceiveDump(BytesOf(*block), kDumpVoices | kDumpFunctions, 1));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(PageBytes(), PageOf(rack.VoiceBank(1)));
    const BankBytes functions = rack.FunctionBank(1);
    EXPECT_EQ(0, std::memcmp(block->functions.data(), functions.data(), functions.size()));
}

// A DX7 sends no function bank: in DX7 mode a fetch takes the voices only, and a dump the user
// started before the command counts, on whatever channel the instrument sends.
TEST_F(DumpEngineTest, Dx7FetchTakesQueuedVoicesOnlyAndSendsNothing) {
    settings.dx7 = true;
    settings.tx816 = false;
    rack.LoadVoiceBank(3, RealBank("SynprezFM_07.syx"));
    rack.SendUnsolicitedBankDump(3);
    ASSERT_TRUE(rack.WaitIdle(10s));
    rack.ClearReceivedMessages();
    std::memset(block->functions.data(), 0x33, core::kFunctionBankSize);
    EXPECT_FALSE(engine.ReceiveDump(BytesOf(*block), kDumpVoices | kDumpFunctions, 0));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(PageBytes(), PageOf(rack.VoiceBank(3)));
    EXPECT_EQ(block->functions[5][7], 0x33);
    EXPECT_TRUE(Taken().empty());
}

// The send returns once the voice bank is handed over, but on the wire it takes 1.313 s, longer
// than the default Output Timer: the module's pause before the function bank starts when the
// voices are through. Without the voices, the Output Timer alone.
TEST_F(DumpEngineTest, TheFunctionBankWaitsForTheVoicesToLeaveTheWireThenTheOutputTimer) {
    settings.outputTimerTicks = 100;
    SendBuffer buffer{};
    std::vector<std::size_t> takenByWait;
    waits.onWait = [&](int) {
        EXPECT_TRUE(rack.WaitIdle(10s));
        takenByWait.push_back(rack.ReceivedMessages().size());
    };
    engine.SendBankDump(buffer, kDumpVoices | kDumpFunctions, 3);
    EXPECT_EQ(waits.Ticks(), std::vector<int>{132 + 100});
    EXPECT_EQ(takenByWait, std::vector<std::size_t>{1}) << "the function bank after the wait";
    EXPECT_EQ(Taken().size(), 2u);
    engine.SendBankDump(buffer, kDumpFunctions, 3);
    EXPECT_EQ(waits.Ticks(), (std::vector<int>{132 + 100, 100}));
}

TEST_F(DumpEngineTest, SentBankReachesTheModuleOnlyWhenUnprotected) {
    const BankBytes before = rack.VoiceBank(3);
    SendBuffer buffer{};
    const BankBytes bank = RealBank("SynprezFM_09.syx");
    std::copy(bank.begin(), bank.end(), buffer.begin());
    std::fill(buffer.begin() + core::kBankImageSize, buffer.end(), Byte(0x21));

    engine.SendBankDump(buffer, kDumpVoices | kDumpFunctions, 3);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(rack.VoiceBank(3), before);

    messages.ToggleMemoryProtect(3);
    engine.SendBankDump(buffer, kDumpVoices | kDumpFunctions, 3);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(rack.VoiceBank(3), bank);
    EXPECT_EQ(rack.FunctionBank(3)[4095], 0x21);

    // DX7 mode never sends the function bank.
    settings.dx7 = true;
    rack.ClearReceivedMessages();
    engine.SendBankDump(buffer, kDumpVoices | kDumpFunctions, 3);
    const auto taken = Taken();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0], BuildSysex(MakeSysexHeader(kFormatVoiceBank, 3, 4096), bank));
}

// Every format byte a 4104-byte message may carry: 09h is the voice bank, any other the function
// bank, never system information.
TEST(MatchReply, EveryFormatOfABulkDumpIsOneOfTheTwoBanks) {
    for (int format = 0; format < 0x80; ++format) {
        const Bytes message =
            BuildSysex(MakeSysexHeader(Byte(format), 0, 4096), Bytes(4096, Byte(format)));
        const bool voices = format == kFormatVoiceBank;
        SCOPED_TRACE(format);
        EXPECT_EQ(MatchReply(message, ExpectedReply::kVoiceBank),
                  voices ? ReplyMatch::kAccepted : ReplyMatch::kOtherMessage);
        EXPECT_EQ(MatchReply(message, ExpectedReply::kFunctionBank),
                  voices ? ReplyMatch::kOtherMessage : ReplyMatch::kAccepted);
        EXPECT_EQ(MatchReply(message, ExpectedReply::kSystemInfo), ReplyMatch::kOtherMessage);
        if (voices) continue;
        Bytes destination(core::kFunctionBankSize, 0xE5);
        StoreReply(message, ExpectedReply::kFunctionBank, destination);
        EXPECT_EQ(destination, Bytes(core::kFunctionBankSize, Byte(format)));
    }
}

// What arrives while an exchange waits: a bank the user starts on a DX7, a message of another
// kind before the reply, and a reply that comes at once although the Input Timer is long.
TEST_F(DumpEngineTest, WhatArrivesDuringTheWaitIsTakenAndTheWaitEndsWithTheReply) {
    // The rack's own voice bank, unasked: none, started 50 ms into the wait, or started just
    // before the request at wire speed (whole only after the queue was emptied; the reply
    // follows it on the wire).
    enum class Panel { kNone, kDuringWait, kJustBefore };
    const struct {
        const char* what;
        bool dx7;
        int inputTimerTicks;
        Panel panel;
        Byte requestFormat;
    } cases[] = {
        {"DX7 dump started during the wait", true, 100, Panel::kDuringWait, kFormatVoiceBank},
        {"voice bank before the function bank", false, 300, Panel::kJustBefore, kFormatFunctions},
        {"reply at once, Input Timer 9.99 s", false, 999, Panel::kNone, kFormatVoiceBank},
    };
    rack.LoadVoiceBank(1, RealBank("SynprezFM_04.syx"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings.dx7 = c.dx7;
        settings.tx816 = !c.dx7;
        settings.inputTimerTicks = c.inputTimerTicks;
        rack.SetWireSpeed(c.panel == Panel::kJustBefore);
        boxes.Clear();
        std::memset(block.get(), 0x5A, sizeof *block);
        const bool voices = c.requestFormat == kFormatVoiceBank;
        const std::span<Byte> destination =
            voices ? BytesOf(*block).first(core::kPageSize)
                   : std::span<Byte>(block->functions.data()->data(), core::kFunctionBankSize);

        std::thread panel;
        if (c.panel == Panel::kJustBefore) rack.SendUnsolicitedBankDump(1);
        if (c.panel == Panel::kDuringWait)
            panel = std::thread([this] {
                std::this_thread::sleep_for(50ms);
                rack.SendUnsolicitedBankDump(1);
            });
        const std::uint64_t start = waits.PolledMs();
        EXPECT_FALSE(engine.ReceiveMessage(destination, c.requestFormat, 1));
        const std::uint64_t took = waits.PolledMs() - start;
        if (panel.joinable()) panel.join();

        EXPECT_TRUE(boxes.Shown().empty());
        const BankBytes functions = rack.FunctionBank(1);
        EXPECT_EQ(Bytes(destination.begin(), destination.end()),
                  voices ? PageOf(rack.VoiceBank(1)) : Bytes(functions.begin(), functions.end()));
        // Far below the 10 s the exchange may wait, on the engine's own clock: it ended with the reply.
        EXPECT_LT(took, 5000u);
        ASSERT_TRUE(rack.WaitIdle(10s));
        while (input.TakeEvent()) {
        }
    }
}

}  // namespace
}  // namespace midi
