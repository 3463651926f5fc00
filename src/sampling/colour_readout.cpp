// SPDX-License-Identifier: MIT
#include "sampling/colour_readout.h"

#include "sampling/colour_forms.h"

namespace pelmora {

namespace {
constexpr int kFieldHeight = 16;

void PlaceReadOnly(ControlHost& host, Frame& frame, TextBox& field, std::string name, Rect geometry) {
    field.Place(host, &frame, std::move(name), -1, geometry);
    field.SetLocked(true);
    field.SetBackColor(kColourReadOnlyGrey);
}
}  // namespace

void ColourReadout::Place(ControlHost& host, Frame& frame, const std::string& prefix, Kind kind) {
    const char* rowCaptions[] = {"Ｘ坐标：", "Ｙ坐标：", kDecimalCaption, kHexCaption};
    const int rowTops[] = {18, 36, 72, 90};
    for (int row = 0; row < 4; ++row) {
        Label& caption = captions[row];
        caption.Place(host, &frame, prefix + "标签", row, {6, rowTops[row], 52, 14});
        caption.SetCaption(rowCaptions[row]);
    }
    constexpr int kFieldWidth = 46;  // beside a clipboard button
    constexpr int kWideFieldWidth = 60;
    PlaceReadOnly(host, frame, x, prefix + "x", {58, 16, kFieldWidth, kFieldHeight});
    PlaceReadOnly(host, frame, y, prefix + "y", {58, 34, kFieldWidth, kFieldHeight});
    if (kind == Kind::TypedPoint) {
        for (TextBox* field : {&x, &y}) {
            field->SetLocked(false);
            field->SetBackColor(kColourWhite);
            field->SetMaxLength(4);
        }
    }
    swatch.Place(host, &frame, prefix + "颜色", -1, {58, 52, kWideFieldWidth, kFieldHeight});
    swatch.SetBorder(true);
    swatch.SetBackColor(kColourReadOnlyGrey);
    if (kind == Kind::ReadOut) {
        swatchCaption.Place(host, &frame, prefix + "标签", 13, {6, 54, 52, 14});
        swatchCaption.SetCaption("颜色显示");
        swatch.SetLabelledBy(swatchCaption);
    }
    PlaceReadOnly(host, frame, decimal, prefix + "10", {58, 70, kWideFieldWidth, kFieldHeight});
    PlaceReadOnly(host, frame, hex, prefix + "16", {58, 88, kFieldWidth, kFieldHeight});
    x.SetLabelledBy(captions[0]);
    y.SetLabelledBy(captions[1]);
    decimal.SetLabelledBy(captions[2]);
    hex.SetLabelledBy(captions[3]);

    TextBox* grid[3][3] = {{&redHex, &greenHex, &blueHex}, {&red, &green, &blue}, {&hue, &saturation, &lightness}};
    const char* gridNames[3][3] = {{"16r", "16g", "16b"}, {"10r", "10g", "10b"}, {"10h", "10s", "10l"}};
    const char* letters[3][3] = {{"R", "G", "B"}, {"R", "G", "B"}, {"H", "S", "L"}};
    for (int row = 0; row < 3; ++row) {
        const int top = 110 + row * 19;
        for (int column = 0; column < 3; ++column) {
            const int left = 6 + column * 38;
            Label& letter = captions[4 + row * 3 + column];
            letter.Place(host, &frame, prefix + "标签", 4 + row * 3 + column, {left, top + 1, 10, 14});
            letter.SetCaption(letters[row][column]);
            TextBox& field = *grid[row][column];
            PlaceReadOnly(host, frame, field, prefix + gridNames[row][column], {left + 10, top, 26, kFieldHeight});
            field.SetLabelledBy(letter);
        }
    }
}

void ColourReadout::ShowColour(Colour colour) {
    const ColourForms forms = ColourFormsOf(colour);
    swatch.SetBackColor(colour < 0 ? kColourBlack : colour);
    hex.SetText(forms.hex);
    decimal.SetText(forms.decimal);
    redHex.SetText(forms.redHex);
    greenHex.SetText(forms.greenHex);
    blueHex.SetText(forms.blueHex);
    red.SetText(forms.red);
    green.SetText(forms.green);
    blue.SetText(forms.blue);
    hue.SetText(forms.hue);
    saturation.SetText(forms.saturation);
    lightness.SetText(forms.lightness);
}

}  // namespace pelmora
