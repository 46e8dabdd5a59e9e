#include "MainWindowFixture.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "controls/TTitleBar.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "librarian/VoiceNameText.h"

namespace librarian {
namespace {

const QColor kYellow(255, 255, 0);
const QColor kGrey(128, 128, 128);

TEST_F(MainWindowFixture, FirstStartWithoutSettingsShowsTheDefaults) {
    TfrmMain& w = Window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Mondral"));
    EXPECT_EQ(controls::ClientArea(&w)->size(), QSize(931, 758));
    EXPECT_EQ(w.size(), QSize(933, 760 + controls::TTitleBar::CaptionHeight()))
        << "the caption and a 1-pixel border round the client area";
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "fixed size";
    EXPECT_EQ(w.x(), 241);
    EXPECT_EQ(w.y(), 166);
    EXPECT_FALSE(w.PageMode());
    EXPECT_FALSE(w.FunctionsMode());
    EXPECT_EQ(w.CurrentBank(), 0);
    EXPECT_EQ(w.PageNumber(), 0);
    for (int n = 0; n < kBankCount; ++n) {
        EXPECT_EQ(w.BankLabel(n)->text(), QStringLiteral("DX_Bank1."));
        EXPECT_EQ(TextColour(w.BankLabel(n)), n == 0 ? kYellow : kGrey);
        EXPECT_EQ(w.BankSwitch(n)->state(), n == 0 ? 1 : 0);
        EXPECT_EQ(Lines(w.BankList(n)), QStringList(32, QStringLiteral("----------")));
    }
    for (int k = 0; k < kLibraryListCount; ++k)
        EXPECT_EQ(Lines(w.LibraryList(k)), QStringList(16, QStringLiteral("----------")));
    EXPECT_EQ(w.SelectedCount()->text(), QStringLiteral("0"));
    EXPECT_EQ(w.UsedCount()->text(), QStringLiteral("0"));
    EXPECT_EQ(w.BufferLabel()->text(), QStringLiteral("------------"));
    EXPECT_EQ(w.LibraryLabel()->text(), QStringLiteral("_______________"));
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(MainWindowFixture, ABaseKeyHoldingOnlyMbxMovesOnlyTheTopEdge) {
    settings_.Set(platform::kBaseKey, "MBX", 40);
    settings_.Set(platform::kBaseKey, "PAG", 1);  // after the missing "MBY": ignored
    TfrmMain& w = Window();
    EXPECT_EQ(w.y(), 40);
    EXPECT_EQ(w.x(), 241);
    EXPECT_FALSE(w.PageMode());
    EXPECT_FALSE(w.FunctionsMode());
}

TEST_F(MainWindowFixture, StoredPlaceAndModesAreRestoredAndCollectedBack) {
    settings_.Set(platform::kBaseKey, "MBX", 30);
    settings_.Set(platform::kBaseKey, "MBY", 70);
    settings_.Set(platform::kBaseKey, "PER", 1);
    settings_.Set(platform::kBaseKey, "PAG", 1);
    TfrmMain& w = Window();
    EXPECT_EQ(w.pos(), QPoint(70, 30));
    EXPECT_TRUE(w.FunctionsMode());
    EXPECT_TRUE(w.PageMode());

    w.move(12, 34);
    emit w.PerformSwitch()->clicked();
    BaseValues values;
    w.CollectBaseValues(values);
    EXPECT_EQ(values.mainTop, 34);
    EXPECT_EQ(values.mainLeft, 12);
    EXPECT_EQ(values.functionsMode, 0);
    EXPECT_EQ(values.pageMode, 1);
    EXPECT_EQ(values.dropCopy, 1) << "values of other windows are left alone";
}

TEST_F(MainWindowFixture, APlaceLeftOnAScreenThatIsGoneOpensAtTheDefaultPlace) {
    settings_.Set(platform::kBaseKey, "MBX", 4000);
    settings_.Set(platform::kBaseKey, "MBY", 9000);
    settings_.Set(platform::kBaseKey, "PER", 1);
    TfrmMain& w = Window();
    EXPECT_EQ(w.pos(), QPoint(241, 166));
    EXPECT_TRUE(w.FunctionsMode()) << "the modes are still restored";
}

TEST_F(MainWindowFixture, ListsAndControlsSitWhereTheLayoutPutsThem) {
    TfrmMain& w = Window();
    for (int n = 0; n < kBankCount; ++n) {
        EXPECT_EQ(w.BankList(n)->geometry(), QRect(19 + 116 * n, 45, 80, 416));
        EXPECT_EQ(w.BankLabel(n)->geometry().topLeft(), QPoint(14 + 116 * n, 14));
        EXPECT_EQ(w.BankLabel(n)->width(), 67);
        EXPECT_EQ(w.BankSwitch(n)->y(), 11);
        EXPECT_GE(w.BankSwitch(n)->x(), w.BankLabel(n)->geometry().right());
    }
    for (int k = 0; k < kLibraryListCount; ++k) {
        EXPECT_EQ(w.LibraryList(k)->geometry(), QRect(16 + 75 * k, 526, 74, 208));
        const QColor expected = k < 2 ? QColor(0x26, 0x27, 0x35) : QColor(Qt::black);
        EXPECT_EQ(w.LibraryList(k)->palette().color(QPalette::Base), expected) << k;
    }
    EXPECT_EQ(w.PageKnob()->pos(), QPoint(656, 480));
    EXPECT_EQ(w.PageKnob()->max(), 994);
    EXPECT_EQ(w.PageKnob()->cursorRange(), 200);
    EXPECT_EQ(w.TrashPicture()->pos(), QPoint(275, 471));
    EXPECT_EQ(w.TrashPicture()->toolTip(), QStringLiteral("Trash Landing zone"));
    EXPECT_EQ(w.LibrarySwitch()->toolTip(), QStringLiteral("Mode Library/Page"));
    EXPECT_EQ(w.PerformSwitch()->toolTip(), QStringLiteral("Mode Voices/Functions"));
    EXPECT_EQ(w.LibraryLabel()->toolTip(), QStringLiteral("Library Name "));
    EXPECT_EQ(w.FirstSelectedFinder()->pos(), QPoint(762, 485));
    EXPECT_EQ(w.LastSelectedFinder()->pos(), QPoint(784, 485));
}

TEST_F(MainWindowFixture, TheMiddleStripHasItsControlsAtTheirPlacesWithTheirHints) {
    TfrmMain& w = Window();
    struct Expected {
        const char* name;
        QPoint at;
        const char* hint;
    };
    for (const Expected& e : {
             Expected{"btnInfos", {8, 478}, "About..."},
             Expected{"btnOptions", {52, 478}, "Options"},
             Expected{"btnMidiConf", {96, 478}, "MIDI Config"},
             Expected{"gswPerform", {248, 482}, "Mode Voices/Functions"},
             Expected{"btnTrash", {275, 471}, "Trash Landing zone"},
             Expected{"btnBuffer", {359, 481}, "Edit Buffer"},
             Expected{"gswLib", {484, 486}, "Mode Library/Page"},
             Expected{"labLib", {517, 483}, "Library Name "},
             Expected{"labPagelib", {656, 480}, ""},
             Expected{"gswTypes", {714, 484}, "Types Selector"},
             Expected{"gswLibSelFinder", {762, 485}, "Find First Selected"},
             Expected{"gswLibLastFinder", {784, 485}, "Find Last Selected"},
             Expected{"Label2", {820, 479}, "Selected Sounds in Library"},
             Expected{"labSel", {873, 479}, "Selected Sounds in Library"},
             Expected{"Label1", {820, 492}, "Number of Sounds in Library"},
             Expected{"labOcc", {873, 492}, "Number of Sounds in Library"},
         }) {
        const QWidget* control = w.findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(control, nullptr) << e.name;
        EXPECT_EQ(control->pos(), e.at) << e.name;
        EXPECT_EQ(control->toolTip(), QString::fromLatin1(e.hint)) << e.name;
    }
    EXPECT_EQ(w.BufferLabel()->width(), 96);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Selected"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Available"));
}

TEST_F(MainWindowFixture, TenCharactersFitAndEveryLineIsVisible) {
    TfrmMain& w = Window();
    w.show();
    for (VoiceListBox* list : {w.BankList(0), w.LibraryList(0)}) {
        const QFontMetrics metrics(list->font());
        EXPECT_TRUE(list->font().fixedPitch());
        EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("WWWWWWWWWW")),
                  metrics.horizontalAdvance(QStringLiteral("iiiiiiiiii")));
        EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("WWWWWWWWWW")) + 4,
                  list->width());
        const QRect last = list->LineRect(list->Count() - 1);
        EXPECT_EQ(last.height(), 13);
        EXPECT_LE(last.bottom(), list->rect().bottom());
    }
}

