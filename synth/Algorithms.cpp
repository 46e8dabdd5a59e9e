#include "synth/Algorithms.h"

#include <initializer_list>
#include <utility>

namespace synth {
namespace {

// One algorithm as the panel's chart draws it: the links "modulator -> modulated" in OP
// numbers 1-6, the carriers, and the feedback loop.
struct Chart {
    std::initializer_list<std::pair<int, int>> links;
    std::initializer_list<int> carriers;
    int feedbackFrom;
    int feedbackTo;
};

Algorithm Build(const Chart& chart) {
    Algorithm a;
    for (const auto& [from, to] : chart.links) a.modulators[to - 1] |= std::uint8_t(1u << (from - 1));
    for (const int c : chart.carriers) a.carriers |= std::uint8_t(1u << (c - 1));
    a.feedbackFrom = chart.feedbackFrom - 1;
    a.feedbackTo = chart.feedbackTo - 1;
    return a;
}

struct Table {
    std::array<Algorithm, 32> algorithms;
    Table() {
        const Chart charts[32] = {
            {{{2, 1}, {4, 3}, {5, 4}, {6, 5}}, {1, 3}, 6, 6},                  // 1
            {{{2, 1}, {4, 3}, {5, 4}, {6, 5}}, {1, 3}, 2, 2},                  // 2
            {{{2, 1}, {3, 2}, {5, 4}, {6, 5}}, {1, 4}, 6, 6},                  // 3
            {{{2, 1}, {3, 2}, {5, 4}, {6, 5}}, {1, 4}, 4, 6},                  // 4
            {{{2, 1}, {4, 3}, {6, 5}}, {1, 3, 5}, 6, 6},                       // 5
            {{{2, 1}, {4, 3}, {6, 5}}, {1, 3, 5}, 5, 6},                       // 6
            {{{2, 1}, {4, 3}, {5, 3}, {6, 5}}, {1, 3}, 6, 6},                  // 7
            {{{2, 1}, {4, 3}, {5, 3}, {6, 5}}, {1, 3}, 4, 4},                  // 8
            {{{2, 1}, {4, 3}, {5, 3}, {6, 5}}, {1, 3}, 2, 2},                  // 9
            {{{2, 1}, {3, 2}, {5, 4}, {6, 4}}, {1, 4}, 3, 3},                  // 10
            {{{2, 1}, {3, 2}, {5, 4}, {6, 4}}, {1, 4}, 6, 6},                  // 11
            {{{2, 1}, {4, 3}, {5, 3}, {6, 3}}, {1, 3}, 2, 2},                  // 12
            {{{2, 1}, {4, 3}, {5, 3}, {6, 3}}, {1, 3}, 6, 6},                  // 13
            {{{2, 1}, {4, 3}, {5, 4}, {6, 4}}, {1, 3}, 6, 6},                  // 14
            {{{2, 1}, {4, 3}, {5, 4}, {6, 4}}, {1, 3}, 2, 2},                  // 15
            {{{2, 1}, {3, 1}, {4, 3}, {5, 1}, {6, 5}}, {1}, 6, 6},             // 16
            {{{2, 1}, {3, 1}, {4, 3}, {5, 1}, {6, 5}}, {1}, 2, 2},             // 17
            {{{2, 1}, {3, 1}, {4, 1}, {5, 4}, {6, 5}}, {1}, 3, 3},             // 18
            {{{2, 1}, {3, 2}, {6, 4}, {6, 5}}, {1, 4, 5}, 6, 6},               // 19
            {{{3, 1}, {3, 2}, {5, 4}, {6, 4}}, {1, 2, 4}, 3, 3},               // 20
            {{{3, 1}, {3, 2}, {6, 4}, {6, 5}}, {1, 2, 4, 5}, 3, 3},            // 21
            {{{2, 1}, {6, 3}, {6, 4}, {6, 5}}, {1, 3, 4, 5}, 6, 6},            // 22
            {{{3, 2}, {6, 4}, {6, 5}}, {1, 2, 4, 5}, 6, 6},                    // 23
            {{{6, 3}, {6, 4}, {6, 5}}, {1, 2, 3, 4, 5}, 6, 6},                 // 24
            {{{6, 4}, {6, 5}}, {1, 2, 3, 4, 5}, 6, 6},                         // 25
            {{{3, 2}, {5, 4}, {6, 4}}, {1, 2, 4}, 6, 6},                       // 26
            {{{3, 2}, {5, 4}, {6, 4}}, {1, 2, 4}, 3, 3},                       // 27
            {{{2, 1}, {4, 3}, {5, 4}}, {1, 3, 6}, 5, 5},                       // 28
            {{{4, 3}, {6, 5}}, {1, 2, 3, 5}, 6, 6},                            // 29
            {{{4, 3}, {5, 4}}, {1, 2, 3, 6}, 5, 5},                            // 30
            {{{6, 5}}, {1, 2, 3, 4, 5}, 6, 6},                                 // 31
            {{}, {1, 2, 3, 4, 5, 6}, 6, 6},                                    // 32
        };
        for (int i = 0; i < 32; ++i) algorithms[i] = Build(charts[i]);
    }
};

// Built at load, so the audio thread never meets a first-use guard.
const Table kTable;

}  // namespace

const Algorithm& AlgorithmOf(int algorithm) { return kTable.algorithms[algorithm & 31]; }

}  // namespace synth
