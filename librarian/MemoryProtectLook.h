#pragma once
// How the memory-protect items show the protection: a send to a protected module is ignored by
// it without a word, so the user must see what the program last set before choosing.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace librarian {

inline constexpr char kProtectUnknownNote[] = " (state unknown)";

struct ProtectItemLook {
    std::string text;
    bool checkable = false;  // the state is known: the check mark tells it
    bool checked = false;
    friend bool operator==(const ProtectItemLook&, const ProtectItemLook&) = default;
};

// The item `caption` over the modules it acts on, each with the protection the program last
// set (none where it set none since start). All known: the caption as it is, checked when every
// module is protected. Otherwise the caption with the note, and no check mark, which would
// claim a state nobody knows.
ProtectItemLook MemoryProtectLook(std::string_view caption,
                                  std::span<const std::optional<bool>> modules);

}  // namespace librarian
