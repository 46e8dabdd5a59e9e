// The editor window driven through its real knobs, switches and displays, sending through the
// MIDI window's messages into the emulated rack.

#include <QLabel>
#include <QSignalSpy>

#include "EditorWindowFixture.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzografsw.h"
#include "controls/Tzokeyf.h"
#include "controls/Tzopotbmp.h"
#include "controls/Tzopotlab.h"
#include "librarian/VoiceNameText.h"
#include "midi/SysexMessages.h"

namespace editor {
namespace {

using Bytes = std::vector<core::Byte>;

// One click that changes the control: a knob steps up (right button) unless at its Max, then
// down; a switch toggles.
void Step(QWidget* control, ControlKind kind, int state, int max) {
    if (kind == ControlKind::Switch || state >= max) {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    } else {
        QTest::mouseClick(control, Qt::RightButton, {}, QPoint(5, 5));
    }
}

int StateOf(QWidget* control, ControlKind kind) {
    if (kind == ControlKind::LabelKnob) return static_cast<controls::Tzopotlab*>(control)->state();
    if (kind == ControlKind::ImageKnob) return static_cast<controls::Tzopotbmp*>(control)->state();
    return static_cast<controls::Tzografsw*>(control)->state();
}

Bytes ParameterChangesReceived(const midi::EmulatedRack& rack) {
    Bytes channels;
    for (const auto& m : rack.ReceivedMessages())
        if (m.size() == midi::kParameterChangeSize && (m[2] & 0xF0) == midi::kSubStatusParameterChange)
            channels.push_back(m[2] & 0x0F);
    return channels;
}

class TfrmEdtTest : public EditorWindowFixture {};

// Every voice parameter and every performance knob, changed once from its own control, ends
// in the module of the current bank as in the editor's image.
TEST_F(TfrmEdtTest, EveryParameterReachesTheCurrentModule) {
    TakeRealVoice(1, 0);
    const core::EditImage before = buffer_.Image(core::Edtson::Working);
    rack_.ClearReceivedMessages();
    for (int p = 0; p < kVoiceParameterCount; ++p) {
        const auto& c = VoiceParameterControl(p);
        QWidget* control = Control(VoiceParameterName(p));
        ASSERT_NE(control, nullptr);
        Step(control, c.kind, StateOf(control, c.kind), c.max);
    }
    for (int r : {1, 2, 3, 6, 10, 14, 18, 22}) {
        auto* knob = Control<controls::Tzopotbmp>(std::string(PerformanceRowAt(r).name));
        Step(knob, ControlKind::ImageKnob, knob->state(), knob->max());
    }
    Drain();
    const core::EditImage& image = buffer_.Image(core::Edtson::Working);
    const core::EditImage module = rack_.EditBuffer(kModule);
    for (int p = 0; p < kVoiceParameterCount; ++p) {
        EXPECT_NE(image[std::size_t(p)], before[std::size_t(p)]) << p;
        EXPECT_EQ(module[std::size_t(p)], image[std::size_t(p)]) << p;
    }
    for (int r : {1, 2, 3, 6, 10, 14, 18, 22}) {
        const std::size_t at = core::kUnpackedVoiceSize + std::size_t(PerformanceRowAt(r).functionByte);
        EXPECT_EQ(module[at], image[at]) << r;
    }
    const Bytes channels = ParameterChangesReceived(rack_);
    EXPECT_GE(channels.size(), std::size_t(kVoiceParameterCount + 8));
    EXPECT_EQ(std::count(channels.begin(), channels.end(), core::Byte(kModule)), std::ptrdiff_t(channels.size()));
}

// A drag of the algorithm knob shows the number 1-32 beside it and leaves the voice-wide
// parameters' displays alone (it is block 6, offset 8: no keyboard scaling display there).
TEST_F(TfrmEdtTest, AlgorithmKnobDragged) {
    TakeRealVoice(2, 3);
    auto* knob = Control<controls::Tzopotbmp>(std::string("E_ALGO_NUM"));
    auto* number = Control<QLabel>(std::string("E_ALGO_NUM2"));
    QTest::mousePress(knob, Qt::LeftButton, {}, QPoint(10, 40));
    for (int y = 40; y >= -40; y -= 4) {
        QMouseEvent move(QEvent::MouseMove, QPointF(10, y), knob->mapToGlobal(QPointF(10, y)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(knob, &move);
    }
    QTest::mouseRelease(knob, Qt::LeftButton, {}, QPoint(10, -40));
    Drain();
    EXPECT_EQ(knob->state(), 31);
    EXPECT_EQ(number->text(), QStringLiteral("32"));
    EXPECT_EQ(knob->toolTip(), QStringLiteral("Val = 31"));
    EXPECT_EQ(buffer_.Image(0)[kAlgorithmParameter], 31);
    EXPECT_EQ(rack_.EditBuffer(kModule)[kAlgorithmParameter], 31);
}

TEST_F(TfrmEdtTest, OutOfRangeBytesShowClampedAndStayInTheImage) {
    auto& image = buffer_.Image(core::Edtson::Working);
    image[0] = 200;                  // rate 1 of operator 6
    image[11] = 9;                   // a curve
    image[17] = 5;                   // oscillator mode
    image[kAlgorithmParameter] = 40;
    image[144] = 127;
    image[core::kUnpackedVoiceSize + 3] = 50;  // pitch bend range
    const core::EditImage before = image;
    Window().Refill();
    EXPECT_EQ(Control<controls::Tzopotlab>(std::string("E_OP6_R1"))->state(), 99);
    EXPECT_EQ(Control<controls::Tzopotlab>(std::string("E_OP6_LC"))->state(), 3);
    EXPECT_EQ(Control<controls::Tzografsw>(std::string("E_OP6_OSC"))->state(), 1);
    EXPECT_EQ(Control<controls::Tzopotbmp>(std::string("E_ALGO_NUM"))->state(), 31);
    EXPECT_EQ(Control<QLabel>(std::string("E_ALGO_NUM2"))->text(), QStringLiteral("32"));
    EXPECT_EQ(Control<controls::Tzopotbmp>(std::string("E_TRANSPOSE"))->state(), 48);
    EXPECT_EQ(Control<controls::Tzopotbmp>(std::string("P_BRANGE"))->state(), 12);
    EXPECT_EQ(image, before);
}

TEST_F(TfrmEdtTest, RefillShowsFrequencyAndDisplaysOfEachColumn) {
    auto& image = buffer_.Image(core::Edtson::Working);
    const int base = 5 * kBlockSize;  // column 1
    image[base + 17] = 0;
    image[base + 18] = 2;
    image[base + 19] = 50;
    for (int i = 0; i < 8; ++i) image[std::size_t(base + i)] = core::Byte(10 + i);
    image[base + 16] = 77;
    image[base + 8] = 39;
    Window().Refill();
    EXPECT_EQ(Control<QLabel>(std::string("E_OP1_FREQ"))->text(),
              QString::fromStdString(FrequencyText(0, 2, 50, QLocale::system().decimalPoint().at(0).toLatin1())));
    auto* eg = Window().EnvelopeDisplays()[5];
    EXPECT_EQ(eg->objectName(), QStringLiteral("E_OP1_EG"));
    EXPECT_EQ(eg->value(0), 10);  // rate 1
    EXPECT_EQ(eg->value(1), 14);  // level 1
    EXPECT_EQ(eg->value(6), 13);  // rate 4
    EXPECT_EQ(eg->value(7), 17);  // level 4
    auto* keyf = Window().KeyScalingDisplays()[5];
    EXPECT_EQ(keyf->value(0), 77);
    EXPECT_EQ(keyf->value(2), 39);
    // A fixed-mode switch click changes the label at once.
    QTest::mouseClick(Control(std::string("E_OP1_OSC")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(image[base + 17], 1);
    EXPECT_EQ(Control<QLabel>(std::string("E_OP1_FREQ"))->text().left(4), QStringLiteral("316") + QLocale::system().decimalPoint());
}

// Dragging an envelope point writes rate and level, every value before anything is sent.
TEST_F(TfrmEdtTest, EnvelopeAndKeyScalingDragsWriteAndSend) {
    TakeRealVoice(3, 7);
    const int base = 2 * kBlockSize;
    for (int i = 0; i < 8; ++i) buffer_.Image(0)[std::size_t(base + i)] = 50;
    Window().Refill();
    auto* eg = Window().EnvelopeDisplays()[2];  // column 4
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    const auto points = eg->points();
    const QPoint from(points[2].x, points[2].y);
    QTest::mousePress(eg, Qt::LeftButton, {}, from);
    QTest::mouseMove(eg, from + QPoint(-6, -8));
    QTest::mouseRelease(eg, Qt::LeftButton, {}, from + QPoint(-6, -8));
    EXPECT_EQ(eg->pickedPoint(), 2);
    EXPECT_GT(eg->value(2), 50);
    EXPECT_GT(eg->value(3), 50);
    EXPECT_EQ(Control<controls::Tzopotlab>(std::string("E_OP4_R2"))->state(), eg->value(2));
    EXPECT_EQ(Control<controls::Tzopotlab>(std::string("E_OP4_L2"))->state(), eg->value(3));
    EXPECT_EQ(buffer_.Image(0)[base + 1], eg->value(2));
    EXPECT_EQ(buffer_.Image(0)[base + 5], eg->value(3));

    auto* keyf = Window().KeyScalingDisplays()[2];
    const auto layout = keyf->layout();
    const QPoint centre(layout.points[4].x, layout.points[4].y);
    QTest::mousePress(keyf, Qt::LeftButton, {}, centre);
    QTest::mouseMove(keyf, centre + QPoint(10, -10));
    QTest::mouseRelease(keyf, Qt::LeftButton, {}, centre + QPoint(10, -10));
    EXPECT_EQ(keyf->pickedHandle(), 4);
    EXPECT_EQ(buffer_.Image(0)[base + 16], keyf->value(0));
    EXPECT_EQ(buffer_.Image(0)[base + 8], keyf->value(2));
    EXPECT_EQ(Control<controls::Tzopotbmp>(std::string("E_OP4_LEV"))->state(), keyf->value(0));
    Drain();
    const core::EditImage module = rack_.EditBuffer(kModule);
    for (int p : {base + 1, base + 5, base + 16, base + 8}) EXPECT_EQ(module[std::size_t(p)], buffer_.Image(0)[std::size_t(p)]);
}

TEST_F(TfrmEdtTest, PerformanceSwitchesAndNoteLimitsChangeTheBufferOnly) {
    auto& image = buffer_.Image(core::Edtson::Working);
    image[core::kUnpackedVoiceSize + 10] = 6;  // wheel: EG bias and amplitude
    Window().Refill();
    rack_.ClearReceivedMessages();
    auto* pitch = Control<controls::Tzografsw>(std::string("P_WH_PIT"));
    EXPECT_EQ(pitch->state(), 0);
    QTest::mouseClick(pitch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(image[core::kUnpackedVoiceSize + 10], 7);
    QTest::mouseClick(Control(std::string("P_WH_EGB")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(image[core::kUnpackedVoiceSize + 10], 3);

    const core::EditImage before = image;
    auto* high = Control<controls::Tzopotbmp>(std::string("P_NHI"));
    high->setState(61);
    QTest::mouseClick(high, Qt::LeftButton, {}, QPoint(5, 5));  // one step down
    EXPECT_EQ(buffer_.HighNoteLimit(), 60);
    EXPECT_EQ(Control<QLabel>(std::string("txnotehi"))->text(), QStringLiteral("C 3"));
    EXPECT_EQ(image, before);
    Drain();
    EXPECT_TRUE(ParameterChangesReceived(rack_).empty());
}

TEST_F(TfrmEdtTest, CompareRecallAndReset) {
    TakeRealVoice(1, 4);
    buffer_.Image(core::Edtson::Compare)[0] = 11;
    buffer_.Image(core::Edtson::Working)[0] = 22;
    Window().Refill();
    auto* rate = Control<controls::Tzopotlab>(std::string("E_OP6_R1"));
    EXPECT_EQ(rate->state(), 22);
    QTest::mouseClick(Control(std::string("btnCompare")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(rate->state(), 11);
    QTest::mouseClick(rate, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(buffer_.Image(core::Edtson::Compare)[0], 12);
    EXPECT_EQ(buffer_.Image(core::Edtson::Working)[0], 22);
    Drain();
    EXPECT_EQ(rack_.EditBuffer(kModule)[0], 12);

    QTest::mouseClick(Control(std::string("btnRecall")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(buffer_.Image(core::Edtson::Working)[0], 12);
    EXPECT_EQ(Control<controls::Tzografsw>(std::string("btnCompare"))->state(), 0);
    EXPECT_EQ(rate->state(), 12);

    QSignalSpy names(&Window(), &TfrmEdt::nameChanged);
    QTest::mouseClick(Control(std::string("btnReset")), Qt::LeftButton, {}, QPoint(5, 5));
    core::Edtson fresh;
    EXPECT_EQ(buffer_.Image(0), fresh.Image(0));
    EXPECT_EQ(buffer_.Image(1), fresh.Image(1));
    ASSERT_EQ(names.count(), 1);
    EXPECT_EQ(names.at(0).at(0).toString(),
              librarian::DisplayVoiceName(fresh.Image(0).data() + core::kUnpackedNameOffset));
    EXPECT_EQ(Control<QLabel>(std::string("EdNomSon"))->text(), names.at(0).at(0).toString());
}

// The drags the column's displays report that land on other knobs than a middle point's: the
// envelope's end points and sustain end, and the key scaling display's two depth strips, from
// the press on the display to the value in the module.
TEST_F(TfrmEdtTest, EnvelopeEndsAndKeyScalingStripsDraggedThroughTheWindow) {
    TakeRealVoice(3, 7);
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    const int base = 2 * kBlockSize;  // column 4
    auto* eg = Window().EnvelopeDisplays()[2];
    auto* keyf = Window().KeyScalingDisplays()[2];
    struct Drag {
        const char* what;
        bool envelope;
        int handle;
        QPoint by;
        std::vector<std::pair<int, const char*>> writes;  // block offset, knob suffix
    };
    const Drag drags[] = {
        {"envelope point 0", true, 0, {0, -12}, {{7, "L4"}}},
        {"envelope point 4", true, 4, {8, -12}, {{3, "R4"}, {6, "L3"}}},
        {"envelope point 5", true, 5, {0, -12}, {{7, "L4"}}},
        {"left depth strip", false, 5, {0, -12}, {{9, "LD"}}},
        {"right depth strip", false, 6, {0, -12}, {{10, "RD"}}},
    };
    // Display value index of each block offset.
    const auto shown = [&](int offset) {
        if (offset < 8) return eg->value(offset < 4 ? 2 * offset : 2 * (offset - 4) + 1);
        return keyf->value(offset == 9 ? 4 : 5);
    };
    for (const Drag& d : drags) {
        SCOPED_TRACE(d.what);
        auto& image = buffer_.Image(core::Edtson::Working);
        for (int i = 0; i < 8; ++i) image[std::size_t(base + i)] = 40;
        image[std::size_t(base + 9)] = image[std::size_t(base + 10)] = 0;
        image[std::size_t(base + 16)] = 50;
        image[std::size_t(base + 8)] = 50;  // break point handles in the middle
        Window().Refill();
        QWidget* display = d.envelope ? static_cast<QWidget*>(eg) : keyf;
        QPoint from;
        if (d.envelope) {
            from = QPoint(eg->points()[std::size_t(d.handle)].x, eg->points()[std::size_t(d.handle)].y);
        } else {
            const auto layout = keyf->layout();
            from = QPoint(d.handle == 5 ? layout.rubber / 2 : keyf->width() - 1 - layout.rubber / 2,
                          keyf->height() - 3);  // well below the level line's handles
        }
        rack_.ClearReceivedMessages();
        QTest::mousePress(display, Qt::LeftButton, {}, from);
        QTest::mouseMove(display, from + d.by);
        QTest::mouseRelease(display, Qt::LeftButton, {}, from + d.by);
        EXPECT_EQ(d.envelope ? eg->pickedPoint() : keyf->pickedHandle(), d.handle);
        Drain();
        const core::EditImage module = rack_.EditBuffer(kModule);
        for (const auto& [offset, suffix] : d.writes) {
            const std::size_t p = std::size_t(base + offset);
            EXPECT_NE(image[p], offset < 8 ? 40 : 0) << suffix << " moved";
            EXPECT_EQ(image[p], shown(offset)) << suffix;
            EXPECT_EQ(Control<controls::Tzopotlab>("E_OP4_" + std::string(suffix))->state(),
                      image[p]) << suffix;
            EXPECT_EQ(module[p], image[p]) << suffix;
        }
    }
}

// Compare, Recall and Reset only show another image: nothing is sent. A name typed while
// Compare is on goes into the compare image.
TEST_F(TfrmEdtTest, CompareRecallAndResetSendNothingAndTheNameGoesToTheShownImage) {
    TakeRealVoice(2, 9);
    buffer_.Image(core::Edtson::Compare)[3] = 17;
    Window().Refill();
    Window().SetNameEditor([](const QString&) -> std::optional<QString> {
        return QStringLiteral("COMPARED");
    });
    Drain();
    rack_.ClearReceivedMessages();
    const core::EditImage working = buffer_.Image(core::Edtson::Working);
    QTest::mouseClick(Control(std::string("btnCompare")), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Control<QLabel>(std::string("EdNomSon")), Qt::LeftButton);
    const auto* name = buffer_.Image(core::Edtson::Compare).data() + core::kUnpackedNameOffset;
    EXPECT_EQ(std::string(name, name + core::kNameSize), "COMPARED  ");
    EXPECT_EQ(buffer_.Image(core::Edtson::Working), working);
    QTest::mouseClick(Control(std::string("btnRecall")), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Control(std::string("btnCompare")), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Control(std::string("btnReset")), Qt::LeftButton, {}, QPoint(5, 5));
    Drain();
    EXPECT_TRUE(ParameterChangesReceived(rack_).empty());
    EXPECT_TRUE(rack_.ReceivedMessages().empty());
}

TEST_F(TfrmEdtTest, NameEditStoresOnlyWhatChanged) {
    TakeRealVoice(1, 21);  // a name holding 5Ch or 7Eh
    const core::EditImage before = buffer_.Image(0);
    QString offered;
    QString answer;
    Window().SetNameEditor([&](const QString& current) -> std::optional<QString> {
        offered = current;
        return answer.isNull() ? current : answer;
    });
    QSignalSpy names(&Window(), &TfrmEdt::nameChanged);
    auto* label = Control<QLabel>(std::string("EdNomSon"));
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(offered, librarian::DisplayVoiceName(before.data() + core::kUnpackedNameOffset));
    EXPECT_EQ(buffer_.Image(0), before);  // opened and closed unchanged
    EXPECT_EQ(names.count(), 0);

    answer = QStringLiteral("NEW");
    QTest::mouseClick(label, Qt::LeftButton);
    const auto* name = buffer_.Image(0).data() + core::kUnpackedNameOffset;
    EXPECT_EQ(std::string(name, name + core::kNameSize), "NEW       ");
    EXPECT_EQ(label->text(), QStringLiteral("NEW       "));
    ASSERT_EQ(names.count(), 1);
    rack_.WaitIdle(std::chrono::seconds(2));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + core::kUnpackedNameOffset, buffer_.Image(0).begin()));
}

// A window that was open at exit reappears showing the buffer's voice, not its design values.
TEST_F(TfrmEdtTest, StoredPlaceAndVisibilityWithTheVoiceShown) {
    settings_.Set(platform::kEditorOptionsKey, "EDX", 40);
    settings_.Set(platform::kEditorOptionsKey, "EDY", 30);
    settings_.Set(platform::kEditorOptionsKey, "EVI", 1);
    settings_.Set(platform::kEditorOptionsKey, "SOT", 3);
    TakeRealVoice(2, 9);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().pos(), QPoint(30, 40));
    EXPECT_TRUE(Window().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Window().Place(), (EditorPlace{40, 30, true, true}));
    EXPECT_EQ(Control<QLabel>(std::string("EdNomSon"))->text(),
              librarian::DisplayVoiceName(buffer_.Image(0).data() + core::kUnpackedNameOffset));
    QTest::mouseClick(Control(std::string("ResteDessus")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(Window().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Window().isVisible());
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_FALSE(Window().isVisible());
    Window().show();
    QTest::keyClick(Control(std::string("E_OP1_CO")), Qt::Key_Return);
    EXPECT_FALSE(Window().isVisible());
}

}  // namespace
}  // namespace editor
