// The library file: pages 0-999 (32 slots of 129 bytes each, status bytes included), then the
// 32 marker names of 10 bytes. No header, no checksum.

#include <algorithm>
#include <vector>

#include "core/BoxTexts.h"
#include "core/FileIo.h"
#include "core/Libson.h"
#include "platform/MessageBoxes.h"

namespace core {
namespace {

constexpr std::string_view kLibraryReadWarningTitle = "Library File Read Warning";
constexpr std::string_view kFileTooBigText = "File is bigger than Library...";
constexpr std::string_view kNotLibrarySizeText = "File is not the Size of a Library - Load Anyway ?";
constexpr std::string_view kLibraryExtension = ".DXL";

std::span<Byte> BytesOf(VoicePage& page) {
    return std::span<Byte>(reinterpret_cast<Byte*>(page.data()), kPageSize);
}

bool ReadFailed() {
    platform::ShowError(kFileErrorTitle, kReadFileErrorText);
    return false;
}

}  // namespace

bool Libson::LoadLibraryFile(const std::filesystem::path& path) {
    InputFile file(path);
    if (!file.IsOpen()) return ReadFailed();
    // Whole pages as far as the file goes; the marker names follow the last of them.
    const std::uintmax_t size = file.Size();
    const std::uintmax_t wholePages =
        size > kMarkerNamesSize ? (size - kMarkerNamesSize) / kPageSize : 0;
    // Without a whole page it is no library (a bank file, say): its first bytes would become the
    // marker names and its name the library's, and the next save would keep them.
    if (wholePages == 0) {
        platform::ShowError(kFileErrorTitle, kFileFormatErrorText);
        return false;
    }
    const bool librarySize = (size - kMarkerNamesSize) % kPageSize == 0 &&
                             wholePages <= std::uintmax_t(kLibraryPageCount);
    if (!librarySize && !platform::ConfirmYesNo(kLibraryReadWarningTitle, kNotLibrarySizeText))
        return false;
    std::uintmax_t pagesToRead = wholePages;
    if (wholePages > std::uintmax_t(kLibraryPageCount)) {
        platform::ShowWarning(kLibraryReadWarningTitle, kFileTooBigText);
        pagesToRead = kLibraryPageCount;
    }
    for (std::uintmax_t page = 0; page < pagesToRead; ++page)
        if (!file.Read(BytesOf(*pages_[page]))) return ReadFailed();

    std::array<Byte, kMarkerNamesSize> names;
    if (!file.Seek(wholePages * kPageSize) || !file.Read(names)) return ReadFailed();
    for (int m = 0; m < kMarkerCount; ++m)
        std::copy_n(names.begin() + m * kNameSize, kNameSize, markerNames_[m]->begin());

    // The file name without its last four characters (a three-letter extension and its dot).
    const std::string fileName = path.filename().string();
    name_ = fileName.substr(0, fileName.size() - std::min<std::size_t>(4, fileName.size()));
    return true;
}

bool Libson::SaveLibraryFile(const std::filesystem::path& path) {
    std::array<Byte, kMarkerNamesSize> names;
    for (int m = 0; m < kMarkerCount; ++m)
        std::copy_n(markerNames_[m]->begin(), kNameSize, names.begin() + m * kNameSize);
    std::vector<std::span<const Byte>> parts;
    parts.reserve(kLibraryPageCount + 1);
    for (const auto& page : pages_) parts.push_back(BytesOf(*page));
    parts.push_back(names);

    const SaveTarget target = ResolveSaveTarget(path, kLibraryExtension);
    if (!SaveWithBackup(target, parts)) {
        platform::ShowError(kFileErrorTitle, kWriteFileErrorText);
        return false;
    }
    name_ = target.baseName;
    return true;
}

}  // namespace core
