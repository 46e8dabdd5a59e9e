// Received system-exclusive messages of any length and content against the acceptance rule:
// a message is taken only with a right checksum and one of the four reply lengths, its data
// are exactly the bytes between the 6-byte header and the checksum, and the message built
// again from its header and those data is the message itself.

#include <algorithm>
#include <cstring>

#include "core/VoiceFormats.h"
#include "fuzz/FuzzSupport.h"
#include "midi/SysexMessages.h"

namespace {

using midi::ReplyError;
using midi::ReplyKind;

ReplyKind KindOfLength(std::size_t length, std::uint8_t format) {
    switch (length) {
        case 4104: return format == 0x09 ? ReplyKind::kVoiceBank : ReplyKind::kDataBlock;
        case 163: return ReplyKind::kSingleVoice;
        case 102: return ReplyKind::kSingleFunction;
        case 24: return ReplyKind::kSystemInfo;
        default: return ReplyKind::kNone;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> message(data, size);
    const midi::AcceptedReply reply = midi::AcceptReply(message);

    if (size < 8) {
        FUZZ_CHECK(reply.error == ReplyError::kWrongSize && reply.kind == ReplyKind::kNone);
        FUZZ_CHECK(reply.data.empty());
        return 0;
    }
    const auto between = message.subspan(6, size - 8);
    if (fuzz::Checksum(between) != message[size - 2]) {
        FUZZ_CHECK(reply.error == ReplyError::kChecksum && reply.kind == ReplyKind::kNone);
        FUZZ_CHECK(reply.data.empty());
        return 0;
    }
    const ReplyKind kind = KindOfLength(size, message[3]);
    if (kind == ReplyKind::kNone) {
        FUZZ_CHECK(reply.error == ReplyError::kWrongSize && reply.kind == ReplyKind::kNone);
        FUZZ_CHECK(reply.data.empty());
        return 0;
    }
    FUZZ_CHECK(reply.error == ReplyError::kNone && reply.kind == kind);
    // Not a copy: the very bytes of the message.
    FUZZ_CHECK(reply.data.data() == between.data() && reply.data.size() == between.size());

    midi::SysexHeader header;
    std::copy_n(data, header.size(), header.begin());
    std::vector<std::uint8_t> rebuilt = midi::BuildSysex(header, reply.data);
    FUZZ_CHECK(rebuilt.size() == size && rebuilt.back() == midi::kSysexEnd);
    rebuilt.back() = message.back();
    FUZZ_CHECK(std::equal(rebuilt.begin(), rebuilt.end(), message.begin()));

    if (kind == ReplyKind::kVoiceBank) {
        // A voice bank goes into a page and comes out as the same 4096 bytes.
        core::VoicePage page;
        core::BankImageToPage(reply.data.first<core::kBankImageSize>(), page);
        core::BankImage image;
        core::PageToBankImage(page, image);
        FUZZ_CHECK(std::memcmp(image.data(), reply.data.data(), image.size()) == 0);
    }
    return 0;
}
