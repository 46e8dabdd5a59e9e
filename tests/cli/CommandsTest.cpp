// mondral-cli as a user runs it: files in, files out, reports, errors and exit statuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "cli/Commands.h"
#include "cli/Text.h"
#include "core/Bankson.h"
#include "core/Libson.h"
#include "platform/MessageBoxes.h"
#include "support/TempDir.h"
#include "tests/cli/BankBytes.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunCli(args, {out, err, false});
    return {status, out.str(), err.str()};
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Commands, ExitStatusesAndErrorLines) {
    TempDir dir;
    WriteBytes(dir / "empty.syx", {});
    WriteBytes(dir / "junk.syx", test::Bytes(100, 0x31));
    fs::create_directory(dir / "folder.syx");
    const std::string bank = core::test::RealBankFiles().at(0).string();
    const std::string missing = (dir / "missing.syx").string(), empty = (dir / "empty.syx").string();
    const std::string junk = (dir / "junk.syx").string(), folder = (dir / "folder.syx").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // a part of the error output
    };
    const Case cases[] = {
        {{"info", bank}, 0, ""},
        {{"info", missing}, 1, "mondral-cli: " + missing + ": no such file\n"},
        {{"info", empty}, 1, "mondral-cli: " + empty + ": is empty\n"},
        {{"info", folder}, 1, "mondral-cli: " + folder + ": is a folder, not a file\n"},
        {{"info", junk}, 1, "mondral-cli: " + junk + ": holds no voices the program can use\n"},
        {{"info", bank, missing}, 1, "no such file"},
        {{"repair", junk, "-o", (dir / "out").string()}, 1, "holds no voices"},
        {{"doubles", bank}, 1, ": is not a library file"},
        {{"similar", missing}, 1, "no such file"},
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"info"}, 2, "info needs at least one file"},
        {{"info", "--xml", bank}, 2, "unknown option --xml"},
        {{"repair", bank}, 2, "needs an output folder"},
        {{"repair", bank, "-o"}, 2, "option -o needs a value"},
        {{"repair", bank, "-o", dir.Path().string(), "--channel", "17"}, 2, "--channel takes a number 1-16"},
        {{"import", bank}, 2, "needs a library"},
        {{"import", bank, "--library", "x.DXL", "--page", "1000"}, 2, "--page takes a page number 0-999"},
        {{"similar", "x.DXL", "--threshold", "17"}, 2, "--threshold takes a number 0-16"},
        {{"doubles", "x.DXL", "--delete", "--select"}, 2, "exclude each other"},
        {{"export", "x.DXL", "-o", "d"}, 2, "either --pages A-B or --selected"},
        {{"export", "x.DXL", "--pages", "5-3", "-o", "d"}, 2, "--pages takes A-B"},
        {{"export", "x.DXL", "--selected", "--channel", "2", "-o", "d"}, 2, "with --syx"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& arg : c.args) line += arg + " ";
        SCOPED_TRACE(line);
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status);
        if (c.err.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_TRUE(Contains(run.err, c.err)) << run.err;
    }
    EXPECT_FALSE(fs::exists(dir / "out"));  // nothing usable: nothing written, no folder made
}

