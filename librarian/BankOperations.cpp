#include "librarian/BankOperations.h"

#include <algorithm>

#include "core/BoxTexts.h"
#include "platform/WildcardSearch.h"

namespace librarian {

void CopyBankToLibrary(const core::Bankson& bank, core::Libson& library, core::Byte mask,
                       bool pageMode, int page) {
    if (pageMode) bank.CopyToPage(library.Page(page), mask);
    else library.CopyIntoLibrary(bank.Page(), mask);
}

void CopyAllBanksToLibrary(std::span<core::Bankson* const> banks, core::Libson& library,
                           bool pageMode, int page) {
    int leftOut = 0;
    for (std::size_t i = 0; i < banks.size(); ++i) {
        const int target = page + int(i);
        if (pageMode && target >= core::kLibraryPageCount) {
            ++leftOut;
            continue;
        }
        CopyBankToLibrary(*banks[i], library, core::kStatusUsed, pageMode, target);
    }
    if (leftOut > 0)
        platform::ShowWarning(core::kCopyWarningTitle,
                              std::to_string(leftOut) + std::string(kPagesPastTheEndText));
}

void CopyBankToBank(core::Bankson& source, core::Bankson& destination, CopyMode mode,
                    bool withFunctions) {
    if (&source == &destination) return;
    switch (mode) {
    case CopyMode::Swap:
        source.Exchange(destination.Slots(),
                        withFunctions ? core::kBankSlotBlockLength : core::kBankVoicesLength);
        break;
    case CopyMode::Copy:
        if (withFunctions) destination.Slots() = source.Slots();
        else destination.Page() = source.Page();
        break;
    case CopyMode::AddTo:
        source.CopyToPage(destination.Page(), core::kStatusUsed);
        break;
    }
}

int SearchBankByName(core::Bankson& bank, std::string_view text, int position, bool multiSelect) {
    if (!multiSelect) bank.ClearSelection();
    return core::Nomsyn::SearchByName(bank.Page(), text, position);
}

std::vector<std::filesystem::path> SaveAllPaths(const std::filesystem::path& given, int count) {
    const std::filesystem::path folder = given.parent_path();
    const std::string stem = given.stem().string();
    const std::string extension = given.extension().string();
    std::vector<std::filesystem::path> paths;
    for (int i = 1; i <= count; ++i) paths.push_back(folder / (stem + std::to_string(i) + extension));
    return paths;
}

std::vector<std::filesystem::path> LoadAllPaths(const std::filesystem::path& pattern, int count) {
    std::vector<std::filesystem::path> paths = platform::FindFiles(pattern);
    if (int(paths.size()) > count) paths.resize(std::size_t(std::max(count, 0)));
    return paths;
}

}  // namespace librarian
