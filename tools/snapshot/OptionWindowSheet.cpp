// The options window with a search under way: a text typed with the DX7's own characters,
// position 3, Swap and both doubles sides on.

#include <QLineEdit>

#include "SnapshotRegistry.h"
#include "controls/Tzopotlab.h"
#include "librarian/TfrmOption.h"
#include "platform/MemorySettings.h"

namespace {

std::unique_ptr<QWidget> OptionWindow(qreal) {
    static platform::MemorySettings noSettings;
    auto window = std::make_unique<librarian::TfrmOption>(noSettings);
    window->SearchField()->setText(QString::fromUtf8("PIANO\u00a5"));
    window->PositionKnob()->setState(3);
    window->OptionClick(librarian::OptionSwitch::Swap);
    window->OptionClick(librarian::OptionSwitch::First);
    window->OptionClick(librarian::OptionSwitch::MultiSelect);
    return window;
}

}  // namespace

SNAPSHOT_REGISTER("option_window", OptionWindow);
