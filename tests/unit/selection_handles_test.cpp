// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "form_fixture.h"

using namespace pelmora;

namespace {

// The editor's selection handles and history buttons, driven as the view drives them: the
// pointer's screen position moves, then the handle gets the mouse event.
struct SelectionHandlesTest : FormOnFakeDesktop, ::testing::Test {
    EditorCanvas& canvas = form.editor.canvas;
    SelectionBox& selection = form.editor.selection;
    PictureBox& display = form.editor.canvas.显示图像;

    void Open(int width, int height) {
        Surface picture(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) picture.SetPixel(x, y, y * 1000 + x);
        canvas.结果图像 = picture;
        canvas.ShowActualSize(picture, width, height);  // at 1:1
        canvas.UpdateScrollRanges();
        canvas.state.StartNewSelection();
    }
    void DrawBox(int x1, int y1, int x2, int y2) {
        display.RaiseMouseDown({kLeftButton, 0, x1, y1});
        display.RaiseMouseMove({kLeftButton, 0, x2, y2});
        display.RaiseMouseUp({kLeftButton, 0, x2, y2});
    }
    // Drags handle index by (dx, dy) screen pixels and releases it.
    void DragHandle(int index, int dx, int dy, bool release = true) {
        PictureBox& handle = selection.调节点[static_cast<std::size_t>(index)];
        fake.desktop.pointer = {500, 400};
        handle.RaiseMouseDown({kLeftButton, 0, 2, 2});
        fake.desktop.pointer = {500 + dx, 400 + dy};
        handle.RaiseMouseMove({kLeftButton, 0, 2 + dx, 2 + dy});
        if (release) handle.RaiseMouseUp({kLeftButton, 0, 2 + dx, 2 + dy});
    }
    Rect Box() const { return selection.选框.Geometry(); }
};

}  // namespace

TEST_F(SelectionHandlesTest, BottomAndRightHandlesResizeAndTheTopLeftStays) {
    DrawBox(10, 10, 50, 40);  // 40 x 30
    DragHandle(6, 15, 5);
    EXPECT_EQ(Box(), (Rect{10, 10, 55, 35}));
    EXPECT_EQ(selection.LblPos.Caption(), "55x35");
    EXPECT_EQ(canvas.state.HandleDragStateNow(), HandleDragState::Stop);
    EXPECT_EQ(selection.调节点[6].Geometry().left, 62) << "laid around the new box: 10 + 55 - 2.5 to even";
    DragHandle(5, 30, -5);  // only the height follows
    EXPECT_EQ(Box(), (Rect{10, 10, 55, 30}));
    DragHandle(7, -5, 30);  // only the width
    EXPECT_EQ(Box(), (Rect{10, 10, 50, 30}));

    // Past the top-left corner the box keeps 3 pixels, never 1 or less.
    DragHandle(6, -100, -100);
    EXPECT_EQ(Box(), (Rect{10, 10, 3, 3}));
}

TEST_F(SelectionHandlesTest, OtherHandlesOnlyShowTheirPointerAndTheSize) {
    DrawBox(10, 10, 50, 40);
    for (int index : {0, 1, 2, 3, 4}) {
        selection.LblPos.SetCaption("");
        DragHandle(index, 20, 20);
        EXPECT_EQ(Box(), (Rect{10, 10, 40, 30})) << index;
        EXPECT_EQ(selection.LblPos.Caption(), "40x30") << "rewritten during the drag: " << index;
    }
    EXPECT_EQ(selection.调节点[0].Pointer(), MousePointer::SizeNWSE);
    EXPECT_EQ(selection.调节点[1].Pointer(), MousePointer::SizeNS);
    EXPECT_EQ(selection.调节点[2].Pointer(), MousePointer::SizeNESW);
    EXPECT_EQ(selection.调节点[3].Pointer(), MousePointer::SizeWE);
    EXPECT_EQ(selection.调节点[4].Pointer(), MousePointer::SizeNESW);
}

