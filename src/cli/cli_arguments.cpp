// SPDX-License-Identifier: MIT
#include "cli/cli_arguments.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/version.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "cli/help_text.h"
#include "cli/shown_text.h"

namespace pelmora {

namespace {
// The arguments sorted: the operands in order (the command's name first), the value of
// each option given (in the option table's order; "" for a flag), and --json.
struct SortedArguments {
    std::vector<std::string> operands;
    std::vector<std::optional<std::string>> values = std::vector<std::optional<std::string>>(CliOptions().size());
    bool json = false;
};

// The request of the sorted arguments: the command found by its name, each option checked
// to be one of its own, then its operands read, then the options' values.
std::variant<CliRequest, CliResult> RequestOf(const SortedArguments& sorted) {
    if (sorted.operands.empty()) return BadArguments("wants a command: " + CliCommandNames());
    const std::string& name = sorted.operands.front();
    const CliCommand* command = FindCliCommand(name);
    if (!command) return BadArguments("unknown command " + QuotedInMessage(name) + "; wants " + CliCommandNames());
    CliRequest request;
    request.command = command;
    request.json = sorted.json;
    const auto options = CliOptions();
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (!sorted.values[i]) continue;
        bool own = false;
        for (const std::string_view option : command->options) own = own || option == options[i].name;
        if (!own) return BadArguments(std::string(options[i].name) + ": not an option of " + name);
    }
    const std::vector<std::string> operands(sorted.operands.begin() + 1, sorted.operands.end());
    if (auto bad = command->readOperands(operands, request)) return *bad;
    for (std::size_t i = 0; i < options.size(); ++i)
        if (sorted.values[i])
            if (auto complaint = options[i].read(*sorted.values[i], request)) return BadArguments(*complaint);
    return request;
}
}  // namespace

namespace {
std::string BackendNames(const CliBackends& backends) {
    std::string names;
    for (std::size_t i = 0; i < backends.offered.size(); ++i)
        names += (i == 0                             ? ""
                  : i + 1 == backends.offered.size() ? " or "
                                                     : ", ") +
                 std::string(backends.offered[i].name);
    return names;
}

// The backend in use, as --version and --help name it; "" with none to choose from.
std::string BackendInUse(const CliBackends& backends) {
    if (backends.offered.empty()) return {};
    const CliBackend& chosen = backends.offered[backends.chosen];
    return std::string(chosen.name) + " (" + std::string(chosen.description) + ")";
}

// Takes --backend and its value out of args, looked for before everything else so that --help
// and --version name the backend it chooses; backends.chosen is set to it.
std::optional<CliResult> TakeBackend(std::vector<std::string>& args, CliBackends& backends) {
    for (std::size_t i = 0; i < args.size() && args[i] != "--" && !backends.offered.empty();) {
        const std::string& arg = args[i];
        if (arg != "--backend" && !arg.starts_with("--backend=")) {
            ++i;
            continue;
        }
        if (arg == "--backend" && i + 1 == args.size()) return BadArguments("--backend: wants a value after it");
        const std::string value = arg == "--backend" ? args[i + 1] : arg.substr(10);
        const auto& offered = backends.offered;
        const auto found =
            std::find_if(offered.begin(), offered.end(), [&](const CliBackend& b) { return b.name == value; });
        if (found == offered.end())
            return BadArguments("--backend: wants " + BackendNames(backends) + ", got " + QuotedInMessage(value));
        backends.chosen = static_cast<std::size_t>(found - offered.begin());
        const auto first = args.begin() + static_cast<std::ptrdiff_t>(i);
        args.erase(first, first + (arg == "--backend" ? 2 : 1));
    }
    return std::nullopt;
}
}  // namespace

std::variant<CliRequest, CliResult> ParseCliArguments(const std::vector<std::string>& givenArgs,
                                                      const CliBackends& backendsOffered) {
    CliBackends backends = backendsOffered;
    std::vector<std::string> args = givenArgs;
    if (auto bad = TakeBackend(args, backends)) return *bad;
    SortedArguments sorted;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            sorted.operands.push_back(arg);
            continue;
        }
        if (arg == "--help" || arg == "-h")
            return Answered(CliHelpText(BackendNames(backends), BackendInUse(backends)));
        if (arg == "--version") {
            if (args.size() > 1)
                return BadArguments("--version: takes nothing else, got " + QuotedInMessage(args[i == 0 ? 1 : 0]));
            const std::string inUse = BackendInUse(backends);
            return Answered(std::string("pelmora-cli ") + PELMORA_VERSION_TEXT + "\n" +
                            (inUse.empty() ? "" : "backend: " + inUse + "\n"));
        }
        if (arg == "--") {  // every argument after it is an operand, even one that starts with --
            optionsEnded = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            sorted.operands.push_back(arg);  // a negative coordinate such as -5 is an operand
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (name == "--json") {
            if (equals != std::string::npos) return BadArguments("--json: takes no value, got " + QuotedInMessage(arg));
            sorted.json = true;
            continue;
        }
        const CliOption* option = FindCliOption(name);
        if (!option) return BadArguments("unknown option " + QuotedInMessage(name));
        std::optional<std::string>& value = sorted.values[static_cast<std::size_t>(option - CliOptions().data())];
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return BadArguments(name + ": takes no value, got " + QuotedInMessage(arg));
            value = "";
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return BadArguments(name + ": wants a value after it");
        }
    }
    auto request = RequestOf(sorted);
    if (auto* read = std::get_if<CliRequest>(&request); read && !backends.offered.empty())
        read->backend = backends.offered[backends.chosen].name;
    return request;
}

}  // namespace pelmora
