// Drag and drop on the real main window, driven by mouse events as the platform delivers them:
// the press on the source, then moves and the release to the widget the press went to (its
// implicit grab), at the points over the target.
#include "librarian/MainDragDrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <cstring>
#include <fstream>
#include <functional>

#include "MainWindowFixture.h"
#include "controls/Tzografsw.h"
#include "librarian/TfrmOption.h"
#include "librarian/VoiceNameText.h"
#include "support/TempDir.h"

namespace librarian {
namespace {

using core::VoiceSlot;

class DragDropTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        options_ = std::make_unique<TfrmOption>(settings_);
        TfrmMain& w = Window();
        TfrmMain::Banks banks;
        for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
        dragDrop_ = std::make_unique<MainDragDrop>(w, banks, library_, buffer_, *options_);
        w.show();
    }
    void TearDown() override {
        dragDrop_.reset();
        options_.reset();
        MainWindowFixture::TearDown();
    }

    void LoadBank(int bank, int file) {
        ASSERT_TRUE(banks_[bank].LoadBankFile(BankFile(file), false));
        Window().RefreshBankList(bank);
    }
    void SetMode(OptionSwitch mode) { options_->OptionClick(mode); }

    static QPoint LineCentre(VoiceListBox* list, int line) {
        return list->LineRect(line).center();
    }
    // Presses at `from`, moves past the drag distance, then to `to` and releases there.
    static void Drag(QWidget* from, QPoint fromLocal, QWidget* to, QPoint toLocal) {
        QTest::mousePress(from, Qt::LeftButton, {}, fromLocal);
        MoveOver(from, fromLocal, to, toLocal);
        ReleaseOver(from, to, toLocal);
    }
    // The release goes to the pressed widget, wherever the pointer is.
    static void ReleaseOver(QWidget* from, QWidget* to, QPoint toLocal) {
        QTest::mouseRelease(from, Qt::LeftButton, {}, from->mapFromGlobal(to->mapToGlobal(toLocal)));
    }
    static void ReleaseOverTrash(QWidget* from, TfrmMain& w) {
        ReleaseOver(from, w.TrashPicture(), w.TrashPicture()->rect().center());
    }
    static void MoveOver(QWidget* from, QPoint fromLocal, QWidget* to, QPoint toLocal) {
        QTest::mouseMove(from, fromLocal + QPoint(QApplication::startDragDistance() + 1, 0));
        QTest::mouseMove(from, from->mapFromGlobal(to->mapToGlobal(toLocal)));
    }
    static void DragLine(VoiceListBox* from, int line, VoiceListBox* to, int toLine) {
        Drag(from, LineCentre(from, line), to, LineCentre(to, toLine));
    }
    static void DragLine(VoiceListBox* from, int line, QWidget* to) {
        Drag(from, LineCentre(from, line), to, to->rect().center());
    }
    static Qt::CursorShape Pointer() {
        return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                              : Qt::ArrowCursor;
    }
    static bool Same(const VoiceSlot& a, const VoiceSlot& b) {
        return a.voice == b.voice && a.status == b.status;
    }
    // Equal apart from the selected bit (a press on a used line toggles it).
    static bool SameVoice(const VoiceSlot& a, const VoiceSlot& b) {
        return a.voice == b.voice && (a.status | core::kStatusSelected) ==
                                         (b.status | core::kStatusSelected);
    }
    static bool SamePages(const core::VoicePage& a, const core::VoicePage& b) {
        for (std::size_t s = 0; s < a.size(); ++s)
            if (!SameVoice(a[s], b[s])) return false;
        return true;
    }
    const std::vector<platform::RecordingBoxes::Box>& Boxes() const { return boxes_.Shown(); }

    std::unique_ptr<TfrmOption> options_;
    std::unique_ptr<MainDragDrop> dragDrop_;
};

