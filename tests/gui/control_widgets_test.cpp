// SPDX-License-Identifier: MIT
// The widgets of the control kinds and properties the main window does not all use yet:
// list, combo box, graphical check box, multi-line field, picture, shape, scroll bars, mouse
// events and label clicks, the window's pointer and the accessible names, on a window of test
// controls.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTextBlock>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "backends/qt/control_widgets.h"
#include "backends/qt/form_view.h"
#include "contract/control_view_contract.h"

using namespace pelmora;
using pelmora::contract::ScrollStep;
using pelmora::contract::ViewContractForm;

namespace {

constexpr std::int32_t kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kGreen = 0x00FF00;

std::string Describe(const char* what, const MouseEvent& e) {
    return std::string(what) + " " + std::to_string(e.button) + " " + std::to_string(e.shift) + " " +
           std::to_string(e.x) + "," + std::to_string(e.y);
}

struct TestForm : ControlHost {
    Frame page;
    ListBox list;
    CheckBox toggle;
    TextBox lines;
    Label fieldLabel;
    TextBox field;
    PictureBox canvas;
    Label onCanvas;   // inside the canvas, with no mouse handlers of its own
    PictureBox idle;  // mouse handlers, but disabled
    Shape patch;      // over the canvas
    ComboBox choice;
    Label link;
    ScrollBar across{ScrollBar::Orientation::Horizontal};
    ScrollBar upright{ScrollBar::Orientation::Vertical};  // runs from Min at the top down to a lower Max

    std::vector<std::string> log;

    TestForm() {
        page.Place(*this, nullptr, "page", -1, {0, 0, 400, 300});
        list.Place(*this, &page, "list", 2, {10, 10, 120, 100});
        toggle.Place(*this, &page, "toggle", -1, {140, 10, 15, 15});
        toggle.SetCaption("P");
        toggle.SetGraphical(true);
        lines.Place(*this, &page, "lines", -1, {140, 40, 120, 60});
        lines.SetMultiLine(true);
        fieldLabel.Place(*this, &page, "fieldLabel", -1, {270, 10, 60, 14});
        fieldLabel.SetCaption("保存路径：");
        field.Place(*this, &page, "field", -1, {270, 30, 100, 18});
        field.SetLabelledBy(fieldLabel);
        canvas.Place(*this, &page, "canvas", -1, {10, 120, 42, 32});
        onCanvas.Place(*this, &canvas, "onCanvas", -1, {30, 20, 8, 8});
        idle.Place(*this, &page, "idle", -1, {100, 120, 20, 20});
        idle.SetEnabled(false);
        patch.Place(*this, &page, "patch", -1, {20, 125, 12, 12});
        choice.Place(*this, &page, "choice", -1, {140, 160, 120, 22});
        link.Place(*this, &page, "link", -1, {270, 60, 60, 14});
        across.Place(*this, &page, "across", -1, {10, 200, 200, 17});
        upright.Place(*this, &page, "upright", 1, {380, 10, 17, 180});
        upright.SetMin(100);
        upright.SetMax(0);
        upright.SetValue(100);

        list.onClick = [this] { log.push_back("click " + std::to_string(list.ListIndex())); };
        list.onDblClick = [this] { log.push_back("dblclick " + std::to_string(list.ListIndex())); };
        list.onMouseDown = [this](const MouseEvent& e) { log.push_back(Describe("list down", e)); };
        toggle.onClick = [this] { log.push_back("toggle " + std::to_string(toggle.Value())); };
        lines.onChange = [this] { log.push_back("change"); };
        canvas.onMouseDown = [this](const MouseEvent& e) { log.push_back(Describe("down", e)); };
        canvas.onMouseMove = [this](const MouseEvent& e) { log.push_back(Describe("move", e)); };
        canvas.onMouseUp = [this](const MouseEvent& e) { log.push_back(Describe("up", e)); };
        idle.onMouseDown = [this](const MouseEvent& e) { log.push_back(Describe("idle down", e)); };
        idle.onMouseMove = [this](const MouseEvent& e) { log.push_back(Describe("idle move", e)); };
        choice.onClick = [this] { log.push_back("choice " + std::to_string(choice.ListIndex())); };
        link.onClick = [this] { log.push_back("link click"); };
        link.onDblClick = [this] { log.push_back("link dblclick"); };
        link.onMouseUp = [this](const MouseEvent&) { log.push_back("link up"); };
        across.onChange = [this] { log.push_back("across change " + std::to_string(across.Value())); };
        across.onScroll = [this] { log.push_back("across scroll " + std::to_string(across.Value())); };
        upright.onChange = [this] { log.push_back("upright change " + std::to_string(upright.Value())); };
        upright.onScroll = [this] { log.push_back("upright scroll " + std::to_string(upright.Value())); };
    }
};

struct ControlWidgetsTest : ::testing::Test {
    TestForm form;
    FormView view{form, "测试", 400, 300};

