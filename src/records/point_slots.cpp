// SPDX-License-Identifier: MIT
#include "records/point_slots.h"

#include "settings/profile.h"
#include "base/skip_failing.h"
#include "base/number_text.h"
#include "base/rounding.h"
#include "sampling/colour_model.h"
#include "sampling/screen_reading.h"

namespace pelmora {

namespace {
constexpr std::int32_t kSwatchTextGrey = 12632256;  // C0C0C0

std::string Key(const char* prefix, int i, const char* suffix = "") { return prefix + std::to_string(i) + suffix; }

// The parts of a slot text between single spaces ("a  b" has an empty middle part).
std::vector<std::string> SplitAtSpaces(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t space; (space = text.find(' ', start)) != std::string::npos; start = space + 1)
        parts.push_back(text.substr(start, space - start));
    parts.push_back(text.substr(start));
    return parts;
}
}  // namespace

void PointSlots::Place(ControlHost& host, Frame& frame) {
    for (int i = 0; i < kSlotCount; ++i) {
        const int top = 16 + i * 17;
        色块[i].Place(host, &frame, "色块", i, {8, top, 22, 16});
        色块[i].SetCaption(std::to_string(i + 1));
        色块[i].SetAlignment(Alignment::Centre);
        色块[i].SetBorder(true);
        色块[i].SetBackColor(kColourWhite);
        色块[i].SetForeColor(kSwatchTextGrey);

        坐标颜色[i].Place(host, &frame, "坐标颜色", i, {34, top, 127, 16});
        坐标颜色[i].SetLabelledBy(色块[i]);  // the slot's number
        坐标颜色[i].SetLocked(true);
        坐标颜色[i].SetBackColor(kColourReadOnlyGrey);
        坐标颜色[i].SetToolTip("抓点热键：Ctrl+Alt+" + std::to_string((i + 1) % 10));
    }
}

void PointSlots::GrabIntoSlot(int k) {
    const GrabPoint grab = adjustment_.AdjustGrabPoint(GetPointerPos(desktop_));
    // Coordinates that do not fit a whole number (a start point such as 9E99) leave the
    // slot as it was.
    const auto x = ToInt32(grab.reportedX);
    const auto y = ToInt32(grab.reportedY);
    if (!x || !y) return;
    const Colour colour = GetScreenPixel(desktop_, grab.sampled.x, grab.sampled.y);
    // Off the screen there is no pixel: the swatch turns black, as the get panel's does.
    色块[k].SetBackColor(colour < 0 ? kColourBlack : colour);
    坐标颜色[k].SetText(std::to_string(*x) + "," + std::to_string(*y) + " " + ColorHex6(colour));
}

std::string StoredSlot::Text() const { return x + "," + y + " " + ColorHex6(colour); }

std::optional<StoredSlot> ReadStoredSlot(int i, const std::function<std::string(const std::string& key)>& read) {
    const auto number = ParseStrictNumber(read(Key("Color", i)));  // an empty value is none
    const auto colour = number ? ToInt32(*number) : std::nullopt;
    if (!colour) return std::nullopt;
    return StoredSlot{read(Key("Position", i, "X")), read(Key("Position", i, "Y")), *colour};
}

void PointSlots::LoadSlot(int i, const SettingsFile& settings) {
    const auto read = [&](const std::string& key) { return ReadSetting(settings, "Position", key); };
    const auto stored = ReadStoredSlot(i, read);
    SkipIfFailing([&] { 坐标颜色[i].SetText(Require(stored).Text()); });
    SkipIfFailing([&] {
        const Colour value = Require(ParseStrictInteger(read(Key("Color", i))));
        if (value < 0 || value > kColourWhite) throw StatementFailed();  // not a colour a swatch takes
        色块[i].SetBackColor(value);
    });
}

void PointSlots::SaveSlot(int i, const SettingsFile& settings) const {
    const std::vector<std::string> parts = SplitAtSpaces(坐标颜色[i].Text());
    if (parts.size() < 2) return;
    const std::string& point = parts[0];
    const auto comma = point.find(',');
    if (comma != std::string::npos) WriteSetting(settings, "Position", Key("Position", i, "X"), point.substr(0, comma));
    const std::string y = comma == std::string::npos ? point : point.substr(comma + 1);
    WriteSetting(settings, "Position", Key("Position", i, "Y"), y);
    if (const auto colour = ParseHexDigits(parts[1]))
        WriteSetting(settings, "Position", Key("Color", i), std::to_string(*colour));
}

}  // namespace pelmora
