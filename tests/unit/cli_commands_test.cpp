// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/bitmap_file.h"
#include "cursor/feature_code.h"
#include "unit/cli_fixture.h"

using namespace pelmora;
using namespace pelmora::testing;

TEST_F(CliCommandTest, PointerAndPixelInEveryForm) {
    EXPECT_EQ(Out({"pointer"}), "10,20\n");
    EXPECT_EQ(Out({"--json", "pointer"}), "{\"x\":10,\"y\":20}\n");
    EXPECT_EQ(Out({"pixel"}), "123456\n");  // at the pointer
    EXPECT_EQ(Out({"pixel", "99", "49"}), "0000FF\n");
    EXPECT_EQ(Out({"pixel", "99", "49", "--format", "dec"}), "255\n");
    EXPECT_EQ(Out({"pixel", "--format", "rgb"}), "86,52,18\n");
    EXPECT_EQ(Out({"pixel", "--format", "hsl"}), "20,157,49\n");
    EXPECT_EQ(Out({"pixel", "0", "0", "--format", "hsl"}), "160,0,120\n");  // a grey: hue 160
    EXPECT_EQ(Out({"pixel", "--format", "all"}), "10进制：1193046\n16进制：123456\nRGB：86,52,18\nHSL：20,157,49\n");
    EXPECT_EQ(Out({"pixel", "99", "49", "--json", "--format", "rgb"}),
              "{\"x\":99,\"y\":49,\"decimal\":255,\"hex\":\"0000FF\",\"rgb\":[255,0,0],\"hsl\":[0,240,120]}\n");
}

TEST_F(CliCommandTest, PointsOffTheScreenFindNothing) {
    EXPECT_NE(NotFound({"pixel", "100", "0"}).find("100,0"), std::string::npos);
    NotFound({"pixel", "-1", "0"});
    NotFound({"pixel", "0", "50"});
    NotFound({"--json", "pixel", "-2147483648", "2147483647"});
    // A monitor left of the primary one has negative coordinates and is on the screen.
    desktop.screenOrigin = {-100, 0};
    EXPECT_EQ(Out({"pixel", "-1", "49"}), "0000FF\n");
    NotFound({"pixel", "0", "0"});
}

TEST_F(CliCommandTest, WindowAtAndWindowTexts) {
    desktop.windows = {{7001, {0, 0, 20, 30}, "Top \"quoted\"\n", "Edit", true},
                       {7002, {0, 0, 100, 50}, "Below", "Frame", true}};
    EXPECT_EQ(Out({"window-at"}), "7001\n");
    EXPECT_EQ(Out({"window-at", "50", "40"}), "7002\n");
    EXPECT_EQ(Out({"--json", "window-at", "50", "40"}), "{\"x\":50,\"y\":40,\"handle\":7002}\n");
    desktop.windows.pop_back();
    EXPECT_NE(NotFound({"window-at", "50", "40"}).find("no window at 50,40"), std::string::npos);

    // One value a line, whatever the title holds: control characters and backslashes escaped.
    EXPECT_EQ(Out({"window", "7001"}), "Top \"quoted\"\\n\nEdit\n");
    EXPECT_EQ(Out({"window", "7001", "--json"}),
              "{\"handle\":7001,\"title\":\"Top \\\"quoted\\\"\\n\",\"class\":\"Edit\"}\n");
    // A handle that names no window is not found, not a window with empty texts.
    EXPECT_NE(NotFound({"window", "12345"}).find("no window 12345"), std::string::npos);
    NotFound({"--json", "window", "0"});
}