TEST_F(DragDropTest, CopyBetweenBanksCarriesTheSlotAndInFunctionsModeItsRecord) {
    LoadBank(0, 1);
    LoadBank(1, 2);
    banks_[0].Page()[3].status |= 5 << core::kMarkerShift;
    banks_[0].Functions()[3].fill(0x11);
    const core::BankSlotBlock before0 = banks_[0].Slots();
    const core::BankSlotBlock before1 = banks_[1].Slots();
    emit Window().PerformSwitch()->clicked();
    ASSERT_TRUE(Window().FunctionsMode());

    DragLine(Window().BankList(0), 3, Window().BankList(1), 10);

    EXPECT_TRUE(Same(banks_[1].Page()[10], banks_[0].Page()[3])) << "selected bit and marker too";
    EXPECT_EQ(banks_[1].Page()[10].Marker(), 5);
    EXPECT_EQ(banks_[1].Functions()[10], banks_[0].Functions()[3]);
    EXPECT_TRUE(SamePages(banks_[0].Page(), before0.page)) << "the source keeps its voice";
    EXPECT_EQ(banks_[0].Functions(), before0.functions);
    for (int s = 0; s < 32; ++s)
        if (s != 10) {
            EXPECT_TRUE(Same(banks_[1].Page()[s], before1.page[s])) << s;
        }
    EXPECT_EQ(Window().BankList(1)->Line(10), Window().BankList(0)->Line(3));
    EXPECT_EQ(Pointer(), Qt::ArrowCursor) << "the pointer is back after the drop";
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DragDropTest, SwapExchangesBankVoicesWithTheirRecordsOnlyInFunctionsModeAndCopiesFromTheLibrary) {
    for (const bool functions : {false, true}) {
        SCOPED_TRACE(functions ? "Functions mode" : "Voices mode");
        LoadBank(0, 3);
        LoadBank(2, 4);
        banks_[0].Functions()[0].fill(0x21);
        banks_[2].Functions()[31].fill(0x42);
        library_.Page(0)[4] = banks_[2].Page()[7];
        Window().RefreshLibraryLists();
        if (Window().FunctionsMode() != functions) emit Window().PerformSwitch()->clicked();
        SetMode(OptionSwitch::Swap);
        const core::BankSlotBlock a = banks_[0].Slots();
        const core::BankSlotBlock b = banks_[2].Slots();

        DragLine(Window().BankList(0), 0, Window().BankList(2), 31);
        EXPECT_TRUE(SameVoice(banks_[2].Page()[31], a.page[0]));
        EXPECT_TRUE(SameVoice(banks_[0].Page()[0], b.page[31]));
        EXPECT_EQ(banks_[2].Functions()[31], functions ? a.functions[0] : b.functions[31]);
        EXPECT_EQ(banks_[0].Functions()[0], functions ? b.functions[31] : a.functions[0]);

        // Same bank, line 0 onto line 31.
        const core::BankSlotBlock c = banks_[0].Slots();
        DragLine(Window().BankList(0), 0, Window().BankList(0), 31);
        EXPECT_TRUE(SameVoice(banks_[0].Page()[31], c.page[0]));
        EXPECT_TRUE(SameVoice(banks_[0].Page()[0], c.page[31]));
        EXPECT_EQ(banks_[0].Functions()[31], functions ? c.functions[0] : c.functions[31]);

        // From the library: a copy, the library keeps its voice.
        const VoiceSlot libraryVoice = library_.Page(0)[4];
        DragLine(Window().LibraryList(0), 4, Window().BankList(0), 5);
        EXPECT_TRUE(SameVoice(banks_[0].Page()[5], libraryVoice));
        EXPECT_TRUE(SameVoice(library_.Page(0)[4], libraryVoice));
        EXPECT_TRUE(library_.Page(0)[4].IsUsed());
    }
}

TEST_F(DragDropTest, ASlotDroppedOnItselfStaysAsItIsInCopyAndSwap) {
    LoadBank(0, 5);
    emit Window().PerformSwitch()->clicked();
    for (int f = 0; f < 32; ++f) banks_[0].Functions()[f].fill(core::Byte(f));
    for (const OptionSwitch mode : {OptionSwitch::Copy, OptionSwitch::Swap}) {
        SetMode(mode);
        const core::BankSlotBlock before = banks_[0].Slots();
        DragLine(Window().BankList(0), 12, Window().BankList(0), 12);
        EXPECT_TRUE(SamePages(banks_[0].Page(), before.page));
        EXPECT_EQ(banks_[0].Functions(), before.functions);
    }
}

