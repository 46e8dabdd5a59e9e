#include "core/LibraryDoubles.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace core {
namespace {

std::uint64_t Load64(const Byte* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// Bytes 0-117 equal; inlined word compares beat a library call for this fixed length.
bool SameParameters(const Byte* a, const Byte* b) {
    std::uint64_t difference = 0;
    for (std::size_t i = 0; i < 112; i += 8) difference |= Load64(a + i) ^ Load64(b + i);
    difference |= Load64(a + kVoiceParameterBytes - 8) ^ Load64(b + kVoiceParameterBytes - 8);
    return difference == 0;
}

}  // namespace

// Hash of the 118 parameter bytes: each word gets its own multiplier, so the multiplies
// run side by side instead of one after the other.
std::uint32_t LibraryDoublesFinder::HashParameters(const Byte* p) {
    constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = 0;
    std::uint64_t multiplier = kOdd;
    for (std::size_t i = 0; i < 112; i += 8) {
        h += Load64(p + i) * multiplier;
        multiplier += 0x632BE59BD9B4E01Aull;  // stays odd
    }
    h += Load64(p + kVoiceParameterBytes - 8) * multiplier;  // bytes 110-117
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return std::uint32_t(h ^ (h >> 32));
}

LibraryDoublesFinder::LibraryDoublesFinder(std::size_t pageCount, ParameterHash hash)
    : hash_(hash) {
    const std::size_t slots = pageCount * kSlotsPerPage;
    table_.resize(std::bit_ceil(std::max<std::size_t>(2 * slots, 2)));
    groupVoice_.resize(slots);
    usedPosition_.resize(slots);
    usedGroup_.resize(slots);
    groupStart_.resize(slots + 1);
    members_.resize(slots);
    nextAlive_.resize(slots + 1);
    action_.resize(slots);
}

void LibraryDoublesFinder::GroupUsedSlots(LibraryPages pages, const PageProgress& progress) {
    std::fill(table_.begin(), table_.end(), TableEntry{0, 0});
    const std::size_t mask = table_.size() - 1;
    usedCount_ = 0;
    groupCount_ = 0;
    const int pageCount = int(pages.size());
    for (int page = 0; page < pageCount; ++page) {
        if (progress) progress(page + 1, pageCount);
        for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
            VoiceSlot& slot = (*pages[page])[s];
            if (!slot.IsUsed()) continue;
            slot.status &= Byte(~kStatusSelected);
            const auto position = std::uint32_t(page * kSlotsPerPage + s);
            const std::uint32_t hash = hash_(slot.voice.data());
            std::size_t i = hash & mask;
            std::uint32_t group;
            for (;; i = (i + 1) & mask) {
                TableEntry& entry = table_[i];
                if (entry.group == 0) {
                    group = std::uint32_t(groupCount_++);
                    entry = {hash, group + 1};
                    std::memcpy(groupVoice_[group].data(), slot.voice.data(), kVoiceParameterBytes);
                    break;
                }
                if (entry.hash == hash &&
                    SameParameters(groupVoice_[entry.group - 1].data(), slot.voice.data())) {
                    group = entry.group - 1;
                    break;
                }
            }
            usedPosition_[usedCount_] = position;
            usedGroup_[usedCount_] = group;
            ++usedCount_;
        }
    }
    // Counting sort by group keeps each group's members in ascending position.
    std::fill(groupStart_.begin(), groupStart_.begin() + groupCount_ + 1, 0);
    for (std::size_t u = 0; u < usedCount_; ++u) ++groupStart_[usedGroup_[u] + 1];
    for (std::size_t g = 0; g < groupCount_; ++g) groupStart_[g + 1] += groupStart_[g];
    for (std::size_t u = 0; u < usedCount_; ++u)
        members_[groupStart_[usedGroup_[u]]++] = usedPosition_[u];
    // groupStart_[g] now holds the end of group g, which is the start of group g + 1.
    for (std::size_t g = groupCount_; g > 0; --g) groupStart_[g] = groupStart_[g - 1];
    groupStart_[0] = 0;
}

void LibraryDoublesFinder::Run(LibraryPages pages, DoublesOptions options,
                               const PageProgress& progress) {
    const std::size_t slots = pages.size() * kSlotsPerPage;
    if (slots > action_.size()) return;
    GroupUsedSlots(pages, progress);
    if (!options.first && !options.second) return;
    std::fill(action_.begin(), action_.begin() + slots, kKeep);
    for (std::size_t g = 0; g < groupCount_; ++g) {
        const std::uint32_t begin = groupStart_[g], end = groupStart_[g + 1];
        if (end - begin < 2) continue;
        DecideForGroup(std::span<const std::uint32_t>(members_.data() + begin, end - begin),
                       options);
    }
    for (std::size_t position = 0; position < slots; ++position) {
        if (action_[position] == kKeep) continue;
        VoiceSlot& slot = SlotAt(pages, std::uint32_t(position));
        if (action_[position] == kErase)
            InitSlot(slot);
        else
            slot.status |= kStatusSelected;
    }
}

void LibraryDoublesFinder::DecideForGroup(std::span<const std::uint32_t> members,
                                          DoublesOptions options) {
    if (options.erase && options.first && options.second) {
        PairForErasing(members);
        return;
    }
    // With one side chosen, or when selecting, the order of the comparisons does not matter:
    // first marks every member that has a later one, second every member after the first.
    const std::size_t begin = options.first ? 0 : 1;
    const std::size_t end = options.second ? members.size() : members.size() - 1;
    const Action action = options.erase ? kErase : kSelect;
    for (std::size_t m = begin; m < end; ++m) action_[members[m]] = action;
}

// Erasing with first and second: each slot, in library order, is emptied together with its
// first still-used double in comparison order (later pages first, then its own page).
void LibraryDoublesFinder::PairForErasing(std::span<const std::uint32_t> members) {
    const std::size_t count = members.size();
    std::uint32_t* next = nextAlive_.data();  // next[i] == i while member i is still used
    for (std::size_t i = 0; i <= count; ++i) next[i] = std::uint32_t(i);
    auto findAlive = [next](std::uint32_t i) {
        while (next[i] != i) {
            next[i] = next[next[i]];
            i = next[i];
        }
        return i;
    };
    for (std::uint32_t a = 0; a < count; ++a) {
        if (next[a] != a) continue;
        const std::uint32_t pageEnd = (members[a] | (kSlotsPerPage - 1)) + 1;
        std::uint32_t laterPages = a + 1;
        while (laterPages < count && members[laterPages] < pageEnd) ++laterPages;
        std::uint32_t partner = findAlive(laterPages);
        if (partner == count) {
            partner = findAlive(a + 1);
            if (partner >= laterPages) continue;
        }
        next[a] = a + 1;
        next[partner] = partner + 1;
        action_[members[a]] = kErase;
        action_[members[partner]] = kErase;
    }
}

}  // namespace core
