// SPDX-License-Identifier: MIT
// pelmora-cli, the Linux command-line companion: the window's values for scripts, read
// over the X11 desktop alone (no Qt). The command line is read before the display is
// opened, so --help, --version and a bad argument need no X server.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "backends/x11/huge_pages.h"
#include "backends/x11/synced_file.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_desktop.h"
#include "programs/cli_arguments.h"
#include "programs/cli_commands.h"

namespace {
// Files read whole through the standard library.
class StreamFiles final : public pelmora::CliFiles {
public:
    std::optional<std::string> ReadFile(const std::string& path) override {
        std::ifstream file(path, std::ios::binary);
        if (!file) return std::nullopt;
        std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (file.bad()) return std::nullopt;
        return bytes;
    }
    // The bytes go to a new file beside path, created exclusively under a random name,
    // flushed to the disk and then renamed over path: a reader, even after a crash, sees the
    // old file or the whole new one, as with the window's own writer.
    bool WriteFileWhole(const std::string& path, const std::string& bytes) override {
        std::random_device random;
        const std::string temporary = path + ".partial-" + std::to_string(random());
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (!file) return false;
        const bool written =
            std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && pelmora::FlushToDisk(file);
        if (std::fclose(file) != 0 || !written) {
            std::remove(temporary.c_str());
            return false;
        }
        std::error_code error;
        std::filesystem::rename(temporary, path, error);
        if (error) std::remove(temporary.c_str());
        return !error;
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

int Finish(const pelmora::CliResult& result) {
    std::fputs(result.out.c_str(), stdout);
    std::fputs(result.err.c_str(), stderr);
    // Output that could not be written (a closed pipe, a full disk) is no success: the system
    // refused it.
    if (std::fflush(stdout) != 0 && result.status == pelmora::kCliDone) return pelmora::kCliNoDesktop;
    return result.status;
}
}  // namespace

int main(int argc, char* argv[]) {
    using namespace pelmora;
    const auto parsed = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* answer = std::get_if<CliResult>(&parsed)) return Finish(*answer);

    // A whole screen grabbed for find-image or snapshot lands in one large buffer, whose
    // first touch on huge pages costs a few page faults instead of two thousand (some
    // 3 ms of a 1920 x 1080 find-image).
    UseHugePagesForLargeBuffers();
    auto connection = X11Connection::Open();
    if (!connection) {
        const char* display = std::getenv("DISPLAY");
        return Finish(
            {kCliNoDesktop, "",
             std::string("pelmora-cli: cannot connect to the X server (DISPLAY=") + (display ? display : "") + ")\n"});
    }
    X11Desktop desktop(*connection);
    StreamFiles files;
    SystemClock clock;
    CliServices services{desktop, files, clock, [](std::uint32_t milliseconds) {
                             std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
                         }};
    return Finish(RunCliCommand(std::get<CliRequest>(parsed), services));
}
