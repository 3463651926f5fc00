// SPDX-License-Identifier: MIT
// pelmora-cli's commands over the desktop interface: each reads what it needs, and writes
// it in the forms the window shows, or as one JSON object.
#pragma once

#include <optional>
#include <string>

#include "platform/desktop.h"
#include "programs/cli_arguments.h"

namespace pelmora {

// The files the commands read and write.
class CliFiles {
public:
    virtual ~CliFiles() = default;
    // The whole file as bytes; empty when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Replaces the file as a whole, never leaving part of it; false when it was not written.
    virtual bool WriteFileWhole(const std::string& path, const std::string& bytes) = 0;
};

// Runs request on desktop. A point off the screen, no window at a point, and a search
// that matches nothing give status 1 with a message and nothing on standard output; a
// picture file that cannot be read gives status 2 with a message that names it, a file
// that cannot be written status 3.
CliResult RunCliCommand(const CliRequest& request, Desktop& desktop, CliFiles& files);

}  // namespace pelmora
