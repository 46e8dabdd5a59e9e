#include "editor/EditorSettings.h"

#include <gtest/gtest.h>

#include "platform/MemorySettings.h"

namespace editor {
namespace {

using platform::kEditorOptionsKey;

TEST(EditorSettingsTest, WrittenValuesReadBackInTheKeysOrder) {
    platform::MemorySettings store;
    const EditorPlace place{12, -30, true, true};
    EditorLook look;
    look.verticalLines = false;
    look.fillSurface = true;
    look.gradient = false;
    look.showMarkers = false;
    look.markerColour = 0x0000FF;
    look.backgroundColour = 0x102030;
    look.gradientColour = 0x010203;
    look.lineColour = 0xFFFFFF;
    look.gradientSteps = 256;
    look.gradientMode = 7;
    look.markerSize = 15;
    EXPECT_EQ(WriteEditorSettings(place, look, store), 15);
    EXPECT_EQ(store.WrittenNames(kEditorOptionsKey),
              (std::vector<std::string>{"EDX", "EDY", "EVI", "SOT", "SVL", "FSU", "GRE", "SHMK",
                                        "CLM", "CLB", "CLG", "CLS", "GRN", "GRM", "SZMK"}));
    EXPECT_EQ(store.Get(kEditorOptionsKey, "SOT"), 3);
    EXPECT_EQ(store.Get(kEditorOptionsKey, "EDX"), 12);  // the top edge

    EditorPlace placeRead;
    ReadEditorPlace(placeRead, store);
    EXPECT_EQ(placeRead, place);
    EditorLook lookRead;
    EXPECT_EQ(ReadEditorLook(lookRead, store), kLookValueCount);
    EXPECT_EQ(lookRead, look);
}

// Without a key the options are what the displays are drawn with, so writing them at exit
// gives the next start the look of this one.
TEST(EditorSettingsTest, NoKeyKeepsTheDisplaysDesignLook) {
    platform::MemorySettings store;
    EditorLook look;
    EXPECT_EQ(ReadEditorLook(look, store), 0);
    EXPECT_EQ(look, EditorLook{});
    EXPECT_TRUE(look.verticalLines);
    EXPECT_EQ(look.gradientSteps, 64);
    EXPECT_EQ(look.gradientMode, 6);
    EXPECT_EQ(look.lineColour, 0x808000);
    EditorPlace place;
    ReadEditorPlace(place, store);
    EXPECT_EQ(place, (EditorPlace{278, 206, false, false}));
}

TEST(EditorSettingsTest, AGapEndsTheReadingAndKnobsAreClamped) {
    platform::MemorySettings store;
    store.Set(kEditorOptionsKey, "EDX", 5);
    store.Set(kEditorOptionsKey, "EDY", 6);
    store.Set(kEditorOptionsKey, "SOT", 3);  // "EVI" missing: "SOT" is not read
    EditorPlace place;
    ReadEditorPlace(place, store);
    EXPECT_EQ(place, (EditorPlace{5, 6, false, false}));

    store.Set(kEditorOptionsKey, "SVL", 0);
    store.Set(kEditorOptionsKey, "FSU", 1);
    EditorLook look;
    EXPECT_EQ(ReadEditorLook(look, store), 2);
    EXPECT_FALSE(look.verticalLines);
    EXPECT_TRUE(look.fillSurface);

    for (const char* name : {"GRE", "SHMK", "CLM", "CLB", "CLG", "CLS"}) store.Set(kEditorOptionsKey, name, 1);
    store.Set(kEditorOptionsKey, "GRN", 0);
    store.Set(kEditorOptionsKey, "GRM", 8);
    store.Set(kEditorOptionsKey, "SZMK", -1);
    EXPECT_EQ(ReadEditorLook(look, store), kLookValueCount);
    EXPECT_EQ(look.gradientSteps, 1);
    EXPECT_EQ(look.gradientMode, 7);
    EXPECT_EQ(look.markerSize, 0);
    EXPECT_EQ(look.DisplayMarkerSize(), 0);
}

}  // namespace
}  // namespace editor
