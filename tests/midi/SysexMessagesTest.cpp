#include "midi/SysexMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "RecordingMessageSink.h"
#include "BankFiles.h"

namespace midi {
namespace {

using Bytes = std::vector<Byte>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class SysexMessagesTest : public ::testing::Test {
protected:
    RecordingMessageSink sink;
    MidiSettings settings;
    SysexMessages messages{sink, settings};

    const Bytes& Last() const { return sink.messages.back(); }
};

// Data bytes 0..n-1, each masked to 7 bits.
Bytes Counting(std::size_t n) {
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) data[i] = Byte(i & 0x7F);
    return data;
}

Bytes Framed(std::initializer_list<Byte> header, const Bytes& data) {
    Bytes message(header);
    message.insert(message.end(), data.begin(), data.end());
    message.push_back(core::BankChecksum(data.data(), std::ptrdiff_t(data.size())));
    message.push_back(0xF7);
    return message;
}

TEST_F(SysexMessagesTest, DocumentedExamples) {
    // Module 2 on channel 3.
    settings.moduleChannels[2] = 3;
    ASSERT_TRUE(messages.SendDumpRequest(2, kFormatVoiceBank));
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x22, 0x09, 0xF7));
    const Bytes bank = Counting(4096);
    messages.SendVoiceBank(2, std::span<const Byte, 4096>(bank.data(), 4096));
    EXPECT_THAT(Bytes(Last().begin(), Last().begin() + 6), ElementsAre(0xF0, 0x43, 0x02, 0x09, 0x20, 0x00));

    // Parameter 130, group 0, value 99, module on channel 1.
    messages.SendParameterChange(130, 0, kGroupVoice, 99);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x10, 0x01, 0x02, 0x63, 0xF7));

    // Patch bay program 3 is data byte 03h; with the defaults the status is CFh.
    messages.SendConfiguredPatchBayProgram();
    EXPECT_THAT(Last(), ElementsAre(0xCF, 0x03, 0x00));
}

TEST_F(SysexMessagesTest, VoiceBankOfARealFileIsSentByteForByte) {
    for (const char* name : {"SynprezFM_01.syx", "SynprezFM_17.syx"}) {
        const Bytes file = testing::ReadBytes(testing::BankFile(name));
        ASSERT_EQ(file.size(), 4104u) << name;
        messages.SendVoiceBank(0, std::span<const Byte, 4096>(file.data() + 6, 4096));
        EXPECT_EQ(Last(), file) << name;
    }
}

TEST_F(SysexMessagesTest, EveryBulkMessageIsFramedOnTheModuleChannel) {
    settings.moduleChannels[4] = 12;  // nibble 0Bh
    const Bytes functions = Counting(4096);
    const Bytes voice = Counting(155);
    const Bytes function = Counting(94);

    ASSERT_TRUE(messages.SendFunctionBank(4, std::span<const Byte, 4096>(functions.data(), 4096)));
    EXPECT_EQ(Last(), Framed({0xF0, 0x43, 0x0B, 0x02, 0x20, 0x00}, functions));

    messages.SendSingleVoice(4, std::span<const Byte, 155>(voice.data(), 155));
    EXPECT_EQ(Last().size(), 163u);
    EXPECT_EQ(Last(), Framed({0xF0, 0x43, 0x0B, 0x00, 0x01, 0x1B}, voice));

    messages.SendSingleFunction(4, std::span<const Byte, 94>(function.data(), 94));
    EXPECT_EQ(Last().size(), 102u);
    EXPECT_EQ(Last(), Framed({0xF0, 0x43, 0x0B, 0x01, 0x00, 0x5E}, function));

    const Byte three[] = {1, 2, 3};
    messages.SendSysex(three, MakeSysexHeader(0x00, 0x0B, 3), 3);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x0B, 0x00, 0x00, 0x03, 0x01, 0x02, 0x03, 0x7A, 0xF7));
}

TEST_F(SysexMessagesTest, Dx7ModeChangesTheFunctionMessagesAndSendsNoRequests) {
    settings.dx7 = true;
    settings.tx816 = false;
    settings.txCustom = false;
    const Bytes functions = Counting(4096);
    const Bytes function = Counting(94);

    EXPECT_FALSE(messages.SendDumpRequest(0, kFormatVoiceBank));
    EXPECT_FALSE(messages.SendFunctionBank(0, std::span<const Byte, 4096>(functions.data(), 4096)));
    messages.SelectModule(3);
    EXPECT_TRUE(sink.messages.empty());

    messages.SendSingleFunction(0, std::span<const Byte, 94>(function.data(), 94));
    EXPECT_EQ(Last(), Framed({0xF0, 0x43, 0x00, 0x02, 0x00, 0x5E}, function));
}

TEST_F(SysexMessagesTest, DumpRequestsOfEveryFormat) {
    settings.moduleChannels[7] = 16;
    for (Byte format : {kFormatVoiceBank, kFormatFunctions, kFormatSystemInfo}) {
        ASSERT_TRUE(messages.SendDumpRequest(7, format));
        EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x2F, format, 0xF7));
    }
    EXPECT_EQ(MakeDumpRequest(kFormatFunctions, 0), (DumpRequest{0xF0, 0x43, 0x20, 0x02, 0xF7}));
}

