// SPDX-License-Identifier: MIT
// pelmora-cli's commands over the desktop interface: each reads what it needs, and writes
// it in the forms the window shows, or as one JSON object.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "programs/cli_arguments.h"

namespace pelmora {

// The files the commands read and write.
class CliFiles {
public:
    virtual ~CliFiles() = default;
    // Up to maxBytes from the start of the regular file at path, and its size; anything
    // else (a folder, a device, a named pipe) is refused unread, as FileSystem does.
    virtual FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) = 0;
    // Replaces the file as a whole, never leaving part of it; the system's reason when it
    // was not written ("Read-only file system"), "" when it was.
    virtual std::string WriteFileWhole(const std::string& path, const std::string& bytes) = 0;
};

// Sleeps the calling thread.
void SleepMilliseconds(std::uint32_t milliseconds);

// What the commands run on: the desktop, files, standard output, and for the waits a clock
// and a sleep.
struct CliServices {
    Desktop& desktop;
    CliFiles& files;
    Clock& clock;
    // Writes to standard output at once: the lines of a search with --all go out as they are
    // found, so that memory does not grow with the answer. The system's reason when the
    // write failed, "" when it was written.
    std::function<std::string(std::string_view bytes)> write;
    // Standard output is a terminal, where a bitmap's bytes do not belong.
    bool outputIsTerminal = false;
    // The waits' pause between looks; the thread sleeps unless a test says otherwise.
    std::function<void(std::uint32_t milliseconds)> sleep = SleepMilliseconds;
};

// Runs request on the services' desktop. A point off the screen, no window at a point or
// for a handle, and a search that matches nothing give status 1 with a message and nothing
// on standard output; a picture file that cannot be read gives status 2 with a message that
// names it, a file or output that cannot be written status 3. A wait looks at once, then
// after each interval, and gives status 1 when the timeout has passed without a look that
// found it. Titles in plain lines show their control characters as escapes, one window a
// line. What the result's out holds is for the caller to write after what went out through
// write.
CliResult RunCliCommand(const CliRequest& request, CliServices& services);

}  // namespace pelmora
