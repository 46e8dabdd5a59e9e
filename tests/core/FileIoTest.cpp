#include "core/FileIo.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#ifdef __unix__
#include <sys/resource.h>
#endif

#include "ShortReadFile.h"
#include "support/TempDir.h"

namespace core {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

std::vector<Byte> Bytes(std::size_t size, Byte value) { return std::vector<Byte>(size, value); }

bool Save(const SaveTarget& target, const std::vector<Byte>& content) {
    const std::span<const Byte> parts[] = {content};
    return SaveWithBackup(target, parts);
}

TEST(SaveTargetRule, DefaultExtensionOnlyWhenThePathHasNone) {
    SaveTarget plain = ResolveSaveTarget(fs::path("banks") / "MYBANK", ".DX7");
    EXPECT_EQ(plain.target, fs::path("banks") / "MYBANK.DX7");
    EXPECT_EQ(plain.baseName, "MYBANK");

    SaveTarget other = ResolveSaveTarget(fs::path("banks") / "MYBANK.txt", ".DX7");
    EXPECT_EQ(other.target, fs::path("banks") / "MYBANK.txt");
    EXPECT_EQ(other.baseName, "MYBANK");

    SaveTarget dotted = ResolveSaveTarget(fs::path("a.dir") / "my.bank.syx", ".SYX");
    EXPECT_EQ(dotted.target, fs::path("a.dir") / "my.bank.syx");
    EXPECT_EQ(dotted.baseName, "my.bank");
    EXPECT_EQ(BackupPath(dotted), fs::path("a.dir") / "my.bank.BAK");

    SaveTarget library = ResolveSaveTarget("LIB", ".DXL");
    EXPECT_EQ(library.target, fs::path("LIB.DXL"));
    EXPECT_EQ(BackupPath(library), fs::path("LIB.BAK"));
}

TEST(SafeSave, KeepsTheReplacedFileBesideTheTargetAndReplacesOlderBackups) {
    TempDir dir;
    const SaveTarget target = ResolveSaveTarget(dir / "MYBANK", ".DX7");
    ASSERT_TRUE(Save(target, Bytes(10, 1)));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"MYBANK.DX7"}));
    EXPECT_EQ(ReadBytes(dir / "MYBANK.DX7"), Bytes(10, 1));

    ASSERT_TRUE(Save(target, Bytes(20, 2)));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"MYBANK.BAK", "MYBANK.DX7"}));
    EXPECT_EQ(ReadBytes(dir / "MYBANK.DX7"), Bytes(20, 2));
    EXPECT_EQ(ReadBytes(dir / "MYBANK.BAK"), Bytes(10, 1));

    // An existing backup never blocks the next one: the version overwritten is always kept.
    ASSERT_TRUE(Save(target, Bytes(5, 3)));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"MYBANK.BAK", "MYBANK.DX7"}));
    EXPECT_EQ(ReadBytes(dir / "MYBANK.DX7"), Bytes(5, 3));
    EXPECT_EQ(ReadBytes(dir / "MYBANK.BAK"), Bytes(20, 2));
    EXPECT_FALSE(fs::exists(fs::current_path() / "MYBANK.BAK"));
}

TEST(SafeSave, TheReplacedFileKeepsItsPermissions) {
    // Saving over a file used to write into it; the new file must not be readable by more
    // people than the one it replaces.
    TempDir dir;
    WriteBytes(dir / "PRIVATE.DX7", Bytes(4, 1));
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(dir / "PRIVATE.DX7", ownerOnly);
    ASSERT_TRUE(Save(ResolveSaveTarget(dir / "PRIVATE", ".DX7"), Bytes(4, 2)));
    EXPECT_EQ(fs::status(dir / "PRIVATE.DX7").permissions(), ownerOnly);
    EXPECT_EQ(ReadBytes(dir / "PRIVATE.DX7"), Bytes(4, 2));
}

