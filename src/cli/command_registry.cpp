// SPDX-License-Identifier: MIT
#include "cli/command_registry.h"

#include <array>

namespace pelmora {

// Each defined in its own file under cli/commands/.
extern const CliCommand kPointerCommand, kPixelCommand, kWindowAtCommand, kWindowCommand, kWindowsCommand,
    kCursorCodeCommand, kFindColourCommand, kFindImageCommand, kFindPointsCommand, kSlotsCommand, kSnapshotCommand,
    kWaitColourCommand, kWaitImageCommand, kWaitCursorCommand, kWaitPointsCommand, kWindowRectCommand,
    kWaitChangeCommand, kWaitStableCommand;

namespace {
const std::array kCommands{
    &kPointerCommand,    &kPixelCommand,      &kWindowAtCommand,   &kWindowCommand,    &kWindowsCommand,
    &kWindowRectCommand, &kCursorCodeCommand, &kFindColourCommand, &kFindImageCommand, &kFindPointsCommand,
    &kSlotsCommand,      &kSnapshotCommand,   &kWaitColourCommand, &kWaitImageCommand, &kWaitCursorCommand,
    &kWaitPointsCommand, &kWaitChangeCommand, &kWaitStableCommand,
};
}  // namespace

std::span<const CliCommand* const> CliCommands() { return kCommands; }

const CliCommand* FindCliCommand(std::string_view name) {
    for (const CliCommand* command : kCommands)
        if (command->name == name) return command;
    return nullptr;
}

std::string CliCommandNames() {
    std::string names;
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        if (i > 0) names += i + 1 == kCommands.size() ? " or " : ", ";
        names += kCommands[i]->name;
    }
    return names;
}

}  // namespace pelmora
