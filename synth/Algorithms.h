#pragma once
// The 32 algorithms: which operators modulate which, which are heard, and where the feedback
// loop runs. Operators are numbered 0-5 for the instrument's OP1-OP6.

#include <array>
#include <cstdint>

namespace synth {

struct Algorithm {
    // modulators[k]: bit j set when operator j modulates operator k. A modulator always has a
    // higher number than what it modulates, so operators are computed from 5 down to 0.
    std::array<std::uint8_t, 6> modulators{};
    std::uint8_t carriers = 0;  // bit k: operator k is heard
    // The feedback loop: the output of `feedbackFrom` modulates `feedbackTo` one sample later
    // (the same operator in most algorithms; two or three operators in 4 and 6).
    int feedbackFrom = 5;
    int feedbackTo = 5;
};

// Algorithm 0-31 (shown as 1-32).
const Algorithm& AlgorithmOf(int algorithm);

}  // namespace synth
