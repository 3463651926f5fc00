// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "editor/dashed_grid.h"
#include "form_fixture.h"

using namespace pelmora;

namespace {

constexpr std::int32_t kRed = 255, kGreen = 65280, kWhite = 16777215, kGrey = kEditorLightGrey;

// The editor page of a loaded form, driven through the display's mouse events the way the
// view raises them.
struct DrawingToolsTest : FormOnFakeDesktop, ::testing::Test {
    EditorPage& page = form.editor;
    EditorCanvas& canvas = form.editor.canvas;
    SelectionBox& selection = form.editor.selection;
    DrawingTools& tools = form.editor.tools;
    PictureBox& display = form.editor.canvas.显示图像;

    // A working image shown at 1:1, as after opening it.
    void Open(const Surface& picture) {
        canvas.结果图像 = picture;
        canvas.ShowResized(canvas.结果图像, picture.Width(), picture.Height());
        canvas.UpdateScrollRanges();
    }
    void Press(int x, int y, int button = kLeftButton) { display.RaiseMouseDown({button, 0, x, y}); }
    void Drag(int x, int y, int buttons = kLeftButton) { display.RaiseMouseMove({buttons, 0, x, y}); }
    void Release(int x, int y, int button = kLeftButton) { display.RaiseMouseUp({button, 0, x, y}); }
    void DrawBox(int x1, int y1, int x2, int y2) {
        Press(x1, y1);
        Drag(x2, y2);
        Release(x2, y2);
    }
    // What the view raises for a double click: press, release, double click, release. The
    // pointer moves there first.
    void DoubleClick(int x, int y) {
        Drag(x, y, 0);
        Press(x, y);
        Release(x, y);
        display.RaiseDblClick();
        Release(x, y);
    }
    Rect Box() const { return selection.选框.Geometry(); }
    int HistoryWrites() const { return FilledHistorySlots(canvas); }
};

}  // namespace

TEST_F(DrawingToolsTest, StartsWithTheCutToolAndNoSelection) {
    EXPECT_TRUE(tools.控制[0].Value());
    EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::剪图);
    EXPECT_FALSE(tools.确认.Visible());
    EXPECT_EQ(Box(), (Rect{-100, -100, 50, 50}));
    EXPECT_FALSE(selection.LblPos.Visible());
    for (const PictureBox& handle : selection.调节点) {
        EXPECT_FALSE(handle.Visible());
        EXPECT_EQ(handle.Geometry().left, -100);
    }
    EXPECT_EQ(page.colours.前背景色[0].Text(), "0");
    EXPECT_EQ(page.colours.前背景色[1].Text(), "FFFFFF");
    EXPECT_EQ(page.colours.前背景色块[1].BackColor(), kWhite);
}

TEST_F(DrawingToolsTest, PencilPaintsOnlyTheReportedPositions) {
    page.colours.前背景色[0].SetText("FF");
    tools.控制[1].Select();
    EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::铅笔);
    EXPECT_EQ(display.Pointer(), MousePointer::Custom);
    EXPECT_EQ(display.MouseIcon(), &tools.鼠标[0]);
    Press(10, 5);
    Drag(40, 5);                              // one fast move
    Drag(50, 6, kLeftButton | kRightButton);  // not the left button alone: no paint
    Release(40, 5);
    for (int x = 9; x <= 41; ++x) {
        const std::int32_t expected = x == 10 || x == 40 ? kRed : kGrey;
        EXPECT_EQ(canvas.结果图像.Pixel(x, 5), expected) << x;
        EXPECT_EQ(display.Image().Pixel(x, 5), expected) << x;
    }
    EXPECT_EQ(canvas.结果图像.Pixel(50, 6), kGrey);
    EXPECT_EQ(canvas.historyRing.HistoryLast(), 0);
    EXPECT_EQ(HistoryWrites(), 1) << "the release stores the stroke";
}

