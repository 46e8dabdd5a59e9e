// The library panel on a full library (bench/FullLibrary.h, some voices selected), offscreen:
// one step of the page knob (the twelve lists brought to the new pages; the counters stay, the
// library has not changed), the same step painted, and the library "Find Doubles" from the
// menu click to the lists redrawn, its progress window included.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>

#include <array>
#include <memory>

#include "FullLibrary.h"
#include "controls/Tzopotlab.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/LibraryCommands.h"
#include "librarian/TfrmMain.h"
#include "midi/TfrmDump.h"
#include "platform/MemorySettings.h"
#include "tests/core/LibraryTestData.h"

namespace {

struct Panel {
    Panel() {
        core::testdata::CopyPages(core::bench::FullLibrary(), library);
        for (int p = 0; p < core::kLibraryPageCount; p += 3)
            library.Page(p)[p % 32].status |= core::kStatusSelected;
        librarian::TfrmMain::Banks pointers;
        for (int n = 0; n < librarian::kBankCount; ++n) pointers[n] = &banks[n];
        window = std::make_unique<librarian::TfrmMain>(pointers, library, buffer, settings);
        commands =
            std::make_unique<librarian::LibraryCommands>(*window, pointers, library, options);
        progress = std::make_unique<midi::TfrmDump>(window.get());
        commands->SetProgress(progress.get());
        commands->Connect();
    }

    // The knob's next value, up and down the whole range as a long drag goes.
    void StepKnob() {
        page += direction;
        if (page == librarian::kLastPageNumber || page == 0) direction = -direction;
        window->PageKnob()->setState(page);
        window->labPagelibChange();
    }

    std::array<core::Bankson, librarian::kBankCount> banks;
    core::Libson library;
    core::Edtson buffer;
    platform::MemorySettings settings;
    librarian::FixedLibrarianOptions options;
    std::unique_ptr<librarian::TfrmMain> window;
    std::unique_ptr<midi::TfrmDump> progress;
    std::unique_ptr<librarian::LibraryCommands> commands;
    int page = 0;
    int direction = 1;
};

// What every library command ends with: the lists and both counters over the whole library.
void RefreshLibraryLists(benchmark::State& state) {
    Panel panel;
    for (auto _ : state) panel.window->RefreshLibraryLists();
}

void PageKnobStep(benchmark::State& state) {
    Panel panel;
    for (auto _ : state) panel.StepKnob();
}

void PageKnobStepPainted(benchmark::State& state) {
    Panel panel;
    panel.window->show();
    QApplication::processEvents();
    for (auto _ : state) {
        panel.StepKnob();
        panel.window->repaint();
    }
}

void LibraryFindDoubles(benchmark::State& state) {
    Panel panel;
    panel.window->show();
    QApplication::processEvents();
    QAction* item = panel.window->Menus().Item(QStringLiteral("mnpFindDblLibClick"));
    for (auto _ : state) {
        item->trigger();
        panel.window->repaint();
    }
}

BENCHMARK(PageKnobStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(RefreshLibraryLists)->Unit(benchmark::kMicrosecond);
BENCHMARK(PageKnobStepPainted)->Unit(benchmark::kMicrosecond);
BENCHMARK(LibraryFindDoubles)->Unit(benchmark::kMillisecond);

}  // namespace
