#pragma once
// The library-wide doubles search in near-linear time. Used slots are grouped on their 118
// parameter bytes; within each group the pair rules are applied exactly as the pairwise
// search would apply them (each used slot against every later one: first the later pages,
// then the later slots of its own page), so the same slots end up selected or emptied.

#include "core/Nomsyn.h"
#include "core/LibraryPages.h"
#include "core/VoiceFormats.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>
#include "core/WorkingMemory.h"

namespace core {

// Reported once per page before its slots are compared: (pages done, page count).
using PageProgress = std::function<void(int done, int total)>;

class LibraryDoublesFinder {
public:
    // Hash of a voice's 118 parameter bytes. Voices with equal hashes are still compared
    // byte for byte, so any hash gives the same result (tests use a poor one on purpose).
    using ParameterHash = std::uint32_t (*)(const Byte* parameters);
    static std::uint32_t HashParameters(const Byte* parameters);

    // Reserves the working memory for libraries of up to pageCount pages.
    explicit LibraryDoublesFinder(std::size_t pageCount, ParameterHash hash = HashParameters);

    // Clears the selection of the used slots, then marks the doubles among them. First /
    // second choose the earlier / later member of each identical pair; erase empties instead
    // of selecting. An emptied slot takes no further part.
    void Run(LibraryPages pages, DoublesOptions options, const PageProgress& progress);

private:
    struct TableEntry {
        std::uint32_t hash;
        std::uint32_t group;  // group number + 1; 0 marks an empty entry
    };

    void GroupUsedSlots(LibraryPages pages, const PageProgress& progress);
    // Members of one group, ascending global positions.
    void DecideForGroup(std::span<const std::uint32_t> members, DoublesOptions options);
    void PairForErasing(std::span<const std::uint32_t> members);

    enum Action : Byte { kKeep, kSelect, kErase };

    ParameterHash hash_;
    WorkingVector<TableEntry> table_;
    // Parameter bytes of each group, kept together: comparing against them stays in cache.
    WorkingVector<std::array<Byte, kVoiceParameterBytes>> groupVoice_;
    WorkingVector<std::uint32_t> usedPosition_;
    WorkingVector<std::uint32_t> usedGroup_;
    WorkingVector<std::uint32_t> groupStart_;  // counts, then offsets into members_
    WorkingVector<std::uint32_t> members_;     // used positions ordered by group, then position
    WorkingVector<std::uint32_t> nextAlive_;
    // What becomes of each slot, applied in one pass in library order at the end.
    WorkingVector<Action> action_;
    std::size_t usedCount_ = 0;
    std::size_t groupCount_ = 0;
};

}  // namespace core
