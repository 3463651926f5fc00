// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "cursor/cursor_drawing.h"
#include "cursor/feature_code.h"
#include "backends/fake/fake_desktop.h"

using namespace pelmora;

namespace {

constexpr std::uint32_t kWhite = 16777215;
constexpr std::uint32_t kOutside = 4294967295;

// The fold as the binary texts describe it, digit by digit: returns the accumulator after
// every step, then the masked result.
std::vector<double> FoldByText(const std::vector<std::uint32_t>& samples) {
    const std::string zeros(32, '0');
    const auto last32 = [&](double value) {
        const std::string digits = zeros + ToBinaryText(value);
        return digits.substr(digits.size() - 32);
    };
    std::vector<double> steps;
    double accumulator = 0;
    for (std::size_t i = 1; i <= samples.size(); ++i) {
        accumulator = FromBinaryText(RotateBitText(last32(accumulator + samples[i - 1]), static_cast<int>(i)));
        steps.push_back(accumulator);
    }
    const std::string digits = last32(accumulator);
    const std::string mask = "0" + std::string(31, '1');
    std::string masked;
    for (std::size_t j = 0; j < 32; ++j) masked += (digits[j] - '0') + (mask[j] - '0') == 2 ? '1' : '0';
    steps.push_back(FromBinaryText(masked));
    return steps;
}

std::vector<std::uint32_t> Repeat(std::uint32_t value, int count) { return std::vector<std::uint32_t>(count, value); }

std::vector<std::uint32_t> Join(std::vector<std::uint32_t> first, const std::vector<std::uint32_t>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// An opaque cursor image of size x size whose pixel (x, y) has colour(x, y).
template <typename ColourOf>
CursorImage Opaque(int size, int hotX, int hotY, ColourOf colour) {
    CursorImage image{size, size, hotX, hotY, {}};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image.pixels.push_back(0xFF000000u | colour(x, y));
    return image;
}

struct CursorCodeTest : ::testing::Test {
    FakeDesktop desktop{200, 100};
    PictureBox preview;
    CursorCodeTest() {
        preview.EditImage().Resize(39, 39, 0);
        preview.SetBackColor(14803425);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) desktop.screen.SetPixel(x, y, x << 8 | y);
        desktop.pointer = {50, 40};
    }
    std::uint32_t Code(int method) { return CursorFeatureCode(desktop, preview, method); }
    // The samples a method reads from the screen with the work bitmap's top-left at (left, top).
    std::vector<std::uint32_t> ScreenSamples(int method, int left, int top) {
        std::vector<std::uint32_t> samples;
        for (const SamplePoint p : FeatureSamplePoints(method)) {
            const bool inside = p.x < 16 && p.y < 16 && left + p.x < 200 && top + p.y < 100;
            samples.push_back(p.x >= 16 || p.y >= 16 ? kOutside
                              : inside ? static_cast<std::uint32_t>(desktop.screen.Pixel(left + p.x, top + p.y))
                                       : 0);
        }
        return samples;
    }
};

}  // namespace

TEST(FeatureFold, WorkedExamples) {
    EXPECT_EQ(FoldFeatureSamples(Repeat(0, 10)), 0u);
    EXPECT_EQ(FoldFeatureSamples(Join({kWhite}, Repeat(0, 9))), 2147483137u);
    EXPECT_EQ(FoldFeatureSamples(Repeat(kWhite, 10)), 1593348757u);
    EXPECT_EQ(FoldFeatureSamples(Join(Repeat(0, 15), {kOutside})), 2147483647u);
    EXPECT_EQ(FoldFeatureSamples(Join(Repeat(kWhite, 7), {kOutside})), 330168771u);
}

TEST(FeatureFold, TextPathFollowsTheTraceAndCutsTheOverflow) {
    const std::vector<double> steps = FoldByText(Join({kWhite}, Repeat(0, 9)));
    const std::vector<double> trace = {0x807FFFFF, 0xE01FFFFF, 0xFC03FFFF, 0xFFC03FFF, 0xFFFE01FF, 0xFFFFF807,
                                       0x0FFFFFF0, 0xF00FFFFF, 0xFFF807FF, 0xFFFFFE01, 0x7FFFFE01};
    EXPECT_EQ(steps, trace);

    // Two samples of FFFFFFFF: the sum 1FFFFFFFE keeps its low 32 bits before the rotation.
    EXPECT_EQ(FoldByText({kOutside, kOutside}), (std::vector<double>{0xFFFFFFFF, 0xBFFFFFFF, 0x3FFFFFFF}));
    EXPECT_EQ(FoldFeatureSamples({kOutside, kOutside}), 0x3FFFFFFFu);
}