TEST_F(SelectionHandlesTest, APressWhileNoSelectionExistsStartsNoDrag) {
    canvas.state.StartNewSelection();
    selection.调节点[6].RaiseMouseDown({kLeftButton, 0, 0, 0});
    EXPECT_EQ(canvas.state.HandleDragStateNow(), HandleDragState::Stop);
    DrawBox(10, 10, 50, 40);
    selection.调节点[6].RaiseMouseDown({kRightButton, 0, 0, 0});
    EXPECT_EQ(canvas.state.HandleDragStateNow(), HandleDragState::Stop) << "the right button starts none either";
}

TEST_F(SelectionHandlesTest, ReleaseCutsTheBoxBackToThePictureAndSnapsAtEightTimes) {
    DrawBox(100, 50, 140, 90);
    DragHandle(6, 100, 100);
    EXPECT_EQ(Box(), (Rect{100, 50, 53, 55})) << "the 153 x 105 picture's edges";

    Open(40, 30);
    canvas.缩放_Click(0);
    DrawBox(0, 0, 64, 40);
    EXPECT_EQ(selection.LblPos.Caption(), "8x5");
    DragHandle(6, -3, 20);  // 61 x 60
    EXPECT_EQ(Box(), (Rect{0, 0, 64, 56})) << "61 rounds up, 60 down";
    EXPECT_EQ(selection.LblPos.Caption(), "7x7") << "the label is not rewritten on release";
    DragHandle(7, 500, 0);
    EXPECT_EQ(Box(), (Rect{0, 0, 320, 56})) << "cut back to the 8:1 display's edge";
}

TEST_F(SelectionHandlesTest, HistoryStepsBackAndForwardThroughFilledSlots) {
    HistoryButtons& history = form.editor.history;
    for (int i = 0; i < 3; ++i) {
        canvas.结果图像.SetPixel(0, 0, i);
        canvas.PushHistory();
    }
    const auto shows = [&](int value) {
        return canvas.结果图像.Pixel(0, 0) == value && display.Image().Pixel(0, 0) == value;
    };
    history.记录按钮_Click(0);
    EXPECT_TRUE(shows(1));
    EXPECT_EQ(canvas.historyRing.HistoryNext(), 2);
    history.记录按钮_Click(0);
    EXPECT_TRUE(shows(0));
    EXPECT_EQ(canvas.historyRing.HistoryNext(), 1);
    history.记录按钮_Click(0);  // slot 5 is empty
    EXPECT_TRUE(shows(0));
    EXPECT_EQ(canvas.historyRing.HistoryLast(), 0);
    history.记录按钮_Click(1);
    EXPECT_TRUE(shows(1));
    history.记录按钮_Click(1);
    EXPECT_TRUE(shows(2));
    history.记录按钮_Click(1);  // slot 3 is empty
    EXPECT_TRUE(shows(2));
    EXPECT_EQ(canvas.historyRing.HistoryLast(), 2);
    EXPECT_EQ(canvas.historyRing.HistoryNext(), 3);
}

TEST_F(SelectionHandlesTest, HistoryAfterAFullRingGoesBackFiveSlots) {
    HistoryButtons& history = form.editor.history;
    for (int i = 0; i < 7; ++i) {
        canvas.结果图像.SetPixel(0, 0, i);
        canvas.PushHistory();
    }
    std::vector<int> visited;
    for (int i = 0; i < 6; ++i) {
        history.记录按钮_Click(0);
        visited.push_back(canvas.historyRing.HistoryLast());
    }
    EXPECT_EQ(visited, (std::vector<int>{5, 4, 3, 2, 2, 2}));
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), 2);
}

TEST_F(SelectionHandlesTest, RestoringWhileZoomedShowsOneToOneAndZoomWorksAgain) {
    Open(20, 10);
    canvas.PushHistory();
    canvas.结果图像.SetPixel(0, 0, 7);
    canvas.PushHistory();
    canvas.缩放_Click(0);
    form.editor.history.记录按钮_Click(0);
    EXPECT_FALSE(canvas.ZoomedEightTimes());
    EXPECT_EQ(display.Geometry().width, 20);
    EXPECT_EQ(display.Image().Pixel(0, 0), 0) << "no grid at 1:1";
    EXPECT_EQ(canvas.成品图像.Pixel(0, 0), 0);
    canvas.缩放_Click(0);
    EXPECT_EQ(display.Geometry().width, 160);
}
