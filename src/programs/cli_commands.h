// SPDX-License-Identifier: MIT
// pelmora-cli's commands over the desktop interface: each reads what it needs, and writes
// it in the forms the window shows, or as one JSON object.
#pragma once

#include <optional>
#include <string>

#include "platform/desktop.h"
#include "programs/cli_arguments.h"

namespace pelmora {

// The files the commands read: the whole file as bytes, empty when it cannot be read.
class CliFiles {
public:
    virtual ~CliFiles() = default;
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
};

// Runs request on desktop. A point off the screen, no window at a point, and a search
// that matches nothing give status 1 with a message and nothing on standard output; a
// picture file that cannot be read gives status 2 with a message that names it.
CliResult RunCliCommand(const CliRequest& request, Desktop& desktop, CliFiles& files);

}  // namespace pelmora
