// Library files of any size: every whole page the file holds is read byte for byte, the page
// after them keeps its contents, the marker names are the 320 bytes right after the last whole
// page; a file without a whole page is refused after an error box, and a file of another size
// than a library's is loaded only when the question is answered Yes. Refused or declined, the
// library is as it was.

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/BoxTexts.h"
#include "core/Libson.h"
#include "fuzz/FuzzSupport.h"
#include "platform/MessageBoxes.h"

namespace {

using core::Byte;
using core::kPageSize;

void FillPage(core::VoicePage& page, int number) {
    std::memset(page.data(), 0xA0 ^ (number & 0x1F), kPageSize);
}

bool PageHolds(const core::VoicePage& page, const Byte* bytes) {
    return std::memcmp(page.data(), bytes, kPageSize) == 0;
}

bool PageIsFilled(const core::VoicePage& page, int number) {
    core::VoicePage filled;
    FillPage(filled, number);
    return std::memcmp(page.data(), filled.data(), kPageSize) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    static platform::RecordingBoxes boxes;
    static core::Libson library;  // 4 MB: made once, only the pages a file can reach are reset

    const std::size_t wholePages = size > core::kMarkerNamesSize ? (size - core::kMarkerNamesSize) / kPageSize : 0;
    const std::size_t pagesRead = std::min<std::size_t>(wholePages, core::kLibraryPageCount);
    const int lastReset = int(std::min<std::size_t>(pagesRead, core::kLibraryPageCount - 1));
    for (int p = 0; p <= lastReset; ++p) FillPage(library.Page(p), p);
    for (int m = 0; m < core::kMarkerCount; ++m) library.SetMarkerName(m, "marker");

    const std::filesystem::path path = scratch.Write("INPUT.DXL", std::span(data, size));
    const bool librarySize = wholePages >= 1 && wholePages <= std::size_t(core::kLibraryPageCount) &&
                             (size - core::kMarkerNamesSize) % kPageSize == 0;
    // The answer to the question, from the input's last byte: both answers are explored.
    const bool yes = size > 0 && (data[size - 1] & 1);
    boxes.Clear();
    boxes.SetAnswer(yes ? platform::BoxAnswer::Yes : platform::BoxAnswer::No);
    const std::string nameBefore = library.Name();
    const bool loaded = library.LoadLibraryFile(path);
    const bool asked = wholePages >= 1 && !librarySize;
    FUZZ_CHECK(loaded == (wholePages >= 1 && (librarySize || yes)));
    const platform::RecordingBoxes::Box question{
        platform::BoxKind::Question, "Library File Read Warning",
        "File is not the Size of a Library - Load Anyway ?", true};
    if (!loaded) {
        const platform::RecordingBoxes::Box error{platform::BoxKind::Error,
                                                 std::string(core::kFileErrorTitle),
                                                 std::string(core::kFileFormatErrorText), false};
        FUZZ_CHECK(boxes.Shown().size() == 1 && boxes.Shown()[0] == (asked ? question : error));
        FUZZ_CHECK(PageIsFilled(library.Page(0), 0));
        FUZZ_CHECK(library.Name() == nameBefore);
        for (int m = 0; m < core::kMarkerCount; ++m) FUZZ_CHECK(library.MarkerNameText(m) == "marker");
        return 0;
    }

    const platform::RecordingBoxes::Box tooBig{platform::BoxKind::Warning, "Library File Read Warning",
                                               "File is bigger than Library...", false};
    std::vector<platform::RecordingBoxes::Box> expected;
    if (asked) expected.push_back(question);
    if (wholePages > std::size_t(core::kLibraryPageCount)) expected.push_back(tooBig);
    FUZZ_CHECK(boxes.Shown() == expected);
    FUZZ_CHECK(library.Name() == "INPUT");
    for (std::size_t p = 0; p < pagesRead; ++p) FUZZ_CHECK(PageHolds(library.Page(int(p)), data + p * kPageSize));
    if (pagesRead < std::size_t(core::kLibraryPageCount))
        FUZZ_CHECK(PageIsFilled(library.Page(int(pagesRead)), int(pagesRead)));
    const Byte* names = data + wholePages * kPageSize;
    auto fields = library.MarkerNames();
    for (int m = 0; m < core::kMarkerCount; ++m) {
        FUZZ_CHECK(std::memcmp(fields[m]->data(), names + m * core::kNameSize, core::kNameSize) == 0);
        // The text stops at the first zero byte, or takes all ten.
        const char* field = reinterpret_cast<const char*>(names + m * core::kNameSize);
        FUZZ_CHECK(library.MarkerNameText(m) == std::string(field, strnlen(field, core::kNameSize)));
    }
    return 0;
}
