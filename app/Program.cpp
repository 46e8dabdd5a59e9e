#include "app/Program.h"

#include <QCoreApplication>

#include "app/ShutdownSettings.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/BankCommands.h"
#include "librarian/BankMidiMenus.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/LibraryCommands.h"
#include "librarian/TNameForm.h"
#include "librarian/TfrmInfo.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmOption.h"
#include "librarian/TfrmTypes.h"
#include "midi/TfrmDump.h"
#include "midi/TfrmMidi.h"
#include "midi/TfrmSystem.h"

namespace app {

Program::Program(midi::Backend& backend, platform::SettingsStore& store) : store_(store) {
    for (auto& bank : banks_) bank = std::make_unique<core::Bankson>();
    library_ = std::make_unique<core::Libson>();
    buffer_ = std::make_unique<core::Edtson>();

    librarian::TfrmMain::Banks banks;
    for (std::size_t n = 0; n < banks.size(); ++n) banks[n] = banks_[n].get();
    main_ = std::make_unique<librarian::TfrmMain>(banks, *library_, *buffer_, store_);
    info_ = std::make_unique<librarian::TfrmInfo>(main_.get());
    options_ = std::make_unique<librarian::TfrmOption>(store_);
    optionsRead_ = std::make_unique<librarian::WindowOptions<librarian::TfrmOption>>(*options_);
    midi_ = std::make_unique<midi::TfrmMidi>(backend, main_.get(), store_);
    dump_ = std::make_unique<midi::TfrmDump>(main_.get());
    nameForm_ = std::make_unique<librarian::TNameForm>();
    types_ =
        std::make_unique<librarian::TfrmTypes>(*library_, *main_, *optionsRead_, *nameForm_, store_);
    system_ = std::make_unique<midi::TfrmSystem>(main_.get());
    libraryCommands_ =
        std::make_unique<librarian::LibraryCommands>(*main_, banks, *library_, *optionsRead_);
    libraryCommands_->SetMarkersWindow(types_.get());
    libraryCommands_->SetProgress(dump_.get());
    libraryCommands_->Connect();
    // "Run Search by Name" of the options window.
    QObject::connect(options_.get(), &librarian::TfrmOption::autoSearchNameRequested, main_.get(),
                     [this] {
                         libraryCommands_->mnpFinOccLib1Click();
                         main_->gswLibSelFinderClick();
                     });
    bankMidi_ = std::make_unique<librarian::BankMidiMenus>(*main_, banks, *midi_, *dump_, *system_);

    main_->SetAboutWindow(info_.get());
    main_->SetOptionsWindow(options_.get());
    main_->SetMarkersWindow(types_.get());
    main_->SetMidiWindow(midi_.get());
    midi_->SetMainWindowLink(main_.get());
    // Owned by the main window, as its menus are.
    new librarian::BankCommands(*main_, banks, *library_, *buffer_, *options_, *midi_);
    QObject::connect(main_.get(), &librarian::TfrmMain::closing, main_.get(), [this] {
        librarian::BaseValues base;
        main_->CollectBaseValues(base);
        options_->CollectBaseValues(base);
        types_->CollectBaseValues(base);
        WriteShutdownSettings(base, *midi_, store_);
        QCoreApplication::quit();
    });
}

Program::~Program() {
    if (midi_) midi_->ClosePorts();
    libraryCommands_.reset();
    bankMidi_.reset();
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
    main_->show();
    if (options_->OpenAtStart()) options_->show();
    if (types_->OpenAtStart()) types_->show();
}

}  // namespace app
