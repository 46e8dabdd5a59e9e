#pragma once
// The options of one command: "--name value", "--name=value", switches, and the positional
// arguments in their order. Anything unknown is a usage error.

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct OptionSpec {
    std::vector<std::string_view> valued;    // take a value: "--library", "-o"
    std::vector<std::string_view> switches;  // stand alone: "--json", "--help"
};

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::set<std::string, std::less<>> switches;
    std::string error;  // empty when the arguments fit the spec

    bool Has(std::string_view name) const { return switches.count(name) || values.count(name); }
    std::optional<std::string> Value(std::string_view name) const;
};

// "--" ends the options: what follows is positional even when it starts with "-".
Arguments ParseArguments(std::span<const std::string> args, const OptionSpec& spec);

// A whole decimal number within [low, high], or nothing.
std::optional<int> ParseNumber(std::string_view text, int low, int high);

}  // namespace cli