TEST_F(DrawingToolsTest, PencilAtEightTimesPaintsTheCellAndLeavesTheGrid) {
    canvas.缩放_Click(0);
    tools.控制[1].Select();
    Press(13, 21);
    // Cell (8, 16): the 7 x 7 square from (9, 17); the cell's grid pixels stay.
    EXPECT_EQ(display.Image().Pixel(9, 17), 0);
    EXPECT_EQ(display.Image().Pixel(15, 23), 0);
    EXPECT_EQ(display.Image().Pixel(8, 17), kGridSilver) << "8 + 17 is odd";
    EXPECT_EQ(display.Image().Pixel(10, 16), kGridGrey);
    EXPECT_EQ(display.Image().Pixel(17, 17), kGrey) << "the next cell is untouched";
    EXPECT_EQ(canvas.结果图像.Pixel(1, 2), 0);

    canvas.显示网格.SetValue(0);
    Press(13, 21 + 8);
    EXPECT_EQ(display.Image().Pixel(8, 24), 0) << "without the grid the whole cell";
    EXPECT_EQ(canvas.结果图像.Pixel(1, 3), 0);

    // Up to 7 pixels left of the display still maps to cell 0 (the remainder keeps its sign).
    Press(-3, 40);
    EXPECT_EQ(canvas.结果图像.Pixel(0, 5), 0);
}

TEST_F(DrawingToolsTest, PencilDabMarksOnlyItsCellForRepainting) {
    canvas.缩放_Click(0);
    tools.控制[1].Select();
    display.TakeDamage();
    Press(13, 21);
    const PictureDamage damage = display.TakeDamage();
    EXPECT_FALSE(damage.whole);
    EXPECT_EQ(damage.area, (Rect{8, 16, 8, 8}));
    Drag(30, 21);
    Drag(13, 40);
    EXPECT_EQ(display.TakeDamage().area, (Rect{8, 16, 24, 32})) << "two dabs: the area around both";
    EXPECT_EQ(display.TakeDamage().area, Rect{}) << "taken: nothing left";
}

TEST_F(DrawingToolsTest, FillRecoloursEveryPixelOfTheClickedColourAcrossTheImage) {
    Surface picture(20, 10, kWhite);
    picture.SetPixel(2, 2, kGreen);
    picture.SetPixel(17, 8, kGreen);  // not connected to (2, 2)
    picture.SetPixel(10, 5, kRed);
    Open(picture);
    page.colours.前背景色[0].SetText("FF0000");
    tools.控制[2].Select();
    EXPECT_EQ(display.MouseIcon(), &tools.鼠标[2]);
    Press(2, 2);
    Release(2, 2);
    EXPECT_EQ(canvas.结果图像.Pixel(2, 2), 16711680);
    EXPECT_EQ(canvas.结果图像.Pixel(17, 8), 16711680);
    EXPECT_EQ(canvas.结果图像.Pixel(10, 5), kRed);
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), kWhite);
    EXPECT_EQ(display.Image().Pixel(17, 8), 16711680);
    EXPECT_EQ(HistoryWrites(), 1);
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(DrawingToolsTest, ColourSelectMarksPicksOnAHalfBrightCopyAndConfirmKeepsThem) {
    Surface picture(4, 1, kGrey);
    picture.SetPixel(0, 0, kWhite);
    picture.SetPixel(1, 0, 0);
    picture.SetPixel(2, 0, 0x808080);
    Open(picture);
    tools.控制[3].Select();
    EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::色选);
    EXPECT_EQ(display.MouseIcon(), &tools.鼠标[1]);
    EXPECT_EQ(canvas.成品图像.Pixel(0, 0), 0x808080) << "255 halves to 128";
    EXPECT_EQ(display.Image().Pixel(3, 0), 0x707070);
    EXPECT_FALSE(tools.确认.Visible());

    for (int i = 0; i < 3; ++i) Press(0, 0);
    EXPECT_EQ(canvas.state.PickedColorCount(), 3);
    EXPECT_EQ(canvas.state.PickedColors(), (std::vector<std::int32_t>{kWhite, kWhite, kWhite}));
    EXPECT_EQ(display.Image().Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.成品图像.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), kWhite) << "the working image is only read";
    EXPECT_TRUE(tools.确认.Visible());

    Press(1, 0);  // black
    page.colours.前背景色[1].SetText("FF");
    tools.确认.RaiseClick();
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.结果图像.Pixel(1, 0), 0);
    EXPECT_EQ(canvas.结果图像.Pixel(2, 0), kRed) << "neither white nor black: the background colour";
    EXPECT_EQ(canvas.结果图像.Pixel(3, 0), kRed);
    EXPECT_EQ(display.Image().Pixel(2, 0), kRed);
    EXPECT_EQ(HistoryWrites(), 1);
    EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::剪图);
    EXPECT_TRUE(tools.控制[0].Value());
    EXPECT_FALSE(tools.确认.Visible());
    EXPECT_EQ(display.Pointer(), MousePointer::Default);
}

