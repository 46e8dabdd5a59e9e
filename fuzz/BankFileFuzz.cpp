// Bank files of any size and content: only the four sizes with a rule are taken, each read
// exactly as its layout says, a refused file changes nothing after an error box, and what
// was loaded comes back unchanged after a save as a bank file and as a bulk dump.

#include <cstring>

#include "core/Bankson.h"
#include "core/BoxTexts.h"
#include "fuzz/FuzzSupport.h"
#include "platform/MessageBoxes.h"

namespace {

using core::Bankson;
using core::Byte;
using core::kBankImageSize;
using core::kFunctionBankSize;

// Slot and function contents no file gives by chance, so anything left untouched shows.
void FillWithPattern(Bankson& bank) {
    for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
        bank.Page()[s].voice.fill(Byte(0x80 + s));
        bank.Page()[s].status = Byte(0xA6 + s);
    }
    for (std::size_t f = 0; f < core::kFunctionsPerBank; ++f) bank.Functions()[f].fill(Byte(0xC0 ^ f));
}

bool SameSlots(const Bankson& a, const Bankson& b, std::size_t length) {
    return std::memcmp(&a.Slots(), &b.Slots(), length) == 0;
}

bool SameFunctions(const Bankson& bank, const Byte* expected) {
    return std::memcmp(bank.Functions().data(), expected, kFunctionBankSize) == 0;
}

// Every slot used, unselected and unmarked, holding the image's voice.
bool PageHoldsImage(const Bankson& bank, const Byte* image) {
    for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
        const core::VoiceSlot& slot = bank.Page()[s];
        if (slot.status != core::kStatusUsed) return false;
        if (std::memcmp(slot.voice.data(), image + s * core::kPackedVoiceSize, core::kPackedVoiceSize))
            return false;
    }
    return true;
}

// The image's 32 voices are the page's, slot by slot.
bool ImageHoldsVoices(const Byte* image, const Bankson& bank) {
    for (std::size_t s = 0; s < core::kSlotsPerPage; ++s)
        if (std::memcmp(bank.Page()[s].voice.data(), image + s * core::kPackedVoiceSize,
                        core::kPackedVoiceSize))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    static platform::RecordingBoxes boxes;
    const std::span<const std::uint8_t> input(data, size);
    const std::filesystem::path path = scratch.Write("INPUT.SYX", input);

    const bool bulkDump = size == core::kBulkDumpSize;
    const bool accepted = size == kBankImageSize || size == kBankImageSize + 1 || bulkDump ||
                          size == kBankImageSize + kFunctionBankSize;
    const bool voiceDump = bulkDump && data[3] == core::kVoiceBankFormat;

    Bankson untouched;
    FillWithPattern(untouched);
    for (const bool withFunctions : {false, true}) {
        Bankson bank;
        FillWithPattern(bank);
        boxes.Clear();
        const bool loaded = bank.LoadBankFile(path, withFunctions);
        FUZZ_CHECK(loaded == accepted);

        if (!loaded) {
            const platform::RecordingBoxes::Box error{platform::BoxKind::Error,
                                                     std::string(core::kFileErrorTitle),
                                                     std::string(core::kFileFormatErrorText), false};
            FUZZ_CHECK(boxes.Shown().size() == 1 && boxes.Shown()[0] == error);
            FUZZ_CHECK(SameSlots(bank, untouched, core::kBankSlotBlockLength));
            FUZZ_CHECK(bank.Name().empty());
            continue;
        }
        FUZZ_CHECK(boxes.Shown().empty());
        FUZZ_CHECK(bank.Name() == "INPUT");

        // The voices: the image at the file's start, a voice dump's data, or (function dump)
        // the page as it was.
        if (!bulkDump)
            FUZZ_CHECK(PageHoldsImage(bank, data));
        else if (voiceDump)
            FUZZ_CHECK(PageHoldsImage(bank, data + 6));
        else
            FUZZ_CHECK(SameSlots(bank, untouched, core::kBankVoicesLength));
        // The function bank: a function dump's data, or the second half of an 8192-byte file
        // when functions are wanted; otherwise untouched.
        const Byte* functions = untouched.Functions()[0].data();
        if (bulkDump && !voiceDump) functions = data + 6;
        if (withFunctions && size == kBankImageSize + kFunctionBankSize) functions = data + kBankImageSize;
        FUZZ_CHECK(SameFunctions(bank, functions));

        if (!withFunctions) continue;
        // Saved and read back: the same voices and function records, in both file kinds.
        FUZZ_CHECK(bank.SaveBankFile(scratch / "ROUND", true) == 0);
        const std::vector<Byte> saved = scratch.Read("ROUND.DX7");
        FUZZ_CHECK(saved.size() == kBankImageSize + kFunctionBankSize);
        FUZZ_CHECK(ImageHoldsVoices(saved.data(), bank));
        FUZZ_CHECK(SameFunctions(bank, saved.data() + kBankImageSize));
        Bankson reloaded;
        FUZZ_CHECK(reloaded.LoadBankFile(scratch / "ROUND.DX7", true));
        FUZZ_CHECK(PageHoldsImage(reloaded, saved.data()));
        FUZZ_CHECK(SameFunctions(reloaded, saved.data() + kBankImageSize));

        for (const bool functionBank : {false, true}) {
            const int channel = 1 + int(size % 16);
            FUZZ_CHECK(bank.SaveSysexFile(scratch / "DUMP", functionBank, channel) == 0);
            const std::vector<Byte> dump = scratch.Read("DUMP.SYX");
            FUZZ_CHECK(dump.size() == core::kBulkDumpSize);
            const Byte header[] = {0xF0, 0x43, Byte(channel - 1),
                                   functionBank ? core::kFunctionBankFormat : core::kVoiceBankFormat,
                                   0x20, 0x00};
            FUZZ_CHECK(std::memcmp(dump.data(), header, sizeof header) == 0);
            FUZZ_CHECK(dump[6 + kBankImageSize] == fuzz::Checksum(std::span(dump).subspan(6, kBankImageSize)));
            FUZZ_CHECK(dump.back() == 0xF7);
            Bankson fromDump;
            FillWithPattern(fromDump);
            FUZZ_CHECK(fromDump.LoadBankFile(scratch / "DUMP.SYX", false));
            if (functionBank) {
                FUZZ_CHECK(SameSlots(fromDump, untouched, core::kBankVoicesLength));
                FUZZ_CHECK(SameFunctions(fromDump, bank.Functions()[0].data()));
            } else {
                FUZZ_CHECK(PageHoldsImage(fromDump, saved.data()));
                FUZZ_CHECK(SameFunctions(fromDump, untouched.Functions()[0].data()));
            }
        }
        FUZZ_CHECK(boxes.Shown().empty());
    }
    return 0;
}
