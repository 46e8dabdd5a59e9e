// Writes each fuzz target's seed corpus from the real bank files: fuzz_seeds OUTPUT [BANKS].
// Every target gets a folder of its own under OUTPUT with inputs in its layout: whole and
// broken bank files, small libraries, reply messages, sysex streams in pieces, and small
// libraries of real voices for the doubles search. Nothing of the banks is kept elsewhere.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/FileIo.h"
#include "core/Libson.h"
#include "core/VoiceFormats.h"
#include "midi/SysexMessages.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class SeedWriter {
public:
    SeedWriter(const fs::path& output, const std::string& target) : folder_(output / target) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void Add(const Bytes& bytes) {
        char name[32];
        std::snprintf(name, sizeof name, "seed-%02d", count_++);
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

private:
    fs::path folder_;
    int count_ = 0;
};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The 4096 data bytes of a 4104-byte bulk dump.
Bytes DataOf(const Bytes& dump) { return Bytes(dump.begin() + 6, dump.begin() + 6 + 4096); }

Bytes WithFormat(Bytes dump, std::uint8_t format) {
    dump[3] = format;
    return dump;
}

Bytes Message(std::uint8_t format, const Bytes& data) {
    return midi::BuildSysex(midi::MakeSysexHeader(format, 0, data.size()), data);
}

Bytes MarkerNames() {
    Bytes names(core::kMarkerNamesSize, 0);
    const char* texts[] = {"Empty", "Piano", "Strings", "Brass", "TenLetters", "Bass"};
    for (std::size_t m = 0; m < 32; ++m) {
        const std::string text = texts[m % 6];
        std::copy(text.begin(), text.end(), names.begin() + m * core::kNameSize);
    }
    return names;
}

// A library page of the bank's voices, with selections and markers on some slots.
Bytes LibraryPage(const Bytes& dump) {
    core::VoicePage page;
    const Bytes data = DataOf(dump);
    core::BankImageToPage(std::span<const std::uint8_t, core::kBankImageSize>(data.data(), data.size()), page);
    for (std::size_t s = 0; s < core::kSlotsPerPage; ++s)
        page[s].status = s % 5 == 4 ? 0 : std::uint8_t(1 | (s % 3 == 0 ? 2 : 0) | (s % 40) << 2);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(page.data());
    return Bytes(bytes, bytes + core::kPageSize);
}

