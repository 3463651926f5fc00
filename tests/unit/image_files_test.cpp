// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstring>

#include "capture/bitmap_file.h"
#include "form_fixture.h"

using namespace pelmora;

namespace {

// A picture whose every pixel differs from its neighbours.
Surface Pattern(int width, int height) {
    Surface picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetPixel(x, y, (y * 37 + x * 11) % 0x1000000);
    return picture;
}

// The editor's file buttons and drops on the fake platform: files in the fake file system,
// answers of the fake dialogs, the fake clipboard and screen.
struct ImageFilesTest : FormOnFakeDesktop, ::testing::Test {
    EditorPage& page = form.editor;
    EditorCanvas& canvas = form.editor.canvas;
    ImageFiles& files = form.editor.files;
    PictureBox& display = form.editor.canvas.显示图像;

    void PutFile(const std::string& path, const Surface& picture) { fake.files.contents[path] = EncodeBitmap(picture); }
    void OpenFile(const std::string& path) {
        fake.dialogs.fileToOpen = path;
        files.菜单按钮_Click(0);
    }
    void ExpectPictureIs(const Surface& expected) {
        ASSERT_EQ(canvas.结果图像.Width(), expected.Width());
        ASSERT_EQ(canvas.结果图像.Height(), expected.Height());
        EXPECT_EQ(display.Geometry().width, expected.Width());
        EXPECT_EQ(display.Geometry().height, expected.Height());
        int wrong = 0;
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                wrong += canvas.结果图像.Pixel(x, y) != expected.Pixel(x, y) ||
                         display.Image().Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(wrong, 0);
    }
    int HistoryWrites() const { return FilledHistorySlots(canvas); }
};

}  // namespace

TEST_F(ImageFilesTest, OpeningWhileZoomedShowsTheFileAtOneToOneWithTheCutTool) {
    const Surface picture = Pattern(200, 100);
    PutFile("/pics/a.bmp", picture);
    page.tools.控制[3].Select();  // colour select, with its confirm button shown after a pick
    display.RaiseMouseDown({kLeftButton, 0, 1, 1});
    canvas.缩放_Click(0);
    OpenFile("/pics/a.bmp");
    EXPECT_EQ(fake.dialogs.fileDialogs, std::vector<std::string>{"打开文件 | 24位位图 (*.Bmp)"});
    ExpectPictureIs(picture);
    EXPECT_FALSE(canvas.ZoomedEightTimes());
    EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::剪图);
    EXPECT_TRUE(page.tools.控制[0].Value());
    EXPECT_FALSE(page.tools.确认.Visible());
    EXPECT_EQ(canvas.state.SelectionModeNow(), SelectionMode::draw);
    EXPECT_EQ(HistoryWrites(), 1);
    EXPECT_EQ(canvas.historyRing.历史记录(0).Pixel(199, 99), picture.Pixel(199, 99));
    EXPECT_EQ(canvas.HScroll1.Max(), 200 - 329 < 0 ? 200 : 200 - 329);
    canvas.缩放_Click(0);
    EXPECT_EQ(display.Geometry().width, 1600) << "zoom in works again";
}

TEST_F(ImageFilesTest, CancelledDialogsChangeNothing) {
    files.菜单按钮_Click(0);
    files.菜单按钮_Click(1);
    files.菜单按钮_Click(7);
    EXPECT_EQ(fake.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(canvas.结果图像.Width(), 153);
    EXPECT_EQ(HistoryWrites(), 0);
    EXPECT_TRUE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.files.contents.size(), 0u);
}

TEST_F(ImageFilesTest, SavedFileReadsBackWithTheWorkingImagesPixels) {
    const Surface picture = Pattern(31, 17);
    PutFile("/pics/a.bmp", picture);
    OpenFile("/pics/a.bmp");
    fake.dialogs.fileToSave = "/out/b";
    fake.files.folders.insert("/out");
    files.菜单按钮_Click(1);
    EXPECT_EQ(fake.dialogs.fileDialogs.back(), "保存文件 | 位图文件(*.bmp)");
    ASSERT_TRUE(fake.files.contents.contains("/out/b.bmp"));
    const DecodedBitmap saved = DecodeBitmap(fake.files.contents["/out/b.bmp"]);
    ASSERT_TRUE(saved.picture);
    EXPECT_EQ(saved.picture->Width(), 31);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 31; ++x) ASSERT_EQ(saved.picture->Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(HistoryWrites(), 1) << "saving changes no editor state";
}

