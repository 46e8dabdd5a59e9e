#pragma once
// The DX7 voice and function layouts, the slot record that carries a voice with its status,
// the 32-slot page, and the conversions between packed and unpacked forms.
// All conversions work in place on caller-owned buffers and never allocate.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace core {

using Byte = std::uint8_t;

inline constexpr std::size_t kPackedVoiceSize = 128;
inline constexpr std::size_t kUnpackedVoiceSize = 155;
inline constexpr std::size_t kPackedFunctionSize = 64;
inline constexpr std::size_t kUnpackedFunctionSize = 94;
inline constexpr std::size_t kSlotSize = 129;
inline constexpr std::size_t kSlotsPerPage = 32;
inline constexpr std::size_t kPageSize = kSlotSize * kSlotsPerPage;            // 4128
inline constexpr std::size_t kBankImageSize = kPackedVoiceSize * kSlotsPerPage;  // 4096
inline constexpr std::size_t kFunctionsPerBank = 64;
inline constexpr std::size_t kFunctionBankSize = kPackedFunctionSize * kFunctionsPerBank;  // 4096
inline constexpr std::size_t kEditImageSize = kUnpackedVoiceSize + kUnpackedFunctionSize;  // 249
inline constexpr std::size_t kNameSize = 10;
inline constexpr std::size_t kPackedNameOffset = 118;
inline constexpr std::size_t kUnpackedNameOffset = 145;
// Bytes 0..117 of a packed voice: every parameter but the name.
inline constexpr std::size_t kVoiceParameterBytes = kPackedNameOffset;
// Attenuation of function half 0, inside an edit image and inside a packed function record.
inline constexpr std::size_t kEditImageAttenuationOffset = kUnpackedVoiceSize + 26;  // 181
inline constexpr std::size_t kPackedFunctionAttenuationOffset = 14;
inline constexpr Byte kDefaultAttenuation = 7;

inline constexpr char kEmptyVoiceName[] = "----------";

// Status byte of a slot: bit 0 used, bit 1 selected, bits 2..7 marker number.
inline constexpr Byte kStatusUsed = 0x01;
inline constexpr Byte kStatusSelected = 0x02;
inline constexpr int kMarkerShift = 2;

using PackedVoice = std::array<Byte, kPackedVoiceSize>;
using UnpackedVoice = std::array<Byte, kUnpackedVoiceSize>;
using PackedFunction = std::array<Byte, kPackedFunctionSize>;
using UnpackedFunction = std::array<Byte, kUnpackedFunctionSize>;
using EditImage = std::array<Byte, kEditImageSize>;
using FunctionBank = std::array<PackedFunction, kFunctionsPerBank>;

struct VoiceSlot {
    PackedVoice voice;
    Byte status;

    bool IsUsed() const { return status & kStatusUsed; }
    bool IsSelected() const { return status & kStatusSelected; }
    int Marker() const { return status >> kMarkerShift; }
};

using VoicePage = std::array<VoiceSlot, kSlotsPerPage>;

static_assert(sizeof(VoiceSlot) == kSlotSize);
static_assert(sizeof(VoicePage) == kPageSize);
static_assert(sizeof(FunctionBank) == kFunctionBankSize);

// Packed voice -> single-voice layout: writes all 155 destination bytes.
void UnpackVoice(std::span<const Byte, kPackedVoiceSize> packed,
                 std::span<Byte, kUnpackedVoiceSize> unpacked);
// Single-voice layout -> packed voice: writes all 128 destination bytes.
void PackVoice(std::span<const Byte, kUnpackedVoiceSize> unpacked,
               std::span<Byte, kPackedVoiceSize> packed);
// Writes only the unpacked bytes that have a packed counterpart.
void UnpackFunction(std::span<const Byte, kPackedFunctionSize> packed,
                    std::span<Byte, kUnpackedFunctionSize> unpacked);
// Writes only packed bytes 0-7, 14 and 15 of each half and bytes 34-63; the rest keep their values.
void PackFunction(std::span<const Byte, kUnpackedFunctionSize> unpacked,
                  std::span<Byte, kPackedFunctionSize> packed);

// Empties a voice buffer: length 128 (a slot: also clears the status byte that follows),
// or 249 (an edit image: also sets the attenuation byte 181 to 7). The name "----------"
// goes to nameOffset.
void InitVoice(Byte* buffer, std::size_t length, std::size_t nameOffset);
// Typed shorthands for the two uses above.
void InitSlot(VoiceSlot& slot);
void InitEditImage(EditImage& image);
void InitFunction(PackedFunction& function);

// 7-bit two's complement of the sum of the data bytes' low 7 bits; 0 for length <= 0.
Byte BankChecksum(const Byte* data, std::ptrdiff_t length);

// The 4096-byte bank image: the 32 packed voices of a page in slot order, without status.
using BankImage = std::array<Byte, kBankImageSize>;
void PageToBankImage(const VoicePage& page, std::span<Byte, kBankImageSize> image);
// Fills all 32 slots from a bank image; every slot becomes used, unselected, unmarked.
void BankImageToPage(std::span<const Byte, kBankImageSize> image, VoicePage& page);

// The 10 name bytes as a string (embedded zero bytes are kept).
std::string VoiceNameOf(const PackedVoice& voice);
std::string VoiceNameOf(const EditImage& image);

}  // namespace core
