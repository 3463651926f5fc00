// SPDX-License-Identifier: MIT
// The window tools of the real program on a desktop as users have it: openbox frames every
// window, so the window at a point is the manager's frame with the program's window below
// it. The fields are read over AT-SPI, as desktop test tools read them.
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <sstream>

#include "managed_program_test.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

const std::string kTitle = "Notepad Test 记事本 ✓";

// Centres of controls in the program's client area.
constexpr int kWindowPage[2] = {136, 282};     // Option2(2) "找句柄"
constexpr int kSearchTab[2] = {40, 243};       // 句柄选项(1) "搜索"
constexpr int kListTab[2] = {40, 261};         // 句柄选项(2) "遍历"
constexpr int kCheck4[2] = {259, 242};         // "P"
constexpr int kCrossHair[2] = {292, 234};      // picCrossHair
constexpr int kCrossHairLine[2] = {291, 233};  // the crosshair's centre pixel in its box
constexpr int kSearchText[2] = {174, 225};     // Text4
constexpr int kSearch[2] = {293, 251};         // Command8
constexpr int kFillList[2] = {292, 228};       // Command9
constexpr int kCopyList[2] = {292, 253};       // Command10
constexpr int kFirstLine[2] = {86, 223};       // the first line of List1
constexpr int kLabel9[2] = {360, 150};

struct WindowToolsProgramTest : ManagedProgramTest {
    ::Window notepad = None;

    void SetUp() override {
        ManagedProgramTest::SetUp();
        if (HasFatalFailure()) return;
        notepad = client->Create(640, 360, 240, 160);
        client->SetTitle(notepad, kTitle);
        client->SetClass(notepad, "notepad", "Notepad");
        ASSERT_TRUE(client->MapManaged(notepad));
        StartProgram("Text2");
    }
    // Waits until the three pick fields show handle, title and class; says what they showed.
    ::testing::AssertionResult PickShows(unsigned long handle, const std::string& title, const std::string& className) {
        std::string shown;
        const bool matched = WaitUntil(
            [&] {
                const AccessibleTree tree = Tree();
                shown = tree.TextOf("Text2") + " | " + tree.TextOf("Text1") + " | " + tree.TextOf("Text3");
                return shown == std::to_string(handle) + " | " + title + " | " + className;
            },
            10s);
        if (matched) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the pick fields show " << shown;
    }
    std::string Centre(::Window window) {
        const auto [x, y] = client->OnScreen(window, 120, 80);
        return std::to_string(x) + " " + std::to_string(y);
    }
    std::string ClipboardText() { return Shell(desktop.On("xclip -selection clipboard -o 2>/dev/null")); }
    unsigned long ScreenPixel(int x, int y) {
        XImage* image = XGetImage(client->display(), client->root(), x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image ? XGetPixel(image, 0, 0) : ~0ul;
        if (image) XDestroyImage(image);
        return pixel;
    }
    std::string ClassOf(::Window window) {
        XClassHint hint{};
        if (!XGetClassHint(client->display(), window, &hint)) return {};
        std::string className = hint.res_class ? hint.res_class : "";
        XFree(hint.res_name);
        XFree(hint.res_class);
        return className;
    }
};

}  // namespace

TEST_F(WindowToolsProgramTest, HoveringAFramedWindowShowsItsClientWindow) {
    Xdotool("key alt+grave mousemove " + Centre(notepad));  // sampling on, over the other program
    EXPECT_TRUE(PickShows(notepad, kTitle, "Notepad"));
    ASSERT_NE(client->Parent(notepad), client->root()) << "openbox framed it";

    // Over the program's own window: its own handle, caption and class.
    Xdotool("mousemove " + std::to_string(left + kLabel9[0]) + " " + std::to_string(top + kLabel9[1]));
    EXPECT_TRUE(PickShows(programWindow, "Pelmorav3.50.1101正式版", ClassOf(programWindow)));
    EXPECT_FALSE(ClassOf(programWindow).empty());
}

