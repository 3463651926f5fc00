// SPDX-License-Identifier: MIT
// The real program told that its session is Wayland (XDG_SESSION_TYPE=wayland) on a desktop
// with openbox: the notice's box comes up over the window, found over AT-SPI as desktop
// test tools find it, the window keeps working behind it, and "不再提示" keeps it away for
// the next start.
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>

#include "managed_program_test.h"
#include "x11_test_support.h"

namespace pelmora::testing {
namespace {

using namespace std::chrono_literals;

struct WaylandNoticeProgramTest : ManagedProgramTest {
    void SetUp() override {
        ManagedProgramTest::SetUp();
        program.environment["XDG_SESSION_TYPE"] = "wayland";
    }
    // The notice's parts on the bus: its check box and its text.
    bool NoticeShows() {
        bool checkBox = false, text = false;
        const AccessibleTree tree = Tree();
        for (const Accessible& object : tree.Objects()) {
            checkBox = checkBox || (object.role == "check box" && object.name == "不再提示");
            text = text || object.name.find("“GNOME on Xorg”或“Plasma (X11)”") != std::string::npos;
        }
        return checkBox && text;
    }
    std::string SettingsFile() const {
        std::ifstream file(program.Directory() / "zarade.ini", std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
};

TEST_F(WaylandNoticeProgramTest, NoticeComesOverTheWorkingWindowAndNotAgainAfterNotAgain) {
    StartProgram("坐标颜色(0)");
    ASSERT_TRUE(WaitUntil([&] { return NoticeShows(); }, 10s)) << "no notice on the bus";

    // Behind the box the window goes on: a hotkey grabs the point under the pointer.
    Xdotool("mousemove 700 600 key ctrl+alt+1");
    std::string slot;
    EXPECT_TRUE(WaitUntil([&] { return (slot = Tree().TextOf("坐标颜色(0)")).rfind("700,600 ", 0) == 0; }, 5s))
        << "slot 1 shows " << slot;

    ASSERT_TRUE(AccessibleTree::DoAction(accessibilityBus, program.Pid(), "不再提示"));
    ASSERT_TRUE(AccessibleTree::DoAction(accessibilityBus, program.Pid(), "OK"));
    ASSERT_TRUE(WaitUntil([&] { return !NoticeShows(); }, 5s)) << "the box stayed";
    // Kept at once, in a section of its own, before the program ends.
    EXPECT_NE(SettingsFile().find("[Wayland]\r\nShowNotice=0\r\n"), std::string::npos) << SettingsFile();

    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    EXPECT_NE(SettingsFile().find("Position0X=700\r\nPosition0Y=600\r\n"), std::string::npos) << SettingsFile();
    EXPECT_NE(SettingsFile().find("[Wayland]\r\nShowNotice=0\r\n"), std::string::npos) << SettingsFile();

    StartProgram("坐标颜色(0)");
    EXPECT_FALSE(WaitUntil([&] { return NoticeShows(); }, 3s)) << "the notice came again";
    EXPECT_EQ(Tree().TextOf("坐标颜色(0)").rfind("700,600 ", 0), 0u);
}

TEST_F(WaylandNoticeProgramTest, ClosedWithoutTheTickItComesAgainEndsWithTheSessionAndNeverInX11) {
    StartProgram("坐标颜色(0)");
    ASSERT_TRUE(WaitUntil([&] { return NoticeShows(); }, 10s)) << "no notice on the bus";
    ASSERT_TRUE(AccessibleTree::DoAction(accessibilityBus, program.Pid(), "OK"));
    ASSERT_TRUE(WaitUntil([&] { return !NoticeShows(); }, 5s)) << "the box stayed";
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    EXPECT_EQ(SettingsFile().find("Wayland"), std::string::npos) << SettingsFile();

    StartProgram("坐标颜色(0)");
    EXPECT_TRUE(WaitUntil([&] { return NoticeShows(); }, 10s)) << "the notice did not come again";
    // The session ends while the box is up: the program still shuts down, saving the slots.
    Xdotool("mousemove 300 200 key ctrl+alt+2");
    ASSERT_TRUE(WaitUntil([&] { return Tree().TextOf("坐标颜色(1)").rfind("300,200 ", 0) == 0; }, 5s));
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    EXPECT_NE(SettingsFile().find("Position1X=300\r\nPosition1Y=200\r\n"), std::string::npos) << SettingsFile();

    program.environment.clear();  // an X11 session
    StartProgram("坐标颜色(0)");
    EXPECT_FALSE(WaitUntil([&] { return NoticeShows(); }, 3s)) << "a notice in an X11 session";
}

}  // namespace
}  // namespace pelmora::testing
