#include "core/EditBufferUndo.h"

#include <string>

#include "core/Edtson.h"
#include "core/UndoHistory.h"

namespace core {

void WatchEditBuffer(UndoHistory& history, Edtson& buffer) {
    history.WatchBytes(buffer.Image(Edtson::Working));
    history.WatchBytes(buffer.Image(Edtson::Compare));
    // The limits are two bytes outside the images, kept as one text "low high".
    history.WatchText(
        [&buffer] {
            return std::to_string(buffer.LowNoteLimit()) + ' ' + std::to_string(buffer.HighNoteLimit());
        },
        [&buffer](const std::string& limits) {
            const std::size_t space = limits.find(' ');
            buffer.SetLowNoteLimit(Byte(std::stoi(limits.substr(0, space))));
            buffer.SetHighNoteLimit(Byte(std::stoi(limits.substr(space + 1))));
        });
}

}  // namespace core
