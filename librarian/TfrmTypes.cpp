#include "librarian/TfrmTypes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "controls/Artwork.h"
#include "controls/PressedWhile.h"
#include "controls/TTitleBar.h"
#include "controls/Tzografsw.h"
#include "core/Libson.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/LibraryScope.h"
#include "librarian/TNameForm.h"
#include "librarian/TfrmMain.h"
#include "librarian/VoiceList.h"
#include "librarian/VoiceNameText.h"
#include "librarian/WindowPlacement.h"
#include "controls/DialogHabits.h"

namespace librarian {

namespace {

constexpr int kMargin = 8;
constexpr int kNameListWidth = 92;
constexpr int kCountListWidth = 44;
constexpr int kListHeight = core::kMarkerCount * kVoiceLineHeight;
constexpr int kButtonTop = kMargin + kListHeight + 8;
constexpr int kClientWidth = kMargin + kNameListWidth + 4 + kCountListWidth + kMargin;
constexpr int kClientHeight = kButtonTop + controls::artwork::kButtonSize + kMargin;

// Fills `list` with `lines` in place: the window is rebuilt after every library command.
void SetLines(QListWidget* list, const QStringList& lines) {
    if (list->count() != lines.size()) {
        list->clear();
        list->addItems(lines);
        return;
    }
    for (int i = 0; i < lines.size(); ++i)
        if (list->item(i)->text() != lines[i]) list->item(i)->setText(lines[i]);
}

controls::Tzografsw* MakeButton(QWidget* parent, const QString& name, const QString& legend,
                                QPoint position, const QString& hint) {
    auto* button = new controls::Tzografsw(parent);
    button->setObjectName(name);
    button->setGlyph(2);
    button->setBitmap(controls::artwork::PushButtonStrip(legend));
    button->move(position);
    button->setToolTip(hint);
    return button;
}

}  // namespace

TfrmTypes::TfrmTypes(core::Libson& library, TfrmMain& main, const LibrarianOptions& options,
                     TNameForm& nameForm, platform::SettingsStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      library_(library), main_(main), options_(options), nameForm_(nameForm) {
    setObjectName(QStringLiteral("frmTypes"));
    setWindowTitle(QStringLiteral("Markers"));
    setFixedSize(kClientWidth, kClientHeight);
    setPalette(controls::artwork::RackPalette());
    setAutoFillBackground(true);

    listType_ = MakeVoiceListView(this, QStringLiteral("listType"),
                              QRect(kMargin, kMargin, kNameListWidth, kListHeight), Qt::black);
    // Unlike the voice lists, the user highlights a marker here.
    listType_->setSelectionMode(QAbstractItemView::SingleSelection);
    listType_->setFocusPolicy(Qt::StrongFocus);
    listType_->setContextMenuPolicy(Qt::NoContextMenu);
    connect(listType_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { listTypeDblClick(listType_->row(item)); });

    listStat_ = MakeVoiceListView(this, QStringLiteral("listStat"),
                              QRect(kMargin + kNameListWidth + 4, kMargin, kCountListWidth,
                                    kListHeight),
                              Qt::black);
    listStat_->setContextMenuPolicy(Qt::NoContextMenu);
    listStat_->setToolTip(QStringLiteral("Quantity"));
    listStat_->setEnabled(false);

    btnTypSelect_ = MakeButton(this, QStringLiteral("btnTypSelect"), QStringLiteral("SEL"),
                               QPoint(kMargin + 14, kButtonTop), QStringLiteral("Select by Type "));
    btnTypDefine_ = MakeButton(this, QStringLiteral("btnTypDefine"), QStringLiteral("ADD"),
                               QPoint(kClientWidth - kMargin - 14 - controls::artwork::kButtonSize,
                                      kButtonTop),
                               QStringLiteral("Add to Type"));
    connect(btnTypSelect_, &controls::Tzografsw::clicked, this, &TfrmTypes::btnTypSelectClick);
    connect(btnTypDefine_, &controls::Tzografsw::clicked, this, &TfrmTypes::btnTypDefineClick);
    controls::WearCaptionBar(this, controls::kCaptionClose);

    BaseValues values;
    ReadMarkersWindowValues(values, store);
    const BaseValues defaults;
    move(ReachablePlace(QPoint(values.markersLeft, values.markersTop), size(),
                        QPoint(defaults.markersLeft, defaults.markersTop)));
    openAtStart_ = values.markersOpen == 1;

    RebuildLists(0);
    // Whatever a command did to the library (loaded, cleared, marked, moved voices), the
    // names and counts follow it, and the highlight stays where the user put it.
    connect(&main_, &TfrmMain::libraryRefreshed, this,
            [this] { RebuildLists(HighlightedMarker()); });
}

void TfrmTypes::CollectBaseValues(BaseValues& values) const {
    values.markersTop = y();
    values.markersLeft = x();
    values.markersOpen = isVisible() ? 1 : 0;
}

void TfrmTypes::RebuildLists(int marker) {
    const std::array<int, core::kMarkerCount> counts = library_.CountByMarker();
    const auto names = library_.MarkerNames();
    QStringList nameLines;
    QStringList countLines;
    for (int m = 0; m < core::kMarkerCount; ++m) {
        nameLines << DisplayShortName(names[m]->data(), names[m]->size());
        countLines << QString::number(counts[m]);
    }
    SetLines(listType_, nameLines);
    SetLines(listStat_, countLines);
    HighlightMarker(marker);
}

int TfrmTypes::HighlightedMarker() const {
    const QList<QListWidgetItem*> highlighted = listType_->selectedItems();
    return highlighted.isEmpty() ? -1 : listType_->row(highlighted.front());
}

void TfrmTypes::HighlightMarker(int marker) {
    if (marker < 0 || marker >= listType_->count()) {
        listType_->clearSelection();
        return;
    }
    listType_->setCurrentRow(marker, QItemSelectionModel::ClearAndSelect);
}

void TfrmTypes::btnTypSelectClick() {
    {
        controls::PressedWhile pressed(btnTypSelect_);
        const int marker = HighlightedMarker();
        if (marker >= 0) {
            SelectByMarkerOnly(library_, main_.Scope(), marker, options_.MultiSelect());
            main_.RefreshLibraryLists();
            main_.CommandFinished(QStringLiteral("Select by Marker"));
        }
    }
    main_.gswLibSelFinderClick();
}

void TfrmTypes::btnTypDefineClick() {
    controls::PressedWhile pressed(btnTypDefine_);
    const int marker = HighlightedMarker();
    if (marker < 0) return;
    SetMarker(library_, main_.Scope(), marker);
    main_.RefreshLibraryLists();
    main_.CommandFinished(QStringLiteral("Set Marker"));
}

void TfrmTypes::listTypeDblClick(int marker) {
    if (marker < 0 || marker >= core::kMarkerCount) return;
    // The name as the library holds it now, not as the list last showed it.
    const core::MarkerName& field = *library_.MarkerNames()[marker];
    const QString shown = DisplayShortName(field.data(), field.size());
    const QString typed = nameForm_.Edit(QStringLiteral("Edit Type Name"), shown);
    // A field left as it opened stores nothing, also when it shows bytes no name character
    // stands for.
    if (typed.compare(shown, Qt::CaseInsensitive) != 0)
        RenameMarker(library_, marker, NameBytesFromText(typed));
    RebuildLists(marker);
    main_.CommandFinished(QStringLiteral("Rename Marker"));
}

void TfrmTypes::keyPressEvent(QKeyEvent* event) {
    if (!controls::HideByKey(*this, *event)) QWidget::keyPressEvent(event);
}

}  // namespace librarian
