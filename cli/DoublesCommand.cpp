// doubles: the groups of identical voices of a library, listed, selected or emptied.

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "cli/Session.h"
#include "cli/Text.h"
#include "core/Libson.h"

namespace cli {
namespace {

constexpr std::string_view kDoublesHelp =
    "usage: mondral-cli doubles LIB.DXL [--select | --delete]\n"
    "\n"
    "Lists the groups of identical voices (every parameter equal, names may differ), found\n"
    "by the librarian's own doubles search, with page and slot.\n"
    "\n"
    "  --select   select the later copies of each group in the library (saved, LIB.BAK kept)\n"
    "  --delete   empty the later copies, keeping the first of each group (saved, LIB.BAK kept)\n";


int Doubles(const Arguments& args, Session& session) {
    if (args.positional.size() != 1) return session.Usage("doubles takes one library file", kDoublesHelp);
    const bool remove = args.Has("--delete"), select = args.Has("--select");
    if (remove && select) return session.Usage("--select and --delete exclude each other", kDoublesHelp);
    const std::string file = args.positional.front();
    const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
    if (!library) return session.Status();

    // The librarian's search marks every voice that has an identical one; those are then
    // listed group by group.
    library->FindDoubles({true, true, false});
    std::map<std::array<core::Byte, core::kVoiceParameterBytes>, std::vector<std::size_t>> groups;
    ForEachUsed(*library, [&](std::size_t position, const core::VoiceSlot& slot) {
        if (!slot.IsSelected()) return;
        std::array<core::Byte, core::kVoiceParameterBytes> key;
        std::copy_n(slot.voice.begin(), key.size(), key.begin());
        groups[key].push_back(position);
    });
    std::vector<std::vector<std::size_t>> ordered;
    for (auto& [key, members] : groups) ordered.push_back(std::move(members));
    std::sort(ordered.begin(), ordered.end());
    std::size_t later = 0;
    for (std::size_t g = 0; g < ordered.size(); ++g) {
        session.Out() << "group " << g + 1 << ": " << ordered[g].size() << " identical voices\n";
        for (std::size_t position : ordered[g]) {
            WriteMember(session.Out(), position, SlotAt(*library, position));
            session.Out() << "\n";
        }
        later += ordered[g].size() - 1;
    }
    session.Out() << Plural(ordered.size(), "group", "groups") << " of identical voices, "
                  << later << (later == 1 ? " later copy" : " later copies") << "\n";
    if (!remove && !select) {
        session.Out() << "The library was not changed.\n";
        return session.Status();
    }
    library->FindDoubles({false, true, remove});
    if (later > 0 && SaveLibrary(*library, file, session))
        session.Out() << (remove ? "Deleted " : "Selected ") << later
                      << (later == 1 ? " later copy" : " later copies") << "; saved " << file
                      << " (the previous file kept as backup).\n";
    return session.Status();
}


}  // namespace

const Command kDoublesCommand{"doubles", kDoublesHelp, {{}, {"--delete", "--select", "--help", "-h"}}, Doubles};

}  // namespace cli
