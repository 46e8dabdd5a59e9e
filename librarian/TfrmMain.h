#pragma once
// The main window: eight bank columns, six library pages, the mode switches and the buttons
// that open the other windows. It holds the view state (current bank, page number, modes) and
// offers the refresh operations every librarian command uses to redraw it.

#include <QWidget>

#include <array>

#include "librarian/BaseSettings.h"
#include "librarian/LibraryScope.h"
#include "librarian/MainKeys.h"
#include "librarian/MainMenus.h"
#include "midi/MainWindowLink.h"

class QLabel;
class QMenu;

namespace core {
class Bankson;
class Libson;
class Edtson;
}  // namespace core

namespace controls {
class TWallpaper;
class Tzografsw;
class Tzopotlab;
}  // namespace controls

namespace midi {
class TfrmMidi;
}

namespace librarian {

class VoiceListBox;

inline constexpr int kBankCount = 8;
inline constexpr int kLibraryListCount = 12;
inline constexpr int kBankListLines = 32;
inline constexpr int kLibraryListLines = 16;
// The undo step of a click on a voice line.
inline constexpr char kVoiceClickCaption[] = "Voice Click";

class TfrmMain : public QWidget, public midi::MainWindowLink {
    Q_OBJECT
public:
    using Banks = std::array<core::Bankson*, kBankCount>;

    // Asks for every picture the window shows, for drawing them ahead (controls::artwork).
    static void AskForPictures();

