// "Import Collection..." of a generated collection, offscreen: 10,000 files in 300 folders
// (30 top-level folders of 10), made at run time from the real banks with every kind of damage
// the reader repairs, a quarter of them byte copies of another file. Timed from the options
// dialog's answer to the lists redrawn, the folder walk, the reading, the progress window and
// the report included; peak memory above the program's own as a counter.
//   Doubles: the files hold the real banks' voices only, so nearly every voice is a double.
//   Fills: each file's voices are made its own, so the library fills at 32,000 voices and the
//   import stops there.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <array>
#include <fstream>
#include <memory>
#include <string>

#include "core/Bankson.h"
#include "core/CollectionImport.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/CollectionImportCommands.h"
#include "librarian/TfrmMain.h"
#include "midi/TfrmDump.h"
#include "platform/MemorySettings.h"
#include "platform/MessageBoxes.h"
#include "tests/core/BankDumps.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = core::test::Bytes;

constexpr int kFileCount = 10000;
constexpr int kTopFolders = 30;
constexpr int kSubFolders = 10;  // under each top-level folder: 300 folders

// A bank dump with its voices made file `number`'s own (two envelope rates of every voice,
// both 0-99) and its checksum made right again.
Bytes OwnVoices(Bytes dump, int number) {
    for (std::size_t v = 0; v < core::kSlotsPerPage; ++v) {
        dump[6 + v * core::kPackedVoiceSize] = core::Byte(number % 100);
        dump[6 + v * core::kPackedVoiceSize + 1] = core::Byte(number / 100 % 100);
    }
    dump[4102] = core::BankChecksum(dump.data() + 6, std::ptrdiff_t(core::kBankImageSize));
    return dump;
}

// File `number` of the collection with damage kind `kind`.
Bytes Damaged(int kind, const Bytes& dump, const Bytes& other) {
    Bytes bytes = dump;
    switch (kind) {
    case 0: break;                                          // clean
    case 1: bytes.pop_back(); break;                        // no closing F7
    case 2: bytes[4102] ^= 0x15; break;                     // wrong checksum
    case 3:                                                 // bytes around the dump
        bytes.insert(bytes.begin(), 50, 0x20);
        bytes.insert(bytes.end(), 20, 0x0A);
        break;
    case 4: bytes.insert(bytes.end(), other.begin(), other.end()); break;  // two banks
    case 5: bytes.insert(bytes.end(), {0xF0, 0x43, 0x10, 0xF7}); break;   // a short message after
    case 6: {                                               // 32 single-voice dumps
        bytes.clear();
        const core::BankImage image = core::test::ImageOf(dump);
        for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
            const Bytes one = core::test::SingleVoiceDump(core::test::VoiceOf(image, s), 1);
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        break;
    }
    case 7: bytes = Bytes(dump.begin() + 6, dump.begin() + 6 + std::ptrdiff_t(core::kBankImageSize)); break;
    case 8:                                                 // high bits on data bytes
        for (std::size_t v = 0; v < core::kSlotsPerPage; v += 3) bytes[6 + v * core::kPackedVoiceSize + 5] |= 0x80;
        break;
    case 9:                                                 // real-time bytes inside
        for (std::size_t at : {700u, 1900u, 3300u}) bytes.insert(bytes.begin() + std::ptrdiff_t(at), 0xF8);
        break;
    case 10: bytes.insert(bytes.begin(), {0xF0, 0x41, 0x10, 0x16, 0x12, 0x00, 0xF7}); break;  // another maker
    default: bytes[6 + 14] = 120; break;                   // a parameter above its range
    }
    return bytes;
}

constexpr int kDamageKinds = 12;

// "T7", "voices123": the number appended, which GCC 12 does not mistake for an overlapping copy
// at -O3 as it does "T" + std::to_string(n).
std::string Numbered(std::string name, int number) {
    name.append(std::to_string(number));
    return name;
}

