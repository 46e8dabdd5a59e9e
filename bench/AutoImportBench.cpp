// "Auto Import Bank" of 1000 bank files (copies of the real banks of the shared folder under
// the names BANK1.SYX … BANK1000.SYX) into an empty library, offscreen: from the file dialog's
// answer to the lists redrawn, the search, the loads, the progress window and the final redraw
// included. The import stops once page 994 is filled, so 995 of the files reach the library.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>

#include <array>
#include <filesystem>
#include <memory>
#include <random>

#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/AutoBankCommands.h"
#include "librarian/TfrmExtract.h"
#include "librarian/TfrmMain.h"
#include "midi/TfrmDump.h"
#include "platform/FileDialogs.h"
#include "platform/MemorySettings.h"
#include "platform/MessageBoxes.h"
#include "tests/core/RealBankFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFileCount = 1000;

// The folder of generated bank files, made once and removed at exit.
class BankFolder {
public:
    BankFolder() {
        path_ = fs::temp_directory_path() / ("mondral-import-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_);
        const std::vector<fs::path> real = core::test::RealBankFiles();
        if (real.empty()) return;
        for (int n = 0; n < kFileCount; ++n)
            fs::copy_file(real[std::size_t(n) % real.size()], path_ / ("BANK" + std::to_string(n + 1) + ".SYX"));
    }
    ~BankFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

struct Program {
    Program() {
        librarian::TfrmMain::Banks pointers;
        for (int n = 0; n < librarian::kBankCount; ++n) pointers[n] = &banks[n];
        window = std::make_unique<librarian::TfrmMain>(pointers, library, buffer, settings);
        dump = std::make_unique<midi::TfrmDump>(window.get());
        extract = std::make_unique<librarian::TfrmExtract>(window->SelectedCount(), window.get());
        commands = std::make_unique<librarian::AutoBankCommands>(*window, pointers, library, *extract,
                                                                 *dump, [](int) { return 1; });
        commands->Connect();
    }

    std::array<core::Bankson, librarian::kBankCount> banks;
    core::Libson library;
    core::Edtson buffer;
    platform::MemorySettings settings;
    std::unique_ptr<librarian::TfrmMain> window;
    std::unique_ptr<midi::TfrmDump> dump;
    std::unique_ptr<librarian::TfrmExtract> extract;
    std::unique_ptr<librarian::AutoBankCommands> commands;
};

void AutoImport1000Files(benchmark::State& state) {
    static BankFolder folder;
    platform::RecordingBoxes boxes;
    platform::RecordingDialogs dialogs;
    Program program;
    program.window->show();
    QApplication::processEvents();
    QAction* item = program.window->Menus().Item(QStringLiteral("AutoImportBankClick"));
    for (auto _ : state) {
        state.PauseTiming();
        program.library.Clear();
        program.window->SetPageNumber(0);
        dialogs.Answer((folder.Path() / "*.SYX").string());
        state.ResumeTiming();
        item->trigger();
        program.window->repaint();
    }
    if (program.window->PageNumber() != librarian::kLastImportPage || program.library.IsPageEmpty(994) ||
        !boxes.Shown().empty())
        state.SkipWithError("the import did not fill pages 0-994");
}

BENCHMARK(AutoImport1000Files)->Unit(benchmark::kMillisecond);

}  // namespace