    ControlWidgetsTest() {
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    template <typename W>
    W* Widget(const char* objectName) {
        W* widget = view.findChild<W*>(QString::fromUtf8(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }
    // Sends a mouse event the way the window system delivers one (through notify, so
    // Qt's mouse tracking and propagation rules apply).
    static void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, modifiers);
        QApplication::instance()->notify(widget, &event);
    }
    QListWidget* List() { return Widget<QListWidget>("list(2)"); }
    QPoint RowCentre(int row) { return List()->visualItemRect(List()->item(row)).center(); }
};

// Where a scroll bar's style puts one of its parts (an arrow, a page area, the thumb).
struct ScrollBarParts : QScrollBar {
    static QRect Of(const QScrollBar& bar, QStyle::SubControl part) {
        QStyleOptionSlider option;
        (bar.*(&ScrollBarParts::initStyleOption))(&option);
        return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
    }
};

// A surface of one colour.
Surface Filled(int width, int height, std::int32_t colour) { return Surface(width, height, colour); }

// The control view contract on the Qt view, acted on as the window system delivers a
// user's input.
struct QtViewTraits {
    explicit QtViewTraits(ViewContractForm& form) : view(form, "测试", 320, 200) {
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void Dispatch(const std::function<void()>& handler) { view.Dispatch(handler); }

    template <typename W>
    W* Widget(const Control& control) {
        W* widget = view.findChild<W*>(QString::fromStdString(control.ObjectName()));
        EXPECT_NE(widget, nullptr) << control.ObjectName();
        return widget;
    }
    std::vector<std::string> Lines(const ListBox& list) {
        auto* widget = Widget<QListWidget>(list);
        std::vector<std::string> lines(static_cast<std::size_t>(widget->count()));
        for (std::size_t row = 0; row < lines.size(); ++row)
            lines[row] = widget->item(static_cast<int>(row))->text().toStdString();
        return lines;
    }
    std::vector<std::string> Lines(const ComboBox& combo) {
        auto* widget = Widget<QComboBox>(combo);
        std::vector<std::string> lines(static_cast<std::size_t>(widget->count()));
        for (std::size_t line = 0; line < lines.size(); ++line)
            lines[line] = widget->itemText(static_cast<int>(line)).toStdString();
        return lines;
    }
    int ShownIndex(const ListBox& list) {
        auto* widget = Widget<QListWidget>(list);
        return widget->selectedItems().isEmpty() ? -1 : widget->currentRow();
    }
    int ShownIndex(const ComboBox& combo) { return Widget<QComboBox>(combo)->currentIndex(); }
    int LineCount(const TextBox& box) { return Widget<QPlainTextEdit>(box)->document()->blockCount(); }
    bool ShownChecked(const CheckBox& box) { return Widget<QPushButton>(box)->isChecked(); }
    // Qt's sliders run from their minimum up: a range from a higher Min is shown negated.
    int ShownValue(const ScrollBar& bar) {
        const int value = Widget<QScrollBar>(bar)->value();
        return bar.Min() > bar.Max() ? -value : value;
    }

    void ChooseRow(const ListBox& list, int row) {
        auto* widget = Widget<QListWidget>(list);
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, widget->visualItemRect(widget->item(row)).center());
    }
    // The arrow keys on the closed box, each a choice of the next line.
    void ChooseLine(const ComboBox& combo, int line) {
        auto* widget = Widget<QComboBox>(combo);
        QTest::keyClick(widget, line > widget->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    }
    // Through the window, so that Qt picks the receiver.
    void Click(const Label& label) { QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, CentreOf(label)); }
    void DoubleClick(const Label& label) {
        QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, {}, CentreOf(label));
    }
    void Click(const CheckBox& box) { QTest::mouseClick(Widget<QPushButton>(box), Qt::LeftButton); }
    void Step(const ScrollBar& bar, ScrollStep step) {
        auto* widget = Widget<QScrollBar>(bar);
        const QStyle::SubControl part = step == ScrollStep::LineUp     ? QStyle::SC_ScrollBarSubLine
                                        : step == ScrollStep::LineDown ? QStyle::SC_ScrollBarAddLine
                                                                       : QStyle::SC_ScrollBarAddPage;
        QTest::mouseClick(widget, Qt::LeftButton, {}, ScrollBarParts::Of(*widget, part).center());
    }
    void DragThumb(const ScrollBar& bar) {
        auto* widget = Widget<QScrollBar>(bar);
        const QPoint thumb = ScrollBarParts::Of(*widget, QStyle::SC_ScrollBarSlider).center();
        ControlWidgetsTest::Send(widget, QEvent::MouseButtonPress, thumb, Qt::LeftButton, Qt::LeftButton);
        for (const int by : {15, 30, 45})
            ControlWidgetsTest::Send(widget, QEvent::MouseMove, thumb + QPoint(0, by), Qt::NoButton, Qt::LeftButton);
        ControlWidgetsTest::Send(widget, QEvent::MouseButtonRelease, thumb + QPoint(0, 45), Qt::LeftButton,
                                 Qt::NoButton);
    }
    // Chinese text comes as an input method's commit: QTest cannot type it.
    void TypeLineBreakAndText(const TextBox& box, const std::string& text) {
        auto* edit = Widget<QPlainTextEdit>(box);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Return);
        QInputMethodEvent typed;
        typed.setCommitString(QString::fromStdString(text));
        QApplication::sendEvent(edit, &typed);
    }

