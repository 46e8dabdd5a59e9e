#include "core/Nomsyn.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace core {
namespace {

constexpr std::array<std::ptrdiff_t, 5> kPageGaps = {16, 8, 4, 2, 1};

// Letters compare without regard to case: ASCII and the Latin-1 letters the names may hold.
Byte FoldCase(Byte c) {
    if (c >= 'A' && c <= 'Z') return Byte(c + ('a' - 'A'));
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return Byte(c + 0x20);
    return c;
}

bool ValidSlot(int slot) { return slot >= 0 && slot < int(kSlotsPerPage); }

template <class Rule>
void SortPage(VoicePage& page, FunctionBank* functions, Rule outOfOrder) {
    Nomsyn::ShellSort(std::ptrdiff_t(kSlotsPerPage), kPageGaps,
                      [&](std::ptrdiff_t a, std::ptrdiff_t c) {
                          if (!outOfOrder(page[a], page[c])) return false;
                          Nomsyn::SwapSlots(page[a], page[c]);
                          if (functions) std::swap((*functions)[a], (*functions)[c]);
                          return true;
                      });
}

}  // namespace

void Nomsyn::InitPage(VoicePage& page) {
    for (VoiceSlot& slot : page) InitSlot(slot);
}

void Nomsyn::ClearSelected(VoicePage& page, FunctionBank* functions) {
    for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
        if (!page[s].IsSelected()) continue;
        InitSlot(page[s]);
        if (functions) InitFunction((*functions)[s]);
    }
}

bool Nomsyn::IsSelected(const VoicePage& page, int slot) {
    return ValidSlot(slot) && page[slot].IsSelected();
}

void Nomsyn::ClearSelection(VoicePage& page) {
    for (VoiceSlot& slot : page)
        if (slot.IsUsed()) slot.status &= Byte(~kStatusSelected);
}

void Nomsyn::InvertSelection(VoicePage& page) {
    for (VoiceSlot& slot : page)
        if (slot.IsUsed()) slot.status ^= kStatusSelected;
}

void Nomsyn::SelectByMarker(VoicePage& page, int marker) {
    for (VoiceSlot& slot : page)
        if (slot.IsUsed() && slot.Marker() == marker) slot.status |= kStatusSelected;
}

void Nomsyn::SetMarker(VoicePage& page, int marker) {
    // The status byte has six bits for the marker.
    const Byte status = Byte(((marker & 0x3F) << kMarkerShift) | kStatusUsed);
    for (VoiceSlot& slot : page)
        if (slot.IsSelected()) slot.status = status;
}

int Nomsyn::FirstFree(const VoicePage& page, Byte mask) {
    for (std::size_t s = 0; s < kSlotsPerPage; ++s)
        if (!(page[s].status & mask)) return int(s);
    return kNoSlot;
}

int Nomsyn::FirstWith(const VoicePage& page, Byte mask) {
    for (std::size_t s = 0; s < kSlotsPerPage; ++s)
        if (page[s].status & mask) return int(s);
    return kNoSlot;
}

bool Nomsyn::CopyToFirstFree(const VoiceSlot& slot, VoicePage& page) {
    const int free = FirstFree(page, kStatusUsed);
    if (free == kNoSlot) return false;
    page[free] = slot;
    return true;
}

void Nomsyn::FillSources::AddSelected(VoicePage& page) {
    for (VoiceSlot& slot : page) {
        if (Full()) return;
        if (slot.IsSelected()) slots_[count_++] = &slot;
    }
}

int Nomsyn::FillSources::FillFree(VoicePage& destination) const {
    std::size_t count = 0;
    for (VoiceSlot& slot : destination) {
        if (count == count_) break;
        if (slot.status != 0) continue;  // a selected source is never a free destination
        VoiceSlot& from = *slots_[count++];
        slot = from;
        from.status &= Byte(~kStatusSelected);
    }
    return int(count);
}

