#pragma once
// The main window's keyboard commands: which typed character does what.

#include <QChar>

namespace librarian {

enum class MainKeyCommand {
    None,
    SelectBank,         // "1".."8"; the bank comes with it
    NextPage,           // "+"
    PreviousPage,       // "-"
    FirstPage,          // "0"
    LastPage,           // "."
    ToggleLibraryMode,  // "*"
    ToggleFunctionMode, // "P", "p"
    FindFirstSelected,  // "F", "f"
    OpenMidiConfig,     // "M", "m"
    OpenOptions,        // "O", "o"
    OpenMarkers,        // "T", "t"
    OpenAbout,          // ",", "?", "I" (uppercase only)
};

struct MainKey {
    MainKeyCommand command = MainKeyCommand::None;
    int bank = -1;  // 0-7 for SelectBank
};

MainKey MainKeyFor(QChar typed);

// The library page knob's range: the first of the six pages on screen.
inline constexpr int kFirstPageNumber = 0;
inline constexpr int kLastPageNumber = 994;

// The page number a paging command leads to from the current one.
int PageAfter(MainKeyCommand command, int page);

}  // namespace librarian
