#pragma once
// "Load Bank" of a file that is no plain bank (two banks in one file, single voices, bytes
// around a dump): instead of the format error, the repair reader says what it found and the
// user may load the first 32 voices it recovered. No widget code; the box goes through
// platform/.

#include <filesystem>
#include <string>

#include "core/SysexRepair.h"

namespace core {
class Bankson;
}

namespace librarian {

inline constexpr char kRecoverTitle[] = "Load Bank";

// True when LoadBankFile reads the file as it is: a bank image (4096, 4097 or 8192 bytes that
// do not start a message) or one 4104-byte voice-bank dump.
bool IsPlainBankFile(std::span<const core::Byte> bytes);

// What the reader found, as the question says it: "2 voice-bank dumps and 1 other message,
// 64 voices (bytes around the messages skipped)".
std::string FoundText(const core::FileReading& reading);

// The first 32 voices recovered, in the order found, the rest empty: every slot used.
core::BankImage FirstRecoveredVoices(const core::FileReading& reading);

// For a file that is no plain bank but holds voices, asks whether to load the first 32 it
// recovered; Yes loads them (the bank takes the file's base name), No changes nothing.
// kNotOffered leaves the file to LoadBankFile: a plain bank, no voices found, or unreadable.
enum class Recovery { kNotOffered, kLoaded, kDeclined };
Recovery OfferRecoveredVoices(core::Bankson& bank, const std::filesystem::path& path);

}  // namespace librarian
