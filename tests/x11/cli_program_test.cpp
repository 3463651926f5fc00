// SPDX-License-Identifier: MIT
// pelmora-cli beside the real program on a desktop with openbox: for the same point and the
// same cursor, what the command prints equals what the program's window shows, read over
// AT-SPI as desktop test tools read it (the colour read-out, the window page, the cursor
// page), and equals what the test put on the screen.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "cli_painted_window.h"
#include "cli_process.h"
#include "managed_program_test.h"
#include "server_cursor.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

const std::string kTitle = "CLI Probe 探针窗口 ✓";

// The probe window, 200 x 120: red (#FF0000) on its left half, #3366CC on its right half.
constexpr int kProbeWidth = 200, kProbeHeight = 120;
std::int32_t ProbeColour(int x, int) { return x < kProbeWidth / 2 ? 0x0000FF : 0xCC6633; }

// Centres of controls in the program's client area.
constexpr int kWindowPage[2] = {136, 282};  // Option2(2) "找句柄"
constexpr int kSearchTab[2] = {40, 243};    // 句柄选项(1) "搜索"
constexpr int kListTab[2] = {40, 261};      // 句柄选项(2) "遍历"
constexpr int kSearchText[2] = {174, 225};  // Text4
constexpr int kSearch[2] = {293, 251};      // Command8
constexpr int kFillList[2] = {292, 228};    // Command9
constexpr int kCursorPage[2] = {88, 282};   // Option2(1) "抓鼠标"
constexpr int kMethodBox[2] = {182, 254};   // Combo1

std::string XdotoolPoint(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

struct CliProgramTest : ManagedProgramTest {
    XWindowId probe = 0;

    CliOutcome Cli(const std::vector<std::string>& args) { return RunCli(desktop.Display(), args); }
    // What the command printed, or its status and message when it failed.
    std::string Printed(const std::vector<std::string>& args) {
        const CliOutcome outcome = Cli(args);
        return outcome.status == 0 ? outcome.out : "status " + std::to_string(outcome.status) + ": " + outcome.err;
    }

    // The probe window, framed by openbox, with the program started beside it.
    void StartBesideTheProbe() {
        probe = client->Create(700, 400, kProbeWidth, kProbeHeight);
        client->SetTitle(probe, kTitle);
        client->SetClass(probe, "probe", "Probe");
        ShowPicture(*client, probe, kProbeWidth, kProbeHeight, ProbeColour);
        ASSERT_TRUE(client->MapManaged(probe));
        StartProgram("Text2");
        ASSERT_LT(left + 445, client->OnScreen(probe, 0, 0).first) << "the program lies over the probe";
    }
    // A point of the probe and the colour painted there.
    struct ProbePoint {
        int x, y;
        std::string decimal, hex, rgb;
    };
    // With sampling on, puts the pointer on the probe's point and checks that pixel, pointer,
    // window-at and window print what the program's read-out and window page show there.
    void ExpectCommandsPrintWhatTheWindowShows(const ProbePoint& point) {
        const auto [x, y] = client->OnScreen(probe, point.x, point.y);
        const std::string sx = std::to_string(x), sy = std::to_string(y);
        Xdotool("mousemove " + XdotoolPoint(x, y));
        const AccessibleTree tree = WaitForFields({{"得x", sx}, {"得y", sy}, {"Text2", std::to_string(probe)}});
        const auto field = [&](const char* name) { return tree.TextOf(name); };

        // The colour: what the test painted, and every form as the read-out shows it.
        EXPECT_EQ(field("得16"), point.hex);
        EXPECT_EQ(field("得10"), point.decimal);
        EXPECT_EQ(Printed({"pixel", sx, sy}), point.hex + "\n");
        EXPECT_EQ(Printed({"pixel"}), point.hex + "\n") << "at the pointer";
        EXPECT_EQ(Printed({"pointer"}), sx + "," + sy + "\n");
        const std::string rgb = field("得10r") + "," + field("得10g") + "," + field("得10b");
        const std::string hsl = field("得10h") + "," + field("得10s") + "," + field("得10l");
        EXPECT_EQ(rgb, point.rgb);
        if (point.hex == "0000FF") {
            EXPECT_EQ(hsl, "0,240,120");
        }
        EXPECT_EQ(Printed({"pixel", sx, sy, "--format", "all"}),
                  "10进制：" + point.decimal + "\n16进制：" + point.hex + "\nRGB：" + rgb + "\nHSL：" + hsl + "\n");
        EXPECT_EQ(Printed({"--json", "pixel", sx, sy}),
                  "{\"x\":" + sx + ",\"y\":" + sy + ",\"decimal\":" + point.decimal + ",\"hex\":\"" + point.hex +
                      "\",\"rgb\":[" + rgb + "],\"hsl\":[" + hsl + "]}\n");

        // The window: the client, not openbox's frame, with its title and class.
        EXPECT_EQ(Printed({"window-at", sx, sy}), field("Text2") + "\n");
        EXPECT_EQ(Printed({"window", field("Text2")}), field("Text1") + "\n" + field("Text3") + "\n");
        EXPECT_EQ(field("Text1"), kTitle);
        EXPECT_EQ(field("Text3"), "Probe");
    }
    // Waits until the tree shows every field of wanted with its text; the last tree read.
    AccessibleTree WaitForFields(const std::vector<std::pair<std::string, std::string>>& wanted) {
        AccessibleTree tree;
        std::string shown;
        const bool matched = WaitUntil(
            [&] {
                tree = Tree();
                shown.clear();
                bool all = true;
                for (const auto& [field, text] : wanted) {
                    shown += field + "=" + tree.TextOf(field) + " ";
                    all = all && tree.TextOf(field) == text;
                }
                return all;
            },
            10s);
        EXPECT_TRUE(matched) << "the fields show " << shown;
        return tree;
    }
};

}  // namespace

