// The progress window during a "Get All", and a module's system information.

#include <array>

#include "SnapshotRegistry.h"
#include "controls/TDigitBox.h"
#include "midi/TfrmDump.h"
#include "midi/TfrmSystem.h"

namespace {

std::unique_ptr<QWidget> DumpWindow(qreal) {
    auto window = std::make_unique<midi::TfrmDump>();
    window->SetCaption("Get All");
    window->DigitBox1->setValue(3);
    return window;
}

std::unique_ptr<QWidget> SystemWindow(qreal) {
    auto window = std::make_unique<midi::TfrmSystem>();
    const std::array<midi::Byte, midi::kSystemInfoSize> info{'T', 'F', '1', ' ', ' ', ' ', ' ', ' ',
                                                             ' ', ' ', 1, 3, 0x10, 4, 25, 0};
    window->Fill(info, 4);
    return window;
}

}  // namespace

SNAPSHOT_REGISTER("dump_window", DumpWindow);
SNAPSHOT_REGISTER("system_window", SystemWindow);
