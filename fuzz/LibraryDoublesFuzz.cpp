// The library-wide doubles search against the plain pairwise search on small fuzzed
// libraries: voices drawn from a pool (so identical and one-byte-apart voices are common),
// any status bytes, every option combination, and hashes that collide on purpose. Both must
// leave exactly the same bytes; the finders are reused from run to run as the library does.
//
// Input: options, page count, pool size, the pool's parameter bytes (118 per voice), then two
// bytes per slot (status, voice choice); slots past the input's end stay empty.

#include <array>
#include <cstring>

#include "core/LibraryDoubles.h"
#include "fuzz/FuzzSupport.h"
#include "tests/core/LibraryTestData.h"
#include "tests/core/LiteralLibraryAlgorithms.h"

namespace {

using core::Byte;
using core::LibraryDoublesFinder;

constexpr std::size_t kMostPages = 8;

std::uint32_t SameHashForAll(const Byte*) { return 7; }
std::uint32_t FirstByteHash(const Byte* parameters) { return parameters[0] & 3; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static LibraryDoublesFinder finders[] = {
        LibraryDoublesFinder(kMostPages), LibraryDoublesFinder(kMostPages, SameHashForAll),
        LibraryDoublesFinder(kMostPages, FirstByteHash), LibraryDoublesFinder(kMostPages)};

    fuzz::InputCursor input(std::span(data, size));
    const std::uint8_t choice = input.Byte();
    const core::DoublesOptions options{bool(choice & 1), bool(choice & 2), bool(choice & 4)};
    LibraryDoublesFinder& finder = finders[(choice >> 3) & 3];
    const std::size_t pageCount = 1 + input.Byte() % kMostPages;
    const std::size_t poolSize = 1 + input.Byte() % 8;

    std::array<core::PackedVoice, 8> pool{};
    for (std::size_t v = 0; v < poolSize; ++v) {
        const auto bytes = input.Take(core::kVoiceParameterBytes);
        std::memcpy(pool[v].data(), bytes.data(), bytes.size());
    }

    core::testdata::PageSet original(pageCount);
    for (core::VoicePage* page : original.pointers) {
        for (core::VoiceSlot& slot : *page) {
            if (input.Done()) {
                core::InitSlot(slot);
                continue;
            }
            const std::uint8_t status = input.Byte(), pick = input.Byte();
            slot.voice = pool[(pick & 7) % poolSize];
            // A near miss: one parameter byte off by one.
            if (pick & 0x80) slot.voice[(pick >> 3 & 0x0F) * 7] ^= 1;
            // Names never count: give equal voices different ones.
            std::memset(slot.voice.data() + core::kPackedNameOffset, 0x41 + (status & 0x0F), core::kNameSize);
            slot.status = status;
        }
    }

    core::testdata::PageSet fast(original), pairwise(original);
    int reports = 0;
    finder.Run(fast.pointers, options, [&](int done, int total) {
        FUZZ_CHECK(done == ++reports && total == int(pageCount));
    });
    FUZZ_CHECK(reports == int(pageCount));
    core::literal::FindDoubles(pairwise.pointers, options);
    FUZZ_CHECK(fast.SameBytes(pairwise));
    return 0;
}