    // Reads the window's place and modes from the "Base" settings and fills every list.
    TfrmMain(const Banks& banks, core::Libson& library, core::Edtson& buffer,
             platform::SettingsStore& store = platform::Settings(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The windows this one opens; each may be left unset while it does not exist.
    void SetMidiWindow(midi::TfrmMidi* window) { midiWindow_ = window; }
    void SetAboutWindow(QWidget* window) { aboutWindow_ = window; }
    void SetOptionsWindow(QWidget* window) { optionsWindow_ = window; }
    void SetMarkersWindow(QWidget* window) { markersWindow_ = window; }

    // --- View state and refresh operations ---
    // Index 0-7 of the first bank switch that is on (0 if none is).
    int CurrentBank() const override;
    int PageNumber() const;
    void SetPageNumber(int page);  // clamps to 0-994 and refreshes the library lists
    bool FunctionsMode() const;    // gswPerform on
    bool PageMode() const;         // gswLib on
    // Where a library command acts now: the page shown first in Page mode, else everywhere.
    LibraryScope Scope() const { return {.wholeLibrary = !PageMode(), .page = PageNumber()}; }
    // bank < 0: the current bank.
    void RefreshBankList(int bank);
    void SetBankLabel(int bank, const QString& text);
    // The six pages from the page number on, and the two counters over the whole library;
    // then libraryRefreshed(). Every command that changes the library ends with it.
    void RefreshLibraryLists();
    // The six pages only: for a change of the page number, which changes nothing the
    // counters count. Lines are updated in place.
    void ShowLibraryPages();

    // Selects bank 0-7 as a click on its switch or name label does.
    void SelectBank(int bank);
    // The handler of the eight bank switches and name labels: the sender's bank becomes
    // current (yellow label, module selected), every other one goes off (grey label).
    void gsw_b1Click(QObject* sender);
    // The page knob moved (while dragged, and on each click).
    void labPagelibChange();
    // The selection finders: the pages from the lowest (highest) page holding a used and
    // selected voice come on screen, limited to the last page number so that the page itself
    // is among the six shown. With no such voice the page number stays.
    void gswLibSelFinderClick();
    void gswLibLastFinderClick();
    // Runs the command of one typed character; false when the character has none.
    bool TypeCharacter(QChar typed);

    // --- midi::MainWindowLink: the menu items that follow the MIDI modes ---
    void SetGetAllBanksEnabled(bool enabled) override;
    void SetMemoryProtectEnabled(bool enabled) override;
    void SetShowSystemInfoEnabled(bool enabled) override;

    // A command that may have changed the banks, the library or the edit buffer has ended:
    // the undo history records its step under `caption` (the menus' commands say so
    // themselves, with their handler).
    void CommandFinished(const QString& caption) { emit commandFinished(QString(), caption); }
    // The end of a drag whose press was a voice click: one step with that click.
    void DragFinished(const QString& caption) { emit dragFinished(caption); }

    // The window's part of the "Base" values (place and modes); the rest stay as given.
    void CollectBaseValues(BaseValues& values) const;

    MainMenus& Menus() { return menus_; }
    // The bank whose list or name label the last menu was opened on, -1 for none.
    int MenuBank() const { return menuBank_; }
    // The library list 0-11 the last library menu was opened on, -1 for none.
    int MenuLibraryList() const { return menuLibraryList_; }

    // Controls, for the commands that read or drive them.
    QLabel* BankLabel(int bank) const { return nombank_.at(bank); }
    controls::Tzografsw* BankSwitch(int bank) const { return gswBank_.at(bank); }
    VoiceListBox* BankList(int bank) const { return listBox_.at(bank); }
    VoiceListBox* LibraryList(int list) const { return lstLib_.at(list); }
    QLabel* BufferLabel() const { return btnBuffer_; }
    QLabel* LibraryLabel() const { return labLib_; }
    QLabel* TrashPicture() const { return btnTrash_; }
    controls::Tzopotlab* PageKnob() const { return labPagelib_; }
    QLabel* SelectedCount() const { return labSel_; }
    QLabel* UsedCount() const { return labOcc_; }
    controls::Tzografsw* PerformSwitch() const { return gswPerform_; }
    controls::Tzografsw* LibrarySwitch() const { return gswLib_; }
    controls::Tzografsw* FirstSelectedFinder() const { return gswLibSelFinder_; }
    controls::Tzografsw* LastSelectedFinder() const { return gswLibLastFinder_; }

    // --- Window buttons ---
    void btnInfosClick();
    void btnOptionsClick();
    void btnMidiConfClick();
    void gswTypesClick();

signals:
    // A right-button release on the edit buffer label: the editor shows the buffer.
    void editBufferRequested();
    // A voice click (or another command) loaded the edit buffer: the editor refreshes its
    // controls from it.
    void editBufferChanged();
    // The window is closing: the program writes its settings and ends.
    void closing();
    // The library lists and counters were refreshed after a command: whatever else shows the
    // library (the markers window) brings itself up to date.
    void libraryRefreshed();
    // See CommandFinished; `handler` is the menu item's handler, empty for other commands.
    void commandFinished(const QString& handler, const QString& caption);
    // See DragFinished.
    void dragFinished(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Pictures;
    static Pictures MainWindowPictures();
    void BuildBankColumns();
    void BuildMiddleStrip(const Pictures& pictures);
    void BuildLibraryLists();
    void ApplyBaseValues(const BaseValues& values);
    void PressFeedback(controls::Tzografsw* button);
    void ShowFoundPage(controls::Tzografsw* finder, int page);
    void ShowInFront(QWidget* window);
    void ShowMenu(QMenu* menu, QWidget* owner, QPoint local);

    Banks banks_;
    core::Libson& library_;
    core::Edtson& buffer_;

    controls::TWallpaper* wallpaper_ = nullptr;
    std::array<QLabel*, kBankCount> nombank_{};
    std::array<controls::Tzografsw*, kBankCount> gswBank_{};
    std::array<VoiceListBox*, kBankCount> listBox_{};
    std::array<VoiceListBox*, kLibraryListCount> lstLib_{};
    controls::Tzografsw* btnInfos_ = nullptr;
    controls::Tzografsw* btnOptions_ = nullptr;
    controls::Tzografsw* btnMidiConf_ = nullptr;
    controls::Tzografsw* gswPerform_ = nullptr;
    QLabel* btnTrash_ = nullptr;
    QLabel* btnBuffer_ = nullptr;
    controls::Tzografsw* gswLib_ = nullptr;
    QLabel* labLib_ = nullptr;
    controls::Tzopotlab* labPagelib_ = nullptr;
    controls::Tzografsw* gswTypes_ = nullptr;
    controls::Tzografsw* gswLibSelFinder_ = nullptr;
    controls::Tzografsw* gswLibLastFinder_ = nullptr;
    QLabel* labSel_ = nullptr;
    QLabel* labOcc_ = nullptr;

    MainMenus menus_;
    int menuBank_ = -1;
    int menuLibraryList_ = -1;

    midi::TfrmMidi* midiWindow_ = nullptr;
    QWidget* aboutWindow_ = nullptr;
    QWidget* optionsWindow_ = nullptr;
    QWidget* markersWindow_ = nullptr;
};

}  // namespace librarian