TEST_F(DragDropTest, AddToWarnsOnAFullBankAndOtherwiseFillsTheFirstFreeSlotWhereverDropped) {
    LoadBank(0, 6);
    LoadBank(1, 7);
    SetMode(OptionSwitch::AddTo);
    const core::BankSlotBlock full = banks_[1].Slots();
    DragLine(Window().BankList(0), 2, Window().BankList(1), 5);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], (platform::RecordingBoxes::Box{platform::BoxKind::Warning,
                                                          "Drag & Drop Warning",
                                                          "Destination Bank is Full", false}));
    for (int s = 0; s < 32; ++s) EXPECT_TRUE(Same(banks_[1].Page()[s], full.page[s])) << s;

    core::InitSlot(banks_[1].Page()[30]);
    banks_[1].Page()[30].status = core::kStatusSelected;  // not used: still free
    DragLine(Window().BankList(0), 2, Window().BankList(1), 5);
    EXPECT_TRUE(SameVoice(banks_[1].Page()[30], banks_[0].Page()[2]));
    EXPECT_TRUE(Same(banks_[1].Page()[5], full.page[5]));
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(DragDropTest, LibraryVoicesGoToBanksAndTrashButNotToLibraryLists) {
    LoadBank(3, 8);
    for (int s = 0; s < 20; ++s) library_.Page(0)[s] = banks_[3].Page()[s];
    Window().RefreshLibraryLists();
    const int available = Window().UsedCount()->text().toInt();
    ASSERT_EQ(available, 20);
    std::vector<VoiceSlot> before(library_.Page(0).begin(), library_.Page(0).end());

    // lstLib1 line 1 onto lstLib4: refused, with the pointer saying so.
    VoiceListBox* from = Window().LibraryList(0);
    QTest::mousePress(from, Qt::LeftButton, {}, LineCentre(from, 1));
    MoveOver(from, LineCentre(from, 1), Window().LibraryList(3),
             LineCentre(Window().LibraryList(3), 2));
    EXPECT_EQ(Pointer(), Qt::ForbiddenCursor);
    MoveOver(from, LineCentre(from, 1), Window().TrashPicture(),
             Window().TrashPicture()->rect().center());
    EXPECT_EQ(Pointer(), Qt::DragMoveCursor);
    ReleaseOver(from, Window().LibraryList(3),
                LineCentre(Window().LibraryList(3), 2));
    for (int s = 0; s < 32; ++s) EXPECT_TRUE(SameVoice(library_.Page(0)[s], before[s])) << s;
    EXPECT_EQ(Window().UsedCount()->text().toInt(), available);

    // lstLib2 line 1 (slot 17) onto the trash: gone, "Available" one less. The drag begins
    // with a quick second press, which comes as a double click.
    VoiceListBox* second = Window().LibraryList(1);
    QTest::mouseClick(second, Qt::LeftButton, {}, LineCentre(second, 1));
    QTest::mouseDClick(second, Qt::LeftButton, {}, LineCentre(second, 1));
    MoveOver(second, LineCentre(second, 1), Window().TrashPicture(),
             Window().TrashPicture()->rect().center());
    ReleaseOverTrash(second, Window());
    EXPECT_EQ(library_.Page(0)[17].status, 0);
    EXPECT_EQ(DisplayVoiceName(library_.Page(0)[17]), QStringLiteral("----------"));
    EXPECT_EQ(Window().UsedCount()->text().toInt(), available - 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DragDropTest, TheEditBufferOnTheTrashEmptiesBothImagesAndTellsTheEditor) {
    LoadBank(0, 9);
    const core::BankSlotBlock bank = banks_[0].Slots();
    buffer_.TakeVoice(banks_[0].Page()[4].voice, nullptr, false, false);
    buffer_.TakeVoice(banks_[0].Page()[5].voice, nullptr, false, false);
    Window().BufferLabel()->setText(QStringLiteral("NOT EMPTY"));
    QSignalSpy editorTold(&Window(), &TfrmMain::editBufferChanged);
    const core::Edtson empty;

    Drag(Window().BufferLabel(), Window().BufferLabel()->rect().center(), Window().TrashPicture(),
         Window().TrashPicture()->rect().center());

    EXPECT_EQ(buffer_.Image(core::Edtson::Working), empty.Image(core::Edtson::Working));
    EXPECT_EQ(buffer_.Image(core::Edtson::Compare), empty.Image(core::Edtson::Compare));
    EXPECT_EQ(Window().BufferLabel()->text(), QStringLiteral("----------"));
    EXPECT_EQ(editorTold.count(), 1);
    for (int s = 0; s < 32; ++s) EXPECT_TRUE(Same(banks_[0].Page()[s], bank.page[s])) << s;
    EXPECT_EQ(Window().UsedCount()->text(), QStringLiteral("0"));
}

TEST_F(DragDropTest, APageModeDropFillsThePageOfTheListAndALibraryModeDropTheFirstFreeSlot) {
    LoadBank(0, 10);
    for (int s = 0; s < 3; ++s) library_.Page(13)[s] = banks_[0].Page()[20 + s];
    library_.Page(0)[0] = banks_[0].Page()[21];
    Window().SetPageNumber(10);
    emit Window().LibrarySwitch()->clicked();
    ASSERT_TRUE(Window().PageMode());

    // lstLib7 shows page 13, slots 0-15.
    DragLine(Window().BankList(0), 6, Window().LibraryList(6), 9);
    EXPECT_TRUE(SameVoice(library_.Page(13)[3], banks_[0].Page()[6]));
    EXPECT_TRUE(library_.IsPageEmpty(10));
    EXPECT_EQ(Window().LibraryList(6)->Line(3), Window().BankList(0)->Line(6));

    emit Window().LibrarySwitch()->clicked();
    DragLine(Window().BankList(0), 7, Window().LibraryList(6), 9);
    EXPECT_TRUE(SameVoice(library_.Page(0)[1], banks_[0].Page()[7])) << "off screen";
    EXPECT_EQ(Window().UsedCount()->text(), QStringLiteral("6"));

    // The edit buffer into a full page: warning 2, nothing copied.
    for (int s = 0; s < 32; ++s) library_.Page(11)[s] = banks_[0].Page()[s];
    emit Window().LibrarySwitch()->clicked();
    Drag(Window().BufferLabel(), Window().BufferLabel()->rect().center(),
         Window().LibraryList(3), LineCentre(Window().LibraryList(3), 0));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Destination Page is Full");
    EXPECT_TRUE(SameVoice(library_.Page(11)[0], banks_[0].Page()[0]));
}

TEST_F(DragDropTest, NothingMovesFromAnEmptyLineOrAfterEscapeAndAPageChangeKeepsTheDraggedVoice) {
    LoadBank(0, 11);
    LoadBank(1, 12);
    core::InitSlot(banks_[0].Page()[8]);
    Window().RefreshBankList(0);
    const core::BankSlotBlock target = banks_[1].Slots();
    DragLine(Window().BankList(0), 8, Window().BankList(1), 8);
    for (int s = 0; s < 32; ++s) EXPECT_TRUE(Same(banks_[1].Page()[s], target.page[s])) << s;

    VoiceListBox* from = Window().BankList(0);
    QTest::mousePress(from, Qt::LeftButton, {}, LineCentre(from, 2));
    MoveOver(from, LineCentre(from, 2), Window().TrashPicture(),
             Window().TrashPicture()->rect().center());
    EXPECT_TRUE(dragDrop_->Dragging());
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_FALSE(dragDrop_->Dragging());
    ReleaseOverTrash(from, Window());
    EXPECT_TRUE(banks_[0].Page()[2].IsUsed());
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);

    // "+" during the drag shows the next pages; the voice taken at the press still goes.
    library_.Page(0)[3] = banks_[1].Page()[3];
    library_.Page(1)[3] = banks_[1].Page()[4];
    Window().RefreshLibraryLists();
    VoiceListBox* lib = Window().LibraryList(0);
    QTest::mousePress(lib, Qt::LeftButton, {}, LineCentre(lib, 3));
    MoveOver(lib, LineCentre(lib, 3), Window().TrashPicture(),
             Window().TrashPicture()->rect().center());
    QTest::keyClick(&Window(), '+');
    ASSERT_EQ(Window().PageNumber(), 1);
    ReleaseOverTrash(lib, Window());
    EXPECT_FALSE(library_.Page(0)[3].IsUsed());
    EXPECT_TRUE(library_.Page(1)[3].IsUsed());
}