TEST_F(DrawingToolsTest, ColourSelectAtEightTimesDrawsARedAndAGreenOutline) {
    canvas.缩放_Click(0);
    tools.控制[3].Select();
    Press(13, 21);  // cell (8, 16)
    const Surface& shown = display.Image();
    EXPECT_EQ(shown.Pixel(9, 17), kRed);
    EXPECT_EQ(shown.Pixel(15, 23), kRed);
    EXPECT_EQ(shown.Pixel(10, 18), kGreen);
    EXPECT_EQ(shown.Pixel(14, 22), kGreen);
    EXPECT_EQ(shown.Pixel(12, 20), 0x707070) << "the centre keeps its half-bright colour";
    EXPECT_EQ(canvas.成品图像.Pixel(1, 2), kRed);
    EXPECT_EQ(canvas.state.PickedColors(), std::vector<std::int32_t>{kGrey});

    // Another tool shows the working image again; the marks are gone.
    tools.控制[1].Select();
    EXPECT_EQ(display.Image().Pixel(9, 17), kGrey);
    EXPECT_FALSE(tools.确认.Visible());
}

TEST_F(DrawingToolsTest, ConfirmWithNothingPickedReportsAndStillFinishes) {
    tools.控制[3].Select();
    tools.确认.RaiseClick();
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].rfind("错误号:9:", 0), 0u);
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), kGrey) << "the image is unchanged";
    EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::剪图);
}

TEST_F(DrawingToolsTest, RectangleIsDrawnFromItsAnchorInAnyDirection) {
    DrawBox(50, 50, 20, 80);
    EXPECT_EQ(Box(), (Rect{20, 50, 30, 30}));
    EXPECT_EQ(selection.LblPos.Caption(), "30x30");
    EXPECT_EQ(selection.LblPos.Geometry().left, 22);
    EXPECT_EQ(selection.LblPos.Geometry().top, 52);
    EXPECT_TRUE(selection.LblPos.Visible());
    EXPECT_EQ(canvas.state.SelectionModeNow(), SelectionMode::move);
    EXPECT_FALSE(canvas.state.CutDragActive());
    // The handles around it: the bottom-right one centred on (50, 80).
    EXPECT_TRUE(selection.调节点[6].Visible());
    EXPECT_EQ(selection.调节点[6].Geometry().left, 48);
    EXPECT_EQ(selection.调节点[6].Geometry().top, 78);
    EXPECT_EQ(selection.调节点[1].Geometry().left, 32) << "the top middle: 20 + 15 - 2.5 rounds to even";

    // Past the display's right edge the box stops at 153.
    DrawBox(100, 10, 300, 40);
    EXPECT_EQ(Box(), (Rect{100, 10, 53, 30}));
    // A move along the anchor's row leaves the box as it was.
    Press(5, 5);
    Drag(60, 5);
    EXPECT_EQ(Box(), (Rect{5, 5, 0, 0}));
}

TEST_F(DrawingToolsTest, ReleaseAtEightTimesSnapsTheBoxToCells) {
    Surface picture(40, 30, kGrey);
    Open(picture);
    canvas.缩放_Click(0);
    DrawBox(13, 21, 13 + 61, 21 + 60);
    EXPECT_EQ(Box(), (Rect{16, 24, 64, 56}));
    EXPECT_EQ(selection.LblPos.Caption(), "8x7");
    EXPECT_EQ(SnapToCell(-3), -3);
    EXPECT_EQ(SnapToCell(16), 16);
    EXPECT_EQ(SnapToCell(20), 16);
    EXPECT_EQ(SnapToCell(21), 24);
}