TEST_F(ImageFilesTest, SaveNamesEndInDotBmpOnce) {
    EXPECT_EQ(BitmapFileName("C:\\img\\a"), "C:\\img\\a.bmp");
    EXPECT_EQ(BitmapFileName("C:\\img\\a.bmp"), "C:\\img\\a.bmp");
    EXPECT_EQ(BitmapFileName("C:\\img\\a.BMP"), "C:\\img\\a.BMP.bmp");
    EXPECT_EQ(BitmapFileName("C:\\img\\a.bmp.bmp"), "C:\\img\\a.bmp.bmp");
    EXPECT_EQ(BitmapFileName("x.bmp.bmp.bmp.bmp"), "x.bmp.bmp.bmp") << "pairs replaced left to right, once";
}

TEST_F(ImageFilesTest, SaveIntoAFolderThatCannotBeWrittenSaysSoAndWritesNothing) {
    fake.dialogs.fileToSave = "/locked/b.bmp";
    fake.files.folders.insert("/locked");
    fake.files.unwritableDirectories.insert("/locked");
    files.菜单按钮_Click(1);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_NE(fake.dialogs.messages[0].find("/locked/b.bmp"), std::string::npos);
    EXPECT_FALSE(fake.files.contents.contains("/locked/b.bmp"));
}

TEST_F(ImageFilesTest, DropsOpenFilesWhoseNameEndsInBmp) {
    const Surface picture = Pattern(20, 10);
    PutFile("/pics/a.BMP", picture);
    PutFile("/pics/a.jpg", picture);
    PutFile("/pics/abmp", Pattern(5, 5));
    display.RaiseDropFiles({"/pics/a.jpg"});
    EXPECT_EQ(canvas.结果图像.Width(), 153) << "a.jpg: nothing";
    canvas.背景图像框架.RaiseDropFiles({"/pics/a.BMP"});
    ExpectPictureIs(picture);
    display.RaiseDropFiles({"/pics/abmp", "/pics/a.BMP"});
    EXPECT_EQ(canvas.结果图像.Width(), 5) << "the first file, named ...bmp without a dot";
    EXPECT_EQ(HistoryWrites(), 2);
    EXPECT_TRUE(fake.dialogs.messages.empty());

    display.RaiseDropFiles({});
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(canvas.结果图像.Width(), 5);
}

