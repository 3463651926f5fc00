// SPDX-License-Identifier: MIT
#include "cli/shown_text.h"

#include <cstdio>

namespace pelmora {

namespace {
std::string Escape(const char* format, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    return escape;
}
}  // namespace

std::string ShownText(std::string_view utf8, bool doubleBackslash) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\\' && doubleBackslash) {
            shown += "\\\\";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == 0x1B) {
            shown += "\\e";
        } else if (c < 0x20 || c == 0x7F) {
            shown += Escape("\\x%02X", c);
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // U+0080 to U+009F, encoded as C2 80 to C2 9F.
            shown += Escape("\\u%04X", static_cast<unsigned char>(utf8[++i]));
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string QuotedInMessage(std::string_view utf8) { return "\"" + ShownText(utf8, false) + "\""; }

}  // namespace pelmora
