// SPDX-License-Identifier: MIT
#include "editor/colour_boxes.h"

#include <optional>

#include "base/number_text.h"

namespace pelmora {

namespace {
constexpr int kColourDigits = 6;

std::optional<std::int32_t> ReadColour(const std::string& text) {
    const std::optional<std::uint32_t> value = ParseHexDigits(text);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);  // six digits at most: 0 to 16777215
}
}  // namespace

void ColourBoxes::Place(ControlHost& host, Frame& page) {
    // The background square lies under the foreground one, 8 pixels right and down.
    前背景色块[1].Place(host, &page, "前背景色块", 1, {16, 128, 17, 17});
    前背景色块[0].Place(host, &page, "前背景色块", 0, {8, 120, 17, 17});
    const char* const captions[2] = {"前景色", "背景色"};
    const char* const texts[2] = {"0", "FFFFFF"};
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        前背景色标签[at].Place(host, &page, "前背景色标签", i, {40 + i * 88, 245, 36, 14});
        前背景色标签[at].SetCaption(captions[i]);
        TextBox& box = 前背景色[at];
        box.Place(host, &page, "前背景色", i, {78 + i * 88, 242, 46, 19});
        box.SetMaxLength(kColourDigits);
        box.SetLabelledBy(前背景色标签[at]);
        前背景色块[at].SetLabelledBy(前背景色标签[at]);
        box.onChange = [this, i] { 前背景色_Change(i); };
        box.SetText(texts[i]);
    }
}

void ColourBoxes::前背景色_Change(int index) {
    const auto at = static_cast<std::size_t>(index);
    const std::optional<std::int32_t> colour = ReadColour(前背景色[at].Text());
    前背景色块[at].SetBackColor(colour.value_or(0));
    if (!colour) 前背景色[at].SetText("0");
}

std::int32_t ColourBoxes::Colour(int index) const {
    return ReadColour(前背景色[static_cast<std::size_t>(index)].Text()).value_or(0);
}

}  // namespace pelmora
