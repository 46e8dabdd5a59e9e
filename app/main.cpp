// Mondral: start-up, the window loop and shutdown. Any error that escapes is shown in an error
// box and ends the program with a non-zero status.

#include <exception>

#include "app/GuardedApplication.h"
#include "app/Program.h"
#include "app/SessionEnd.h"
#include "controls/Artwork.h"
#include "librarian/TfrmMain.h"
#include "midi/CompositeBackend.h"
#include "midi/EmulatedRack.h"
#include "midi/RtMidiBackend.h"
#include "platform/MessageBoxes.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtSettingsStore.h"

namespace {

constexpr const char* kTitle = "Mondral";

}  // namespace

int main(int argc, char* argv[]) {
    // Qt takes its own options from the command line; the program has none.
    app::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kTitle));
    QApplication::setPalette(controls::artwork::RackPalette());
    platform::QtMessageBoxes boxes;
    platform::SetBoxes(&boxes);
    platform::QtSettingsStore settings;
    platform::SetSettings(&settings);

    int status = 0;
    try {
        // The platform's MIDI devices first, the emulated rack last.
        midi::RtMidiBackend devices;
        midi::EmulatedRack rack;
        midi::CompositeBackend backend({&devices, &rack});
        app::Program program(backend, settings);
        app::SessionEnd sessionEnd([&program] { program.MainWindow().close(); });
        program.Start();
        status = application.exec();
    } catch (const std::exception& error) {
        platform::ShowError(kTitle, error.what());
        status = 1;
    } catch (...) {
        platform::ShowError(kTitle, "Unknown error");
        status = 1;
    }
    platform::SetSettings(nullptr);
    platform::SetBoxes(nullptr);
    return status;
}
