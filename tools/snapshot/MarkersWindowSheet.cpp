// The markers window over a library of real banks, a few markers named and given to voices,
// marker 2 highlighted; and the name window renaming it.

#include <QLineEdit>

#include <array>
#include <cstdio>
#include <string>

#include "SnapshotRegistry.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/TNameForm.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmTypes.h"
#include "platform/MemorySettings.h"

namespace {

std::string BankFile(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "/banks/SynprezFM_%02d.syx", number);
    return std::string(MONDRAL_SHARED_DIR) + name;
}

// The objects behind the markers window, kept for the whole run of the tool.
struct Scene {
    Scene() {
        for (int p = 0; p < 24; ++p) {
            core::Bankson bank;
            bank.LoadBankFile(BankFile(p + 1), false);
            bank.CopyToPage(library.Page(p), core::kStatusUsed);
        }
        const char* names[] = {"Unsorted", "Bass", "Piano", "E.Piano", "Organ", "Strings 10",
                               "Brass", "Pads"};
        for (int m = 0; m < 8; ++m) library.SetMarkerName(m, names[m]);
        for (int g = 0; g < 24 * 32; ++g) {
            if (g % 5 == 0) continue;  // marker 0
            library.Page(g / 32)[g % 32].status = core::Byte(core::kStatusUsed | ((1 + g % 7) << 2));
        }
        librarian::TfrmMain::Banks pointers;
        for (int n = 0; n < 8; ++n) pointers[n] = &banks[n];
        main = std::make_unique<librarian::TfrmMain>(pointers, library, buffer, settings);
    }
    std::array<core::Bankson, 8> banks;
    core::Libson library;
    core::Edtson buffer;
    platform::MemorySettings settings;
    librarian::FixedLibrarianOptions options;
    std::unique_ptr<librarian::TfrmMain> main;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

std::unique_ptr<QWidget> MarkersWindow(qreal) {
    Scene& scene = TheScene();
    static librarian::TNameForm nameForm;
    auto window = std::make_unique<librarian::TfrmTypes>(scene.library, *scene.main, scene.options,
                                                         nameForm, scene.settings);
    window->HighlightMarker(2);
    return window;
}

std::unique_ptr<QWidget> NameWindow(qreal) {
    auto form = std::make_unique<librarian::TNameForm>();
    form->setWindowTitle(QStringLiteral("Edit Type Name"));
    form->edtName()->setText(QStringLiteral("Piano"));
    return form;
}

}  // namespace

SNAPSHOT_REGISTER("markers_window", MarkersWindow);
SNAPSHOT_REGISTER("name_window", NameWindow);
