// SPDX-License-Identifier: MIT
// pelmora-cli's commands over the desktop interface: each reads what it needs, and writes
// it in the forms the window shows, or as one JSON object.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/clock.h"
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

// What the commands run on: the desktop, files, and for the waits a clock and a sleep.
struct CliServices {
    Desktop& desktop;
    CliFiles& files;
    Clock& clock;
    std::function<void(std::uint32_t milliseconds)> sleep;
};

// Runs request on the services' desktop. A point off the screen, no window at a point or
// for a handle, and a search that matches nothing give status 1 with a message and nothing on standard output; a
// picture file that cannot be read gives status 2 with a message that names it, a file
// that cannot be written status 3. A wait looks at once, then after each interval, and
// gives status 1 when the timeout has passed without a look that found it.
CliResult RunCliCommand(const CliRequest& request, CliServices& services);

}  // namespace pelmora