TEST(FeatureFold, IntegerAndTextPathsAgreeOnRandomSamples) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> length(1, 16);
    std::uniform_int_distribution<std::uint32_t> colour(0, kWhite);
    std::uniform_int_distribution<int> kind(0, 9);
    for (int round = 0; round < 5000; ++round) {
        std::vector<std::uint32_t> samples;
        for (int i = length(random); i > 0; --i) {
            const int k = kind(random);
            samples.push_back(k == 0 ? kOutside : k == 1 ? 0 : k == 2 ? kWhite : colour(random));
        }
        ASSERT_EQ(FoldFeatureSamples(samples), FoldByText(samples).back()) << "round " << round;
    }
}

TEST(FeatureFold, BinaryTextRoutines) {
    EXPECT_EQ(ToBinaryText(0), "0");
    EXPECT_EQ(ToBinaryText(5), "101");
    EXPECT_EQ(ToBinaryText(std::ldexp(1.0, 33) - 2), "1" + std::string(31, '1') + "0");
    EXPECT_EQ(ToBinaryText(std::ldexp(1.0, 64)), "1" + std::string(64, '0'));
    EXPECT_EQ(ToBinaryText(std::ldexp(1.0, 65)), "0");  // no position ever holds exactly 1
    EXPECT_EQ(ToBinaryText(-3), "0");
    EXPECT_EQ(ToBinaryText(std::nan("")), "0");
    EXPECT_EQ(RotateBitText("0001", 1), "1000");
    EXPECT_EQ(RotateBitText("0011", 0), "0011");
    EXPECT_EQ(RotateBitText("0011", 9), "0011");  // kept to the text's length
    EXPECT_EQ(RotateBitText("", 3), "");
    EXPECT_EQ(FromBinaryText("1000"), 8);
    EXPECT_EQ(FromBinaryText(""), 0);
    EXPECT_EQ(FromBinaryText(ToBinaryText(4294967295.0)), 4294967295.0);
}

TEST(FeatureFold, SamplePointsOfEachMethod) {
    const std::vector<SamplePoint> defaults = {{1, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5},
                                               {4, 6}, {4, 7}, {5, 8}, {5, 9}, {6, 10}};
    EXPECT_EQ(FeatureSamplePoints(0), defaults);
    EXPECT_EQ(FeatureSamplePoints(5), defaults);
    EXPECT_EQ(FeatureSamplePoints(-1), defaults);
    const std::vector<SamplePoint> first = FeatureSamplePoints(1);
    ASSERT_EQ(first.size(), 16u);
    EXPECT_EQ(first.front(), (SamplePoint{1, 1}));
    EXPECT_EQ(first.back(), (SamplePoint{16, 16}));
    const std::vector<SamplePoint> second = FeatureSamplePoints(2);
    ASSERT_EQ(second.size(), 8u);
    EXPECT_EQ(second.front(), (SamplePoint{9, 9}));
    EXPECT_EQ(second.back(), (SamplePoint{16, 16}));
}

TEST_F(CursorCodeTest, CursorIsSampledFromItsHotSpotOverBlack) {
    // Only the image pixel one right of and one below the hot spot (7, 7) is white.
    desktop.cursorImage = Opaque(16, 7, 7, [](int x, int y) { return x == 8 && y == 8 ? kWhite : 0; });
    EXPECT_EQ(Code(0), 2147483137u);
    // Everything past the image's edge is the black of the work bitmap, the last point
    // of methods 1 and 2 lies outside it.
    EXPECT_EQ(Code(1), FoldFeatureSamples(Join(Join({kWhite}, Repeat(0, 14)), {kOutside})));

    desktop.cursorImage = Opaque(32, 0, 0, [](int, int) { return kWhite; });
    EXPECT_EQ(Code(2), 330168771u);
    desktop.cursorImage =
        CursorImage{32, 32, 0, 0, std::vector<std::uint32_t>(std::size_t{32} * 32, 0)};  // wholly transparent
    EXPECT_EQ(Code(0), 0u);
    EXPECT_EQ(Code(1), 2147483647u);
}

