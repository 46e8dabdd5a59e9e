#include "midi/EmulatedRack.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "ReplyCollector.h"
#include "BankFiles.h"
#include "midi/SysexMessages.h"

namespace midi {
namespace {

using Bytes = std::vector<Byte>;
using ::testing::ElementsAre;
using namespace std::chrono_literals;

constexpr auto kGuard = 10s;  // only against a hang; nothing here is timed

class EmulatedRackTest : public ::testing::Test {
protected:
    void SetUp() override {
        input = rack.OpenInput(0, replies);
        output = rack.OpenOutput(0);
        ASSERT_TRUE(input && output);
        input->Start();
    }

    void Send(const Bytes& bytes) { ASSERT_TRUE(output->Send(bytes)); }
    void Request(Byte format, Byte channelNibble) {
        const DumpRequest request = MakeDumpRequest(format, channelNibble);
        Send(Bytes(request.begin(), request.end()));
    }
    void Select(Byte module) { Send({0xBF, 0x14, module}); }
    void Protect(Byte channelNibble, Byte value) {
        const ParameterChange message =
            MakeParameterChange(kMemoryProtectParameter, kGroupMemoryProtect, value, channelNibble);
        Send(Bytes(message.begin(), message.end()));
    }
    // Everything delivered once the rack has nothing left to do.
    std::vector<Bytes> Settled() {
        EXPECT_TRUE(rack.WaitIdle(kGuard));
        return replies.Messages();
    }

