#pragma once
// Undo and redo of the librarian's changes: one step for each command that changed the eight
// banks (voices, function records, names and labels), the library (pages, marker names, name)
// or the edit buffer. Ctrl+Z undoes and Ctrl+Shift+Z or Ctrl+Y redoes in the windows given;
// the last two items of every main-window menu name the steps. Undo sends no MIDI and touches
// no file: a save stays saved.

#include <QObject>

#include "core/UndoHistory.h"
#include "librarian/TfrmMain.h"

class QWidget;

namespace librarian {

class UndoCommands : public QObject {
    Q_OBJECT
public:
    // Watches the data from now on: nothing to undo until the first command.
    UndoCommands(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                 core::Edtson& buffer);
    ~UndoCommands() override;

    // The shortcuts work in this window too (the markers window, the options window).
    void AddShortcutsTo(QWidget* window);

    void UndoClick();
    void RedoClick();
    // Records a step made outside the commands that report their end (a changed state the
    // program brought about itself).
    void Record(const QString& caption);
    // Takes changes made elsewhere (the editor's own, recorded by its history) as they are.
    void Absorb();

    const core::UndoHistory& History() const { return history_; }

signals:
    // The edit buffer may have changed under the editor: an undo, a redo or a new step.
    void bufferMayHaveChanged();

private:
    void CommandFinished(const QString& handler, const QString& caption);
    void DragFinished(const QString& caption);
    void RefreshViews();
    void RefreshItems();

    TfrmMain& main_;
    TfrmMain::Banks banks_;
    core::UndoHistory history_;
    bool lastStepIsClick_ = false;  // a drag's drop joins it
};

}  // namespace librarian
