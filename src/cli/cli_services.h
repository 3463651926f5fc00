// SPDX-License-Identifier: MIT
// What pelmora-cli's commands run on: the desktop, files, standard output and a clock,
// each behind an interface, so that the unit tests run every command on the fake desktop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/program_places.h"

namespace pelmora {

class WindowRelativeDesktop;

// The files the commands read and write, and the places where the window keeps its
// settings file, which pelmora-cli looks up by the window's rule but never creates.
class CliFiles : public ProgramPlaces {
public:
    // Up to maxBytes from the start of the regular file at path, and its size; anything
    // else (a folder, a device, a named pipe) is refused unread, as FileSystem does.
    virtual FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) = 0;
    // Replaces the file as a whole, never leaving part of it; the system's reason when it
    // was not written ("Read-only file system"), "" when it was.
    virtual std::string WriteFileWhole(const std::string& path, const std::string& bytes) = 0;
};

struct CliServices {
    Desktop& desktop;
    CliFiles& files;
    // The waits' clock: the time since the first look, and the pause between looks.
    Clock& clock;
    // Writes to standard output at once: the lines of a search with --all go out as they are
    // found, so that memory does not grow with the answer. The system's reason when the
    // write failed, "" when it was written.
    std::function<std::string(std::string_view bytes)> write;
    // Standard output is a terminal, where a bitmap's bytes do not belong.
    bool outputIsTerminal = false;
    // With --window: desktop is this window's view, which the waits follow at every look.
    WindowRelativeDesktop* window = nullptr;
};

}  // namespace pelmora
