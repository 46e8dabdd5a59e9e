#pragma once
// Where a library command acts: the whole library (Library mode) or the page shown first
// (Page mode). Each operation here picks the library-wide or the page form of the library's
// operation accordingly, so the commands and the markers window agree on the scope.

#include <string_view>

#include "core/Libson.h"

namespace librarian {

struct LibraryScope {
    bool wholeLibrary = true;
    int page = 0;  // the page number, for Page mode
};

void ClearSelection(core::Libson& library, LibraryScope scope);
void InvertSelection(core::Libson& library, LibraryScope scope);
void ClearSelected(core::Libson& library, LibraryScope scope);
void SelectByMarker(core::Libson& library, LibraryScope scope, int marker);
void SetMarker(core::Libson& library, LibraryScope scope, int marker);
void SortByName(core::Libson& library, LibraryScope scope);
void SortByMarker(core::Libson& library, LibraryScope scope);
// Returns the number of matching slots.
int SearchByName(core::Libson& library, LibraryScope scope, std::string_view text, int position);
// Fills the destination's slots whose status is 0 from the selected voices of the scope.
int FillFromSelection(core::Libson& library, LibraryScope scope, core::VoicePage& destination);

// The name-search and select-by-marker rule: without Multi Select the scope's selection is
// cleared first, so only the new matches end up selected.
void SelectByMarkerOnly(core::Libson& library, LibraryScope scope, int marker, bool multiSelect);

// A marker's new name is stored only when it differs from the stored one in more than letter
// case. `typed` holds name bytes; at most 10 are kept. Returns whether it was stored.
bool RenameMarker(core::Libson& library, int marker, std::string_view typed);

}  // namespace librarian
