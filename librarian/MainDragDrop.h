#pragma once
// Drag and drop in the main window: one voice at a time between the eight bank lists, the
// twelve library lists, the edit buffer label and the trash, as librarian/DragDropRules.h
// decides, followed by librarian/DragTracker.h in ordinary mouse events; and bank files
// dropped on a list from the desktop's file manager.

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

#include "librarian/DragDropRules.h"
#include "librarian/TfrmMain.h"

namespace librarian {

class DragTrackerBase;
class TfrmOption;

class MainDragDrop : public QObject {
    Q_OBJECT
public:
    MainDragDrop(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                 core::Edtson& buffer, const TfrmOption& options);
    ~MainDragDrop() override;

    // The place of the main window under a screen point, with the list line there.
    std::optional<DragPlace> PlaceAt(QPoint global) const;
    // ListBox1DragDrop: carries out the drop and redraws what it changed.
    void ListBox1DragDrop(const DragPlace& source, const DragPlace& target);
    bool Dragging() const;
    // Folders dropped on a library list (with any files dropped beside them) go here, to the
    // collection import; without it they are refused.
    void SetFolderDrop(std::function<void(const std::vector<std::filesystem::path>&)> drop) {
        folderDrop_ = std::move(drop);
    }

protected:
    // Files dragged over and dropped on the lists from outside the program.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<DragPlace> SourceAt(QWidget* widget, QPoint local) const;
    // The list (bank or library) a widget belongs to, with its kind.
    std::optional<DragPlace> ListOf(const QWidget* widget) const;
    void DropFiles(const DragPlace& target, const std::vector<std::filesystem::path>& files);

    TfrmMain& main_;
    TfrmMain::Banks banks_;
    core::Libson& library_;
    core::Edtson& buffer_;
    const TfrmOption& options_;
    std::unique_ptr<DragTrackerBase> tracker_;
    std::function<void(const std::vector<std::filesystem::path>&)> folderDrop_;
};

}  // namespace librarian
