#include "librarian/MainKeys.h"

#include <algorithm>

namespace librarian {

MainKey MainKeyFor(QChar typed) {
    const char16_t c = typed.unicode();
    if (c >= u'1' && c <= u'8') return {MainKeyCommand::SelectBank, int(c - u'1')};
    switch (c) {
    case u'+': return {MainKeyCommand::NextPage};
    case u'-': return {MainKeyCommand::PreviousPage};
    case u'0': return {MainKeyCommand::FirstPage};
    case u'.': return {MainKeyCommand::LastPage};
    case u'*': return {MainKeyCommand::ToggleLibraryMode};
    case u'P': case u'p': return {MainKeyCommand::ToggleFunctionMode};
    case u'F': case u'f': return {MainKeyCommand::FindFirstSelected};
    case u'M': case u'm': return {MainKeyCommand::OpenMidiConfig};
    case u'O': case u'o': return {MainKeyCommand::OpenOptions};
    case u'T': case u't': return {MainKeyCommand::OpenMarkers};
    case u',': case u'?': case u'I': return {MainKeyCommand::OpenAbout};
    default: return {};
    }
}

int PageAfter(MainKeyCommand command, int page) {
    switch (command) {
    case MainKeyCommand::NextPage: return std::min(page + 1, kLastPageNumber);
    case MainKeyCommand::PreviousPage: return std::max(page - 1, kFirstPageNumber);
    case MainKeyCommand::FirstPage: return kFirstPageNumber;
    case MainKeyCommand::LastPage: return kLastPageNumber;
    default: return page;
    }
}

}  // namespace librarian
