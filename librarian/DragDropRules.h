#pragma once
// Dragging one voice between the bank lists, the library lists, the edit buffer label and the
// trash, without any window: which places take which drags (ListBox1DragOver), what a drop
// changes (ListBox1DragDrop), and bank files dropped in from the desktop. The main window's
// drag code (librarian/MainDragDrop.h) finds the places under the pointer, calls these and
// redraws what the result names.

#include <array>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/OptionSwitches.h"
#include "librarian/VoiceClick.h"

namespace librarian {

enum class DragKind { BankList, LibraryList, Buffer, Trash, LibraryLabel };

// A drag source or drop target. `list` is the bank 0-7 or the library list 0-11; `line` the
// list line under the pointer (-1: below the last line). For a library source, `page` is the
// page the line showed when the drag began, so a page change during the drag cannot swap the
// voice for another.
struct DragPlace {
    DragKind kind = DragKind::Trash;
    int list = 0;
    int line = -1;
    int page = 0;
    bool operator==(const DragPlace&) const = default;
};

// The acceptance table: a bank list takes every voice (its own too), a library list takes
// bank voices and the edit buffer, the trash takes all three; nothing else takes anything,
// and the trash itself is taken nowhere.
bool AcceptsDrop(DragKind source, DragKind target);

enum class DropWarning { None = 0, BankFull = 1, PageFull = 2, LibraryFull = 3 };
inline constexpr std::string_view kDragDropWarningTitle = "Drag & Drop Warning";
// "Destination Bank is Full", "Destination Page is Full", "Library is Full !".
std::string_view DropWarningText(DropWarning warning);

// What a drop works on, read when it happens.
struct DropScene {
    std::span<core::Bankson* const> banks;  // eight
    core::Libson& library;
    core::Edtson& buffer;
    bool functionsMode = false;
    bool pageMode = false;
    CopyMode mode = CopyMode::Copy;  // for drops onto a bank list
};

// What a drop changed, so the window redraws exactly that.
struct DropResult {
    bool accepted = false;
    DropWarning warning = DropWarning::None;  // already shown when not None
    std::array<bool, 8> banksChanged{};       // banks whose list to redraw
    bool libraryChanged = false;
    bool bufferReset = false;  // the edit buffer was emptied: its label and the editor follow
};

// Carries out a drop (ListBox1DragDrop). A refused pair or a source slot that doesn't exist
// changes nothing. A full destination shows its "Drag & Drop Warning" and changes nothing.
// A slot dropped on itself stays as it is in every mode.
DropResult DropVoice(const DropScene& scene, const DragPlace& source, const DragPlace& target);

// --- Files dropped from the desktop's file manager ---

// ".DX7" and ".SYX" in any case.
bool IsBankFileName(const std::filesystem::path& path);
// The bank files among the dropped ones, in the order given.
std::vector<std::filesystem::path> BankFilesAmong(std::span<const std::filesystem::path> paths);

// Loads the files into bank `first` and the banks after it, one file a bank, as "Load Bank"
// does (a bad file shows its box and leaves its bank as it was); files past the last bank are
// left out. Returns the banks loaded, in order.
std::vector<int> LoadDroppedBanks(std::span<core::Bankson* const> banks, int first,
                                  std::span<const std::filesystem::path> files,
                                  bool functionsMode);

// Reads each file (a bad one shows its box and is skipped) and copies its used voices into
// the free library slots from page `page` on, in library order. When the library runs out,
// "Library is Full !" and the rest stay out. Returns the number of voices copied.
int ImportDroppedBanks(core::Libson& library, int page,
                       std::span<const std::filesystem::path> files);

}  // namespace librarian