TEST_F(WindowToolsProgramTest, CrossHairDragPicksTheWindowWhereTheButtonIsReleased) {
    Click(kWindowPage);
    Click(kCheck4);            // stop following the pointer; the crosshair can be dragged
    Xdotool("key alt+grave");  // sampling on: the pressed P keeps the fields to the drag
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(left + kCrossHairLine[0], top + kCrossHairLine[1]) == 0; }, 5s));

    Xdotool("mousemove " + std::to_string(left + kCrossHair[0]) + " " + std::to_string(top + kCrossHair[1]) +
            " mousedown 1");
    Xdotool("mousemove " + Centre(notepad));
    EXPECT_TRUE(PickShows(notepad, kTitle, "Notepad"));
    // While the button is held over the other program, the pointer is the crosshair with its
    // hot spot at the centre, and the crosshair has left its box.
    XFixesCursorImage* cursor = XFixesGetCursorImage(client->display());
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->width, 32);
    EXPECT_EQ(cursor->height, 32);
    EXPECT_EQ(cursor->xhot, 15);
    EXPECT_EQ(cursor->yhot, 15);
    EXPECT_EQ(cursor->pixels[15 * 32 + 1] & 0xFFFFFFFF, 0xFF000000ul) << "a black line through the centre";
    EXPECT_EQ(cursor->pixels[0] & 0xFF000000, 0ul) << "transparent elsewhere";
    XFree(cursor);
    EXPECT_NE(ScreenPixel(left + kCrossHairLine[0], top + kCrossHairLine[1]), 0ul);

    Xdotool("mouseup 1");
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(left + kCrossHairLine[0], top + kCrossHairLine[1]) == 0; }, 5s))
        << "the crosshair is back in its box";
    cursor = XFixesGetCursorImage(client->display());
    ASSERT_NE(cursor, nullptr);
    EXPECT_FALSE(cursor->width == 32 && cursor->xhot == 15 && cursor->yhot == 15) << "the pointer is the default again";
    XFree(cursor);

    // The pick stays while P is pressed, wherever the pointer goes.
    Xdotool("mousemove " + std::to_string(left + kLabel9[0]) + " " + std::to_string(top + kLabel9[1]));
    EXPECT_TRUE(PickShows(notepad, kTitle, "Notepad"));
}

TEST_F(WindowToolsProgramTest, ListAndSearchFindEveryTitledWindowInStackingOrder) {
    Click(kWindowPage);
    Click(kListTab);
    Click(kFillList);
    Click(kCopyList);
    std::string copied;
    ASSERT_TRUE(WaitUntil([&] { return (copied = ClipboardText()).find(kTitle) != std::string::npos; }, 5s)) << copied;

    // The lines, "[nnn]handle=title", joined by CR LF.
    std::vector<unsigned long> listed;
    std::istringstream lines(copied);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        char expectedNumber[8];
        std::snprintf(expectedNumber, sizeof expectedNumber, "[%03d]", ++number % 1000);
        ASSERT_EQ(line.substr(0, 5), expectedNumber) << line;
        const std::size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        EXPECT_GT(line.size(), equals + 1) << "untitled windows are not listed: " << line;
        listed.push_back(std::stoul(line.substr(5, equals - 5)));
        if (listed.back() == notepad) {
            EXPECT_EQ(line.substr(equals + 1), kTitle);
        }
    }
    // The managed windows come in the window manager's stacking order, top first.
    std::vector<unsigned long> stacking = client->RootList("_NET_CLIENT_LIST_STACKING");
    std::reverse(stacking.begin(), stacking.end());
    std::vector<unsigned long> listedClients;
    for (unsigned long handle : listed)
        if (std::find(stacking.begin(), stacking.end(), handle) != stacking.end()) listedClients.push_back(handle);
    EXPECT_EQ(listedClients, stacking);
    ASSERT_FALSE(listed.empty());

    // A double-click on the first line copies its handle.
    Xdotool("mousemove " + std::to_string(left + kFirstLine[0]) + " " + std::to_string(top + kFirstLine[1]) +
            " click --repeat 2 --delay 80 1");
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == std::to_string(listed.front()); }, 5s)) << ClipboardText();

    Click(kSearchTab);
    Click(kSearchText);
    Xdotool("type --delay 30 Test");
    Click(kSearch);
    // The field shows the result's one line, "[1]handle" and its line break.
    const std::string expected = "[1]" + std::to_string(notepad);
    std::string shown;
    EXPECT_TRUE(WaitUntil(
        [&] {
            shown = Tree().TextOf("Text5");
            std::erase(shown, '\r');
            return shown == expected + "\n" || shown == expected;
        },
        10s))
        << shown;
}
