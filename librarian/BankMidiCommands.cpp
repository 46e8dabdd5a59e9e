#include "librarian/BankMidiCommands.h"

#include <algorithm>
#include <memory>

namespace librarian {

BankMidiCommands::BankMidiCommands(const Banks& banks, BankPanel& panel, midi::DumpEngine& engine,
                                   midi::DumpProgress& progress)
    : banks_(banks), panel_(panel), engine_(engine), progress_(progress) {}

int BankMidiCommands::What() const {
    return panel_.FunctionsMode() ? midi::kDumpVoices | midi::kDumpFunctions : midi::kDumpVoices;
}

int BankMidiCommands::ModuleCount() const {
    return std::clamp(engine_.Settings().moduleCount, 1, int(core::kModuleCount));
}

bool BankMidiCommands::Fetch(int bank, int what) {
    core::Bankson& target = *banks_.at(bank);
    engine_.Messages().SelectModule(std::size_t(bank));
    const std::span<core::Byte> block(reinterpret_cast<core::Byte*>(&target.Slots()),
                                      sizeof(core::BankSlotBlock));
    // A failed fetch has written nothing (its box says what went wrong): the bank may hold
    // voices not saved anywhere, so it keeps them, its function records and its label.
    if (engine_.ReceiveDump(block, what, std::size_t(bank))) return false;
    panel_.SetBankLabel(bank, kMidiNewLabel);
    panel_.RefreshBankList(bank);
    return true;
}

void BankMidiCommands::Send(int bank, int what, midi::SendBuffer& buffer) {
    const core::Bankson& source = *banks_.at(bank);
    core::PageToBankImage(source.Page(), std::span(buffer).first<core::kBankImageSize>());
    if (what & midi::kDumpFunctions) {
        const auto* functions = reinterpret_cast<const core::Byte*>(source.Functions().data());
        std::copy_n(functions, core::kFunctionBankSize, buffer.begin() + core::kBankImageSize);
    }
    engine_.SendBankDump(buffer, what, std::size_t(bank));
}

void BankMidiCommands::GetBank(int bank) { Fetch(bank, What()); }

void BankMidiCommands::SendBank(int bank) {
    const auto buffer = std::make_unique<midi::SendBuffer>();
    Send(bank, What(), *buffer);
}

void BankMidiCommands::GetAllBanks() {
    const int what = What();
    const int count = ModuleCount();
    midi::ShownProgress shown(progress_, kGetAllCaption);
    for (int module = 0; module < count; ++module) {
        shown.SetCounter(module + 1);
        if (!Fetch(module, what)) break;
    }
}

void BankMidiCommands::SendAllBanks() {
    const int what = What();
    const int count = ModuleCount();
    const auto buffer = std::make_unique<midi::SendBuffer>();
    midi::ShownProgress shown(progress_, kSendAllCaption);
    for (int module = 0; module < count; ++module) {
        shown.SetCounter(module + 1);
        Send(module, what, *buffer);
    }
}

bool BankMidiCommands::FetchSystemInfo(int bank, SystemInfoBytes& info) {
    engine_.Messages().SelectModule(std::size_t(bank));
    return !engine_.ReceiveDump(info, midi::kDumpSystemInfo, std::size_t(bank));
}

void BankMidiCommands::ToggleMemoryProtect(int bank) {
    engine_.Messages().ToggleMemoryProtect(std::size_t(bank));
}

void BankMidiCommands::ToggleMemoryProtectAll() {
    for (int module = 0; module < ModuleCount(); ++module) ToggleMemoryProtect(module);
}

std::optional<bool> BankMidiCommands::MemoryProtectOn(int bank) const {
    const midi::SysexMessages& messages = engine_.Messages();
    if (!messages.MemoryProtectSent(std::size_t(bank))) return std::nullopt;
    return messages.MemoryProtectState(std::size_t(bank)) != midi::kMemoryProtectOff;
}

std::vector<std::optional<bool>> BankMidiCommands::MemoryProtectAllOn() const {
    std::vector<std::optional<bool>> states;
    for (int module = 0; module < ModuleCount(); ++module) states.push_back(MemoryProtectOn(module));
    return states;
}

}  // namespace librarian