TEST_F(CursorCodeTest, PremultipliedPixelsCountWithTheirColourAlone) {
    // Half-transparent grey: its premultiplied colour is what it shows over black.
    desktop.cursorImage = Opaque(16, 0, 0, [](int, int) { return 0u; });
    desktop.cursorImage->pixels[1 * 16 + 1] = 0x80404040;
    EXPECT_EQ(Code(0), FoldFeatureSamples(Join({0x404040}, Repeat(0, 9))));
}

TEST_F(CursorCodeTest, MethodsOutsideTheListActLikeTheDefault) {
    desktop.cursorImage = Opaque(16, 2, 3, [](int x, int y) { return static_cast<std::uint32_t>(x * 4099 + y * 77); });
    const std::uint32_t byDefault = Code(0);
    EXPECT_EQ(Code(5), byDefault);
    EXPECT_EQ(Code(-1), byDefault);
    EXPECT_NE(Code(1), byDefault);
}

TEST_F(CursorCodeTest, PreviewShowsTheCursorWithRedMarksOnTheSampledPixels) {
    preview.EditImage().Clear(0x123456);  // what an earlier call left
    desktop.cursorImage = Opaque(16, 4, 4, [](int, int) { return 0x00FF00u; });
    Code(2);
    const Surface& shown = preview.Image();
    for (int y = 0; y < shown.Height(); ++y) {
        for (int x = 0; x < shown.Width(); ++x) {
            const bool marked = x == y && x >= 9 && x <= 16;
            const bool cursor = x < 12 && y < 12;
            EXPECT_EQ(shown.Pixel(x, y), marked ? 255 : cursor ? 0x00FF00 : 14803425) << x << "," << y;
        }
    }
}

TEST_F(CursorCodeTest, WithoutACursorImageTheScreenUnderThePointerIsSampled) {
    EXPECT_EQ(Code(0), FoldFeatureSamples(ScreenSamples(0, 50, 40)));
    EXPECT_EQ(Code(1), FoldFeatureSamples(ScreenSamples(1, 50, 40)));
    const Surface& shown = preview.Image();
    EXPECT_EQ(shown.Pixel(31, 0), desktop.screen.Pixel(81, 40));  // the 32 x 32 copy
    EXPECT_EQ(shown.Pixel(32, 0), 14803425);
    EXPECT_EQ(shown.Pixel(3, 3), 255);

    // Near the screen's edge what lies off the screen is black.
    desktop.pointer = {190, 92};
    EXPECT_EQ(Code(1), FoldFeatureSamples(ScreenSamples(1, 190, 92)));
    EXPECT_EQ(preview.Image().Pixel(12, 0), 0);

    // A platform that cannot report the cursor leaves the position at (0, 0).
    desktop.cursorReadable = false;
    EXPECT_EQ(Code(2), FoldFeatureSamples(ScreenSamples(2, 0, 0)));
}

TEST(DrawCurrentCursor, HotSpotLandsOnThePointerRelativeToTheOrigin) {
    FakeDesktop desktop;
    desktop.pointer = {110, 60};
    // An arrow whose tip, the hot spot, is its top-left pixel.
    desktop.cursorImage = Opaque(8, 0, 0, [](int x, int y) { return x == 0 && y == 0 ? 0x0000FFu : 0x00FF00u; });
    desktop.cursorImage->pixels[63] = 0;  // a transparent corner
    Surface target(40, 40, 0x222222);
    DrawCurrentCursor(desktop, target, 100, 50);
    EXPECT_EQ(target.Pixel(10, 10), 0x0000FF);
    EXPECT_EQ(target.Pixel(11, 10), 0x00FF00);
    EXPECT_EQ(target.Pixel(9, 10), 0x222222);
    EXPECT_EQ(target.Pixel(17, 17), 0x222222);

    // A cursor hanging off the target's top-left is cut, not wrapped.
    Surface small(4, 4, 0x222222);
    DrawCurrentCursor(desktop, small, 115, 65);
    EXPECT_EQ(small.Pixel(0, 0), 0x00FF00);
    EXPECT_EQ(small.Pixel(3, 3), 0x222222);

    desktop.cursorImage.reset();
    Surface untouched(40, 40, 0x222222);
    DrawCurrentCursor(desktop, untouched, 100, 50);
    EXPECT_EQ(untouched.Pixel(10, 10), 0x222222);
}

