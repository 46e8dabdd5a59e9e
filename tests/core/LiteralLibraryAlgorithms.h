#pragma once
// The library-wide doubles search and sorts written the plain, slow way: every used slot
// compared with every later one, and Shell sorts by compare-and-swap over all positions.
// The fast library operations must give the same results; the benchmarks time the search.

#include <array>
#include <cstddef>
#include <cstring>
#include <span>
#include <utility>

#include "core/Nomsyn.h"
#include "core/VoiceFormats.h"

namespace core::literal {

inline bool IsUsed(const VoiceSlot& slot) { return slot.status & 1; }

// Both used and bytes 0-117 equal.
inline bool SameVoice(const VoiceSlot& a, const VoiceSlot& b) {
    return IsUsed(a) && IsUsed(b) && std::memcmp(a.voice.data(), b.voice.data(), 118) == 0;
}

inline void MarkPair(VoiceSlot& earlier, VoiceSlot& later, DoublesOptions options) {
    if (later.status & 2) return;
    if (options.erase) {
        if (options.first) InitSlot(earlier);
        if (options.second) InitSlot(later);
    } else {
        if (options.first) earlier.status |= 2;
        if (options.second) later.status |= 2;
    }
}

// Clears the selection, then: for each page i, for each used slot s of page i, compare s
// with every slot of pages i + 1 ... last, then with the later slots of page i. A slot that
// was emptied takes no further part.
inline void FindDoubles(std::span<VoicePage* const> pages, DoublesOptions options) {
    for (VoicePage* page : pages)
        for (VoiceSlot& slot : *page)
            if (IsUsed(slot)) slot.status &= ~2;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        for (std::size_t s = 0; s < 32; ++s) {
            VoiceSlot& a = (*pages[i])[s];
            if (!IsUsed(a)) continue;
            for (std::size_t k = i + 1; k < pages.size(); ++k)
                for (std::size_t t = 0; t < 32; ++t)
                    if (SameVoice(a, (*pages[k])[t])) MarkPair(a, (*pages[k])[t], options);
            for (std::size_t t = s + 1; t < 32; ++t)
                if (SameVoice(a, (*pages[i])[t])) MarkPair(a, (*pages[i])[t], options);
        }
    }
}

// Shell sort over all positions with the gaps 16000, 8000, ... 1 (each the previous halved).
template <class OutOfOrder>
void ShellSort(std::span<VoicePage* const> pages, OutOfOrder outOfOrder) {
    const std::size_t count = pages.size() * 32;
    auto at = [&](std::size_t g) -> VoiceSlot& { return (*pages[g / 32])[g % 32]; };
    for (std::size_t gap = 16000; gap > 0; gap /= 2) {
        for (std::size_t i = gap; i < count; ++i) {
            for (std::ptrdiff_t j = std::ptrdiff_t(i - gap); j >= 0; j -= std::ptrdiff_t(gap)) {
                VoiceSlot& a = at(std::size_t(j));
                VoiceSlot& c = at(std::size_t(j) + gap);
                if (!outOfOrder(a, c)) break;
                std::swap(a, c);
            }
        }
    }
}

inline bool NamesOutOfOrder(const VoiceSlot& a, const VoiceSlot& c) {
    if (!IsUsed(a)) return IsUsed(c);
    return IsUsed(c) && std::memcmp(a.voice.data() + 118, c.voice.data() + 118, 10) > 0;
}

inline bool MarkersOutOfOrder(const VoiceSlot& a, const VoiceSlot& c) {
    if (!IsUsed(a)) return IsUsed(c);
    return IsUsed(c) && (c.status >> 2) < (a.status >> 2);
}

}  // namespace core::literal