TEST_F(SysexMessagesTest, ParameterChangeGroupsAndMasking) {
    settings.moduleChannels[1] = 2;
    messages.SendParameterChange(127, 1, kGroupVoice, 5);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x11, 0x00, 0x7F, 0x05, 0xF7));
    messages.SendParameterChange(128, 1, kGroupVoice, 5);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x11, 0x01, 0x00, 0x05, 0xF7));
    messages.SendParameterChange(155, 1, kGroupVoice, 0x3F);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x11, 0x01, 0x1B, 0x3F, 0xF7));
    // Other groups keep their number; parameter and value keep their low 7 bits.
    messages.SendParameterChange(22, 1, kGroupPerformance, 7);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x11, 0x04, 0x16, 0x07, 0xF7));
    messages.SendParameterChange(0x85, 1, kGroupPerformance, 200);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x11, 0x04, 0x05, 0x48, 0xF7));
}

TEST_F(SysexMessagesTest, CurrentModuleComesFromTheOwnerAndChannelsAreReadWhenSending) {
    // Without an owner the current module is module 0.
    messages.SendParameterChangeCurrent(3, 40, kGroupVoice);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x10, 0x00, 0x03, 0x28, 0xF7));

    std::array<bool, kModuleCount> switches{};
    SysexMessages owned(sink, settings, [&] { return CurrentModuleOf(switches); });
    switches[5] = switches[6] = true;
    settings.moduleChannels[5] = 9;  // changed after construction: used at once
    owned.SendParameterChangeCurrent(3, 40, kGroupVoice);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x18, 0x00, 0x03, 0x28, 0xF7));
    switches.fill(false);
    owned.SendParameterChangeCurrent(3, 40, kGroupVoice);
    EXPECT_EQ(Last()[2], 0x10);
}

TEST_F(SysexMessagesTest, ModuleSelectOnlyOnACustomizedTx816) {
    messages.SelectModule(3);
    EXPECT_THAT(Last(), ElementsAre(0xBF, 0x14, 0x03));
    settings.patchBayChannel = 1;
    messages.SelectModule(7);
    EXPECT_THAT(Last(), ElementsAre(0xB0, 0x14, 0x07));
    settings.txCustom = false;
    messages.SelectModule(2);
    EXPECT_EQ(sink.messages.size(), 2u);
}

TEST_F(SysexMessagesTest, PatchBayProgramNeverSendsAnInvalidDataByte) {
    messages.SendPatchBayProgram(0, 1);
    EXPECT_THAT(Last(), ElementsAre(0xC0, 0x01, 0x00));
    messages.SendPatchBayProgram(15, 127);
    EXPECT_THAT(Last(), ElementsAre(0xCF, 0x7F, 0x00));
    // 128 has no data byte of its own: it takes the one 1-127 cannot reach.
    messages.SendPatchBayProgram(15, 128);
    EXPECT_THAT(Last(), ElementsAre(0xCF, 0x00, 0x00));
    settings.patchBayChannel = 4;
    settings.patchBayProgram = 128;
    messages.SendConfiguredPatchBayProgram();
    EXPECT_THAT(Last(), ElementsAre(0xC3, 0x00, 0x00));
}

TEST_F(SysexMessagesTest, MemoryProtectTogglesFromOnAndUsesTheModuleChannel) {
    settings.moduleChannels[0] = 5;
    EXPECT_EQ(messages.MemoryProtectState(0), kMemoryProtectOn);
    EXPECT_EQ(messages.ToggleMemoryProtect(0), kMemoryProtectOff);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x14, 0x11, 0x07, 0x00, 0xF7));
    EXPECT_EQ(messages.ToggleMemoryProtect(0), kMemoryProtectOn);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x14, 0x11, 0x07, 0x7F, 0xF7));
    EXPECT_EQ(messages.MemoryProtectState(1), kMemoryProtectOn);
    // Any state other than 00h counts as on.
    messages.SendMemoryProtect(1, 0x01);
    EXPECT_EQ(messages.ToggleMemoryProtect(1), kMemoryProtectOff);
}

TEST_F(SysexMessagesTest, MemoryProtectStateChangesOnlyWhenSent) {
    sink.failing = true;
    EXPECT_THROW(messages.ToggleMemoryProtect(2), std::runtime_error);
    EXPECT_EQ(messages.MemoryProtectState(2), kMemoryProtectOn);
    EXPECT_FALSE(messages.MemoryProtectSent(2)) << "still only assumed";
    sink.failing = false;
    // The user's second try still asks for protection off.
    EXPECT_EQ(messages.ToggleMemoryProtect(2), kMemoryProtectOff);
    EXPECT_THAT(Last(), ElementsAre(0xF0, 0x43, 0x12, 0x11, 0x07, 0x00, 0xF7));
    EXPECT_TRUE(messages.MemoryProtectSent(2));
    EXPECT_FALSE(messages.MemoryProtectSent(1));
}

