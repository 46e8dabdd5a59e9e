// The main window with demonstration content: eight banks and six library pages loaded from
// the shared bank files, some voices selected, bank 3 current.

#include <QLabel>

#include <array>
#include <cstdio>
#include <string>

#include "SnapshotRegistry.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/TfrmMain.h"
#include "platform/MemorySettings.h"

namespace {

std::string BankFile(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "/banks/SynprezFM_%02d.syx", number);
    return std::string(MONDRAL_SHARED_DIR) + name;
}

std::unique_ptr<QWidget> MainWindow(qreal) {
    // The data outlive every window the tool renders.
    static std::array<core::Bankson, 8> banks;
    static core::Libson library;
    static core::Edtson buffer;
    static platform::MemorySettings noSettings;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        for (int n = 0; n < 8; ++n) banks[n].LoadBankFile(BankFile(n + 1), false);
        for (int p = 0; p < 6; ++p) {
            core::Bankson source;
            source.LoadBankFile(BankFile(9 + p), false);
            source.CopyToPage(library.Page(p), core::kStatusUsed);
        }
        for (int slot : {2, 3, 17}) banks[0].Page()[slot].status |= core::kStatusSelected;
        for (int slot : {5, 30}) banks[2].Page()[slot].status |= core::kStatusSelected;
        for (int slot : {1, 2, 20}) library.Page(0)[slot].status |= core::kStatusSelected;
        library.Page(3)[9].status |= core::kStatusSelected;
        banks[7].Page()[31].status = 0;  // an empty slot
    }

    librarian::TfrmMain::Banks pointers;
    for (int n = 0; n < 8; ++n) pointers[n] = &banks[n];
    auto window = std::make_unique<librarian::TfrmMain>(pointers, library, buffer, noSettings);
    for (int n = 0; n < 8; ++n)
        window->SetBankLabel(n, QString::fromStdString(banks[n].Name()));
    window->SelectBank(2);
    window->BufferLabel()->setText(QString::fromStdString(banks[2].VoiceName(5)));
    window->LibraryLabel()->setText(QStringLiteral("DemoLibrary"));
    return window;
}

}  // namespace

SNAPSHOT_REGISTER("main_window", MainWindow);
