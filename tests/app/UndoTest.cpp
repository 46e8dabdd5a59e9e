// Undo and redo in the running program: every kind of change taken back and done again, byte
// for byte, through the windows' own menus, mouse and keys.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Program.h"
#include "controls/Tzografsw.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "editor/TfrmEdt.h"
#include "librarian/TNameForm.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmOption.h"
#include "librarian/TfrmTypes.h"
#include "librarian/VoiceList.h"
#include "midi/EmulatedRack.h"
#include "platform/FileDialogs.h"
#include "platform/MemorySettings.h"
#include "platform/MessageBoxes.h"
#include "support/TestApplication.h"
#include "tests/core/RealBankFiles.h"

namespace app {
namespace {

// The real bank file SynprezFM_nn.syx.
std::string BankFile(int number) { return core::test::RealBankFiles().at(std::size_t(number - 1)).string(); }

// Everything a user could lose: every byte of the banks, the library and the edit buffer, and
// the names and labels the windows show.
struct State {
    std::vector<core::Byte> bytes;
    std::vector<std::string> texts;
    bool operator==(const State&) const = default;
};

template <class T>
void Append(std::vector<core::Byte>& to, const T& block) {
    const auto* from = reinterpret_cast<const core::Byte*>(&block);
    to.insert(to.end(), from, from + sizeof block);
}

State Capture(Program& program) {
    State state;
    librarian::TfrmMain& main = program.MainWindow();
    for (int n = 0; n < 8; ++n) {
        Append(state.bytes, program.Bank(n).Slots());
        state.texts.push_back(program.Bank(n).Name());
        state.texts.push_back(main.BankLabel(n)->text().toStdString());
    }
    for (int page = 0; page < core::kLibraryPageCount; ++page) Append(state.bytes, program.Library().Page(page));
    for (int marker = 0; marker < core::kMarkerCount; ++marker)
        state.texts.push_back(program.Library().MarkerNameText(marker));
    state.texts.push_back(program.Library().Name());
    state.texts.push_back(main.LibraryLabel()->text().toStdString());
    state.texts.push_back(main.BufferLabel()->text().toStdString());
    Append(state.bytes, program.EditBuffer().Image(core::Edtson::Working));
    Append(state.bytes, program.EditBuffer().Image(core::Edtson::Compare));
    return state;
}

class UndoTest : public ::testing::Test {
public:

    void Trigger(const char* handler) {
        program_.MainWindow().Menus().Item(QString::fromLatin1(handler))->trigger();
    }
    // A menu item run on bank n's list or name label, as a right click there opens it.
    void OnBank(int n, const char* handler) {
        librarian::TfrmMain& main = program_.MainWindow();
        emit main.BankList(n)->customContextMenuRequested(QPoint(5, 5));
        main.Menus().popBank()->hide();
        Trigger(handler);
    }
    void Press(QWidget* window, int key, Qt::KeyboardModifiers modifiers) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, key, modifiers);
    }
    void Drag(librarian::VoiceListBox* from, int line, librarian::VoiceListBox* to, int onto) {
        const QPoint pressAt = from->LineRect(line).center();
        const QPoint dropAt = from->mapFromGlobal(to->mapToGlobal(to->LineRect(onto).center()));
        QTest::mousePress(from, Qt::LeftButton, {}, pressAt);
        QTest::mouseMove(from, pressAt + QPoint(0, QApplication::startDragDistance() + 1));
        QTest::mouseMove(from, dropAt);
        QTest::mouseRelease(from, Qt::LeftButton, {}, dropAt);
    }
    void Option(librarian::OptionSwitch which) { program_.OptionsWindow().OptionClick(which); }
    // Library mode: the library commands act on every page.
    void WholeLibrary() {
        if (program_.MainWindow().PageMode()) QTest::mouseClick(program_.MainWindow().LibrarySwitch(), Qt::LeftButton);
    }
    void OnLibrary(const char* handler) {
        emit program_.MainWindow().LibraryList(0)->customContextMenuRequested(QPoint(5, 5));
        program_.MainWindow().Menus().popLib()->hide();
        Trigger(handler);
    }
    void Load(int bank, int file) {
        ASSERT_TRUE(program_.Bank(bank).LoadBankFile(BankFile(file), false));
        program_.MainWindow().RefreshBankList(bank);
    }

