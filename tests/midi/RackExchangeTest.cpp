// Whole exchanges with the emulated rack through the real port components: the messages go
// out through TMidiOutput and the replies come back as events of TMidiInput.

#include <gtest/gtest.h>

#include "BankFiles.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/SysexMessages.h"

namespace midi {
namespace {

using Bytes = std::vector<Byte>;
using namespace std::chrono_literals;

class RackExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As the configuration window sets them up.
        input.SetCapacity(5000);
        input.SetSysexBufferSize(16000);
        input.SetSysexBufferCount(64);
        input.SetSysexOnly(true);
        input.SetProductName(kEmulatedRackName);
        output.SetTechnology(kTechnologyMidiPort);
        ASSERT_EQ(output.ProductName(), kEmulatedRackName);
        ASSERT_TRUE(output.Open());
        ASSERT_TRUE(input.Open());
        input.Start();
    }

    // The next event once the rack has answered everything it was sent.
    std::unique_ptr<TMyMidiEvent> Reply() {
        EXPECT_TRUE(rack.WaitIdle(10s));
        return input.TakeEvent();
    }
    static Bytes DataOf(const TMyMidiEvent& event) {
        const AcceptedReply reply = AcceptReply(event.sysexData);
        return Bytes(reply.data.begin(), reply.data.end());
    }

    EmulatedRack rack;
    TMidiInput input{rack};
    TMidiOutput output{rack};
    MidiSettings settings;
    SysexMessages messages{output, settings};
};

TEST_F(RackExchangeTest, EachRequestFormatGetsItsReply) {
    settings.moduleChannels[3] = 4;
    messages.SelectModule(3);

    ASSERT_TRUE(messages.SendDumpRequest(3, kFormatVoiceBank));
    auto event = Reply();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->status, 0xF0);
    ASSERT_EQ(event->sysexLength, 4104u);
    EXPECT_EQ(event->sysexData.front(), 0xF0);
    EXPECT_EQ(event->sysexData.back(), 0xF7);
    EXPECT_EQ(AcceptReply(event->sysexData).kind, ReplyKind::kVoiceBank);
    const BankBytes voices = rack.VoiceBank(3);
    EXPECT_EQ(DataOf(*event), Bytes(voices.begin(), voices.end()));

    ASSERT_TRUE(messages.SendDumpRequest(3, kFormatFunctions));
    event = Reply();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(AcceptReply(event->sysexData).kind, ReplyKind::kDataBlock);
    const BankBytes functions = rack.FunctionBank(3);
    EXPECT_EQ(DataOf(*event), Bytes(functions.begin(), functions.end()));

    ASSERT_TRUE(messages.SendDumpRequest(3, kFormatSystemInfo));
    event = Reply();
    ASSERT_NE(event, nullptr);
    ASSERT_EQ(AcceptReply(event->sysexData).kind, ReplyKind::kSystemInfo);
    const Bytes info = DataOf(*event);
    EXPECT_EQ(std::string(info.begin(), info.begin() + 3), "TF1");
    EXPECT_EQ(info[kSystemInfoChannel], 3);

    EXPECT_EQ(input.MessageCount(), 0u);
    // The module-select controller was the short message the rack saw first.
    EXPECT_EQ(rack.ReceivedMessages().front(), (Bytes{0xBF, 0x14, 0x03}));
}

TEST_F(RackExchangeTest, BankIsStoredOnlyAfterProtectionIsSwitchedOff) {
    const Bytes file = testing::ReadBytes(testing::BankFile("SynprezFM_20.syx"));
    ASSERT_EQ(file.size(), 4104u);
    const std::span<const Byte, 4096> bank(file.data() + 6, 4096);
    const BankBytes generated = rack.VoiceBank(1);

    messages.SendVoiceBank(1, bank);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(rack.VoiceBank(1), generated);

    EXPECT_EQ(messages.ToggleMemoryProtect(1), kMemoryProtectOff);
    messages.SendVoiceBank(1, bank);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_FALSE(rack.MemoryProtected(1));
    EXPECT_TRUE(std::equal(bank.begin(), bank.end(), rack.VoiceBank(1).begin()));

    // And it comes back unchanged, in pieces as a Windows driver hands them over.
    rack.SetPieceSize(1024);
    messages.SendDumpRequest(1, kFormatVoiceBank);
    const auto event = Reply();
    ASSERT_NE(event, nullptr);
    Bytes expected = file;
    expected[2] = 0x01;  // module 1's channel
    EXPECT_EQ(event->sysexData, expected);
}

TEST_F(RackExchangeTest, OnlyTheSelectedModuleIsHeard) {
    messages.SelectModule(5);
    messages.SendDumpRequest(2, kFormatSystemInfo);
    EXPECT_EQ(Reply(), nullptr);
    messages.SendDumpRequest(5, kFormatSystemInfo);
    const auto event = Reply();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(DataOf(*event)[kSystemInfoChannel], 5);
}

TEST_F(RackExchangeTest, Dx7ModeTakesADumpStartedOnTheInstrument) {
    settings.dx7 = true;
    settings.tx816 = false;
    settings.txCustom = false;
    EXPECT_FALSE(messages.SendDumpRequest(0, kFormatVoiceBank));
    rack.SendUnsolicitedBankDump(0);
    const auto event = Reply();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(AcceptReply(event->sysexData).kind, ReplyKind::kVoiceBank);
    EXPECT_TRUE(rack.ReceivedMessages().empty());
}

TEST_F(RackExchangeTest, SingleVoiceAndParameterChangesReachTheEditBuffer) {
    core::EditImage image{};
    core::InitEditImage(image);
    messages.SendSingleVoice(6, std::span<const Byte, 155>(image.data(), 155));
    messages.SendSingleFunction(6, std::span<const Byte, 94>(image.data() + 155, 94));
    messages.SendParameterChange(144, 6, kGroupVoice, 30);
    ASSERT_TRUE(rack.WaitIdle(10s));
    image[144] = 30;
    EXPECT_EQ(rack.EditBuffer(6), image);
}

}  // namespace
}  // namespace midi