    QPoint CentreOf(const Control& control) {
        auto* widget = Widget<QWidget>(control);
        return widget->mapTo(&view, widget->rect().center());
    }

    FormView view;
};

}  // namespace

namespace pelmora::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, ControlViewContract, QtViewTraits);
}  // namespace pelmora::contract

TEST_F(ControlWidgetsTest, AListPressComesBeforeTheChoiceItMakesAndNoChoiceClearsTheSelection) {
    view.Dispatch([this] {
        for (const char* line : {"甲", "乙", "丙", "丁"}) form.list.AddItem(line);
    });
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(2));
    // The control sees the press first, then the selection it makes; the position is
    // relative to the list itself, not to its viewport.
    const QPoint inList = RowCentre(2) + List()->viewport()->pos();
    ASSERT_EQ(form.log.size(), 2u);
    EXPECT_EQ(form.log[0], "list down 1 0 " + std::to_string(inList.x()) + "," + std::to_string(inList.y()));
    EXPECT_EQ(form.log[1], "click 2");

    view.Dispatch([this] { form.list.SetListIndex(-1); });
    EXPECT_EQ(List()->currentRow(), -1);
    EXPECT_TRUE(List()->selectedItems().isEmpty());
}

TEST_F(ControlWidgetsTest, DoubleClickOnARowRaisesDblClickAfterTheSelection) {
    view.Dispatch([this] {
        for (const char* line : {"one", "two", "three"}) form.list.AddItem(line);
    });
    form.list.onMouseDown = nullptr;
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QTest::mouseRelease(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    EXPECT_EQ(form.log, (std::vector<std::string>{"click 1", "dblclick 1"}));

    // Below the last row there is no row to double-click.
    form.log.clear();
    const QPoint empty(5, List()->viewport()->height() - 3);
    ASSERT_EQ(List()->itemAt(empty), nullptr);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseRelease(List()->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(form.log, std::vector<std::string>{});
}

TEST_F(ControlWidgetsTest, ListSyncKeepsItsRowsWhenOnlyTheSelectionOrTheEndChanges) {
    QElapsedTimer timer;
    timer.start();
    view.Dispatch([this] {
        for (int i = 0; i < 1000; ++i) form.list.AddItem("第" + std::to_string(i) + "行");
    });
    const qint64 fillMs = timer.elapsed();
    ASSERT_EQ(List()->count(), 1000);
    EXPECT_LT(fillMs, 250) << "1000 rows took " << fillMs << " ms";
    QListWidgetItem* first = List()->item(0);
    QListWidgetItem* last = List()->item(999);

    timer.restart();
    for (int i = 0; i < 200; ++i) view.Dispatch([this, i] { form.list.SetListIndex(i * 5); });
    const qint64 selectMs = timer.elapsed();
    std::cout << "[ measured ] 1000 rows synced in " << fillMs << " ms, 200 selection changes in " << selectMs
              << " ms\n";
    EXPECT_EQ(List()->currentRow(), 995);
    EXPECT_EQ(List()->item(0), first) << "a selection change rebuilt the rows";
    EXPECT_LT(selectMs, 500) << "200 selection changes took " << selectMs << " ms";

    view.Dispatch([this] { form.list.AddItem("末行"); });
    EXPECT_EQ(List()->count(), 1001);
    EXPECT_EQ(List()->item(999), last) << "appending rebuilt the rows";
    EXPECT_EQ(List()->item(1000)->text(), QString::fromUtf8("末行"));

    // Other lines replace the rows.
    view.Dispatch([this] {
        form.list.Clear();
        form.list.AddItem("x");
        form.list.AddItem("y");
    });
    ASSERT_EQ(List()->count(), 2);
    EXPECT_EQ(List()->item(0)->text(), "x");
    EXPECT_EQ(List()->currentRow(), -1);
}

TEST_F(ControlWidgetsTest, ComboShowsItsBackColourAndALineChosenFromCodeKeepsTheLines) {
    auto* combo = Widget<QComboBox>("choice");
    ASSERT_NE(combo, nullptr);
    view.Dispatch([this] {
        for (const char* line : {"甲", "乙", "丙"}) form.choice.AddItem(line);
        form.choice.SetBackColor(kGreen);
    });
    const QColor face = combo->grab().toImage().pixelColor(combo->rect().center());
    EXPECT_GT(face.green(), face.red() + 100) << "the closed box shows the back colour";

    QObject scope;
    int rebuilds = 0;
    QObject::connect(combo->model(), &QAbstractItemModel::rowsRemoved, &scope, [&] { ++rebuilds; });
    view.Dispatch([this] { form.choice.SetListIndex(2); });
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("丙"));
    EXPECT_EQ(rebuilds, 0);
}

TEST_F(ControlWidgetsTest, LabelIsClickedOnlyByALeftPressAndReleaseOnIt) {
    // The label ignores the press, yet the release still comes to it.
    QWindow* window = view.windowHandle();
    auto* link = Widget<QLabel>("link");
    const QPoint inside = link->mapTo(&view, link->rect().center());
    QTest::mouseClick(window, Qt::RightButton, {}, inside);
    QTest::mouseClick(window, Qt::MiddleButton, {}, inside);
    QTest::mousePress(window, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(window, Qt::LeftButton, {}, inside + QPoint(link->width(), 0));
    EXPECT_EQ(form.log, (std::vector<std::string>{"link up", "link up", "link up"}));

    // After a double click, the next click is a click again.
    form.log.clear();
    QTest::mouseDClick(window, Qt::LeftButton, {}, inside);
    QTest::mouseClick(window, Qt::LeftButton, {}, inside);
    EXPECT_EQ(form.log,
              (std::vector<std::string>{"link up", "link click", "link dblclick", "link up", "link up", "link click"}));
}

TEST_F(ControlWidgetsTest, ShapeShowsItsBackColourAndLetsClicksThroughToWhatLiesUnder) {
    form.canvas.onMouseMove = nullptr;
    view.Dispatch([this] { form.patch.SetBackColor(kRed); });
    auto* patch = Widget<QWidget>("patch");
    const QPoint centre = patch->mapTo(&view, patch->rect().center());
    EXPECT_EQ(view.grab().toImage().pixelColor(centre), QColor(255, 0, 0));

    QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, centre);
    const QPoint onCanvas = Widget<QWidget>("canvas")->mapFrom(&view, centre);
    const MouseEvent expected{kLeftButton, 0, onCanvas.x(), onCanvas.y()};
    EXPECT_EQ(form.log, (std::vector<std::string>{Describe("down", expected), Describe("up", expected)}));
}

TEST_F(ControlWidgetsTest, GraphicalCheckBoxIsACheckablePushButtonOfItsCaptionAndSize) {
    auto* button = Widget<QPushButton>("toggle");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isCheckable());
    EXPECT_EQ(button->text(), "P");
    EXPECT_EQ(button->size(), QSize(15, 15));
}

