#include "platform/MemorySettings.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(SettingsReader, StopsAtTheFirstMissingValueAndKeepsLaterTargets) {
    MemorySettings store;
    store.Set(kMidiKey, "AD", 0);
    store.Set(kMidiKey, "DX", 1);
    store.Set(kMidiKey, "TXC", 0);  // present, but after the missing "TX"

    SettingsReader reader(kMidiKey, store);
    std::int32_t ad = 1, dx = 0, tx = 1, txc = 1;
    EXPECT_TRUE(reader.Next("AD", ad));
    EXPECT_TRUE(reader.Next("DX", dx));
    EXPECT_FALSE(reader.Stopped());
    EXPECT_FALSE(reader.Next("TX", tx));
    EXPECT_FALSE(reader.Next("TXC", txc));
    EXPECT_TRUE(reader.Stopped());
    EXPECT_EQ(ad, 0);
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(tx, 1);
    EXPECT_EQ(txc, 1);
}

TEST(SettingsReader, ReadsNothingFromAKeyThatDoesNotExistOrCannotBeOpened) {
    MemorySettings store;
    store.Set(kBaseKey, "MBX", 10);
    std::int32_t value = 7;
    EXPECT_FALSE(SettingsReader(kMidiKey, store).Next("MBX", value));
    store.RefuseKey(kBaseKey);
    EXPECT_FALSE(SettingsReader(kBaseKey, store).Next("MBX", value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(store.HasKey(kMidiKey)) << "reading must not create the key";
}

TEST(WriteSettings, WritesInOrderSkipsRefusedKeysAndStopsAKeyAtItsFirstFailedWrite) {
    MemorySettings store;
    store.RefuseKey(kBaseKey);
    store.RefuseWrite(kMidiKey, "DX");

    EXPECT_EQ(WriteSettings(kBaseKey, {{"MBX", 1}, {"MBY", 2}}, store), 0);
    EXPECT_EQ(WriteSettings(kMidiKey, {{"AD", 1}, {"DX", 0}, {"TX", 1}}, store), 1);
    EXPECT_EQ(WriteSettings(kEditorOptionsKey, {{"EDX", -5}, {"SZMK", 2147483647}}, store), 2);

    EXPECT_FALSE(store.HasKey(kBaseKey));
    EXPECT_EQ(store.Values(kMidiKey), (MemorySettings::ValueMap{{"AD", 1}}));
    EXPECT_EQ(store.Values(kEditorOptionsKey),
              (MemorySettings::ValueMap{{"EDX", -5}, {"SZMK", 2147483647}}));
}

TEST(Settings, TheInstalledStoreIsUsedUntilItIsRemoved) {
    MemorySettings mine;
    SetSettings(&mine);
    WriteSettings(kMidiKey, {{"AD", 1}});
    EXPECT_EQ(mine.Get(kMidiKey, "AD"), 1);
    SetSettings(nullptr);
    EXPECT_NE(&Settings(), &mine);
}

}  // namespace
}  // namespace platform
