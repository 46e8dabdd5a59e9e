#pragma once
// The voices the emulated rack holds at power-up: made up here, playable, and named after
// their module and slot ("TF1-3 V.07") so a user sees at once where a bank came from.

#include <array>
#include <cstddef>
#include <string>

#include "core/VoiceFormats.h"

namespace midi {

using BankBytes = std::array<core::Byte, core::kBankImageSize>;
static_assert(core::kBankImageSize == core::kFunctionBankSize);

// "TF1-m V.vv" with module and voice counted from 1: exactly 10 characters.
std::string GeneratedVoiceName(std::size_t module, std::size_t voice);
// The 32 packed voices of module 0-7.
BankBytes GeneratedVoiceBank(std::size_t module);
// The 64 packed function records of module 0-7; records 0-31 carry a text naming module and slot.
BankBytes GeneratedFunctionBank(std::size_t module);

}  // namespace midi
