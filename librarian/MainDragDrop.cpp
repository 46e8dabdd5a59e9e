#include "librarian/MainDragDrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "core/VoiceFormats.h"
#include "librarian/DragTracker.h"
#include "librarian/TfrmOption.h"
#include "librarian/VoiceList.h"

namespace librarian {

namespace {

// The local bank files among the dragged URLs.
std::vector<std::filesystem::path> DraggedBankFiles(const QMimeData* data) {
    std::vector<std::filesystem::path> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.emplace_back(url.toLocalFile().toStdString());
    return BankFilesAmong(paths);
}

// Every local path dragged when one of them is a folder (a collection to import, the files
// beside the folders with it); none otherwise.
std::vector<std::filesystem::path> DraggedCollection(const QMimeData* data) {
    std::vector<std::filesystem::path> paths;
    if (!data || !data->hasUrls()) return paths;
    bool folder = false;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        std::error_code ec;
        paths.emplace_back(url.toLocalFile().toStdString());
        folder = folder || std::filesystem::is_directory(paths.back(), ec);
    }
    if (!folder) paths.clear();
    return paths;
}

}  // namespace

MainDragDrop::MainDragDrop(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                           core::Edtson& buffer, const TfrmOption& options)
    : main_(main), banks_(banks), library_(library), buffer_(buffer),
      options_(options) {
    using Tracker = DragTracker<DragPlace>;
    auto tracker = std::make_unique<Tracker>(Tracker::Hooks{
        .sourceAt = [this](QWidget* widget, QPoint local) { return SourceAt(widget, local); },
        .placeAt = [this](QPoint global) { return PlaceAt(global); },
        .accepts = [](const DragPlace& source,
                      const DragPlace& target) { return AcceptsDrop(source.kind, target.kind); },
        .drop = [this](const DragPlace& source,
                       const DragPlace& target) { ListBox1DragDrop(source, target); },
    });
    auto watchList = [&](VoiceListBox* list) {
        tracker->Watch(list);
        list->setAcceptDrops(true);
        list->installEventFilter(this);
    };
    for (int n = 0; n < kBankCount; ++n) watchList(main_.BankList(n));
    for (int k = 0; k < kLibraryListCount; ++k) watchList(main_.LibraryList(k));
    tracker->Watch(main_.BufferLabel());
    tracker->Watch(main_.TrashPicture());
    tracker_ = std::move(tracker);
}

MainDragDrop::~MainDragDrop() = default;

bool MainDragDrop::Dragging() const { return tracker_->Dragging(); }

std::optional<DragPlace> MainDragDrop::ListOf(const QWidget* widget) const {
    for (int n = 0; n < kBankCount; ++n)
        if (widget == main_.BankList(n)) return DragPlace{.kind = DragKind::BankList, .list = n};
    for (int k = 0; k < kLibraryListCount; ++k)
        if (widget == main_.LibraryList(k))
            return DragPlace{.kind = DragKind::LibraryList,
                             .list = k,
                             .page = LibraryLineSlot(k, 0, main_.PageNumber()).page};
    return std::nullopt;
}

std::optional<DragPlace> MainDragDrop::SourceAt(QWidget* widget, QPoint local) const {
    if (widget == main_.BufferLabel()) return DragPlace{.kind = DragKind::Buffer};
    if (widget == main_.TrashPicture()) return DragPlace{.kind = DragKind::Trash};
    std::optional<DragPlace> place = ListOf(widget);
    if (!place) return std::nullopt;
    place->line = static_cast<const VoiceListBox*>(widget)->LineAt(local);
    if (place->line < 0) return std::nullopt;
    // Only a voice is dragged; an empty line starts nothing.
    const core::VoiceSlot& slot =
        place->kind == DragKind::BankList
            ? banks_[place->list]->Page()[place->line]
            : library_.Page(place->page)[LibraryLineSlot(place->list, place->line, 0).slot];
    if (!slot.IsUsed()) return std::nullopt;
    return place;
}

std::optional<DragPlace> MainDragDrop::PlaceAt(QPoint global) const {
    // Another window over this one takes the pointer; no window there (or a platform that
    // can't tell) leaves the window's own layout to decide.
    QWidget* hit = QApplication::widgetAt(global);
    if (hit && hit->window() != &main_) return std::nullopt;
    if (!hit) hit = main_.childAt(main_.mapFromGlobal(global));
    for (QWidget* w = hit; w && w != &main_; w = w->parentWidget()) {
        if (w == main_.BufferLabel()) return DragPlace{.kind = DragKind::Buffer};
        if (w == main_.TrashPicture()) return DragPlace{.kind = DragKind::Trash};
        if (w == main_.LibraryLabel()) return DragPlace{.kind = DragKind::LibraryLabel};
        if (std::optional<DragPlace> place = ListOf(w)) {
            const auto* list = static_cast<const VoiceListBox*>(w);
            place->line = list->LineAt(list->mapFromGlobal(global));
            return place;
        }
    }
    return std::nullopt;
}

void MainDragDrop::ListBox1DragDrop(const DragPlace& source, const DragPlace& target) {
    const DropScene scene{.banks = banks_,
                          .library = library_,
                          .buffer = buffer_,
                          .functionsMode = main_.FunctionsMode(),
                          .pageMode = main_.PageMode(),
                          .mode = BankDropMode(options_.States())};
    const DropResult result = DropVoice(scene, source, target);
    for (int n = 0; n < kBankCount; ++n)
        if (result.banksChanged[n]) main_.RefreshBankList(n);
    if (result.libraryChanged) main_.RefreshLibraryLists();
    if (result.bufferReset) {
        main_.BufferLabel()->setText(QString::fromLatin1(core::kEmptyVoiceName));
        emit main_.editBufferChanged();  // the editor must not go on showing the old voice
    }
    // A drag from a list began with a click on its line (the voice taken): one step for both.
    const bool pressClicked = source.kind == DragKind::BankList || source.kind == DragKind::LibraryList;
    if (pressClicked)
        main_.DragFinished(QStringLiteral("Drag and Drop"));
    else
        main_.CommandFinished(QStringLiteral("Drag and Drop"));
}

void MainDragDrop::DropFiles(const DragPlace& target,
                             const std::vector<std::filesystem::path>& files) {
    if (target.kind == DragKind::BankList) {
        for (int bank : LoadDroppedBanks(banks_, target.list, files, main_.FunctionsMode())) {
            main_.RefreshBankList(bank);
            main_.SetBankLabel(bank, QString::fromStdString(banks_[bank]->Name()));
        }
    } else {
        ImportDroppedBanks(library_, target.page, files);
        main_.RefreshLibraryLists();
    }
    main_.CommandFinished(QStringLiteral("Drop Files"));
}

bool MainDragDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const std::optional<DragPlace> place = widget ? ListOf(widget) : std::nullopt;
    auto* drag = static_cast<QDropEvent*>(event);
    const std::vector<std::filesystem::path> files = DraggedBankFiles(drag->mimeData());
    const std::vector<std::filesystem::path> folders =
        place && place->kind == DragKind::LibraryList && folderDrop_ ? DraggedCollection(drag->mimeData())
                                                                    : std::vector<std::filesystem::path>{};
    if (place && !folders.empty()) {
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        if (type == QEvent::Drop) folderDrop_(folders);
        return true;
    }
    if (!place || files.empty()) {
        event->ignore();
        return true;
    }
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop) DropFiles(*place, files);
    return true;
}

}  // namespace librarian
