// SPDX-License-Identifier: MIT
// pelmora-cli.exe, the Windows command-line companion: the window's values for scripts,
// read over the Win32 desktop alone (no window of its own). A console program: arguments
// come from the UTF-16 command line and output goes out as UTF-8 (UTF-16 to a console), so
// Chinese file names, titles and search texts pass whole whatever the code page. Its
// manifest makes it aware of each monitor's dpi, so every coordinate is a physical pixel.
// The command line is read before the desktop is looked at, so --help, --version and a bad
// argument work anywhere.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <variant>

#include "backends/win32/win32_clock_pump.h"
#include "backends/win32/win32_console.h"
#include "backends/win32/win32_desktop.h"
#include "backends/win32/win32_file_system.h"
#include "programs/cli_arguments.h"
#include "programs/cli_commands.h"

namespace {
// The commands' files over the Win32 file system, which opens them by UTF-16 paths.
class FileSystemFiles final : public pelmora::CliFiles {
public:
    explicit FileSystemFiles(pelmora::FileSystem& files) : files_(files) {}
    std::optional<std::string> ReadFile(const std::string& path) override { return files_.ReadFile(path); }
    bool WriteFileWhole(const std::string& path, const std::string& bytes) override {
        return files_.WriteFileWhole(path, bytes);
    }

private:
    pelmora::FileSystem& files_;
};

int Finish(const pelmora::CliResult& result) {
    using pelmora::StandardStream;
    const bool written = pelmora::WriteUtf8(StandardStream::Output, result.out);
    pelmora::WriteUtf8(StandardStream::Error, result.err);
    // Output that could not be written (a closed pipe, a full disk) is no success: the system
    // refused it.
    if (!written && result.status == pelmora::kCliDone) return pelmora::kCliNoDesktop;
    return result.status;
}
}  // namespace

int main() {
    using namespace pelmora;
    const auto parsed = ParseCliArguments(Utf8Arguments());
    if (const auto* answer = std::get_if<CliResult>(&parsed)) return Finish(*answer);

    if (const std::string unavailable = ScreenUnavailability(); !unavailable.empty())
        return Finish({kCliNoDesktop, "", "pelmora-cli: the screen cannot be read: " + unavailable + "\n"});
    Win32Desktop desktop;  // window texts in UTF-16, whatever the ANSI code page
    Win32FileSystem fileSystem;
    FileSystemFiles files(fileSystem);
    Win32Clock clock;
    CliServices services{desktop, files, clock, [](std::uint32_t milliseconds) {
                             std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
                         }};
    return Finish(RunCliCommand(std::get<CliRequest>(parsed), services));
}
