#pragma once
// The voice library: 1000 pages of 32 slots, the 32 marker names and the library's name,
// with the page and library-wide operations and the library file (".DXL": the pages with
// their status bytes, then the marker names; no header).

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "core/LibraryDoubles.h"
#include "core/Nomsyn.h"
#include "core/PageBlock.h"
#include "core/VoiceFormats.h"

namespace core {

class LibrarySorter;

inline constexpr int kLibraryPageCount = 1000;
inline constexpr int kLibrarySlotCount = kLibraryPageCount * int(kSlotsPerPage);  // 32 000
inline constexpr int kMarkerCount = 32;
inline constexpr std::size_t kMarkerNamesSize = kMarkerCount * kNameSize;  // 320
inline constexpr std::size_t kLibraryFileSize = kLibraryPageCount * kPageSize + kMarkerNamesSize;

// A marker name: shorter names end with a zero byte, a 10-character name fills the field.
using MarkerName = std::array<Byte, kNameSize>;

class Libson : public Nomsyn {
public:
    // Answers true when an allocation of that many bytes is to fail (tests use it to stand
    // in for a lack of memory).
    using AllocationProbe = std::function<bool(std::size_t bytes)>;

    // Allocates the pages and marker names and clears everything. When memory runs out the
    // "Alloc Lib Memory" box is shown and FatalError is thrown: the program can't go on
    // without its library.
    explicit Libson(const AllocationProbe& failAllocation = {});
    // Starts getting the pages' memory ready on a helper thread, for a library made later.
    static void PrepareMemoryAhead();
    ~Libson();
    Libson(const Libson&) = delete;
    Libson& operator=(const Libson&) = delete;

    static constexpr int PageCount() { return kLibraryPageCount; }
    // The page block, used in place; throws std::out_of_range outside 0-999.
    VoicePage& Page(int page);
    const VoicePage& Page(int page) const;

    // The 32 name fields, read and written in place by the markers window.
    std::array<MarkerName*, kMarkerCount> MarkerNames();
    // The name up to its first zero byte; empty outside 0-31.
    std::string MarkerNameText(int marker) const;
    // Keeps the first 10 bytes and fills the rest of the field with zero bytes.
    void SetMarkerName(int marker, std::string_view name);

    const std::string& Name() const { return name_; }
    // Puts back a name the library had (undo); loads, saves and Clear set it themselves.
    void SetName(std::string name) { name_ = std::move(name); }

    // Every slot emptied, every marker name "Empty", name "Empty".
    void Clear();
    void ClearPage(int page);

    // Page forms act on one page (nothing happens outside 0-999); the forms without a page
    // act on every page.
    void ClearSelected();
    void ClearSelected(int page);
    // The slot's 10 name bytes; empty outside the library.
    std::string VoiceName(int page, int slot) const;
    bool IsSelected(int page, int slot) const;
    void ClearSelection();
    void ClearSelection(int page);
    void InvertSelection();
    void InvertSelection(int page);
    void SelectByMarker(int marker);
    void SelectByMarker(int page, int marker);
    void SetMarker(int marker);
    void SetMarker(int page, int marker);
    // The library-wide sorts take all 32 000 slots as one sequence: used slots first in
    // ascending order, free slots last.
    void SortByName();
    void SortByName(int page);
    void SortByMarker();
    void SortByMarker(int page);
    // Clears the selection of the area searched, then marks the identical voices. The
    // library-wide search compares across all pages and reports progress once per page.
    void FindDoubles(DoublesOptions options, const PageProgress& progress = {});
    void FindDoubles(int page, DoublesOptions options);
    // Returns the number of matching slots.
    int SearchByName(std::string_view text, int position);
    int SearchByName(int page, std::string_view text, int position);

    // Copies the source slots whose status has a bit of `mask` set (1 used, 2 selected) into
    // the library's first free slots, in library order. When the library runs full a
    // "Copy Warning" tells how many went in. Returns the number copied.
    int CopyIntoLibrary(const VoicePage& source, Byte mask);
    // Copies the slot into the first library slot that isn't used; false when none is left.
    bool CopyToFirstFree(const VoiceSlot& slot);
    // Fills each destination slot (of a bank, or a library page) whose status is exactly 0
    // with the next selected library slot (in library order, or within one library page); the
    // library slot loses its selection, and a copy made here is never taken again. Returns
    // the number of slots filled.
    int FillFromSelection(VoicePage& destination);
    int FillFromSelection(VoicePage& destination, int libraryPage);

    struct SelectionCount {
        int selected = 0;  // used and selected
        int used = 0;
    };
    SelectionCount CountSelection() const;
    // Used slots per marker 0-31; marker values above 31 are not counted.
    std::array<int, kMarkerCount> CountByMarker() const;
    // Lowest / highest page with a used and selected slot, or -1.
    int FirstSelectedPage() const;
    int LastSelectedPage() const;
    // True when no slot of the page is used (also for a page outside the library).
    bool IsPageEmpty(int page) const;

    // Reads a library file: as many whole pages as it holds (up to 1000; the pages beyond
    // keep their contents), then the marker names right after the last whole page. False
    // after an error box when the file can't be opened or read, or holds no whole page (then
    // nothing changes). A file of another size than a library's asks first; answered No, it
    // changes nothing and the result is false.
    bool LoadLibraryFile(const std::filesystem::path& path);
    // Writes all pages and the marker names, ".DXL" added when the path has no extension;
    // the replaced file is kept as <name>.BAK beside it. False after an error box.
    bool SaveLibraryFile(const std::filesystem::path& path);

private:
    void ClearNames();  // the marker names and the library's name
    VoicePage* PageIf(int page);
    const VoicePage* PageIf(int page) const;
    template <class Operation>
    void ForEachPage(Operation operation);

    std::unique_ptr<PageBlock> pageBlock_;
    std::array<VoicePage*, kLibraryPageCount> pages_{};
    std::array<std::unique_ptr<MarkerName>, kMarkerCount> markerNames_;
    std::string name_;
    // Working memory of the library-wide sorts and doubles search, reserved here so those
    // operations allocate nothing.
    std::unique_ptr<LibrarySorter> sorter_;
    std::unique_ptr<LibraryDoublesFinder> doublesFinder_;
};

}  // namespace core
