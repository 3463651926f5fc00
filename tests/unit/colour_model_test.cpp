// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <initializer_list>

#include "sampling/colour_model.h"

using namespace pelmora;

TEST(RgbToHsl, WorkedValues) {
    struct Case {
        std::int16_t r, g, b;
        HslColor expected;
    };
    const Case cases[] = {
        {255, 0, 0, {0, 240, 120}},     {0, 255, 0, {80, 240, 120}},    {0, 0, 255, {160, 240, 120}},
        {255, 255, 0, {40, 240, 120}},  {255, 255, 255, {160, 0, 240}}, {0, 0, 0, {160, 0, 0}},
        {128, 128, 128, {160, 0, 120}}, {255, 0, 255, {200, 240, 120}}, {0, 255, 255, {120, 240, 120}},
        {86, 52, 18, {20, 157, 49}},
    };
    for (const Case& c : cases) {
        const HslColor hsl = RgbToHsl(c.r, c.g, c.b);
        EXPECT_EQ(hsl, c.expected) << c.r << "," << c.g << "," << c.b << " -> " << hsl.hue << "," << hsl.saturation
                                   << "," << hsl.lightness;
    }
}

TEST(RgbToHsl, GreysHaveHue160AndTiesGoToRedThenGreen) {
    for (const std::int16_t v : std::initializer_list<std::int16_t>{1, 17, 200, 254})
        EXPECT_EQ(RgbToHsl(v, v, v).hue, 160);
    // Red and blue both at the maximum: red's formula wins (magenta 200, not blue's 200-ish path).
    EXPECT_EQ(RgbToHsl(255, 0, 255).hue, 200);
    // Red and green tie: red's formula gives yellow 40.
    EXPECT_EQ(RgbToHsl(255, 255, 0).hue, 40);
    // A hue just below zero wraps: red with a little blue.
    EXPECT_EQ(RgbToHsl(255, 0, 10).hue, 238);
}

TEST(RgbToHsl, LightnessAboveHalfTakesTheSecondSaturationFormula) {
    // Pale red: max 1, min 0.6; the first formula would give 0.4/1.6 -> 60.
    EXPECT_EQ(RgbToHsl(255, 153, 153), (HslColor{0, 240, 192}));
}

TEST(RgbToHsl, OutOfRangeComponentsAreComputedNotRejected) {
    const HslColor hsl = RgbToHsl(300, 0, 0);
    EXPECT_EQ(hsl.hue, 0);
    EXPECT_EQ(hsl.lightness, 141);  // 300/255/2*240 = 141.18
}

TEST(ColourTexts, DecimalHexAndComponents) {
    EXPECT_EQ(ColorDecimal(255), "255");
    EXPECT_EQ(ColorHex6(255), "0000FF");
    EXPECT_EQ(ColorHex6(1193046), "123456");
    EXPECT_EQ(ColorHex6(0), "000000");
    EXPECT_EQ(ColorDecimal(0), "0");
    EXPECT_EQ(ColorHex6(kColourWhite), "FFFFFF");
    EXPECT_EQ(ColorHex6(-1), "FFFFFF");
    EXPECT_EQ(ColorDecimal(-1), "-1");
    EXPECT_EQ(ColorHex6(0x1ABCDEF), "ABCDEF");  // only the last six digits stay

    EXPECT_EQ(RedHex("123456"), "56");
    EXPECT_EQ(GreenHex("123456"), "34");
    EXPECT_EQ(BlueHex("123456"), "12");
    EXPECT_EQ(RedHex("0000FF"), "FF");
}
