#pragma once
// One TF1 module's bank: 32 voice slots, the 64 function records, and the name under which
// it was last loaded or saved; with the bank files ".DX7" (raw image) and ".SYX" (bulk dump).

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "core/Nomsyn.h"
#include "core/VoiceFormats.h"

namespace core {

// The page and the function bank in one contiguous block, addressed as a whole by bank
// exchanges and filled in place by the dump engine.
struct BankSlotBlock {
    VoicePage page;
    FunctionBank functions;
};
static_assert(sizeof(BankSlotBlock) == kPageSize + kFunctionBankSize);

// One bank per TF1 module, reached by module index 0-7.
inline constexpr int kModuleCount = 8;

inline constexpr std::size_t kBankVoicesLength = kPageSize;                             // 4128
inline constexpr std::size_t kBankSlotBlockLength = kPageSize + kFunctionBankSize;      // 8224
inline constexpr std::size_t kBulkDumpSize = 6 + kBankImageSize + 2;                    // 4104
inline constexpr Byte kVoiceBankFormat = 0x09;
inline constexpr Byte kFunctionBankFormat = 0x02;

using BulkDump = std::array<Byte, kBulkDumpSize>;

class Bankson : public Nomsyn {
public:
    // All slots and function records empty, name empty.
    Bankson();

    BankSlotBlock& Slots() { return *slots_; }
    const BankSlotBlock& Slots() const { return *slots_; }
    VoicePage& Page() { return slots_->page; }
    const VoicePage& Page() const { return slots_->page; }
    FunctionBank& Functions() { return slots_->functions; }
    const FunctionBank& Functions() const { return slots_->functions; }

    const std::string& Name() const { return name_; }
    // Puts back a name the bank had (undo), or names voices that came from a file by another
    // way than LoadBankFile; loads and saves set it themselves.
    void SetName(std::string name) { name_ = std::move(name); }
    // The slot's 10 name bytes; empty for a slot number outside 0-31.
    std::string VoiceName(int slot) const;

    // Every slot emptied; function records untouched.
    void ClearVoices();
    void ClearFunctions();
    // Selected slots emptied; with functions their function records too.
    void ClearSelected(bool withFunctions);
    bool IsSelected(int slot) const;
    void ClearSelection();
    void InvertSelection();
    void SortByName(bool withFunctions);
    // With functions and erase, the function records of emptied doubles are emptied too.
    void FindDoubles(bool withFunctions, DoublesOptions options);

    // Swaps the first `length` bytes of the two slot blocks: kBankVoicesLength (voices with
    // status) or kBankSlotBlockLength (also the function records).
    void Exchange(BankSlotBlock& other, std::size_t length);

    // Copies the source slots whose status has a bit of `mask` set (1 used, 2 selected) into
    // this bank's free slots; a "Copy Warning" tells how many went in when it runs full.
    void CopyFromPage(const VoicePage& source, Byte mask);
    // The same in the other direction, into a page's free slots.
    void CopyToPage(VoicePage& destination, Byte mask) const;

    // Reads a ".DX7" or ".SYX" file; false (after an error box) when it can't, and then the
    // bank (voices, function records, name) is as it was.
    bool LoadBankFile(const std::filesystem::path& path, bool withFunctions);
    // Writes the bank image (with functions followed by the function bank); 0 on success,
    // 1 (after an error box) on failure.
    int SaveBankFile(const std::filesystem::path& path, bool withFunctions);
    // Writes one bulk-dump message: the voice bank, or with `functionBank` the function bank.
    int SaveSysexFile(const std::filesystem::path& path, bool functionBank, int channel);

    // The bulk-dump message of the voices (format 09) or the function bank (format 02) for a
    // module on MIDI channel 1-16.
    BulkDump MakeBulkDump(bool functionBank, int channel) const;

private:
    FunctionBank* FunctionsIf(bool withFunctions) { return withFunctions ? &slots_->functions : nullptr; }

    std::unique_ptr<BankSlotBlock> slots_;
    std::string name_;
};

}  // namespace core
