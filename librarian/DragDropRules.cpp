#include "librarian/DragDropRules.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/MessageBoxes.h"

namespace librarian {

namespace {

constexpr int kBankLines = int(core::kSlotsPerPage);

bool IsLine(int line, int lines) { return line >= 0 && line < lines; }

// The slot a bank or library source stands for, nullptr when there is none.
core::VoiceSlot* SourceSlot(const DropScene& scene, const DragPlace& source) {
    switch (source.kind) {
    case DragKind::BankList:
        if (source.list < 0 || source.list >= int(scene.banks.size())) return nullptr;
        if (!IsLine(source.line, kBankLines)) return nullptr;
        return &scene.banks[source.list]->Page()[source.line];
    case DragKind::LibraryList: {
        if (!IsLine(source.line, kBankLines / 2)) return nullptr;
        if (source.page < 0 || source.page >= core::Libson::PageCount()) return nullptr;
        return &scene.library.Page(source.page)[LibraryLineSlot(source.list, source.line, 0).slot];
    }
    default:
        return nullptr;
    }
}

core::PackedFunction& FunctionOf(const DropScene& scene, const DragPlace& bankPlace) {
    return scene.banks[bankPlace.list]->Functions()[bankPlace.line];
}

DropWarning Warn(DropWarning warning) {
    platform::ShowWarning(kDragDropWarningTitle, DropWarningText(warning));
    return warning;
}

void DropOnTrash(const DropScene& scene, const DragPlace& source, core::VoiceSlot* slot,
                 DropResult& result) {
    if (source.kind == DragKind::Buffer) {
        scene.buffer.ResetImages();
        result.bufferReset = true;
        return;
    }
    core::InitSlot(*slot);
    if (source.kind == DragKind::BankList) {
        if (scene.functionsMode) core::InitFunction(FunctionOf(scene, source));
        result.banksChanged[source.list] = true;
    } else {
        result.libraryChanged = true;
    }
}

void DropOnBank(const DropScene& scene, const DragPlace& source, core::VoiceSlot* slot,
                const DragPlace& target, DropResult& result) {
    core::Bankson& bank = *scene.banks[target.list];
    result.banksChanged[target.list] = true;  // redrawn in every case

    if (scene.mode == CopyMode::AddTo) {
        core::VoiceSlot fresh;
        if (source.kind == DragKind::Buffer)
            scene.buffer.StoreVoice(fresh);
        else
            fresh = *slot;
        if (!core::Nomsyn::CopyToFirstFree(fresh, bank.Page())) result.warning = Warn(DropWarning::BankFull);
        return;
    }

    if (!IsLine(target.line, kBankLines)) return;  // below the last line: only a redraw
    core::VoiceSlot& destination = bank.Page()[target.line];
    const bool bankSource = source.kind == DragKind::BankList;
    if (bankSource && slot == &destination) return;  // onto itself: nothing moves

    if (source.kind == DragKind::Buffer) {
        scene.buffer.StoreVoice(bank.Page(), target.line, scene.functionsMode, &bank.Functions());
    } else if (bankSource && scene.mode == CopyMode::Swap) {
        core::Nomsyn::SwapSlots(*slot, destination);
        if (scene.functionsMode) std::swap(FunctionOf(scene, source), bank.Functions()[target.line]);
        result.banksChanged[source.list] = true;
    } else {  // Copy, or Swap from the library (the library keeps its voice)
        destination = *slot;
        if (bankSource && scene.functionsMode)
            bank.Functions()[target.line] = FunctionOf(scene, source);
    }
}

void DropOnLibrary(const DropScene& scene, const DragPlace& source, core::VoiceSlot* slot,
                   const DragPlace& target, DropResult& result) {
    core::VoiceSlot fresh;
    if (source.kind == DragKind::Buffer)
        scene.buffer.StoreVoice(fresh);
    else
        fresh = *slot;
    bool copied = false;
    if (scene.pageMode) {
        copied = target.page >= 0 && target.page < core::Libson::PageCount() &&
                 core::Nomsyn::CopyToFirstFree(fresh, scene.library.Page(target.page));
        if (!copied) result.warning = Warn(DropWarning::PageFull);
    } else {
        copied = scene.library.CopyToFirstFree(fresh);
        if (!copied) result.warning = Warn(DropWarning::LibraryFull);
    }
    result.libraryChanged = copied;
}

}  // namespace

bool AcceptsDrop(DragKind source, DragKind target) {
    const bool voiceSource = source == DragKind::BankList || source == DragKind::LibraryList ||
                             source == DragKind::Buffer;
    if (!voiceSource) return false;
    switch (target) {
    case DragKind::BankList:
    case DragKind::Trash:
        return true;
    case DragKind::LibraryList:
        return source != DragKind::LibraryList;
    default:
        return false;
    }
}

std::string_view DropWarningText(DropWarning warning) {
    switch (warning) {
    case DropWarning::BankFull: return "Destination Bank is Full";
    case DropWarning::PageFull: return "Destination Page is Full";
    case DropWarning::LibraryFull: return "Library is Full !";
    case DropWarning::None: break;
    }
    return {};
}

DropResult DropVoice(const DropScene& scene, const DragPlace& source, const DragPlace& target) {
    DropResult result;
    if (!AcceptsDrop(source.kind, target.kind)) return result;
    core::VoiceSlot* slot = SourceSlot(scene, source);
    // Only a voice moves: an empty line dragged onto a voice would wipe it out.
    if (source.kind != DragKind::Buffer && (!slot || !slot->IsUsed())) return result;
    if (target.kind == DragKind::BankList &&
        (target.list < 0 || target.list >= int(scene.banks.size())))
        return result;

    result.accepted = true;
    switch (target.kind) {
    case DragKind::Trash: DropOnTrash(scene, source, slot, result); break;
    case DragKind::BankList: DropOnBank(scene, source, slot, target, result); break;
    case DragKind::LibraryList: DropOnLibrary(scene, source, slot, target, result); break;
    default: break;
    }
    return result;
}

bool IsBankFileName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return extension == ".DX7" || extension == ".SYX";
}

