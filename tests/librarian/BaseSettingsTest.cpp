#include "librarian/BaseSettings.h"

#include <gtest/gtest.h>

#include "platform/MemorySettings.h"

namespace librarian {
namespace {

TEST(BaseSettings, AKeyHoldingOnlyMbxSetsTheTopEdgeAndLeavesEverythingElse) {
    platform::MemorySettings store;
    store.Set(platform::kBaseKey, "MBX", 40);
    store.Set(platform::kBaseKey, "PER", 1);  // after the missing "MBY": never read
    BaseValues values;
    ReadMainWindowValues(values, store);
    EXPECT_EQ(values.mainTop, 40);
    EXPECT_EQ(values.mainLeft, 241);
    EXPECT_EQ(values.functionsMode, 0);
    EXPECT_EQ(values.pageMode, 0);
}

TEST(BaseSettings, ReadsAllFourValuesOfTheMainWindow) {
    platform::MemorySettings store;
    store.Set(platform::kBaseKey, "MBX", 10);
    store.Set(platform::kBaseKey, "MBY", 20);
    store.Set(platform::kBaseKey, "PER", 1);
    store.Set(platform::kBaseKey, "PAG", 1);
    store.Set(platform::kBaseKey, "OBX", 99);  // the options window's, not read here
    BaseValues values;
    ReadMainWindowValues(values, store);
    EXPECT_EQ(values.mainTop, 10);
    EXPECT_EQ(values.mainLeft, 20);
    EXPECT_EQ(values.functionsMode, 1);
    EXPECT_EQ(values.pageMode, 1);
    EXPECT_EQ(values.optionsTop, 506);
}

TEST(BaseSettings, TheOptionsWindowReadsItsElevenValuesUpToTheFirstMissingOne) {
    platform::MemorySettings store;
    store.Set(platform::kBaseKey, "OBX", 30);
    store.Set(platform::kBaseKey, "OBY", 40);
    store.Set(platform::kBaseKey, "OBO", 1);
    store.Set(platform::kBaseKey, "MSL", 1);
    store.Set(platform::kBaseKey, "LBU", 1);
    store.Set(platform::kBaseKey, "CPY", 0);
    store.Set(platform::kBaseKey, "SWP", 1);
    // "ADD" missing: it and everything after it keep their defaults.
    store.Set(platform::kBaseKey, "DF1", 1);
    store.Set(platform::kBaseKey, "DEL", 1);
    store.Set(platform::kBaseKey, "MBX", 99);  // the main window's, not read here
    BaseValues values;
    ReadOptionsWindowValues(values, store);
    EXPECT_EQ(values.optionsTop, 30);
    EXPECT_EQ(values.optionsLeft, 40);
    EXPECT_EQ(values.optionsOpen, 1);
    EXPECT_EQ(values.multiSelect, 1);
    EXPECT_EQ(values.linkBuffers, 1);
    EXPECT_EQ(values.dropCopy, 0);
    EXPECT_EQ(values.dropSwap, 1);
    EXPECT_EQ(values.dropAddTo, 0);
    EXPECT_EQ(values.doublesFirst, 0);
    EXPECT_EQ(values.doublesSecond, 1);
    EXPECT_EQ(values.doublesDelete, 0);
    EXPECT_EQ(values.mainTop, 166);
}

TEST(BaseSettings, WritesTwentyTwoValuesInTheKeysOrder) {
    platform::MemorySettings store;
    BaseValues values;
    values.mainTop = 5;
    values.pageMode = 1;
    EXPECT_EQ(WriteBaseValues(values, store), 22);
    const std::vector<std::string> expected{"MBX", "MBY", "OBX", "OBY", "TBX", "TBY",
                                            "PER", "PAG", "OBO", "TBO", "MSL", "LBU",
                                            "CPY", "SWP", "ADD", "DF1", "DF2", "DEL",
                                            "AUD", "AUDN", "AUDV", "AUDL"};
    EXPECT_EQ(store.WrittenNames(platform::kBaseKey), expected);
    EXPECT_EQ(store.Get(platform::kBaseKey, "MBX"), 5);
    EXPECT_EQ(store.Get(platform::kBaseKey, "PAG"), 1);
    EXPECT_EQ(store.Get(platform::kBaseKey, "CPY"), 1);
    EXPECT_EQ(store.Get(platform::kBaseKey, "DF2"), 1);
}

TEST(BaseSettings, AFailedWriteEndsTheKeyQuietly) {
    platform::MemorySettings store;
    store.RefuseWrite(platform::kBaseKey, "PER");
    EXPECT_EQ(WriteBaseValues(BaseValues{}, store), 6);
    EXPECT_FALSE(store.Get(platform::kBaseKey, "PAG").has_value());
}

}  // namespace
}  // namespace librarian
