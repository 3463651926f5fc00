// SPDX-License-Identifier: MIT
#include "cli/manual_tables.h"

#include <vector>

#include "cli/command_registry.h"

namespace pelmora {

namespace {
std::string UsageOf(const CliCommand& command) {
    return command.usage.empty() ? std::string(command.name)
                                 : std::string(command.name) + " " + std::string(command.usage);
}

// The commands in groups: each group's last command carries the explanation the others
// share.
std::vector<std::vector<const CliCommand*>> Groups() {
    std::vector<std::vector<const CliCommand*>> groups(1);
    for (const CliCommand* command : CliCommands()) {
        groups.back().push_back(command);
        if (!command->manual.empty()) groups.emplace_back();
    }
    groups.pop_back();
    return groups;
}

// Plain text in roff: backslashes and hyphens escaped, `code` in bold.
std::string Roff(std::string_view text) {
    std::string roff;
    bool inCode = false;
    for (const char c : text) {
        if (c == '\\') {
            roff += "\\e";
        } else if (c == '-') {
            roff += "\\-";
        } else if (c == '`') {
            roff += inCode ? "\\fP" : "\\fB";
            inCode = !inCode;
        } else {
            roff += c;
        }
    }
    return roff;
}

// Text in a Markdown table cell, where a bar would end the cell.
std::string Cell(std::string_view text) {
    std::string cell;
    for (const char c : text) cell += c == '|' ? std::string("\\|") : std::string(1, c);
    return cell;
}
}  // namespace

std::string ManualCommandsRoff() {
    std::string roff;
    for (const auto& group : Groups()) {
        for (std::size_t i = 0; i < group.size(); ++i)
            roff += std::string(i == 0 ? ".TP\n" : ".TQ\n") + ".B " + Roff(UsageOf(*group[i])) + "\n";
        roff += Roff(group.back()->manual) + "\n";
    }
    return roff;
}

std::string ReadmeCommandsMarkdown() {
    std::string table = "| Command | Prints |\n|---|---|\n";
    for (const auto& group : Groups()) {
        std::string usages;
        for (const CliCommand* command : group)
            usages += (usages.empty() ? "`" : ", `") + Cell(UsageOf(*command)) + "`";
        table += "| " + usages + " | " + Cell(group.back()->manual) + " |\n";
    }
    return table;
}

}  // namespace pelmora