// Rows of `image` from `top` to `bottom` holding a pixel unlike its top left one.
int InkRows(const QImage& image, int top, int bottom) {
    int rows = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, top)) {
                ++rows;
                break;
            }
    return rows;
}

// Each line shows its whole name at 1x and 2x: as many rows of ink as the name drawn alone in
// the list's font, the descenders of "glassbell" (bank 1) and "Plookey2" (bank 7) included.
TEST_F(MainWindowFixture, VoiceLinesShowTheirNamesWithDescenders) {
    ASSERT_TRUE(banks_[0].LoadBankFile(BankFile(1), false));
    ASSERT_TRUE(banks_[1].LoadBankFile(BankFile(7), false));
    TfrmMain& w = Window();
    for (int ratio : {1, 2}) {
        for (VoiceListBox* list : {w.BankList(0), w.BankList(1)}) {
            QImage shown(list->size() * ratio, QImage::Format_RGB32);
            shown.setDevicePixelRatio(ratio);
            list->render(&shown);
            for (int i = 0; i < list->Count(); ++i) {
                QImage alone(QSize(list->width(), 3 * kVoiceLineHeight) * ratio, shown.format());
                alone.setDevicePixelRatio(ratio);
                alone.fill(shown.pixel(0, 0));
                QPainter p(&alone);
                p.setFont(list->font());
                p.setPen(list->palette().color(QPalette::Text));
                p.drawText(QPoint(3, 2 * kVoiceLineHeight), list->Line(i));
                p.end();
                const QRect line = list->LineRect(i);
                EXPECT_EQ(InkRows(shown, line.top() * ratio, (line.bottom() + 1) * ratio),
                          InkRows(alone, 0, alone.height()))
                    << list->Line(i).toStdString() << " at " << ratio << "x";
            }
        }
    }
}

