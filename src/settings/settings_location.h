// SPDX-License-Identifier: MIT
// Where the settings file lies, found by one rule for the window and pelmora-cli alike, so
// that a script reads the slots the window saved.
#pragma once

#include <string>

#include "platform/program_places.h"

namespace pelmora {

// The settings file's name, beside the executable or in the per-user folder.
inline constexpr const char* kSettingsFileName = "zarade.ini";

struct SettingsLocation {
    std::string written;        // the file the window writes at shut-down
    std::string read;           // the file start-up reads, when it exists
    bool besideProgram = true;  // written lies in the executable's folder
};

// Beside the executable; but for a program installed for all users, or when that folder or
// the file there cannot be written, in the per-user configuration folder, the file beside
// the executable still read while the user has none of their own there.
SettingsLocation FindSettings(ProgramPlaces& places);

}  // namespace pelmora
