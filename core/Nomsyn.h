#pragma once
// The page operations shared by banks, the library and the edit buffer: selection, markers,
// free-slot search, sorting, finding identical voices ("doubles") and the name search.
// Nomsyn holds no data; every operation works on the page it is given. Where a bank's
// function records travel with its voices, the caller passes the bank's FunctionBank
// (record n belongs to slot n); nullptr means "without functions".

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "core/VoiceFormats.h"

namespace core {

// The three independent switches of the doubles search.
struct DoublesOptions {
    bool first = false;   // mark the earlier voice of each identical pair
    bool second = false;  // mark the later voice
    bool erase = false;   // empty the marked voices instead of selecting them
};

// Highest position of the name search; 0 means "anywhere in the name".
inline constexpr int kMaxSearchPosition = static_cast<int>(kNameSize);

class Nomsyn {
public:
    // Result of the slot searches when no slot qualifies.
    static constexpr int kNoSlot = -1;

    // Every slot emptied.
    static void InitPage(VoicePage& page);
    // Every slot with the selected bit is emptied; with functions its function record too.
    static void ClearSelected(VoicePage& page, FunctionBank* functions);
    static bool IsSelected(const VoicePage& page, int slot);
    // Clears or toggles the selected bit of every used slot.
    static void ClearSelection(VoicePage& page);
    static void InvertSelection(VoicePage& page);
    // Selects every used slot whose marker is `marker`.
    static void SelectByMarker(VoicePage& page, int marker);
    // Every selected slot becomes used, unselected, with marker `marker`.
    static void SetMarker(VoicePage& page, int marker);

    // First slot whose status has no bit of `mask` set, or kNoSlot.
    static int FirstFree(const VoicePage& page, Byte mask);
    // First slot whose status has a bit of `mask` set, or kNoSlot.
    static int FirstWith(const VoicePage& page, Byte mask);
    // Copies the whole slot (voice and status) into the first unused slot; false when full.
    static bool CopyToFirstFree(const VoiceSlot& slot, VoicePage& page);
    // Fills each destination slot whose status is exactly 0 with the next selected source slot
    // (the source slot loses its selection); returns the number of slots filled.
    static int FillFreeFromSelected(VoicePage& destination, VoicePage& source);

    // Used slots first, by name in plain byte order (case-sensitive); free slots last.
    static void SortByName(VoicePage& page, FunctionBank* functions);
    // Used slots first, by ascending marker; free slots last.
    static void SortByMarker(VoicePage& page, FunctionBank* functions);

    // Clears the page's selection, then selects (or, with `erase`, empties) the voices that
    // equal an earlier or later voice of the page in every parameter but the name.
    static void FindDoubles(VoicePage& page, FunctionBank* functions, DoublesOptions options);

    // Selects every used slot whose name holds `text` (letters compared without regard to
    // case) at `position` 1-10, or anywhere with position 0. The selection is only added to.
    // Returns the number of matching slots. A text longer than a name matches nothing.
    static int SearchByName(VoicePage& page, std::string_view text, int position);

    // --- Building blocks, shared with the library-wide forms ---

    // The slots a fill takes its voices from, in order, chosen before anything is copied:
    // the copies arrive selected, and one that landed in a page being searched must not be
    // taken again for the next free slot.
    class FillSources {
    public:
        bool Full() const { return count_ == slots_.size(); }
        // Adds the page's selected slots (whatever their used bit) in slot order until full.
        void AddSelected(VoicePage& page);
        // Copies the sources in order into the destination slots whose status is exactly 0;
        // each source copied loses its selection. Returns the number of slots filled.
        int FillFree(VoicePage& destination) const;

    private:
        std::array<VoiceSlot*, kSlotsPerPage> slots_{};
        std::size_t count_ = 0;
    };

    // Both slots used and every voice parameter (bytes 0-117) equal.
    static bool AreDoubles(const VoiceSlot& a, const VoiceSlot& b);
    // Marks one identical pair as `options` say. The function records of the pair (nullptr
    // when there are none) are emptied with `erase` for each marked side, even when the
    // later voice was already selected and the voices themselves are left alone.
    static void MarkDoublePair(VoiceSlot& earlier, VoiceSlot& later, DoublesOptions options,
                               PackedFunction* earlierFunction, PackedFunction* laterFunction);
    // True when the name of `slot` holds `text` as SearchByName describes.
    static bool NameMatches(const VoiceSlot& slot, std::string_view text, int position);

    // The order rules of the two sorts: true when `a` (the lower position) must change
    // places with `c`.
    static bool NamesOutOfOrder(const VoiceSlot& a, const VoiceSlot& c);
    static bool MarkersOutOfOrder(const VoiceSlot& a, const VoiceSlot& c);

    // Shell sort by insertion steps over positions 0..count-1 with the given gaps.
    // `compareAndSwap(a, c)` (a < c) swaps the two positions when they are out of order and
    // returns whether it did.
    template <class CompareAndSwap>
    static void ShellSort(std::ptrdiff_t count, std::span<const std::ptrdiff_t> gaps,
                          CompareAndSwap&& compareAndSwap) {
        for (std::ptrdiff_t gap : gaps) {
            for (std::ptrdiff_t i = gap; i < count; ++i) {
                for (std::ptrdiff_t j = i - gap; j >= 0 && compareAndSwap(j, j + gap); j -= gap) {
                }
            }
        }
    }

    // Exchanges two whole slots (voice and status).
    static void SwapSlots(VoiceSlot& a, VoiceSlot& b);

protected:
    Nomsyn() = default;
    ~Nomsyn() = default;
    Nomsyn(const Nomsyn&) = default;
    Nomsyn& operator=(const Nomsyn&) = default;
};

}  // namespace core