    EmulatedRack rack;
    ReplyCollector replies;
    std::unique_ptr<InputStream> input;
    std::unique_ptr<OutputStream> output;
};

Bytes RealBank(const char* name) {
    Bytes file = testing::ReadBytes(testing::BankFile(name));
    EXPECT_EQ(file.size(), kBulkDumpMessageSize) << name;
    return file;
}

Bytes DataOf(const Bytes& message) { return Bytes(message.begin() + 6, message.end() - 2); }
template <typename Array>
Bytes AsBytes(const Array& array) { return Bytes(array.begin(), array.end()); }

TEST(EmulatedRackDevices, OneInputAndOneOutputNamedEmulatedTx816) {
    EmulatedRack rack;
    for (const auto& devices : {rack.Inputs(), rack.Outputs()}) {
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_EQ(devices[0].name, "Emulated TX816");
        EXPECT_EQ(devices[0].technology, kTechnologyMidiPort);
    }
    ReplyCollector replies;
    EXPECT_EQ(rack.OpenInput(1, replies), nullptr);
    EXPECT_EQ(rack.OpenOutput(1), nullptr);
}

TEST_F(EmulatedRackTest, VoiceBankRequestIsAnsweredWithAWellFormedBulkDump) {
    Request(kFormatVoiceBank, 2);  // module 2, channel 3
    const auto received = replies.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    const Bytes& dump = received[0];
    ASSERT_EQ(dump.size(), 4104u);
    EXPECT_THAT(Bytes(dump.begin(), dump.begin() + 6), ElementsAre(0xF0, 0x43, 0x02, 0x09, 0x20, 0x00));
    EXPECT_EQ(dump.back(), 0xF7);
    const AcceptedReply reply = AcceptReply(dump);
    EXPECT_EQ(reply.error, ReplyError::kNone);
    EXPECT_EQ(reply.kind, ReplyKind::kVoiceBank);
    EXPECT_EQ(DataOf(dump), AsBytes(rack.VoiceBank(2)));
    // The voices name their module and slot.
    EXPECT_EQ(std::string(dump.begin() + 6 + 118, dump.begin() + 6 + 128), "TF1-3 V.01");
    EXPECT_EQ(std::string(dump.begin() + 6 + 31 * 128 + 118, dump.begin() + 6 + 32 * 128), "TF1-3 V.32");
}

TEST_F(EmulatedRackTest, FunctionBankRequestIsAnsweredWithTheFunctionBank) {
    Request(kFormatFunctions, 7);
    const auto received = replies.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_THAT(Bytes(received[0].begin(), received[0].begin() + 6),
                ElementsAre(0xF0, 0x43, 0x07, 0x02, 0x20, 0x00));
    const AcceptedReply reply = AcceptReply(received[0]);
    EXPECT_EQ(reply.error, ReplyError::kNone);
    EXPECT_EQ(reply.kind, ReplyKind::kDataBlock);
    EXPECT_EQ(DataOf(received[0]), AsBytes(rack.FunctionBank(7)));
}

TEST_F(EmulatedRackTest, SystemInformationReplyDescribesTheModule) {
    rack.SetModuleChannel(4, 11);
    rack.SetOmni(4, true);
    rack.SetBattery(4, 25);
    Request(kFormatSystemInfo, 0);
    Request(kFormatSystemInfo, 10);
    // Module 0 answers the first; module 4, in omni, answers both on its own channel.
    const auto received = replies.WaitFor(3);
    ASSERT_EQ(received.size(), 3u);
    for (const Bytes& message : received) {
        ASSERT_EQ(message.size(), 24u);
        const AcceptedReply reply = AcceptReply(message);
        EXPECT_EQ(reply.error, ReplyError::kNone);
        EXPECT_EQ(reply.kind, ReplyKind::kSystemInfo);
    }
    EXPECT_EQ(received[1], received[2]);
    const Bytes first = DataOf(received[0]);
    EXPECT_EQ(std::string(first.begin(), first.begin() + 10), "TF1       ");
    EXPECT_EQ(first[10], EmulatedRack::kRevisionMajor);
    EXPECT_EQ(first[11], EmulatedRack::kRevisionMinor);
    EXPECT_EQ(first[12], 0x00);  // omni off
    EXPECT_EQ(first[13], 0);     // channel 1
    EXPECT_EQ(first[14], EmulatedRack::kDefaultBattery);
    const Bytes second = DataOf(received[2]);
    EXPECT_EQ(received[2][2], 0x0A);
    EXPECT_EQ(second[12], 0x10);  // omni on
    EXPECT_EQ(second[13], 10);    // channel 11
    EXPECT_EQ(second[14], 25);
}

TEST_F(EmulatedRackTest, EditBufferRequestsAnswerWithSingleMessages) {
    Request(kFormatSingleVoice, 1);
    Request(kFormatSingleFunctionTx816, 1);
    const auto received = replies.WaitFor(2);
    ASSERT_EQ(received.size(), 2u);
    const core::EditImage edit = rack.EditBuffer(1);
    EXPECT_EQ(AcceptReply(received[0]).kind, ReplyKind::kSingleVoice);
    EXPECT_EQ(DataOf(received[0]), Bytes(edit.begin(), edit.begin() + 155));
    EXPECT_EQ(AcceptReply(received[1]).kind, ReplyKind::kSingleFunction);
    EXPECT_EQ(DataOf(received[1]), Bytes(edit.begin() + 155, edit.end()));
    // At power-up the edit buffer holds the first voice of the module's memory.
    EXPECT_EQ(core::VoiceNameOf(edit), "TF1-2 V.01");
}

TEST_F(EmulatedRackTest, RequestsNoModuleListensToAndUnknownFormatsStayUnanswered) {
    Request(kFormatVoiceBank, 12);  // channel 13: no module
    Request(0x33, 0);               // no such dump
    Send({0xF0, 0x41, 0x20, 0x09, 0xF7});  // another manufacturer
    EXPECT_TRUE(Settled().empty());
    EXPECT_EQ(rack.ReceivedMessages().size(), 3u);
}

TEST_F(EmulatedRackTest, GeneratedVoicesAreInRangeAndDifferPerModule) {
    std::set<std::string> names;
    for (std::size_t m = 0; m < kModuleCount; ++m) {
        const BankBytes bank = rack.VoiceBank(m);
        for (std::size_t v = 0; v < 32; ++v) {
            const std::span<const Byte, 128> packed(bank.data() + 128 * v, 128);
            core::UnpackedVoice unpacked{};
            core::PackedVoice repacked{};
            core::UnpackVoice(packed, unpacked);
            core::PackVoice(unpacked, repacked);
            // Fields out of range would not survive the round trip.
            EXPECT_TRUE(std::equal(packed.begin(), packed.end(), repacked.begin())) << m << "/" << v;
            EXPECT_LE(unpacked[134], 31);
            EXPECT_LE(unpacked[142], 5);
            for (std::size_t i = 0; i < 126; ++i) EXPECT_LE(unpacked[i], 99) << m << "/" << v << "/" << i;
            names.insert(std::string(packed.begin() + 118, packed.end()));
        }
    }
    EXPECT_EQ(names.size(), 8u * 32u);
    EXPECT_EQ(names.count("TF1-8 V.17"), 1u);
    // Both banks travel in system-exclusive dumps: data bytes only.
    for (std::size_t m = 0; m < kModuleCount; ++m)
        for (const BankBytes& bank : {rack.VoiceBank(m), rack.FunctionBank(m)})
            EXPECT_TRUE(std::all_of(bank.begin(), bank.end(), [](Byte b) { return b < 0x80; })) << m;
}

TEST_F(EmulatedRackTest, ProtectedModuleRefusesBanksUntilProtectionIsSwitchedOff) {
    const Bytes voices = RealBank("SynprezFM_03.syx");  // channel 1: module 0
    const BankBytes generated = rack.VoiceBank(0);
    ASSERT_TRUE(rack.MemoryProtected(0));

    Send(voices);
    Settled();
    EXPECT_EQ(rack.VoiceBank(0), generated);

    Protect(0, kMemoryProtectOff);
    Settled();
    EXPECT_FALSE(rack.MemoryProtected(0));
    EXPECT_TRUE(rack.MemoryProtected(1));
    Send(voices);
    Settled();
    EXPECT_EQ(AsBytes(rack.VoiceBank(0)), DataOf(voices));

    // The function bank follows the same switch.
    Bytes functions = voices;
    functions[3] = kFormatFunctions;
    Protect(0, kMemoryProtectOn);
    Send(functions);
    Settled();
    EXPECT_TRUE(rack.MemoryProtected(0));
    EXPECT_NE(AsBytes(rack.FunctionBank(0)), DataOf(functions));
    Protect(0, kMemoryProtectOff);
    Send(functions);
    Settled();
    EXPECT_EQ(AsBytes(rack.FunctionBank(0)), DataOf(functions));
    // What was stored is what a request returns.
    Request(kFormatVoiceBank, 0);
    const auto received = replies.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], voices);
}

