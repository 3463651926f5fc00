// SPDX-License-Identifier: MIT
// The real program seen through AT-SPI, the way desktop test tools see it: every widget
// is found by its accessible description (the control's name with its index), carries
// the name a person reads, and a field's text is read over the bus. Runs on a session bus
// of its own (dbus-run-session), on which the accessibility bus is started on demand;
// the client is Debian's /usr/bin/python3 with pyatspi.
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "atspi_client.h"
#include "x11_test_support.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

struct AccessibilityProgramTest : ::testing::Test {
    static inline std::string accessibilityBus;
    ProgramUnderTest program;
    AccessibleTree tree;

    // Starts the accessibility bus on the private session bus before the program, so the
    // program and the client both find this one (and no address left on the X root
    // window by an earlier bus).
    static void SetUpTestSuite() { accessibilityBus = AccessibleTree::StartAccessibilityBus(); }

    void SetUp() override {
        ASSERT_NE(accessibilityBus.find("unix:"), std::string::npos) << "no accessibility bus: " << accessibilityBus;
        program.Start();
        // The program registers on the bus a moment after its window appears.
        ASSERT_TRUE(WaitUntil(
            [&] {
                tree = AccessibleTree::Read(accessibilityBus, program.Pid());
                const Accessible* field = tree.Find("路径文本框");
                return field && !field->text.empty();
            },
            20s))
            << "the program never showed its tree on the accessibility bus";
    }
    void TearDown() override { EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms)); }
};

}  // namespace

TEST_F(AccessibilityProgramTest, ControlsAreFoundByTheirIdAndNamedWithWhatPeopleRead) {
    const std::vector<Accessible>& objects = tree.Objects();
    ASSERT_GE(objects.size(), 2u);
    EXPECT_EQ(objects[0].depth, 0);
    EXPECT_EQ(objects[0].role, "application");
    const Accessible& window = objects[1];
    EXPECT_EQ(window.role, "frame");
    EXPECT_EQ(window.description, "Form1");
    EXPECT_EQ(window.name, "Pelmorav3.50.1101正式版");

    const Accessible* folder = tree.Find("路径文本框");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->role, "text");
    EXPECT_EQ(folder->text, (program.Directory() / "Snap").string());
    EXPECT_EQ(folder->name, "保存路径：");

    const Accessible* startStop = tree.Find("Check1");
    ASSERT_NE(startStop, nullptr);
    EXPECT_EQ(startStop->role, "check box");
    EXPECT_EQ(startStop->name, "启动／停止");

    const Accessible* slot = tree.Find("坐标颜色(3)");
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->role, "text");
}

TEST_F(AccessibilityProgramTest, EveryWidgetInTheTreeHasADescriptionOfItsOwn) {
    std::map<std::string, int> uses;
    int widgets = 0;
    const std::vector<Accessible>& objects = tree.Objects();
    for (std::size_t i = 1; i < objects.size(); ++i) {  // below the application
        const Accessible& accessible = objects[i];
        // The rows of a list are no widgets of their own.
        if (accessible.role == "list item" || accessible.role == "table cell") continue;
        ++widgets;
        EXPECT_FALSE(accessible.description.empty())
            << "a " << accessible.role << " named \"" << accessible.name << "\" at depth " << accessible.depth;
        ++uses[accessible.description];
    }
    EXPECT_GT(widgets, 100);
    for (const auto& [description, count] : uses) EXPECT_EQ(count, 1) << description << " is not unique";
}