TEST_F(CliCommandTest, WindowsListAndSearchLinesAsTheWindowMakesThem) {
    desktop.windows = {{11, {}, "Editor – a.txt", "Edit", true},
                       {12, {}, "", "NoTitle", true},
                       {13, {}, "editor", "Edit", false},
                       {-14, {}, "x=Editor]", "Edit", true}};
    EXPECT_EQ(Out({"windows"}), "[001]11=Editor – a.txt\n[002]13=editor\n[003]-14=x=Editor]\n");
    EXPECT_EQ(Out({"windows", "--search", "Editor"}), "[1]11\n[2]-14\n");  // exact case
    EXPECT_EQ(Out({"windows", "--search", ""}), "[1]11\n[2]13\n[3]-14\n");
    EXPECT_EQ(Out({"--json", "windows", "--search", "edit"}), "{\"lines\":[\"[1]13\"]}\n");
    EXPECT_EQ(Out({"--json", "windows"}),
              "{\"lines\":[\"[001]11=Editor – a.txt\",\"[002]13=editor\",\"[003]-14=x=Editor]\"]}\n");
    EXPECT_NE(NotFound({"windows", "--search", "EDITOR"}).find("\"EDITOR\""), std::string::npos);
    EXPECT_EQ(Out({"windows", "--search", "\"Editor\""}), "[1]11\n[2]-14\n") << "quotes dropped, as the window does";
    // A title with a line break, an escape sequence and a backslash stays one visible line.
    desktop.windows = {{15,
                        {},
                        "a\nb\x1b[31m\x07"
                        "c\\",
                        "Edit",
                        true}};
    EXPECT_EQ(Out({"windows"}), "[001]15=a\\nb\\e[31m\\x07c\\\\\n");
    desktop.windows.clear();
    EXPECT_EQ(Out({"windows"}), "");
    EXPECT_EQ(Out({"--json", "windows"}), "{\"lines\":[]}\n");
}

TEST_F(CliCommandTest, CursorCodeOfEachMethod) {
    // One white pixel right of and below the hot spot, the rest black: the default
    // method's worked value; methods 1 and 2 see their last point outside the bitmap.
    CursorImage image{16, 16, 7, 7, std::vector<std::uint32_t>(256, 0xFF000000u)};
    image.pixels[8 * 16 + 8] = 0xFFFFFFFFu;
    desktop.cursorImage = image;
    EXPECT_EQ(Out({"cursor-code"}), "2147483137\n");
    image.pixels.assign(256, 0xFF000000u);
    desktop.cursorImage = image;
    EXPECT_EQ(Out({"cursor-code", "--method", "1"}), "2147483647\n");
    EXPECT_EQ(Out({"--json", "cursor-code", "--method", "0"}), "{\"method\":0,\"code\":0}\n");
}

TEST_F(CliCommandTest, FindColourInReadingOrderWithinTheClippedRegion) {
    desktop.screen.SetPixel(40, 5, 0x0000FF);
    desktop.screen.SetPixel(3, 30, 0x0000FF);
    desktop.screen.SetPixel(60, 30, 0x0000FE);
    EXPECT_EQ(Out({"find-colour", "0000FF"}), "40,5\n");
    EXPECT_EQ(Out({"find-colour", "#FF0000", "--all"}), "40,5\n3,30\n99,49\n");
    EXPECT_EQ(Out({"find-colour", "0000FF", "--all", "--tolerance", "1"}), "40,5\n3,30\n60,30\n99,49\n");
    EXPECT_EQ(desktop.areaReads, 3);  // one grab each, never pixel by pixel
    // A region partly off the screen is clipped; places are on the screen, not the region.
    EXPECT_EQ(Out({"find-colour", "0000FF", "--region", "-10,10,60,45"}), "3,30\n");
    EXPECT_EQ(Out({"find-colour", "0000FF", "--region=50,10,1000,1000", "--all"}), "99,49\n");
    EXPECT_EQ(Out({"--json", "find-colour", "0000FF"}), "{\"x\":40,\"y\":5}\n");
    EXPECT_EQ(Out({"--json", "find-colour", "0000FF", "--all", "--region", "0,0,50,31"}),
              "{\"points\":[{\"x\":40,\"y\":5},{\"x\":3,\"y\":30}]}\n");
    EXPECT_NE(NotFound({"find-colour", "00FF00"}).find("00FF00"), std::string::npos);
    NotFound({"find-colour", "0000FF", "--region", "0,31,50,19"});
    NotFound({"find-colour", "808080", "--region", "100,0,5,5"});  // wholly off the screen
    NotFound({"find-colour", "808080", "--region", "-2147483648,-2147483648,2147483647,2147483647"});
}

