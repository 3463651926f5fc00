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
    explicit FileSystemFiles(pelmora::Win32FileSystem& files) : files_(files) {}
    pelmora::FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override {
        return files_.ReadFileStart(path, maxBytes);
    }
    std::string WriteFileWhole(const std::string& path, const std::string& bytes) override {
        return files_.WriteFileWhole(path, bytes) ? std::string() : files_.LastWriteFailure();
    }

private:
    pelmora::Win32FileSystem& files_;
};

std::string WriteOut(std::string_view bytes) {
    return pelmora::WriteUtf8(pelmora::StandardStream::Output, bytes) ? std::string() : "the system refused the write";
}

// Writes what is left of the answer: output that could not be written (a closed pipe, a full
// disk) is no success but a refusal of the system.
int Finish(const pelmora::CliResult& result) {
    int status = result.status;
    std::string err = result.err;
    if (const std::string failure = WriteOut(result.out); !failure.empty() && status != pelmora::kCliNoDesktop) {
        status = pelmora::kCliNoDesktop;
        err += "pelmora-cli: cannot write the output: " + failure + "\n";
    }
    pelmora::WriteUtf8(pelmora::StandardStream::Error, err);
    return status;
}

int Run() {
    using namespace pelmora;
    const auto parsed = ParseCliArguments(Utf8Arguments());
    if (const auto* answer = std::get_if<CliResult>(&parsed)) return Finish(*answer);

    if (const std::string unavailable = ScreenUnavailability(); !unavailable.empty())
        return Finish({kCliNoDesktop, "", "pelmora-cli: the screen cannot be read: " + unavailable + "\n"});
    Win32Desktop desktop;  // window texts in UTF-16, whatever the ANSI code page
    Win32FileSystem fileSystem;
    FileSystemFiles files(fileSystem);
    Win32Clock clock;
    CliServices services{desktop, files, clock, WriteOut, StandardOutputIsConsole()};
    return Finish(RunCliCommand(std::get<CliRequest>(parsed), services));
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
    return pelmora::kCliNoDesktop;
}
