// SPDX-License-Identifier: MIT
// pelmora-cli, the Linux command-line companion: the window's values for scripts, read
// over the X11 desktop alone (no Qt). The command line is read before the display is
// opened, so --help, --version and a bad argument need no X server.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "backends/posix/huge_pages.h"
#include "backends/posix/regular_file.h"
#include "backends/posix/standard_output.h"
#include "backends/posix/whole_file_writer.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_desktop.h"
#include "programs/cli_arguments.h"
#include "programs/cli_commands.h"

namespace {
// Files read and replaced by POSIX calls, as the window reads and writes them.
class PosixFiles final : public pelmora::CliFiles {
public:
    pelmora::FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override {
        return pelmora::ReadRegularFileStart(path, maxBytes);
    }
    std::string WriteFileWhole(const std::string& path, const std::string& bytes) override {
        const std::error_code error = pelmora::ReplaceFileWhole(path, bytes);
        return error ? error.message() : std::string();
    }
};

// The system's monotonic clock and local time.
class SystemClock final : public pelmora::Clock {
public:
    std::uint32_t Milliseconds() override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
    pelmora::LocalTime Now() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    }
};

// Writes to standard output; the system's reason when it could not.
std::string WriteOut(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size()) return {};
    return std::strerror(errno);
}

// Writes what is left of the answer and flushes it: output that could not be written (a
// closed pipe, a full disk) is no success but a refusal of the system, with its reason.
int Finish(const pelmora::CliResult& result) {
    int status = result.status;
    std::string err = result.err;
    std::string failure = WriteOut(result.out);
    if (failure.empty() && std::fflush(stdout) != 0) failure = std::strerror(errno);
    if (!failure.empty() && status != pelmora::kCliNoDesktop) {
        status = pelmora::kCliNoDesktop;
        err += "pelmora-cli: cannot write the output: " + failure + "\n";
    }
    std::fputs(err.c_str(), stderr);
    return status;
}

std::string DisplayName() {
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

// The X server went away in the middle of a command: whatever was read is not the screen's,
// so the command ends at once as it would have without a display.
void EndOnLostDisplay() {
    std::fflush(stdout);
    std::fprintf(stderr, "pelmora-cli: lost the connection to the X server (DISPLAY=%s)\n", DisplayName().c_str());
    std::_Exit(pelmora::kCliNoDesktop);
}

int Run(int argc, char* argv[]) {
    using namespace pelmora;
    const auto parsed = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* answer = std::get_if<CliResult>(&parsed)) return Finish(*answer);

    // A whole screen grabbed for find-image or snapshot lands in one large buffer, whose
    // first touch on huge pages costs a few page faults instead of two thousand (some
    // 3 ms of a 1920 x 1080 find-image).
    UseHugePagesForLargeBuffers();
    auto connection = X11Connection::Open();
    if (!connection)
        return Finish(
            {kCliNoDesktop, "", "pelmora-cli: cannot connect to the X server (DISPLAY=" + DisplayName() + ")\n"});
    X11Connection::OnLostServer(EndOnLostDisplay);
    X11Desktop desktop(*connection);
    PosixFiles files;
    SystemClock clock;
    CliServices services{desktop, files, clock, WriteOut, StandardOutputIsTerminal()};
    return Finish(RunCliCommand(std::get<CliRequest>(parsed), services));
}
}  // namespace

int main(int argc, char* argv[]) {
    // Nothing a command meets may end the program without a word: what no command caught (no
    // memory left for a large grab, say) ends it as a refusal of the system.
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelmora-cli: stopped by an unexpected error: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "pelmora-cli: stopped by an unexpected error\n");
    }
    return pelmora::kCliNoDesktop;
}