TEST_F(MainWindowFixture, ALoadedBankIsListedWithItsSelection) {
    ASSERT_TRUE(banks_[2].LoadBankFile(BankFile(1), false));
    banks_[2].Page()[5].status |= core::kStatusSelected;
    banks_[2].Page()[31].status |= core::kStatusSelected;
    TfrmMain& w = Window();
    w.SetBankLabel(2, QString::fromStdString(banks_[2].Name()));
    const VoiceListBox* list = w.BankList(2);
    ASSERT_EQ(list->Count(), 32);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(list->Line(i), DisplayVoiceName(banks_[2].Page()[i])) << i;
        EXPECT_EQ(list->Highlighted(i), i == 5 || i == 31) << i;
    }
    EXPECT_NE(list->Line(0), QStringLiteral("----------"));
    EXPECT_EQ(w.BankLabel(2)->text(), QStringLiteral("SynprezFM_01"));

    // A later change shows only after a refresh; bank < 0 is the current bank.
    banks_[0].CopyFromPage(banks_[2].Page(), core::kStatusSelected);
    EXPECT_EQ(w.BankList(0)->Line(0), QStringLiteral("----------"));
    w.RefreshBankList(-1);
    EXPECT_EQ(w.BankList(0)->Line(0), list->Line(5));
    EXPECT_TRUE(w.BankList(0)->Highlighted(0));
    w.SetBankLabel(-1, QStringLiteral("Empty"));
    EXPECT_EQ(w.BankLabel(0)->text(), QStringLiteral("Empty"));
}

