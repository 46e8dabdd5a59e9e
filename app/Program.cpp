#include "app/Program.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include "app/ShutdownSettings.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/AutoBankCommands.h"
#include "librarian/BankCommands.h"
#include "librarian/CollectionImportCommands.h"
#include "librarian/TfrmImportOptions.h"
#include "librarian/TfrmImportReport.h"
#include "editor/TfrmEditOpt.h"
#include "editor/TfrmEdt.h"
#include "librarian/BankMidiMenus.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/LibraryCommands.h"
#include "librarian/MainDragDrop.h"
#include "librarian/TNameForm.h"
#include "librarian/TfrmExtract.h"
#include "librarian/TfrmInfo.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmOption.h"
#include "librarian/TfrmTypes.h"
#include "librarian/UndoCommands.h"
#include "midi/TfrmDump.h"
#include "midi/TfrmMidi.h"
#include "midi/TfrmSystem.h"
#include "platform/WindowSurface.h"

namespace app {

namespace {

librarian::TfrmMain::Banks BankPointers(
    const std::array<std::unique_ptr<core::Bankson>, librarian::kBankCount>& owned) {
    librarian::TfrmMain::Banks banks;
    for (std::size_t n = 0; n < banks.size(); ++n) banks[n] = owned[n].get();
    return banks;
}

// How long the start-up waits at most for the main window's first frame.
constexpr int kFirstFrameWait = 2000;  // ms

// Notes the first paint of a window.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(QWidget& window) : window_(window) { window_.installEventFilter(this); }
    ~FirstPaintWatch() override { window_.removeEventFilter(this); }
    bool Painted() const { return painted_; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) painted_ = true;
        return false;
    }

private:
    QWidget& window_;
    bool painted_ = false;
};

}  // namespace

Program::Program(midi::Backend& backend, platform::SettingsStore& store, Creation creation)
    : backend_(backend), store_(store) {
    for (auto& bank : banks_) bank = std::make_unique<core::Bankson>();
    library_ = std::make_unique<core::Libson>();
    buffer_ = std::make_unique<core::Edtson>();
    main_ = std::make_unique<librarian::TfrmMain>(BankPointers(banks_), *library_, *buffer_, store_);
    if (creation == Creation::AllWindows) CreateOtherWindows();
}

