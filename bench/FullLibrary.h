#pragma once
// A full library for the benchmarks: 32 000 used voices made of about 2 000 distinct voices
// (the 768 voices of the real banks and variants of them), with markers and names as they
// come, shuffled. Built once.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "core/Bankson.h"
#include "core/Libson.h"
#include "tests/core/RealBankFiles.h"

namespace core::bench {

inline constexpr int kDistinctVoices = 2000;

inline const Libson& FullLibrary() {
    static const Libson* library = [] {
        std::vector<PackedVoice> real;
        for (const std::filesystem::path& path : test::RealBankFiles()) {
            Bankson bank;
            if (!bank.LoadBankFile(path, false)) continue;
            for (const VoiceSlot& slot : bank.Page()) real.push_back(slot.voice);
        }
        if (real.empty()) {
            std::fprintf(stderr, "no bank files in %s/banks\n", MONDRAL_SHARED_DIR);
            std::exit(1);
        }
        std::vector<PackedVoice> distinct;
        for (int d = 0; d < kDistinctVoices; ++d) {
            PackedVoice voice = real[d % real.size()];
            const int variant = d / int(real.size());
            if (variant > 0) voice[112] = Byte((voice[112] + 33 * variant) % 128);  // LFO speed
            distinct.push_back(voice);
        }
        std::vector<int> order(kLibrarySlotCount);
        for (int g = 0; g < kLibrarySlotCount; ++g) order[g] = g % kDistinctVoices;
        std::mt19937 random(816);
        std::shuffle(order.begin(), order.end(), random);
        auto* full = new Libson;
        for (int g = 0; g < kLibrarySlotCount; ++g) {
            VoiceSlot& slot = full->Page(g / 32)[g % 32];
            slot.voice = distinct[order[g]];
            slot.status = Byte(kStatusUsed | (random() % 32) << kMarkerShift);
        }
        return full;
    }();
    return *library;
}

}  // namespace core::bench
