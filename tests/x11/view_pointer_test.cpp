// SPDX-License-Identifier: MIT
// The view's mouse input and pointer on the real X server, driven by xdotool: a control
// pressed keeps the moves and the release while the pointer is over another client's
// window, and the window's custom pointer is the cursor the server shows meanwhile.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/qt/form_view.h"
#include "qt_event_wait.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

constexpr int kHotX = 5, kHotY = 9;
constexpr std::int32_t kRed = 0x0000FF;  // 0x00BBGGRR

// 32 x 32, red, with a transparent top-left quarter.
PointerImage TestPointer() {
    PointerImage pointer{Surface(32, 32, kRed), kHotX, kHotY};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pointer.image.SetPixel(x, y, -1);
    return pointer;
}

struct DragForm : ControlHost {
    PictureBox pad;
    TextBox field;
    std::vector<std::string> log;

    DragForm() {
        pad.Place(*this, nullptr, "pad", -1, {20, 20, 60, 60});
        field.Place(*this, nullptr, "field", -1, {100, 20, 80, 20});
        // Like a crosshair pick: the pointer changes while the pad is held.
        pad.onMouseDown = [this](const MouseEvent& e) {
            Record("down", e);
            SetMouseIcon(TestPointer());
            SetMousePointer(MousePointer::Custom);
        };
        pad.onMouseMove = [this](const MouseEvent& e) { Record("move", e); };
        field.onMouseMove = [this](const MouseEvent& e) { Record("field move", e); };
        pad.onMouseUp = [this](const MouseEvent& e) {
            Record("up", e);
            SetMousePointer(MousePointer::Default);
        };
        pad.onDblClick = [this] { log.push_back("dblclick"); };
    }
    void Record(const char* what, const MouseEvent& e) {
        log.push_back(std::string(what) + " " + std::to_string(e.button) + " " + std::to_string(e.shift) + " " +
                      std::to_string(e.x) + "," + std::to_string(e.y));
    }
    bool Logged(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }
};

// The cursor the X server shows now.
struct ShownCursor {
    int width = 0, height = 0, hotX = 0, hotY = 0;
    std::vector<std::uint32_t> argb;  // premultiplied
    bool IsTestPointer() const { return width == 32 && height == 32 && hotX == kHotX && hotY == kHotY; }
};

ShownCursor CursorOf(::Display* display) {
    ShownCursor shown;
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) return shown;
    shown = {image->width, image->height, image->xhot, image->yhot, {}};
    for (int i = 0; i < image->width * image->height; ++i)
        shown.argb.push_back(static_cast<std::uint32_t>(image->pixels[i]));  // the low 32 bits of each
    XFree(image);
    return shown;
}

std::string Xdotool(const std::string& arguments) { return Shell("xdotool " + arguments); }

struct ViewPointerTest : ::testing::Test {
    ::Display* display = XOpenDisplay(nullptr);
    DragForm form;
    std::unique_ptr<FormView> view;
    int left = 0, top = 0;  // the client area on the screen

    void SetUp() override {
        ASSERT_NE(display, nullptr);
        int eventBase, errorBase;
        ASSERT_TRUE(XFixesQueryExtension(display, &eventBase, &errorBase));
        MoveTo(5, 5);  // away from where the view will be: moving onto it is then a move
        view = std::make_unique<FormView>(form, "指针", 200, 100);
        view->move(100, 100);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        ::Window child;
        ASSERT_TRUE(
            XTranslateCoordinates(display, view->winId(), DefaultRootWindow(display), 0, 0, &left, &top, &child));
    }
    void TearDown() override {
        Xdotool("mouseup 1 keyup shift");
        view.reset();
        if (display) XCloseDisplay(display);
    }
    void MoveTo(int x, int y) { Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y)); }
    bool CursorBecomes(bool testPointer) {
        return PumpUntil([&] { return CursorOf(display).IsTestPointer() == testPointer; }, 3s);
    }
};

}  // namespace

