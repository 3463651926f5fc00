// SPDX-License-Identifier: MIT
#include "records/colour_lookup_page.h"

#include <cctype>
#include <optional>

#include "base/number_text.h"

namespace pelmora {

namespace {
void SetInput(TextBox& field, bool input) {
    field.SetBackColor(input ? kColourWhite : kColourReadOnlyGrey);
    field.SetLocked(!input);
}
}  // namespace

void ColourLookupPage::Place(ControlHost& host, Frame& page) {
    const char* modes[2] = {"16进制", "10进制"};
    TextBox* codes[2] = {&查10, &查16};
    const char* codeNames[2] = {"查10", "查16"};
    for (int i = 0; i < 2; ++i) {
        Option1[i].Place(host, &page, "Option1", i, {6, 16 + i * 18, 60, 16});
        Option1[i].SetCaption(modes[i]);
        查标签[i].Place(host, &page, "查标签", i, {70, 18 + i * 18, 48, 14});
        查标签[i].SetCaption(std::string(modes[i]) + "：");
        codes[i]->Place(host, &page, codeNames[i], -1, {118, 16 + i * 18, 60, 17});
        codes[i]->SetLabelledBy(查标签[i]);
    }
    查10.SetMaxLength(6);
    查16.SetMaxLength(9);
    Option1[0].Select();
    for (int i = 0; i < 2; ++i) Option1[i].onClick = [this, i] { Option1_Click(i); };
    SetInput(查16, false);

    Command1.Place(host, &page, "Command1", -1, {182, 15, 36, 36});
    Command1.SetCaption("颜色\n显示");
    Command1.onClick = [this] { Command1_Click(); };
    查颜色.Place(host, &page, "查颜色", -1, {222, 15, 76, 36});
    查颜色.SetBorder(true);
    查颜色.SetBackColor(kColourReadOnlyGrey);

    TextBox* components[6] = {&查10r, &查10g, &查10b, &查10h, &查10s, &查10l};
    const char* names[6] = {"查10r", "查10g", "查10b", "查10h", "查10s", "查10l"};
    const char* letters[6] = {"R", "G", "B", "H", "S", "L"};
    for (int i = 0; i < 6; ++i) {
        const int left = 6 + i * 36 + (i >= 3 ? 22 : 0);  // each triple followed by its copy button
        Label& letter = 查标签[2 + i];
        letter.Place(host, &page, "查标签", 2 + i, {left, 55, 10, 14});
        letter.SetCaption(letters[i]);
        components[i]->Place(host, &page, names[i], -1, {left + 10, 54, 24, 16});
        components[i]->SetLocked(true);
        components[i]->SetBackColor(kColourReadOnlyGrey);
        components[i]->SetLabelledBy(letter);
    }
}

void ColourLookupPage::Option1_Click(int index) {
    const bool decimal = index == 1;
    SetInput(查10, !decimal);
    SetInput(查16, decimal);
}

void ColourLookupPage::Command1_Click() {
    if (Option1[1].Value()) LookUpDecimal();
    else LookUpHex();
}

void ColourLookupPage::LookUpHex() {
    if (查10.Text().empty()) return;
    const std::optional<std::uint32_t> value = ParseHexDigits(查10.Text());
    if (!value) return;
    std::string padded = 查10.Text();
    if (padded.size() < 6) padded.insert(0, 6 - padded.size(), '0');
    for (char& c : padded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (*value <= static_cast<std::uint32_t>(kColourWhite)) ShowComponents(static_cast<Colour>(*value), padded);
    查10.SetText(padded);
    查16.SetText(std::to_string(*value));
}

void ColourLookupPage::LookUpDecimal() {
    if (查16.Text().empty()) return;
    const std::optional<std::int32_t> value = ParseStrictInteger(查16.Text());
    if (!value) return;
    // A negative value shows the colour its last six hexadecimal digits name, the same
    // digits 查10 then shows, so that swatch, components and code always agree.
    if (*value <= kColourWhite) ShowComponents(*value & kColourWhite, ColorHex6(*value));
    查10.SetText(ColorHex6(*value));
}

void ColourLookupPage::ShowComponents(Colour colour, const std::string& hex6) {
    查颜色.SetBackColor(colour);
    const auto component = [](const std::string& hex) {
        return static_cast<std::int16_t>(ParseHexDigits(hex).value_or(0));
    };
    const std::int16_t red = component(RedHex(hex6)), green = component(GreenHex(hex6)),
                       blue = component(BlueHex(hex6));
    查10r.SetText(std::to_string(red));
    查10g.SetText(std::to_string(green));
    查10b.SetText(std::to_string(blue));
    const HslColor hsl = RgbToHsl(red, green, blue);
    查10h.SetText(std::to_string(hsl.hue));
    查10s.SetText(std::to_string(hsl.saturation));
    查10l.SetText(std::to_string(hsl.lightness));
}

}  // namespace pelmora