TEST_F(MainWindowFixture, LibraryListsShowSixPagesFromThePageNumberWithCounts) {
    core::Bankson bank;
    ASSERT_TRUE(bank.LoadBankFile(BankFile(2), false));
    bank.CopyToPage(library_.Page(5), core::kStatusUsed);
    bank.CopyToPage(library_.Page(10), core::kStatusUsed);
    library_.Page(5)[3].status |= core::kStatusSelected;
    library_.Page(5)[20].status |= core::kStatusSelected;
    library_.Page(10)[31].status |= core::kStatusSelected;
    library_.Page(900)[0] = bank.Page()[0];  // used, not on screen: counted all the same
    TfrmMain& w = Window();
    EXPECT_EQ(w.UsedCount()->text(), QStringLiteral("65"));
    EXPECT_EQ(w.SelectedCount()->text(), QStringLiteral("3"));

    w.SetPageNumber(5);
    EXPECT_EQ(w.PageKnob()->text(), QStringLiteral("5"));
    for (int k = 0; k < kLibraryListCount; ++k) {
        const core::VoicePage& page = library_.Page(5 + k / 2);
        const VoiceListBox* list = w.LibraryList(k);
        ASSERT_EQ(list->Count(), 16);
        for (int j = 0; j < 16; ++j) {
            const core::VoiceSlot& slot = page[(k % 2) * 16 + j];
            EXPECT_EQ(list->Line(j), DisplayVoiceName(slot)) << k << ' ' << j;
            EXPECT_EQ(list->Highlighted(j), slot.IsSelected()) << k << ' ' << j;
        }
    }
    EXPECT_TRUE(w.LibraryList(0)->Highlighted(3));
    EXPECT_TRUE(w.LibraryList(1)->Highlighted(4));
    EXPECT_TRUE(w.LibraryList(11)->Highlighted(15));
    EXPECT_EQ(w.LibraryList(2)->Line(0), QStringLiteral("----------"));
}

TEST_F(MainWindowFixture, TheLastPageNumberShowsTheLibrarysLastSixPages) {
    library_.Page(999)[31].status = core::kStatusUsed | core::kStatusSelected;
    TfrmMain& w = Window();
    w.SetPageNumber(5000);
    EXPECT_EQ(w.PageNumber(), 994);
    EXPECT_TRUE(w.LibraryList(11)->Highlighted(15));
}