TEST_F(CliProgramTest, PixelAndWindowCommandsPrintWhatTheWindowShowsForThePoint) {
    StartBesideTheProbe();
    if (HasFatalFailure()) return;
    ASSERT_NE(client->Parent(probe), client->root()) << "openbox framed the probe";
    Xdotool("key alt+grave");  // sampling on
    {
        SCOPED_TRACE("red");
        ExpectCommandsPrintWhatTheWindowShows({50, 60, "255", "0000FF", "255,0,0"});
    }
    {
        SCOPED_TRACE("#3366CC");
        ExpectCommandsPrintWhatTheWindowShows({150, 60, "13395507", "CC6633", "51,102,204"});
    }
    EXPECT_EQ(Printed({"--json", "window", std::to_string(probe)}),
              "{\"handle\":" + std::to_string(probe) + ",\"title\":\"" + kTitle + "\",\"class\":\"Probe\"}\n");

    // Off the screen there is neither a pixel nor a window: status 1, a message and no output.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"pixel", "-1", "0"}, {"window-at", "5", "-1"}}) {
        const CliOutcome outcome = Cli(args);
        EXPECT_EQ(outcome.status, 1) << args[0];
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("pelmora-cli: "), std::string::npos) << outcome.err;
    }
}

TEST_F(CliProgramTest, WindowsAndSearchPrintTheLinesOfTheWindowPage) {
    StartBesideTheProbe();
    if (HasFatalFailure()) return;
    Click(kWindowPage);
    Click(kListTab);
    Click(kFillList);
    // The list's lines, "[nnn]handle=title", as the rows below List1.
    const std::string probeLine = std::to_string(probe) + "=" + kTitle;
    std::vector<std::string> listed;
    ASSERT_TRUE(WaitUntil(
        [&] {
            listed.clear();
            const AccessibleTree tree = Tree();
            const std::vector<Accessible>& objects = tree.Objects();
            for (std::size_t i = 0; i < objects.size(); ++i) {
                if (objects[i].description != "List1") continue;
                for (std::size_t row = i + 1; row < objects.size() && objects[row].depth > objects[i].depth; ++row)
                    if (objects[row].role == "list item") listed.push_back(objects[row].name);
            }
            return std::any_of(listed.begin(), listed.end(),
                               [&](const std::string& line) { return line.size() > 5 && line.substr(5) == probeLine; });
        },
        10s))
        << listed.size() << " lines listed";

    std::string lines;
    for (const std::string& line : listed) lines += line + "\n";
    EXPECT_EQ(Printed({"windows"}), lines);

    Click(kSearchTab);
    Click(kSearchText);
    Xdotool("type --delay 30 Probe");
    Click(kSearch);
    const std::string found = "[1]" + std::to_string(probe);
    std::string shown;
    EXPECT_TRUE(WaitUntil(
        [&] {
            shown = Tree().TextOf("Text5");
            std::erase(shown, '\r');
            return shown == found + "\n";
        },
        10s))
        << shown;
    EXPECT_EQ(Printed({"windows", "--search", "Probe"}), shown);
    EXPECT_EQ(Printed({"windows", "--search", "探针"}), found + "\n");
    EXPECT_EQ(Printed({"--json", "windows", "--search", "Probe"}), "{\"lines\":[\"" + found + "\"]}\n");
    const CliOutcome nothing = Cli({"windows", "--search", "no such title 无"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.out, "");
}

TEST_F(CliProgramTest, CursorCodeEqualsTheCursorPageForEveryMethod) {
    // Two live windows of another program carrying a hand and a text beam.
    const std::vector<XWindowId> shapes = ShowCursorWindows({XC_hand2, XC_xterm});
    StartProgram("鼠标特征码");
    ASSERT_LT(left + 445, 900) << "the program lies under the shape windows";
    Click(kCursorPage);
    Xdotool("key alt+grave");  // sampling on

    for (int method = 0; method <= 2; ++method) {
        SCOPED_TRACE("method " + std::to_string(method));
        if (method > 0) {
            Click(kMethodBox);
            Xdotool("key --delay 100 Down Return");  // the next entry of the method box
        }
        std::string codes[2];
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const ServerCursor cursor = PointAtMiddleOf(shapes[i]);
            codes[i] = Printed({"cursor-code", "--method", std::to_string(method)});
            EXPECT_EQ(codes[i], std::to_string(ExpectedCode(cursor, method)) + "\n");
            codes[i].pop_back();
            std::string shown;
            EXPECT_TRUE(WaitUntil([&] { return (shown = Tree().TextOf("鼠标特征码")) == codes[i]; }, 10s))
                << "the code box shows " << shown << ", the command printed " << codes[i];
        }
        EXPECT_NE(codes[0], codes[1]) << "the hand and the text beam have codes of their own";
        if (method == 2) {
            EXPECT_EQ(Printed({"--json", "cursor-code", "--method", "2"}),
                      "{\"method\":2,\"code\":" + codes[1] + "}\n");
        }
    }
}