TEST_F(EmulatedRackTest, BulkWithWrongChecksumOrLengthIsIgnored) {
    Protect(3, kMemoryProtectOff);
    Bytes voices = RealBank("SynprezFM_11.syx");
    voices[2] = 0x03;
    const BankBytes before = rack.VoiceBank(3);
    Bytes corrupted = voices;
    corrupted[100] ^= 0x01;
    Send(corrupted);
    Bytes shortened(voices.begin(), voices.end() - 10);
    shortened.back() = 0xF7;
    Send(shortened);
    Settled();
    EXPECT_EQ(rack.VoiceBank(3), before);
    Send(voices);
    Settled();
    EXPECT_EQ(AsBytes(rack.VoiceBank(3)), DataOf(voices));
}

TEST_F(EmulatedRackTest, SingleMessagesAndParameterChangesEnterTheEditBuffer) {
    // Protection guards the memory only, not the edit buffer.
    Bytes voice(155);
    for (std::size_t i = 0; i < voice.size(); ++i) voice[i] = Byte(i % 100);
    Bytes function(94, 0x05);
    Send(BuildSysex(MakeSysexHeader(kFormatSingleVoice, 5, 155), voice));
    Send(BuildSysex(MakeSysexHeader(kFormatFunctions, 5, 94), function));  // DX7 format
    Settled();
    core::EditImage edit = rack.EditBuffer(5);
    EXPECT_EQ(Bytes(edit.begin(), edit.begin() + 155), voice);
    EXPECT_EQ(Bytes(edit.begin() + 155, edit.end()), function);

    function.assign(94, 0x00);
    Send(BuildSysex(MakeSysexHeader(kFormatSingleFunctionTx816, 5, 94), function));  // TX816 format
    auto change = [&](int parameter, int group, int value) {
        const ParameterChange message = MakeParameterChange(parameter, group, value, 5);
        Send(Bytes(message.begin(), message.end()));
    };
    change(16, kGroupVoice, 77);          // operator 6 output level
    change(134, kGroupVoice, 21);         // algorithm, sent as group 01h
    change(22, kGroupPerformance, 3);     // attenuation
    change(7, kGroupPerformance, 1);      // wheel assign: EG bias bit
    change(9, kGroupPerformance, 1);      // wheel assign: pitch bit
    change(7, kGroupPerformance, 0);
    change(155, kGroupVoice, 0x3F);       // operator switches: not part of the image
    Settled();
    edit = rack.EditBuffer(5);
    EXPECT_EQ(edit[16], 77);
    EXPECT_EQ(edit[134], 21);
    EXPECT_EQ(edit[155 + 26], 3);
    EXPECT_EQ(edit[155 + 10], 1);
    EXPECT_TRUE(std::all_of(edit.begin() + 155, edit.end(), [](Byte b) { return b <= 3; }));
    EXPECT_NE(rack.EditBuffer(4)[16], 77);  // other modules untouched
}