TEST_F(ControlWidgetsTest, MultiLineFieldShowsLinesWithoutCrAndALockedOneTakesNoTyping) {
    auto* edit = Widget<QPlainTextEdit>("lines");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    view.Dispatch([this] { form.lines.SetText("第一行\r\nsecond\r\n\r\nlast"); });
    EXPECT_EQ(edit->document()->findBlockByNumber(0).text(), QString::fromUtf8("第一行"));
    EXPECT_EQ(edit->document()->findBlockByNumber(2).text(), "");
    EXPECT_EQ(edit->document()->findBlockByNumber(3).text(), "last");
    EXPECT_FALSE(edit->toPlainText().contains('\r'));

    view.Dispatch([this] { form.lines.SetLocked(true); });
    EXPECT_TRUE(edit->isReadOnly());
    QTest::keyClicks(edit, "zz");
    EXPECT_EQ(form.lines.Text(), "第一行\r\nsecond\r\n\r\nlast");
}

TEST_F(ControlWidgetsTest, PictureIsCentredInsideTheBorderTransparentWhereMinusOneAndUnderTheImage) {
    auto* widget = Widget<QWidget>("canvas");
    // Inside the 1-pixel border the area is 40 x 30; a 4 x 2 picture sits at (18, 14).
    Surface picture = Filled(4, 2, kRed);
    picture.SetPixel(3, 1, -1);
    view.Dispatch([&] {
        form.canvas.SetBackColor(kBlue);
        form.canvas.SetPicture(picture);
    });
    const auto pixel = [&](int x, int y) { return widget->grab().toImage().pixelColor(1 + x, 1 + y); };
    EXPECT_EQ(pixel(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(pixel(18, 14), QColor(255, 0, 0));
    EXPECT_EQ(pixel(20, 15), QColor(255, 0, 0));
    EXPECT_EQ(pixel(21, 15), QColor(0, 0, 255)) << "a pixel of -1 must let the background through";
    EXPECT_EQ(pixel(17, 14), QColor(0, 0, 255));
    EXPECT_EQ(pixel(22, 14), QColor(0, 0, 255));
    EXPECT_EQ(pixel(18, 13), QColor(0, 0, 255));
    EXPECT_EQ(pixel(18, 16), QColor(0, 0, 255));

    // The persistent image covers the picture where both are.
    view.Dispatch([&] { form.canvas.EditImage() = Filled(19, 15, kGreen); });
    EXPECT_EQ(pixel(18, 14), QColor(0, 255, 0));
    EXPECT_EQ(pixel(19, 14), QColor(255, 0, 0));

    // With no picture the area shows only the background and the image.
    view.Dispatch([&] { form.canvas.SetPicture(Surface()); });
    EXPECT_EQ(pixel(19, 14), QColor(0, 0, 255));
}

TEST_F(ControlWidgetsTest, MousePressMoveAndReleaseCarryButtonShiftAndPosition) {
    auto* canvas = Widget<QWidget>("canvas");
    Send(canvas, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    Send(canvas, QEvent::MouseMove, {7, 8}, Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier);
    // Outside the control while its button is held, even left of and above the window.
    Send(canvas, QEvent::MouseMove, {-30, 500}, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    Send(canvas, QEvent::MouseButtonRelease, {-30, 500}, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    Send(canvas, QEvent::MouseButtonPress, {1, 2}, Qt::RightButton, Qt::RightButton,
         Qt::ControlModifier | Qt::AltModifier);
    Send(canvas, QEvent::MouseButtonRelease, {1, 2}, Qt::RightButton, Qt::NoButton, Qt::ControlModifier);
    Send(canvas, QEvent::MouseButtonPress, {3, 3}, Qt::MiddleButton, Qt::MiddleButton);
    Send(canvas, QEvent::MouseButtonRelease, {3, 3}, Qt::MiddleButton, Qt::NoButton);
    // A move with no button held reaches a control with a move handler too.
    Send(canvas, QEvent::MouseMove, {9, 10}, Qt::NoButton, Qt::NoButton, Qt::AltModifier);
    EXPECT_EQ(form.log,
              (std::vector<std::string>{"down 1 1 5,6", "move 3 1 7,8", "move 1 0 -30,500", "up 1 0 -30,500",
                                        "down 2 6 1,2", "up 2 2 1,2", "down 4 0 3,3", "up 4 0 3,3", "move 0 4 9,10"}));
}

TEST_F(ControlWidgetsTest, MouseEventsReachOnlyTheEnabledControlUnderThePointer) {
    // A label on the canvas has no handlers: its press is its own, not the canvas's.
    auto* label = Widget<QWidget>("onCanvas");
    Send(label, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    Send(label, QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton, Qt::NoButton);
    Send(label, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton);
    // A disabled control raises nothing.
    auto* idle = Widget<QWidget>("idle");
    EXPECT_TRUE(idle->hasMouseTracking());
    Send(idle, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    Send(idle, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::LeftButton);
    Send(idle, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.log, std::vector<std::string>{});

    view.Dispatch([this] { form.idle.SetEnabled(true); });
    Send(idle, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form.log, std::vector<std::string>{"idle down 1 0 2,2"});
}

TEST_F(ControlWidgetsTest, CustomPointerIsTheIconWithItsHotSpotUntilDefaultAgain) {
    Surface image(32, 32, kRed);
    image.SetPixel(0, 0, -1);
    view.Dispatch([&] {
        form.SetMouseIcon({image, 3, 5});
        form.SetMousePointer(MousePointer::Custom);
    });
    const QCursor* shown = QGuiApplication::overrideCursor();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->hotSpot(), QPoint(3, 5));
    const QImage pixels = shown->pixmap().toImage();
    ASSERT_EQ(pixels.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(pixels.pixel(0, 0)), 0);
    EXPECT_EQ(pixels.pixelColor(4, 4), QColor(255, 0, 0));

    // A new icon while custom replaces the cursor; it is not stacked.
    view.Dispatch([&] { form.SetMouseIcon({Surface(16, 16, kGreen), 8, 8}); });
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(8, 8));

    view.Dispatch([&] { form.SetMousePointer(MousePointer::Default); });
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ControlWidgetsTest, AccessibleDescriptionIsTheObjectNameAndTheNameWhatAPersonReads) {
    const auto text = [&](const char* objectName, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(Widget<QWidget>(objectName))->text(kind);
    };
    EXPECT_EQ(text("list(2)", QAccessible::Description), "list(2)");
    EXPECT_EQ(text("toggle", QAccessible::Name), "P");
    EXPECT_EQ(text("field", QAccessible::Description), "field");
    EXPECT_EQ(text("field", QAccessible::Name), QString::fromUtf8("保存路径："));
    // A combo box's popup list is one of its parts, with its own id.
    EXPECT_EQ(Widget<QComboBox>("choice")->view()->accessibleDescription(),
              "choice/QComboBoxPrivateContainer/QComboBoxListView");

    // A new caption renames the control and the field it labels; the id stays.
    view.Dispatch([this] { form.fieldLabel.SetCaption("目录："); });
    EXPECT_EQ(text("fieldLabel", QAccessible::Name), QString::fromUtf8("目录："));
    EXPECT_EQ(text("fieldLabel", QAccessible::Description), "fieldLabel");
    EXPECT_EQ(text("field", QAccessible::Name), QString::fromUtf8("目录："));
    EXPECT_EQ(text("field", QAccessible::Description), "field");
    // The tool tip stays the tool tip: the description does not replace it.
    view.Dispatch([this] { form.field.SetToolTip("提示"); });
    EXPECT_EQ(Widget<QWidget>("field")->toolTip(), QString::fromUtf8("提示"));
    EXPECT_EQ(text("field", QAccessible::Description), "field");
}

TEST_F(ControlWidgetsTest, ScrollBarShowsTheControlsOrientationRangeValueAndSteps) {
    auto* across = Widget<QScrollBar>("across");
    auto* upright = Widget<QScrollBar>("upright(1)");
    ASSERT_NE(across, nullptr);
    ASSERT_NE(upright, nullptr);
    EXPECT_EQ(across->orientation(), Qt::Horizontal);
    EXPECT_EQ(upright->orientation(), Qt::Vertical);
    EXPECT_EQ(across->geometry(), QRect(10, 200, 200, 17));
    EXPECT_EQ(upright->geometry(), QRect(380, 10, 17, 180));

    view.Dispatch([this] {
        form.across.SetMin(-20);
        form.across.SetMax(300);
        form.across.SetValue(45);
        form.across.SetSmallChange(7);
        form.across.SetLargeChange(60);
    });
    EXPECT_EQ(across->minimum(), -20);
    EXPECT_EQ(across->maximum(), 300);
    EXPECT_EQ(across->value(), 45);
    EXPECT_EQ(across->singleStep(), 7);
    EXPECT_EQ(across->pageStep(), 60);
    // The control's own Change from code, and nothing raised back by the widget.
    EXPECT_EQ(form.log, std::vector<std::string>{"across change 45"});

    // A range that cuts off the value: the control clamps it and raises Change once.
    form.log.clear();
    view.Dispatch([this] { form.across.SetMax(30); });
    EXPECT_EQ(across->maximum(), 30);
    EXPECT_EQ(across->value(), 30);
    EXPECT_EQ(form.log, std::vector<std::string>{"across change 30"});
}

TEST_F(ControlWidgetsTest, ScrollBarKeysStepAHorizontalBarAndRaiseOneChangeEach) {
    auto* across = Widget<QScrollBar>("across");
    ASSERT_NE(across, nullptr);
    view.Dispatch([this] {
        form.across.SetMax(100);
        form.across.SetSmallChange(5);
        form.across.SetLargeChange(20);
        form.across.SetValue(20);
    });
    form.log.clear();
    // A click on an arrow focuses the bar: the arrow keys step it too.
    QTest::mouseClick(across, Qt::LeftButton, {}, ScrollBarParts::Of(*across, QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(form.across.Value(), 15);
    EXPECT_TRUE(across->hasFocus());
    QTest::keyClick(across, Qt::Key_Left);
    EXPECT_EQ(form.across.Value(), 10);
    QTest::keyClick(across, Qt::Key_Right);
    QTest::keyClick(across, Qt::Key_Right);
    QTest::keyClick(across, Qt::Key_Right);
    EXPECT_EQ(form.across.Value(), 25);
    QTest::keyClick(across, Qt::Key_PageUp);
    EXPECT_EQ(form.across.Value(), 5);
    EXPECT_EQ(across->value(), 5);
    EXPECT_EQ(form.log, (std::vector<std::string>{"across change 15", "across change 10", "across change 15",
                                                  "across change 20", "across change 25", "across change 5"}));
}

TEST_F(ControlWidgetsTest, ScrollBarThumbDragThatComesBackRaisesScrollAndNoChange) {
    auto* across = Widget<QScrollBar>("across");
    ASSERT_NE(across, nullptr);
    view.Dispatch([this] {
        form.across.SetMax(100);
        form.across.SetLargeChange(10);
        form.across.SetValue(40);
    });
    form.log.clear();
    across->setSliderDown(true);
    across->setSliderPosition(70);
    across->setSliderPosition(40);
    across->setSliderDown(false);
    EXPECT_EQ(form.across.Value(), 40);
    EXPECT_EQ(form.log, (std::vector<std::string>{"across scroll 70", "across scroll 40"}));
}

TEST_F(ControlWidgetsTest, ScrollBarValueSetFromCodeMovesTheThumbAndRaisesNothingFurther) {
    auto* across = Widget<QScrollBar>("across");
    ASSERT_NE(across, nullptr);
    view.Dispatch([this] {
        form.across.SetMax(100);
        form.across.SetLargeChange(10);
    });
    const int leftmost = ScrollBarParts::Of(*across, QStyle::SC_ScrollBarSlider).left();
    view.Dispatch([this] { form.across.SetValue(100); });
    EXPECT_EQ(across->value(), 100);
    EXPECT_GT(ScrollBarParts::Of(*across, QStyle::SC_ScrollBarSlider).left(), leftmost + 100);
    EXPECT_EQ(form.log, std::vector<std::string>{"across change 100"});

    // The range turned round in one handler: the widget shows only the control's final
    // value, and the steps in between raise nothing from the widget.
    form.log.clear();
    view.Dispatch([this] {
        form.across.SetValue(30);
        form.across.SetMin(100);
        form.across.SetMax(0);
    });
    EXPECT_EQ(form.across.Value(), 100);
    EXPECT_EQ(form.log, (std::vector<std::string>{"across change 30", "across change 100"}));
    EXPECT_EQ(ScrollBarParts::Of(*across, QStyle::SC_ScrollBarSlider).left(), leftmost);
    // Back again, Max first, so that the value never leaves the range.
    view.Dispatch([this] {
        form.across.SetMax(100);
        form.across.SetMin(0);
    });
    ASSERT_EQ(form.across.Value(), 100);
    EXPECT_EQ(across->value(), 100);

    // Also while the user holds the thumb: the handler's value shows, with no Scroll for it.
    form.log.clear();
    form.across.onScroll = [this] { form.across.SetValue(50); };
    across->setSliderDown(true);
    across->setSliderPosition(80);
    EXPECT_EQ(form.across.Value(), 50);
    EXPECT_EQ(across->value(), 50);
    EXPECT_EQ(form.log, std::vector<std::string>{"across change 50"});
    // Where the drag stops the value differs from where it started: Change.
    across->setSliderDown(false);
    EXPECT_EQ(form.log, (std::vector<std::string>{"across change 50", "across change 50"}));
}

TEST_F(ControlWidgetsTest, ScrollBarWithMinAboveMaxRunsFromMinAtTheTop) {
    auto* upright = Widget<QScrollBar>("upright(1)");
    ASSERT_NE(upright, nullptr);
    view.Dispatch([this] {
        form.upright.SetSmallChange(10);
        form.upright.SetLargeChange(25);
    });
    // At Min the thumb is at the top.
    const QRect top = ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarSlider);
    EXPECT_EQ(top.top(), ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarSubLine).bottom() + 1);

    // The lower arrow moves the thumb down, towards Max.
    QTest::mouseClick(upright, Qt::LeftButton, {}, ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(form.upright.Value(), 90);
    EXPECT_EQ(form.log, std::vector<std::string>{"upright change 90"});
    EXPECT_GT(ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarSlider).top(), top.top());

    // The page area below the thumb too.
    form.log.clear();
    QTest::mouseClick(upright, Qt::LeftButton, {}, ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(form.upright.Value(), 65);
    EXPECT_EQ(form.log, std::vector<std::string>{"upright change 65"});

    // So do the Down key and the wheel turned towards the user.
    form.log.clear();
    upright->setFocus();
    QTest::keyClick(upright, Qt::Key_Down);
    EXPECT_EQ(form.upright.Value(), 55);
    QTest::keyClick(upright, Qt::Key_Up);
    EXPECT_EQ(form.upright.Value(), 65);
    QWheelEvent wheel(QPointF(5, 5), upright->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(upright, &wheel);
    EXPECT_LT(form.upright.Value(), 65);
    EXPECT_EQ(upright->value(), -form.upright.Value());
    EXPECT_EQ(form.log, (std::vector<std::string>{"upright change 55", "upright change 65",
                                                  "upright change " + std::to_string(form.upright.Value())}));
    view.Dispatch([this] { form.upright.SetValue(65); });

    // Dragging the thumb down goes towards Max.
    form.log.clear();
    const QPoint thumb = ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarSlider).center();
    Send(upright, QEvent::MouseButtonPress, thumb, Qt::LeftButton, Qt::LeftButton);
    Send(upright, QEvent::MouseMove, thumb + QPoint(0, 20), Qt::NoButton, Qt::LeftButton);
    Send(upright, QEvent::MouseButtonRelease, thumb + QPoint(0, 20), Qt::LeftButton, Qt::NoButton);
    const int dragged = form.upright.Value();
    EXPECT_LT(dragged, 65);
    EXPECT_EQ(form.log, (std::vector<std::string>{"upright scroll " + std::to_string(dragged),
                                                  "upright change " + std::to_string(dragged)}));

    // At Max, from code, the thumb is at the bottom.
    view.Dispatch([this] { form.upright.SetValue(0); });
    EXPECT_EQ(ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarSlider).bottom() + 1,
              ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarAddLine).top());

    // Turned round to run upwards, the same value sits at the top.
    view.Dispatch([this] {
        form.upright.SetMin(0);
        form.upright.SetMax(100);
    });
    EXPECT_EQ(upright->minimum(), 0);
    EXPECT_EQ(upright->maximum(), 100);
    EXPECT_EQ(upright->value(), 0);
    EXPECT_EQ(ScrollBarParts::Of(*upright, QStyle::SC_ScrollBarSlider).top(), top.top());
}

TEST_F(ControlWidgetsTest, DisabledScrollBarIsADisabledWidgetThatRaisesNothing) {
    auto* across = Widget<QScrollBar>("across");
    ASSERT_NE(across, nullptr);
    view.Dispatch([this] { form.across.SetEnabled(false); });
    EXPECT_FALSE(across->isEnabled());
    QTest::mouseClick(across, Qt::LeftButton, {}, ScrollBarParts::Of(*across, QStyle::SC_ScrollBarAddLine).center());
    QTest::mouseClick(across, Qt::LeftButton, {}, ScrollBarParts::Of(*across, QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(form.across.Value(), 0);
    EXPECT_EQ(form.log, std::vector<std::string>{});

    view.Dispatch([this] { form.across.SetEnabled(true); });
    EXPECT_TRUE(across->isEnabled());
    QTest::mouseClick(across, Qt::LeftButton, {}, ScrollBarParts::Of(*across, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(form.log, std::vector<std::string>{"across change 1"});
}
