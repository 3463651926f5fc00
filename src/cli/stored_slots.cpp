// SPDX-License-Identifier: MIT
#include "cli/stored_slots.h"

#include <cstdint>

#include "cli/argument_values.h"
#include "cli/shown_text.h"
#include "platform/utf8_encoding.h"
#include "settings/profile.h"
#include "settings/settings_location.h"

namespace pelmora {

namespace {
// Larger than any settings file the window writes (ten slots and two paths).
constexpr std::uint64_t kLargestSettingsFile = 1 << 20;

// The point a stored slot holds, when its x and y are whole numbers.
std::optional<SlotPoint> PointOf(const StoredSlot& slot) {
    const auto x = ParseWholeArgument(slot.x, kInt32Low, kInt32High);
    const auto y = ParseWholeArgument(slot.y, kInt32Low, kInt32High);
    if (!x || !y) return std::nullopt;
    return SlotPoint{{*x, *y}, slot.colour};
}
}  // namespace

std::variant<StoredSlots, CliResult> ReadStoredSlots(const CliRequest& request, CliFiles& files) {
    const bool named = request.settingsFile.has_value();
    std::string path;
    if (named) {
        path = *request.settingsFile;
    } else {
        const SettingsLocation location = FindSettings(files);
        if (!files.FileExists(location.read))
            return Refusal(kCliNotFound, "no settings file yet: the window writes " +
                                             QuotedInMessage(location.written) + " when it closes");
        path = location.read;
    }
    const std::string file = QuotedInMessage(path);
    const FileStart start = files.ReadFileStart(path, kLargestSettingsFile);
    const auto refused = [&](const std::string& why) {
        return named ? Refusal(kCliBadArguments, "--file: " + file + " " + why)
                     : Refusal(kCliRefused, "the settings file " + file + " " + why);
    };
    if (start.problem == FileStart::Problem::kNotAFile) return refused("is no file to read: " + start.reason);
    if (start.problem == FileStart::Problem::kUnreadable) return refused("cannot be read: " + start.reason);
    if (start.size > kLargestSettingsFile) return refused("is too large for a settings file: over 1 MiB");

    // Only numbers are taken from the file, and their digits are the same bytes in UTF-8 and
    // in every ANSI code page: the file is read as UTF-8 on Windows too.
    const Utf8Encoding encoding;
    StoredSlots stored{path, {}};
    for (int i = 0; i < kSlotCount; ++i) {
        const auto slot = ReadStoredSlot(
            i, [&](const std::string& key) { return SettingInText(encoding, start.bytes, "Position", key); });
        if (slot) stored.slots[static_cast<std::size_t>(i)] = PointOf(*slot);
    }
    return stored;
}

}  // namespace pelmora
