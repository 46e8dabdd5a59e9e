#include "cli/ReadingText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "cli/Session.h"
#include "cli/Text.h"

namespace cli {
namespace {

void WriteNames(std::ostream& out, const std::vector<std::string>& names, std::string_view indent) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%2zu ", i + 1);
        out << (i % 4 == 0 ? std::string(indent) : std::string("   ")) << number << NameText(names[i]);
        if (i % 4 == 3 || i + 1 == names.size()) out << "\n";
    }
}

std::string MessageLine(const FoundMessage& message) {
    std::string line(KindText(message.kind));
    if (message.channel > 0) line += ", channel " + std::to_string(message.channel);
    if (message.kind != MessageKind::kOther)
        line += ", checksum " + std::string(ChecksumText(message.checksum));
    if (message.kind == MessageKind::kVoiceBank)
        line += ", " + Plural(message.voiceNames.size(), "voice", "voices");
    if (message.kind == MessageKind::kSingleVoice && !message.voiceNames.empty())
        line += " \"" + NameText(message.voiceNames.front()) + "\"";
    return line;
}

// Writes the lines of one file's reading up to kMaxReadingLines, then counts the rest.
class ReadingWriter {
public:
    ReadingWriter(std::ostream& out, const ReadingStyle& style) : out_(out), style_(style) {}

    void Line(const std::string& text) {
        if (written_ < kMaxReadingLines) {
            out_ << text << "\n";
            ++written_;
        } else {
            ++left_;
        }
    }
    // `where`: "voice 3" or a single voice's place; the note's voice numbers name `names`.
    void Notes(const std::vector<RepairNote>& notes, const std::vector<std::string>& names,
               std::string_view indent, const std::string& singlePlace = "") {
        for (const RepairNote& note : notes) {
            std::string text(indent);
            if (note.voice > 0) {
                text += singlePlace.empty() ? "voice " + std::to_string(note.voice) : "voice";
                if (std::size_t(note.voice) <= names.size())
                    text += " \"" + NameText(names[std::size_t(note.voice) - 1]) + "\"";
                if (!singlePlace.empty()) text += " (" + singlePlace + ")";
                text += ": ";
            }
            text += style_.nothingWritten ? AsWouldBe(note.text) : note.text;
            Line(text);
        }
    }
    void Names(const std::vector<std::string>& names, std::string_view indent) {
        if (!style_.withNames) return;
        if (written_ >= kMaxReadingLines) {
            left_ += (names.size() + 3) / 4;
            return;
        }
        WriteNames(out_, names, indent);
        written_ += (names.size() + 3) / 4;
    }
    void End(const FileReading& reading) {
        if (left_ == 0) return;
        std::size_t notes = reading.fileNotes.size();
        for (const FoundMessage& message : reading.messages) notes += message.notes.size();
        out_ << "  ... " << Plural(left_, "line", "lines") << " more not shown ("
             << Plural(reading.messages.size(), "message", "messages") << ", "
             << Plural(notes, "note", "notes") << " in all)\n";
    }
    // Where single voice number `index` (0-based, among the usable ones) ends.
    std::string SinglePlace(std::size_t bank, std::size_t slot) const {
        const std::string file =
            bank < style_.bankFiles.size() ? style_.bankFiles[bank] : "bank " + std::to_string(bank + 1);
        return (style_.nothingWritten ? "would go to slot " : "slot ") + std::to_string(slot + 1) + " of " + file;
    }

private:
    std::ostream& out_;
    const ReadingStyle& style_;
    std::size_t written_ = 0;
    std::size_t left_ = 0;
};

}  // namespace

std::string_view KindText(MessageKind kind) {
    switch (kind) {
    case MessageKind::kVoiceBank: return "voice-bank dump";
    case MessageKind::kFunctionBank: return "function-bank dump";
    case MessageKind::kSingleVoice: return "single voice";
    case MessageKind::kSingleFunction: return "single function";
    case MessageKind::kOther: break;
    }
    return "other message";
}

std::string_view FileKindText(FileKind kind) {
    switch (kind) {
    case FileKind::kBankImage: return "bank image";
    case FileKind::kBankImageExtraByte: return "bank image with one extra byte";
    case FileKind::kBankWithFunctions: return "bank image with function bank";
    case FileKind::kLibrary: return "library";
    case FileKind::kSysex: return "system-exclusive messages";
    case FileKind::kNothing: break;
    }
    return "nothing the program can read";
}

std::string_view KindKey(MessageKind kind) {
    switch (kind) {
    case MessageKind::kVoiceBank: return "voice-bank";
    case MessageKind::kFunctionBank: return "function-bank";
    case MessageKind::kSingleVoice: return "single-voice";
    case MessageKind::kSingleFunction: return "single-function";
    case MessageKind::kOther: break;
    }
    return "other";
}

std::string_view FileKindKey(FileKind kind) {
    switch (kind) {
    case FileKind::kBankImage: return "bank-image";
    case FileKind::kBankImageExtraByte: return "bank-image-extra-byte";
    case FileKind::kBankWithFunctions: return "bank-image-with-functions";
    case FileKind::kLibrary: return "library";
    case FileKind::kSysex: return "sysex";
    case FileKind::kNothing: break;
    }
    return "nothing";
}

std::string_view ChecksumText(ChecksumState state) {
    switch (state) {
    case ChecksumState::kGood: return "good";
    case ChecksumState::kWrong: return "wrong";
    case ChecksumState::kMissing: break;
    }
    return "missing";
}