// A monitor left of and above the primary one: the surface covers both, its top-left at
// (-100, -20), the primary screen the 100 x 50 from (0, 0). Searches cover every monitor;
// a snapshot without --rect takes the primary screen alone.
TEST_F(CliCommandTest, RegionsReachMonitorsAtNegativeCoordinates) {
    desktop.screen = Surface(200, 70, 0x808080);
    desktop.screenOrigin = {-100, -20};
    desktop.primarySize = ScreenSize{100, 50};
    const auto put = [this](int x, int y, Colour colour) { desktop.screen.SetPixel(x + 100, y + 20, colour); };
    put(-100, -20, 0x0000FF);
    put(-5, 10, 0x0000FF);
    put(4, 10, 0x0000FF);
    put(99, 49, 0x0000FF);
    EXPECT_EQ(Out({"find-colour", "0000FF", "--all"}), "-100,-20\n-5,10\n4,10\n99,49\n");
    // Clipped to the monitors, not to the primary screen: a region partly left of 0 keeps
    // its negative part, and one reaching past the left monitor loses only what lies beyond.
    EXPECT_EQ(Out({"find-colour", "0000FF", "--region", "-10,0,20,20", "--all"}), "-5,10\n4,10\n");
    EXPECT_EQ(Out({"--json", "find-colour", "0000FF", "--region", "-300,-300,296,400"}), "{\"x\":-100,\"y\":-20}\n");
    NotFound({"find-colour", "0000FF", "--region", "-200,-20,100,70"});  // wholly left of the monitors
    NotFound({"find-colour", "0000FF", "--region", "-4,-30,200,10"});    // wholly above them

    // A picture across the edge between the two monitors, and one on the left monitor alone.
    for (int x = -8; x < 8; ++x) put(x, 30, 0x010000 * (x + 8) + 0x40);
    Surface across(6, 1);
    across.BitBlt(0, 0, 6, 1, desktop.screen, 97, 50);
    files.contents["/across.bmp"] = EncodeBitmap(across);
    EXPECT_EQ(Out({"find-image", "/across.bmp"}), "-3,30\n");
    EXPECT_EQ(Out({"find-image", "/across.bmp", "--region", "-3,30,6,1"}), "-3,30\n");
    NotFound({"find-image", "/across.bmp", "--region", "-2,0,50,50"});
    EXPECT_EQ(Out({"wait-image", "/across.bmp", "--timeout", "0"}), "-3,30\n");

    Out({"snapshot", "/primary.bmp"});
    const DecodedBitmap primary = DecodeBitmap(files.contents["/primary.bmp"]);
    ASSERT_TRUE(primary.picture);
    EXPECT_EQ(primary.picture->Width(), 100);
    EXPECT_EQ(primary.picture->Height(), 50);
    EXPECT_EQ(primary.picture->Pixel(4, 10), 0x0000FF);
    EXPECT_EQ(primary.picture->Pixel(99, 49), 0x0000FF);
}

