// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "editor/dashed_grid.h"
#include "form_fixture.h"

using namespace pelmora;

namespace {

struct EditorCanvasTest : FormOnFakeDesktop, ::testing::Test {
    EditorCanvas& editor = form.editor.canvas;
    // A working image of width x height whose pixel (x, y) is its own colour.
    void Open(int width, int height) {
        editor.结果图像 = Surface(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) editor.结果图像.SetPixel(x, y, (y << 12 | x) + 1);
        Rect area = editor.显示图像.Geometry();
        area.width = width;
        area.height = height;
        editor.显示图像.SetGeometry(area);
        editor.显示图像.EditImage() = editor.结果图像;
        editor.UpdateScrollRanges();
    }
    Rect DisplayArea() const { return editor.显示图像.Geometry(); }
};

}  // namespace

TEST_F(EditorCanvasTest, StartsAt153By105WithBothBarsDisabledAndTheGridOn) {
    EXPECT_EQ(DisplayArea(), (Rect{3, 3, 153, 105}));
    EXPECT_EQ(editor.Display().Pixel(0, 0), kEditorLightGrey);
    EXPECT_EQ(editor.结果图像.Width(), 153);
    EXPECT_EQ(editor.显示网格.Value(), 1);
    EXPECT_FALSE(editor.HScroll1.Enabled());
    EXPECT_FALSE(editor.VScroll1.Enabled());
    EXPECT_EQ(editor.HScroll1.Max(), 153);
    EXPECT_EQ(editor.VScroll1.Max(), 105);
    EXPECT_EQ(editor.HScroll1.LargeChange(), 76);
    EXPECT_EQ(editor.VScroll1.LargeChange(), 52);
    EXPECT_EQ(editor.HScroll1.Value(), -12);
    EXPECT_EQ(editor.state.ToolModeNow(), ToolMode::剪图);
    EXPECT_EQ(editor.state.SelectionModeNow(), SelectionMode::draw);
    EXPECT_EQ(editor.state.HandleDragStateNow(), HandleDragState::Stop);
}

TEST_F(EditorCanvasTest, ZoomInEnlargesEightTimesWithTheGridAndZoomOutComesBack) {
    Open(100, 50);
    editor.缩放_Click(0);
    EXPECT_EQ(DisplayArea().width, 800);
    EXPECT_EQ(DisplayArea().height, 400);
    EXPECT_TRUE(editor.ZoomedEightTimes());
    const Surface& display = editor.Display();
    EXPECT_EQ(display.Pixel(0, 0), kGridGrey);
    EXPECT_EQ(display.Pixel(0, 1), kGridSilver);
    EXPECT_EQ(display.Pixel(8 * 7 + 3, 8 * 2 + 5), (2 << 12 | 7) + 1);  // inside cell (7, 2)
    EXPECT_EQ(display.Pixel(799, 399), (49 << 12 | 99) + 1);

    editor.缩放_Click(0);  // already zoomed: nothing
    EXPECT_EQ(DisplayArea().width, 800);
    editor.缩放_Click(1);
    EXPECT_EQ(DisplayArea().width, 100);
    EXPECT_FALSE(editor.ZoomedEightTimes());
    EXPECT_EQ(editor.Display().Pixel(7, 2), (2 << 12 | 7) + 1);
    editor.缩放_Click(1);  // not zoomed: nothing
    EXPECT_EQ(DisplayArea().width, 100);
}

TEST_F(EditorCanvasTest, ZoomLimitIs800By600) {
    Open(801, 600);
    editor.缩放_Click(0);
    EXPECT_EQ(fake.dialogs.messages, std::vector<std::string>{"不能放大超过800*600大小的图！"});
    EXPECT_EQ(DisplayArea().width, 801);
    EXPECT_FALSE(editor.ZoomedEightTimes());
    Open(800, 600);
    editor.缩放_Click(0);
    EXPECT_EQ(DisplayArea().width, 6400);
    EXPECT_EQ(DisplayArea().height, 4800);
    EXPECT_EQ(editor.HScroll1.Max(), 6400 - 329);
    EXPECT_EQ(fake.dialogs.messages.size(), 1u);
}

TEST_F(EditorCanvasTest, ScrollBarsMoveTheDisplayAndFitItsSize) {
    Open(1000, 100);
    EXPECT_TRUE(editor.HScroll1.Enabled());
    EXPECT_EQ(editor.HScroll1.Max(), 671);
    EXPECT_EQ(editor.HScroll1.LargeChange(), 336);
    editor.HScroll1.SetValue(671);
    EXPECT_EQ(DisplayArea().left, -680);
    editor.HScroll1.SetValue(0);
    EXPECT_EQ(DisplayArea().left, -9);
    editor.HScroll1.DragTo(100);  // the thumb dragged moves it too
    EXPECT_EQ(DisplayArea().left, -109);

    // A maximum of 1 would give a page step of 0, which a bar does not take.
    Open(330, 100);
    EXPECT_EQ(editor.HScroll1.Max(), 1);
    EXPECT_EQ(editor.HScroll1.LargeChange(), 1);
    EXPECT_EQ(editor.HScroll1.Value(), 1) << "the value follows a smaller maximum";
}

TEST_F(EditorCanvasTest, MiddleDragPansWithTheHand) {
    Open(1000, 100);
    editor.HScroll1.SetValue(100);
    editor.StartPan(200, 50);
    editor.EndPan(230, 50);  // 30 pixels to the right
    EXPECT_EQ(editor.HScroll1.Value(), 70);
    EXPECT_EQ(editor.VScroll1.Value(), -12) << "a display lower than the viewport stays at -12";
    editor.StartPan(200, 50);
    editor.EndPan(-900, 50);
    EXPECT_EQ(editor.HScroll1.Value(), 671);
}

