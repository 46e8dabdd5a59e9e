#include "core/SysexRepair.h"

#include <algorithm>
#include <cstdio>

#include "core/VoiceParameters.h"
#include "core/Bankson.h"
#include "core/Libson.h"

namespace core {
namespace {

using core::kBankImageSize;
using core::kPackedVoiceSize;
using core::kSlotsPerPage;
using core::kUnpackedVoiceSize;

constexpr Byte kSysexStart = 0xF0;
constexpr Byte kSysexEnd = 0xF7;
constexpr Byte kYamaha = 0x43;
constexpr Byte kDataMask = 0x7F;
constexpr std::size_t kHeaderSize = 6;
constexpr Byte kFormatSingleVoice = 0x00;
constexpr Byte kFormatSingleFunctionTx816 = 0x01;
constexpr Byte kFormatFunctions = 0x02;
constexpr std::size_t kSingleFunctionSize = core::kUnpackedFunctionSize;  // 94

// Real-time messages may come between any two bytes of a dump recorded from a MIDI cable.
bool IsRealTime(Byte b) { return b >= 0xF8; }
bool EndsBody(Byte b) { return b == kSysexStart || b == kSysexEnd; }

std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02Xh", value);
    return text;
}

std::string Range(std::size_t first, std::size_t last) {
    return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

// The empty voice of a slot, as a bank file holds it.
core::PackedVoice EmptyVoice() {
    core::VoiceSlot slot;
    core::InitSlot(slot);
    return slot.voice;
}

std::string NameOf(const core::PackedVoice& voice) { return core::VoiceNameOf(voice); }

struct Expected {
    MessageKind kind;
    std::size_t dataSize;
};

class Reader {
public:
    Reader(std::span<const Byte> bytes, FileReading& result) : bytes_(bytes), result_(result) {}

    void ReadMessages() {
        std::size_t pos = 0;
        while (pos < bytes_.size()) {
            if (bytes_[pos] != kSysexStart) {
                if (strayFrom_ == kNone) strayFrom_ = pos;
                ++pos;
                continue;
            }
            FlushStray(pos);
            pos = ReadMessage(pos);
        }
        FlushStray(bytes_.size());
        CollectSingles();
    }

    void ReadImage() {
        RepairedBank bank;
        bank.origin = "bank image";
        bank.voiceCount = int(kSlotsPerPage);
        TakeBankVoices(bytes_.first(kBankImageSize), bank, result_.fileNotes, nullptr);
        if (result_.kind == FileKind::kBankImageExtraByte)
            result_.fileNotes.push_back({0, "the byte after the bank image is ignored"});
        if (result_.kind == FileKind::kBankWithFunctions)
            result_.fileNotes.push_back({0, "the function bank after the voices is not written"});
        AddBank(std::move(bank));
    }

private:
    static constexpr std::size_t kNone = std::size_t(-1);

    void FlushStray(std::size_t end) {
        if (strayFrom_ == kNone) return;
        const std::size_t count = end - strayFrom_;
        result_.fileNotes.push_back(
            {0, "bytes " + Range(strayFrom_, end - 1) + " (" + std::to_string(count) +
                    (count == 1 ? " byte" : " bytes") + ") belong to no message: skipped"});
        strayFrom_ = kNone;
    }

    // Where a message that is not read ends: after its F7, or at the next F0.
    std::size_t SkipMessage(std::size_t from) const {
        while (from < bytes_.size() && !EndsBody(bytes_[from])) ++from;
        return from < bytes_.size() && bytes_[from] == kSysexEnd ? from + 1 : from;
    }

    // True when F0 43 (a Yamaha message) starts in [from, to): the dump before it was cut
    // short, even if some F7 further on stands where its end would be.
    bool HoldsMessageStart(std::size_t from, std::size_t to) const {
        for (std::size_t p = from; p + 1 < to; ++p)
            if (bytes_[p] == kSysexStart && bytes_[p + 1] == kYamaha) return true;
        return false;
    }

    std::size_t Skip(FoundMessage& message, std::size_t from, std::string why) {
        message.notes.push_back({0, std::move(why)});
        result_.messages.push_back(std::move(message));
        return SkipMessage(from);
    }

    // Reads the message starting with the F0 at `start`; returns where reading goes on.
    std::size_t ReadMessage(std::size_t start) {
        FoundMessage message;
        message.offset = start;
        const std::size_t maker = start + 1;
        if (maker < bytes_.size() && !EndsBody(bytes_[maker]) && bytes_[maker] != kYamaha)
            return Skip(message, maker, "a message of another maker (ID " + Hex(bytes_[maker]) + "): skipped");
        std::array<Byte, kHeaderSize - 1> header;
        for (std::size_t i = 0; i < header.size(); ++i) {
            const std::size_t p = start + 1 + i;
            if (p >= bytes_.size() || EndsBody(bytes_[p]))
                return Skip(message, p, "cut short inside its header: skipped");
            header[i] = bytes_[p];
        }
        for (std::size_t i = 1; i < header.size(); ++i)
            if (header[i] & ~kDataMask) {
                message.notes.push_back({0, "header byte " + std::to_string(i + 1) +
                                                ": high bit cleared (" + Hex(header[i]) + " -> " +
                                                Hex(header[i] & kDataMask) + ")"});
                header[i] &= kDataMask;
            }
        const Byte subStatus = header[1];
        message.channel = (subStatus & 0x0F) + 1;
        if (subStatus & 0x70)
            return Skip(message, start + 1,
                        "not a bulk dump (sub-status " + Hex(subStatus) + "): skipped");
        const Byte format = header[2];
        const std::size_t count = std::size_t(header[3]) * 128 + header[4];
        Expected expected{MessageKind::kOther, 0};
        if (format == core::kVoiceBankFormat)
            expected = {MessageKind::kVoiceBank, kBankImageSize};
        else if (format == kFormatSingleVoice)
            expected = {MessageKind::kSingleVoice, kUnpackedVoiceSize};
        else if (format == kFormatFunctions && count != kSingleFunctionSize)
            expected = {MessageKind::kFunctionBank, core::kFunctionBankSize};
        else if (format == kFormatFunctions || format == kFormatSingleFunctionTx816)
            expected = {MessageKind::kSingleFunction, kSingleFunctionSize};
        message.kind = expected.kind;
        if (expected.kind == MessageKind::kOther)
            return Skip(message, start + 1, "unknown format " + Hex(format) + ": skipped");
        if (count != expected.dataSize)
            message.notes.push_back({0, "byte count " + std::to_string(count) + " corrected to " +
                                            std::to_string(expected.dataSize)});

        const std::size_t dataStart = start + kHeaderSize;
        const std::size_t need = expected.dataSize;
        std::vector<Byte> body;
        std::size_t next;
        const std::size_t exactEnd = dataStart + need + 1;
        if (exactEnd < bytes_.size() && bytes_[exactEnd] == kSysexEnd &&
            !HoldsMessageStart(dataStart, exactEnd)) {
            // F7 where it belongs: every byte before it is data, whatever its high bit says.
            body.assign(bytes_.begin() + dataStart, bytes_.begin() + exactEnd);
            next = exactEnd + 1;
        } else {
            std::size_t end = dataStart;
            while (end < bytes_.size() && !EndsBody(bytes_[end])) ++end;
            body.assign(bytes_.begin() + std::min(dataStart, end), bytes_.begin() + end);
            const auto realTime = std::size_t(std::count_if(body.begin(), body.end(), IsRealTime));
            if (realTime > 0 && body.size() != need + 1 &&
                (body.size() - realTime == need + 1 || body.size() - realTime == need)) {
                std::erase_if(body, IsRealTime);
                message.notes.push_back({0, std::to_string(realTime) +
                                                " real-time bytes inside the message removed"});
            }
            const bool closed = end < bytes_.size() && bytes_[end] == kSysexEnd;
            next = closed ? end + 1 : end;
            if (!closed) message.notes.push_back({0, "no closing F7"});
        }
        if (body.size() > need + 1) {
            message.notes.push_back({0, std::to_string(body.size() - need - 1) +
                                            " bytes after the checksum skipped"});
            body.resize(need + 1);
        }
        const std::size_t dataSize = std::min(body.size(), need);
        if (body.size() > need) {
            const Byte found = body[need];
            const Byte computed = core::BankChecksum(body.data(), std::ptrdiff_t(need));
            message.checksum = found == computed ? ChecksumState::kGood : ChecksumState::kWrong;
            if (found != computed)
                message.notes.push_back({0, "checksum " + Hex(found) + " wrong (the data give " +
                                                Hex(computed) + "): recomputed"});
        } else if (dataSize == need) {
            message.notes.push_back({0, "checksum missing: computed"});
        }
        const std::span<const Byte> data(body.data(), dataSize);
        TakeMessage(message, expected, data);
        result_.messages.push_back(std::move(message));
        return next;
    }

    void TakeMessage(FoundMessage& message, const Expected& expected, std::span<const Byte> data) {
        const bool whole = data.size() == expected.dataSize;
        const int number = int(result_.messages.size()) + 1;
        switch (expected.kind) {
        case MessageKind::kVoiceBank: {
            const std::size_t voices = data.size() / kPackedVoiceSize;
            if (voices == 0) {
                message.notes.push_back({0, "cut short before its first voice: nothing usable"});
                return;
            }
            if (!whole)
                message.notes.push_back(
                    {0, "cut short after " + std::to_string(data.size()) + " data bytes: voices " +
                            Range(voices + 1, kSlotsPerPage) + " missing, left empty"});
            RepairedBank bank;
            bank.channel = message.channel;
            bank.voiceCount = int(voices);
            bank.origin = "message " + std::to_string(number);
            TakeBankVoices(data.first(voices * kPackedVoiceSize), bank, message.notes,
                           &message.voiceNames);
            AddBank(std::move(bank));
            return;
        }
        case MessageKind::kSingleVoice: {
            if (!whole) {
                message.notes.push_back({0, "cut short: nothing usable"});
                return;
            }
            const std::size_t before = message.notes.size();
            const core::PackedVoice voice =
                RepairSingleVoice(data.first<kUnpackedVoiceSize>(), message.notes);
            if (message.notes.size() != before) ++result_.repairedVoices;
            message.voiceNames.push_back(NameOf(voice));
            singles_.push_back({voice, message.channel, number});
            return;
        }
        case MessageKind::kFunctionBank:
        case MessageKind::kSingleFunction:
            message.notes.push_back({0, "function data, no voices: not written"});
            return;
        case MessageKind::kOther: return;
        }
    }

    // Repairs `voices` packed voices into the bank's first slots; the rest stay empty.
    void TakeBankVoices(std::span<const Byte> voices, RepairedBank& bank,
                        std::vector<RepairNote>& notes, std::vector<std::string>* names) {
        const core::PackedVoice empty = EmptyVoice();
        for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
            core::PackedVoice voice = empty;
            if ((s + 1) * kPackedVoiceSize <= voices.size()) {
                const std::size_t before = notes.size();
                voice = RepairPackedVoice(
                    voices.subspan(s * kPackedVoiceSize).first<kPackedVoiceSize>(), int(s) + 1, notes);
                if (notes.size() != before) ++result_.repairedVoices;
                if (names) names->push_back(NameOf(voice));
            }
            std::copy(voice.begin(), voice.end(), bank.image.begin() + s * kPackedVoiceSize);
        }
    }

    void AddBank(RepairedBank bank) {
        result_.voiceCount += bank.voiceCount;
        result_.banks.push_back(std::move(bank));
    }

    // The single voices, 32 to a bank in the order they came.
    void CollectSingles() {
        const core::PackedVoice empty = EmptyVoice();
        for (std::size_t first = 0; first < singles_.size(); first += kSlotsPerPage) {
            const std::size_t count = std::min(kSlotsPerPage, singles_.size() - first);
            RepairedBank bank;
            bank.channel = singles_[first].channel;
            bank.voiceCount = int(count);
            const int from = singles_[first].message, to = singles_[first + count - 1].message;
            bank.origin = from == to ? "single voice of message " + std::to_string(from)
                                     : "single voices of messages " + Range(std::size_t(from), std::size_t(to));
            for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
                const core::PackedVoice& voice = s < count ? singles_[first + s].voice : empty;
                std::copy(voice.begin(), voice.end(), bank.image.begin() + s * kPackedVoiceSize);
            }
            AddBank(std::move(bank));
        }
    }

