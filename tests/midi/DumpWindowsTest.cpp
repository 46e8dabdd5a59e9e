// The progress window and the "TF1 System Info" window.

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

#include "controls/TDigitBox.h"
#include "controls/Tzografsw.h"
#include "midi/SystemInfoView.h"
#include "midi/TfrmDump.h"
#include "midi/TfrmSystem.h"
#include "support/TestApplication.h"
#include "controls/TTitleBar.h"

namespace midi {
namespace {

using Info = std::array<Byte, kSystemInfoSize>;

Info InfoBytes(Byte flags, Byte channel, Byte battery) {
    Info info{'T', 'F', '1', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 1, 2, flags, channel, battery, 0};
    return info;
}

TEST(SystemInfoView, FieldsFromTheModuleBytes) {
    struct Row {
        Info info;
        std::string revision, channel, battery;
        bool omni, lowBattery;
    };
    const Row rows[] = {
        {InfoBytes(0x10, 0, 26), "1.2", "1", "2.6 V", true, false},
        {InfoBytes(0x00, 15, 25), "1.2", "16", "2.5 V", false, true},
        {InfoBytes(0xEF, 4, 31), "1.2", "5", "3.1 V", false, false},
        {InfoBytes(0xFF, 4, 5), "1.2", "5", "0.5 V", true, true},
    };
    for (const Row& row : rows) {
        const SystemInfoView view = ViewOf(row.info);
        EXPECT_EQ(view.model, "TF1       ");
        EXPECT_EQ(view.revision, row.revision);
        EXPECT_EQ(view.channel, row.channel);
        EXPECT_EQ(view.battery, row.battery);
        EXPECT_EQ(view.omni, row.omni);
        EXPECT_EQ(view.lowBattery, row.lowBattery);
    }
    Info named = InfoBytes(0, 0, 30);
    named[3] = 0;  // the name ends at its first zero byte
    named[10] = 12;
    named[11] = 0;
    EXPECT_EQ(ViewOf(named).model, "TF1");
    EXPECT_EQ(ViewOf(named).revision, "12.0");
    EXPECT_EQ(SystemInfoCaption(7), "Info Module 8");
}

TEST(TfrmSystem, FilledWithoutShowingAndClosedByEnterOrEsc) {
    testing_support::TestApplication();
    TfrmSystem window;
    EXPECT_EQ(window.windowTitle(), "TF1 System Info");
    EXPECT_EQ(window.labMidiSys->toolTip(), "Module MIDI Channel");
    EXPECT_EQ(window.btnBattLow->toolTip(), "Low Power BATT Warning");
    window.Fill(InfoBytes(0x10, 15, 25), 2);
    EXPECT_EQ(window.windowTitle(), "Info Module 3");
    EXPECT_EQ(window.labNomSys->text(), "TF1       ");
    EXPECT_EQ(window.labRevSys->text(), "1.2");
    EXPECT_EQ(window.labMidiSys->text(), "16");
    EXPECT_EQ(window.labBattSys->text(), "2.5 V");
    EXPECT_EQ(window.btnOmniSys->state(), 1);
    EXPECT_EQ(window.btnBattLow->state(), 1);
    window.Fill(InfoBytes(0x00, 0, 26), 0);
    EXPECT_EQ(window.btnOmniSys->state(), 0);
    EXPECT_EQ(window.btnBattLow->state(), 0);

    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        window.show();
        QTest::keyClick(&window, Qt::Key(key));
        EXPECT_FALSE(window.isVisible());
    }
}

// An operation that can stop takes Esc (wherever the focus is) and the close button as a
// cancel; a dump takes neither and the window stays open.
TEST(TfrmDump, EscOrCloseCancelsOnlyWhatCanStop) {
    testing_support::TestApplication();
    TfrmDump window;
    QWidget elsewhere;
    for (const bool cancelable : {false, true})
        for (const bool byClose : {false, true}) {
            SCOPED_TRACE(testing::Message() << "cancelable " << cancelable << " close " << byClose);
            window.SetCancelable(cancelable);
            ShownProgress shown(window, "Import Collection");
            EXPECT_FALSE(window.CancelRequested());
            if (byClose)
                window.close();
            else
                QTest::keyClick(&elsewhere, Qt::Key_Escape);
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(window.CancelRequested(), cancelable);
            EXPECT_EQ(window.findChild<controls::TTitleBar*>()->Buttons(),
                      cancelable ? controls::kCaptionClose : controls::kNoCaptionButtons);
            window.SetCancelable(false);
        }
    EXPECT_FALSE(window.CancelRequested());
}

TEST(TfrmDump, ShowsItsCaptionAndCounterUntilHidden) {
    testing_support::TestApplication();
    TfrmDump window;
    EXPECT_EQ(window.windowTitle(), "Dump");
    EXPECT_EQ(controls::ClientArea(&window)->size(), QSize(104, 51));
    EXPECT_EQ(window.size(), QSize(106, 53 + controls::TTitleBar::CaptionHeight()))
        << "the caption and a 1-pixel border round the client area";
    {
        ShownProgress shown(window, "Get All");
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowTitle(), "Get All");
        shown.SetCounter(2);
        EXPECT_EQ(window.DigitBox1->value(), 2u);
        EXPECT_EQ(window.DigitBox1->target(), 2u);
        // The digits are drawn already: the window thread may not return to the loop.
        const QImage drawn = window.DigitBox1->surface();
        EXPECT_FALSE(drawn.isNull());
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Dump");
}

// The last column of a caption bar holding text: a pixel unlike the top row, which the centred
// texts never reach (the gradient changes from column to column only).
int LastTextColumn(controls::TTitleBar& bar) {
    const QImage shown = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int x = shown.width() - 1; x >= 0; --x)
        for (int y = 1; y < shown.height(); ++y)
            if (shown.pixel(x, y) != shown.pixel(x, 0)) return x;
    return -1;
}

// The caption is drawn in the font it is measured in, also where the window's own font is
// smaller than a title font naming only a family (X desktops): "Find Doubles" fills its room up
// to its ellipsis (drawn smaller it stopped a quarter short, and texts after it left gaps).
TEST(TfrmDump, TheCaptionIsDrawnAtTheSizeItIsMeasuredAt) {
    testing_support::TestApplication();
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setResolveMask(QFont::AllPropertiesResolved);
    const QFontMetrics metrics(title);
    QFont small = title;
    small.setPixelSize(std::max(6, QFontInfo(title).pixelSize() * 3 / 5));
    TfrmDump window;
    window.setFont(small);
    window.setWindowTitle(QStringLiteral("Find Doubles"));
    auto* bar = window.findChild<controls::TTitleBar*>();
    const int room = std::min(3 + metrics.horizontalAdvance(window.windowTitle()), bar->width());
    EXPECT_GE(LastTextColumn(*bar), room - metrics.maxWidth());
}

}  // namespace
}  // namespace midi