TEST_F(CliCommandTest, FindImageFromAnyBitmapFile) {
    for (int x = 0; x < 100; ++x) desktop.screen.SetPixel(x, 41, x * 0x020103);
    Surface picture(6, 3);
    picture.BitBlt(0, 0, 6, 3, desktop.screen, 70, 40);
    files.contents["/p.bmp"] = EncodeBitmap(picture);
    EXPECT_EQ(Out({"find-image", "/p.bmp"}), "70,40\n");
    EXPECT_EQ(Out({"find-image", "/p.bmp", "--region", "60,30,20,20", "--json"}), "{\"x\":70,\"y\":40}\n");
    NotFound({"find-image", "/p.bmp", "--region", "60,30,15,20"});  // the region cuts the picture off
    NotFound({"find-image", "/p.bmp", "--region", "0,0,5,50"});     // narrower than the picture

    // Transparent pixels match anything: a white frame around one row of the stripe.
    Surface framed(5, 3, 0xFFFFFF);
    framed.BitBlt(1, 1, 3, 1, desktop.screen, 20, 41);
    files.contents["/framed.bmp"] = EncodeBitmap(framed);
    NotFound({"find-image", "/framed.bmp"});
    EXPECT_EQ(Out({"find-image", "/framed.bmp", "--transparent", "FFFFFF", "--all"}), "19,40\n");

    const CliResult missing = Run({"find-image", "/none.bmp"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("/none.bmp"), std::string::npos);
    files.contents["/text.bmp"] = "not a bitmap";
    const CliResult garbage = Run({"find-image", "/text.bmp"});
    EXPECT_EQ(garbage.status, 2);
    EXPECT_NE(garbage.err.find("/text.bmp"), std::string::npos);
    EXPECT_EQ(garbage.out, "");
}

TEST_F(CliCommandTest, SnapshotWritesTheRectangleAsABitmap) {
    desktop.screen.SetPixel(0, 0, 0x00FF00);
    EXPECT_EQ(Out({"snapshot", "/shot.bmp"}), "/shot.bmp\n");
    const DecodedBitmap whole = DecodeBitmap(files.contents["/shot.bmp"]);
    ASSERT_TRUE(whole.picture);
    EXPECT_EQ(whole.picture->Width(), 100);
    EXPECT_EQ(whole.picture->Height(), 50);
    EXPECT_EQ(whole.picture->Pixel(0, 0), 0x00FF00);
    EXPECT_EQ(whole.picture->Pixel(10, 20), 0x123456);
    EXPECT_EQ(whole.picture->Pixel(99, 49), 255);
    EXPECT_EQ(files.contents["/shot.bmp"].substr(28, 2), std::string("\x18\0", 2));  // 24 bits a pixel

    // A rectangle partly off the screen: the off-screen part is black.
    EXPECT_EQ(Out({"--json", "snapshot", "--rect", "98,48,3,2", "/part.bmp"}),
              "{\"path\":\"/part.bmp\",\"left\":98,\"top\":48,\"width\":3,\"height\":2}\n");
    const DecodedBitmap part = DecodeBitmap(files.contents["/part.bmp"]);
    ASSERT_TRUE(part.picture);
    EXPECT_EQ(part.picture->Width(), 3);
    EXPECT_EQ(part.picture->Pixel(0, 0), 0x808080);
    EXPECT_EQ(part.picture->Pixel(1, 1), 255);
    EXPECT_EQ(part.picture->Pixel(2, 1), 0);

    // The cursor drawn in at the pointer with --cursor only.
    desktop.cursorImage = CursorImage{1, 1, 0, 0, {0xFF0000FF}};
    Out({"snapshot", "--rect", "10,20,1,1", "/plain.bmp"});
    Out({"snapshot", "--rect", "10,20,1,1", "--cursor", "/cursor.bmp"});
    EXPECT_EQ(DecodeBitmap(files.contents["/plain.bmp"]).picture->Pixel(0, 0), 0x123456);
    EXPECT_EQ(DecodeBitmap(files.contents["/cursor.bmp"]).picture->Pixel(0, 0), 0x0000FF);

    files.writable = false;
    const CliResult refused = Run({"snapshot", "/denied.bmp"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("/denied.bmp"), std::string::npos);
}

TEST_F(CliCommandTest, WaitColourLooksEveryIntervalUntilTheTimeout) {
    clock.now = 4294967200u;  // the counter wraps during the waits
    afterSleep = [this] {
        if (clock.now - 4294967200u >= 120) desktop.screen.SetPixel(5, 5, 0x0000FE);
    };
    EXPECT_EQ(Out({"wait-colour", "5", "5", "0000FE", "--timeout", "1000"}), "0000FE\n");
    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{50, 50, 50}));  // looks at 0, 50, 100 and 150 ms

    sleeps.clear();
    EXPECT_EQ(Out({"--json", "wait-colour", "5", "5", "0000FF", "--tolerance=1"}),
              "{\"x\":5,\"y\":5,\"decimal\":254,\"hex\":\"0000FE\",\"rgb\":[254,0,0],\"hsl\":[0,240,120]}\n");
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>{});  // there at the first look

    // The last sleep ends at the timeout, where one more look is taken.
    EXPECT_NE(NotFound({"wait-colour", "5", "5", "00FF00", "--timeout", "120", "--interval", "50"}).find("120 ms"),
              std::string::npos);
    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{50, 50, 20}));
    sleeps.clear();
    NotFound({"wait-colour", "5", "5", "00FF00", "--timeout", "0"});
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>{});
    NotFound({"wait-colour", "100", "5", "808080"});  // off the screen: never there
    EXPECT_EQ(sleeps.size(), 200u);                   // 10000 ms in steps of 50
}

