#pragma once
// The edit buffer as an undo history watches it: both images and the two note limits. The
// librarian's history and the editor's own watch it alike.

namespace core {

class Edtson;
class UndoHistory;

void WatchEditBuffer(UndoHistory& history, Edtson& buffer);

}  // namespace core
