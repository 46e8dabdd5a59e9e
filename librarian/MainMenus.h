#pragma once
// The main window's five pop-up menus. Every item is named after the handler that serves it
// and stays disabled until a command is connected to it.

#include <QString>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace librarian {

class MainMenus {
public:
    explicit MainMenus(QWidget* parent);

    QMenu* popBank() const { return Made(popBank_); }        // bank lists
    QMenu* popBank2() const { return Made(popBank2_); }      // bank name labels
    QMenu* popAllBank() const { return Made(popAllBank_); }  // trash picture
    QMenu* popLib() const { return Made(popLib_); }          // library lists
    QMenu* popLib2() const { return Made(popLib2_); }        // library name label

    // The item served by a handler ("popLoadBankClick"), nullptr for an unknown name.
    QAction* Item(const QString& handler) const;
    // Connects a command to an item and enables it (unless its MIDI mode holds it back).
    void Connect(const QString& handler, std::function<void()> command);
    // Called after every connected command has run, with its handler and its caption as the
    // user reads it ("Sort by Name"): where the undo history records the step.
    using CommandFinished = std::function<void(const QString& handler, const QString& caption)>;
    void SetCommandFinished(CommandFinished finished) { finished_ = std::move(finished); }
    // "Undo ..." and "Redo ...", the last items of every menu (after a separator).
    QAction* UndoItem() const { return undo_; }
    QAction* RedoItem() const { return redo_; }
    // The MIDI window's mode switches allow or forbid an item; a connected item follows it.
    void SetAllowedByMode(const QString& handler, bool allowed);
    // Runs `refresh` each time the menu holding the item is about to show: for items that show
    // a state of their own.
    void BeforeShowing(const QString& handler, std::function<void()> refresh);

private:
    void Refresh(const QString& handler);

    // A menu's items in order (nullptr for a separator), and the menu once made.
    struct MenuPlan {
        const char* name = "";
        std::vector<QAction*> rows;
        QMenu* menu = nullptr;
        std::vector<std::function<void()>> beforeShowing;
    };
    QMenu* Made(MenuPlan& plan) const;

    QWidget* parent_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    CommandFinished finished_;
    mutable MenuPlan popBank_;
    mutable MenuPlan popBank2_;
    mutable MenuPlan popAllBank_;
    mutable MenuPlan popLib_;
    mutable MenuPlan popLib2_;
    struct ItemState {
        QAction* action = nullptr;
        bool connected = false;
        bool allowed = true;
    };
    std::map<QString, ItemState> items_;
};

}  // namespace librarian