TEST_F(CliCommandTest, WaitImageAndWaitCursorUntilTheyAppear) {
    Surface picture(3, 2, 0x00FF00);
    files.contents["/green.bmp"] = EncodeBitmap(picture);
    afterSleep = [this] {
        if (clock.now >= 300) desktop.screen.Rectangle(60, 30, 63, 32, 0x00FF00, 0x00FF00);
    };
    EXPECT_EQ(Out({"wait-image", "/green.bmp", "--interval", "100"}), "60,30\n");
    EXPECT_EQ(sleeps.size(), 3u);
    NotFound({"wait-image", "/green.bmp", "--region", "0,0,62,50", "--timeout", "200"});

    sleeps.clear();
    const CliResult missing = Run({"wait-image", "/none.bmp"});
    EXPECT_EQ(missing.status, 2);  // refused before any look
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>{});

    const std::string arrowCode = std::to_string(CursorFeatureCode(desktop, 1));
    desktop.cursorImage = CursorImage{2, 2, 0, 0, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF}};
    const std::string handCode = std::to_string(CursorFeatureCode(desktop, 1));
    ASSERT_NE(arrowCode, handCode);
    desktop.cursorImage.reset();
    clock.now = 0;
    afterSleep = [this] {
        if (clock.now >= 500)
            desktop.cursorImage = CursorImage{2, 2, 0, 0, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF}};
    };
    EXPECT_EQ(Out({"wait-cursor", handCode, "--method", "1", "--interval", "250"}), handCode + "\n");
    EXPECT_EQ(clock.now, 500u);
    EXPECT_EQ(Out({"--json", "wait-cursor", handCode, "--method=1"}), "{\"method\":1,\"code\":" + handCode + "}\n");
    NotFound({"wait-cursor", arrowCode, "--method", "1", "--timeout", "100"});
}

TEST_F(CliCommandTest, PicturesAreRefusedByTheirHeadersInEnglishBeforeTheirPixelsAreRead) {
    // A 5000 x 5000 bitmap of one bit a pixel: too large for the editor, so for the search.
    Surface wide(5000, 1);
    std::string large = EncodeBitmap(wide).substr(0, 54);
    large.replace(22, 4, std::string("\x88\x13\x00\x00", 4));  // height 5000
    large.replace(28, 2, std::string("\x01\x00", 2));          // 1 bit a pixel
    large.replace(10, 4, std::string("\x3E\x00\x00\x00", 4));  // pixels after two colours
    large += std::string(8 + std::size_t{628} * 5000, '\0');
    files.contents["/large.bmp"] = large;
    // Headers that promise rows the file does not hold.
    files.contents["/short.bmp"] = EncodeBitmap(Surface(300, 300)).substr(0, 4000);
    for (const auto& [file, message] :
         {std::pair<std::string, std::string>{"/large.bmp",
                                              "\"/large.bmp\" is too large: a picture may have at most 4096 x 4096"},
          {"/short.bmp", "\"/short.bmp\" is no readable bitmap: the file is cut short"}}) {
        const CliResult refused = Run({"find-image", file});
        EXPECT_EQ(refused.status, 2) << file;
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
    }
    EXPECT_LE(files.largestRead, kBitmapHeadBytes) << "pixels read before the headers were checked";
    files.contents["/text.bmp"] = "not a bitmap";
    EXPECT_EQ(Run({"wait-image", "/text.bmp"}).err,
              "pelmora-cli: FILE: \"/text.bmp\" is no readable bitmap: not a bitmap file\n");
}

