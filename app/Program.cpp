#include "app/Program.h"

#include <QCoreApplication>

#include "app/ShutdownSettings.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/BankMidiMenus.h"
#include "librarian/TfrmInfo.h"
#include "librarian/TfrmMain.h"
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
    midi_ = std::make_unique<midi::TfrmMidi>(backend, main_.get(), store_);
    dump_ = std::make_unique<midi::TfrmDump>(main_.get());
    system_ = std::make_unique<midi::TfrmSystem>(main_.get());
    bankMidi_ = std::make_unique<librarian::BankMidiMenus>(*main_, banks, *midi_, *dump_, *system_);

    main_->SetAboutWindow(info_.get());
    main_->SetMidiWindow(midi_.get());
    midi_->SetMainWindowLink(main_.get());
    QObject::connect(main_.get(), &librarian::TfrmMain::closing, main_.get(), [this] {
        WriteShutdownSettings(*main_, *midi_, store_);
        QCoreApplication::quit();
    });
}

Program::~Program() {
    if (midi_) midi_->ClosePorts();
    bankMidi_.reset();
    system_.reset();
    dump_.reset();
    midi_.reset();
    info_.reset();
    main_.reset();
    for (auto& bank : banks_) bank.reset();
    library_.reset();
    buffer_.reset();
}

void Program::Start() {
    midi_->ListPorts();
    main_->show();
}

}  // namespace app
