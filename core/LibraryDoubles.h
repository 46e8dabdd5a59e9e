#pragma once
// The library-wide doubles search in near-linear time. Used slots are grouped on their 118
// parameter bytes; within each group the pair rules are applied exactly as the pairwise
// search would apply them (each used slot against every later one: first the later pages,
// then the later slots of its own page), so the same slots end up selected or emptied.

#include "core/Nomsyn.h"
#include "core/VoiceFormats.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace core {

// Reported once per page before its slots are compared: (pages done, page count).
using PageProgress = std::function<void(int done, int total)>;

class LibraryDoublesFinder {
public:
    // Reserves the working memory for libraries of up to pageCount pages.
    explicit LibraryDoublesFinder(std::size_t pageCount);

    // Marks the doubles among the used slots of the pages. The caller clears the selection
    // of the pages first. First / second choose the earlier / later member of each identical
    // pair; erase empties instead of selecting. An emptied slot takes no further part.
    void Run(std::span<const std::unique_ptr<VoicePage>> pages, DoublesOptions options,
             const PageProgress& progress);

private:
    struct TableEntry {
        std::uint32_t hash;
        std::uint32_t group;  // group number + 1; 0 marks an empty entry
    };

    void GroupUsedSlots(std::span<const std::unique_ptr<VoicePage>> pages,
                        const PageProgress& progress);
    // Members of one group, ascending global positions.
    void ApplyToGroup(std::span<const std::uint32_t> members,
                      std::span<const std::unique_ptr<VoicePage>> pages, DoublesOptions options);
    void PairAndEmpty(std::span<const std::uint32_t> members,
                      std::span<const std::unique_ptr<VoicePage>> pages);

    std::vector<TableEntry> table_;
    std::vector<std::uint32_t> groupFirst_;   // position of each group's first member
    std::vector<std::uint32_t> usedPosition_;
    std::vector<std::uint32_t> usedGroup_;
    std::vector<std::uint32_t> groupStart_;   // counts, then offsets into members_
    std::vector<std::uint32_t> members_;      // used positions ordered by group, then position
    std::vector<std::uint32_t> nextAlive_;
    std::size_t usedCount_ = 0;
    std::size_t groupCount_ = 0;
};

}  // namespace core
