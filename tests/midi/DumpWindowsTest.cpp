// The progress window and the "TF1 System Info" window.

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <vector>

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

// The columns of a caption bar that hold text: pixels unlike the bar's top row, which the
// vertically centred texts never reach (the gradient changes only from column to column).
std::vector<int> TextColumns(controls::TTitleBar& bar, int right) {
    const QImage shown = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::vector<int> columns;
    for (int x = 0; x < std::min(right, shown.width()); ++x)
        for (int y = 1; y < shown.height(); ++y)
            if (shown.pixel(x, y) != shown.pixel(x, 0)) {
                columns.push_back(x);
                break;
            }
    return columns;
}

// The caption texts are drawn in the font they are measured in, also where the windows' own
// font is smaller than the desktop's title font (X desktops whose title font names a family
// only): the caption fills its room before its ellipsis, and the three texts follow each other
// without gaps.
TEST(TfrmDump, CaptionTextsAreDrawnAtTheSizeTheyAreMeasuredAt) {
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
    ASSERT_NE(bar, nullptr);
    const int area = bar->width();  // no buttons, no icon
    const int full = 3 + metrics.horizontalAdvance(window.windowTitle());
    std::vector<int> columns = TextColumns(*bar, area);
    ASSERT_FALSE(columns.empty());
    EXPECT_GE(columns.back(), std::min(full, area) - metrics.maxWidth())
        << "the caption ends " << area - columns.back() << " pixels before its room does";

    // Three texts on a wide caption: each starts where the one before it was measured to end.
    QWidget wide;
    wide.setFixedSize(400, 40);
    controls::TTitleBar* three = controls::WearCaptionBar(&wide, controls::kNoCaptionButtons);
    wide.setFont(small);
    wide.setWindowTitle(QStringLiteral("Find"));
    three->CompanyInfo().SetCaption(QStringLiteral("Korvane"));
    three->ApplicationInfo().SetCaption(QStringLiteral("Mondral"));
    columns = TextColumns(*three, three->width());
    ASSERT_FALSE(columns.empty());
    int widestGap = 0;
    for (std::size_t i = 1; i < columns.size(); ++i)
        widestGap = std::max(widestGap, columns[i] - columns[i - 1] - 1);
    EXPECT_LE(widestGap, metrics.horizontalAdvance(QLatin1Char(' ')) + 4);
}

}  // namespace
}  // namespace midi
