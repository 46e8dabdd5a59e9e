#pragma once
// The markers window "Markers": the 32 marker names with the number of library voices that
// carry each, selection of library voices by marker, marking of the selected ones, and
// renaming through the name window. Modeless; Enter or Esc hides it. Its lists always show
// the library as it is: they are rebuilt whenever the main window refreshes the library.

#include <QWidget>

#include "librarian/BaseSettings.h"
#include "platform/SettingsStore.h"

class QListWidget;

namespace core {
class Libson;
}
namespace controls {
class Tzografsw;
}

namespace librarian {

class LibrarianOptions;
class TfrmMain;
class TNameForm;

class TfrmTypes : public QWidget {
    Q_OBJECT
public:
    // Reads "TBX", "TBY", "TBO" from the "Base" settings and builds the lists with marker 0
    // highlighted. Shown by the program when "TBO" says so (OpenAtStart).
    TfrmTypes(core::Libson& library, TfrmMain& main, const LibrarianOptions& options,
              TNameForm& nameForm, platform::SettingsStore& store = platform::Settings(),
              QWidget* parent = nullptr);

    bool OpenAtStart() const { return openAtStart_; }
    // The window's part of the "Base" values (place and visibility).
    void CollectBaseValues(BaseValues& values) const;

    // Names and counts as the library holds them now; `marker` 0-31 is highlighted (-1: none).
    void RebuildLists(int marker);
    // The highlighted marker, -1 for none.
    int HighlightedMarker() const;
    void HighlightMarker(int marker);

    void btnTypSelectClick();
    void btnTypDefineClick();
    // A double click on a marker's name: the name window edits it.
    void listTypeDblClick(int marker);

    QListWidget* listType() const { return listType_; }
    QListWidget* listStat() const { return listStat_; }
    controls::Tzografsw* btnTypSelect() const { return btnTypSelect_; }
    controls::Tzografsw* btnTypDefine() const { return btnTypDefine_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    core::Libson& library_;
    TfrmMain& main_;
    const LibrarianOptions& options_;
    TNameForm& nameForm_;
    QListWidget* listType_ = nullptr;
    QListWidget* listStat_ = nullptr;
    controls::Tzografsw* btnTypSelect_ = nullptr;
    controls::Tzografsw* btnTypDefine_ = nullptr;
    bool openAtStart_ = false;
};

}  // namespace librarian
