// SPDX-License-Identifier: MIT
// pelmora-cli.exe, the Windows command-line companion: the window's values for scripts,
// read over the Win32 desktop alone (no window of its own). A console program: arguments
// come from the UTF-16 command line and output goes out as UTF-8 (UTF-16 to a console), so
// Chinese file names, titles and search texts pass whole whatever the code page. Its
// manifest makes it aware of each monitor's dpi, so every coordinate is a physical pixel.
// The command line is read before the desktop is looked at, so --help, --version and a bad
// argument work anywhere.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <variant>

#include "backends/win32/win32_cli_files.h"
#include "backends/win32/win32_clock_pump.h"
#include "backends/win32/win32_console.h"
#include "backends/win32/win32_desktop.h"
#include "cli/cli_arguments.h"
#include "cli/cli_run.h"

namespace {
std::string WriteOut(std::string_view bytes) {
    return pelmora::WriteUtf8(pelmora::StandardStream::Output, bytes) ? std::string() : "the system refused the write";
}

const pelmora::CliStreams kStreams{
    WriteOut,
    [](std::string_view text) { pelmora::WriteUtf8(pelmora::StandardStream::Error, text); },
};

int Run() {
    using namespace pelmora;
    const auto parsed = ParseCliArguments(Utf8Arguments());
    if (const auto* answer = std::get_if<CliResult>(&parsed)) return EndCli(*answer, kStreams);

    if (const std::string unavailable = ScreenUnavailability(); !unavailable.empty())
        return EndCli(Refusal(kCliRefused, "the screen cannot be read: " + unavailable), kStreams);
    Win32Desktop desktop;  // window texts in UTF-16, whatever the ANSI code page
    Win32CliFiles files;
    Win32Clock clock;
    CliServices services{desktop, files, clock, WriteOut, StandardOutputIsConsole()};
    return EndCli(RunCliCommand(std::get<CliRequest>(parsed), services), kStreams);
}
}  // namespace

int main() {
    // Nothing a command meets may end the program without a word: what no command caught (no
    // memory left for a large grab, say) ends it as a refusal of the system.
    try {
        return Run();
    } catch (const std::exception& error) {
        pelmora::WriteUtf8(pelmora::StandardStream::Error,
                           std::string("pelmora-cli: stopped by an unexpected error: ") + error.what() + "\n");
    } catch (...) {
        pelmora::WriteUtf8(pelmora::StandardStream::Error, "pelmora-cli: stopped by an unexpected error\n");
    }
    return pelmora::kCliRefused;
}
