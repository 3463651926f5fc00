// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/form1.h"
#include "backends/fake/fake_services.h"
#include "backends/qt/control_widgets.h"
#include "backends/qt/form_view.h"

using namespace pelmora;

namespace {

struct FormViewTest : ::testing::Test {
    FakePlatform fake;
    Form1 form{fake.Services()};
    FormView view{form, kWindowCaption, kClientWidth, kClientHeight};

    FormViewTest() {
        view.Dispatch([this] { form.Form_Load(); });
        view.onClose = [this] { form.Form_Unload(); };
        view.show();
        QApplication::setActiveWindow(&view);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }
    template <typename W>
    W* Widget(const char* objectName) {
        return view.findChild<W*>(QString::fromUtf8(objectName));
    }
};

// Pixels of the rendered widget that differ clearly from its top-left pixel.
int InkPixels(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    const QRgb background = image.pixel(0, 0);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) + 60 < qGray(background)) ++ink;
    return ink;
}

}  // namespace

TEST_F(FormViewTest, CaptionAndFixedClientArea) {
    EXPECT_EQ(view.windowTitle(), QString::fromUtf8("Pelmorav3.50.1101正式版"));
    EXPECT_EQ(view.size(), QSize(445, 313));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
}

TEST_F(FormViewTest, RegionsSitAtTheirRectangles) {
    EXPECT_EQ(Widget<FrameWidget>("Frame3")->geometry(), QRect(16, 8, 169, 186));
    EXPECT_EQ(Widget<FrameWidget>("Frame1(4)")->geometry(), QRect(328, 8, 105, 113));
    EXPECT_EQ(Widget<QWidget>("Picture1")->geometry(), QRect(8, 16, 90, 90));
    EXPECT_EQ(Widget<QCheckBox>("Check1")->geometry(), QRect(344, 123, 89, 17));
    EXPECT_EQ(Widget<QLabel>("Label8")->geometry(), QRect(328, 127, 9, 9));
    EXPECT_EQ(Widget<FrameWidget>("Frame2(4)")->geometry(), QRect(16, 8, 417, 265));
    EXPECT_EQ(Widget<FrameWidget>("Frame2(2)")->geometry(), QRect(16, 200, 305, 73));
    EXPECT_EQ(Widget<QWidget>("Option2(5)")->geometry(), QRect(256, 272, 41, 20));
    EXPECT_EQ(Widget<QLabel>("Label5(6)")->geometry(), QRect(304, 275, 129, 17));
    // A child's geometry is relative to its container.
    EXPECT_EQ(Widget<QLineEdit>("得x")->parentWidget(), Widget<FrameWidget>("颜色坐标(0)"));
}

TEST_F(FormViewTest, ClickingAPageButtonShowsExactlyThatPageAndFocusesCheck1) {
    QTest::mouseClick(Widget<QWidget>("Option2(3)"), Qt::LeftButton);
    for (int i = 0; i < 6; ++i) {
        const auto name = "Frame2(" + std::to_string(i) + ")";
        EXPECT_EQ(Widget<FrameWidget>(name.c_str())->isVisible(), i == 3) << name;
    }
    EXPECT_EQ(QApplication::focusWidget(), Widget<QWidget>("Check1"));
    EXPECT_EQ(Widget<FrameWidget>("Frame2(3)")->Caption(), QString::fromUtf8("截图像保存"));
}

TEST_F(FormViewTest, EditorPageCoversTheRegionsItShares) {
    // The last slot's swatch lies under a free part of the editor's tool column.
    const QPoint lastSwatch(16 + 8 + 3, 8 + 16 + 9 * 17 + 8);
    EXPECT_EQ(view.grab().toImage().pixelColor(lastSwatch), QColor(255, 255, 255));
    QTest::mouseClick(Widget<QWidget>("Option2(4)"), Qt::LeftButton);
    EXPECT_EQ(view.grab().toImage().pixelColor(lastSwatch), view.palette().color(QPalette::Window));
}

TEST_F(FormViewTest, ChineseTextsAreRenderedWithGlyphs) {
    QLabel* hint = Widget<QLabel>("Label5(6)");
    EXPECT_EQ(hint->text(), QString::fromUtf8("[Alt＋～]启动／停止"));
    const QFontMetrics metrics(hint->font());
    for (const char32_t c : U"启动停止屏幕坐标颜色") EXPECT_TRUE(c == 0 || metrics.inFontUcs4(c)) << int(c);
    EXPECT_GT(InkPixels(*hint), 40);
    EXPECT_GT(InkPixels(*Widget<QCheckBox>("Check1")), 40);
}

TEST_F(FormViewTest, Check1ClickRunsTheTimerAndRecoloursTheIndicator) {
    QTest::mouseClick(Widget<QCheckBox>("Check1"), Qt::LeftButton);
    EXPECT_TRUE(form.sampling.Timer1.Enabled());
    EXPECT_EQ(Widget<QLabel>("Label8")->palette().color(QPalette::Window), QColor(255, 0, 0));

    // The Qt timer drives the poll: the read-out follows the fake pointer.
    fake.desktop.screen.SetPixel(30, 40, kColourBlue);
    fake.desktop.pointer = {30, 40};
    QTRY_COMPARE_WITH_TIMEOUT(Widget<QLineEdit>("得16")->text(), QString("FF0000"), 1000);
    EXPECT_EQ(Widget<QLabel>("Label9")->text(), QString("x:30  y:40"));

    QTest::mouseClick(Widget<QCheckBox>("Check1"), Qt::LeftButton);
    EXPECT_FALSE(form.sampling.Timer1.Enabled());
    EXPECT_EQ(Widget<QLabel>("Label8")->palette().color(QPalette::Window), QColor(0, 255, 0));
}

TEST_F(FormViewTest, WindowHidesAndShowsAsTheFormSays) {
    view.Dispatch([this] { form.SetWindowVisible(false); });
    EXPECT_FALSE(view.isVisible());
    view.Dispatch([this] { form.SetWindowVisible(true); });
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.size(), QSize(445, 313));
}

TEST_F(FormViewTest, ClosingTheWindowRunsTheShutDown) {
    form.sampling.Check1.SetValue(1);
    view.close();
    EXPECT_TRUE(form.Unloaded());
    EXPECT_FALSE(form.sampling.Timer1.Enabled());
}

TEST_F(FormViewTest, EveryControlIsFoundByItsAccessibleDescriptionAndNamedForPeople) {
    int described = 0;
    for (const Control* control : form.Controls()) {
        if (control->Kind() == ControlKind::Timer) continue;
        const QString id = QString::fromStdString(control->ObjectName());
        QWidget* widget = view.findChild<QWidget*>(id);
        ASSERT_NE(widget, nullptr) << control->ObjectName();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        EXPECT_EQ(accessible->text(QAccessible::Description), id);
        if (!control->ReadableName().empty()) {
            EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromStdString(control->ReadableName()))
                << control->ObjectName();
        }
        ++described;
    }
    EXPECT_GT(described, 50);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Widget<QWidget>("Check1"))->text(QAccessible::Name),
              QString::fromUtf8("启动／停止"));
    // A picture button is named by its tool tip.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Widget<QWidget>("菜单按钮(0)"))->text(QAccessible::Name),
              QString::fromUtf8("打开位图文件"));
}