void Program::CreateOtherWindows() {
    const librarian::TfrmMain::Banks banks = BankPointers(banks_);
    info_ = std::make_unique<librarian::TfrmInfo>(main_.get());
    options_ = std::make_unique<librarian::TfrmOption>(store_);
    optionsRead_ = std::make_unique<librarian::WindowOptions<librarian::TfrmOption>>(*options_);
    midi_ = std::make_unique<midi::TfrmMidi>(backend_, main_.get(), store_);
    dump_ = std::make_unique<midi::TfrmDump>(main_.get());
    nameForm_ = std::make_unique<librarian::TNameForm>();
    types_ =
        std::make_unique<librarian::TfrmTypes>(*library_, *main_, *optionsRead_, *nameForm_, store_);
    system_ = std::make_unique<midi::TfrmSystem>(main_.get());
    extract_ = std::make_unique<librarian::TfrmExtract>(main_->SelectedCount(), main_.get());
    libraryCommands_ =
        std::make_unique<librarian::LibraryCommands>(*main_, banks, *library_, *optionsRead_);
    libraryCommands_->SetMarkersWindow(types_.get());
    libraryCommands_->SetProgress(dump_.get());
    libraryCommands_->Connect();
    autoBank_ = std::make_unique<librarian::AutoBankCommands>(
        *main_, banks, *library_, *extract_, *dump_,
        [this](int module) { return midi_->ModuleChannel(std::size_t(module)); });
    autoBank_->Connect();
    importOptions_ = std::make_unique<librarian::TfrmImportOptions>(main_.get());
    importReport_ = std::make_unique<librarian::TfrmImportReport>(main_.get());
    collectionImport_ = std::make_unique<librarian::CollectionImportCommands>(
        *main_, *library_, *dump_,
        [this](const std::vector<std::filesystem::path>& folders) { return importOptions_->Ask(folders); },
        [this](const core::CollectionReport& report) {
            importReport_->ShowReport(core::CollectionReportText(report));
        });
    collectionImport_->SetMarkersWindow(types_.get());
    collectionImport_->Connect();
    // "Run Search by Name" of the options window.
    QObject::connect(options_.get(), &librarian::TfrmOption::autoSearchNameRequested, main_.get(),
                     [this] {
                         libraryCommands_->mnpFinOccLib1Click();
                         main_->gswLibSelFinderClick();
                         main_->CommandFinished(QStringLiteral("Search by Name"));
                     });
    bankMidi_ = std::make_unique<librarian::BankMidiMenus>(*main_, banks, *midi_, *dump_, *system_);
    // The options window reaches the editor's displays, so the editor comes first.
    editor_ = std::make_unique<editor::TfrmEdt>(*buffer_, &midi_->Messages(), main_.get(), store_);
    editorOptions_ = std::make_unique<editor::TfrmEditOpt>(
        editor::EditorDisplaySet{editor_->EnvelopeDisplays(), editor_->KeyScalingDisplays()},
        editor_.get(), store_);
    editor_->SetOptionsWindow(editorOptions_.get());
    editor_->SetNameEditor([this](const QString& name) -> std::optional<QString> {
        return nameForm_->Edit(QStringLiteral("Edit Voice Name"), name);
    });
    dragDrop_ = std::make_unique<librarian::MainDragDrop>(*main_, banks, *library_, *buffer_,
                                                          *options_);
    // After the drop has ended: the import asks its options in a dialog of its own.
    dragDrop_->SetFolderDrop([this](const std::vector<std::filesystem::path>& folders) {
        QTimer::singleShot(0, main_.get(), [this, folders] { collectionImport_->ImportFolders(folders); });
    });

    main_->SetAboutWindow(info_.get());
    main_->SetOptionsWindow(options_.get());
    main_->SetMarkersWindow(types_.get());
    main_->SetMidiWindow(midi_.get());
    midi_->SetMainWindowLink(main_.get());
    // Owned by the main window, as its menus are.
    new librarian::BankCommands(*main_, banks, *library_, *buffer_, *options_, *midi_);
    QObject::connect(main_.get(), &librarian::TfrmMain::editBufferRequested, editor_.get(), [this] {
        editor_->Refill();
        editor_->show();
        editor_->raise();
        editor_->activateWindow();
    });
    QObject::connect(main_.get(), &librarian::TfrmMain::editBufferChanged, editor_.get(),
                     [this] { editor_->Refill(); });
    QObject::connect(editor_.get(), &editor::TfrmEdt::nameChanged, main_.get(),
                     [this](const QString& name) { main_->BufferLabel()->setText(name); });
    // The history starts from the state every window now shows.
    undo_ = std::make_unique<librarian::UndoCommands>(*main_, banks, *library_, *buffer_);
    undo_->AddShortcutsTo(types_.get());
    undo_->AddShortcutsTo(options_.get());
    QObject::connect(editor_.get(), &editor::TfrmEdt::editRecorded, undo_.get(),
                     [this] { undo_->Absorb(); });
    QObject::connect(undo_.get(), &librarian::UndoCommands::bufferMayHaveChanged, editor_.get(),
                     [this] { editor_->TakeBufferAsIs(); });
    QObject::connect(main_.get(), &librarian::TfrmMain::closing, main_.get(), [this] {
        WriteSettings();
        QCoreApplication::quit();
    });
}

void Program::WriteSettings() {
    librarian::BaseValues base;
    main_->CollectBaseValues(base);
    options_->CollectBaseValues(base);
    types_->CollectBaseValues(base);
    WriteShutdownSettings(base, *midi_, *editor_, *editorOptions_, store_);
}

Program::~Program() {
    if (midi_) midi_->ClosePorts();
    undo_.reset();
    dragDrop_.reset();
    editorOptions_.reset();
    editor_.reset();
    autoBank_.reset();
    collectionImport_.reset();
    importReport_.reset();
    importOptions_.reset();
    libraryCommands_.reset();
    bankMidi_.reset();
    extract_.reset();
    system_.reset();
    types_.reset();
    nameForm_.reset();
    dump_.reset();
    midi_.reset();
    options_.reset();
    info_.reset();
    main_.reset();
    for (auto& bank : banks_) bank.reset();
    library_.reset();
    buffer_.reset();
}

void Program::Start() {
    midi_->ListPorts();
    // The emulated rack's sound starts once the windows are up: it never holds up the start.
    QTimer::singleShot(0, midi_.get(), [midi = midi_.get()] { midi->OpenAudio(); });
    main_->show();
    if (options_->OpenAtStart()) options_->show();
    if (types_->OpenAtStart()) types_->show();
}

bool Program::StartMainWindowFirst() {
    {
        FirstPaintWatch watch(*main_);
        platform::PrepareWindowSurface(*main_);
        main_->show();
        // The window system's answers only: a key or click waits in its queue until every
        // window exists. The deadline keeps a display that never paints from stopping here.
        bool late = false;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [&late] { late = true; });
        deadline.start(kFirstFrameWait);
        while (!watch.Painted() && main_->isVisible() && !late)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::WaitForMoreEvents);
    }
    // Closed already (a session end can come that early): the close still writes the
    // settings, which the other windows hold a part of.
    const bool closed = !main_->isVisible();
    CreateOtherWindows();
    if (closed) {
        WriteSettings();
        return false;
    }
    Start();
    return true;
}

}  // namespace app