std::string MessagesText(const FileReading& reading) {
    const std::vector<FoundMessage>& messages = reading.messages;
    const bool same = std::all_of(messages.begin(), messages.end(),
                                  [&](const FoundMessage& m) { return m.kind == messages.front().kind; });
    if (messages.size() == 1) return std::string(KindText(messages.front().kind));
    if (!same) return Plural(messages.size(), "message", "messages");
    std::string kinds(KindText(messages.front().kind));
    kinds = messages.front().kind == MessageKind::kSingleVoice ? "single voices"
            : messages.front().kind == MessageKind::kSingleFunction ? "single functions"
                                                                      : kinds + "s";
    return std::to_string(messages.size()) + " " + kinds;
}

std::vector<std::string> BankNames(const RepairedBank& bank) {
    std::vector<std::string> names;
    for (int s = 0; s < bank.voiceCount; ++s)
        names.push_back(std::string(reinterpret_cast<const char*>(bank.image.data()) +
                                        std::size_t(s) * core::kPackedVoiceSize + core::kPackedNameOffset,
                                    core::kNameSize));
    return names;
}

std::string AsWouldBe(std::string text) {
    // The reader's words for what the writing does, and how info says them.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kDone{{
        {": recomputed", ": would be recomputed"},
        {": computed", ": would be computed"},
        {" corrected to ", " would be corrected to "},
        {": high bit cleared", ": high bit would be cleared"},
        {": bits outside its parameters cleared", ": bits outside its parameters would be cleared"},
        {" removed", " would be removed"},
    }};
    for (const auto& [done, wouldBe] : kDone)
        if (const std::size_t at = text.find(done); at != std::string::npos) {
            text.replace(at, done.size(), wouldBe);
            break;
        }
    if (text.find("above its range: ") != std::string::npos && text.find("would be") == std::string::npos)
        text.replace(text.find("above its range: "), 17, "above its range: would be ");
    return text;
}

void WriteReading(std::ostream& out, const std::string& file, const FileReading& reading,
                  const ReadingStyle& style) {
    ReadingWriter writer(out, style);
    if (reading.kind != FileKind::kSysex) {
        std::string head = file + ": " + std::string(FileKindText(reading.kind));
        if (!reading.banks.empty()) head += ", " + Plural(std::size_t(reading.voiceCount), "voice", "voices");
        out << head << "\n";
        const std::vector<std::string> names =
            reading.banks.empty() ? std::vector<std::string>{} : BankNames(reading.banks.front());
        writer.Names(names, "  ");
        writer.Notes(reading.fileNotes, names, "  ");
        writer.End(reading);
        return;
    }
    const bool one = reading.messages.size() == 1;
    if (one)
        out << file << ": " << MessageLine(reading.messages.front()) << "\n";
    else
        out << file << ": " << MessagesText(reading) << ", "
            << Plural(std::size_t(reading.voiceCount), "voice", "voices") << "\n";
    // Single voices are collected 32 to a bank after the bank dumps and images.
    const std::size_t bankDumps = std::size_t(std::count_if(
        reading.messages.begin(), reading.messages.end(), [](const FoundMessage& m) {
            return m.kind == MessageKind::kVoiceBank && !m.voiceNames.empty();
        }));
    std::size_t singles = 0;
    for (std::size_t m = 0; m < reading.messages.size(); ++m) {
        const FoundMessage& message = reading.messages[m];
        if (!one)
            writer.Line("  message " + std::to_string(m + 1) + " (byte " + std::to_string(message.offset) +
                        "): " + MessageLine(message));
        const std::string_view indent = one ? "  " : "    ";
        if (message.kind == MessageKind::kVoiceBank) writer.Names(message.voiceNames, indent);
        std::string place;
        if (message.kind == MessageKind::kSingleVoice && !message.voiceNames.empty()) {
            place = writer.SinglePlace(bankDumps + singles / core::kSlotsPerPage, singles % core::kSlotsPerPage);
            ++singles;
        }
        writer.Notes(message.notes, message.voiceNames, indent, place);
    }
    writer.Notes(reading.fileNotes, {}, "  ");
    writer.End(reading);
}

namespace {

std::string JsonNames(const std::vector<std::string>& names) {
    std::string json = "[";
    for (std::size_t i = 0; i < names.size(); ++i)
        json += (i ? ", " : "") + JsonString(NameText(names[i]));
    return json + "]";
}

std::string JsonNotes(const std::vector<RepairNote>& notes) {
    std::string json = "[";
    for (std::size_t i = 0; i < notes.size(); ++i)
        json += std::string(i ? ", " : "") + "{\"voice\": " + std::to_string(notes[i].voice) +
                ", \"text\": " + JsonString(AsWouldBe(notes[i].text)) + "}";
    return json + "]";
}

}  // namespace

std::string JsonReading(const std::string& file, const FileReading& reading) {
    std::string json = "{\"file\": " + JsonString(file) + ", \"kind\": " + JsonString(FileKindKey(reading.kind)) +
                       ", \"voices\": " + std::to_string(reading.voiceCount);
    if (reading.kind != FileKind::kSysex && !reading.banks.empty())
        json += ", \"names\": " + JsonNames(BankNames(reading.banks.front()));
    json += ", \"messages\": [";
    for (std::size_t m = 0; m < reading.messages.size(); ++m) {
        const FoundMessage& message = reading.messages[m];
        json += std::string(m ? ", " : "") + "{\"offset\": " + std::to_string(message.offset) +
                ", \"kind\": " + JsonString(KindKey(message.kind)) +
                ", \"channel\": " + std::to_string(message.channel) +
                ", \"checksum\": " + JsonString(ChecksumText(message.checksum)) +
                ", \"names\": " + JsonNames(message.voiceNames) +
                ", \"notes\": " + JsonNotes(message.notes) + "}";
    }
    return json + "], \"notes\": " + JsonNotes(reading.fileNotes) + "}";
}

}  // namespace cli
