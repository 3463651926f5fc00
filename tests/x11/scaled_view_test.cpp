// SPDX-License-Identifier: MIT
// The Qt view scaled by QT_SCALE_FACTOR (2 and 1.5, one run each) on the real X server:
// the layout's pixels become scale x scale screen pixels, pictures are enlarged with
// nearest neighbour (a magnified pixel and an 8:1 editor cell stay sharp squares of one
// colour), and a click at a screen point reaches the image pixel under it. The screen is
// read back over X in its physical pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "app/form1.h"
#include "backends/fake/fake_services.h"
#include "backends/qt/form_view.h"
#include "backends/x11/x11_desktop.h"
#include "qt_event_wait.h"
#include "x11_test_support.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// A colour of its own for every screen pixel of the fake desktop, far from its neighbours'.
std::int32_t FakeScreenColour(int x, int y) {
    return (x * 37 % 256) | (y * 59 % 256) << 8 | ((x + y) * 23 % 256) << 16;
}

struct ScaledViewTest : ::testing::Test {
    FakePlatform fake;
    Form1 form{fake.Services()};
    FormView view{form, kWindowCaption, kClientWidth, kClientHeight};
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    std::unique_ptr<X11Desktop> screen;
    double scale = qgetenv("QT_SCALE_FACTOR").toDouble();

    void SetUp() override {
        ASSERT_TRUE(connection) << "no X server on DISPLAY";
        ASSERT_GT(scale, 1.0) << "run with QT_SCALE_FACTOR set";
        screen = std::make_unique<X11Desktop>(*connection);
        for (int y = 0; y < fake.desktop.screen.Height(); ++y)
            for (int x = 0; x < fake.desktop.screen.Width(); ++x)
                fake.desktop.screen.SetPixel(x, y, FakeScreenColour(x, y));
        view.Dispatch([this] { form.Form_Load(); });
        view.move(0, 0);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QWidget* Widget(const char* objectName) { return view.findChild<QWidget*>(QString::fromUtf8(objectName)); }
    // Lets the view paint and the X server take it.
    void Settle() {
        PumpUntil([] { return false; }, 200ms);
    }
    // The physical screen pixel where the layout point (x, y) of widget lies.
    ScreenPoint Physical(QWidget* widget, double x, double y) {
        const QPointF global = widget->mapToGlobal(QPointF(x, y));
        return {static_cast<std::int32_t>(std::floor(global.x() * scale)),
                static_cast<std::int32_t>(std::floor(global.y() * scale))};
    }
    std::int32_t ScreenPixelAt(QWidget* widget, double x, double y) {
        const ScreenPoint at = Physical(widget, x, y);
        return screen->Pixel(at.x, at.y);
    }
    // The colours of the physical pixels inside the layout square [left, left + size) of
    // widget, one physical pixel kept clear of each edge for where the scale rounds.
    std::set<std::int32_t> ColoursInside(QWidget* widget, int left, int top, int size) {
        const ScreenPoint from = Physical(widget, left, top);
        const ScreenPoint to = Physical(widget, left + size, top + size);
        Surface area(to.x - from.x - 2, to.y - from.y - 2, -1);
        screen->ReadArea(from.x + 1, from.y + 1, area);
        std::set<std::int32_t> colours;
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x) colours.insert(area.Pixel(x, y));
        return colours;
    }
};

}  // namespace

TEST_F(ScaledViewTest, TheWindowIsTheLayoutTimesTheScale) {
    EXPECT_EQ(view.width(), kClientWidth);
    EXPECT_EQ(view.height(), kClientHeight);
    const ScreenPoint corner = Physical(&view, kClientWidth, kClientHeight);
    const ScreenPoint origin = Physical(&view, 0, 0);
    EXPECT_NEAR(corner.x - origin.x, kClientWidth * scale, 1.0);
    EXPECT_NEAR(corner.y - origin.y, kClientHeight * scale, 1.0);
}

