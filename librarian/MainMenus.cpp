#include "librarian/MainMenus.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <initializer_list>

namespace librarian {

namespace {

// One row per line: caption and handler; an empty caption is a separator.
struct ItemRow {
    const char* caption;
    const char* handler;
};
constexpr ItemRow kSeparator{"", ""};

// An item's caption as an undo step names it: no access key, single spaces, no "...".
QString StepCaption(QString caption) {
    caption = caption.remove(QLatin1Char('&')).simplified();
    if (caption.endsWith(QLatin1String("..."))) caption.chop(3);
    return caption;
}

}  // namespace

MainMenus::MainMenus(QWidget* parent) : parent_(parent) {
    // One pair of undo items serves all five menus; their captions follow the history.
    undo_ = new QAction(QStringLiteral("Undo"), parent);
    undo_->setObjectName(QStringLiteral("UndoClick"));
    undo_->setEnabled(false);
    redo_ = new QAction(QStringLiteral("Redo"), parent);
    redo_->setObjectName(QStringLiteral("RedoClick"));
    redo_->setEnabled(false);
    // The items exist from the start (commands connect to them); each menu is made the first
    // time it is asked for, which is when it is first shown: none is needed for the first frame.
    auto build = [&](const char* name, std::initializer_list<ItemRow> rows) {
        MenuPlan plan{name, {}, nullptr, {}};
        for (const ItemRow& row : rows) {
            if (*row.caption == '\0') {
                plan.rows.push_back(nullptr);
                continue;
            }
            auto* action = new QAction(QString::fromLatin1(row.caption), parent);
            const QString handler = QString::fromLatin1(row.handler);
            action->setObjectName(handler);
            action->setEnabled(false);
            items_[handler].action = action;
            plan.rows.push_back(action);
        }
        plan.rows.push_back(nullptr);
        plan.rows.push_back(undo_);
        plan.rows.push_back(redo_);
        return plan;
    };

    popBank_ = build("popBank", {
        {"Selection  &Clean", "popSelCleanClick"},
        {"Selection  &Reverse", "popSelRrevClick"},
        {"Selection  &Delete", "popSelDelClick"},
        kSeparator,
        {"Copy  Bank -> &Library", "popCpyBLClick"},
        {"Copy  &Selection -> Library", "popCpySLClick"},
        {"Copy  Selectio&n -> Bank", "popCpySBClick"},
        {"Copy &Bank -> Bank", "popCpyBBClick"},
        kSeparator,
        {"&Find Doubles", "popFindDblClick"},
        {"Find by N&ame", "popFindNameClick"},
        {"Sort by &Name", "popSortNameClick"},
    });
    popBank2_ = build("popBank2", {
        {"Load Bank", "popLoadBankClick"},
        {"Save Bank", "popSaveBankClick"},
        {"Save As Sysex", "SaveAsSysex1Click"},
        kSeparator,
        {"Delete Bank", "popDelBankClick"},
        kSeparator,
        {"Get Bank from MIDI", "GetBankMIDIClick"},
        {"Send Bank to MIDI", "SendBankMIDIClick"},
        kSeparator,
        {"Show System Info", "ShowSystemInfoClick"},
        {"Memory Protect ", "MemoryProtectOffClick"},
    });
    popAllBank_ = build("popAllBank", {
        {"Deselect All Banks", "DeselectAllBanks1Click"},
        kSeparator,
        {"Send Memory Protect to All ", "AllMIDIProtect1Click"},
        kSeparator,
        {"Get All Banks from MIDI", "GetAllBankMIDIClick"},
        {"Send All Banks to MIDI", "SendAllBankstoMIDIClick"},
        kSeparator,
        {"Load All Banks", "LoadAllBanks1Click"},
        {"Save All Banks", "SaveAllBanks1Click"},
        kSeparator,
        {"Delete All Banks", "DeleteAllBanksClick"},
        kSeparator,
        {"Copy All Banks to Library", "CopyAllBankstoLibrary1Click"},
    });
    popLib_ = build("popLib", {
        {"Selection  &Clean", "mnpSelLibClear1Click"},
        {"Selection  &Reverse", "mnpSelLibInv1Click"},
        {"Selection  &Delete", "mnpClearLibSel1Click"},
        kSeparator,
        {"Copy &Selection -> Bank", "mnpCopySel1Click"},
        {"Copy  Page  -> &Bank", "mnpCopyLibPage1Click"},
        kSeparator,
        // The library's doubles search has no handler name of its own; named after its menu.
        {"&Find Doubles ", "mnpFindDblLibClick"},
        {"Searc&h by Name", "mnpFinOccLib1Click"},
        {"Sort by &Name", "mnpTriAlphaLib1Click"},
        {"Sort by &Markers", "mnpTriTypeLib1Click"},
    });
    popLib2_ = build("popLib2", {
        {"Load Library", "btnLoadLibClick"},
        {"Save Library", "btnSaveLibClick"},
        kSeparator,
        {"Auto Import Bank", "AutoImportBankClick"},
        {"Auto Export Bank", "AutoExportBank1Click"},
        {"Import Collection...", "ImportCollectionClick"},
        kSeparator,
        {"Delete Library", "btnDelLibClick"},
    });
}

QMenu* MainMenus::Made(MenuPlan& plan) const {
    if (plan.menu) return plan.menu;
    plan.menu = new QMenu(parent_);
    plan.menu->setObjectName(QString::fromLatin1(plan.name));
    QObject::connect(plan.menu, &QMenu::aboutToShow, plan.menu, [&plan] {
        for (const auto& refresh : plan.beforeShowing) refresh();
    });
    for (QAction* row : plan.rows) {
        if (row)
            plan.menu->addAction(row);
        else
            plan.menu->addSeparator();
    }
    return plan.menu;
}

QAction* MainMenus::Item(const QString& handler) const {
    auto found = items_.find(handler);
    return found == items_.end() ? nullptr : found->second.action;
}

void MainMenus::Connect(const QString& handler, std::function<void()> command) {
    auto found = items_.find(handler);
    if (found == items_.end()) return;
    QAction* action = found->second.action;
    QObject::connect(action, &QAction::triggered, action,
                     [this, action, handler, command = std::move(command)] {
                         command();
                         if (finished_) finished_(handler, StepCaption(action->text()));
                     });
    found->second.connected = true;
    Refresh(handler);
}

void MainMenus::BeforeShowing(const QString& handler, std::function<void()> refresh) {
    QAction* item = Item(handler);
    if (!item) return;
    for (MenuPlan* plan : {&popBank_, &popBank2_, &popAllBank_, &popLib_, &popLib2_})
        if (std::find(plan->rows.begin(), plan->rows.end(), item) != plan->rows.end())
            plan->beforeShowing.push_back(std::move(refresh));
}

void MainMenus::SetAllowedByMode(const QString& handler, bool allowed) {
    auto found = items_.find(handler);
    if (found == items_.end()) return;
    found->second.allowed = allowed;
    Refresh(handler);
}

void MainMenus::Refresh(const QString& handler) {
    const ItemState& item = items_.at(handler);
    item.action->setEnabled(item.connected && item.allowed);
}

}  // namespace librarian
