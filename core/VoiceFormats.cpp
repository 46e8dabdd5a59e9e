#include "core/VoiceFormats.h"

#include <algorithm>
#include <cstring>

namespace core {
namespace {

constexpr std::size_t kPackedBlockSize = 17;
constexpr std::size_t kUnpackedBlockSize = 21;
constexpr std::size_t kOperatorCount = 6;
constexpr std::size_t kPackedFunctionHalf = 16;
constexpr std::size_t kUnpackedFunctionHalf = 30;

}  // namespace

void UnpackVoice(std::span<const Byte, kPackedVoiceSize> packed,
                 std::span<Byte, kUnpackedVoiceSize> unpacked) {
    for (std::size_t k = 0; k < kOperatorCount; ++k) {
        const Byte* b = packed.data() + kPackedBlockSize * k;
        Byte* u = unpacked.data() + kUnpackedBlockSize * k;
        std::copy(b, b + 11, u);
        u[11] = b[11] & 3;
        u[12] = (b[11] >> 2) & 3;
        u[13] = b[12] & 7;
        u[14] = b[13] & 3;
        u[15] = (b[13] >> 2) & 7;
        u[16] = b[14];
        u[17] = b[15] & 1;
        u[18] = (b[15] >> 1) & 31;
        u[19] = b[16];
        u[20] = (b[12] >> 3) & 15;
    }
    const Byte* b = packed.data();
    Byte* u = unpacked.data();
    std::copy(b + 102, b + 110, u + 126);
    u[134] = b[110] & 31;
    u[135] = b[111] & 7;
    u[136] = (b[111] >> 3) & 1;
    std::copy(b + 112, b + 116, u + 137);
    u[141] = b[116] & 1;
    u[142] = (b[116] >> 1) & 7;
    u[143] = (b[116] >> 4) & 7;
    std::copy(b + 117, b + 128, u + 144);
}

void PackVoice(std::span<const Byte, kUnpackedVoiceSize> unpacked,
               std::span<Byte, kPackedVoiceSize> packed) {
    for (std::size_t k = 0; k < kOperatorCount; ++k) {
        const Byte* u = unpacked.data() + kUnpackedBlockSize * k;
        Byte* b = packed.data() + kPackedBlockSize * k;
        std::copy(u, u + 11, b);
        b[11] = Byte((u[12] << 2) + (u[11] & 3));
        b[12] = Byte((u[20] << 3) + (u[13] & 7));
        b[13] = Byte((u[15] << 2) + (u[14] & 3));
        b[14] = u[16];
        b[15] = Byte((u[18] << 1) + (u[17] & 1));
        b[16] = u[19];
    }
    const Byte* u = unpacked.data();
    Byte* b = packed.data();
    std::copy(u + 126, u + 134, b + 102);
    b[110] = u[134] & 31;
    b[111] = Byte((u[136] << 3) + (u[135] & 7));
    std::copy(u + 137, u + 141, b + 112);
    b[116] = Byte((u[141] & 1) + (u[142] << 1) + (u[143] << 4));
    std::copy(u + 144, u + 155, b + 117);
}

void UnpackFunction(std::span<const Byte, kPackedFunctionSize> packed,
                    std::span<Byte, kUnpackedFunctionSize> unpacked) {
    for (std::size_t h = 0; h < 2; ++h) {
        const Byte* p = packed.data() + kPackedFunctionHalf * h;
        Byte* u = unpacked.data() + kUnpackedFunctionHalf * h;
        u[2] = (p[0] >> 6) & 1;
        u[3] = p[1] & 15;
        u[4] = Byte(((p[1] >> 4) & 15) + ((p[15] >> 3) & 8));
        u[5] = p[2];
        u[6] = p[3] & 1;
        u[7] = (p[3] >> 1) & 1;
        for (std::size_t j = 0; j < 4; ++j) {
            u[9 + 2 * j] = p[4 + j] & 15;
            u[10 + 2 * j] = (p[4 + j] >> 4) & 15;
        }
        u[26] = p[14] & 7;
    }
    unpacked[61] = (packed[32] >> 2) & 1;
    std::copy(packed.begin() + 34, packed.end(), unpacked.begin() + 64);
}

void PackFunction(std::span<const Byte, kUnpackedFunctionSize> unpacked,
                  std::span<Byte, kPackedFunctionSize> packed) {
    for (std::size_t h = 0; h < 2; ++h) {
        const Byte* u = unpacked.data() + kUnpackedFunctionHalf * h;
        Byte* p = packed.data() + kPackedFunctionHalf * h;
        p[0] = Byte((u[2] << 6) & 64);
        p[1] = Byte(((u[4] & 7) << 4) + (u[3] & 15));
        p[2] = u[5];
        p[3] = Byte(u[7] * 2 + u[6]);
        for (std::size_t j = 0; j < 4; ++j) p[4 + j] = Byte(u[10 + 2 * j] * 16 + u[9 + 2 * j]);
        p[14] = u[26] & 7;
        p[15] = Byte((u[4] & 8) << 3);
    }
    std::copy(unpacked.begin() + 64, unpacked.end(), packed.begin() + 34);
}

void InitVoice(Byte* buffer, std::size_t length, std::size_t nameOffset) {
    std::memset(buffer, 0, length);
    std::memcpy(buffer + nameOffset, kEmptyVoiceName, kNameSize);
    if (length == kPackedVoiceSize) buffer[kPackedVoiceSize] = 0;  // the slot's status byte
    if (length == kEditImageSize) buffer[kEditImageAttenuationOffset] = kDefaultAttenuation;
}

void InitSlot(VoiceSlot& slot) {
    InitVoice(reinterpret_cast<Byte*>(&slot), kPackedVoiceSize, kPackedNameOffset);
}

void InitEditImage(EditImage& image) {
    InitVoice(image.data(), kEditImageSize, kUnpackedNameOffset);
}

void InitFunction(PackedFunction& function) {
    function.fill(0);
    function[kPackedFunctionAttenuationOffset] = kDefaultAttenuation;
}

Byte BankChecksum(const Byte* data, std::ptrdiff_t length) {
    Byte sum = 0;
    for (std::ptrdiff_t i = 0; i < length; ++i) sum = Byte(sum + (data[i] & 0x7F));
    return Byte(-sum) & 0x7F;
}

void PageToBankImage(const VoicePage& page, std::span<Byte, kBankImageSize> image) {
    for (std::size_t s = 0; s < kSlotsPerPage; ++s)
        std::copy(page[s].voice.begin(), page[s].voice.end(), image.begin() + s * kPackedVoiceSize);
}

void BankImageToPage(std::span<const Byte, kBankImageSize> image, VoicePage& page) {
    for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
        const auto from = image.begin() + s * kPackedVoiceSize;
        std::copy(from, from + kPackedVoiceSize, page[s].voice.begin());
        page[s].status = kStatusUsed;
    }
}

std::string VoiceNameOf(const PackedVoice& voice) {
    return std::string(reinterpret_cast<const char*>(voice.data() + kPackedNameOffset), kNameSize);
}

std::string VoiceNameOf(const EditImage& image) {
    return std::string(reinterpret_cast<const char*>(image.data() + kUnpackedNameOffset), kNameSize);
}

}  // namespace core
