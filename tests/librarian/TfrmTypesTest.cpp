#include "librarian/TfrmTypes.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "MainWindowFixture.h"
#include "controls/Tzografsw.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/TNameForm.h"
#include "librarian/VoiceNameText.h"

namespace librarian {
namespace {

class TfrmTypesTest : public MainWindowFixture {
protected:
    // Pages 0-3 hold four real banks; every fourth voice of page 1 carries marker 3, and so
    // does slot 7 of page 2 (selected on page 2: Page mode tests use it).
    void FillLibrary() {
        for (int p = 0; p < 4; ++p) {
            core::Bankson bank;
            ASSERT_TRUE(bank.LoadBankFile(BankFile(p + 1), false));
            bank.CopyToPage(library_.Page(p), core::kStatusUsed);
        }
        for (int s = 0; s < 32; s += 4) library_.Page(1)[s].status = core::kStatusUsed | (3 << 2);
        library_.Page(2)[7].status = core::kStatusUsed | (3 << 2);
    }

    TfrmTypes& Types() {
        if (!types_)
            types_ = std::make_unique<TfrmTypes>(library_, Window(), options_, nameForm_);
        return *types_;
    }

    QStringList Names() { return Lines(Types().listType()); }
    QStringList Counts() { return Lines(Types().listStat()); }

    // Renames `marker` by a double click, typing into the name window as `typing` says.
    void Rename(int marker, const std::function<void(QLineEdit*)>& typing) {
        QTimer::singleShot(0, &nameForm_, [this, typing] {
            typing(nameForm_.edtName());
            if (nameForm_.isVisible()) nameForm_.close();
        });
        Types().listTypeDblClick(marker);
    }

    void TearDown() override {
        types_.reset();
        MainWindowFixture::TearDown();
    }

    FixedLibrarianOptions options_;
    TNameForm nameForm_{(testing_support::TestApplication(), nullptr)};
    std::unique_ptr<TfrmTypes> types_;
};

TEST_F(TfrmTypesTest, AFreshLibraryListsEmptyMarkersAndCountsEveryVoiceAsMarkerZero) {
    FillLibrary();
    TfrmTypes& t = Types();
    EXPECT_EQ(t.windowTitle(), QStringLiteral("Markers"));
    EXPECT_EQ(Names(), QStringList(32, QStringLiteral("Empty")));
    QStringList counts(32, QStringLiteral("0"));
    counts[0] = QStringLiteral("119");  // 128 voices, 9 of them marker 3
    counts[3] = QStringLiteral("9");
    EXPECT_EQ(Counts(), counts);
    EXPECT_EQ(t.HighlightedMarker(), 0);
    EXPECT_FALSE(t.listStat()->isEnabled());
    EXPECT_EQ(t.listStat()->toolTip(), QStringLiteral("Quantity"));
    EXPECT_EQ(t.btnTypSelect()->toolTip(), QStringLiteral("Select by Type "));
    EXPECT_EQ(t.btnTypDefine()->toolTip(), QStringLiteral("Add to Type"));
}

TEST_F(TfrmTypesTest, SelectByTypeReplacesOrAddsToTheSelectionAndShowsTheFirstPage) {
    FillLibrary();
    library_.Page(0)[0].status |= core::kStatusSelected;
    TfrmMain& w = Window();
    w.SetPageNumber(30);
    Types().HighlightMarker(3);
    Types().btnTypSelectClick();
    std::vector<std::pair<int, int>> selected;
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < 32; ++s)
            if (library_.IsSelected(p, s)) selected.emplace_back(p, s);
    std::vector<std::pair<int, int>> expected;
    for (int s = 0; s < 32; s += 4) expected.emplace_back(1, s);
    expected.emplace_back(2, 7);
    EXPECT_EQ(selected, expected);
    EXPECT_EQ(w.PageNumber(), 1) << "the first page holding a selected voice";
    EXPECT_EQ(w.SelectedCount()->text(), QStringLiteral("9"));
    EXPECT_EQ(Types().btnTypSelect()->state(), 0);

