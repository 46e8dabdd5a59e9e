#include "platform/QtSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace platform {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    std::string Path() const { return QDir(dir_.path()).filePath("Feldra.ini").toStdString(); }

    void WriteFile(const char* text) {
        QFile file(QString::fromStdString(Path()));
        ASSERT_TRUE(file.open(QFile::WriteOnly));
        file.write(text);
    }

    QTemporaryDir dir_;
};

TEST_F(QtSettingsStoreTest, ValuesWrittenAreReadBackByANewStore) {
    QtSettingsStore writer(Path());
    EXPECT_EQ(WriteSettings(kMidiKey, {{"AD", 0}, {"Timer2", 1000}, {"C8", 16}}, writer), 3);
    EXPECT_EQ(WriteSettings(kBaseKey, {{"MBX", -20}, {"COL", 2147483647}}, writer), 2);

    QtSettingsStore reader(Path());
    EXPECT_EQ(reader.Location(), Path());
    SettingsReader midi(kMidiKey, reader);
    std::int32_t ad = 1, timer2 = 0, c8 = 0;
    EXPECT_TRUE(midi.Next("AD", ad) && midi.Next("Timer2", timer2) && midi.Next("C8", c8));
    EXPECT_EQ(ad, 0);
    EXPECT_EQ(timer2, 1000);
    EXPECT_EQ(c8, 16);
    SettingsReader base(kBaseKey, reader);
    std::int32_t mbx = 0, col = 0;
    EXPECT_TRUE(base.Next("MBX", mbx) && base.Next("COL", col));
    EXPECT_EQ(mbx, -20);
    EXPECT_EQ(col, 2147483647);
}

TEST_F(QtSettingsStoreTest, AValueThatIsNotA32BitIntegerEndsTheReading) {
    WriteFile("[Base]\nA=5\nB=abc\nC=7\n"
              "[Midi]\nA=5000000000\n"
              "[EdtOpt]\nA=1.5\n");
    QtSettingsStore store(Path());
    SettingsReader base(kBaseKey, store);
    std::int32_t a = 0, b = 9, c = 9;
    EXPECT_TRUE(base.Next("A", a));
    EXPECT_FALSE(base.Next("B", b));
    EXPECT_FALSE(base.Next("C", c));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(c, 9);
    std::int32_t big = 9;
    EXPECT_FALSE(SettingsReader(kMidiKey, store).Next("A", big));
    EXPECT_FALSE(SettingsReader(kEditorOptionsKey, store).Next("A", big));
    EXPECT_EQ(big, 9);
}

TEST_F(QtSettingsStoreTest, AMissingKeyIsNotOpenedForReadingAndNotCreated) {
    QtSettingsStore store(Path());
    EXPECT_EQ(store.OpenForReading(kMidiKey), nullptr);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path())));
}

TEST_F(QtSettingsStoreTest, AStoreThatCannotBeCreatedSkipsEveryKey) {
    // The settings file's folder would have to be created below a plain file.
    WriteFile("");
    QtSettingsStore store(Path() + "/sub/Feldra.ini");
    EXPECT_EQ(store.OpenForWriting(kBaseKey), nullptr);
    EXPECT_EQ(WriteSettings(kBaseKey, {{"MBX", 1}}, store), 0);
}

}  // namespace
}  // namespace platform
