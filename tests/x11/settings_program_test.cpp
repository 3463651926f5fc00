#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
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
    EXPECT_EQ(ReadWhole(settings), "[Bmp]\r\nBmpFilePath=" + (program.Directory() / "Snap").string() +
                                       "\r\nMousePoint=0\r\n");
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
