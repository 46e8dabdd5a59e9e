// The editor options reaching the editor window's thirteen displays.

#include "editor/TfrmEditOpt.h"

#include <QFrame>
#include <QLabel>

#include "EditorWindowFixture.h"
#include "controls/ColourValue.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzografsw.h"
#include "controls/Tzokeyf.h"
#include "controls/Tzopotlab.h"

namespace editor {
namespace {

class TfrmEditOptTest : public EditorWindowFixture {
protected:
    TfrmEditOpt& Options() {
        if (!options_) {
            EditorDisplaySet set{Window().EnvelopeDisplays(), Window().KeyScalingDisplays()};
            options_ = std::make_unique<TfrmEditOpt>(set, nullptr, settings_);
        }
        return *options_;
    }
    template <typename T = QWidget>
    T* Option(const char* name) {
        auto* control = Options().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    std::vector<controls::GraphDisplay*> All() {
        std::vector<controls::GraphDisplay*> all(Window().EnvelopeDisplays().begin(),
                                                 Window().EnvelopeDisplays().end());
        all.insert(all.end(), Window().KeyScalingDisplays().begin(), Window().KeyScalingDisplays().end());
        return all;
    }
    void TearDown() override {
        options_.reset();
        EditorWindowFixture::TearDown();
    }
    std::unique_ptr<TfrmEditOpt> options_;
};

// With no stored key the options show what the displays draw, and every display (the keyboard
// scaling ones included) matches them from the first start on.
TEST_F(TfrmEditOptTest, FirstStartShowsAndWritesWhatTheDisplaysDraw) {
    Options();
    EXPECT_EQ(Options().Look(), EditorLook{});
    EXPECT_EQ(Option<controls::Tzografsw>("Svline")->state(), 1);
    EXPECT_EQ(Option<controls::Tzopotlab>("GradNbCol")->state(), 64);
    for (auto* d : All()) {
        SCOPED_TRACE(d->objectName().toStdString());
        EXPECT_EQ(d->gradientNbOfColors(), 64);
        EXPECT_EQ(d->gradientType(), 6);
        EXPECT_TRUE(d->gradientEnabled());
        EXPECT_EQ(controls::ValueFromColour(d->lineColor()), 0x808000u);
        EXPECT_EQ(controls::ValueFromColour(d->gradientColor()), 0x404000u);
        EXPECT_EQ(controls::ValueFromColour(d->markerColor()), 0xFFFF00u);
        EXPECT_EQ(d->markerSize(), 3);
    }
    for (auto* d : Window().EnvelopeDisplays()) EXPECT_TRUE(d->showVLines());
    EXPECT_EQ(WriteEditorSettings(Window().Place(), Options().Look(), settings_), 15);
    EditorLook again;
    EXPECT_EQ(ReadEditorLook(again, settings_), kLookValueCount);
    EXPECT_EQ(again, Options().Look());
}

TEST_F(TfrmEditOptTest, StoredLookReachesAllThirteenDisplays) {
    EditorLook look;
    look.verticalLines = false;
    look.fillSurface = true;
    look.gradient = false;
    look.markerColour = 0x0000FF;
    look.backgroundColour = 0x202020;
    look.gradientColour = 0x00FF00;
    look.lineColour = 0xFF0000;
    look.gradientSteps = 256;
    look.gradientMode = 3;
    look.markerSize = 5;
    WriteEditorSettings(EditorPlace{}, look, settings_);
    Options();
    EXPECT_EQ(Options().Look(), look);
    EXPECT_EQ(All().size(), 13u);
    for (auto* d : All()) {
        SCOPED_TRACE(d->objectName().toStdString());
        EXPECT_EQ(d->gradientNbOfColors(), 256);
        EXPECT_EQ(d->gradientType(), 3);
        EXPECT_FALSE(d->gradientEnabled());
        EXPECT_EQ(controls::ValueFromColour(d->color()), 0x202020u);
        EXPECT_EQ(controls::ValueFromColour(d->lineColor()), 0xFF0000u);
        EXPECT_EQ(controls::ValueFromColour(d->gradientColor()), 0x00FF00u);
        EXPECT_EQ(controls::ValueFromColour(d->markerColor()), 0x0000FFu);
        EXPECT_EQ(d->markerSize(), 5);
    }
    for (auto* d : Window().EnvelopeDisplays()) {
        EXPECT_FALSE(d->showVLines());
        EXPECT_TRUE(d->fillEnabled());
    }
}

TEST_F(TfrmEditOptTest, AKeyCutShortSetsTheOptionsAndAppliesNothing) {
    settings_.Set(platform::kEditorOptionsKey, "SVL", 0);
    settings_.Set(platform::kEditorOptionsKey, "FSU", 1);
    Options();
    EXPECT_EQ(Option<controls::Tzografsw>("Svline")->state(), 0);
    EXPECT_EQ(Option<controls::Tzografsw>("FillSurf")->state(), 1);
    for (auto* d : Window().EnvelopeDisplays()) {
        EXPECT_TRUE(d->showVLines());
        EXPECT_FALSE(d->fillEnabled());
    }
}

TEST_F(TfrmEditOptTest, SwitchesKnobsAndColours) {
    Options();
    // Vertical lines and fill are the envelope displays' alone; the captions act as switches.
    QTest::mouseClick(Option("Svline"), Qt::LeftButton, {}, QPoint(5, 5));
    for (auto* d : Window().EnvelopeDisplays()) EXPECT_FALSE(d->showVLines());
    QTest::mouseClick(Options().findChildren<QLabel*>().at(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(Options().Look().fillSurface);
    for (auto* d : Window().EnvelopeDisplays()) EXPECT_TRUE(d->fillEnabled());

    // Markers off hide them; a size change meanwhile keeps them hidden; on again uses it.
    QTest::mouseClick(Option("ShowMark"), Qt::LeftButton, {}, QPoint(5, 5));
    for (auto* d : All()) EXPECT_EQ(d->markerSize(), 0);
    auto* size = Option<controls::Tzopotlab>("SizeMark");
    QTest::mouseClick(size, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(Options().Look().markerSize, 4);
    for (auto* d : All()) EXPECT_EQ(d->markerSize(), 0);
    QTest::mouseClick(Option("ShowMark"), Qt::LeftButton, {}, QPoint(5, 5));
    for (auto* d : All()) EXPECT_EQ(d->markerSize(), 4);

    // Steps 1 leaves the displays as they were; the mode reaches all thirteen.
    auto* steps = Option<controls::Tzopotlab>("GradNbCol");
    steps->setState(2);
    QTest::mouseClick(steps, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Options().Look().gradientSteps, 1);
    for (auto* d : All()) EXPECT_EQ(d->gradientNbOfColors(), 64);
    QTest::mouseClick(Option("GradMode"), Qt::RightButton, {}, QPoint(5, 5));
    for (auto* d : All()) EXPECT_EQ(d->gradientType(), 7);

    // A cancelled colour changes nothing; a chosen background reaches every display and the
    // gradient stays on.
    std::optional<QColor> answer;
    Options().SetColourChooser([&](const QColor&) { return answer; });
    QTest::mousePress(Option("ColorBack"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Options().Look().backgroundColour, 0);
    answer = QColor(0x10, 0x20, 0x30);
    QTest::mousePress(Option("ColorBack"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Options().Look().backgroundColour, 0x302010);
    EXPECT_TRUE(Options().Look().gradient);
    for (auto* d : All()) {
        EXPECT_EQ(d->color(), QColor(0x10, 0x20, 0x30));
        EXPECT_TRUE(d->gradientEnabled());
    }
    QTest::mousePress(Option("ColorMark"), Qt::LeftButton, {}, QPoint(5, 5));
    for (auto* d : All()) EXPECT_EQ(d->markerColor(), QColor(0x10, 0x20, 0x30));
}

}  // namespace
}  // namespace editor