TEST(DrawCurrentCursor, TranslucentPixelsBlendOverWhatIsThere) {
    Surface target(2, 1, 0xC8C8C8);
    DrawCursorImage(target, CursorImage{2, 1, 0, 0, {0x80000000, 0x80404040}}, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), 0x646464);  // 200 * 127 / 255, rounded
    EXPECT_EQ(target.Pixel(1, 0), 0xA4A4A4);  // 64 + 100
}

// The classic text beam of Windows: a column of pixels that invert what lies under them
// (mask bits AND 1, XOR 1), which the platform reports as opaque white marked inverting.
CursorImage InvertingBeam(int hotX, int hotY) {
    CursorImage beam = Opaque(16, hotX, hotY, [](int, int) { return 0u; });
    for (std::size_t i = 0; i < beam.pixels.size(); ++i) beam.pixels[i] = 0;  // transparent
    beam.inverts.assign(beam.pixels.size(), 0);
    for (int y = 0; y < 16; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * 16 + 8;
        beam.pixels[at] = 0xFFFFFFFF;
        beam.inverts[at] = 1;
    }
    return beam;
}

TEST(DrawCurrentCursor, InvertingPixelsInvertWhatIsThereOverBlackWhiteAndAPattern) {
    const CursorImage beam = InvertingBeam(0, 0);
    Surface black(16, 16, 0), white(16, 16, 0xFFFFFF), pattern(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pattern.SetPixel(x, y, (x * 37 + y * 4099) & 0xFFFFFF);
    const Surface before = pattern;
    DrawCursorImage(black, beam, 0, 0);
    DrawCursorImage(white, beam, 0, 0);
    DrawCursorImage(pattern, beam, 0, 0);
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(black.Pixel(8, y), 0xFFFFFF);
        EXPECT_EQ(white.Pixel(8, y), 0) << "a white beam on white would be invisible";
        EXPECT_EQ(pattern.Pixel(8, y), before.Pixel(8, y) ^ 0xFFFFFF);
        EXPECT_EQ(pattern.Pixel(7, y), before.Pixel(7, y)) << "transparent pixels leave what is there";
    }
    // A pixel XOR-ed with a colour other than white changes just its bits.
    CursorImage red = beam;
    red.pixels[8] = 0xFF0000FF;
    Surface grey(16, 1, 0x808080);
    DrawCursorImage(grey, red, 0, 0);
    EXPECT_EQ(grey.Pixel(8, 0), 0x80807F);
}

TEST_F(CursorCodeTest, InvertingPixelsGiveTheCodeOfWhiteAndShowInvertedInThePreview) {
    CursorImage beam = InvertingBeam(7, 0);
    CursorImage white = beam;
    white.inverts.clear();  // the same pixels drawn as opaque white
    for (int method : {0, 1, 2}) {
        desktop.cursorImage = white;
        const std::uint32_t whiteCode = Code(method);
        desktop.cursorImage = beam;
        EXPECT_EQ(Code(method), whiteCode) << "method " << method;
    }
    // The beam's column one right of the hot spot lies on the preview's light grey.
    EXPECT_EQ(preview.Image().Pixel(1, 5), 14803425 ^ 0xFFFFFF);
    EXPECT_EQ(preview.Image().Pixel(2, 5), 14803425);
}

TEST_F(CursorCodeTest, WithoutAPreviewTheCodeIsTheSame) {
    // The screen under the pointer near the edge, then a cursor image that is not all one colour.
    desktop.pointer = {190, 92};
    for (const int method : {0, 1, 2}) EXPECT_EQ(CursorFeatureCode(desktop, method), Code(method)) << method;
    desktop.cursorImage = Opaque(16, 2, 3, [](int x, int y) { return static_cast<std::uint32_t>(x * 4099 + y * 77); });
    for (const int method : {0, 1, 2, 7}) EXPECT_EQ(CursorFeatureCode(desktop, method), Code(method)) << method;
}
