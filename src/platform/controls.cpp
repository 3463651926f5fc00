// SPDX-License-Identifier: MIT
#include "platform/controls.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace pelmora {

void Control::Place(ControlHost& host, Control* container, std::string name, int index, Rect geometry) {
    host_ = &host;
    container_ = container;
    name_ = std::move(name);
    index_ = index;
    geometry_ = geometry;
    host.Register(*this);
    Touch();
}

std::string Control::ObjectName() const { return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")"; }

void Control::SetGeometry(const Rect& geometry) {
    if (geometry_ == geometry) return;
    geometry_ = geometry;
    Touch();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Touch();
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Touch();
}

void Control::SetToolTip(std::string toolTip) {
    toolTip_ = std::move(toolTip);
    Touch();
}

void Control::SetBackColor(std::int32_t colour) {
    if (backColor_ == colour) return;
    backColor_ = colour;
    Touch();
}

void Control::SetForeColor(std::int32_t colour) {
    if (foreColor_ == colour) return;
    foreColor_ = colour;
    Touch();
}

void Control::SetFocus() {
    if (host_) host_->SetFocus(*this);
}

void Control::SetLabelledBy(const CaptionedControl& label) {
    labelledBy_ = &label;
    Touch();
}

void Control::SetMousePointer(MousePointer pointer) {
    if (pointer_ == pointer) return;
    pointer_ = pointer;
    Touch();
}

void Control::SetMouseIcon(const PointerImage& icon) {
    if (mouseIcon_ == &icon) return;
    mouseIcon_ = &icon;
    Touch();
}

std::string Control::ReadableName() const { return labelledBy_ ? labelledBy_->Caption() : toolTip_; }

std::string CaptionedControl::ReadableName() const { return caption_.empty() ? Control::ReadableName() : caption_; }

void CaptionedControl::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Touch();
}

void Label::SetBorder(bool border) {
    border_ = border;
    Touch();
}

void Label::SetAlignment(Alignment alignment) {
    alignment_ = alignment;
    Touch();
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Touch();
}

void TextBox::SetText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    Touch();
    if (onChange) onChange();
}

void TextBox::SetLocked(bool locked) {
    locked_ = locked;
    Touch();
}

void TextBox::SetMaxLength(int maxLength) {
    maxLength_ = maxLength;
    Touch();
}

void TextBox::SetMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    Touch();
}

void ButtonControl::SetPicture(Surface picture) {
    picture_ = std::move(picture);
    ++pictureRevision_;
    Touch();
}

void CheckBox::SetValue(int value) {
    if (value_ == value) return;
    value_ = value;
    Touch();
    RaiseClick();
}

void CheckBox::SetGraphical(bool graphical) {
    graphical_ = graphical;
    Touch();
}

void ItemList::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Touch();
}

void ItemList::Clear() {
    if (items_.empty() && listIndex_ < 0) return;
    items_.clear();
    listIndex_ = -1;
    Touch();
}

void ItemList::SetListIndex(int index) {
    if (index < -1 || index >= ListCount() || index == listIndex_) return;
    listIndex_ = index;
    Touch();
    RaiseClick();
}

void OptionButton::SetValueQuietly(bool value) {
    if (value_ == value) return;
    value_ = value;
    Touch();
}

void OptionButton::Select() {
    if (Host())
        for (Control* control : Host()->Controls())
            if (control != this && control->Kind() == ControlKind::OptionButton && control->Container() == Container())
                static_cast<OptionButton*>(control)->SetValueQuietly(false);
    SetValueQuietly(true);
    RaiseClick();
}

void OptionButton::SetGraphical(bool graphical) {
    graphical_ = graphical;
    Touch();
}

void PictureBox::SetBorder(bool border) {
    border_ = border;
    MarkChanged();
}

void PictureBox::SetPicture(Surface picture) {
    picture_ = std::move(picture);
    MarkChanged();
}

void PictureBox::SetBackColor(std::int32_t colour) {
    Control::SetBackColor(colour);
    image_.Clear(colour);
    MarkChanged();
}

void PictureBox::MarkChanged() {
    damage_.whole = true;
    Touch();
}

Surface& PictureBox::EditImageArea(const Rect& area) {
    Touch();
    if (damage_.whole || area.width <= 0 || area.height <= 0) return image_;
    Rect& changed = damage_.area;
    if (changed.width <= 0 || changed.height <= 0) {
        changed = area;
    } else {
        const int right = std::max(changed.left + changed.width, area.left + area.width);
        const int bottom = std::max(changed.top + changed.height, area.top + area.height);
        changed.left = std::min(changed.left, area.left);
        changed.top = std::min(changed.top, area.top);
        changed.width = right - changed.left;
        changed.height = bottom - changed.top;
    }
    return image_;
}

PictureDamage PictureBox::TakeDamage() const { return std::exchange(damage_, PictureDamage{}); }

void Shape::SetFilled(bool filled) {
    filled_ = filled;
    Touch();
}

void Shape::SetBorderColor(std::int32_t colour) {
    borderColor_ = colour;
    Touch();
}

void Line::SetEnds(int x1, int y1, int x2, int y2) {
    if (y1 == y2) SetGeometry({std::min(x1, x2), y1, std::abs(x2 - x1), 1});
    else SetGeometry({x1, std::min(y1, y2), 1, std::abs(y2 - y1)});
}

void Line::SetBorderColor(std::int32_t colour) {
    borderColor_ = colour;
    Touch();
}

std::int16_t ScrollBar::Clamped(std::int16_t value) const {
    return std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

void ScrollBar::MoveTo(std::int16_t value, const std::function<void()>& event) {
    value = Clamped(value);
    if (value == value_) return;
    value_ = value;
    Touch();
    if (event) event();
}

void ScrollBar::SetMin(std::int16_t min) {
    min_ = min;
    Touch();
    MoveTo(value_, onChange);
}

void ScrollBar::SetMax(std::int16_t max) {
    max_ = max;
    Touch();
    MoveTo(value_, onChange);
}

void ScrollBar::SetValue(std::int16_t value) { MoveTo(value, onChange); }

void ScrollBar::SetSmallChange(std::int16_t change) {
    smallChange_ = std::max<std::int16_t>(change, 1);
    Touch();
}

void ScrollBar::SetLargeChange(std::int16_t change) {
    largeChange_ = std::max<std::int16_t>(change, 1);
    Touch();
}

void ScrollBar::DragTo(std::int16_t value) { MoveTo(value, onScroll); }

void ScrollBar::EndDrag() {
    if (value_ != dragStart_ && onChange) onChange();
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Touch();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled && !Enabled()) ++run_;
    Control::SetEnabled(enabled);
}

}  // namespace pelmora
