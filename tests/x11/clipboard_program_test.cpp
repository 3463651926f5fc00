// SPDX-License-Identifier: MIT
// The clipboard buttons of the real program against another program's clipboard use
// (xclip), on the CLIPBOARD selection that Ctrl+C and Ctrl+V use.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "backends/x11/x11_desktop.h"
#include "sampling/colour_model.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// Centres of controls in the client area (the window sits at 0, 0: no window manager).
constexpr int kIndicator[2] = {332, 131};        // Label8
constexpr int kCopyPoint[2] = {307, 51};         // Command11(0), beside 得x
constexpr int kCopyHex[2] = {307, 123};          // Command11(5), beside 得16
constexpr int kGotSwatch[2] = {275, 88};         // 得颜色
constexpr int kCheck3[2] = {340, 223};           // 定位起点
constexpr int kPasteStartPoint[2] = {415, 242};  // Command11(4)
constexpr int kEraseStartPoint[2] = {415, 260};  // Command11(11)
constexpr int kLookUpCode[2] = {164, 224};       // 查10
constexpr int kLookUp[2] = {216, 233};           // Command1
constexpr int kCopyRgb[2] = {137, 261};          // Command11(2)
constexpr int kCopyHsl[2] = {267, 261};          // Command11(3)
constexpr int kCustomPanel[2] = {295, 18};       // Option3(1) "查颜色"
constexpr int kPastePoint[2] = {307, 51};        // Command11(1), beside 自x
constexpr int kShowColour[2] = {225, 88};        // Command2
constexpr int kCopyCustomHex[2] = {307, 123};    // Command11(6), beside 自16
constexpr int kWindowPage[2] = {136, 282};       // Option2(2) "找句柄"
constexpr int kPasteHandle[2] = {221, 225};      // Command11(7)
constexpr int kFindTexts[2] = {237, 225};        // Command11(8)
constexpr int kCopyTitle[2] = {237, 242};        // Command11(9)

// A client that takes the CLIPBOARD selection and then never reads its connection: every
// request for the clipboard's contents goes unanswered, as with a hung program.
class SilentClipboardOwner {
public:
    SilentClipboardOwner() : display_(XOpenDisplay(nullptr)) {
        if (!display_) return;
        const ::Window window = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(display_, XInternAtom(display_, "CLIPBOARD", False), window, CurrentTime);
        XSync(display_, False);
    }
    ~SilentClipboardOwner() {
        if (display_) XCloseDisplay(display_);
    }
    SilentClipboardOwner(const SilentClipboardOwner&) = delete;
    SilentClipboardOwner& operator=(const SilentClipboardOwner&) = delete;
    bool Owns() const {
        return display_ && XGetSelectionOwner(display_, XInternAtom(display_, "CLIPBOARD", False)) != None;
    }

private:
    ::Display* display_;
};

struct ClipboardProgramTest : ::testing::Test {
    ProgramUnderTest program;
    PatternWindow pattern{600, 400, 40, 40};
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> desktop;

    void SetUp() override {
        ASSERT_TRUE(connection);
        desktop = std::make_unique<X11Desktop>(*connection);
        program.Start();
        ASSERT_TRUE(WaitUntil([&] { return program.FindWindow() != 0; }));
    }
    static void Click(const int (&at)[2]) {
        Shell("xdotool mousemove " + std::to_string(at[0]) + " " + std::to_string(at[1]) + " click 1");
    }
    // As a user does it: sampling on with Alt+`, point at the pattern's pixel (x, y), wait
    // until the get panel shows it, and stop sampling there with Alt+` again.
    void SampleAndStop(int x, int y) {
        Shell("xdotool key alt+grave mousemove " + std::to_string(600 + x) + " " + std::to_string(400 + y));
        const Colour expected = PatternWindow::ColourAt(x, y);
        ASSERT_TRUE(WaitUntil([&] { return desktop->Pixel(kGotSwatch[0], kGotSwatch[1]) == expected; }, 3s));
        Shell("xdotool key alt+grave");
        ASSERT_TRUE(WaitUntil([&] { return desktop->Pixel(kIndicator[0], kIndicator[1]) == kColourGreen; }, 3s));
    }
    // Another program puts text on the clipboard and serves it until someone takes over.
    static void OfferText(const std::string& text) {
        Shell("printf '%s' '" + text + "' | xclip -selection clipboard -i >/dev/null 2>&1");
    }
    // Bounded: a clipboard owner that never answers would keep xclip waiting.
    static std::string ClipboardText() { return Shell("timeout 2 xclip -selection clipboard -o 2>/dev/null"); }
    // Waits until the clipboard holds expected; returns what it last held.
    static std::string WaitForClipboard(const std::string& expected, std::chrono::milliseconds limit = 3s) {
        std::string text;
        WaitUntil([&] { return (text = ClipboardText()) == expected; }, limit);
        return text;
    }
};

}  // namespace

