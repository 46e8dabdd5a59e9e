#pragma once
// The real banks' dumps as the command-line tests use them, and their voices' parameters.

#include <vector>

#include "cli/SimilarVoices.h"
#include "tests/core/BankDumps.h"

namespace cli::test {

using core::test::Bytes;
using core::test::ImageOf;
using core::test::Joined;
using core::test::kDataStart;
using core::test::RealDump;
using core::test::SingleVoiceDump;
using core::test::VoiceOf;

// The parameters of the 768 voices of the real banks, bank by bank.
inline std::vector<ParameterVector> RealVoiceParameters() {
    std::vector<ParameterVector> voices;
    for (std::size_t f = 0; f < core::test::RealBankFiles().size(); ++f) {
        const core::BankImage image = ImageOf(RealDump(f));
        for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) voices.push_back(ParametersOf(VoiceOf(image, s)));
    }
    return voices;
}

}  // namespace cli::test
