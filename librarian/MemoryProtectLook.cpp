#include "librarian/MemoryProtectLook.h"

#include <algorithm>

namespace librarian {

ProtectItemLook MemoryProtectLook(std::string_view caption,
                                  std::span<const std::optional<bool>> modules) {
    const bool known = std::all_of(modules.begin(), modules.end(),
                                   [](const std::optional<bool>& on) { return on.has_value(); });
    if (!known || modules.empty()) return {std::string(caption) + kProtectUnknownNote, false, false};
    const bool allOn = std::all_of(modules.begin(), modules.end(),
                                   [](const std::optional<bool>& on) { return *on; });
    return {std::string(caption), true, allOn};
}

}  // namespace librarian
