// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "capture/bitmap_file.h"
#include "unit/cli_fixture.h"

using namespace pelmora;
using namespace pelmora::testing;

namespace {
// A 4 x 3 picture of distinct colours.
Surface Marker() {
    Surface picture(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, (x * 60 + 10) | (y * 80 + 20) << 8 | ((x + y) * 30) << 16);
    return picture;
}

// The marker a little off: the way a theme change leaves it.
Surface NearMarker() {
    Surface picture = Marker();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, picture.Pixel(x, y) + ((x + y) % 3) * 0x040404);
    return picture;
}

// The picture with every pixel made a square of factor x factor pixels.
Surface Enlarged(const Surface& picture, int factor) {
    Surface enlarged(picture.Width() * factor, picture.Height() * factor);
    for (int y = 0; y < enlarged.Height(); ++y)
        for (int x = 0; x < enlarged.Width(); ++x) enlarged.SetPixel(x, y, picture.Pixel(x / factor, y / factor));
    return enlarged;
}

struct CliPictureSearchTest : CliCommandTest {
    CliPictureSearchTest() {
        // The near copy comes first in reading order; the marker itself lies further on.
        desktop.screen.BitBlt(10, 5, 4, 3, NearMarker(), 0, 0);
        desktop.screen.BitBlt(60, 30, 4, 3, Marker(), 0, 0);
        files.contents["/marker.bmp"] = EncodeBitmap(Marker());
        files.contents["/red.bmp"] = EncodeBitmap(Surface(2, 2, 0x0000FF));
        files.contents["/near.bmp"] = EncodeBitmap(NearMarker());
        files.contents["/double.bmp"] = EncodeBitmap(Enlarged(Marker(), 2));
    }
};
}  // namespace

TEST_F(CliPictureSearchTest, TheBestPlaceWinsNotTheFirstOverTheThreshold) {
    EXPECT_EQ(Out({"find-image", "/marker.bmp", "--similarity", "0.9", "--json"}),
              "{\"x\":60,\"y\":30,\"score\":1.0000}\n");
    EXPECT_EQ(Out({"find-image", "/marker.bmp", "--similarity", "0.9", "--all"}), "60,30\n10,5\n");
    const std::string both = Out({"find-image", "/marker.bmp", "--similarity", "0.9", "--all", "--json"});
    const std::string bestFirst = "{\"points\":[{\"x\":60,\"y\":30,\"score\":1.0000},{\"x\":10,\"y\":5,\"score\":0.9";
    EXPECT_EQ(both.substr(0, bestFirst.size()), bestFirst);
    // 55.9 pixels apart: the weaker place is left out within 56, kept within 55.
    EXPECT_EQ(Out({"find-image", "/marker.bmp", "--similarity", "0.9", "--all", "--min-distance", "56"}), "60,30\n");
    EXPECT_EQ(Out({"find-image", "/marker.bmp", "--similarity", "0.9", "--all", "--min-distance", "55"}),
              "60,30\n10,5\n");
    EXPECT_NE(NotFound({"find-image", "/marker.bmp", "--similarity", "1", "--region", "0,0,50,50"}).find("/marker.bmp"),
              std::string::npos);
    // Without a similarity the near copy is no match at all.
    EXPECT_EQ(Out({"find-image", "/marker.bmp", "--all"}), "60,30\n");
}

TEST_F(CliPictureSearchTest, SeveralPicturesAreSearchedInOneGrab) {
    const int reads = desktop.areaReads;
    EXPECT_EQ(Out({"find-image", "/red.bmp", "/marker.bmp", "/near.bmp"}), "2 60,30\n");
    EXPECT_EQ(desktop.areaReads, reads + 1);
    EXPECT_EQ(Out({"find-image", "/red.bmp", "/near.bmp", "/marker.bmp", "--all", "--json"}),
              "{\"points\":[{\"x\":10,\"y\":5,\"index\":2},{\"x\":60,\"y\":30,\"index\":3}]}\n");
    EXPECT_NE(NotFound({"find-image", "/red.bmp", "/red.bmp"}).find("pictures \"/red.bmp\", \"/red.bmp\""),
              std::string::npos);

    // A wait ends when any of them appears.
    afterSleep = [this] {
        if (clock.now >= 200) desktop.screen.Rectangle(90, 40, 92, 42, 0x0000FF, 0x0000FF);
    };
    EXPECT_EQ(Out({"wait-image", "/red.bmp", "/double.bmp", "--interval", "100"}), "1 90,40\n");
}

TEST_F(CliPictureSearchTest, APictureCutAtAnotherScaleIsFoundAtItsFactor) {
    EXPECT_EQ(Out({"find-image", "/double.bmp", "--scales", "0.5", "--json"}), "{\"x\":60,\"y\":30,\"scale\":0.5}\n");
    EXPECT_EQ(Out({"find-image", "/double.bmp", "--scales", "1,0.5", "--similarity", "0.95", "--json"}),
              "{\"x\":60,\"y\":30,\"score\":1.0000,\"scale\":0.5}\n");
    NotFound({"find-image", "/double.bmp", "--similarity", "0.95"});  // at its own size it is nowhere
}

TEST_F(CliPictureSearchTest, BadSimilaritiesScalesAndDistancesAreRefusedByName) {
    const auto refusal = [&](std::initializer_list<std::string> args) {
        const auto parsed = ParseCliArguments(args);
        const auto* refused = std::get_if<CliResult>(&parsed);
        return refused && refused->status == 2 ? refused->err : std::string("accepted");
    };
    for (const char* similarity : {"0", "1.5", "-0.5", "0.9x", "", "1e-1"})
        EXPECT_NE(refusal({"find-image", "/marker.bmp", "--similarity", similarity}).find("--similarity"),
                  std::string::npos)
            << similarity;
    for (const char* scales : {"0.2", "4.5", "1,1", "0.5,", "", "x"})
        EXPECT_NE(refusal({"find-image", "/marker.bmp", "--scales", scales}).find("--scales"), std::string::npos)
            << scales;
    EXPECT_NE(refusal({"find-image", "/marker.bmp", "--min-distance", "5"}).find("--min-distance"), std::string::npos);
    EXPECT_NE(refusal({"find-image", "/marker.bmp", "--similarity", "0.9", "--min-distance", "5"}).find("--all"),
              std::string::npos);
    EXPECT_NE(refusal({"find-image"}).find("FILE"), std::string::npos);
    EXPECT_NE(refusal({"find-image", "/marker.bmp", "-"}).find("standard output"), std::string::npos);
}