TEST_F(ImageFilesTest, UnreadableFilesAreNamedWithTheReasonAndChangeNothing) {
    // The editor in a state worth keeping: an image, zoomed, the pencil chosen.
    const Surface picture = Pattern(30, 20);
    PutFile("/pics/good.bmp", picture);
    OpenFile("/pics/good.bmp");
    canvas.缩放_Click(0);
    page.tools.控制[1].Select();

    std::string header = EncodeBitmap(Pattern(4, 4)).substr(0, 54);
    const auto withField = [&](int at, std::int32_t value) {
        std::string bytes = header;
        for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(at) + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    fake.files.contents["/bad/magic.bmp"] = "PK" + EncodeBitmap(picture).substr(2);
    fake.files.contents["/bad/truncated.bmp"] = EncodeBitmap(picture).substr(0, 300);
    fake.files.contents["/bad/huge.bmp"] = withField(22, 65536).replace(18, 4, std::string("\x00\x80\x00\x00", 4));
    fake.files.contents["/bad/rle.bmp"] = withField(30, 1).replace(28, 2, std::string("\x08\x00", 2));
    fake.files.contents["/bad/empty.bmp"] = "";
    fake.files.contents["/bad/denied.bmp"] = EncodeBitmap(picture);
    fake.files.unreadableFiles.insert("/bad/denied.bmp");
    fake.files.folders.insert("/bad/folder.bmp");
    // A 16384 x 16384 24-bit bitmap: over 800 MB, refused before it is read.
    fake.files.contents["/bad/side16384.bmp"] = withField(18, 16384).replace(22, 4, std::string("\x00\x40\x00\x00", 4));
    fake.files.claimedSizes["/bad/side16384.bmp"] = 54 + 16384ull * 16384 * 3;
    // The same size in one bit a pixel: 32 MB of rows, refused by its pixel count.
    std::string oneBit = withField(18, 16384).replace(22, 4, std::string("\x00\x40\x00\x00", 4));
    oneBit.replace(28, 2, std::string("\x01\x00", 2));
    oneBit.replace(10, 4, std::string("\x3E\x00\x00\x00", 4));
    oneBit += std::string("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8);
    oneBit.resize(62 + 16384ull * 2048, '\0');
    fake.files.contents["/bad/onebit16384.bmp"] = oneBit;

    const char* const bad[] = {"/bad/magic.bmp",       "/bad/truncated.bmp", "/bad/huge.bmp",   "/bad/rle.bmp",
                               "/bad/empty.bmp",       "/bad/denied.bmp",    "/bad/folder.bmp", "/bad/side16384.bmp",
                               "/bad/onebit16384.bmp", "/bad/missing.bmp"};
    for (const char* path : bad) {
        fake.dialogs.messages.clear();
        OpenFile(path);
        display.RaiseDropFiles({path});
        ASSERT_EQ(fake.dialogs.messages.size(), 2u) << path;
        EXPECT_EQ(fake.dialogs.messages[0], fake.dialogs.messages[1]);
        EXPECT_EQ(fake.dialogs.messages[0].rfind(std::string("无法打开图像文件 ") + path + "：", 0), 0u)
            << fake.dialogs.messages[0];
        EXPECT_GT(fake.dialogs.messages[0].size(), std::string("无法打开图像文件 ").size() + std::strlen(path) + 3);
        EXPECT_EQ(canvas.结果图像.Width(), 30) << path;
        EXPECT_EQ(display.Geometry().width, 240) << path;
        EXPECT_TRUE(canvas.ZoomedEightTimes()) << path;
        EXPECT_EQ(canvas.state.ToolModeNow(), ToolMode::铅笔) << path;
        EXPECT_EQ(HistoryWrites(), 1) << path;
    }
}

TEST_F(ImageFilesTest, PasteTakesTheClipboardsPictureAndIgnoresText) {
    fake.clipboard.SetText("not a picture");
    files.菜单按钮_Click(3);
    EXPECT_EQ(canvas.结果图像.Width(), 153);
    EXPECT_EQ(HistoryWrites(), 0);

    const Surface picture = Pattern(64, 48);
    fake.clipboard.SetPicture(picture);
    display.RaiseMouseDown({kLeftButton, 0, 10, 10});
    display.RaiseMouseMove({kLeftButton, 0, 40, 40});
    display.RaiseMouseUp({kLeftButton, 0, 40, 40});
    files.菜单按钮_Click(3);
    ExpectPictureIs(picture);
    EXPECT_EQ(canvas.成品图像.Pixel(63, 47), picture.Pixel(63, 47));
    EXPECT_EQ(form.editor.selection.选框.Geometry(), (Rect{-100, -100, 50, 50})) << "the selection goes";
    EXPECT_EQ(canvas.state.SelectionModeNow(), SelectionMode::draw);
    EXPECT_EQ(HistoryWrites(), 1);

    fake.clipboard.SetPicture(Surface(5000, 4000));
    files.菜单按钮_Click(3);
    EXPECT_EQ(fake.dialogs.messages.size(), 1u) << "too large for the editor";
    EXPECT_EQ(canvas.结果图像.Width(), 64);
}

TEST_F(ImageFilesTest, TakingTheScreenHidesTheWindowDuringTheWait) {
    for (int x = 0; x < 1024; ++x) fake.desktop.screen.SetPixel(x, 700, x);
    bool hiddenDuringTheWait = false;
    fake.pump.pending.push_back({fake.clock.now + 100, [&] { hiddenDuringTheWait = !form.WindowVisible(); }});
    files.菜单按钮_Click(2);
    EXPECT_TRUE(hiddenDuringTheWait);
    EXPECT_TRUE(form.WindowVisible());
    EXPECT_GE(fake.clock.now, 250u);
    EXPECT_EQ(canvas.结果图像.Width(), 1024);
    EXPECT_EQ(canvas.结果图像.Height(), 768);
    EXPECT_EQ(canvas.结果图像.Pixel(1000, 700), 1000);
    EXPECT_EQ(display.Image().Pixel(1000, 700), 1000);
    EXPECT_EQ(canvas.成品图像.Pixel(1000, 700), 1000);
    EXPECT_TRUE(canvas.HScroll1.Enabled());
    EXPECT_EQ(HistoryWrites(), 1);
}
