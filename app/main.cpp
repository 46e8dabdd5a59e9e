// Mondral: start-up, the window loop and shutdown. Any error that escapes is shown in an error
// box and ends the program with a non-zero status.

#include "app/GuardedApplication.h"
#include "app/Program.h"
#include "app/RunGuarded.h"
#include "app/SessionEnd.h"
#include "controls/Artwork.h"
#include "controls/RackStyle.h"
#include "core/Libson.h"
#include "librarian/TfrmMain.h"
#include "midi/CompositeBackend.h"
#include "midi/EmulatedRack.h"
#include "midi/DeviceModule.h"
#include "platform/FontConfigWarmUp.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtSettingsStore.h"
#include "platform/SessionBusAddress.h"
#include "platform/SessionBusAhead.h"

int main(int argc, char* argv[]) {
    // Before any thread starts: it may set an environment variable.
    platform::SkipUnreachableSessionBus();
    // Started before the window system connection is made, to be done by the time they are
    // needed: the library's memory, the font configuration.
    core::Libson::PrepareMemoryAhead();
    const platform::FontConfigWarmUp fonts;
    // Qt takes its own options from the command line; the program has none.
    app::GuardedApplication application(argc, argv);
    // Made while the main window is built: the accessibility support waits for it otherwise.
    const platform::SessionBusAhead sessionBus;
    // The main window's pictures and the icon are drawn meanwhile on a helper thread.
    const controls::artwork::PicturesAhead pictures([] {
        librarian::TfrmMain::AskForPictures();
        controls::artwork::AppIconSet();
    });
    QApplication::setApplicationName(QString::fromLatin1(app::kProgramTitle));
    QApplication::setStyle(new controls::RackStyle);
    QApplication::setPalette(controls::artwork::RackPalette());
    // Ties the windows to the installed desktop entry (its name and icon in the desktop's lists).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvane.Mondral"));
    platform::QtMessageBoxes boxes;
    platform::SetBoxes(&boxes);
    platform::QtFileDialogs dialogs;
    platform::SetDialogs(&dialogs);
    platform::QtSettingsStore settings;
    platform::SetSettings(&settings);

    const int status = app::RunGuarded([&] {
        // The platform's MIDI devices first, the emulated rack last.
        midi::DeviceModule devices(
            (QCoreApplication::applicationDirPath() + QStringLiteral("/" MONDRAL_MODULE_FROM_BIN))
                .toStdString(),
            "Mondral");
        midi::EmulatedRack rack;
        midi::CompositeBackend backend({&devices, &rack});
        app::Program program(backend, settings, app::Program::Creation::MainWindowFirst);
        QApplication::setWindowIcon(controls::artwork::AppIconSet());
        app::SessionEnd sessionEnd([&program] { program.MainWindow().close(); });
        if (!program.StartMainWindowFirst()) return 0;
        return application.exec();
    });
    platform::SetSettings(nullptr);
    platform::SetDialogs(nullptr);
    platform::SetBoxes(nullptr);
    return status;
}
