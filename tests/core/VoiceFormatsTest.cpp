#include "core/VoiceFormats.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(BankChecksum, MatchesTheDocumentedExamples) {
    const Byte data[] = {1, 2, 3};
    EXPECT_EQ(BankChecksum(data, 3), 0x7A);
    std::array<Byte, 4096> ones{};
    ones.fill(0x7F);
    EXPECT_EQ(BankChecksum(ones.data(), 4096), 0);
    EXPECT_EQ(BankChecksum(data, 0), 0);
}

}  // namespace
}  // namespace core