    bool applicationMade_ = (testing_support::TestApplication(), true);  // before any window
    platform::RecordingBoxes boxes_;
    platform::RecordingDialogs dialogs_;
    platform::MemorySettings settings_;
    midi::EmulatedRack rack_;
    Program program_{rack_, settings_};
};

struct UndoCase {
    const char* step;  // as the menu item names it after "Undo "
    std::function<void(UndoTest&, Program&)> before;
    std::function<void(UndoTest&, Program&)> change;
};

// Every kind of change: done, undone (the state before, byte for byte) and redone (the state
// after), with the step named on the menus' undo item.
TEST_F(UndoTest, EveryChangeIsUndoneAndRedoneByteForByte) {
    using librarian::OptionSwitch;
    const UndoCase cases[] = {
        {"Load Bank", {}, [](UndoTest& t, Program&) {
             t.dialogs_.Answer(BankFile(3));
             t.OnBank(2, "popLoadBankClick");
         }},
        {"Delete Bank", [](UndoTest& t, Program&) { t.Load(1, 4); },
         [](UndoTest& t, Program&) { t.OnBank(1, "popDelBankClick"); }},
        {"Sort by Name", [](UndoTest& t, Program&) { t.Load(0, 5); },
         [](UndoTest& t, Program&) { t.OnBank(0, "popSortNameClick"); }},
        {"Copy Bank -> Library", [](UndoTest& t, Program&) { t.Load(0, 6); },
         [](UndoTest& t, Program&) { t.OnBank(0, "popCpyBLClick"); }},
        {"Find Doubles", [](UndoTest& t, Program& p) {
             t.Load(0, 7);
             for (int copy = 0; copy < 2; ++copy) p.Library().CopyIntoLibrary(p.Bank(0).Page(), core::kStatusUsed);
             t.Option(OptionSwitch::Delete);
             t.WholeLibrary();
         },
         [](UndoTest& t, Program&) { t.OnLibrary("mnpFindDblLibClick"); }},
        {"Sort by Name", [](UndoTest& t, Program& p) {
             t.Load(0, 8);
             p.Library().CopyIntoLibrary(p.Bank(0).Page(), core::kStatusUsed);
             t.Load(0, 9);
             p.Library().CopyIntoLibrary(p.Bank(0).Page(), core::kStatusUsed);
             t.WholeLibrary();
         },
         [](UndoTest& t, Program&) { t.OnLibrary("mnpTriAlphaLib1Click"); }},
        {"Drag and Drop", [](UndoTest& t, Program&) { t.Load(0, 10); t.Load(1, 11); },  // Copy
         [](UndoTest& t, Program& p) {
             t.Drag(p.MainWindow().BankList(0), 4, p.MainWindow().BankList(1), 9);
         }},
        {"Drag and Drop", [](UndoTest& t, Program&) {  // Swap
             t.Load(0, 12);
             t.Load(1, 13);
             t.Option(OptionSwitch::Swap);
         },
         [](UndoTest& t, Program& p) {
             t.Drag(p.MainWindow().BankList(0), 2, p.MainWindow().BankList(1), 30);
         }},
        {"Drag and Drop", [](UndoTest& t, Program&) {  // Add To
             t.Load(0, 14);
             t.Option(OptionSwitch::AddTo);
         },
         [](UndoTest& t, Program& p) {
             t.Drag(p.MainWindow().BankList(0), 7, p.MainWindow().LibraryList(3), 0);
         }},
        {"Get Bank from MIDI", [](UndoTest& t, Program&) { t.Load(0, 15); },
         [](UndoTest& t, Program&) { t.OnBank(0, "GetBankMIDIClick"); }},
        {"Auto Import Bank", [](UndoTest&, Program& p) { p.MainWindow().SetPageNumber(5); },
         [](UndoTest& t, Program&) {
             t.dialogs_.Answer(std::string(MONDRAL_SHARED_DIR) + "/banks/SynprezFM_1?.syx");
             t.Trigger("AutoImportBankClick");
         }},
        {"Rename Marker", {}, [](UndoTest&, Program& p) {
             QTimer::singleShot(0, [] {
                 for (QWidget* window : QApplication::topLevelWidgets()) {
                     auto* form = qobject_cast<librarian::TNameForm*>(window);
                     if (!form || !form->isVisible()) continue;
                     form->edtName()->setText(QStringLiteral("Pads"));
                     QTest::keyClick(form->edtName(), Qt::Key_Return);
                 }
             });
             p.MarkersWindow().listTypeDblClick(4);
         }},
        {"Voice Click", [](UndoTest& t, Program&) {
             t.Load(3, 16);
             t.Option(OptionSwitch::LinkBuffers);
         },
         [](UndoTest&, Program& p) {
             librarian::VoiceListBox* list = p.MainWindow().BankList(3);
             QTest::mousePress(list, Qt::LeftButton, {}, list->LineRect(6).center());
             QTest::mouseRelease(list, Qt::LeftButton, {}, list->LineRect(6).center());
         }},
    };

    program_.Start();
    librarian::TfrmMain& main = program_.MainWindow();
    QAction* undo = main.Menus().UndoItem();
    QAction* redo = main.Menus().RedoItem();
    for (const UndoCase& c : cases) {
        SCOPED_TRACE(c.step);
        if (c.before) c.before(*this, program_);
        main.CommandFinished(QStringLiteral("Set Up"));  // the case's own state is a step of its own
        const State before = Capture(program_);
        c.change(*this, program_);
        const State after = Capture(program_);
        ASSERT_NE(after, before) << "the change changed nothing";
        EXPECT_EQ(undo->text(), QStringLiteral("Undo ") + QString::fromLatin1(c.step));
        EXPECT_TRUE(main.Menus().popLib2()->actions().contains(undo));

        Press(&main, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(Capture(program_) == before);
        EXPECT_EQ(redo->text(), QStringLiteral("Redo ") + QString::fromLatin1(c.step));
        Press(&main, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(Capture(program_) == after);
        Press(&main, Qt::Key_Z, Qt::ControlModifier);
        Press(&main, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(Capture(program_) == after);
        EXPECT_FALSE(redo->isEnabled());
    }
    EXPECT_TRUE(rack_.WaitIdle(std::chrono::seconds(2)));
}

// The editor undoes its own gestures, one a knob drag, and sends what it takes back; the
// librarian's undo leaves the editor's changes alone.
TEST_F(UndoTest, TheEditorUndoesAGestureAndSendsTheValueTakenBack) {
    program_.Start();
    Load(0, 17);
    librarian::VoiceListBox* list = program_.MainWindow().BankList(0);
    QTest::mousePress(list, Qt::LeftButton, {}, list->LineRect(0).center());
    QTest::mouseRelease(list, Qt::LeftButton, {}, list->LineRect(0).center());
    editor::TfrmEdt& editor = program_.EditorWindow();
    editor.show();
    const core::EditImage loaded = program_.EditBuffer().Image(core::Edtson::Working);

    // The LFO speed knob (parameter 137): one drag of several steps.
    constexpr int kSpeed = 137;
    auto* knob = editor.findChild<QWidget*>(QStringLiteral("E_LFO_SPEED"));
    ASSERT_NE(knob, nullptr);
    const QPoint centre = knob->rect().center();
    QTest::mousePress(knob, Qt::LeftButton, {}, centre);
    for (int dy = 3; dy <= 30; dy += 3) QTest::mouseMove(knob, centre - QPoint(0, dy));
    QTest::mouseRelease(knob, Qt::LeftButton, {}, centre - QPoint(0, 30));
    QCoreApplication::processEvents();
    const core::Byte dragged = program_.EditBuffer().Image(core::Edtson::Working)[kSpeed];
    ASSERT_NE(dragged, loaded[kSpeed]);

    rack_.ClearReceivedMessages();
    Press(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(program_.EditBuffer().Image(core::Edtson::Working), loaded) << "the whole drag, at once";
    ASSERT_TRUE(rack_.WaitIdle(std::chrono::seconds(2)));
    const std::vector<std::vector<core::Byte>> sent = rack_.ReceivedMessages();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (std::vector<core::Byte>{0xF0, 0x43, 0x10, 0x01, kSpeed - 128, loaded[kSpeed], 0xF7}));

    Press(&editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(program_.EditBuffer().Image(core::Edtson::Working)[kSpeed], dragged);
    // The editor's steps are not the librarian's.
    EXPECT_EQ(program_.MainWindow().Menus().UndoItem()->text(), QStringLiteral("Undo Voice Click"));
}

}  // namespace
}  // namespace app