    options_.multiSelect = true;
    library_.Page(0)[0].status |= core::kStatusSelected;
    Types().btnTypSelectClick();
    EXPECT_TRUE(library_.IsSelected(0, 0));
    EXPECT_EQ(w.PageNumber(), 0);
    EXPECT_EQ(w.SelectedCount()->text(), QStringLiteral("10"));
}

TEST_F(TfrmTypesTest, SelectByTypeInPageModeSelectsOnlyOnTheShownPage) {
    FillLibrary();
    TfrmMain& w = Window();
    emit w.LibrarySwitch()->clicked();
    w.SetPageNumber(2);
    Types().HighlightMarker(3);
    Types().btnTypSelectClick();
    EXPECT_EQ(library_.CountSelection().selected, 1);
    EXPECT_TRUE(library_.IsSelected(2, 7));
    EXPECT_EQ(w.PageNumber(), 2);
}

TEST_F(TfrmTypesTest, AddToTypeMarksTheSelectedVoicesOfThePageAndCountsAgain) {
    FillLibrary();
    for (int p : {0, 1})
        for (int s : {1, 2}) library_.Page(p)[s].status |= core::kStatusSelected;
    TfrmMain& w = Window();
    emit w.LibrarySwitch()->clicked();  // Page mode, page 0
    Types().HighlightMarker(5);
    Types().btnTypDefineClick();
    for (int s : {1, 2}) {
        EXPECT_EQ(library_.Page(0)[s].status, core::kStatusUsed | (5 << 2)) << s;
        EXPECT_TRUE(library_.Page(1)[s].IsSelected()) << "page 1 is not in scope";
    }
    EXPECT_EQ(Counts()[5], QStringLiteral("2"));
    EXPECT_EQ(Counts()[0], QStringLiteral("117"));
    EXPECT_EQ(Types().HighlightedMarker(), 5) << "the highlight stays on the marker";

    emit w.LibrarySwitch()->clicked();  // Library mode
    Types().btnTypDefineClick();
    EXPECT_EQ(Counts()[5], QStringLiteral("4"));
    EXPECT_EQ(library_.CountSelection().selected, 0);
}

TEST_F(TfrmTypesTest, WithoutAHighlightedMarkerTheButtonsChangeNothing) {
    FillLibrary();
    library_.Page(3)[4].status |= core::kStatusSelected;
    Types().HighlightMarker(-1);
    Types().btnTypDefineClick();
    Types().btnTypSelectClick();
    EXPECT_EQ(library_.Page(3)[4].status, core::kStatusUsed | core::kStatusSelected);
    EXPECT_EQ(Window().PageNumber(), 3) << "the finder still runs";
}

TEST_F(TfrmTypesTest, RenamingStoresOnlyARealChange) {
    struct Case {
        const char* what;
        std::function<void(QLineEdit*)> typing;
        std::string stored;  // all ten bytes of the field
    };
    const auto typeOver = [](QString text) {
        return [text](QLineEdit* field) {
            field->selectAll();
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Return);
        };
    };
    const Case cases[] = {
        {"letter case only", typeOver(QStringLiteral("EMPTY")), std::string("Empty\0\0\0\0\0", 10)},
        {"a new name", typeOver(QStringLiteral("Bass")), std::string("Bass\0\0\0\0\0\0", 10)},
        {"Esc, then Enter",
         [](QLineEdit* field) {
             QTest::keyClick(field, Qt::Key_Escape);
             QTest::keyClick(field, Qt::Key_Return);
         },
         std::string(10, '\0')},
        {"ten characters, no zero byte", typeOver(QStringLiteral("Strings \\9X")), "Strings \\9"},
        {"closed without Enter",
         [](QLineEdit* field) {
             field->end(false);
             QTest::keyClicks(field, QStringLiteral("s"));
         },
         std::string("Emptys\0\0\0\0", 10)},
    };
    int marker = 0;
    for (const Case& c : cases) {
        ++marker;
        Rename(marker, c.typing);
        const core::MarkerName& field = *library_.MarkerNames()[marker];
        EXPECT_EQ(std::string(field.begin(), field.end()), c.stored) << c.what;
        EXPECT_EQ(Names()[marker], DisplayShortName(field.data(), field.size())) << c.what;
        EXPECT_EQ(Types().HighlightedMarker(), marker) << c.what;
    }
    EXPECT_EQ(Names()[4], QString::fromUtf8("Strings \u00a59")) << "shown whole";
    EXPECT_EQ(nameForm_.windowTitle(), QStringLiteral("Edit Type Name"));
}

TEST_F(TfrmTypesTest, ClearingOrLoadingTheLibraryShowsItsNamesAndCounts) {
    FillLibrary();
    Types().HighlightMarker(3);
    library_.SetMarkerName(3, "Pads");
    EXPECT_EQ(Names()[3], QStringLiteral("Empty")) << "built before the rename behind its back";

    // Whatever command changes the library ends with the main window's refresh.
    library_.Clear();
    Window().RefreshLibraryLists();
    EXPECT_EQ(Names(), QStringList(32, QStringLiteral("Empty")));
    EXPECT_EQ(Counts(), QStringList(32, QStringLiteral("0")));
    EXPECT_EQ(Types().HighlightedMarker(), 3);

    // The name window opens with the name the library holds.
    library_.SetMarkerName(3, "Brass");
    QString opened;
    Rename(3, [&opened](QLineEdit* field) {
        opened = field->text();
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(opened, QStringLiteral("Brass"));
}

TEST_F(TfrmTypesTest, PlaceAndVisibilityComeFromTheSettingsAndGoBack) {
    struct Case {
        std::vector<std::pair<const char*, int>> stored;
        QPoint place;
        bool open;
    };
    const Case cases[] = {
        {{}, {168, 248}, false},
        {{{"TBX", 100}, {"TBY", 50}, {"TBO", 1}}, {50, 100}, true},
        {{{"TBX", 100}, {"TBO", 1}}, {168, 100}, false},  // stops at the missing "TBY"
        {{{"TBX", 9000}, {"TBY", 7000}, {"TBO", 1}}, {168, 248}, true},  // off every screen
    };
    for (const Case& c : cases) {
        platform::MemorySettings settings;
        for (const auto& [name, value] : c.stored) settings.Set(platform::kBaseKey, name, value);
        TfrmTypes t(library_, Window(), options_, nameForm_, settings);
        EXPECT_EQ(t.pos(), c.place);
        EXPECT_EQ(t.OpenAtStart(), c.open);
    }
    TfrmTypes& t = Types();
    t.move(33, 44);
    t.show();
    BaseValues values;
    t.CollectBaseValues(values);
    EXPECT_EQ(values.markersTop, 44);
    EXPECT_EQ(values.markersLeft, 33);
    EXPECT_EQ(values.markersOpen, 1);
    QTest::keyClick(&t, Qt::Key_Escape);
    EXPECT_FALSE(t.isVisible());
    t.show();
    QTest::keyClick(t.listType(), Qt::Key_Return);
    EXPECT_FALSE(t.isVisible());
    t.CollectBaseValues(values);
    EXPECT_EQ(values.markersOpen, 0);
}

}  // namespace
}  // namespace librarian