TEST_F(ViewPointerTest, APressedControlKeepsMovesAndReleaseOverAnotherClientWithItsPointerShown) {
    PatternWindow other(600, 500, 100, 100);  // another client's window, away from the view
    ASSERT_FALSE(CursorOf(display).IsTestPointer());

    // Hovering the pad reports moves with no button.
    MoveTo(left + 50, top + 50);
    EXPECT_TRUE(PumpUntil([&] { return form.Logged("move 0 0 30,30"); })) << ::testing::PrintToString(form.log);

    Xdotool("keydown shift mousedown 1 keyup shift");
    ASSERT_TRUE(PumpUntil([&] { return form.Logged("down 1 1 30,30"); })) << ::testing::PrintToString(form.log);
    EXPECT_TRUE(CursorBecomes(true)) << "the pointer set on the press is not shown over the window";

    // Over the other client's window, outside the view, with the button still held.
    const std::string outside = std::to_string(650 - left - 20) + "," + std::to_string(550 - top - 20);
    MoveTo(650, 550);
    EXPECT_TRUE(PumpUntil([&] { return form.Logged("move 1 0 " + outside); })) << ::testing::PrintToString(form.log);
    const ShownCursor shown = CursorOf(display);
    ASSERT_TRUE(shown.IsTestPointer()) << "shown over the other window: " << shown.width << "x" << shown.height
                                       << " hot " << shown.hotX << "," << shown.hotY;
    EXPECT_EQ(shown.argb[0] >> 24, 0u) << "the transparent quarter";
    EXPECT_EQ(shown.argb[20 * 32 + 20], 0xFFFF0000u) << "opaque red";
    // And the moves keep coming while the pointer travels over it.
    MoveTo(680, 590);
    EXPECT_TRUE(PumpUntil([&] {
        return form.Logged("move 1 0 " + std::to_string(680 - left - 20) + "," + std::to_string(590 - top - 20));
    })) << ::testing::PrintToString(form.log);
    EXPECT_TRUE(CursorOf(display).IsTestPointer());

    Xdotool("mouseup 1");
    const std::string released = std::to_string(680 - left - 20) + "," + std::to_string(590 - top - 20);
    EXPECT_TRUE(PumpUntil([&] { return form.Logged("up 1 0 " + released); })) << ::testing::PrintToString(form.log);
    EXPECT_TRUE(CursorBecomes(false)) << "the default pointer did not come back";
    // After the release the pad no longer gets the moves over other windows: the next
    // move it reports is the one back over it.
    const std::size_t logged = form.log.size();
    MoveTo(660, 560);
    MoveTo(left + 30, top + 40);
    ASSERT_TRUE(PumpUntil([&] { return form.Logged("move 0 0 10,20"); })) << ::testing::PrintToString(form.log);
    EXPECT_EQ(std::vector<std::string>(form.log.begin() + static_cast<std::ptrdiff_t>(logged), form.log.end()),
              std::vector<std::string>{"move 0 0 10,20"});
}

TEST_F(ViewPointerTest, ADoubleClickRaisesDownUpDblClickUpAndNoSecondDown) {
    MoveTo(left + 50, top + 50);
    ASSERT_TRUE(PumpUntil([&] { return form.Logged("move 0 0 30,30"); })) << ::testing::PrintToString(form.log);
    Xdotool("click --repeat 2 --delay 60 1");
    std::vector<std::string> clicks;
    ASSERT_TRUE(PumpUntil([&] {
        clicks.clear();
        for (const std::string& entry : form.log)
            if (entry.rfind("move", 0) != 0) clicks.push_back(entry);
        return clicks.size() >= 4;
    })) << ::testing::PrintToString(form.log);
    EXPECT_EQ(clicks, (std::vector<std::string>{"down 1 0 30,30", "up 1 0 30,30", "dblclick", "up 1 0 30,30"}));
}

TEST_F(ViewPointerTest, TheCustomPointerShowsOverEveryPartOfTheWindowEvenAField) {
    // Each check waits until the view has handled the move there (Qt changes the window's
    // cursor as the pointer enters a widget of its own cursor) and the X server has done
    // what Qt asked, then reads the cursor once.
    const auto shownAfterMove = [&](int x, int y, const std::string& logged) {
        MoveTo(left + x, top + y);
        EXPECT_TRUE(PumpUntil([&] { return form.Logged(logged); })) << ::testing::PrintToString(form.log);
        QGuiApplication::sync();
        return CursorOf(display);
    };
    EXPECT_FALSE(shownAfterMove(140, 30, "field move 0 0 40,10").IsTestPointer());  // the field's I-beam

    view->Dispatch([&] {
        form.SetMouseIcon(TestPointer());
        form.SetMousePointer(MousePointer::Custom);
    });
    EXPECT_TRUE(CursorBecomes(true));
    EXPECT_TRUE(shownAfterMove(50, 40, "move 0 0 30,20").IsTestPointer());
    EXPECT_TRUE(shownAfterMove(150, 30, "field move 0 0 50,10").IsTestPointer()) << "the field shows its own cursor";

    view->Dispatch([&] { form.SetMousePointer(MousePointer::Default); });
    EXPECT_TRUE(CursorBecomes(false));
}
