// SPDX-License-Identifier: MIT
// The settings file in the classic profile (INI) format: "[Section]" header lines followed
// by "Key=value" lines. Reads and writes follow the Windows profile functions
// (GetPrivateProfileString / WritePrivateProfileString) on every platform, so a settings
// file behaves the same wherever the program runs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

class FileSystem;
class TextEncoding;

// The longest value a read returns, in bytes: what a 2048-character buffer holds beside
// its terminating NUL.
inline constexpr std::size_t kProfileValueMaxBytes = 2047;

// The value of key in section, both matched without regard to ASCII case; the first
// section and the first key of a name count. Blanks around the value are dropped, then one
// pair of matching quotes (" or ') around it; the result is cut to kProfileValueMaxBytes
// without splitting a character of encoding. A missing section or key gives "".
std::string ProfileLookup(const TextEncoding& encoding, std::string_view fileText, std::string_view section,
                          std::string_view key);

// fileText with key in section set to value. An existing key's line is rewritten in place,
// keeping the key's spelling; a new key goes after the last entry of its section; a new
// section goes at the end of the file. Every other byte stays as it was; written lines end
// in CR LF. CR and LF inside value become spaces, since they would break the line.
std::string ProfileUpdate(std::string_view fileText, std::string_view section, std::string_view key,
                          std::string_view value);

// A settings file: its path and the services that read and write it.
struct SettingsFile {
    FileSystem& files;
    const TextEncoding& encoding;
    std::string path;
};

// The setting from the file; "" when the file, section or key is missing. Names and the
// result are UTF-8; the file holds the platform's encoding.
std::string ReadSetting(const SettingsFile& file, const std::string& section, const std::string& key);
// The setting as ReadSetting reads it, from fileText, the bytes of a file already read.
std::string SettingInText(const TextEncoding& encoding, std::string_view fileText, const std::string& section,
                          const std::string& key);

// Sets the setting, creating the file when missing; the file is replaced whole, so it is
// never left half written. Failure is silent: the file then keeps its old contents.
void WriteSetting(const SettingsFile& file, const std::string& section, const std::string& key,
                  const std::string& value);

}  // namespace pelmora