int Nomsyn::FillFreeFromSelected(VoicePage& destination, VoicePage& source) {
    FillSources sources;
    sources.AddSelected(source);
    return sources.FillFree(destination);
}

bool Nomsyn::NamesOutOfOrder(const VoiceSlot& a, const VoiceSlot& c) {
    if (!c.IsUsed()) return false;
    if (!a.IsUsed()) return true;
    return std::memcmp(a.voice.data() + kPackedNameOffset, c.voice.data() + kPackedNameOffset,
                       kNameSize) > 0;
}

bool Nomsyn::MarkersOutOfOrder(const VoiceSlot& a, const VoiceSlot& c) {
    if (!c.IsUsed()) return false;
    if (!a.IsUsed()) return true;
    return c.Marker() < a.Marker();
}

void Nomsyn::SwapSlots(VoiceSlot& a, VoiceSlot& b) { std::swap(a, b); }

void Nomsyn::SortByName(VoicePage& page, FunctionBank* functions) {
    SortPage(page, functions, NamesOutOfOrder);
}

void Nomsyn::SortByMarker(VoicePage& page, FunctionBank* functions) {
    SortPage(page, functions, MarkersOutOfOrder);
}

bool Nomsyn::AreDoubles(const VoiceSlot& a, const VoiceSlot& b) {
    return a.IsUsed() && b.IsUsed() &&
           std::memcmp(a.voice.data(), b.voice.data(), kVoiceParameterBytes) == 0;
}

void Nomsyn::MarkDoublePair(VoiceSlot& earlier, VoiceSlot& later, DoublesOptions options,
                            PackedFunction* earlierFunction, PackedFunction* laterFunction) {
    if (options.erase) {
        if (options.first && earlierFunction) InitFunction(*earlierFunction);
        if (options.second && laterFunction) InitFunction(*laterFunction);
    }
    if (later.IsSelected()) return;
    if (options.erase) {
        if (options.first) InitSlot(earlier);
        if (options.second) InitSlot(later);
    } else {
        if (options.first) earlier.status |= kStatusSelected;
        if (options.second) later.status |= kStatusSelected;
    }
}

void Nomsyn::FindDoubles(VoicePage& page, FunctionBank* functions, DoublesOptions options) {
    ClearSelection(page);
    for (std::size_t i = 0; i + 1 < kSlotsPerPage; ++i) {
        for (std::size_t j = i + 1; j < kSlotsPerPage; ++j) {
            // An emptied slot takes no further part (AreDoubles wants both used): its empty
            // bytes must not match, and empty, a used voice whose parameters are all zero.
            if (!page[i].IsUsed()) break;
            if (!AreDoubles(page[i], page[j])) continue;
            MarkDoublePair(page[i], page[j], options, functions ? &(*functions)[i] : nullptr,
                           functions ? &(*functions)[j] : nullptr);
        }
    }
}

bool Nomsyn::NameMatches(const VoiceSlot& slot, std::string_view text, int position) {
    // The text is a C string in the program: it ends at a zero byte.
    text = text.substr(0, text.find('\0'));
    const std::size_t n = text.size();
    if (n > kNameSize || position < 0 || position > kMaxSearchPosition) return false;
    const Byte* name = slot.voice.data() + kPackedNameOffset;
    auto equalAt = [&](std::size_t start) {
        if (start + n > kNameSize) return false;  // would run past the end of the name
        for (std::size_t k = 0; k < n; ++k)
            if (FoldCase(name[start + k]) != FoldCase(Byte(text[k]))) return false;
        return true;
    };
    if (position > 0) return equalAt(std::size_t(position - 1));
    for (std::size_t start = 0; start + n <= kNameSize; ++start)
        if (equalAt(start)) return true;
    return false;
}

int Nomsyn::SearchByName(VoicePage& page, std::string_view text, int position) {
    int count = 0;
    for (VoiceSlot& slot : page) {
        if (!slot.IsUsed() || !NameMatches(slot, text, position)) continue;
        slot.status |= kStatusSelected;
        ++count;
    }
    return count;
}

}  // namespace core