    struct Single {
        core::PackedVoice voice;
        int channel;
        int message;
    };

    std::span<const Byte> bytes_;
    FileReading& result_;
    std::size_t strayFrom_ = kNone;
    std::vector<Single> singles_;
};

void NoteHighBits(std::span<const Byte> raw, int voiceNumber, std::vector<RepairNote>& notes) {
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (raw[i] & ~kDataMask)
            notes.push_back({voiceNumber, "byte " + std::to_string(i) + ": high bit cleared (" +
                                              Hex(raw[i]) + " -> " + Hex(raw[i] & kDataMask) + ")"});
}

void NoteRangeChanges(const std::vector<RangeChange>& changes, int voiceNumber,
                      std::vector<RepairNote>& notes) {
    for (const RangeChange& change : changes)
        notes.push_back({voiceNumber, ParameterName(change.parameter) + " " +
                                          std::to_string(change.was) + " above its range: " +
                                          std::to_string(change.now)});
}

}  // namespace

core::PackedVoice RepairPackedVoice(std::span<const Byte, kPackedVoiceSize> raw, int voiceNumber,
                                    std::vector<RepairNote>& notes) {
    NoteHighBits(raw, voiceNumber, notes);
    core::PackedVoice masked;
    std::transform(raw.begin(), raw.end(), masked.begin(), [](Byte b) { return Byte(b & kDataMask); });
    core::UnpackedVoice unpacked;
    core::UnpackVoice(masked, unpacked);
    // Unpacking reads each field through its mask, as the instrument does; packing again shows
    // which bits no parameter owns.
    core::PackedVoice fieldsOnly;
    core::PackVoice(unpacked, fieldsOnly);
    for (std::size_t i = 0; i < kPackedVoiceSize; ++i)
        if (fieldsOnly[i] != masked[i])
            notes.push_back({voiceNumber, "byte " + std::to_string(i) +
                                              ": bits outside its parameters cleared (" +
                                              Hex(masked[i]) + " -> " + Hex(fieldsOnly[i]) + ")"});
    NoteRangeChanges(LimitToRanges(unpacked), voiceNumber, notes);
    core::PackedVoice repaired;
    core::PackVoice(unpacked, repaired);
    return repaired;
}

