#pragma once
// Reads a voice file as collectors find them: bulk dumps and single-voice dumps in any number
// and order, bytes between them, dumps without their closing F7, bad checksums, data bytes
// with their high bit set, real-time bytes inside a dump, parameters outside their ranges;
// also the raw bank images. Keeps what can be used, repaired, and says what it changed.
// A pure function of the bytes (no file, no output), safe on any input.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/VoiceFormats.h"

namespace core {


enum class FileKind {
    kNothing,            // nothing the program can read
    kSysex,              // system-exclusive messages
    kBankImage,          // 4096 bytes: a bank image
    kBankImageExtraByte, // 4097 bytes: a bank image and one byte more
    kBankWithFunctions,  // 8192 bytes: a bank image, then the function bank
    kLibrary,            // a library file
};

enum class MessageKind { kVoiceBank, kFunctionBank, kSingleVoice, kSingleFunction, kOther };
enum class ChecksumState { kGood, kWrong, kMissing };

// One thing the reader found wrong and what it did about it. `voice` is the voice's number
// 1-32 inside a bank (1 for a single voice), 0 for the message or file as a whole.
struct RepairNote {
    int voice;
    std::string text;
    bool operator==(const RepairNote&) const = default;
};

struct FoundMessage {
    std::size_t offset = 0;
    MessageKind kind = MessageKind::kOther;
    int channel = 0;  // 1-16; 0 when the header did not get that far
    ChecksumState checksum = ChecksumState::kMissing;
    // Voices taken from it, with their names after repair.
    std::vector<std::string> voiceNames;
    std::vector<RepairNote> notes;
};

// A bank as it will be written: the voices found, then empty voices up to 32.
struct RepairedBank {
    core::BankImage image{};
    int channel = 1;
    int voiceCount = 0;
    std::string origin;  // e.g. "message 1", "single voices of messages 2-9", "bank image"
};

struct FileReading {
    FileKind kind = FileKind::kNothing;
    std::vector<FoundMessage> messages;
    std::vector<RepairNote> fileNotes;  // bytes outside messages; the notes of a bank image
    std::vector<RepairedBank> banks;    // bank dumps and images first, then collected single voices
    int voiceCount = 0;                 // voices in the banks
    int repairedVoices = 0;             // of those, voices changed by the repair
    bool HasVoices() const { return voiceCount > 0; }
};

// How a file of these bytes is read, and what it holds.
FileReading ReadVoiceFile(std::span<const Byte> bytes);

// The repairs of one voice as read from a file. Data bytes lose their high bit, the packed
// form loses bits outside its parameter fields, parameters above their range are limited to
// their highest value; each change appends a note for `voiceNumber`. Returns the voice.
core::PackedVoice RepairPackedVoice(std::span<const Byte, core::kPackedVoiceSize> raw,
                                    int voiceNumber, std::vector<RepairNote>& notes);
core::PackedVoice RepairSingleVoice(std::span<const Byte, core::kUnpackedVoiceSize> raw,
                                    std::vector<RepairNote>& notes);

// True when the size (and first byte) are those of a library file.
bool LooksLikeLibrary(std::span<const Byte> bytes);

}  // namespace core