// Drops whose status byte and function records are easy to get wrong, in Voices and in
// Functions mode: bank 1's whole slot block and library page 0, byte for byte, against what the
// drop must leave of the state before.
TEST_F(DragDropTest, DropsLeaveStatusBytesAndFunctionRecordsAsTheModeSays) {
    struct State {
        core::BankSlotBlock bank;
        core::VoicePage page0;
    };
    struct Row {
        const char* what;
        OptionSwitch mode;
        std::function<void()> drag;
        std::function<void(bool functions, State& expected)> expect;
    };
    core::PackedFunction emptyFunction;
    core::InitFunction(emptyFunction);
    VoiceSlot emptySlot;
    core::InitSlot(emptySlot);
    const auto fromBuffer = [&](int line) {
        Drag(Window().BufferLabel(), Window().BufferLabel()->rect().center(), Window().BankList(1),
             LineCentre(Window().BankList(1), line));
    };
    const auto bufferStored = [&](bool f, State& e) {
        buffer_.StoreVoice(e.bank.page, 9, f, &e.bank.functions);
    };
    const Row rows[] = {
        {"buffer onto line 9, Copy", OptionSwitch::Copy, [&] { fromBuffer(9); }, bufferStored},
        {"buffer onto line 9, Swap", OptionSwitch::Swap, [&] { fromBuffer(9); }, bufferStored},
        {"buffer, Add To", OptionSwitch::AddTo, [&] { fromBuffer(2); },
         [&](bool, State& e) { buffer_.StoreVoice(e.bank.page, 30, false); }},
        {"line 4 onto the trash", OptionSwitch::Copy,
         [&] { DragLine(Window().BankList(1), 4, Window().TrashPicture()); },
         [&](bool f, State& e) {
             e.bank.page[4] = emptySlot;
             if (f) e.bank.functions[4] = emptyFunction;
         }},
        {"library slot 2 onto line 9", OptionSwitch::Copy,
         [&] { DragLine(Window().LibraryList(0), 2, Window().BankList(1), 9); },
         [&](bool, State& e) { e.bank.page[9] = e.page0[2]; }},
        {"line 6 onto the library", OptionSwitch::Copy,
         [&] { DragLine(Window().BankList(1), 6, Window().LibraryList(0), 0); },
         [&](bool, State& e) { e.page0[5] = e.bank.page[6]; }},
    };
    for (const Row& row : rows) {
        for (const bool functions : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (functions ? ", Functions mode" : ", Voices mode"));
            LoadBank(1, 13);
            for (int s = 0; s < 32; ++s) banks_[1].Functions()[s].fill(core::Byte(s + 1));
            core::InitSlot(banks_[1].Page()[30]);
            banks_[1].Page()[9].status = core::kStatusUsed | core::kStatusSelected | (5 << 2);
            banks_[1].Page()[6].status = core::kStatusUsed | core::kStatusSelected | (3 << 2);
            library_.ClearPage(0);
            for (int s = 0; s < 5; ++s) library_.Page(0)[s] = banks_[1].Page()[10 + s];
            library_.Page(0)[2].status = core::kStatusUsed | core::kStatusSelected | (2 << 2);
            buffer_.TakeVoice(banks_[1].Page()[20].voice, &banks_[1].Functions()[20], true, true);
            Window().RefreshBankList(1);
            Window().RefreshLibraryLists();
            SetMode(row.mode);
            if (Window().FunctionsMode() != functions) emit Window().PerformSwitch()->clicked();
            State expected{banks_[1].Slots(), library_.Page(0)};
            row.expect(functions, expected);

            row.drag();
            if (row.mode != OptionSwitch::AddTo && std::strncmp(row.what, "buffer", 6) == 0) {
                EXPECT_EQ(banks_[1].Page()[9].status, core::kStatusUsed) << "unselected, marker 0";
            }
            for (int s = 0; s < 32; ++s) {
                EXPECT_TRUE(Same(banks_[1].Page()[s], expected.bank.page[s])) << "bank slot " << s;
                EXPECT_EQ(banks_[1].Functions()[s], expected.bank.functions[s]) << "record " << s;
                EXPECT_TRUE(Same(library_.Page(0)[s], expected.page0[s])) << "library slot " << s;
            }
        }
    }
}