TEST_F(CliCommandTest, OutputGoesOutAsItIsFoundAndAFailedWriteEndsWithTheReason) {
    desktop.screen.Clear(0x0000FF);
    writeFailure = "No space left on device";
    for (const auto& args : {std::initializer_list<std::string>{"find-colour", "0000FF", "--all"},
                             {"--json", "find-image", "/one.bmp", "--all"},
                             {"snapshot", "-"}}) {
        files.contents["/one.bmp"] = EncodeBitmap(Surface(1, 1, 0x0000FF));
        const CliResult result = Run(args);
        EXPECT_EQ(result.status, 3) << *args.begin();
        EXPECT_EQ(result.err, "pelmora-cli: cannot write the output: No space left on device\n");
    }
    writeFailure.clear();
    const CliResult snapshot = Run({"snapshot", "--rect", "0,0,2,1", "-"});
    EXPECT_EQ(DecodeBitmap(snapshot.out).picture->Pixel(1, 0), 0x0000FF) << "the bitmap alone on standard output";
    services.outputIsTerminal = true;
    EXPECT_EQ(Run({"snapshot", "-"}).status, 2);
    files.writable = false;
    EXPECT_EQ(Run({"snapshot", "C:\\shots\\a.bmp"}).err,
              "pelmora-cli: FILE: cannot write \"C:\\shots\\a.bmp\": Read-only file system\n");
}

// The pattern 0000FF with 00FF00 at (3, 1) from it, at (20, 10) and (5, 30); the second
// place has the colour of an absent point at (-1, -1) from it.
TEST_F(CliCommandTest, FindPointsAndWaitPointsInReadingOrderOfTheFirstColour) {
    for (const ScreenPoint at : {ScreenPoint{20, 10}, ScreenPoint{5, 30}}) {
        desktop.screen.SetPixel(at.x, at.y, 0x0000FF);
        desktop.screen.SetPixel(at.x + 3, at.y + 1, 0x00FF04);
    }
    desktop.screen.SetPixel(4, 29, 0xFF0000);
    EXPECT_EQ(Out({"find-points", "0000FF", "3,1,00FF00~4"}), "20,10\n");
    EXPECT_EQ(Out({"find-points", "#FF0000", "3,1,00FF00", "--tolerance", "4", "--all"}), "20,10\n5,30\n");
    EXPECT_EQ(Out({"--json", "find-points", "0000FF", "3,1,00FF00~4", "-1,-1,!FF0000", "--all"}),
              "{\"points\":[{\"x\":20,\"y\":10}]}\n");
    EXPECT_EQ(NotFound({"find-points", "0000FF", "3,1,00FF00~3"}),
              "pelmora-cli: pattern of 0000FF and 1 point not found\n");
    // Of three points one misses: 0.6 lets one of three miss, 0.7 none.
    EXPECT_EQ(Out({"find-points", "0000FF", "3,1,00FF00~4", "0,1,808080", "9,9,123456", "--similarity", "0.6"}),
              "20,10\n");
    NotFound({"find-points", "0000FF", "3,1,00FF00~4", "0,1,808080", "9,9,123456", "--similarity", "0.7"});

    desktop.screen.Clear(0x808080);
    afterSleep = [this] {
        if (clock.now < 200) return;
        desktop.screen.SetPixel(50, 40, 0x0000FF);
        desktop.screen.SetPixel(49, 38, 0x00FF00);
    };
    EXPECT_EQ(Out({"wait-points", "0000FF", "-1,-2,00FF00", "--interval", "100"}), "50,40\n");
    EXPECT_EQ(sleeps.size(), 2u);
}

namespace {
// Slots 1 (20,10 red) and 3 (23,11 green) hold points; slot 5 has a colour but an x that is
// no number; slot 7 was never saved.
constexpr const char* kSlotsFile =
    "[Position]\r\nPosition0X=20\r\nPosition0Y=10\r\nColor0=255\r\n"
    "Position2X=23\r\nPosition2Y=11\r\nColor2=65280.2\r\nPosition4X=\r\nPosition4Y=3\r\nColor4=1\r\n";
}  // namespace