TEST_F(DrawingToolsTest, MovingTheBoxKeepsItInsideTheDisplay) {
    DrawBox(10, 10, 50, 40);  // 40 x 30
    Press(20, 20);            // inside: a move starts
    EXPECT_EQ(display.Pointer(), MousePointer::SizeAll);
    Drag(500, 20);
    EXPECT_EQ(Box(), (Rect{113, 10, 40, 30}));
    Drag(-500, -500);
    EXPECT_EQ(Box(), (Rect{0, 0, 40, 30}));
    EXPECT_EQ(selection.LblPos.Caption(), "40x30") << "a move does not rewrite the size";
    Release(-500, -500);
    EXPECT_EQ(canvas.state.SelectionModeNow(), SelectionMode::move);

    // Over the box the pointer is the four-way arrow, elsewhere the rectangle pointer.
    Drag(5, 5, 0);
    EXPECT_EQ(display.Pointer(), MousePointer::SizeAll);
    Drag(100, 100, 0);
    EXPECT_EQ(display.Pointer(), MousePointer::Custom);
    EXPECT_EQ(display.MouseIcon(), &tools.鼠标[3]);
    EXPECT_EQ(tools.LastMouseX(), 100);
}

TEST_F(DrawingToolsTest, DoubleClickInsideTheBoxCropsTheWorkingImage) {
    Surface picture(153, 105);
    for (int y = 0; y < 105; ++y)
        for (int x = 0; x < 153; ++x) picture.SetPixel(x, y, y * 1000 + x);
    Open(picture);
    DrawBox(10, 10, 50, 40);
    DoubleClick(100, 100);  // outside the box: nothing
    EXPECT_EQ(canvas.结果图像.Width(), 153);

    DrawBox(10, 10, 50, 40);
    DoubleClick(20, 20);
    EXPECT_EQ(canvas.结果图像.Width(), 40);
    EXPECT_EQ(canvas.结果图像.Height(), 30);
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), 10 * 1000 + 10);
    EXPECT_EQ(canvas.结果图像.Pixel(39, 29), 39 * 1000 + 49);
    EXPECT_EQ(display.Geometry().width, 40);
    EXPECT_EQ(display.Image().Pixel(39, 29), 39 * 1000 + 49);
    EXPECT_EQ(HistoryWrites(), 1);
    EXPECT_EQ(canvas.historyRing.历史记录(0).Width(), 40);
    EXPECT_EQ(canvas.state.HandleDragStateNow(), HandleDragState::Start);
    EXPECT_EQ(Box(), (Rect{-100, -100, 50, 50}));
    EXPECT_FALSE(selection.LblPos.Visible());

    // With another tool a double click does nothing.
    Drag(5, 5, 0);  // the last position in cut mode
    tools.控制[1].Select();
    display.RaiseDblClick();
    EXPECT_EQ(canvas.结果图像.Width(), 40);
}

TEST_F(DrawingToolsTest, CropAtEightTimesKeepsTheZoomAndTheSizeLabelCropsToo) {
    Surface picture(20, 10);
    for (int x = 0; x < 20; ++x) picture.SetPixel(x, 0, x);
    Open(picture);
    canvas.缩放_Click(0);
    DrawBox(16, 0, 16 + 40, 16);  // source pixels 2..6, rows 0..1
    EXPECT_EQ(selection.LblPos.Caption(), "5x2");
    Drag(20, 4, 0);  // the last position: inside the box
    selection.LblPos.RaiseDblClick();
    EXPECT_EQ(canvas.结果图像.Width(), 5);
    EXPECT_EQ(canvas.结果图像.Height(), 2);
    EXPECT_EQ(canvas.结果图像.Pixel(0, 0), 2);
    EXPECT_EQ(display.Geometry().width, 40);
    EXPECT_TRUE(canvas.ZoomedEightTimes());
    EXPECT_EQ(display.Image().Pixel(0, 0), kGridGrey);
    EXPECT_EQ(display.Image().Pixel(8 + 3, 3), 3);
}

