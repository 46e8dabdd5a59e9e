// The command-line companion's repair reader on any bytes. What it keeps must be usable as it
// is: every kept voice already repaired (repairing it again changes nothing and says nothing),
// the counts add up, the messages found lie where the file has an F0h, and each bank it would
// write, sent back through the reader as a bulk dump, comes out the same with nothing to
// repair; so does the first voice of each bank as a single-voice dump.

#include <algorithm>
#include <cstring>

#include "core/SysexRepair.h"
#include "core/Bankson.h"
#include "core/VoiceFormats.h"
#include "fuzz/FuzzSupport.h"

namespace {

using core::Byte;

std::vector<Byte> Dump(Byte format, int channel, std::span<const Byte> data) {
    std::vector<Byte> message = {0xF0, 0x43, Byte(channel - 1), format, Byte(data.size() >> 7),
                                 Byte(data.size() & 0x7F)};
    message.insert(message.end(), data.begin(), data.end());
    message.push_back(fuzz::Checksum(data));
    message.push_back(0xF7);
    return message;
}

// Read back without a single note: one message of the kind given, one bank.
const core::RepairedBank& ReadsCleanly(const core::FileReading& reading, core::MessageKind kind) {
    FUZZ_CHECK(reading.kind == core::FileKind::kSysex);
    FUZZ_CHECK(reading.fileNotes.empty());
    FUZZ_CHECK(reading.messages.size() == 1);
    const core::FoundMessage& message = reading.messages[0];
    FUZZ_CHECK(message.kind == kind && message.checksum == core::ChecksumState::kGood);
    FUZZ_CHECK(message.notes.empty());
    FUZZ_CHECK(reading.repairedVoices == 0);
    FUZZ_CHECK(reading.banks.size() == 1);
    return reading.banks[0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const Byte> bytes(data, size);
    const core::FileReading reading = core::ReadVoiceFile(bytes);

    if (reading.kind == core::FileKind::kLibrary || reading.kind == core::FileKind::kNothing)
        FUZZ_CHECK(reading.banks.empty() && reading.voiceCount == 0);
    if (reading.kind == core::FileKind::kSysex) FUZZ_CHECK(!reading.messages.empty());
    std::size_t lastOffset = 0;
    for (std::size_t m = 0; m < reading.messages.size(); ++m) {
        const std::size_t offset = reading.messages[m].offset;
        FUZZ_CHECK(offset < size && data[offset] == 0xF0);
        FUZZ_CHECK(m == 0 || offset > lastOffset);
        lastOffset = offset;
        FUZZ_CHECK(reading.messages[m].channel >= 0 && reading.messages[m].channel <= 16);
    }
    int voices = 0;
    for (const core::RepairedBank& bank : reading.banks) {
        FUZZ_CHECK(bank.voiceCount >= 1 && bank.voiceCount <= 32);
        FUZZ_CHECK(bank.channel >= 1 && bank.channel <= 16);
        voices += bank.voiceCount;
    }
    FUZZ_CHECK(voices == reading.voiceCount);
    FUZZ_CHECK(reading.repairedVoices >= 0 && reading.repairedVoices <= reading.voiceCount);

    for (const core::RepairedBank& bank : reading.banks) {
        for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
            const auto voice = std::span(bank.image).subspan(s * core::kPackedVoiceSize).first<core::kPackedVoiceSize>();
            FUZZ_CHECK(std::all_of(voice.begin(), voice.end(), [](Byte b) { return b < 0x80; }));
            std::vector<core::RepairNote> notes;
            const core::PackedVoice again = core::RepairPackedVoice(voice, int(s) + 1, notes);
            FUZZ_CHECK(notes.empty());
            FUZZ_CHECK(std::equal(again.begin(), again.end(), voice.begin()));
        }

        const core::FileReading dump = core::ReadVoiceFile(Dump(core::kVoiceBankFormat, bank.channel, bank.image));
        const core::RepairedBank& back = ReadsCleanly(dump, core::MessageKind::kVoiceBank);
        FUZZ_CHECK(back.image == bank.image && back.channel == bank.channel && back.voiceCount == 32);

        core::UnpackedVoice single;
        core::UnpackVoice(std::span(bank.image).first<core::kPackedVoiceSize>(), single);
        const core::FileReading singleDump = core::ReadVoiceFile(Dump(0x00, bank.channel, single));
        const core::RepairedBank& singleBack = ReadsCleanly(singleDump, core::MessageKind::kSingleVoice);
        FUZZ_CHECK(singleBack.voiceCount == 1);
        FUZZ_CHECK(std::equal(bank.image.begin(), bank.image.begin() + core::kPackedVoiceSize,
                              singleBack.image.begin()));
    }
    return 0;
}
