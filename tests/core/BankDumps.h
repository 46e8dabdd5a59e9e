#pragma once
// Bulk dumps and single-voice dumps built from real banks, for damaging on purpose.

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/VoiceFormats.h"
#include "tests/support/TempDir.h"
#include "tests/core/RealBankFiles.h"

namespace core::test {

using Bytes = std::vector<core::Byte>;

inline constexpr std::size_t kDataStart = 6;

// The real bank file number `index` (0-23), all 4104 bytes.
inline Bytes RealDump(std::size_t index) {
    return testing_support::ReadBytes(RealBankFiles().at(index));
}

inline core::BankImage ImageOf(const Bytes& dump) {
    core::BankImage image;
    std::copy_n(dump.begin() + kDataStart, image.size(), image.begin());
    return image;
}

inline core::PackedVoice VoiceOf(const core::BankImage& image, std::size_t slot) {
    core::PackedVoice voice;
    std::copy_n(image.begin() + slot * core::kPackedVoiceSize, voice.size(), voice.begin());
    return voice;
}

// F0 43 0n 00 01 1B, the unpacked voice, its checksum, F7.
inline Bytes SingleVoiceDump(const core::PackedVoice& voice, int channel) {
    core::UnpackedVoice unpacked;
    core::UnpackVoice(voice, unpacked);
    Bytes dump(kDataStart + unpacked.size() + 2);
    const core::Byte header[kDataStart] = {0xF0, 0x43, core::Byte(channel - 1), 0x00, 0x01, 0x1B};
    std::copy(std::begin(header), std::end(header), dump.begin());
    std::copy(unpacked.begin(), unpacked.end(), dump.begin() + kDataStart);
    dump[dump.size() - 2] = core::BankChecksum(unpacked.data(), std::ptrdiff_t(unpacked.size()));
    dump.back() = 0xF7;
    return dump;
}

inline Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace core::test
