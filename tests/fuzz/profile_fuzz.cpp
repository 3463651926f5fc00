// SPDX-License-Identifier: MIT
// libFuzzer target for the settings file's reader and writer. The input is a file's text,
// then a section, a key and a value, separated by NUL bytes. Whatever they are, reading and
// writing do not crash or misbehave; and for names as the program writes them (no blanks
// around them, no line breaks, a key that is not a comment, a section header or holding
// "="), a value written is read back as written, line breaks turned into spaces (a value
// with blanks or quotes around it reads back without them), and the file changes in the
// one line of that key only. Any broken promise aborts, which libFuzzer reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/utf8_encoding.h"
#include "settings/profile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool PlainName(std::string_view name) {
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) && !HasLineBreak(name) &&
           name.find('\0') == std::string_view::npos;
}

bool PlainKey(std::string_view key) {
    return PlainName(key) && key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '#' &&
           key.front() != '[';
}

// The value as the file keeps it and a read gives it back: line breaks as spaces, blanks
// and one pair of matching quotes around it dropped.
std::string AsReadBack(std::string_view value) {
    std::string text(value);
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::string_view view(text);
    while (!view.empty() && IsBlank(view.front())) view.remove_prefix(1);
    while (!view.empty() && IsBlank(view.back())) view.remove_suffix(1);
    if (view.size() >= 2 && view.front() == view.back() && (view.front() == '"' || view.front() == '\''))
        view = view.substr(1, view.size() - 2);
    return std::string(view);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t nul = input.find('\0', start);
        if (nul == std::string_view::npos) break;
        parts.push_back(input.substr(start, nul - start));
        start = nul + 1;
    }
    parts.push_back(input.substr(std::min(start, input.size())));
    parts.resize(4);
    const std::string_view file = parts[0], section = parts[1], key = parts[2], value = parts[3];

    const Utf8Encoding encoding;
    const std::string before = ProfileLookup(encoding, file, section, key);
    if (before.size() > kProfileValueMaxBytes) std::abort();
    const std::string written = ProfileUpdate(file, section, key, value);
    const std::string after = ProfileLookup(encoding, written, section, key);
    if (!PlainName(section) || section.find(']') != std::string_view::npos || !PlainKey(key)) return 0;

    const std::string expected = AsReadBack(value);
    if (expected.size() <= kProfileValueMaxBytes && after != expected) std::abort();

    // Only one line changed: what lies between the common beginning and the common end of
    // the old and the new text is, in the old text, part of one line at most.
    std::size_t prefix = 0;
    while (prefix < file.size() && prefix < written.size() && file[prefix] == written[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < file.size() - prefix && suffix < written.size() - prefix &&
           file[file.size() - 1 - suffix] == written[written.size() - 1 - suffix])
        ++suffix;
    std::string_view oldMiddle = file.substr(prefix, file.size() - prefix - suffix);
    while (!oldMiddle.empty() && (oldMiddle.back() == '\r' || oldMiddle.back() == '\n')) oldMiddle.remove_suffix(1);
    if (HasLineBreak(oldMiddle)) std::abort();
    return 0;
}
