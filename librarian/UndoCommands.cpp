#include "librarian/UndoCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QSet>
#include <QWidget>

#include <string>
#include <vector>

#include "core/Bankson.h"
#include "core/EditBufferUndo.h"
#include "core/Edtson.h"
#include "core/Libson.h"

namespace librarian {
namespace {

// Commands whose changes are not steps of their own: a save's new bank or library name is
// where the file now is, and an undo must not make the window say otherwise.
bool KeptAsDone(const QString& handler) {
    static const QSet<QString> kept = {
        QStringLiteral("popSaveBankClick"),  QStringLiteral("SaveAsSysex1Click"),
        QStringLiteral("SaveAllBanks1Click"), QStringLiteral("btnSaveLibClick"),
        QStringLiteral("AutoExportBank1Click"),
    };
    return kept.contains(handler);
}

std::string TextOf(const QLabel* label) { return label->text().toStdString(); }

}  // namespace

UndoCommands::UndoCommands(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                           core::Edtson& buffer)
    : main_(main), banks_(banks) {
    std::vector<core::VoicePage*> pages;
    for (core::Bankson* bank : banks_) pages.push_back(&bank->Page());
    for (int page = 0; page < core::kLibraryPageCount; ++page) pages.push_back(&library.Page(page));
    history_.WatchPages(pages);

    for (core::Bankson* bank : banks_)
        history_.WatchBytes({reinterpret_cast<core::Byte*>(bank->Functions().data()),
                             core::kFunctionBankSize});
    for (core::MarkerName* name : library.MarkerNames()) history_.WatchBytes(*name);

    for (int n = 0; n < kBankCount; ++n) {
        core::Bankson* bank = banks_[std::size_t(n)];
        history_.WatchText([bank] { return bank->Name(); },
                           [bank](const std::string& name) { bank->SetName(name); });
        history_.WatchText([this, n] { return TextOf(main_.BankLabel(n)); },
                           [this, n](const std::string& text) {
                               main_.SetBankLabel(n, QString::fromStdString(text));
                           });
    }
    history_.WatchText([&library] { return library.Name(); },
                       [&library](const std::string& name) { library.SetName(name); });
    history_.WatchText([this] { return TextOf(main_.LibraryLabel()); },
                       [this](const std::string& text) {
                           main_.LibraryLabel()->setText(QString::fromStdString(text));
                       });
    history_.WatchText([this] { return TextOf(main_.BufferLabel()); },
                       [this](const std::string& text) {
                           main_.BufferLabel()->setText(QString::fromStdString(text));
                       });
    core::WatchEditBuffer(history_, buffer);
    history_.Reset();

    QAction* undo = main_.Menus().UndoItem();
    QAction* redo = main_.Menus().RedoItem();
    undo->setShortcut(QKeySequence::Undo);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undo, &QAction::triggered, this, &UndoCommands::UndoClick);
    connect(redo, &QAction::triggered, this, &UndoCommands::RedoClick);
    AddShortcutsTo(&main_);
    connect(&main_, &TfrmMain::commandFinished, this, &UndoCommands::CommandFinished);
    connect(&main_, &TfrmMain::dragFinished, this, &UndoCommands::DragFinished);
    RefreshItems();
}

UndoCommands::~UndoCommands() = default;

void UndoCommands::AddShortcutsTo(QWidget* window) {
    window->addAction(main_.Menus().UndoItem());
    window->addAction(main_.Menus().RedoItem());
}

void UndoCommands::UndoClick() {
    lastStepIsClick_ = false;
    if (!history_.Undo()) return;
    RefreshViews();
}

void UndoCommands::RedoClick() {
    lastStepIsClick_ = false;
    if (!history_.Redo()) return;
    RefreshViews();
}

void UndoCommands::Record(const QString& caption) {
    if (!history_.Commit(caption.toStdString())) return;
    lastStepIsClick_ = caption == QLatin1String(kVoiceClickCaption);
    RefreshItems();
    emit bufferMayHaveChanged();
}

void UndoCommands::DragFinished(const QString& caption) {
    if (!lastStepIsClick_) {
        Record(caption);
        return;
    }
    lastStepIsClick_ = false;
    history_.CommitJoined(caption.toStdString());
    RefreshItems();
    emit bufferMayHaveChanged();
}

void UndoCommands::Absorb() { history_.Absorb(); }

void UndoCommands::CommandFinished(const QString& handler, const QString& caption) {
    if (KeptAsDone(handler)) {
        lastStepIsClick_ = false;
        history_.Absorb();
        return;
    }
    Record(caption);
}

void UndoCommands::RefreshViews() {
    // The texts (names and labels) were put back by the history itself.
    for (int n = 0; n < kBankCount; ++n) main_.RefreshBankList(n);
    main_.RefreshLibraryLists();
    emit main_.editBufferChanged();
    RefreshItems();
    emit bufferMayHaveChanged();
}

void UndoCommands::RefreshItems() {
    QAction* undo = main_.Menus().UndoItem();
    QAction* redo = main_.Menus().RedoItem();
    const QString undoName = QString::fromStdString(history_.UndoName());
    const QString redoName = QString::fromStdString(history_.RedoName());
    undo->setText(undoName.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + undoName);
    redo->setText(redoName.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + redoName);
    undo->setEnabled(history_.CanUndo());
    redo->setEnabled(history_.CanRedo());
}

}  // namespace librarian
