// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/command_registry.h"

using namespace pelmora;

// A command file is all a new command needs, so the table must catch what a file can get
// wrong: an option name the option table lacks (the option would be refused), a name taken
// twice (the second command unreachable), a last command without an explanation of its own.
TEST(CliRegistry, EveryCommandIsReachableAndExplained) {
    std::set<std::string> names;
    for (const CliCommand* command : CliCommands()) {
        EXPECT_TRUE(names.insert(std::string(command->name)).second) << command->name;
        EXPECT_EQ(FindCliCommand(command->name), command);
        for (const std::string_view option : command->options)
            EXPECT_NE(FindCliOption(option), nullptr) << command->name << " names " << option;
        EXPECT_EQ(command->help.empty(), command->manual.empty()) << command->name;
    }
    ASSERT_FALSE(CliCommands().empty());
    EXPECT_FALSE(CliCommands().back()->manual.empty());
}
