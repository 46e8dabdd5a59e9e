// similar: near-duplicate voices of a library, grouped and ranked.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "cli/Session.h"
#include "cli/SimilarVoices.h"
#include "cli/Text.h"
#include "core/Libson.h"

namespace cli {
namespace {

constexpr std::string_view kSimilarHelp =
    "usage: mondral-cli similar LIB.DXL [--threshold T] [--select]\n"
    "\n"
    "Lists groups of near-duplicate voices: voices whose parameters differ only a little,\n"
    "linked in chains of pairs at most T apart. The distance weighs each parameter by how\n"
    "much its change is heard (see the README). Tightest groups first; each member with its\n"
    "page, slot, name and distance to the group's first voice.\n"
    "\n"
    "  --threshold T   0-16 (default 8); 0 finds voices with equal parameters\n"
    "  --select        select every member of every group in the library (the selection is\n"
    "                  cleared first; saved, LIB.BAK kept)\n";


int Similar(const Arguments& args, Session& session) {
    if (args.positional.size() != 1) return session.Usage("similar takes one library file", kSimilarHelp);
    int threshold = kDefaultThreshold;
    if (const std::optional<std::string> text = args.Value("--threshold")) {
        const std::optional<int> number = ParseNumber(*text, 0, kMaxThreshold);
        if (!number) return session.Usage("--threshold takes a number 0-" + std::to_string(kMaxThreshold), kSimilarHelp);
        threshold = *number;
    }
    const std::string file = args.positional.front();
    const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
    if (!library) return session.Status();

    std::vector<std::size_t> positions;
    std::vector<ParameterVector> voices;
    ForEachUsed(*library, [&](std::size_t position, const core::VoiceSlot& slot) {
        positions.push_back(position);
        voices.push_back(ParametersOf(slot.voice));
    });
    const std::vector<RankedGroup> groups = RankGroups(voices, FindSimilarGroups(voices, threshold));
    std::size_t members = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const RankedGroup& group = groups[g];
        session.Out() << "group " << g + 1 << ": " << group.members.size()
                      << " voices, spread " << group.spread << "\n";
        for (std::size_t m = 0; m < group.members.size(); ++m) {
            const std::size_t position = positions[group.members[m]];
            WriteMember(session.Out(), position, SlotAt(*library, position));
            session.Out() << "  " << group.distanceToFirst[m] << "\n";
        }
        members += group.members.size();
    }
    session.Out() << Plural(groups.size(), "group", "groups") << " of similar voices, "
                  << Plural(members, "voice", "voices") << " (threshold " << threshold << ")\n";
    if (!args.Has("--select")) return session.Status();
    library->ClearSelection();
    for (const RankedGroup& group : groups)
        for (std::uint32_t m : group.members) SlotAt(*library, positions[m]).status |= core::kStatusSelected;
    if (SaveLibrary(*library, file, session))
        session.Out() << "Selected " << Plural(members, "voice", "voices") << "; saved " << file
                      << " (the previous file kept as backup).\n";
    return session.Status();
}


}  // namespace

const Command kSimilarCommand{"similar", kSimilarHelp, {{"--threshold"}, {"--select", "--help", "-h"}}, Similar};

}  // namespace cli