TEST_F(CliCommandTest, SlotsAndPatternsOfSlotsFromTheFileTheWindowReads) {
    files.contents["/opt/pelmora/zarade.ini"] = kSlotsFile;
    EXPECT_EQ(Out({"slots"}), "1 20,10 0000FF\n3 23,11 00FF00\n");
    EXPECT_EQ(Out({"--json", "slots"}),
              "{\"slots\":[{\"slot\":1,\"x\":20,\"y\":10,\"hex\":\"0000FF\"},"
              "{\"slot\":3,\"x\":23,\"y\":11,\"hex\":\"00FF00\"}]}\n");
    desktop.windows = {{7, {5, 4, 50, 30}, "Window", "Class", true}};
    EXPECT_EQ(Out({"slots", "--window", "7"}), "1 15,6 0000FF\n3 18,7 00FF00\n");
    desktop.screen.SetPixel(60, 40, 0x0000FF);
    desktop.screen.SetPixel(63, 41, 0x00FF00);
    EXPECT_EQ(Out({"find-points", "--slots", "1,3"}), "60,40\n");
    EXPECT_EQ(Out({"find-points", "--slots", "3,1"}), "63,41\n") << "the first slot listed is the first colour";
    for (const auto& [slot, message] : {std::pair<std::string, std::string>{"1,5", "slot 5 holds no point"},
                                        {"1-3", "slot 2 holds no point"},
                                        {"3", "wants two slots at least"}}) {
        const CliResult refused = Run({"find-points", "--slots", slot});
        EXPECT_EQ(refused.status, 2) << slot;
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
    }
    EXPECT_EQ(Run({"find-points", "--slots", "1,3", "0000FF", "1,1,00FF00"}).status, 2);
    EXPECT_EQ(Run({"find-points", "0000FF", "1,1,00FF00", "--file", "/opt/pelmora/zarade.ini"}).status, 2);
    EXPECT_EQ(Run({"find-points"}).status, 2);

    // Another file by --file: one that is none is refused, one that is no settings file
    // holds no slot.
    const CliResult missing = Run({"slots", "--file", "/elsewhere.ini"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("--file: \"/elsewhere.ini\""), std::string::npos) << missing.err;
    files.contents["/garbage"] = std::string("MZ\x90\0\x03[Position\n=255\nColor1", 26);
    EXPECT_NE(NotFound({"slots", "--file", "/garbage"}).find("no slot holds a point"), std::string::npos);
    files.contents.clear();
    EXPECT_NE(NotFound({"slots"}).find("no settings file yet"), std::string::npos);
    EXPECT_NE(NotFound({"find-points", "--slots", "1,3"}).find("no settings file yet"), std::string::npos);
}

// Installed for all users, in a read-only folder, or beside a read-only file: the user's
// own file once there is one, else still the one beside the program, as the window reads.
TEST_F(CliCommandTest, SlotsAreReadWhereTheWindowReadsThem) {
    const std::string beside = "/opt/pelmora/zarade.ini", perUser = "/home/user/.config/Pelmora/zarade.ini";
    files.contents[beside] = kSlotsFile;
    const auto setups = std::vector<std::function<void()>>{[&] { files.installed = true; },
                                                           [&] { files.unwritableFolders.insert("/opt/pelmora"); },
                                                           [&] { files.writable = false; }};
    for (std::size_t i = 0; i < setups.size(); ++i) {
        files.installed = false;
        files.unwritableFolders.clear();
        files.writable = true;
        files.contents.erase(perUser);
        setups[i]();
        EXPECT_EQ(Out({"slots"}), "1 20,10 0000FF\n3 23,11 00FF00\n") << i;
        files.contents[perUser] = "[Position]\r\nPosition9X=-4\r\nPosition9Y=5\r\nColor9=0\r\n";
        EXPECT_EQ(Out({"slots"}), "10 -4,5 000000\n") << i;
    }
    files.contents.clear();
    files.installed = true;
    EXPECT_NE(NotFound({"slots"}).find(perUser), std::string::npos) << "names the file the window writes";
}