TEST_F(CliProgramTest, APictureCutFromTheWindowAt150PercentIsFoundAtTwoThirdsInANormalSession) {
    // The magnifier's frame, Frame1(4) at 328,8 of the client area, 104 x 112 of it: cut
    // where the program runs at 150 %, so 156 x 168 pixels, once the window stands still.
    const std::string cut = (program.Directory() / "magnifier-150.bmp").string();
    const auto stillCut = [&](int x, int y, int width, int height, const std::string& file) {
        const std::string rect = std::to_string(left + x) + "," + std::to_string(top + y) + "," +
                                 std::to_string(width) + "," + std::to_string(height);
        std::string before;
        return WaitUntil(
            [&] {
                if (Cli({"snapshot", "--rect", rect, file}).status != 0) return false;
                const std::string now = ReadWhole(file);
                return std::exchange(before, now) == now;
            },
            10s);
    };
    program.environment["QT_SCALE_FACTOR"] = "1.5";
    StartProgram("Picture1");
    ASSERT_TRUE(stillCut(492, 12, 156, 168, cut));
    ASSERT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));

    program.environment.erase("QT_SCALE_FACTOR");
    StartProgram("Picture1");
    ASSERT_TRUE(stillCut(328, 8, 104, 112, (program.Directory() / "shown.bmp").string()));
    const CliOutcome found = Cli({"--json", "find-image", cut, "--scales", "0.667,1", "--similarity", "0.8"});
    ASSERT_EQ(found.status, 0) << found.err;
    int x = 0, y = 0;
    ASSERT_EQ(std::sscanf(found.out.c_str(), "{\"x\":%d,\"y\":%d,", &x, &y), 2) << found.out;
    EXPECT_LE(std::abs(x - (left + 328)), 1) << found.out;
    EXPECT_LE(std::abs(y - (top + 8)), 1) << found.out;
    EXPECT_NE(found.out.find("\"scale\":0.667}"), std::string::npos) << found.out;
    EXPECT_EQ(Cli({"find-image", cut, "--similarity", "0.8"}).status, 1) << "found at its own size";
}