core::PackedVoice RepairSingleVoice(std::span<const Byte, kUnpackedVoiceSize> raw,
                                    std::vector<RepairNote>& notes) {
    NoteHighBits(raw, 1, notes);
    core::UnpackedVoice unpacked;
    std::transform(raw.begin(), raw.end(), unpacked.begin(), [](Byte b) { return Byte(b & kDataMask); });
    NoteRangeChanges(LimitToRanges(unpacked), 1, notes);
    core::PackedVoice packed;
    core::PackVoice(unpacked, packed);
    return packed;
}

bool LooksLikeLibrary(std::span<const Byte> bytes) {
    const std::size_t size = bytes.size();
    return size >= core::kMarkerNamesSize + core::kPageSize &&
           (size - core::kMarkerNamesSize) % core::kPageSize == 0 && bytes[0] != kSysexStart;
}

FileReading ReadVoiceFile(std::span<const Byte> bytes) {
    FileReading result;
    if (LooksLikeLibrary(bytes)) {
        result.kind = FileKind::kLibrary;
        return result;
    }
    const bool image = !bytes.empty() && bytes[0] != kSysexStart;
    if (image && bytes.size() == kBankImageSize) result.kind = FileKind::kBankImage;
    if (image && bytes.size() == kBankImageSize + 1) result.kind = FileKind::kBankImageExtraByte;
    if (image && bytes.size() == kBankImageSize + core::kFunctionBankSize)
        result.kind = FileKind::kBankWithFunctions;
    Reader reader(bytes, result);
    if (result.kind != FileKind::kNothing) {
        reader.ReadImage();
        return result;
    }
    reader.ReadMessages();
    if (!result.messages.empty()) result.kind = FileKind::kSysex;
    return result;
}

}  // namespace core