std::vector<std::filesystem::path> BankFilesAmong(std::span<const std::filesystem::path> paths) {
    std::vector<std::filesystem::path> files;
    for (const auto& path : paths)
        if (IsBankFileName(path)) files.push_back(path);
    return files;
}

std::vector<int> LoadDroppedBanks(std::span<core::Bankson* const> banks, int first,
                                  std::span<const std::filesystem::path> files,
                                  bool functionsMode) {
    std::vector<int> loaded;
    int bank = std::max(first, 0);
    for (const auto& file : files) {
        if (bank >= int(banks.size())) break;
        // A bad file leaves its bank as it was, and the next file goes to the next bank.
        if (banks[bank]->LoadBankFile(file, functionsMode)) loaded.push_back(bank);
        ++bank;
    }
    return loaded;
}

int ImportDroppedBanks(core::Libson& library, int page,
                       std::span<const std::filesystem::path> files) {
    int copied = 0;
    page = std::max(page, 0);
    core::Bankson scratch;
    for (const auto& file : files) {
        if (!scratch.LoadBankFile(file, false)) continue;
        for (const core::VoiceSlot& slot : scratch.Page()) {
            if (!slot.IsUsed()) continue;
            // Pages before `page` are never written; a full page is never looked at again.
            while (page < core::Libson::PageCount() &&
                   !core::Nomsyn::CopyToFirstFree(slot, library.Page(page)))
                ++page;
            if (page >= core::Libson::PageCount()) {
                Warn(DropWarning::LibraryFull);
                return copied;
            }
            ++copied;
        }
    }
    return copied;
}

}  // namespace librarian