TEST_F(ScaledViewTest, MagnifiedPixelsAreSharpSquaresOfThePixelUnderThePointer) {
    fake.desktop.pointer = {300, 200};
    view.Dispatch([this] { form.Timer1_Timer(); });
    Settle();
    QWidget* magnifier = Widget("Picture1");
    ASSERT_NE(magnifier, nullptr);
    const QPoint inside = magnifier->contentsRect().topLeft();
    // Each of the 11 x 11 cells shows the screen pixel at its place around the pointer,
    // as one colour: a smoothed enlargement would blend neighbouring cells' colours in.
    // The cells beside the centre carry the markers; the grid lines lie on each cell's
    // first row and column, so a cell's square from its second pixel on is checked.
    for (int row = 0; row < 11; ++row)
        for (int column = 0; column < 11; ++column) {
            const bool marked = (row == 5 && (column == 4 || column == 6)) || (column == 5 && (row == 4 || row == 6));
            if (marked) continue;
            const std::int32_t expected = FakeScreenColour(295 + column, 195 + row);
            const int left = inside.x() + column * 8 + 1, top = inside.y() + row * 8 + 1;
            EXPECT_EQ(ColoursInside(magnifier, left, top, 7), std::set<std::int32_t>{expected})
                << "cell " << column << "," << row << " at scale " << scale;
            // Up to its edge: the middle of each of its layout pixels, the last one too.
            int wrong = 0;
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 7; ++x)
                    wrong += ScreenPixelAt(magnifier, left + x + 0.5, top + y + 0.5) != expected;
            EXPECT_EQ(wrong, 0) << "cell " << column << "," << row << " at scale " << scale;
        }
}

TEST_F(ScaledViewTest, EditorCellsAreSharpAndAClickPaintsTheImagePixelUnderIt) {
    EditorCanvas& canvas = form.editor.canvas;
    QTest::mouseClick(Widget("Option2(4)"), Qt::LeftButton);
    view.Dispatch([&] {
        Surface picture(40, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) picture.SetPixel(x, y, FakeScreenColour(x, y));
        canvas.结果图像 = picture;
        canvas.ShowResized(canvas.结果图像, 40, 30);
        canvas.UpdateScrollRanges();
        canvas.缩放_Click(0);
        form.editor.tools.控制[1].Select();  // the pencil
    });
    Settle();
    QWidget* display = Widget("显示图像");
    ASSERT_NE(display, nullptr);
    ASSERT_EQ(canvas.显示图像.Image().Width(), 320) << "zoomed to 8:1";
    // Each cell a sharp square of its pixel's colour, right of and below its dotted grid
    // lines (one line on each cell's left and top edge).
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(ColoursInside(display, x * 8 + 1, y * 8 + 1, 7), std::set<std::int32_t>{FakeScreenColour(x, y)})
                << "cell " << x << "," << y << " at scale " << scale;
    // Pixel for pixel, grid included: the physical pixel in the middle of each layout pixel
    // shows that pixel of the 8:1 display, so every grid line is there once, as wide as a
    // layout pixel.
    const Surface& shown = canvas.显示图像.Image();
    int wrong = 0;
    for (int y = 0; y < 48; ++y) {
        const ScreenPoint rowStart = Physical(display, 0.5, y + 0.5);
        const ScreenPoint rowEnd = Physical(display, 80.5, y + 0.5);
        Surface row(rowEnd.x - rowStart.x + 1, 1, -1);
        screen->ReadArea(rowStart.x, rowStart.y, row);
        for (int x = 0; x < 80; ++x)
            wrong += row.Pixel(Physical(display, x + 0.5, y + 0.5).x - rowStart.x, 0) != shown.Pixel(x, y);
    }
    EXPECT_EQ(wrong, 0) << "at scale " << scale;

    const Surface before = canvas.结果图像;
    const ScreenPoint at = Physical(display, 7 * 8 + 4, 3 * 8 + 4);  // the middle of cell (7, 3)
    pelmora::testing::Shell("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1");
    ASSERT_TRUE(PumpUntil([&] { return canvas.结果图像.Pixel(7, 3) != before.Pixel(7, 3); }, 3s));
    EXPECT_EQ(canvas.结果图像.Pixel(7, 3), form.editor.colours.Foreground());
    int changed = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) changed += canvas.结果图像.Pixel(x, y) != before.Pixel(x, y);
    EXPECT_EQ(changed, 1);
}
