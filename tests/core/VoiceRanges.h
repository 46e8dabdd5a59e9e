#pragma once
// The highest value of every parameter byte of an unpacked voice, as the editor allows them.

#include "core/VoiceFormats.h"

namespace core::test {

// Bytes 0-20 of each of the six operator blocks.
inline constexpr Byte kOperatorMax[21] = {99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                          3,  3,  7,  3,  7,  99, 1,  31, 99, 14};
// Bytes 126-144: pitch envelope, algorithm ... transpose.
inline constexpr Byte kCommonMax[19] = {99, 99, 99, 99, 99, 99, 99, 99, 31, 7,
                                        1,  99, 99, 99, 99, 1,  5,  7,  48};

// True when every parameter of the unpacked voice is within its range.
inline bool InRange(const UnpackedVoice& voice) {
    for (int k = 0; k < 6; ++k)
        for (int b = 0; b < 21; ++b)
            if (voice[21 * k + b] > kOperatorMax[b]) return false;
    for (int b = 0; b < 19; ++b)
        if (voice[126 + b] > kCommonMax[b]) return false;
    return true;
}

}  // namespace core::test