TEST(SafeSave, WritesAllPartsInOrder) {
    TempDir dir;
    const std::vector<Byte> a = {1, 2}, b = {}, c = {3};
    const std::span<const Byte> parts[] = {a, b, c};
    ASSERT_TRUE(SaveWithBackup(ResolveSaveTarget(dir / "X.DXL", ".DXL"), parts));
    EXPECT_EQ(ReadBytes(dir / "X.DXL"), (std::vector<Byte>{1, 2, 3}));
}

TEST(SafeSave, SavingOntoTheBackupNameItselfReplacesIt) {
    TempDir dir;
    const SaveTarget target = ResolveSaveTarget(dir / "MYBANK.BAK", ".DX7");
    WriteBytes(target.target, Bytes(3, 9));
    ASSERT_TRUE(Save(target, Bytes(4, 4)));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"MYBANK.BAK"}));
    EXPECT_EQ(ReadBytes(target.target), Bytes(4, 4));
}

TEST(SafeSave, AFailedSaveLeavesTargetAndBackupAsTheyWere) {
    TempDir dir;
    // The directory doesn't exist: nothing can be written anywhere.
    EXPECT_FALSE(Save(ResolveSaveTarget(dir / "missing" / "A", ".DX7"), Bytes(4, 1)));
    EXPECT_TRUE(dir.Files().empty());

    // The target is a directory.
    fs::create_directory(dir / "B.DX7");
    EXPECT_FALSE(Save(ResolveSaveTarget(dir / "B", ".DX7"), Bytes(4, 1)));
    EXPECT_TRUE(fs::is_directory(dir / "B.DX7"));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"B.DX7"}));

    // The backup name is taken by a directory: the old file can't be kept, so the save fails
    // and the target keeps its content.
    fs::create_directory(dir / "C.BAK");
    WriteBytes(dir / "C.DX7", Bytes(6, 6));
    EXPECT_FALSE(Save(ResolveSaveTarget(dir / "C", ".DX7"), Bytes(4, 1)));
    EXPECT_EQ(ReadBytes(dir / "C.DX7"), Bytes(6, 6));
    EXPECT_TRUE(fs::is_directory(dir / "C.BAK"));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"B.DX7", "C.BAK", "C.DX7"}));
}

#ifdef __unix__
// Lets writes beyond `bytes` fail (as on a full disk) for the lifetime of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool Active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

TEST(SafeSave, AWriteThatFailsHalfwayChangesNothing) {
    TempDir dir;
    WriteBytes(dir / "D.DX7", Bytes(100, 1));
    WriteBytes(dir / "D.BAK", Bytes(50, 2));
    bool saved;
    {
        FileSizeLimit limit(1000);
        if (!limit.Active()) GTEST_SKIP() << "file size limit not available";
        saved = Save(ResolveSaveTarget(dir / "D", ".DX7"), Bytes(8192, 3));
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(dir / "D.DX7"), Bytes(100, 1));
    EXPECT_EQ(ReadBytes(dir / "D.BAK"), Bytes(50, 2));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"D.BAK", "D.DX7"}));
}
#endif

TEST(ReadFile, WholeFilesAndTheFailures) {
    TempDir dir;
    WriteBytes(dir / "F", {1, 2, 3});
    EXPECT_EQ(ReadWholeFile(dir / "F"), (std::vector<Byte>{1, 2, 3}));
    WriteBytes(dir / "E", {});
    EXPECT_EQ(ReadWholeFile(dir / "E"), std::vector<Byte>{});
    EXPECT_FALSE(ReadWholeFile(dir / "missing"));
    EXPECT_FALSE(ReadWholeFile(dir.Path()));
    InputFile directory(dir.Path());
    EXPECT_FALSE(directory.IsOpen());

    const std::optional<fs::path> shortFile = test::ShortReadFile();
    if (!shortFile) GTEST_SKIP() << "no file that reads shorter than its size";
    InputFile file(*shortFile);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_FALSE(ReadWholeFile(*shortFile));
}

}  // namespace
}  // namespace core