TEST(Commands, HelpOnEveryCommand) {
    for (const char* command : {"info", "repair", "import", "doubles", "similar", "export"}) {
        const CliRun run = Cli({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_TRUE(Contains(run.out, std::string("usage: mondral-cli ") + command)) << command;
    }
    EXPECT_TRUE(Contains(Cli({"--help"}).out, "commands:"));
}

TEST(Commands, RepairOfRealBanksGivesTheSameBytes) {
    TempDir dir;
    std::vector<std::string> args{"repair"};
    for (const fs::path& file : core::test::RealBankFiles()) args.push_back(file.string());
    args.insert(args.end(), {"-o", (dir / "out").string(), "--dx7"});
    const CliRun run = Cli(args);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const fs::path& file : core::test::RealBankFiles()) {
        const test::Bytes original = ReadBytes(file);
        EXPECT_EQ(ReadBytes(dir / "out" / (file.stem().string() + ".SYX")), original) << file;
        EXPECT_EQ(ReadBytes(dir / "out" / (file.stem().string() + ".DX7")),
                  test::Bytes(original.begin() + 6, original.begin() + 4102)) << file;
    }
}

TEST(Commands, RepairSplitsReportsAndNeverWritesOverItsInput) {
    TempDir dir;
    test::Bytes first = test::RealDump(0);
    first[4102] ^= 1;  // bad checksum
    const test::Bytes both = test::Joined({first, {0x00}, test::RealDump(1)});
    WriteBytes(dir / "both.syx", both);
    const test::Bytes one = test::RealDump(2);
    WriteBytes(dir / "one.SYX", one);  // named as its own output would be
    const CliRun run = Cli({"repair", (dir / "both.syx").string(), (dir / "one.SYX").string(), "-o",
                            dir.Path().string(), "--channel", "4"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "one.SYX would replace an input")) << run.err;
    EXPECT_EQ(ReadBytes(dir / "one.SYX"), one);
    EXPECT_EQ(ReadBytes(dir / "both.syx"), both);
    EXPECT_TRUE(Contains(run.out, "message 1 (byte 0): voice-bank dump, channel 1, checksum wrong")) << run.out;
    EXPECT_TRUE(Contains(run.out, "bytes 4104 (1 byte) belong to no message")) << run.out;
    // Each bank in a file of its own, on the channel asked for.
    for (std::size_t b = 0; b < 2; ++b) {
        core::Bankson expected;
        core::BankImageToPage(test::ImageOf(test::RealDump(b)), expected.Page());
        const core::BulkDump dump = expected.MakeBulkDump(false, 4);
        EXPECT_EQ(ReadBytes(dir / ("both-" + std::to_string(b + 1) + ".SYX")), test::Bytes(dump.begin(), dump.end()));
    }
}

// A library of the real banks, with the given extra voices, saved at `path`.
void SaveLibraryOfRealBanks(const fs::path& path, int banks, const std::function<void(core::Libson&)>& change) {
    platform::RecordingBoxes boxes;
    core::Libson library;
    for (int b = 0; b < banks; ++b)
        core::BankImageToPage(test::ImageOf(test::RealDump(std::size_t(b))), library.Page(b));
    change(library);
    ASSERT_TRUE(library.SaveLibraryFile(path));
}

std::unique_ptr<core::Libson> LoadedLibrary(const fs::path& path) {
    platform::RecordingBoxes boxes;
    auto library = std::make_unique<core::Libson>();
    EXPECT_TRUE(library->LoadLibraryFile(path));
    return library;
}

TEST(Commands, ImportFillsFreeSlotsFromThePageOnAndKeepsABackup) {
    TempDir dir;
    fs::create_directories(dir / "in" / "sub");
    const auto files = core::test::RealBankFiles();
    fs::copy_file(files[0], dir / "in" / "a.syx");
    fs::copy_file(files[1], dir / "in" / "sub" / "b.SYX");
    WriteBytes(dir / "in" / "notes.txt", {0x41});  // read, and reported as holding nothing
    test::Bytes damaged = test::RealDump(2);
    damaged[6 + 14] = 120;  // voice 1: OP6 output level out of range
    damaged.pop_back();     // and no F7
    WriteBytes(dir / "in" / "c.syx", damaged);
    const fs::path lib = dir / "LIB.DXL";

    // Without --recursive the sub-folder is left alone.
    CliRun run = Cli({"import", (dir / "in").string(), "--library", (dir / "FLAT.DXL").string()});
    EXPECT_TRUE(Contains(run.out, "3 files read: 2 with voices, 1 with nothing usable, 1 repaired")) << run.out;

    run = Cli({"import", (dir / "in").string(), "--library", lib.string(), "--page", "7", "--recursive"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "4 files read: 3 with voices, 1 with nothing usable, 1 repaired\n"
                                  "96 voices added from page 7 on")) << run.out;
    EXPECT_TRUE(Contains(run.out, "notes.txt: a text file, no voices")) << run.out;
    EXPECT_TRUE(Contains(run.out, "c.syx: no closing F7; checksum 3Ch wrong (the data give 12h): recomputed; 1 voice repaired")) << run.out;
    auto library = LoadedLibrary(lib);
    EXPECT_TRUE(library->IsPageEmpty(6));
    EXPECT_EQ(library->Page(7)[0].voice, test::VoiceOf(test::ImageOf(test::RealDump(0)), 0));
    EXPECT_EQ(library->Page(8)[0].voice[14], 99);  // c.syx, repaired
    EXPECT_EQ(library->Page(8)[0].status, core::kStatusUsed);
    EXPECT_EQ(library->CountSelection().used, 96);

    // Into the existing library: after what is there, the old file kept as the backup.
    const test::Bytes before = ReadBytes(lib);
    run = Cli({"import", (dir / "in" / "a.syx").string(), (dir / "in" / "missing.syx").string(), "--library",
               lib.string(), "--page", "7"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "missing.syx: no such file or folder")) << run.err;
    EXPECT_TRUE(Contains(run.out, "32 voices added")) << run.out;
    EXPECT_EQ(ReadBytes(dir / "LIB.BAK"), before);
    EXPECT_EQ(LoadedLibrary(lib)->Page(10)[0].voice, library->Page(7)[0].voice);
}

TEST(Commands, DoublesListsAndDeletesTheLaterCopies) {
    TempDir dir;
    const fs::path lib = dir / "L.DXL";
    SaveLibraryOfRealBanks(lib, 2, [](core::Libson& library) {
        library.Page(5)[3] = library.Page(0)[4];
        library.Page(5)[3].voice[120] = 'x';  // another name, same sound
        library.Page(6)[0] = library.Page(0)[4];
    });
    const test::Bytes before = ReadBytes(lib);
    CliRun run = Cli({"doubles", lib.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "group 1: 3 identical voices\n  page   0 slot  5")) << run.out;
    EXPECT_TRUE(Contains(run.out, "page   5 slot  4")) << run.out;
    EXPECT_TRUE(Contains(run.out, "The library was not changed.")) << run.out;
    EXPECT_EQ(ReadBytes(lib), before);

    run = Cli({"doubles", lib.string(), "--delete"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto library = LoadedLibrary(lib);
    EXPECT_TRUE(library->Page(0)[4].IsUsed());
    EXPECT_FALSE(library->Page(5)[3].IsUsed());
    EXPECT_FALSE(library->Page(6)[0].IsUsed());
}

TEST(Commands, SimilarGroupsAndSelectsNearDuplicates) {
    TempDir dir;
    const fs::path lib = dir / "L.DXL";
    SaveLibraryOfRealBanks(lib, 1, [](core::Libson& library) {
        library.Page(3)[0] = library.Page(0)[9];
        library.Page(3)[0].voice[0] += 3;  // OP6 EG rate 1: 3 steps
        library.Page(0)[2].status |= core::kStatusSelected;  // cleared by --select
    });
    const CliRun run = Cli({"similar", lib.string(), "--select"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "group 1: 2 voices, spread 3\n  page   0 slot 10")) << run.out;
    const auto library = LoadedLibrary(lib);
    EXPECT_TRUE(library->Page(0)[9].IsSelected());
    EXPECT_TRUE(library->Page(3)[0].IsSelected());
    EXPECT_FALSE(library->Page(0)[2].IsSelected());
}

TEST(Commands, ExportWritesPagesAndTheSelection) {
    TempDir dir;
    const fs::path lib = dir / "MYLIB.DXL";
    SaveLibraryOfRealBanks(lib, 3, [](core::Libson& library) {
        for (int s : {1, 7, 30}) library.Page(2)[s].status |= core::kStatusSelected;
    });
    CliRun run = Cli({"export", lib.string(), "--pages", "1-4", "-o", (dir / "out").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto image = [](std::size_t bank) {
        const test::Bytes dump = test::RealDump(bank);
        return test::Bytes(dump.begin() + 6, dump.begin() + 4102);
    };
    EXPECT_EQ(ReadBytes(dir / "out" / "MYLIB-page-001.DX7"), image(1));
    EXPECT_EQ(ReadBytes(dir / "out" / "MYLIB-page-002.DX7"), image(2));
    EXPECT_FALSE(fs::exists(dir / "out" / "MYLIB-page-003.DX7"));  // an empty page

    run = Cli({"export", lib.string(), "--selected", "--syx", "--channel", "2", "-o", (dir / "sel").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const test::Bytes dump = ReadBytes(dir / "sel" / "MYLIB-selected-01.SYX");
    ASSERT_EQ(dump.size(), core::kBulkDumpSize);
    EXPECT_EQ(dump[2], 0x01);
    const core::BankImage selected = test::ImageOf(dump);
    const core::BankImage bank2 = test::ImageOf(test::RealDump(2));
    EXPECT_EQ(test::VoiceOf(selected, 0), test::VoiceOf(bank2, 1));
    EXPECT_EQ(test::VoiceOf(selected, 1), test::VoiceOf(bank2, 7));
    EXPECT_EQ(test::VoiceOf(selected, 2), test::VoiceOf(bank2, 30));
    EXPECT_EQ(core::VoiceNameOf(test::VoiceOf(selected, 3)), core::kEmptyVoiceName);
}

TEST(Commands, InfoJsonDescribesEachFile) {
    TempDir dir;
    test::Bytes broken = test::RealDump(0);
    broken[4102] ^= 1;
    broken[2] = 0x0A;
    WriteBytes(dir / "b.syx", broken);
    WriteBytes(dir / "empty.syx", {});
    const CliRun run = Cli({"info", "--json", (dir / "b.syx").string(), (dir / "none.syx").string(),
                            (dir / "empty.syx").string(), dir.Path().string()});
    ASSERT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(Contains(run.out, "{\"file\": \"" + (dir / "b.syx").string() + "\", \"kind\": \"sysex\""))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "\"kind\": \"voice-bank\", \"channel\": 11, \"checksum\": \"wrong\""))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "recomputed\"")) << run.out;  // the note as the repair would do it
    EXPECT_TRUE(Contains(run.out, "would be recomputed")) << run.out;
    // Every input named has its entry, in order.
    EXPECT_TRUE(Contains(run.out, ",\n {\"file\": \"" + (dir / "none.syx").string() + "\", \"error\": \"missing\"},\n"
                                  " {\"file\": \"" + (dir / "empty.syx").string() + "\", \"error\": \"empty\"},\n"
                                  " {\"file\": \"" + dir.Path().string() + "\", \"error\": \"folder\"}]")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\"names\": [\"PIANO   3 \", \"HARPSICH 1\"")) << run.out;
    EXPECT_EQ(run.out.front(), '[');
}

// What info and repair say of single voices, of junk and of repairs they would make.
TEST(Commands, ReportsNameSingleVoiceSlotsAndCapJunk) {
    TempDir dir;
    const core::BankImage image = test::ImageOf(test::RealDump(4));
    test::Bytes singles = test::RealDump(5);  // a bank, then three single voices
    for (std::size_t s = 0; s < 3; ++s) {
        test::Bytes one = test::SingleVoiceDump(test::VoiceOf(image, s), 1);
        if (s == 2) one[6 + 14] = 120;  // OP6 amplitude sensitivity out of range: a note for the third
        singles.insert(singles.end(), one.begin(), one.end());
    }
    WriteBytes(dir / "mix.syx", singles);
    test::Bytes junk(200000);
    std::mt19937 random(7);
    for (auto& b : junk) b = core::Byte(random());
    WriteBytes(dir / "junk.syx", junk);

    CliRun run = Cli({"repair", (dir / "mix.syx").string(), "-o", (dir / "out").string()});
    EXPECT_TRUE(Contains(run.out, "voice \"" + NameText(test::VoiceOf(image, 2)) +
                                      "\" (slot 3 of mix-2.SYX): OP6 "))
        << run.out;
    run = Cli({"info", (dir / "mix.syx").string()});
    EXPECT_TRUE(Contains(run.out, "(would go to slot 3 of bank 2): OP6 "))
        << run.out;
    EXPECT_TRUE(Contains(run.out, " above its range: would be ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "would be recomputed")) << run.out;

    run = Cli({"info", (dir / "junk.syx").string()});
    const auto lines = std::count(run.out.begin(), run.out.end(), '\n');
    EXPECT_EQ(lines, 1 + 100 + 1) << run.out.substr(0, 400);  // the head, 100 lines, the count
    EXPECT_TRUE(Contains(run.out, " more not shown (")) << run.out.substr(run.out.size() - 200);
    run = Cli({"repair", (dir / "junk.syx").string(), "-o", (dir / "none").string()});
    EXPECT_FALSE(fs::exists(dir / "none"));
}

}  // namespace
}  // namespace cli
