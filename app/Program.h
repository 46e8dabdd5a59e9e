#pragma once
// The program's long-lived objects and its start-up and shutdown sequence: the eight banks,
// the library and the edit buffer, then the windows, each reading its own settings; the MIDI
// ports opened before the window loop and closed after it; the data objects destroyed last.

#include <array>
#include <memory>

#include "platform/SettingsStore.h"

namespace core {
class Bankson;
class Edtson;
class Libson;
}  // namespace core
namespace librarian {
class AutoBankCommands;
class CollectionImportCommands;
class TfrmImportOptions;
class TfrmImportReport;
class BankMidiMenus;
class LibrarianOptions;
class LibraryCommands;
class TfrmExtract;
class MainDragDrop;
class TfrmInfo;
class TfrmOption;
class TfrmMain;
class TfrmTypes;
class TNameForm;
class UndoCommands;
}  // namespace librarian
namespace midi {
class Backend;
class TfrmDump;
class TfrmMidi;
class TfrmSystem;
}  // namespace midi

namespace editor {
class TfrmEdt;
class TfrmEditOpt;
}  // namespace editor

namespace app {

class Program {
public:
    // How much of the start-up the constructor does: everything, or the data objects and the
    // main window only (the other windows follow in StartMainWindowFirst).
    enum class Creation { AllWindows, MainWindowFirst };

    // Creates the data objects and the windows (nothing is shown yet). The backend lists the
    // MIDI devices; it must outlive the program.
    explicit Program(midi::Backend& backend, platform::SettingsStore& store = platform::Settings(),
                     Creation creation = Creation::AllWindows);
    // Closes the ports, destroys the windows, then the banks, the library, the edit buffer.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Lists and opens the MIDI ports and shows the main window, then the options window when it
    // was open at the last close. Closing the main window writes the settings and ends the
    // window loop.
    void Start();
    // The start-up of the real program, for a main window on screen as early as possible: shows
    // the main window and waits for its first frame without taking any user input, then creates
    // the other windows in their order and goes on as Start(). Returns false when the main
    // window was closed before its first frame: the settings are then written as at any close
    // and nothing is left to run.
    bool StartMainWindowFirst();

    librarian::TfrmMain& MainWindow() { return *main_; }
    midi::TfrmMidi& MidiWindow() { return *midi_; }
    librarian::TfrmOption& OptionsWindow() { return *options_; }
    librarian::TfrmTypes& MarkersWindow() { return *types_; }
    librarian::LibraryCommands& LibraryCommands() { return *libraryCommands_; }
    midi::TfrmDump& DumpWindow() { return *dump_; }
    midi::TfrmSystem& SystemWindow() { return *system_; }
    librarian::TfrmExtract& ExtractorWindow() { return *extract_; }
    librarian::CollectionImportCommands& CollectionImport() { return *collectionImport_; }
    librarian::TfrmImportOptions& ImportOptionsWindow() { return *importOptions_; }
    librarian::TfrmImportReport& ImportReportWindow() { return *importReport_; }
    editor::TfrmEdt& EditorWindow() { return *editor_; }
    editor::TfrmEditOpt& EditorOptionsWindow() { return *editorOptions_; }
    librarian::UndoCommands& Undo() { return *undo_; }
    core::Bankson& Bank(int n) { return *banks_.at(n); }
    core::Libson& Library() { return *library_; }
    core::Edtson& EditBuffer() { return *buffer_; }

private:
    void CreateOtherWindows();
    void WriteSettings();  // everything the windows write at the close, in order

    midi::Backend& backend_;
    platform::SettingsStore& store_;
    std::array<std::unique_ptr<core::Bankson>, 8> banks_;
    std::unique_ptr<core::Libson> library_;
    std::unique_ptr<core::Edtson> buffer_;
    std::unique_ptr<librarian::TfrmMain> main_;
    std::unique_ptr<librarian::TfrmInfo> info_;
    std::unique_ptr<librarian::TfrmOption> options_;
    std::unique_ptr<midi::TfrmMidi> midi_;
    std::unique_ptr<librarian::LibrarianOptions> optionsRead_;
    std::unique_ptr<librarian::TNameForm> nameForm_;
    std::unique_ptr<librarian::TfrmTypes> types_;
    std::unique_ptr<librarian::LibraryCommands> libraryCommands_;
    std::unique_ptr<librarian::AutoBankCommands> autoBank_;
    std::unique_ptr<librarian::TfrmImportOptions> importOptions_;
    std::unique_ptr<librarian::TfrmImportReport> importReport_;
    std::unique_ptr<librarian::CollectionImportCommands> collectionImport_;
    std::unique_ptr<midi::TfrmDump> dump_;
    std::unique_ptr<midi::TfrmSystem> system_;
    std::unique_ptr<librarian::TfrmExtract> extract_;
    std::unique_ptr<librarian::BankMidiMenus> bankMidi_;
    std::unique_ptr<editor::TfrmEdt> editor_;
    std::unique_ptr<editor::TfrmEditOpt> editorOptions_;
    std::unique_ptr<librarian::MainDragDrop> dragDrop_;
    std::unique_ptr<librarian::UndoCommands> undo_;
};

}  // namespace app
