#include "librarian/BankRecovery.h"

#include <algorithm>
#include <map>

#include "core/Bankson.h"
#include "core/FileIo.h"
#include "platform/MessageBoxes.h"

namespace librarian {
namespace {

constexpr core::Byte kSysexStart = 0xF0;

std::string Counted(int count, const std::string& one) {
    // "voice-bank dump" -> "voice-bank dumps", "single voice" -> "single voices".
    return std::to_string(count) + " " + (count == 1 ? one : one + "s");
}

std::string KindName(core::MessageKind kind) {
    switch (kind) {
    case core::MessageKind::kVoiceBank: return "voice-bank dump";
    case core::MessageKind::kFunctionBank: return "function-bank dump";
    case core::MessageKind::kSingleVoice: return "single voice";
    case core::MessageKind::kSingleFunction: return "single function";
    case core::MessageKind::kOther: break;
    }
    return "other message";
}

}  // namespace

bool IsPlainBankFile(std::span<const core::Byte> bytes) {
    const std::size_t size = bytes.size();
    if (size == 0) return false;
    if (bytes[0] != kSysexStart)
        return size == core::kBankImageSize || size == core::kBankImageSize + 1 || size == 2 * core::kBankImageSize;
    return size == core::kBulkDumpSize && bytes[1] == 0x43 && bytes[3] == core::kVoiceBankFormat &&
           bytes.back() == 0xF7;
}

std::string FoundText(const core::FileReading& reading) {
    std::map<core::MessageKind, int> counts;
    for (const core::FoundMessage& message : reading.messages) ++counts[message.kind];
    std::vector<std::string> parts;
    for (const auto& [kind, count] : counts) parts.push_back(Counted(count, KindName(kind)));
    if (reading.messages.empty()) parts.push_back("a bank image");
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    text += ", " + Counted(reading.voiceCount, "voice");
    const bool stray = std::any_of(reading.fileNotes.begin(), reading.fileNotes.end(),
                                   [](const core::RepairNote& note) { return note.voice == 0; });
    if (stray) text += " (bytes around the messages skipped)";
    if (reading.repairedVoices > 0) text += "; " + Counted(reading.repairedVoices, "voice") + " repaired";
    return text;
}

core::BankImage FirstRecoveredVoices(const core::FileReading& reading) {
    core::VoiceSlot empty;
    core::InitSlot(empty);
    core::BankImage image{};
    for (std::size_t s = 0; s < core::kSlotsPerPage; ++s)
        std::copy(empty.voice.begin(), empty.voice.end(), image.begin() + std::ptrdiff_t(s * core::kPackedVoiceSize));
    std::size_t slot = 0;
    for (const core::RepairedBank& bank : reading.banks)
        for (int v = 0; v < bank.voiceCount && slot < core::kSlotsPerPage; ++v, ++slot)
            std::copy_n(bank.image.begin() + std::ptrdiff_t(v) * core::kPackedVoiceSize, core::kPackedVoiceSize,
                        image.begin() + std::ptrdiff_t(slot * core::kPackedVoiceSize));
    return image;
}

Recovery OfferRecoveredVoices(core::Bankson& bank, const std::filesystem::path& path) {
    const std::optional<std::vector<core::Byte>> bytes = core::ReadWholeFile(path);
    if (!bytes || IsPlainBankFile(*bytes)) return Recovery::kNotOffered;
    const core::FileReading reading = core::ReadVoiceFile(*bytes);
    if (!reading.HasVoices() || reading.kind == core::FileKind::kLibrary) return Recovery::kNotOffered;
    const std::string question = path.filename().string() + " is not a plain bank file.\nFound: " +
                                 FoundText(reading) + ".\n\nLoad the first " +
                                 std::to_string(std::min(reading.voiceCount, int(core::kSlotsPerPage))) +
                                 " voices recovered?";
    if (!platform::ConfirmYesNo(kRecoverTitle, question)) return Recovery::kDeclined;
    core::BankImageToPage(FirstRecoveredVoices(reading), bank.Page());
    bank.SetName(path.stem().string());
    return Recovery::kLoaded;
}

}  // namespace librarian
