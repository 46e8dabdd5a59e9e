#include "librarian/LibraryScope.h"

#include <algorithm>
#include <cctype>

namespace librarian {

void ClearSelection(core::Libson& library, LibraryScope scope) {
    scope.wholeLibrary ? library.ClearSelection() : library.ClearSelection(scope.page);
}

void InvertSelection(core::Libson& library, LibraryScope scope) {
    scope.wholeLibrary ? library.InvertSelection() : library.InvertSelection(scope.page);
}

void ClearSelected(core::Libson& library, LibraryScope scope) {
    scope.wholeLibrary ? library.ClearSelected() : library.ClearSelected(scope.page);
}

void SelectByMarker(core::Libson& library, LibraryScope scope, int marker) {
    scope.wholeLibrary ? library.SelectByMarker(marker)
                       : library.SelectByMarker(scope.page, marker);
}

void SetMarker(core::Libson& library, LibraryScope scope, int marker) {
    scope.wholeLibrary ? library.SetMarker(marker) : library.SetMarker(scope.page, marker);
}

void SortByName(core::Libson& library, LibraryScope scope) {
    scope.wholeLibrary ? library.SortByName() : library.SortByName(scope.page);
}

void SortByMarker(core::Libson& library, LibraryScope scope) {
    scope.wholeLibrary ? library.SortByMarker() : library.SortByMarker(scope.page);
}

int SearchByName(core::Libson& library, LibraryScope scope, std::string_view text, int position) {
    return scope.wholeLibrary ? library.SearchByName(text, position)
                              : library.SearchByName(scope.page, text, position);
}

int FillFromSelection(core::Libson& library, LibraryScope scope, core::VoicePage& destination) {
    return scope.wholeLibrary ? library.FillFromSelection(destination)
                              : library.FillFromSelection(destination, scope.page);
}

void SelectByMarkerOnly(core::Libson& library, LibraryScope scope, int marker, bool multiSelect) {
    if (!multiSelect) ClearSelection(library, scope);
    SelectByMarker(library, scope, marker);
}

bool RenameMarker(core::Libson& library, int marker, std::string_view typed) {
    if (marker < 0 || marker >= core::kMarkerCount) return false;
    typed = typed.substr(0, std::min(typed.size(), core::kNameSize));
    const std::string stored = library.MarkerNameText(marker);
    const auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    if (std::equal(stored.begin(), stored.end(), typed.begin(), typed.end(), sameLetter))
        return false;
    library.SetMarkerName(marker, typed);
    return true;
}

}  // namespace librarian
