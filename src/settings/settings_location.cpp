// SPDX-License-Identifier: MIT
#include "settings/settings_location.h"

namespace pelmora {

SettingsLocation FindSettings(ProgramPlaces& places) {
    const std::string executableDirectory = places.ExecutableDirectory();
    const std::string beside = executableDirectory + places.Separator() + kSettingsFileName;
    if (!places.InstalledForAllUsers() && places.DirectoryWritable(executableDirectory) && !places.FileReadOnly(beside))
        return {beside, beside, true};
    // An installed program, a read-only program folder (a read-only share) or a settings
    // file there that cannot be written (marked read-only): the settings are written per
    // user, but a file shipped or left beside the program is read until the user has one
    // of their own, so that its slots are not lost.
    const std::string perUser = places.UserConfigDirectory() + places.Separator() + kSettingsFileName;
    return {perUser, places.FileExists(perUser) ? perUser : beside, false};
}

}  // namespace pelmora
