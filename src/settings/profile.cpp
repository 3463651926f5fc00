// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include <optional>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace pelmora {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        return value.substr(1, value.size() - 2);
    return value;
}

enum class LineKind { Other, Section, Entry };

// One line of the file as it stands, and what it means.
struct Line {
    std::string_view text;  // without its line end
    std::string_view end;   // "\r\n", "\n", "\r", or "" for a last line without one
    LineKind kind = LineKind::Other;
    std::string_view name{};   // the section or key name, blanks trimmed
    std::string_view value{};  // an entry's text after its first '=', as it stands
};

Line Classify(std::string_view text, std::string_view end) {
    Line line{.text = text, .end = end};
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return line;  // blank or comment
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        line.kind = LineKind::Section;
        line.name = Trim(trimmed.substr(1, trimmed.size() - 2));
        return line;
    }
    // Any other line is an entry; one without '=' is a key without a value.
    line.kind = LineKind::Entry;
    const std::size_t equals = trimmed.find('=');
    line.name = Trim(trimmed.substr(0, equals));
    if (equals != std::string_view::npos) line.value = trimmed.substr(equals + 1);
    return line;
}

std::vector<Line> SplitLines(std::string_view fileText) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < fileText.size()) {
        const std::size_t stop = fileText.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back(Classify(fileText.substr(start), {}));
            break;
        }
        const std::size_t endLength = fileText.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back(Classify(fileText.substr(start, stop - start), fileText.substr(stop, endLength)));
        start = stop + endLength;
    }
    return lines;
}

// Where a key stands in the file, or where it would go.
struct KeyPlace {
    std::optional<std::size_t> section;  // the header line of the first section of the name
    std::optional<std::size_t> key;      // the first line of the key within that section
    std::size_t lastEntry = 0;           // the section's last entry line, or its header
};

KeyPlace FindKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    KeyPlace place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == LineKind::Section) {
            if (place.section) break;  // the section ended
            if (SameName(line.name, section)) place.section = place.lastEntry = i;
        } else if (place.section && line.kind == LineKind::Entry) {
            if (!place.key && SameName(line.name, key)) place.key = i;
            place.lastEntry = i;
        }
    }
    return place;
}

std::string WithoutLineBreaks(std::string_view value) {
    std::string clean(value);
    for (char& c : clean)
        if (c == '\r' || c == '\n') c = ' ';
    return clean;
}

}  // namespace

std::string ProfileLookup(const TextEncoding& encoding, std::string_view fileText, std::string_view section,
                          std::string_view key) {
    const std::vector<Line> lines = SplitLines(fileText);
    const KeyPlace place = FindKey(lines, section, key);
    if (!place.key) return {};
    return encoding.CutAtCharacterBoundary(Unquote(Trim(lines[*place.key].value)), kProfileValueMaxBytes);
}

std::string ProfileUpdate(std::string_view fileText, std::string_view section, std::string_view key,
                          std::string_view value) {
    const std::vector<Line> lines = SplitLines(fileText);
    const KeyPlace place = FindKey(lines, section, key);
    const std::string newValue = WithoutLineBreaks(value);
    const auto entry = [&newValue](std::string_view name) { return std::string(name) + '=' + newValue + "\r\n"; };

    std::string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (place.key == i) {
            result += entry(line.name);
            continue;
        }
        result += line.text;
        result += line.end;
        if (!place.key && place.section && place.lastEntry == i) {
            if (line.end.empty()) result += "\r\n";
            result += entry(key);
        }
    }
    if (!place.section) {
        if (!lines.empty() && lines.back().end.empty()) result += "\r\n";
        result += '[';
        result += section;
        result += "]\r\n";
        result += entry(key);
    }
    return result;
}

std::string ReadSetting(const SettingsFile& file, const std::string& section, const std::string& key) {
    const auto text = file.files.ReadFile(file.path);
    if (!text) return {};
    return SettingInText(file.encoding, *text, section, key);
}

std::string SettingInText(const TextEncoding& encoding, std::string_view fileText, const std::string& section,
                          const std::string& key) {
    return encoding.ToUtf8(ProfileLookup(encoding, fileText, encoding.FromUtf8(section), encoding.FromUtf8(key)));
}

void WriteSetting(const SettingsFile& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    const auto text = file.files.ReadFile(file.path);
    // A file that is there but cannot be read must not be replaced by one holding this
    // single setting: every other setting in it would be lost.
    if (!text && file.files.FileExists(file.path)) return;
    const TextEncoding& encoding = file.encoding;
    file.files.WriteFileWhole(file.path, ProfileUpdate(text.value_or(""), encoding.FromUtf8(section),
                                                       encoding.FromUtf8(key), encoding.FromUtf8(value)));
}

}  // namespace pelmora