// Sysex-input operations: a piece of any length, take one, take all.
void Piece(Bytes& ops, std::span<const std::uint8_t> piece) {
    if (piece.size() < 0x80) {
        ops.push_back(std::uint8_t(piece.size()));
    } else {
        ops.push_back(std::uint8_t(0x80 | piece.size() >> 8));
        ops.push_back(std::uint8_t(piece.size() & 0xFF));
    }
    ops.insert(ops.end(), piece.begin(), piece.end());
}
void Pieces(Bytes& ops, const Bytes& message, std::size_t pieceSize) {
    for (std::size_t at = 0; at < message.size(); at += pieceSize)
        Piece(ops, std::span(message).subspan(at, std::min(pieceSize, message.size() - at)));
}
constexpr std::uint8_t kTakeOne = 0xFE, kTakeAll = 0xFF;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTPUT [BANKS]\n");
        return 2;
    }
    const fs::path output = argv[1];
    const fs::path banks = argc > 2 ? fs::path(argv[2]) : fs::path(MONDRAL_SHARED_DIR) / "banks";
    std::vector<fs::path> files;
    std::error_code ec;
    if (fs::is_directory(banks, ec))
        for (const auto& entry : fs::directory_iterator(banks))
            if (entry.path().extension() == ".syx") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<Bytes> dumps;
    for (const fs::path& file : files) {
        auto bytes = core::ReadWholeFile(file);
        if (bytes && bytes->size() == 4104) dumps.push_back(*bytes);
    }
    if (dumps.size() < 17) {
        std::fprintf(stderr, "fuzz_seeds: fewer than 17 bank files (4104 bytes) in %s\n", banks.c_str());
        return 1;
    }

    Bytes functionDump = WithFormat(dumps[6], 0x02);
    functionDump[6 + 4096] = core::BankChecksum(functionDump.data() + 6, 4096);
    core::UnpackedVoice voice;
    core::UnpackVoice(std::span<const std::uint8_t, core::kPackedVoiceSize>(dumps[0].data() + 6, 128), voice);
    const Bytes singleVoice = Message(0x00, Bytes(voice.begin(), voice.end()));
    const Bytes singleFunction = Message(0x01, Bytes(94, 0x05));
    const std::string model = "TF1       ";
    Bytes info(model.begin(), model.end());
    info.insert(info.end(), {1, 4, 0x10, 2, 31, 0});
    const Bytes systemInfo = Message(0x7D, info);
    const auto request = midi::MakeDumpRequest(0x09, 3);
    const auto change = midi::MakeParameterChange(130, 0, 99, 0);

    {
        SeedWriter seeds(output, "fuzz_bank_file");
        seeds.Add(dumps[0]);
        seeds.Add(dumps[1]);
        seeds.Add(DataOf(dumps[2]));
        seeds.Add(Join({DataOf(dumps[3]), {0xF7}}));
        seeds.Add(Join({DataOf(dumps[4]), DataOf(dumps[5])}));
        seeds.Add(functionDump);
        seeds.Add(Bytes(dumps[7].begin(), dumps[7].end() - 1));
    }
    {
        SeedWriter seeds(output, "fuzz_library_file");
        seeds.Add(MarkerNames());
        seeds.Add(Join({LibraryPage(dumps[0]), MarkerNames()}));
        seeds.Add(Join({LibraryPage(dumps[1]), LibraryPage(dumps[2]), MarkerNames(), {1, 2, 3, 4, 5}}));
        seeds.Add(Join({LibraryPage(dumps[3]), LibraryPage(dumps[4]), LibraryPage(dumps[5]), MarkerNames()}));
    }
    {
        SeedWriter seeds(output, "fuzz_sysex_reply");
        for (int i = 0; i < 3; ++i) seeds.Add(dumps[i]);
        seeds.Add(functionDump);
        seeds.Add(singleVoice);
        seeds.Add(singleFunction);
        seeds.Add(systemInfo);
        seeds.Add(Bytes(request.begin(), request.end()));
        seeds.Add(Bytes(change.begin(), change.end()));
        Bytes broken = singleVoice;
        broken[40] ^= 0x01;
        seeds.Add(broken);
    }
    {
        SeedWriter seeds(output, "fuzz_sysex_input");
        Bytes ops = {0x80, 4 | 8 << 3};  // 4096-byte buffers, 4 of them, queue of 8
        Pieces(ops, dumps[0], 256);
        ops.push_back(kTakeAll);
        seeds.Add(ops);

        ops = {64, 3 | 4 << 3};  // 64-byte buffers: a voice arrives in three
        Pieces(ops, singleVoice, 50);
        Piece(ops, Bytes{0x90, 0x3C, 0x64});
        Piece(ops, Bytes{0xFE});
        ops.push_back(kTakeOne);
        Pieces(ops, Bytes(change.begin(), change.end()), 7);
        Pieces(ops, systemInfo, 5);
        ops.push_back(kTakeAll);
        seeds.Add(ops);

        ops = {0x80, 1 | 1 << 3};  // one buffer, a queue of one: the second message is lost
        Pieces(ops, singleFunction, 102);
        Pieces(ops, systemInfo, 24);
        ops.push_back(kTakeAll);
        Pieces(ops, systemInfo, 3);
        Piece(ops, Bytes{0xB0, 0x14});
        ops.push_back(kTakeAll);
        seeds.Add(ops);

        ops = {0x80 | 10, std::uint8_t(0x80 | 2 | 6 << 3)};  // sysex only
        Piece(ops, Bytes{0xC0, 5});
        Pieces(ops, Bytes(singleVoice.begin(), singleVoice.end() - 1), 40);  // never ended
        Pieces(ops, functionDump, 1000);
        ops.push_back(kTakeAll);
        seeds.Add(ops);
    }
    {
        SeedWriter seeds(output, "fuzz_library_doubles");
        for (std::uint8_t choice = 0; choice < 32; choice += 5) {
            const std::size_t pages = 2 + choice % 3;
            Bytes input = {choice, std::uint8_t(pages - 1), 4};
            for (int v = 0; v < 4; ++v)
                input.insert(input.end(), dumps[choice % 8].begin() + 6 + v * 128,
                             dumps[choice % 8].begin() + 6 + v * 128 + core::kVoiceParameterBytes);
            for (std::size_t s = 0; s < pages * 32; ++s) {
                const std::uint8_t status = std::uint8_t(s % 7 == 6 ? 0 : 1 | (s % 3 == 0) << 1 | (s % 11) << 2);
                const std::uint8_t pick = std::uint8_t((s * 5 + choice) % 4 | (s % 13 == 0 ? 0x80 | s : 0));
                input.push_back(status);
                input.push_back(pick);
            }
            seeds.Add(input);
        }
    }
    {
        // The request format, then messages with two length bytes each (below 2: a note-on).
        SeedWriter seeds(output, "fuzz_dump_reply");
        auto message = [](Bytes& input, const Bytes& bytes) {
            input.push_back(std::uint8_t(bytes.size() >> 8));
            input.push_back(std::uint8_t(bytes.size() & 0xFF));
            input.insert(input.end(), bytes.begin(), bytes.end());
        };
        Bytes badChecksum = dumps[1];
        badChecksum[6 + 4096] ^= 0x01;
        Bytes input = {0};  // a voice bank after a single voice and a note
        message(input, singleVoice);
        message(input, {});
        message(input, dumps[0]);
        seeds.Add(input);
        input = {1};  // a function bank after a voice bank (passed over), then another message
        message(input, dumps[2]);
        message(input, functionDump);
        message(input, systemInfo);
        seeds.Add(input);
        input = {2};  // system information after a broken bank
        message(input, badChecksum);
        message(input, systemInfo);
        seeds.Add(input);
        input = {0};  // a bank with a wrong checksum decides
        message(input, badChecksum);
        message(input, dumps[3]);
        seeds.Add(input);
    }
    {
        SeedWriter seeds(output, "fuzz_wildcard_search");
        const std::string inputs[] = {
            std::string("*.DX7\0set1.dx7\0SET10.DX7", 24), std::string("SET?.DX7\0SET2.DX7\0SET02.DX7", 26),
            std::string("PIANO*.*\0piano1\0PIANO.DXL", 25), std::string("a*b*c\0aXbYbZc\0a.b.c", 19),
            std::string("*.*\0x\0NOEXT.", 12), std::string("[AB].DX7\0[ab].dx7\0brass 01.syx", 30),
            std::string("*1*\0SET001\0set1", 16)};
        for (const std::string& input : inputs) seeds.Add(Bytes(input.begin(), input.end()));
    }
    {
        SeedWriter seeds(output, "fuzz_sysex_repair");
        seeds.Add(dumps[8]);
        seeds.Add(DataOf(dumps[9]));
        seeds.Add(Join({DataOf(dumps[10]), DataOf(dumps[11])}));
        Bytes unended(dumps[12].begin(), dumps[12].end() - 1);
        seeds.Add(Join({{0x00, 0x11}, unended, dumps[13]}));  // stray bytes, a dump without F7
        Bytes damaged = dumps[14];
        damaged[100] |= 0x80;             // a data byte with its high bit
        damaged[6 + 4096] ^= 0x01;        // a wrong checksum
        damaged.insert(damaged.begin() + 2000, 0xF8);  // a clock byte inside
        seeds.Add(damaged);
        seeds.Add(Join({singleVoice, singleVoice, singleFunction, functionDump}));
        seeds.Add(Join({LibraryPage(dumps[15]), MarkerNames()}));
        seeds.Add(Bytes(dumps[16].begin(), dumps[16].begin() + 1000));  // cut short
    }
    std::printf("fuzz_seeds: seeds from %zu bank files in %s\n", dumps.size(), output.c_str());
    return 0;
}