TEST_F(EditorCanvasTest, GridToggleRedrawsAndDropsColourPicks) {
    Open(10, 10);
    editor.缩放_Click(0);
    editor.显示网格.SetValue(0);
    EXPECT_EQ(editor.Display().Pixel(0, 0), 1);
    editor.显示网格.SetValue(1);
    EXPECT_EQ(editor.Display().Pixel(0, 0), kGridGrey);

    editor.state.SetToolMode(ToolMode::色选);
    editor.state.AddPickedColour(5);
    editor.state.AddPickedColour(6);
    editor.显示网格.SetValue(0);
    EXPECT_TRUE(editor.state.PickedColors().empty());
    EXPECT_EQ(editor.state.PickedColorCount(), 0);
}

TEST_F(EditorCanvasTest, HistoryRingKeepsTheSlotAfterTheNewestEmpty) {
    for (int i = 0; i < 7; ++i) {
        editor.结果图像.SetPixel(0, 0, i);
        editor.PushHistory();
    }
    const HistoryRing& ring = editor.historyRing;
    EXPECT_EQ(ring.HistoryLast(), 0);
    EXPECT_EQ(ring.HistoryNext(), 1);
    EXPECT_EQ(ring.HistoryFilled(), (std::array<bool, 6>{true, false, true, true, true, true}));
    EXPECT_EQ(ring.历史记录(0).Pixel(0, 0), 6);
    EXPECT_EQ(ring.历史记录(5).Pixel(0, 0), 5);
    EXPECT_EQ(ring.历史记录(0).Width(), 153);
}

TEST(HistoryRing, APushAfterARestoreGoesJustAfterItAndEndsTheWayForward) {
    HistoryRing ring;
    ring.Reset();
    EXPECT_EQ(ring.FilledNeighbour(-1), std::nullopt);
    EXPECT_EQ(ring.FilledNeighbour(1), std::nullopt);
    for (int i = 0; i < 4; ++i) ring.Push(Surface(1, 1, i));  // slots 0 to 3
    ASSERT_EQ(ring.FilledNeighbour(-1), 2);
    ring.Restore(2);
    ASSERT_EQ(ring.FilledNeighbour(-1), 1);
    EXPECT_EQ(ring.Restore(1).Pixel(0, 0), 1);
    EXPECT_EQ(ring.HistoryLast(), 1);
    EXPECT_EQ(ring.HistoryNext(), 2);
    EXPECT_EQ(ring.FilledNeighbour(1), 2) << "the later snapshots stay reachable until a push";

    ring.Push(Surface(1, 1, 9));
    EXPECT_EQ(ring.HistoryLast(), 2);
    EXPECT_EQ(ring.历史记录(2).Pixel(0, 0), 9);
    EXPECT_EQ(ring.FilledNeighbour(1), std::nullopt) << "slot 3 is marked empty";
    EXPECT_EQ(ring.FilledNeighbour(-1), 1);
}

TEST(EditorState, OnlyAReleaseAfterDrawingFreesTheSelection) {
    EditorState state;
    state.BeginCutDrag();
    state.FinishDrawing();
    EXPECT_EQ(state.SelectionModeNow(), SelectionMode::move);
    EXPECT_EQ(state.HandleDragStateNow(), HandleDragState::Stop);

    state.HoldSelectionAfterCrop();
    state.FinishDrawing();  // a release after a move: the selection stays held
    EXPECT_EQ(state.HandleDragStateNow(), HandleDragState::Start);
    state.StartNewSelection();
    state.FinishDrawing();
    EXPECT_EQ(state.HandleDragStateNow(), HandleDragState::Stop) << "a new rectangle is free";

    state.HoldSelectionAfterCrop();
    state.ResetCut();
    EXPECT_FALSE(state.CutDragActive());
    EXPECT_EQ(state.SelectionModeNow(), SelectionMode::draw);
    EXPECT_EQ(state.HandleDragStateNow(), HandleDragState::Stop);
}

TEST(EditorState, PicksStartAfreshAfterARestartAndRecolouringUsesThemUp) {
    EditorState state;
    state.AddPickedColour(5);
    state.AddPickedColour(5);
    EXPECT_EQ(state.PickedColors(), (std::vector<std::int32_t>{5, 5}));
    EXPECT_EQ(state.PickedColorCount(), 2);
    state.RestartPickCount();
    state.AddPickedColour(7);
    EXPECT_EQ(state.PickedColors(), std::vector<std::int32_t>{7});
    EXPECT_EQ(state.PickedColorCount(), 1);

    state.PickOnly(9);  // the fill tool's click
    EXPECT_EQ(state.PickedColors(), std::vector<std::int32_t>{9});
    Surface picture(2, 1, 9);
    picture.SetPixel(1, 0, 3);
    FakeDialogs dialogs;
    EXPECT_TRUE(state.RecolourPicked(picture, picture, 1, 0, dialogs));
    EXPECT_EQ(picture.Pixel(0, 0), 1);
    EXPECT_EQ(picture.Pixel(1, 0), 3);
    EXPECT_TRUE(state.PickedColors().empty());
    EXPECT_EQ(state.PickedColorCount(), 1) << "the count stays until a tool button restarts it";
    EXPECT_FALSE(state.RecolourPicked(picture, picture, 2, 0, dialogs));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(picture.Pixel(1, 0), 3);
}