class Collection {
public:
    explicit Collection(bool ownVoices) {
        const fs::path& root = dir_.Path();
        std::vector<Bytes> real;
        for (std::size_t b = 0; b < core::test::RealBankFiles().size(); ++b) real.push_back(core::test::RealDump(b));
        if (real.empty()) return;
        Bytes previous;
        for (int n = 0; n < kFileCount; ++n) {
            const fs::path folder = root / Numbered("T", n % (kTopFolders * kSubFolders) / kSubFolders) /
                                    Numbered("S", n % kSubFolders);
            fs::create_directories(folder);
            Bytes bytes;
            if (n % 4 == 3) {
                bytes = previous;  // a copy of the file before, in another folder
            } else {
                const Bytes dump = ownVoices ? OwnVoices(real[std::size_t(n) % real.size()], n)
                                             : real[std::size_t(n) % real.size()];
                const Bytes other = ownVoices ? OwnVoices(real[std::size_t(n + 1) % real.size()], n + kFileCount)
                                              : real[std::size_t(n + 1) % real.size()];
                bytes = Damaged(n % kDamageKinds, dump, other);
                previous = bytes;
            }
            std::ofstream(folder / (Numbered("voices", n) + (n % kDamageKinds == 7 ? ".dx7" : ".syx")),
                          std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
    }
    const fs::path& Path() const { return dir_.Path(); }

private:
    testing_support::TempDir dir_;
};

// Kilobytes of a /proc/self/status line ("VmRSS", "VmHWM").
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    return 0;
}

struct Program {
    Program() {
        librarian::TfrmMain::Banks pointers;
        for (int n = 0; n < librarian::kBankCount; ++n) pointers[n] = &banks[n];
        window = std::make_unique<librarian::TfrmMain>(pointers, library, buffer, settings);
        dump = std::make_unique<midi::TfrmDump>(window.get());
        commands = std::make_unique<librarian::CollectionImportCommands>(
            *window, library, *dump,
            [](const std::vector<fs::path>&) { return librarian::CollectionChoices{true, true, true}; },
            [this](const core::CollectionReport& shown) {
                report = shown;
                reportText = core::CollectionReportText(shown);
            });
    }

    std::array<core::Bankson, librarian::kBankCount> banks;
    core::Libson library;
    core::Edtson buffer;
    platform::MemorySettings settings;
    std::unique_ptr<librarian::TfrmMain> window;
    std::unique_ptr<midi::TfrmDump> dump;
    std::unique_ptr<librarian::CollectionImportCommands> commands;
    core::CollectionReport report;
    std::string reportText;
};

void ImportCollection(benchmark::State& state, const Collection& collection) {
    platform::RecordingBoxes boxes;
    Program program;
    program.window->show();
    QApplication::processEvents();
    long peakAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.library.Clear();
        program.window->SetPageNumber(0);
        QApplication::processEvents();
        const long before = StatusKb("VmRSS");
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        state.ResumeTiming();
        program.commands->ImportFolders({collection.Path()});
        program.window->repaint();
        state.PauseTiming();
        peakAbove = std::max(peakAbove, StatusKb("VmHWM") - before);
        state.ResumeTiming();
    }
    state.counters["peak_MB_above"] = double(peakAbove) / 1024.0;
    state.counters["files_read"] = program.report.filesRead;
    state.counters["voices_added"] = program.report.voicesAdded;
    state.counters["doubles_skipped"] = program.report.DoublesSkipped();
    state.counters["voices_left"] = program.report.voicesLeft;
    state.counters["files_left"] = program.report.filesLeft;
    if (!boxes.Shown().empty() || program.report.filesRead == 0) state.SkipWithError("the import showed a box or read nothing");
}

void ImportCollectionOfDoubles(benchmark::State& state) {
    static const Collection collection(false);
    ImportCollection(state, collection);
}

void ImportCollectionThatFillsTheLibrary(benchmark::State& state) {
    static const Collection collection(true);
    ImportCollection(state, collection);
}

BENCHMARK(ImportCollectionOfDoubles)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ImportCollectionThatFillsTheLibrary)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
