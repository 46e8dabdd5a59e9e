#include "SnapshotRegistry.h"

namespace snapshot {

std::vector<Entry>& Registry() {
    static std::vector<Entry> entries;
    return entries;
}

}  // namespace snapshot
