#include "core/Libson.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "core/BoxTexts.h"
#include "core/FatalError.h"
#include "core/LibrarySort.h"
#include "platform/MessageBoxes.h"

namespace core {
namespace {

constexpr std::string_view kFatalErrorTitle = "Fatal Error";
constexpr std::string_view kAllocLibMemoryText = "Alloc Lib Memory";
constexpr std::string_view kEmptyName = "Empty";

// Returns nullptr instead of throwing when memory is short or the probe says so.
template <class T, class... Args>
std::unique_ptr<T> Allocate(const Libson::AllocationProbe& failAllocation, Args&&... args) {
    if (failAllocation && failAllocation(sizeof(T))) return nullptr;
    try {
        return std::unique_ptr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
    } catch (const std::bad_alloc&) {  // working memory reserved inside T's constructor
        return nullptr;
    }
}

}  // namespace

Libson::Libson(const AllocationProbe& failAllocation) {
    // Stops at the first allocation that fails.
    const bool complete = [&] {
        pageBlock_ = PageBlock::Allocate(pages_.size());
        if (!pageBlock_) return false;
        // Each page is still an allocation of its own to the probe.
        for (std::size_t p = 0; p < pages_.size(); ++p) {
            if (failAllocation && failAllocation(sizeof(VoicePage))) return false;
            pages_[p] = pageBlock_->Page(p);
        }
        for (auto& field : markerNames_)
            if (!(field = Allocate<MarkerName>(failAllocation))) return false;
        const auto pages = std::size_t(kLibraryPageCount);
        sorter_ = Allocate<LibrarySorter>(failAllocation, pages);
        doublesFinder_ = sorter_ ? Allocate<LibraryDoublesFinder>(failAllocation, pages) : nullptr;
        return doublesFinder_ != nullptr;
    }();
    if (!complete) {
        // Nothing can work without the library: tell the user (the answer changes nothing)
        // and end the program. The members free what was allocated.
        platform::Boxes().AskOkCancel(platform::BoxKind::Error, kFatalErrorTitle,
                                      kAllocLibMemoryText);
        throw FatalError(std::string(kAllocLibMemoryText));
    }
    if (!pageBlock_->Prepared()) ForEachPage(InitPage);  // else cleared while made ahead
    ClearNames();
}

Libson::~Libson() = default;

void Libson::PrepareMemoryAhead() { PageBlock::MakeReadyAhead(kLibraryPageCount, InitPage); }

VoicePage* Libson::PageIf(int page) {
    return page >= 0 && page < kLibraryPageCount ? pages_[page] : nullptr;
}

const VoicePage* Libson::PageIf(int page) const {
    return page >= 0 && page < kLibraryPageCount ? pages_[page] : nullptr;
}

VoicePage& Libson::Page(int page) {
    if (VoicePage* found = PageIf(page)) return *found;
    throw std::out_of_range("library page " + std::to_string(page));
}

const VoicePage& Libson::Page(int page) const {
    if (const VoicePage* found = PageIf(page)) return *found;
    throw std::out_of_range("library page " + std::to_string(page));
}

template <class Operation>
void Libson::ForEachPage(Operation operation) {
    for (auto& page : pages_) operation(*page);
}

std::array<MarkerName*, kMarkerCount> Libson::MarkerNames() {
    std::array<MarkerName*, kMarkerCount> fields;
    for (int m = 0; m < kMarkerCount; ++m) fields[m] = markerNames_[m].get();
    return fields;
}

std::string Libson::MarkerNameText(int marker) const {
    if (marker < 0 || marker >= kMarkerCount) return {};
    const MarkerName& field = *markerNames_[marker];
    const auto end = std::find(field.begin(), field.end(), Byte(0));
    return std::string(field.begin(), end);
}

void Libson::SetMarkerName(int marker, std::string_view name) {
    if (marker < 0 || marker >= kMarkerCount) return;
    MarkerName& field = *markerNames_[marker];
    field.fill(0);
    std::copy_n(name.begin(), std::min(name.size(), kNameSize), field.begin());
}

void Libson::Clear() {
    ForEachPage(InitPage);
    ClearNames();
}

void Libson::ClearNames() {
    for (int m = 0; m < kMarkerCount; ++m) SetMarkerName(m, kEmptyName);
    name_ = kEmptyName;
}

void Libson::ClearPage(int page) {
    if (VoicePage* p = PageIf(page)) InitPage(*p);
}

void Libson::ClearSelected() {
    ForEachPage([](VoicePage& page) { Nomsyn::ClearSelected(page, nullptr); });
}

void Libson::ClearSelected(int page) {
    if (VoicePage* p = PageIf(page)) Nomsyn::ClearSelected(*p, nullptr);
}

std::string Libson::VoiceName(int page, int slot) const {
    const VoicePage* p = PageIf(page);
    if (!p || slot < 0 || slot >= int(kSlotsPerPage)) return {};
    return VoiceNameOf((*p)[slot].voice);
}

bool Libson::IsSelected(int page, int slot) const {
    const VoicePage* p = PageIf(page);
    return p && Nomsyn::IsSelected(*p, slot);
}

void Libson::ClearSelection() { ForEachPage(Nomsyn::ClearSelection); }

void Libson::ClearSelection(int page) {
    if (VoicePage* p = PageIf(page)) Nomsyn::ClearSelection(*p);
}

void Libson::InvertSelection() { ForEachPage(Nomsyn::InvertSelection); }

void Libson::InvertSelection(int page) {
    if (VoicePage* p = PageIf(page)) Nomsyn::InvertSelection(*p);
}

void Libson::SelectByMarker(int marker) {
    ForEachPage([marker](VoicePage& page) { Nomsyn::SelectByMarker(page, marker); });
}

void Libson::SelectByMarker(int page, int marker) {
    if (VoicePage* p = PageIf(page)) Nomsyn::SelectByMarker(*p, marker);
}

void Libson::SetMarker(int marker) {
    ForEachPage([marker](VoicePage& page) { Nomsyn::SetMarker(page, marker); });
}

void Libson::SetMarker(int page, int marker) {
    if (VoicePage* p = PageIf(page)) Nomsyn::SetMarker(*p, marker);
}

void Libson::SortByName() { sorter_->SortByName(pages_); }

void Libson::SortByName(int page) {
    if (VoicePage* p = PageIf(page)) Nomsyn::SortByName(*p, nullptr);
}

void Libson::SortByMarker() { sorter_->SortByMarker(pages_); }

void Libson::SortByMarker(int page) {
    if (VoicePage* p = PageIf(page)) Nomsyn::SortByMarker(*p, nullptr);
}

void Libson::FindDoubles(DoublesOptions options, const PageProgress& progress) {
    doublesFinder_->Run(pages_, options, progress);  // clears the selection as it goes
}

void Libson::FindDoubles(int page, DoublesOptions options) {
    if (VoicePage* p = PageIf(page)) Nomsyn::FindDoubles(*p, nullptr, options);
}

int Libson::SearchByName(std::string_view text, int position) {
    int count = 0;
    ForEachPage([&](VoicePage& page) { count += Nomsyn::SearchByName(page, text, position); });
    return count;
}

int Libson::SearchByName(int page, std::string_view text, int position) {
    VoicePage* p = PageIf(page);
    return p ? Nomsyn::SearchByName(*p, text, position) : 0;
}

int Libson::CopyIntoLibrary(const VoicePage& source, Byte mask) {
    // The source may be one of the library's own pages: walk it as it was, so that copies
    // landing in it are not copied again.
    const VoicePage chosen = source;
    int copied = 0;
    int page = 0;  // pages before it have no free slot left
    for (const VoiceSlot& slot : chosen) {
        if (!(slot.status & mask)) continue;
        while (page < kLibraryPageCount && !Nomsyn::CopyToFirstFree(slot, *pages_[page])) ++page;
        if (page == kLibraryPageCount) {
            ShowCopyWarning(copied, kBankFullText);
            break;
        }
        ++copied;
    }
    return copied;
}

bool Libson::CopyToFirstFree(const VoiceSlot& slot) {
    for (auto& page : pages_)
        if (Nomsyn::CopyToFirstFree(slot, *page)) return true;
    return false;
}

int Libson::FillFromSelection(VoicePage& destination) {
    FillSources sources;
    for (auto& page : pages_) {
        if (sources.Full()) break;
        sources.AddSelected(*page);
    }
    return sources.FillFree(destination);
}

int Libson::FillFromSelection(VoicePage& destination, int libraryPage) {
    VoicePage* p = PageIf(libraryPage);
    return p ? FillFreeFromSelected(destination, *p) : 0;
}

Libson::SelectionCount Libson::CountSelection() const {
    SelectionCount count;
    for (const auto& page : pages_)
        for (const VoiceSlot& slot : *page) {
            if (!slot.IsUsed()) continue;
            ++count.used;
            if (slot.IsSelected()) ++count.selected;
        }
    return count;
}

std::array<int, kMarkerCount> Libson::CountByMarker() const {
    std::array<int, kMarkerCount> counts{};
    for (const auto& page : pages_)
        for (const VoiceSlot& slot : *page)
            if (slot.IsUsed() && slot.Marker() < kMarkerCount) ++counts[slot.Marker()];
    return counts;
}

namespace {

bool HasUsedSelected(const VoicePage& page) {
    return std::any_of(page.begin(), page.end(),
                       [](const VoiceSlot& slot) { return slot.IsUsed() && slot.IsSelected(); });
}

}  // namespace

int Libson::FirstSelectedPage() const {
    for (int page = 0; page < kLibraryPageCount; ++page)
        if (HasUsedSelected(*pages_[page])) return page;
    return -1;
}

int Libson::LastSelectedPage() const {
    for (int page = kLibraryPageCount - 1; page >= 0; --page)
        if (HasUsedSelected(*pages_[page])) return page;
    return -1;
}

bool Libson::IsPageEmpty(int page) const {
    const VoicePage* p = PageIf(page);
    return !p ||
           std::none_of(p->begin(), p->end(), [](const VoiceSlot& slot) { return slot.IsUsed(); });
}

}  // namespace core
