// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "x11_test_support.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

struct SettingsProgramTest : ::testing::Test {
    ProgramUnderTest program;
    std::filesystem::path settings = program.Directory() / "zarade.ini";

    void RunAndTerminate() {
        program.Start();
        ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
        ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 1000ms));
    }
};

}  // namespace

TEST_F(SettingsProgramTest, FirstRunWritesTheSnapshotSettingsOnExit) {
    ASSERT_FALSE(std::filesystem::exists(settings));
    RunAndTerminate();
    EXPECT_EQ(ReadWhole(settings),
              "[Bmp]\r\nBmpFilePath=" + (program.Directory() / "Snap").string() + "\r\nMousePoint=0\r\n");
}

TEST_F(SettingsProgramTest, HandEditedFileKeepsEverythingItDoesNotOwn) {
    const std::string edited =
        "; my notes\r\n"
        "[Other]\r\n"
        "Key=Value with  spaces\r\n"
        "\r\n"
        "[bmp]\r\n"
        "bmpfilepath = \"/data/截图\"\r\n"
        "# keep me\r\n"
        "mousepoint=1\r\n"
        "[Tail]\r\n"
        "x=1\r\n";
    std::ofstream(settings, std::ios::binary) << edited;
    RunAndTerminate();
    // The values were read (quotes and blanks dropped) and written back in place, in the
    // file's own spelling; nothing else moved.
    EXPECT_EQ(ReadWhole(settings),
              "; my notes\r\n"
              "[Other]\r\n"
              "Key=Value with  spaces\r\n"
              "\r\n"
              "[bmp]\r\n"
              "bmpfilepath=/data/截图\r\n"
              "# keep me\r\n"
              "mousepoint=1\r\n"
              "[Tail]\r\n"
              "x=1\r\n");
}

TEST_F(SettingsProgramTest, LosingTheXServerStillRunsTheShutDown) {
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty());
    program.Start(server.Display());
    // The window is mapped after start-up has run.
    ASSERT_TRUE(WaitUntil([&] { return program.FindWindow(server.Display()) != 0; }));
    server.Stop();
    ASSERT_TRUE(program.EndsWithin(3s));
    EXPECT_NE(ReadWhole(settings).find("MousePoint=0"), std::string::npos);
}

namespace {

// The program installed where it cannot write: its folder a read-only mount holding the
// program and a settings file shipped beside it. HOME and XDG_CONFIG_HOME point into a
// folder of the test's own, for the per-user files.
struct ReadOnlyInstallTest : SettingsProgramTest {
    std::filesystem::path home = program.Directory().string() + "-home";
    bool mounted = false;

    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "mounting a read-only folder needs root";
        std::filesystem::create_directories(home / ".config");
        const std::filesystem::path executable = program.Directory() / "pelmora";
        const std::filesystem::path saved = home / "pelmora";
        std::filesystem::copy_file(executable, saved);
        const std::string folder = program.Directory().string();
        ASSERT_EQ(Shell("mount -t tmpfs -o size=256m tmpfs '" + folder + "' && echo ok"), "ok\n");
        mounted = true;
        std::filesystem::copy_file(saved, executable);
        std::ofstream(settings, std::ios::binary) << kShipped;
        ASSERT_EQ(Shell("mount -o remount,ro '" + folder + "' && echo ok"), "ok\n");
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    }
    void TearDown() override {
        if (program.Running()) program.EndsCleanlyAfter(SIGKILL, 1000ms);
        if (mounted) Shell("umount '" + program.Directory().string() + "'");
        std::filesystem::remove_all(home);
    }
    ~ReadOnlyInstallTest() override {
        if (oldHome) setenv("HOME", oldHome->c_str(), 1);
        else unsetenv("HOME");
        unsetenv("XDG_CONFIG_HOME");
    }

    static constexpr const char* kShipped = "[Position]\r\nPosition4X=12\r\nPosition4Y=34\r\nColor4=255\r\n";
    std::optional<std::string> oldHome =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
};

}  // namespace

TEST_F(ReadOnlyInstallTest, SlotsShippedBesideTheProgramAreRestoredAndTheUsersOwnFileIsWritten) {
    ASSERT_NE(Shell("touch '" + (program.Directory() / "probe").string() + "' 2>&1"), "")
        << "the program folder is writable";
    RunAndTerminate();
    EXPECT_EQ(ReadWhole(settings), kShipped) << "the file beside the program is left alone";
    const std::string written = ReadWhole(home / ".config" / "Pelmora" / "zarade.ini");
    EXPECT_NE(written.find("Position4X=12\r\nPosition4Y=34\r\nColor4=255\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("BmpFilePath=" + (home / "Pictures" / "Pelmora").string() + "\r\n"), std::string::npos)
        << written;
}
