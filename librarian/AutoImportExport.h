#pragma once
// Moving whole sets of bank files in and out of the library through a staging bank the caller
// gives: the automatic import reads every file a pattern finds into consecutive library pages,
// the automatic export writes library pages, or the library's selected voices in groups of up
// to 32, as numbered bank or sysex files. No widget code: the commands show the dialogs and
// the extractor window, and pass what they answered.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace core {
class Bankson;
class Libson;
}  // namespace core

namespace midi {
class DumpProgress;
}

namespace librarian {

// The highest page the import fills (the page number never goes above it either).
inline constexpr int kLastImportPage = 994;
inline constexpr char kSaveBankCaption[] = "Save Bank";
inline constexpr char kExportCanceledTitle[] = " Warning";
inline constexpr char kExportCanceledText[] = "Auto Save Lib to Bank Process Canceled  ";
inline constexpr char kExportReportTitle[] = "Report";

// What the extractor window asks; kept while the program runs. The two formats exclude each
// other, both may be off.
struct ExtractorSettings {
    int minPage = 0;
    int maxPage = 999;  // pages minPage … maxPage − 1 are written
    bool extractSelected = false;
    bool asSysex = false;
    bool withFunctions = false;

    void ToggleExtractSelected() { extractSelected = !extractSelected; }
    void ToggleAsSysex() {
        asSysex = !asSysex;
        if (asSysex) withFunctions = false;
    }
    void ToggleWithFunctions() {
        withFunctions = !withFunctions;
        if (withFunctions) asSysex = false;
    }
};

struct ImportResult {
    int nextPage = 0;       // the page the next file would have gone to
    int pagesFilled = 0;    // files whose voices reached a page
};

// Loads each file in turn into `staging` (voices only) and copies its used voices into the
// free slots of library page `firstPage`, then the next page, and so on up to page 994
// (files beyond are ignored; the first file is always read). A file that fails to load shows
// its error box and changes no page; a file that leaves no used voice (a function-bank dump)
// fills no page either; both keep the page for the next file. `filled` is told the number of
// pages filled so far after each one. `staging` ends holding the last file read.
ImportResult ImportBankFiles(core::Bankson& staging, core::Libson& library,
                             const std::vector<std::filesystem::path>& files, int firstPage,
                             const std::function<void(int pagesFilled)>& filled = {});

// File number `number` of an export to the name the user chose: the chosen file's folder and
// base name (its name without the last extension) with the number appended. The bank save
// adds ".DX7" or ".SYX" to it unless the base's own dot leaves it an extension.
std::filesystem::path NumberedPath(const std::filesystem::path& chosen, int number);

struct ExportResult {
    int filesWritten = 0;
    bool canceled = false;  // a save failed; the files already written stay
};

// Writes the export `settings` describe to the files NumberedPath(chosen, k) through
// `staging`: in selected voices mode (extract selected with a selected voice in the library)
// groups of up to 32 used and selected voices in library order, numbered from 0, each leaving
// the library's selection (a free slot marked selected is no voice and is not written); otherwise every page of minPage … maxPage − 1 with a used voice,
// numbered by its page. Sysex files go out as voice bulk dumps on `channel`; bank files carry
// the staging bank's function bank when asked. Shows the progress window "Save Bank" while it
// runs; the first failed save ends the export with the cancel box, else a report box tells
// how many files were written. `staging` ends holding the last group written.
ExportResult ExportBankFiles(core::Bankson& staging, core::Libson& library,
                             const ExtractorSettings& settings, const std::filesystem::path& chosen,
                             int channel, midi::DumpProgress& progress);

}  // namespace librarian