TEST_F(DrawingToolsTest, StatusShowsThePixelUnderThePointer) {
    Drag(0, 0, 0);
    EXPECT_EQ(tools.坐标.Caption(), "0,0 E0E0E0");
    canvas.结果图像.SetPixel(12, 34, kRed);
    Drag(12, 34, 0);
    EXPECT_EQ(tools.坐标.Caption(), "12,34 0000FF");
    // Outside the picture no pixel is read: FFFFFF, at 1:1 before the drag clamps.
    Press(150, 100);
    Drag(200, 120);
    EXPECT_EQ(tools.坐标.Caption(), "200,120 FFFFFF");
    Release(200, 120);
    canvas.缩放_Click(0);
    Drag(8 * 12 + 5, 8 * 34 + 1, 0);
    EXPECT_EQ(tools.坐标.Caption(), "12,34 0000FF");
}

TEST_F(DrawingToolsTest, MiddleButtonPansWithTheFourWayPointerThenTheToolPointer) {
    Open(Surface(1000, 100, kGrey));
    tools.控制[1].Select();
    canvas.HScroll1.SetValue(100);
    Press(200, 50, kMiddleButton);
    EXPECT_EQ(display.Pointer(), MousePointer::SizeAll);
    Drag(215, 50, kMiddleButton);  // moving with the middle button paints nothing
    EXPECT_EQ(canvas.结果图像.Pixel(215, 50), kGrey);
    Release(230, 50, kMiddleButton);
    EXPECT_EQ(canvas.HScroll1.Value(), 70);
    EXPECT_EQ(display.Pointer(), MousePointer::Custom);
    EXPECT_EQ(display.MouseIcon(), &tools.鼠标[0]);
    EXPECT_EQ(HistoryWrites(), 0);
}

TEST_F(DrawingToolsTest, EachToolButtonIsNamedForTheToolItChooses) {
    const char* const names[4] = {"剪图", "铅笔", "填充", "色选"};
    for (std::size_t i : {3u, 2u, 1u, 0u}) {
        tools.控制[i].Select();
        EXPECT_EQ(tools.控制[i].ToolTip(), names[i]);
        EXPECT_STREQ(ToolModeName(canvas.state.ToolModeNow()), names[i]);
    }
}

TEST_F(DrawingToolsTest, ToolButtonsResetTheSelection) {
    DrawBox(10, 10, 50, 40);
    tools.控制[2].Select();
    EXPECT_EQ(Box(), (Rect{-100, -100, 50, 50}));
    EXPECT_FALSE(selection.调节点[0].Visible());
    EXPECT_FALSE(selection.LblPos.Visible());
    EXPECT_EQ(form.Focused(), &display);
}

TEST_F(DrawingToolsTest, ColourBoxesShowTheirColourAndTurnBadTextToBlack) {
    ColourBoxes& colours = page.colours;
    colours.前背景色[0].SetText("FF");
    EXPECT_EQ(colours.前背景色块[0].BackColor(), kRed);
    EXPECT_EQ(colours.Foreground(), kRed);
    colours.前背景色[0].SetText("");
    EXPECT_EQ(colours.前背景色[0].Text(), "0");
    EXPECT_EQ(colours.前背景色块[0].BackColor(), 0);
    colours.前背景色[1].SetText("12G");
    EXPECT_EQ(colours.前背景色[1].Text(), "0");
    EXPECT_EQ(colours.Background(), 0);
}

TEST(SelectionSizeCaption, WholeSourcePixelsAtEightTimesAndDisplayPixelsAtOne) {
    EXPECT_EQ(SelectionSizeCaption(64, 40, true), "8x5");
    EXPECT_EQ(SelectionSizeCaption(61, 60, true), "7x7");
    EXPECT_EQ(SelectionSizeCaption(64, 40, false), "64x40");
    EXPECT_EQ(SelectionSizeCaption(0, 0, false), "0x0");
}

TEST(CellOrigin, RoundsHalvesToEvenAndKeepsTheSignOfTheRemainder) {
    EXPECT_EQ(CellOrigin(13, 21).x, 8);
    EXPECT_EQ(CellOrigin(13, 21).y, 16);
    EXPECT_EQ(CellOrigin(-3, 0).x, 0);
    EXPECT_EQ(CellOrigin(-9, 0).x, -8);
    EXPECT_EQ(CellOrigin(7.5F, 0).x, 8) << "7.5 rounds to 8";
    EXPECT_EQ(CellOrigin(6.5F, 0).x, 0) << "6.5 rounds to 6";
}
