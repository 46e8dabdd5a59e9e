#include "core/Edtson.h"

namespace core {
namespace {

std::span<Byte, kUnpackedVoiceSize> VoicePart(EditImage& image) {
    return std::span<Byte, kUnpackedVoiceSize>(image.data(), kUnpackedVoiceSize);
}

std::span<const Byte, kUnpackedVoiceSize> VoicePart(const EditImage& image) {
    return std::span<const Byte, kUnpackedVoiceSize>(image.data(), kUnpackedVoiceSize);
}

std::span<Byte, kUnpackedFunctionSize> FunctionPart(EditImage& image) {
    return std::span<Byte, kUnpackedFunctionSize>(image.data() + kUnpackedVoiceSize,
                                                  kUnpackedFunctionSize);
}

std::span<const Byte, kUnpackedFunctionSize> FunctionPart(const EditImage& image) {
    return std::span<const Byte, kUnpackedFunctionSize>(image.data() + kUnpackedVoiceSize,
                                                        kUnpackedFunctionSize);
}

void Unpack(const PackedVoice& voice, const PackedFunction* function, EditImage& image) {
    UnpackVoice(voice, VoicePart(image));
    if (function) UnpackFunction(*function, FunctionPart(image));
}

}  // namespace

Edtson::Edtson() { ResetImages(); }

void Edtson::ResetImages() {
    InitEditImage(working_);
    InitEditImage(compare_);
}

std::string Edtson::TakeVoice(const PackedVoice& voice, const PackedFunction* function,
                              bool withFunctions, bool link) {
    const PackedFunction* taken = withFunctions ? function : nullptr;
    if (link)
        Unpack(voice, taken, compare_);
    else
        compare_ = working_;
    Unpack(voice, taken, working_);
    return VoiceNameOf(working_);
}

void Edtson::StoreVoice(VoiceSlot& slot) const {
    PackVoice(VoicePart(working_), slot.voice);
    slot.status = kStatusUsed;
}

void Edtson::StoreVoice(VoicePage& page, int slot, bool withFunctions,
                        FunctionBank* bankFunctions) const {
    if (slot < 0 || slot >= int(kSlotsPerPage)) return;
    StoreVoice(page[slot]);
    if (withFunctions && bankFunctions)
        PackFunction(FunctionPart(working_), (*bankFunctions)[slot]);
}

}  // namespace core