TEST_F(SysexMessagesTest, MoreThan4096DataBytesAreRefused) {
    const Bytes data(4097);
    EXPECT_THROW(messages.SendSysex(data.data(), MakeSysexHeader(0x09, 0, 4097), 4097), std::length_error);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CurrentModuleOf, FirstSwitchDownOrModuleZero) {
    std::array<bool, kModuleCount> switches{};
    EXPECT_EQ(CurrentModuleOf(switches), 0u);
    switches[7] = true;
    EXPECT_EQ(CurrentModuleOf(switches), 7u);
    switches[3] = true;
    EXPECT_EQ(CurrentModuleOf(switches), 3u);
}

// --- acceptance of received messages ------------------------------------------------------

TEST(AcceptReply, RealBankIsTakenAsVoicesAndAsABlockByFormat) {
    Bytes file = testing::ReadBytes(testing::BankFile("SynprezFM_05.syx"));
    ASSERT_EQ(file.size(), 4104u);
    AcceptedReply reply = AcceptReply(file);
    EXPECT_EQ(reply.error, ReplyError::kNone);
    EXPECT_EQ(reply.kind, ReplyKind::kVoiceBank);
    ASSERT_EQ(reply.data.size(), 4096u);
    EXPECT_EQ(reply.data.data(), file.data() + 6);

    file[3] = kFormatFunctions;  // the header is not under the checksum
    reply = AcceptReply(file);
    EXPECT_EQ(reply.error, ReplyError::kNone);
    EXPECT_EQ(reply.kind, ReplyKind::kDataBlock);
    EXPECT_EQ(reply.data.size(), 4096u);
}

TEST(AcceptReply, OneCorruptedDataByteIsAChecksumError) {
    Bytes file = testing::ReadBytes(testing::BankFile("SynprezFM_09.syx"));
    ASSERT_EQ(file.size(), 4104u);
    file[6 + 128 * 20 + 5] ^= 0x01;
    const AcceptedReply reply = AcceptReply(file);
    EXPECT_EQ(reply.error, ReplyError::kChecksum);
    EXPECT_TRUE(reply.data.empty());
}

TEST(AcceptReply, EachAcceptedLengthGivesItsData) {
    struct Case {
        std::size_t dataSize;
        ReplyKind kind;
    };
    for (const Case c : {Case{155, ReplyKind::kSingleVoice}, Case{94, ReplyKind::kSingleFunction},
                         Case{16, ReplyKind::kSystemInfo}}) {
        const Bytes data = Counting(c.dataSize);
        // Third and fourth bytes hold nonsense: only checksum and length count.
        const Bytes message = BuildSysex({0xF0, 0x43, 0x7E, 0x55, 0x00, 0x00}, data);
        const AcceptedReply reply = AcceptReply(message);
        EXPECT_EQ(reply.error, ReplyError::kNone) << c.dataSize;
        EXPECT_EQ(reply.kind, c.kind) << c.dataSize;
        EXPECT_THAT(Bytes(reply.data.begin(), reply.data.end()), ElementsAreArray(data));
    }
}

TEST(AcceptReply, NothingButChecksumAndLengthIsExamined) {
    Bytes message = BuildSysex(MakeSysexHeader(0x00, 3, 155), Counting(155));
    message.front() = 0x00;
    message[1] = 0x41;       // another manufacturer
    message.back() = 0x00;   // no end byte
    message[4] = message[5] = 0;  // wrong byte count
    EXPECT_EQ(AcceptReply(message).error, ReplyError::kNone);
}

TEST(AcceptReply, ChecksumIsTestedBeforeLength) {
    Bytes message = BuildSysex(MakeSysexHeader(0x00, 0, 30), Counting(30));
    EXPECT_EQ(AcceptReply(message).error, ReplyError::kWrongSize);
    message[message.size() - 2] ^= 0x10;
    EXPECT_EQ(AcceptReply(message).error, ReplyError::kChecksum);
    // A 4104-byte message whose checksum is wrong is a checksum error, not a bank.
    Bytes bank = BuildSysex(MakeSysexHeader(0x09, 0, 4096), Counting(4096));
    bank[4102] ^= 0x01;
    EXPECT_EQ(AcceptReply(bank).error, ReplyError::kChecksum);
}

TEST(AcceptReply, MessagesShorterThanEightBytesAreWrongSize) {
    // Each on the heap at its exact size, so a read before or after it would be caught by
    // the address sanitizer.
    for (std::size_t length = 0; length < 8; ++length) {
        const Bytes message(length, 0x00);
        const AcceptedReply reply = AcceptReply(message);
        EXPECT_EQ(reply.error, ReplyError::kWrongSize) << length;
        EXPECT_TRUE(reply.data.empty()) << length;
    }
    // Eight bytes have an empty data block: its checksum is 00h.
    EXPECT_EQ(AcceptReply(Bytes{0xF0, 0x43, 0, 0, 0, 0, 0x00, 0xF7}).error, ReplyError::kWrongSize);
    EXPECT_EQ(AcceptReply(Bytes{0xF0, 0x43, 0, 0, 0, 0, 0x05, 0xF7}).error, ReplyError::kChecksum);
}

}  // namespace
}  // namespace midi