TEST_F(EmulatedRackTest, PatchBayPassesOnlyTheSelectedModule) {
    rack.SetModuleChannel(6, 1);  // modules 0 and 6 both listen to channel 1
    Request(kFormatSystemInfo, 0);
    EXPECT_EQ(replies.WaitFor(2).size(), 2u);  // all modules until the first select

    Select(6);
    Send({0xB0, 0x14, 0x00});  // controller 20 on another channel: no select
    Send({0xBF, 0x14, 0x09});  // no such module
    Request(kFormatSystemInfo, 0);
    Request(kFormatVoiceBank, 1);  // module 1 is not routed
    auto received = Settled();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(rack.SelectedModule(), 6u);

    Select(1);
    Request(kFormatVoiceBank, 1);
    received = replies.WaitFor(4);
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[3][2], 0x01);
    EXPECT_EQ(received[3].size(), 4104u);

    rack.SetPatchBayChannel(2);
    Send({0xB1, 0x14, 0x02});
    Settled();
    EXPECT_EQ(rack.SelectedModule(), 2u);
}

TEST_F(EmulatedRackTest, SilentModuleStillListens) {
    rack.SetSilent(2, true);
    Protect(2, kMemoryProtectOff);
    Request(kFormatVoiceBank, 2);
    Request(kFormatSystemInfo, 2);
    EXPECT_TRUE(Settled().empty());
    EXPECT_FALSE(rack.MemoryProtected(2));
    rack.SetSilent(2, false);
    Request(kFormatSystemInfo, 2);
    EXPECT_EQ(replies.WaitFor(1).size(), 1u);
}

TEST_F(EmulatedRackTest, CorruptedChecksumIsCaughtByTheAcceptanceRule) {
    rack.SetCorruptChecksum(0, true);
    Request(kFormatVoiceBank, 0);
    Request(kFormatSystemInfo, 0);
    auto received = replies.WaitFor(2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(AcceptReply(received[0]).error, ReplyError::kChecksum);
    EXPECT_EQ(AcceptReply(received[1]).error, ReplyError::kChecksum);
    EXPECT_EQ(DataOf(received[0]), AsBytes(rack.VoiceBank(0)));  // the data itself is intact
}

TEST_F(EmulatedRackTest, UnsolicitedBankDumpArrivesWithoutARequest) {
    rack.SendUnsolicitedBankDump(4);
    const auto received = replies.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(AcceptReply(received[0]).kind, ReplyKind::kVoiceBank);
    EXPECT_EQ(received[0][2], 0x04);
    EXPECT_EQ(DataOf(received[0]), AsBytes(rack.VoiceBank(4)));
    EXPECT_TRUE(rack.ReceivedMessages().empty());
}

TEST_F(EmulatedRackTest, PiecesWireSpeedAndDelayKeepTheBytes) {
    rack.SetPieceSize(1024);
    rack.SetReplyDelay(20ms);
    Request(kFormatVoiceBank, 0);
    auto received = replies.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(replies.Pieces(), 5u);  // 4104 bytes in pieces of 1024
    EXPECT_EQ(AcceptReply(received[0]).kind, ReplyKind::kVoiceBank);

    rack.SetPieceSize(0);
    rack.SetWireSpeed(true);
    Request(kFormatSystemInfo, 0);
    Request(kFormatSystemInfo, 1);
    received = replies.WaitFor(3);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[1][2], 0x00);  // in order
    EXPECT_EQ(received[2][2], 0x01);
    EXPECT_EQ(AcceptReply(received[2]).kind, ReplyKind::kSystemInfo);
}