TEST_F(MainWindowFixture, DraggingThePageKnobRefreshesTheListsBeforeTheRelease) {
    library_.Page(248)[0].status = core::kStatusUsed | core::kStatusSelected;
    TfrmMain& w = Window();
    w.show();
    controls::Tzopotlab* knob = w.PageKnob();
    const QPoint start(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, start, knob->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(knob, &press);
    // 50 pixels up of 200 for the whole range: 50 * 994 / 200 = 248.
    const QPoint moved(10, -40);
    QMouseEvent move(QEvent::MouseMove, moved, knob->mapToGlobal(moved), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(knob, &move);
    EXPECT_EQ(w.PageNumber(), 248);
    EXPECT_TRUE(w.LibraryList(0)->Highlighted(0));
    QMouseEvent release(QEvent::MouseButtonRelease, moved, knob->mapToGlobal(moved),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(knob, &release);
    EXPECT_EQ(w.PageNumber(), 248);
}

TEST_F(MainWindowFixture, KeyboardPagesWithinZeroTo994) {
    TfrmMain& w = Window();
    QTest::keyClick(&w, '.');
    EXPECT_EQ(w.PageNumber(), 994);
    QTest::keyClick(&w, '+');
    EXPECT_EQ(w.PageNumber(), 994);
    QTest::keyClick(&w, '-');
    EXPECT_EQ(w.PageNumber(), 993);
    QTest::keyClick(&w, '0');
    EXPECT_EQ(w.PageNumber(), 0);
    QTest::keyClick(&w, '-');
    EXPECT_EQ(w.PageNumber(), 0);
    QTest::keyClick(&w, '+');
    EXPECT_EQ(w.PageNumber(), 1);
    EXPECT_EQ(w.PageKnob()->text(), QStringLiteral("1"));
}

TEST_F(MainWindowFixture, KeyboardSelectsBanksAndTogglesModesEvenWhenAListHasTheKey) {
    TfrmMain& w = Window();
    QWidget* list = w.LibraryList(4);  // the window sees the key before the control
    for (int n = 8; n >= 1; --n) {
        QTest::keyClick(list, char('0' + n));
        EXPECT_EQ(w.CurrentBank(), n - 1);
        EXPECT_EQ(TextColour(w.BankLabel(n - 1)), kYellow);
    }
    QTest::keyClick(list, '9');
    EXPECT_EQ(w.CurrentBank(), 0);
    QTest::keyClick(list, '*');
    EXPECT_TRUE(w.PageMode());
    QTest::keyClick(&w, '*');
    EXPECT_FALSE(w.PageMode());
    QTest::keyClick(&w, 'P');
    EXPECT_TRUE(w.FunctionsMode());
    QTest::keyClick(&w, 'p');
    EXPECT_FALSE(w.FunctionsMode());
    QTest::keyClick(&w, 'x');
    EXPECT_FALSE(w.PageMode());
    EXPECT_EQ(w.PageNumber(), 0);
}

TEST_F(MainWindowFixture, KeyboardOpensTheWindowsAndRunsTheFinder) {
    TfrmMain& w = Window();
    QWidget about, options, markers;
    w.SetAboutWindow(&about);
    w.SetOptionsWindow(&options);
    w.SetMarkersWindow(&markers);
    int finderClicks = 0;
    QObject::connect(w.FirstSelectedFinder(), &controls::Tzografsw::clicked,
                     [&finderClicks] { ++finderClicks; });
    QTest::keyClick(&w, 'I');
    EXPECT_TRUE(about.isVisible());
    about.hide();
    QTest::keyClick(&w, 'i');
    EXPECT_FALSE(about.isVisible()) << "only the capital I opens the about box";
    QTest::keyClick(&w, '?');
    EXPECT_TRUE(about.isVisible());
    QTest::keyClick(&w, 'o');
    EXPECT_TRUE(options.isVisible());
    QTest::keyClick(&w, 'T');
    EXPECT_TRUE(markers.isVisible());
    QTest::keyClick(&w, 'f');
    QTest::keyClick(&w, 'F');
    EXPECT_EQ(finderClicks, 2);
    for (const char* name : {"btnInfos", "btnOptions", "gswTypes"})
        EXPECT_EQ(w.findChild<controls::Tzografsw*>(name)->state(), 0) << name;
}

TEST_F(MainWindowFixture, ClickingABankSwitchOrNameSelectsItAlone) {
    TfrmMain& w = Window();
    w.show();
    QTest::mouseClick(w.BankSwitch(6), Qt::LeftButton);
    EXPECT_EQ(w.CurrentBank(), 6);
    QTest::mouseClick(w.BankLabel(3), Qt::LeftButton);
    EXPECT_EQ(w.CurrentBank(), 3);
    w.SelectBank(8);
    w.SelectBank(-1);
    w.gsw_b1Click(w.TrashPicture());
    for (int n = 0; n < kBankCount; ++n) {
        EXPECT_EQ(w.BankSwitch(n)->state(), n == 3 ? 1 : 0) << n;
        EXPECT_EQ(TextColour(w.BankLabel(n)), n == 3 ? kYellow : kGrey) << n;
    }
}

TEST_F(MainWindowFixture, ModeSwitchClicksToggleWithoutRedrawingTheLists) {
    TfrmMain& w = Window();
    w.show();
    QTest::mouseClick(w.LibrarySwitch(), Qt::LeftButton);
    QTest::mouseClick(w.PerformSwitch(), Qt::LeftButton);
    EXPECT_TRUE(w.PageMode());
    EXPECT_TRUE(w.FunctionsMode());
    QTest::mouseClick(w.LibrarySwitch(), Qt::LeftButton);
    EXPECT_FALSE(w.PageMode());
}

TEST_F(MainWindowFixture, MenusOpenOnTheirControlsAndRememberTheBank) {
    TfrmMain& w = Window();
    w.show();
    emit w.BankList(4)->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(w.Menus().popBank()->isVisible());
    EXPECT_EQ(w.MenuBank(), 4);
    w.Menus().popBank()->hide();

    QContextMenuEvent onLabel(QContextMenuEvent::Mouse, QPoint(3, 3), QPoint(3, 3));
    QApplication::sendEvent(w.BankLabel(6), &onLabel);
    EXPECT_TRUE(w.Menus().popBank2()->isVisible());
    EXPECT_EQ(w.MenuBank(), 6);
    w.Menus().popBank2()->hide();

    emit w.LibraryList(9)->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(w.Menus().popLib()->isVisible());
    EXPECT_EQ(w.MenuLibraryList(), 9);
    w.Menus().popLib()->hide();

    QContextMenuEvent onTrash(QContextMenuEvent::Mouse, QPoint(3, 3), QPoint(3, 3));
    QApplication::sendEvent(w.TrashPicture(), &onTrash);
    EXPECT_TRUE(w.Menus().popAllBank()->isVisible());
    EXPECT_EQ(w.MenuBank(), -1);
    w.Menus().popAllBank()->hide();

    QContextMenuEvent onLibrary(QContextMenuEvent::Mouse, QPoint(3, 3), QPoint(3, 3));
    QApplication::sendEvent(w.LibraryLabel(), &onLibrary);
    EXPECT_TRUE(w.Menus().popLib2()->isVisible());
    w.Menus().popLib2()->hide();
}

TEST_F(MainWindowFixture, RightReleaseOnTheBufferLabelAsksForTheEditor) {
    TfrmMain& w = Window();
    w.show();
    int requests = 0;
    QObject::connect(&w, &TfrmMain::editBufferRequested, [&requests] { ++requests; });
    QTest::mouseClick(w.BufferLabel(), Qt::RightButton);
    QTest::mouseClick(w.BufferLabel(), Qt::LeftButton);
    EXPECT_EQ(requests, 1);
}

TEST_F(MainWindowFixture, TheMidiModesSteerTheirThreeMenuItemsOnceConnected) {
    TfrmMain& w = Window();
    const QString items[] = {"GetAllBankMIDIClick", "MemoryProtectOffClick",
                             "ShowSystemInfoClick"};
    for (const QString& item : items) w.Menus().Connect(item, [] {});
    w.SetGetAllBanksEnabled(false);
    w.SetMemoryProtectEnabled(true);
    w.SetShowSystemInfoEnabled(false);
    EXPECT_FALSE(w.Menus().Item(items[0])->isEnabled());
    EXPECT_TRUE(w.Menus().Item(items[1])->isEnabled());
    EXPECT_FALSE(w.Menus().Item(items[2])->isEnabled());
}

}  // namespace
}  // namespace librarian
