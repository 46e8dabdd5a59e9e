#include "core/Bankson.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/BoxTexts.h"
#include "core/FileIo.h"
#include "platform/MessageBoxes.h"

namespace core {
namespace {

constexpr std::size_t kDumpHeaderSize = 6;
constexpr std::size_t kDumpFormatByte = 3;
constexpr std::uintmax_t kImageFileSize = kBankImageSize;                          // 4096
constexpr std::uintmax_t kImageFileWithExtraByte = kBankImageSize + 1;             // 4097
constexpr std::uintmax_t kImageWithFunctionsSize = kBankImageSize + kFunctionBankSize;  // 8192

// Copies the source slots chosen by `mask` into the destination's free slots, each into the
// first free one. Shows the warning with `fullText` when a chosen slot finds no room.
void CopyChosenSlots(const VoicePage& source, Byte mask, VoicePage& destination,
                     std::string_view fullText) {
    // Source and destination may be the same page: the walk goes over the page as it was, so
    // each chosen voice is copied once and the copies are not copied again.
    const VoicePage chosen = source;
    int copied = 0;
    for (const VoiceSlot& slot : chosen) {
        if (!(slot.status & mask)) continue;
        if (!Nomsyn::CopyToFirstFree(slot, destination)) {
            ShowCopyWarning(copied, fullText);
            return;
        }
        ++copied;
    }
}

}  // namespace

Bankson::Bankson() : slots_(std::make_unique<BankSlotBlock>()) {
    ClearVoices();
    ClearFunctions();
}

std::string Bankson::VoiceName(int slot) const {
    if (slot < 0 || slot >= int(kSlotsPerPage)) return {};
    return VoiceNameOf(slots_->page[slot].voice);
}

void Bankson::ClearVoices() { InitPage(slots_->page); }

void Bankson::ClearFunctions() {
    for (PackedFunction& function : slots_->functions) InitFunction(function);
}

void Bankson::ClearSelected(bool withFunctions) {
    Nomsyn::ClearSelected(slots_->page, FunctionsIf(withFunctions));
}

bool Bankson::IsSelected(int slot) const { return Nomsyn::IsSelected(slots_->page, slot); }

void Bankson::ClearSelection() { Nomsyn::ClearSelection(slots_->page); }

void Bankson::InvertSelection() { Nomsyn::InvertSelection(slots_->page); }

void Bankson::SortByName(bool withFunctions) {
    Nomsyn::SortByName(slots_->page, FunctionsIf(withFunctions));
}

void Bankson::FindDoubles(bool withFunctions, DoublesOptions options) {
    Nomsyn::FindDoubles(slots_->page, FunctionsIf(withFunctions), options);
}

void Bankson::Exchange(BankSlotBlock& other, std::size_t length) {
    if (&other == slots_.get()) return;
    length = std::min(length, kBankSlotBlockLength);
    Byte* mine = reinterpret_cast<Byte*>(slots_.get());
    std::swap_ranges(mine, mine + length, reinterpret_cast<Byte*>(&other));
}

void Bankson::CopyFromPage(const VoicePage& source, Byte mask) {
    CopyChosenSlots(source, mask, slots_->page, kBankFullText);
}

void Bankson::CopyToPage(VoicePage& destination, Byte mask) const {
    CopyChosenSlots(slots_->page, mask, destination, kPageFullText);
}

bool Bankson::LoadBankFile(const std::filesystem::path& path, bool withFunctions) {
    InputFile file(path);
    const std::uintmax_t size = file.Size();
    const bool accepted = size == kImageFileSize || size == kImageFileWithExtraByte ||
                          size == kBulkDumpSize || size == kImageWithFunctionsSize;
    // A refused or unreadable file changes nothing: the bank may hold voices not saved yet.
    if (!file.IsOpen() || !accepted) {
        platform::ShowError(kFileErrorTitle, kFileFormatErrorText);
        return false;
    }

    // Everything is read before anything changes.
    std::vector<Byte> image(kBankImageSize);
    std::vector<Byte> functions;
    bool voices = true;
    bool ok;
    if (size == kBulkDumpSize) {
        BulkDump dump;
        ok = file.Read(dump);
        if (ok) {
            const auto data = dump.begin() + kDumpHeaderSize;
            if (dump[kDumpFormatByte] == kVoiceBankFormat) {
                std::copy(data, data + kBankImageSize, image.begin());
            } else {
                // A function-bank dump: the voices are left exactly as they are.
                functions.assign(data, data + kFunctionBankSize);
                voices = false;
            }
        }
    } else {
        ok = file.Read(image);
        if (ok && withFunctions && size == kImageWithFunctionsSize) {
            functions.resize(kFunctionBankSize);
            ok = file.Read(functions);
        }
    }
    if (!ok) {
        platform::ShowError(kFileErrorTitle, kReadFileErrorText);
        return false;
    }

    if (voices) BankImageToPage(std::span<const Byte, kBankImageSize>(image), slots_->page);
    if (!functions.empty()) std::memcpy(slots_->functions.data(), functions.data(), kFunctionBankSize);
    name_ = path.stem().string();
    return true;
}

int Bankson::SaveBankFile(const std::filesystem::path& path, bool withFunctions) {
    BankImage image;
    PageToBankImage(slots_->page, image);
    const std::span<const Byte> parts[] = {
        image, std::span(reinterpret_cast<const Byte*>(slots_->functions.data()), kFunctionBankSize)};
    const SaveTarget target = ResolveSaveTarget(path, ".DX7");
    if (!SaveWithBackup(target, std::span(parts, withFunctions ? 2 : 1))) {
        platform::ShowError(kFileErrorTitle, kWriteFileErrorText);
        return 1;
    }
    name_ = target.baseName;
    return 0;
}

int Bankson::SaveSysexFile(const std::filesystem::path& path, bool functionBank, int channel) {
    const BulkDump dump = MakeBulkDump(functionBank, channel);
    const std::span<const Byte> parts[] = {dump};
    const SaveTarget target = ResolveSaveTarget(path, ".SYX");
    if (!SaveWithBackup(target, parts)) {
        platform::ShowError(kFileErrorTitle, kWriteFileErrorText);
        return 1;
    }
    name_ = target.baseName;
    return 0;
}

BulkDump Bankson::MakeBulkDump(bool functionBank, int channel) const {
    BulkDump dump{};
    dump[0] = 0xF0;
    dump[1] = 0x43;
    dump[2] = Byte((channel - 1) & 0x0F);
    dump[3] = functionBank ? kFunctionBankFormat : kVoiceBankFormat;
    dump[4] = 0x20;
    dump[5] = 0x00;
    const std::span<Byte, kBankImageSize> data(dump.data() + kDumpHeaderSize, kBankImageSize);
    if (functionBank)
        std::memcpy(data.data(), slots_->functions.data(), kFunctionBankSize);
    else
        PageToBankImage(slots_->page, data);
    dump[kDumpHeaderSize + kBankImageSize] = BankChecksum(data.data(), kBankImageSize);
    dump[kBulkDumpSize - 1] = 0xF7;
    return dump;
}

}  // namespace core