TEST_F(ClipboardProgramTest, CopiesTheSampledPointAndColourForAScript) {
    SampleAndStop(10, 20);
    const std::string colour = std::string(1, '"').append(ColorHex6(PatternWindow::ColourAt(10, 20))).append(1, '"');
    Click(kCopyHex);
    EXPECT_EQ(WaitForClipboard(colour), colour);
    Click(kCopyPoint);
    EXPECT_EQ(WaitForClipboard("610,420"), "610,420");
}

TEST_F(ClipboardProgramTest, PastedStartPointMakesCopiedPointsRelative) {
    OfferText("100, 20");
    Click(kPasteStartPoint);
    Click(kCheck3);
    SampleAndStop(10, 20);
    Click(kCopyPoint);
    EXPECT_EQ(WaitForClipboard("510,400"), "510,400");

    Click(kEraseStartPoint);
    SampleAndStop(11, 21);
    Click(kCopyPoint);
    EXPECT_EQ(WaitForClipboard("611,421"), "611,421");
}

TEST_F(ClipboardProgramTest, LookedUpComponentsGoToTheClipboard) {
    Click(kLookUpCode);
    Shell("xdotool type --delay 20 ff");
    Click(kLookUp);
    Click(kCopyRgb);
    EXPECT_EQ(WaitForClipboard("255,0,0"), "255,0,0");
    Click(kCopyHsl);
    EXPECT_EQ(WaitForClipboard("0,240,120"), "0,240,120");
}

TEST_F(ClipboardProgramTest, PastedPointIsReadAndItsColourCopied) {
    OfferText("612, 421");
    Click(kCustomPanel);
    Click(kPastePoint);
    Click(kShowColour);
    Click(kCopyCustomHex);
    const std::string colour = std::string(1, '"').append(ColorHex6(PatternWindow::ColourAt(12, 21))).append(1, '"');
    EXPECT_EQ(WaitForClipboard(colour), colour);
}

TEST_F(ClipboardProgramTest, PastedHandleGivesTheWindowTitleToCopy) {
    OfferText(std::to_string(program.FindWindow()) + " from a script");
    Click(kWindowPage);
    Click(kPasteHandle);
    Click(kFindTexts);
    Click(kCopyTitle);
    EXPECT_EQ(WaitForClipboard("\"Pelmorav3.50.1101正式版\""), "\"Pelmorav3.50.1101正式版\"");
}

TEST_F(ClipboardProgramTest, PasteFromAClipboardOwnerThatNeverAnswersLeavesTheHandleField) {
    const std::string handle = std::to_string(program.FindWindow());
    OfferText(handle);
    Click(kWindowPage);
    Click(kPasteHandle);
    {
        SilentClipboardOwner hung;
        ASSERT_TRUE(hung.Owns());
        // The program waits for an answer that never comes, gives up, and must leave the
        // handle it showed: finding its texts and copying the title then gives its own title.
        Click(kPasteHandle);
        Click(kFindTexts);
        Click(kCopyTitle);
        EXPECT_EQ(WaitForClipboard("\"Pelmorav3.50.1101正式版\"", 15s), "\"Pelmorav3.50.1101正式版\"");
    }
}
