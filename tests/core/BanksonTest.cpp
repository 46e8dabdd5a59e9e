#include "core/Bankson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "PageTestData.h"
#include "ShortReadFile.h"
#include "platform/MessageBoxes.h"
#include "support/TempDir.h"

namespace core {
namespace {

using platform::BoxKind;
using platform::RecordingBoxes;
using test::EmptyPage;
using test::NameOf;
using test::UsedSlot;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

using Box = RecordingBoxes::Box;

const Box kFormatError{BoxKind::Error, "File Error", "File Format Error - Abort Loading", false};
const Box kReadError{BoxKind::Error, "File Error", "Read File Error - Abort Loading", false};
const Box kWriteError{BoxKind::Error, "File Error", "Write File Error - Abort Saving", false};

Box CopyWarning(const std::string& text) { return {BoxKind::Warning, "Copy Warning", text, false}; }

bool PageIsEmpty(const VoicePage& page) {
    const VoicePage empty = EmptyPage();
    return std::memcmp(&page, &empty, sizeof page) == 0;
}

bool SameBytes(const auto& a, const auto& b) {
    static_assert(sizeof a == sizeof b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A bank whose slot s holds a voice filled with s and named "VOICE s", status `status`, and
// whose function record n is filled with 100 + n.
void Fill(Bankson& bank, Byte status = kStatusUsed) {
    for (int s = 0; s < 32; ++s)
        bank.Page()[s] = UsedSlot("VOICE " + std::to_string(s), Byte(s), status);
    for (int n = 0; n < 64; ++n) bank.Functions()[n].fill(Byte(100 + n));
}

std::vector<Byte> ImageBytes(Byte base) {
    std::vector<Byte> image(4096);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = Byte((base + i / 128 + i % 7) & 0x7F);
    return image;
}

TEST(Bankson, StartsEmptyAndClearsVoicesAndFunctionsSeparately) {
    Bankson bank;
    EXPECT_TRUE(PageIsEmpty(bank.Page()));
    PackedFunction empty;
    InitFunction(empty);
    for (const PackedFunction& f : bank.Functions()) EXPECT_EQ(f, empty);
    EXPECT_EQ(bank.Name(), "");
    EXPECT_EQ(bank.VoiceName(0), "----------");
    EXPECT_EQ(&bank.Slots().page, &bank.Page());
    EXPECT_EQ(reinterpret_cast<Byte*>(&bank.Functions()), reinterpret_cast<Byte*>(&bank.Slots()) + 4128);

    Fill(bank);
    EXPECT_EQ(bank.VoiceName(3), "VOICE 3   ");
    EXPECT_EQ(bank.VoiceName(32), "");
    bank.ClearVoices();
    EXPECT_TRUE(PageIsEmpty(bank.Page()));
    EXPECT_EQ(bank.Functions()[5][0], 105);
    Fill(bank);
    bank.ClearFunctions();
    for (const PackedFunction& f : bank.Functions()) EXPECT_EQ(f, empty);
    EXPECT_EQ(bank.VoiceName(3), "VOICE 3   ");
}

TEST(Bankson, SelectionSortAndDoublesWithAndWithoutFunctions) {
    Bankson bank;
    Fill(bank);
    bank.Page()[0] = UsedSlot("ZZZ", 50, kStatusUsed | kStatusSelected);
    bank.Page()[1] = UsedSlot("AAA", 50);  // a double of slot 0
    EXPECT_TRUE(bank.IsSelected(0));
    bank.InvertSelection();
    EXPECT_FALSE(bank.IsSelected(0));
    EXPECT_TRUE(bank.IsSelected(1));
    bank.ClearSelection();
    EXPECT_FALSE(bank.IsSelected(1));

    bank.SortByName(false);
    EXPECT_EQ(bank.VoiceName(0), "AAA       ");
    EXPECT_EQ(bank.VoiceName(31), "ZZZ       ");
    EXPECT_EQ(bank.Functions()[0][0], 100);  // records stay without functions
    bank.SortByName(true);                    // already sorted: nothing moves
    EXPECT_EQ(bank.Functions()[0][0], 100);

    bank.FindDoubles(false, {false, true, false});
    EXPECT_TRUE(bank.IsSelected(31));
    bank.ClearSelected(true);
    EXPECT_FALSE(bank.Page()[31].IsUsed());
    PackedFunction empty;
    InitFunction(empty);
    EXPECT_EQ(bank.Functions()[31], empty);

    Fill(bank);
    bank.Page()[4] = UsedSlot("DOUBLE", 60);
    bank.Page()[9] = UsedSlot("DOUBLE", 60);
    bank.FindDoubles(true, {true, false, true});
    EXPECT_FALSE(bank.Page()[4].IsUsed());
    EXPECT_TRUE(bank.Page()[9].IsUsed());
    EXPECT_EQ(bank.Functions()[4], empty);
    EXPECT_EQ(bank.Functions()[9][0], 109);
}

TEST(Bankson, ExchangeSwapsVoicesOrVoicesWithFunctions) {
    Bankson a, b;
    Fill(a, kStatusUsed | kStatusSelected);
    const BankSlotBlock aBefore = a.Slots();
    const BankSlotBlock bBefore = b.Slots();
    a.Exchange(b.Slots(), kBankVoicesLength);
    EXPECT_TRUE(SameBytes(a.Page(), bBefore.page));
    EXPECT_TRUE(SameBytes(b.Page(), aBefore.page));
    EXPECT_TRUE(SameBytes(a.Functions(), aBefore.functions));
    EXPECT_TRUE(SameBytes(b.Functions(), bBefore.functions));
    a.Exchange(b.Slots(), kBankSlotBlockLength);
    EXPECT_TRUE(SameBytes(a.Page(), aBefore.page));
    EXPECT_TRUE(SameBytes(a.Functions(), bBefore.functions));
    EXPECT_TRUE(SameBytes(b.Functions(), aBefore.functions));
    a.Exchange(a.Slots(), kBankSlotBlockLength);  // with itself: nothing changes
    EXPECT_TRUE(SameBytes(a.Page(), aBefore.page));
}

TEST(BankCopy, FromAPageStopsWithAWarningWhenTheBankIsFull) {
    RecordingBoxes boxes;
    VoicePage source = EmptyPage();
    const int selected[] = {1, 4, 6, 20, 31};
    for (int s : selected)
        source[s] = UsedSlot("SEL " + std::to_string(s), 1, Byte(kStatusUsed | kStatusSelected | (3 << 2)));
    source[2] = UsedSlot("NOT SEL");

    Bankson bank;
    Fill(bank);
    for (int s : {5, 10, 30}) InitSlot(bank.Page()[s]);
    const FunctionBank functionsBefore = bank.Functions();
    bank.CopyFromPage(source, kStatusSelected);
    EXPECT_EQ(boxes.Shown(), (std::vector<Box>{CopyWarning("3 Sounds Copied. Destination Bank is Full !")}));
    EXPECT_EQ(bank.VoiceName(5), "SEL 1     ");
    EXPECT_EQ(bank.Page()[5].status, kStatusUsed | kStatusSelected | (3 << 2));
    EXPECT_EQ(bank.VoiceName(10), "SEL 4     ");
    EXPECT_EQ(bank.VoiceName(30), "SEL 6     ");
    EXPECT_EQ(bank.VoiceName(31), "VOICE 31  ");
    EXPECT_TRUE(SameBytes(bank.Functions(), functionsBefore));

    // Everything fits: no box, even though the bank is full afterwards.
    boxes.Clear();
    Bankson roomy;
    Fill(roomy);
    for (int s = 27; s < 32; ++s) InitSlot(roomy.Page()[s]);
    roomy.CopyFromPage(source, kStatusSelected);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(roomy.VoiceName(27), "SEL 1     ");
    EXPECT_EQ(roomy.VoiceName(31), "SEL 31    ");

    // Mask 1: used slots only; into a full bank nothing goes.
    roomy.CopyFromPage(source, kStatusUsed);
    EXPECT_EQ(boxes.Shown(), (std::vector<Box>{CopyWarning("0 Sounds Copied. Destination Bank is Full !")}));
}

TEST(BankCopy, ToAPageUsesThePageWording) {
    RecordingBoxes boxes;
    Bankson bank;
    for (int s : {0, 7, 8}) bank.Page()[s] = UsedSlot("B" + std::to_string(s));
    VoicePage page = EmptyPage();
    for (int s = 0; s < 31; ++s) page[s] = UsedSlot("P");
    bank.CopyToPage(page, kStatusUsed);
    EXPECT_EQ(boxes.Shown(), (std::vector<Box>{CopyWarning("1 Sounds Copied. Destination Page is Full !")}));
    EXPECT_EQ(NameOf(page[31]), "B0        ");

    boxes.Clear();
    VoicePage empty = EmptyPage();
    bank.CopyToPage(empty, kStatusUsed);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(NameOf(empty[2]), "B8        ");
    EXPECT_FALSE(empty[3].IsUsed());
}

TEST(BankCopy, SelectionIntoItsOwnBankIsDuplicatedOnce) {
    RecordingBoxes boxes;
    Bankson bank;
    bank.Page()[0] = UsedSlot("ONE", 1, kStatusUsed | kStatusSelected);
    bank.Page()[2] = UsedSlot("TWO", 2, kStatusUsed | kStatusSelected);
    bank.Page()[3] = UsedSlot("STAY", 3);
    bank.CopyToPage(bank.Page(), kStatusSelected);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(bank.VoiceName(1), "ONE       ");
    EXPECT_EQ(bank.VoiceName(4), "TWO       ");
    EXPECT_EQ(Nomsyn::FirstFree(bank.Page(), kStatusUsed), 5);
}

class BankFiles : public ::testing::Test {
protected:
    TempDir dir;
    RecordingBoxes boxes;
    Bankson bank;
};

TEST_F(BankFiles, ImageFilesOfEveryAcceptedSize) {
    std::vector<Byte> image = ImageBytes(1);
    // Slot 3 holds an empty voice: it loads as used all the same.
    std::fill_n(image.begin() + 3 * 128, 118, Byte(0));
    std::fill_n(image.begin() + 3 * 128 + 118, 10, Byte('-'));
    std::vector<Byte> withExtra = image;
    withExtra.push_back(0x55);
    std::vector<Byte> withFunctions = image;
    for (int i = 0; i < 4096; ++i) withFunctions.push_back(Byte(i % 100));
    WriteBytes(dir / "plain.dx7", image);
    WriteBytes(dir / "extra.DX7", withExtra);
    WriteBytes(dir / "both.DX7", withFunctions);

    auto expectImage = [&](const char* name) {
        for (int s = 0; s < 32; ++s) {
            ASSERT_EQ(std::memcmp(bank.Page()[s].voice.data(), image.data() + 128 * s, 128), 0) << name << s;
            ASSERT_EQ(bank.Page()[s].status, kStatusUsed) << name << s;
        }
    };
    Fill(bank);
    const FunctionBank functionsBefore = bank.Functions();
    ASSERT_TRUE(bank.LoadBankFile(dir / "plain.dx7", true));
    expectImage("plain");
    EXPECT_EQ(bank.Name(), "plain");
    ASSERT_TRUE(bank.LoadBankFile(dir / "extra.DX7", true));
    expectImage("extra");
    EXPECT_EQ(bank.Name(), "extra");
    ASSERT_TRUE(bank.LoadBankFile(dir / "both.DX7", false));
    expectImage("both");
    EXPECT_TRUE(SameBytes(bank.Functions(), functionsBefore));
    ASSERT_TRUE(bank.LoadBankFile(dir / "both.DX7", true));
    EXPECT_EQ(std::memcmp(bank.Functions().data(), withFunctions.data() + 4096, 4096), 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(BankFiles, BulkDumpFilesOfVoicesAndOfFunctions) {
    const std::vector<Byte> image = ImageBytes(9);
    std::vector<Byte> dump = {0xF0, 0x43, 0x05, 0x09, 0x20, 0x00};
    dump.insert(dump.end(), image.begin(), image.end());
    dump.push_back(0x00);  // wrong checksum: ignored
    dump.push_back(0xF7);
    WriteBytes(dir / "voices.syx", dump);
    ASSERT_TRUE(bank.LoadBankFile(dir / "voices.syx", false));
    for (int s = 0; s < 32; ++s)
        ASSERT_EQ(std::memcmp(bank.Page()[s].voice.data(), image.data() + 128 * s, 128), 0) << s;
    EXPECT_EQ(bank.Name(), "voices");

    // A function-bank dump fills the function bank only; voices, selection and markers stay.
    Fill(bank, kStatusUsed | kStatusSelected | (6 << 2));
    InitSlot(bank.Page()[7]);
    const BankSlotBlock before = bank.Slots();
    dump[3] = 0x02;
    WriteBytes(dir / "functions.syx", dump);
    ASSERT_TRUE(bank.LoadBankFile(dir / "functions.syx", false));
    EXPECT_TRUE(SameBytes(bank.Page(), before.page));
    EXPECT_EQ(std::memcmp(bank.Functions().data(), image.data(), 4096), 0);
    EXPECT_EQ(bank.Name(), "functions");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(BankFiles, EveryOtherSizeIsRefusedAndChangesNothing) {
    const fs::path file = dir / "sized.dx7";
    WriteBytes(file, {});
    Bankson filled;
    Fill(filled);
    for (std::uintmax_t size = 0; size <= 9000; ++size) {
        fs::resize_file(file, size);
        bank.Slots() = filled.Slots();
        const std::string nameBefore = bank.Name();
        boxes.Clear();
        const bool loaded = bank.LoadBankFile(file, true);
        const bool accepted = size == 4096 || size == 4097 || size == 4104 || size == 8192;
        ASSERT_EQ(loaded, accepted) << size;
        if (accepted) {
            ASSERT_TRUE(boxes.Shown().empty()) << size;
            continue;
        }
        ASSERT_EQ(boxes.Shown(), std::vector<Box>{kFormatError}) << size;
        ASSERT_TRUE(SameBytes(bank.Slots(), filled.Slots())) << size;
        ASSERT_EQ(bank.Name(), nameBefore) << size;
    }
}

TEST_F(BankFiles, MissingDirectoryAndUnreadableFiles) {
    Fill(bank);
    const BankSlotBlock before = bank.Slots();
    EXPECT_FALSE(bank.LoadBankFile(dir / "missing.dx7", true));
    EXPECT_FALSE(bank.LoadBankFile(dir.Path(), true));
    EXPECT_EQ(boxes.Shown(), (std::vector<Box>{kFormatError, kFormatError}));
    EXPECT_TRUE(SameBytes(bank.Slots(), before));

    const std::optional<fs::path> shortFile = test::ShortReadFile();
    if (!shortFile) GTEST_SKIP() << "no file that reads shorter than its size";
    boxes.Clear();
    EXPECT_FALSE(bank.LoadBankFile(*shortFile, true));
    EXPECT_EQ(boxes.Shown(), std::vector<Box>{kReadError});
    EXPECT_TRUE(SameBytes(bank.Slots(), before));
    EXPECT_EQ(bank.Name(), "");
}

TEST_F(BankFiles, SavingABankFileNamesTargetAndBank) {
    Fill(bank, kStatusUsed | kStatusSelected);
    EXPECT_EQ(bank.SaveBankFile(dir / "MYBANK", false), 0);
    EXPECT_EQ(bank.Name(), "MYBANK");
    const std::vector<Byte> image = ReadBytes(dir / "MYBANK.DX7");
    ASSERT_EQ(image.size(), 4096u);
    for (int s = 0; s < 32; ++s)
        EXPECT_EQ(std::memcmp(image.data() + 128 * s, bank.Page()[s].voice.data(), 128), 0) << s;

    EXPECT_EQ(bank.SaveBankFile(dir / "MYBANK.txt", true), 0);
    EXPECT_EQ(bank.Name(), "MYBANK");
    const std::vector<Byte> both = ReadBytes(dir / "MYBANK.txt");
    ASSERT_EQ(both.size(), 8192u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), both.begin()));
    EXPECT_EQ(std::memcmp(both.data() + 4096, bank.Functions().data(), 4096), 0);

    // Saving over MYBANK.DX7 keeps the old one as MYBANK.BAK, and again the next time.
    EXPECT_EQ(bank.SaveBankFile(dir / "MYBANK", true), 0);
    EXPECT_EQ(ReadBytes(dir / "MYBANK.BAK"), image);
    EXPECT_EQ(ReadBytes(dir / "MYBANK.DX7").size(), 8192u);
    EXPECT_EQ(bank.SaveBankFile(dir / "MYBANK.DX7", false), 0);
    EXPECT_EQ(ReadBytes(dir / "MYBANK.BAK").size(), 8192u);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"MYBANK.BAK", "MYBANK.DX7", "MYBANK.txt"}));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(BankFiles, SystemExclusiveFilesForVoicesAndFunctions) {
    Fill(bank);
    ASSERT_EQ(bank.SaveSysexFile(dir / "ch1", false, 1), 0);
    EXPECT_EQ(bank.Name(), "ch1");
    const std::vector<Byte> voices = ReadBytes(dir / "ch1.SYX");
    ASSERT_EQ(voices.size(), 4104u);
    EXPECT_EQ(std::vector<Byte>(voices.begin(), voices.begin() + 6),
              (std::vector<Byte>{0xF0, 0x43, 0x00, 0x09, 0x20, 0x00}));
    EXPECT_EQ(voices[4102], BankChecksum(voices.data() + 6, 4096));
    EXPECT_EQ(voices[4103], 0xF7);
    EXPECT_EQ(std::memcmp(voices.data() + 6 + 128 * 3, bank.Page()[3].voice.data(), 128), 0);

    ASSERT_EQ(bank.SaveSysexFile(dir / "ch16.syx", true, 16), 0);
    const std::vector<Byte> functions = ReadBytes(dir / "ch16.syx");
    ASSERT_EQ(functions.size(), 4104u);
    EXPECT_EQ(functions[2], 0x0F);
    EXPECT_EQ(functions[3], 0x02);
    EXPECT_EQ(std::memcmp(functions.data() + 6, bank.Functions().data(), 4096), 0);
    EXPECT_EQ(functions[4102], BankChecksum(functions.data() + 6, 4096));
    EXPECT_EQ(functions[4103], 0xF7);

    // The function-bank file loads back into the function bank only.
    Bankson other;
    ASSERT_TRUE(other.LoadBankFile(dir / "ch16.syx", false));
    EXPECT_TRUE(SameBytes(other.Functions(), bank.Functions()));
    EXPECT_TRUE(PageIsEmpty(other.Page()));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(BankFiles, UnwritableTargetsReportAndChangeNothing) {
    Fill(bank);
    ASSERT_EQ(bank.SaveBankFile(dir / "KEEP", false), 0);
    const std::vector<Byte> kept = ReadBytes(dir / "KEEP.DX7");
    Fill(bank, kStatusUsed | kStatusSelected);
    const BankSlotBlock before = bank.Slots();
    fs::create_directory(dir / "DIR.DX7");
    fs::create_directory(dir / "KEEP.BAK");  // the old file can't be kept under this name

    EXPECT_EQ(bank.SaveBankFile(dir / "missing" / "A", true), 1);
    EXPECT_EQ(bank.SaveBankFile(dir / "DIR", false), 1);
    EXPECT_EQ(bank.SaveSysexFile(dir / "missing" / "B", false, 1), 1);
    EXPECT_EQ(bank.SaveSysexFile(dir / "DIR.DX7", true, 3), 1);
    EXPECT_EQ(bank.SaveBankFile(dir / "KEEP", true), 1);
    EXPECT_EQ(boxes.Shown(), std::vector<Box>(5, kWriteError));
    EXPECT_EQ(bank.Name(), "KEEP");
    EXPECT_TRUE(SameBytes(bank.Slots(), before));
    EXPECT_EQ(ReadBytes(dir / "KEEP.DX7"), kept);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"DIR.DX7", "KEEP.BAK", "KEEP.DX7"}));
}

}  // namespace
}  // namespace core
