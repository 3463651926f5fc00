// SPDX-License-Identifier: MIT
// pelmora-cli against what a script may hand it by mistake or meet by bad luck, on an X server
// of the test's own: FILEs that are no pictures to read, a picture too large to search for,
// output that cannot be written, and the display going away in the middle of a wait. Each
// ends with its status and one line that says why, never with a crash or a blocked process.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli_process.h"
#include "x11_test_support.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

struct CliHostileTest : ::testing::Test {
    PrivateXServer server;
    std::filesystem::path folder;

    void SetUp() override {
        ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
        char name[] = "/tmp/pelmora-cli-hostile-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Expects status with a single line on standard error that holds what.
    void ExpectRefused(const std::vector<std::string>& args, int status, const std::string& what) {
        const CliOutcome outcome = RunCli(server.Display(), args);
        EXPECT_EQ(outcome.status, status) << args[0] << " " << args[1] << ": " << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(what), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line: " << outcome.err;
    }
};

TEST_F(CliHostileTest, FilesThatAreNoPicturesAreNamedWithoutBlockingOrCrashing) {
    const std::string directory = (folder / "folder.bmp").string(), pipe = (folder / "pipe.bmp").string();
    std::filesystem::create_directory(directory);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);  // no writer ever opens it
    // A 5000 x 5000 bitmap of one bit a pixel (3 MB): too large, told from its headers.
    const std::string large = (folder / "large.bmp").string();
    {
        std::string header(62, '\0');
        const auto put = [&](std::size_t at, std::uint32_t value) {
            for (int i = 0; i < 4; ++i) header[at + i] = static_cast<char>(value >> (8 * i));
        };
        header[0] = 'B', header[1] = 'M';
        put(10, 62), put(14, 40), put(18, 5000), put(22, 5000), put(26, 1 | 1 << 16);
        std::ofstream(large, std::ios::binary) << header << std::string(std::size_t{628} * 5000, '\0');
    }
    for (const char* command : {"find-image", "wait-image"}) {
        ExpectRefused({command, directory}, 2, "\"" + directory + "\" is no file to read: a folder");
        ExpectRefused({command, pipe}, 2, "\"" + pipe + "\" is no file to read: a named pipe");
        ExpectRefused({command, "/dev/zero"}, 2, "\"/dev/zero\" is no file to read: a device");
        ExpectRefused({command, large}, 2, "too large");
    }
}

TEST_F(CliHostileTest, OutputThatCannotBeWrittenIsStatusThreeWithTheSystemsReason) {
    for (const char* args : {"find-colour 000000 --all", "--json find-colour 000000 --all", "pointer", "snapshot -"}) {
        const std::string err = (folder / "err").string();
        const int status = std::system(
            ("DISPLAY=" + server.Display() + " " + PELMORA_CLI_EXECUTABLE + " " + args + " >/dev/full 2>" + err)
                .c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 3) << args;
        EXPECT_NE(ReadWhole(err).find("cannot write the output: No space left on device"), std::string::npos)
            << args << ": " << ReadWhole(err);
    }
}

TEST_F(CliHostileTest, ADisplayLostDuringAWaitEndsItAtOnceWithStatusThree) {
    // A wait on the screen's pixels over Xlib, and one relative to a window (the root), which
    // follows the window at every look over xcb; each on a server of its own.
    for (const bool relative : {false, true}) {
        PrivateXServer own;
        ASSERT_FALSE(own.Display().empty()) << "Xvfb did not start";
        Display* display = XOpenDisplay(own.Display().c_str());
        ASSERT_NE(display, nullptr);
        const std::string root = std::to_string(DefaultRootWindow(display));
        XCloseDisplay(display);
        CliProcess wait(own.Display(), relative ? std::vector<std::string>{"wait-change", "--window", root}
                                                : std::vector<std::string>{"wait-colour", "1", "1", "123456"});
        std::this_thread::sleep_for(300ms);
        ASSERT_TRUE(wait.Running()) << wait.Wait().err;
        own.Stop();
        const auto lost = std::chrono::steady_clock::now();
        const CliOutcome outcome = wait.Wait(10s);
        EXPECT_EQ(outcome.status, 3) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        // Said alone: not taken for a window that closed first.
        EXPECT_TRUE(outcome.err.starts_with("pelmora-cli: lost the connection to the X server")) << outcome.err;
        EXPECT_LT(outcome.ended - lost, 2s);
    }
}

}  // namespace

namespace {
// The window program's command line, answered without a display.
TEST(ProgramCommandLineTest, VersionAndHelpNeedNoDisplayAndOtherArgumentsAreRefused) {
    const auto run = [](const std::string& args) {
        const int status =
            std::system(("env -u DISPLAY " PELMORA_EXECUTABLE " " + args + " >/tmp/pelmora-args 2>&1").c_str());
        return std::pair{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWhole("/tmp/pelmora-args")};
    };
    const std::string cliVersion = RunCli("", {"--version"}).out;
    EXPECT_EQ(run("--version"), (std::pair{0, "pelmora " + cliVersion.substr(12, cliVersion.find('\n') - 11)}));
    const auto help = run("--help");
    EXPECT_EQ(help.first, 0);
    EXPECT_NE(help.second.find("man pelmora"), std::string::npos) << help.second;
    for (const char* bad : {"--verbose", "--version extra"}) {
        const auto refused = run(bad);
        EXPECT_EQ(refused.first, 2) << bad;
        EXPECT_NE(refused.second.find("pelmora: takes no argument"), std::string::npos) << refused.second;
    }
    std::remove("/tmp/pelmora-args");
}
}  // namespace
