// SPDX-License-Identifier: MIT
#include "backends/win32/win32_console.h"

#include <windows.h>

// clang-format off
#include <shellapi.h>
// clang-format on

#include <algorithm>

#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

// Console writes go in parts: older consoles refuse one write of more than about 64 KB.
constexpr std::size_t kConsolePart = 8192;

bool WriteToConsole(HANDLE console, const std::wstring& text) {
    for (std::size_t done = 0; done < text.size();) {
        std::size_t part = std::min(kConsolePart, text.size() - done);
        // A surrogate pair stays in one part.
        if (done + part < text.size() && IS_HIGH_SURROGATE(text[done + part - 1])) --part;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + done, static_cast<DWORD>(part), &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool WriteBytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::vector<std::string> Utf8Arguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    if (!arguments) return utf8;
    for (int i = 1; i < count; ++i) utf8.push_back(Utf8(arguments[i]));
    LocalFree(arguments);
    return utf8;
}

bool WriteUtf8(StandardStream stream, std::string_view text) {
    if (text.empty()) return true;
    const HANDLE handle = GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) return WriteToConsole(handle, Wide(text));
    return WriteBytes(handle, text);
}

bool StandardOutputIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

}  // namespace pelmora
