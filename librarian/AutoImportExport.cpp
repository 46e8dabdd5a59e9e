#include "librarian/AutoImportExport.h"

#include <algorithm>

#include "core/Bankson.h"
#include "core/Libson.h"
#include "midi/DumpProgress.h"
#include "platform/MessageBoxes.h"

namespace librarian {

namespace {

bool HasUsedVoice(const core::VoicePage& page) {
    return std::any_of(page.begin(), page.end(), [](const core::VoiceSlot& s) { return s.IsUsed(); });
}

// Saves the staging bank as one export file; false when the save failed (its box was shown).
bool SaveOne(core::Bankson& staging, const ExtractorSettings& settings,
             const std::filesystem::path& path, int channel) {
    // A sysex file always holds the voices: the functions switch is off whenever it is on.
    const int failed = settings.asSysex ? staging.SaveSysexFile(path, false, channel)
                                        : staging.SaveBankFile(path, settings.withFunctions);
    return failed == 0;
}

// Moves up to a page of used and selected library voices, in library order, into the free
// slots of `page` and deselects them in the library. Returns the number moved.
int TakeSelectedVoices(core::Libson& library, core::VoicePage& page) {
    int moved = 0;
    for (int p = 0; p < core::Libson::PageCount(); ++p)
        for (core::VoiceSlot& slot : library.Page(p)) {
            if (!slot.IsUsed() || !slot.IsSelected()) continue;
            if (!core::Nomsyn::CopyToFirstFree(slot, page)) return moved;
            slot.status &= core::Byte(~core::kStatusSelected);
            ++moved;
        }
    return moved;
}

}  // namespace

ImportResult ImportBankFiles(core::Bankson& staging, core::Libson& library,
                             const std::vector<std::filesystem::path>& files, int firstPage,
                             const std::function<void(int)>& filled) {
    ImportResult result{.nextPage = firstPage};
    for (std::size_t n = 0; n < files.size(); ++n) {
        if (n > 0 && result.nextPage > kLastImportPage) break;
        // Emptied first, so a file that loads no voices can't pass on the previous file's.
        staging.ClearVoices();
        if (!staging.LoadBankFile(files[n], false)) continue;  // the page keeps what it holds
        if (!HasUsedVoice(staging.Page())) continue;
        staging.CopyToPage(library.Page(result.nextPage), core::kStatusUsed);
        ++result.nextPage;
        ++result.pagesFilled;
        if (filled) filled(result.pagesFilled);
    }
    return result;
}

std::filesystem::path NumberedPath(const std::filesystem::path& chosen, int number) {
    return chosen.parent_path() / (chosen.stem().string() + std::to_string(number));
}

ExportResult ExportBankFiles(core::Bankson& staging, core::Libson& library,
                             const ExtractorSettings& settings, const std::filesystem::path& chosen,
                             int channel, midi::DumpProgress& progress) {
    progress.SetCaption(kSaveBankCaption);
    progress.Show();
    progress.SetCounter(0);
    ExportResult result;
    // One file written; false ends the export.
    const auto write = [&](int number) {
        if (!SaveOne(staging, settings, NumberedPath(chosen, number), channel)) {
            progress.Hide();
            platform::ShowError(kExportCanceledTitle, kExportCanceledText);
            result.canceled = true;
            return false;
        }
        progress.SetCounter(result.filesWritten);
        ++result.filesWritten;
        return true;
    };

    // The library's own count, never a shown one that may lag behind it.
    const int selected = library.CountSelection().selected;
    if (settings.extractSelected && selected > 0) {
        int moved = 0;
        while (moved < selected) {
            staging.ClearVoices();
            const int group = TakeSelectedVoices(library, staging.Page());
            if (group == 0) break;  // nothing left to take: no empty file
            moved += group;
            if (!write(result.filesWritten)) return result;
        }
    } else {
        for (int page = settings.minPage; page < settings.maxPage; ++page) {
            if (library.IsPageEmpty(page)) continue;
            staging.ClearVoices();
            staging.CopyFromPage(library.Page(page), core::kStatusUsed);
            if (!write(page)) return result;
        }
    }
    progress.Hide();
    platform::ShowInformation(kExportReportTitle, "Operation Complete - " +
                                                      std::to_string(result.filesWritten) +
                                                      " Files Saved");
    return result;
}

}  // namespace librarian
