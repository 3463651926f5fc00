// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QDropEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>

#include <vector>

#include <QMimeData>
#include <QUrl>

#include "app/form1.h"
#include "capture/bitmap_file.h"
#include "backends/fake/fake_services.h"
#include "backends/qt/control_widgets.h"
#include "backends/qt/form_view.h"

using namespace pelmora;

namespace {

// Records the areas a widget is asked to repaint.
struct PaintLog : QObject {
    std::vector<QRect> areas;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) areas.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

// The editor page shown in the window, with an 800 x 600 working image whose pixels
// differ from their neighbours.
struct EditorViewTest : ::testing::Test {
    FakePlatform fake;
    Form1 form{fake.Services()};
    FormView view{form, kWindowCaption, kClientWidth, kClientHeight};
    EditorCanvas& canvas = form.editor.canvas;

    EditorViewTest() {
        view.Dispatch([this] { form.Form_Load(); });
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(Widget("Option2(4)"), Qt::LeftButton);
        view.Dispatch([this] {
            Surface picture(800, 600);
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 800; ++x) picture.SetPixel(x, y, (x * 7 + y * 13) % 256 << 8 | (x % 256));
            canvas.结果图像 = picture;
            canvas.ShowResized(canvas.结果图像, 800, 600);
            canvas.UpdateScrollRanges();
        });
    }
    QWidget* Widget(const char* objectName) { return view.findChild<QWidget*>(QString::fromUtf8(objectName)); }
    QWidget* Display() { return Widget("显示图像"); }

    // Every pixel the viewport shows where the display lies equals the display's pixel.
    void ExpectViewportShowsTheDisplay() {
        const QImage shown = Widget("背景图像框架")->grab().toImage();
        const QWidget* display = Display();
        const QPoint origin = display->pos();
        const Surface& image = canvas.显示图像.Image();
        int compared = 0, wrong = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const int ix = x - origin.x(), iy = y - origin.y();
                if (!image.Contains(ix, iy) || ix >= display->width() || iy >= display->height()) continue;
                // Inside the viewport's sunken border the display shows.
                if (x < 2 || y < 2 || x >= shown.width() - 2 || y >= shown.height() - 2) continue;
                ++compared;
                if (shown.pixelColor(x, y) != ToQColor(image.Pixel(ix, iy))) ++wrong;
            }
        EXPECT_GT(compared, 300 * 200);
        EXPECT_EQ(wrong, 0);
    }
};

}  // namespace

TEST_F(EditorViewTest, ViewportShowsTheDisplayPixelForPixelAtBothScales) {
    ExpectViewportShowsTheDisplay();
    QTest::mouseClick(Widget("缩放(0)"), Qt::LeftButton);
    ASSERT_EQ(Display()->size(), QSize(6400, 4800));
    ExpectViewportShowsTheDisplay();
}

TEST_F(EditorViewTest, ScrollBarsMoveTheZoomedDisplay) {
    QTest::mouseClick(Widget("缩放(0)"), Qt::LeftButton);
    auto* horizontal = static_cast<QScrollBar*>(Widget("HScroll1"));
    auto* vertical = static_cast<QScrollBar*>(Widget("VScroll1"));
    EXPECT_TRUE(horizontal->isEnabled());
    EXPECT_EQ(horizontal->maximum(), 6400 - 329);
    horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(canvas.HScroll1.Value(), -12 + canvas.HScroll1.LargeChange());
    // Inside the viewport's one-pixel border.
    EXPECT_EQ(Display()->pos(), QPoint(-canvas.HScroll1.Value() - 9, -canvas.VScroll1.Value() - 9) + QPoint(1, 1));
    ExpectViewportShowsTheDisplay();
}

TEST_F(EditorViewTest, APencilDabRepaintsOnlyItsCell) {
    QTest::mouseClick(Widget("缩放(0)"), Qt::LeftButton);
    QTest::mouseClick(Widget("控制(1)"), Qt::LeftButton);
    EXPECT_EQ(Display()->cursor().shape(), Qt::BitmapCursor);
    QApplication::processEvents();
    PaintLog log;
    Display()->installEventFilter(&log);
    QTest::mousePress(Display(), Qt::LeftButton, {}, QPoint(45, 30));
    QApplication::processEvents();
    QTest::mouseRelease(Display(), Qt::LeftButton, {}, QPoint(45, 30));
    Display()->removeEventFilter(&log);
    ASSERT_FALSE(log.areas.empty());
    for (const QRect& area : log.areas) EXPECT_EQ(area, QRect(40, 24, 8, 8));
    EXPECT_EQ(canvas.结果图像.Pixel(5, 3), 0);
    ExpectViewportShowsTheDisplay();
}

TEST_F(EditorViewTest, SelectionShowsItsOutlineOverTheDisplayAndPointersFollowTheTool) {
    QWidget* display = Display();
    QTest::mousePress(display, Qt::LeftButton, {}, QPoint(20, 20));
    QMouseEvent drag(QEvent::MouseMove, QPointF(60, 50), display->mapToGlobal(QPointF(60, 50)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(display, &drag);
    QTest::mouseRelease(display, Qt::LeftButton, {}, QPoint(60, 50));
    QWidget* box = Widget("选框");
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->geometry(), QRect(20, 20, 40, 30));
    const QImage shown = display->grab().toImage();
    EXPECT_EQ(shown.pixelColor(20, 30), QColor(0, 0, 255)) << "the outline";
    EXPECT_EQ(shown.pixelColor(40, 35), ToQColor(canvas.显示图像.Image().Pixel(40, 35)))
        << "the inside shows the picture";
    EXPECT_TRUE(Widget("LblPos")->isVisible());
    EXPECT_EQ(static_cast<QLabel*>(Widget("LblPos"))->text(), QString("40x30"));

    QMouseEvent over(QEvent::MouseMove, QPointF(30, 30), display->mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(display, &over);
    EXPECT_EQ(display->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseClick(Widget("控制(3)"), Qt::LeftButton);
    EXPECT_EQ(display->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(box->isVisible() && box->geometry().intersects(display->rect())) << "the selection is reset";
}

TEST_F(EditorViewTest, AFileDroppedFromAFileManagerOpens) {
    fake.files.contents["/pics/dropped.bmp"] = EncodeBitmap(Surface(30, 20, 255));
    const auto drop = [](QWidget* target, QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
    };
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/pics/dropped.bmp"), QUrl::fromLocalFile("/pics/other.bmp")});
    drop(Display(), files);
    EXPECT_EQ(canvas.结果图像.Width(), 30);
    EXPECT_EQ(Display()->size(), QSize(30, 20));

    // Only text, or a web address: no file, which is said.
    QMimeData text;
    text.setText("not a file");
    drop(Widget("背景图像框架"), text);
    QMimeData web;
    web.setUrls({QUrl("https://example.org/a.bmp")});
    drop(Display(), web);
    EXPECT_EQ(fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(canvas.结果图像.Width(), 30);
}