TEST_F(EmulatedRackTest, LogHoldsEveryMessageInOrder) {
    Select(3);
    Request(kFormatSystemInfo, 3);
    Send({0xCF, 0x03});
    Settled();
    EXPECT_THAT(rack.ReceivedMessages(),
                ElementsAre(Bytes{0xBF, 0x14, 0x03}, Bytes{0xF0, 0x43, 0x23, 0x7D, 0xF7}, Bytes{0xCF, 0x03}));
    rack.ClearReceivedMessages();
    EXPECT_TRUE(rack.ReceivedMessages().empty());
}

TEST_F(EmulatedRackTest, NothingIsDeliveredBeforeStartOrAfterTheStreamIsGone) {
    ReplyCollector late;
    auto unstarted = rack.OpenInput(0, late);
    Request(kFormatSystemInfo, 0);
    EXPECT_EQ(Settled().size(), 1u);
    EXPECT_TRUE(late.Messages().empty());

    // Replies in flight while the stream closes: none reaches the handler afterwards.
    rack.SetReplyDelay(1ms);
    for (int i = 0; i < 20; ++i) Request(kFormatVoiceBank, Byte(i % 8));
    replies.WaitFor(2);
    input.reset();
    const std::size_t atClose = replies.Pieces();
    Settled();
    EXPECT_EQ(replies.Pieces(), atClose);
}

// Closes its own stream on the first message it is given.
class ClosingHandler final : public InputHandler {
public:
    void OnMidiData(std::span<const std::uint8_t>, std::uint32_t) override {
        ++calls;
        stream.reset();
    }
    std::unique_ptr<InputStream> stream;
    int calls = 0;
};

TEST_F(EmulatedRackTest, HandlerMayCloseItsStreamWhileBeingCalled) {
    ClosingHandler closing;
    closing.stream = rack.OpenInput(0, closing);
    closing.stream->Start();
    Request(kFormatSystemInfo, 0);
    Request(kFormatSystemInfo, 1);
    EXPECT_EQ(Settled().size(), 2u);
    EXPECT_EQ(closing.calls, 1);
    EXPECT_EQ(closing.stream, nullptr);
}

TEST_F(EmulatedRackTest, StreamsMayOutliveTheRackAndSendersMayRace) {
    auto rack2 = std::make_unique<EmulatedRack>();
    ReplyCollector collector;
    auto in = rack2->OpenInput(0, collector);
    in->Start();
    auto out1 = rack2->OpenOutput(0);
    auto out2 = rack2->OpenOutput(0);
    auto sender = [](OutputStream& out, Byte nibble) {
        const DumpRequest request = MakeDumpRequest(kFormatSystemInfo, nibble);
        for (int i = 0; i < 50; ++i) out.Send(request);
    };
    std::thread a(sender, std::ref(*out1), Byte(0));
    std::thread b(sender, std::ref(*out2), Byte(1));
    for (int i = 0; i < 50; ++i) rack2->EditBuffer(i % 8);
    a.join();
    b.join();
    EXPECT_EQ(collector.WaitFor(100).size(), 100u);
    rack2.reset();
    EXPECT_TRUE(out1->Send(Bytes{0xF0, 0x43, 0x20, 0x09, 0xF7}));  // taken, never answered
    in.reset();
}

}  // namespace
}  // namespace midi
