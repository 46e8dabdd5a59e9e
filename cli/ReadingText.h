#pragma once
// What a read voice file is and what the reader found wrong, as info and repair print it and
// as info --json writes it.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/SysexRepair.h"

namespace cli {

using core::ChecksumState;
using core::FileKind;
using core::FileReading;
using core::FoundMessage;
using core::MessageKind;
using core::RepairedBank;
using core::RepairNote;

// Junk input can hold thousands of messages: a file's report stops after this many message and
// note lines and ends with a line that counts the rest.
inline constexpr std::size_t kMaxReadingLines = 100;

struct ReadingStyle {
    bool withNames = true;
    // Nothing is written (info): a repair is what the writing would do.
    bool nothingWritten = false;
    // The files the banks go to, in the order of the reading's banks; empty: "bank N".
    std::vector<std::string> bankFiles;
};

std::string_view KindText(MessageKind kind);
std::string_view FileKindText(FileKind kind);
std::string_view ChecksumText(ChecksumState state);
// "voice-bank dump", "3 single voices", "4 messages": what a file of messages holds.
std::string MessagesText(const FileReading& reading);
// The names of the voices found in a bank (its voiceCount first slots).
std::vector<std::string> BankNames(const RepairedBank& bank);
// A repair note as info says it: "recomputed" becomes "would be recomputed", and so on.
std::string AsWouldBe(std::string text);

void WriteReading(std::ostream& out, const std::string& file, const FileReading& reading,
                  const ReadingStyle& style);

// The fixed names scripts compare: "voice-bank", "single-voice", ..., "bank-image", "sysex".
std::string_view KindKey(MessageKind kind);
std::string_view FileKindKey(FileKind kind);
std::string JsonReading(const std::string& file, const FileReading& reading);

}  // namespace cli