// A drop from the desktop's file manager, as the platform delivers it to the list.
class FileDropTest : public DragDropTest {
protected:
    static QString Path(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }
};

TEST_F(FileDropTest, BankFilesLoadIntoTheBankAndTheOnesAfterItOrIntoTheLibraryFromTheListsPage) {
    testing_support::TempDir dir;
    const auto upper = dir / "PIANOS.SYX";
    std::filesystem::copy_file(BankFile(13), upper);
    const auto bad = dir / "broken.dx7";
    std::ofstream(bad) << "not a bank";
    const auto text = dir / "notes.txt";
    std::ofstream(text) << "text";

    EXPECT_FALSE(DropFiles(Window().BankList(2), {Path(text)})) << "nothing to load";
    LoadBank(4, 20);
    const core::BankSlotBlock untouched = banks_[5].Slots();
    ASSERT_TRUE(DropFiles(Window().BankList(3), {QString::fromStdString(BankFile(14)), Path(text),
                                                 Path(bad)}));
    core::Bankson expected;
    ASSERT_TRUE(expected.LoadBankFile(BankFile(14), false));
    EXPECT_EQ(std::memcmp(&banks_[3].Page(), &expected.Page(), sizeof(core::VoicePage)), 0);
    EXPECT_EQ(Window().BankLabel(3)->text(), QString::fromStdString(banks_[3].Name()));
    EXPECT_EQ(Window().BankList(3)->Line(0), DisplayVoiceName(expected.Page()[0]));
    ASSERT_EQ(Boxes().size(), 1u) << "the bad file's box, as Load Bank shows it";
    EXPECT_EQ(Boxes()[0].title, "File Error");
    core::Bankson twenty;
    ASSERT_TRUE(twenty.LoadBankFile(BankFile(20), false));
    EXPECT_TRUE(SamePages(banks_[4].Page(), twenty.Page())) << "the bad file's bank is as it was";
    EXPECT_EQ(std::memcmp(&banks_[5].Slots(), &untouched, sizeof untouched), 0);

    // Library: lstLib4 at page number 5 shows page 6; page 6 has two voices already.
    library_.Page(6)[0] = expected.Page()[0];
    library_.Page(6)[2] = expected.Page()[1];
    Window().SetPageNumber(5);
    ASSERT_TRUE(DropFiles(Window().LibraryList(3), {Path(upper), QString::fromStdString(BankFile(15))}));
    core::Bankson first, second;
    ASSERT_TRUE(first.LoadBankFile(upper, false));
    ASSERT_TRUE(second.LoadBankFile(BankFile(15), false));
    EXPECT_TRUE(library_.IsPageEmpty(5));
    EXPECT_TRUE(Same(library_.Page(6)[1], first.Page()[0]));
    EXPECT_TRUE(Same(library_.Page(6)[31], first.Page()[29]));
    EXPECT_TRUE(Same(library_.Page(7)[1], first.Page()[31]));
    EXPECT_TRUE(Same(library_.Page(7)[2], second.Page()[0]));
    EXPECT_TRUE(Same(library_.Page(8)[1], second.Page()[31]));
    EXPECT_EQ(Window().UsedCount()->text(), QStringLiteral("66"));
}

// Folders, with the files beside them, go to the collection import, and only from a library list.
TEST_F(FileDropTest, FoldersDroppedOnALibraryListGoToTheCollectionImport) {
    testing_support::TempDir dir;
    std::filesystem::create_directory(dir / "set");
    std::vector<std::vector<std::filesystem::path>> imported;
    EXPECT_FALSE(DropFiles(Window().LibraryList(3), {Path(dir / "set")})) << "refused without an import";
    dragDrop_->SetFolderDrop([&](const std::vector<std::filesystem::path>& folders) { imported.push_back(folders); });
    EXPECT_FALSE(DropFiles(Window().BankList(1), {Path(dir / "set")}));
    ASSERT_TRUE(DropFiles(Window().LibraryList(3), {Path(dir / "set"), QString::fromStdString(BankFile(2))}));
    EXPECT_EQ(imported, (std::vector<std::vector<std::filesystem::path>>{{dir / "set", BankFile(2)}}));
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace librarian
