#pragma once
// Random libraries for the library tests: voices drawn from a pool (so that some are
// identical), repeats within a page, voices whose parameters are all zero like an empty
// voice's, selections and markers (also above 31) on used slots and stray bits on free ones.
// Also the library's pages as plain page pointers, for the literal algorithms.

#include <cstring>
#include <memory>
#include <random>
#include <span>
#include <vector>

#include "core/Libson.h"
#include "core/VoiceFormats.h"

namespace core::testdata {

struct LibraryShape {
    double fill = 1.0;             // chance that a slot is used
    int distinctVoices = 50;       // size of the voice pool
    double samePageRepeat = 0.1;   // chance that a used slot repeats one of its own page
    double zeroParameters = 0.02;  // chance of a voice whose 118 parameter bytes are zero
};

inline void RandomName(std::mt19937& random, PackedVoice& voice) {
    for (std::size_t i = 0; i < kNameSize; ++i)
        voice[kPackedNameOffset + i] = Byte(std::uniform_int_distribution<int>(0x20, 0x7F)(random));
}

// Pool voices share most of their bytes so that comparisons run deep before they differ.
inline std::vector<PackedVoice> VoicePool(std::mt19937& random, int count) {
    PackedVoice base{};
    for (Byte& b : base) b = Byte(random() % 100);
    std::vector<PackedVoice> pool(std::size_t(count), base);
    for (int v = 0; v < count; ++v) {
        const std::size_t changed = random() % kVoiceParameterBytes;
        pool[v][changed] = Byte(100 + v % 28);
        pool[v][(changed + 37) % kVoiceParameterBytes] = Byte(v / 28);
        RandomName(random, pool[v]);
    }
    return pool;
}

inline void FillPages(std::mt19937& random, std::span<VoicePage* const> pages,
                      const LibraryShape& shape) {
    const std::vector<PackedVoice> pool = VoicePool(random, shape.distinctVoices);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (VoicePage* page : pages) {
        for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
            VoiceSlot& slot = (*page)[s];
            if (chance(random) >= shape.fill) {
                InitSlot(slot);
                // A free slot may still carry a selection bit or a marker.
                slot.status =
                    Byte(random() % 4 == 0 ? (random() % 64) << 2 | (random() % 2) << 1 : 0);
                continue;
            }
            if (s > 0 && chance(random) < shape.samePageRepeat) {
                slot = (*page)[random() % s];
            } else if (chance(random) < shape.zeroParameters) {
                slot.voice.fill(0);
                RandomName(random, slot.voice);
            } else {
                slot.voice = pool[random() % pool.size()];
            }
            if (random() % 3 == 0) RandomName(random, slot.voice);  // doubles ignore names
            slot.status = Byte((random() % 64) << 2 | (random() % 2) << 1 | 1);
        }
    }
}

// The library's pages in order, for FillPages and the literal algorithms.
inline std::vector<VoicePage*> PagesOf(Libson& library) {
    std::vector<VoicePage*> pages;
    for (int p = 0; p < library.PageCount(); ++p) pages.push_back(&library.Page(p));
    return pages;
}

inline void CopyPages(const Libson& from, Libson& to) {
    for (int p = 0; p < from.PageCount(); ++p) to.Page(p) = from.Page(p);
}

// Separately allocated pages, as the library holds them.
struct PageSet {
    std::vector<std::unique_ptr<VoicePage>> owned;
    std::vector<VoicePage*> pointers;

    explicit PageSet(std::size_t count) {
        for (std::size_t p = 0; p < count; ++p) {
            owned.push_back(std::make_unique<VoicePage>());
            pointers.push_back(owned.back().get());
        }
    }
    PageSet(const PageSet& other) : PageSet(other.owned.size()) {
        for (std::size_t p = 0; p < owned.size(); ++p) *owned[p] = *other.owned[p];
    }
    bool SameBytes(const PageSet& other) const {
        for (std::size_t p = 0; p < owned.size(); ++p)
            if (std::memcmp(owned[p].get(), other.owned[p].get(), kPageSize) != 0) return false;
        return true;
    }
};

}  // namespace core::testdata
