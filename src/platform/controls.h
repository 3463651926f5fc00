// SPDX-License-Identifier: MIT
// Headless controls with the window framework's semantics. Each control holds its whole
// state (the text of a field is the value); the Qt view only mirrors it. Setting a
// property from code raises the event the framework raises: a CheckBox's value change
// raises Click, a TextBox's text change raises Change, selecting an OptionButton raises
// Click. Every change bumps the control's revision so a view can sync only what changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace pelmora {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What a control is; a view makes the widget or child window of its kind.
enum class ControlKind {
    Frame,
    Label,
    TextBox,
    CheckBox,
    OptionButton,
    CommandButton,
    ListBox,
    ComboBox,
    PictureBox,
    Line,
    Shape,
    ScrollBar,
    Timer
};
// How a label places its caption.
enum class Alignment { Left, Centre };

class Control;
class CaptionedControl;

// Mouse buttons as the framework numbers them; a move reports the buttons held, OR-ed.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// A mouse event on a control: the button (pressed or released, or for a move every
// button held), the Shift/Ctrl/Alt state (1, 2, 4) and the position in pixels relative
// to the control's top-left corner; it may lie outside while the control has the capture.
struct MouseEvent {
    int button = 0;
    int shift = 0;
    int x = 0;
    int y = 0;
};

// The mouse pointer a window or control shows: the system's default, the custom image of
// its mouse icon, or one of the platform's own shapes: the four-way move arrows and the
// sizing arrows (north-east to south-west, north to south, north-west to south-east, west
// to east).
enum class MousePointer { Default, Custom, SizeAll, SizeNESW, SizeNS, SizeNWSE, SizeWE };

// A pointer image: colour values with -1 for transparent pixels, and the hot spot.
struct PointerImage {
    Surface image;
    int hotX = 0;
    int hotY = 0;
};

// The registry of a window's controls in creation order (containers before their
// children; later siblings stack above earlier ones), the window's keyboard focus, its
// mouse pointer and whether the window itself is on the screen.
class ControlHost {
public:
    // Every control of the window; Control::Place registers each.
    const std::vector<Control*>& Controls() const { return controls_; }
    void Register(Control& control) { controls_.push_back(&control); }

    // The control with the keyboard focus, nullptr for none; the revision counts moves of
    // the focus, so a view follows only a change.
    Control* Focused() const { return focused_; }
    std::uint64_t FocusRevision() const { return focusRevision_; }
    void SetFocus(Control& control) {
        focused_ = &control;
        ++focusRevision_;
    }

    // The window's pointer: the default arrow, or MouseIcon while Custom is set. It shows
    // over the whole window and, while a control of it has the mouse capture, everywhere.
    MousePointer Pointer() const { return pointer_; }
    const PointerImage& MouseIcon() const { return mouseIcon_; }
    std::uint64_t PointerRevision() const { return pointerRevision_; }
    void SetMouseIcon(PointerImage icon) {
        mouseIcon_ = std::move(icon);
        ++pointerRevision_;
    }
    void SetMousePointer(MousePointer pointer) {
        pointer_ = pointer;
        ++pointerRevision_;
    }

    // The window is shown; hidden, it is off the screen until shown again.
    bool WindowVisible() const { return windowVisible_; }
    std::uint64_t WindowRevision() const { return windowRevision_; }
    void SetWindowVisible(bool visible) {
        windowVisible_ = visible;
        ++windowRevision_;
    }

private:
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    std::uint64_t focusRevision_ = 0;
    MousePointer pointer_ = MousePointer::Default;
    PointerImage mouseIcon_;
    std::uint64_t pointerRevision_ = 0;
    bool windowVisible_ = true;
    std::uint64_t windowRevision_ = 0;
};

class Control {
public:
    explicit Control(ControlKind kind) : kind_(kind) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Puts the control on its window: name, index in its control array (-1 for none),
    // container (nullptr for the window itself) and geometry relative to the container.
    void Place(ControlHost& host, Control* container, std::string name, int index, Rect geometry);

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }  // the window's name: "坐标颜色", "Check1"
    int Index() const { return index_; }               // in its control array; -1 for none
    std::string ObjectName() const;                    // "坐标颜色(3)" or "Check1"
    Control* Container() const { return container_; }
    // Counts the changes of the control's state, so a view syncs only what changed.
    std::uint64_t Revision() const { return revision_; }

    // Left, top, width and height in layout pixels, relative to the container.
    const Rect& Geometry() const { return geometry_; }
    void SetGeometry(const Rect& geometry);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    const std::string& ToolTip() const { return toolTip_; }
    void SetToolTip(std::string toolTip);
    // Background and text colours as colour values; a back colour of -1 shows what lies behind.
    std::int32_t BackColor() const { return backColor_; }
    virtual void SetBackColor(std::int32_t colour);
    std::int32_t ForeColor() const { return foreColor_; }
    void SetForeColor(std::int32_t colour);

    // Gives this control the window's keyboard focus.
    void SetFocus();

    // The pointer shown while the mouse is over the control: Default leaves the window's
    // own. With Custom it is the image of the mouse icon, which must outlive the control.
    MousePointer Pointer() const { return pointer_; }
    const PointerImage* MouseIcon() const { return mouseIcon_; }
    void SetMousePointer(MousePointer pointer);
    void SetMouseIcon(const PointerImage& icon);

    // The label beside the control, whose caption names it for people (screen readers
    // speak it); nullptr when the control has none.
    const CaptionedControl* LabelledBy() const { return labelledBy_; }
    void SetLabelledBy(const CaptionedControl& label);
    // What a person reads as the control's name: its caption, else its label's caption,
    // else its tool tip (all a picture button shows in words).
    virtual std::string ReadableName() const;

    // The handlers a panel wires to the control's events; Raise… runs one when it is set.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    void RaiseClick() {
        if (onClick) onClick();
    }
    void RaiseDblClick() {
        if (onDblClick) onDblClick();
    }

    // Mouse events; a view raises them only for an enabled control. A control pressed
    // with a button keeps receiving the moves and the release (the capture), wherever
    // the pointer goes, until every button is up.
    std::function<void(const MouseEvent&)> onMouseDown;
    std::function<void(const MouseEvent&)> onMouseMove;
    std::function<void(const MouseEvent&)> onMouseUp;
    void RaiseMouseDown(const MouseEvent& event) {
        if (onMouseDown) onMouseDown(event);
    }
    void RaiseMouseMove(const MouseEvent& event) {
        if (onMouseMove) onMouseMove(event);
    }
    void RaiseMouseUp(const MouseEvent& event) {
        if (onMouseUp) onMouseUp(event);
    }

    // Something dragged from another program (a file manager) and dropped on the control:
    // the local files it carried, in their order; none when it carried no file. A view
    // takes drops only on controls that handle them.
    std::function<void(const std::vector<std::string>& files)> onDropFiles;
    void RaiseDropFiles(const std::vector<std::string>& files) {
        if (onDropFiles) onDropFiles(files);
    }

protected:
    // Counts a change of state for the views.
    void Touch() { ++revision_; }
    // The window the control was placed on; nullptr before Place.
    ControlHost* Host() const { return host_; }

private:
    ControlKind kind_;
    ControlHost* host_ = nullptr;
    Control* container_ = nullptr;
    std::string name_;
    int index_ = -1;
    Rect geometry_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string toolTip_;
    std::int32_t backColor_ = -1;  // -1: the colour of the window behind it
    std::int32_t foreColor_ = 0;
    const CaptionedControl* labelledBy_ = nullptr;
    MousePointer pointer_ = MousePointer::Default;
    const PointerImage* mouseIcon_ = nullptr;
    std::uint64_t revision_ = 0;
};

// A control with a caption: frames, labels, check boxes, option and command buttons.
class CaptionedControl : public Control {
public:
    using Control::Control;
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    std::string ReadableName() const override;

private:
    std::string caption_;
};

// A box with its caption on the top line, holding a group of controls (a page, a panel).
class Frame : public CaptionedControl {
public:
    Frame() : CaptionedControl(ControlKind::Frame) {}
};

class Label : public CaptionedControl {
public:
    Label() : CaptionedControl(ControlKind::Label) {}
    // A one-pixel frame round the label, as a swatch has.
    bool Border() const { return border_; }
    void SetBorder(bool border);
    Alignment TextAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);
    // The width follows the caption (the geometry's width is the minimum).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

private:
    bool border_ = false;
    Alignment alignment_ = Alignment::Left;
    bool autoSize_ = false;
};

// A text field, white unless a panel makes it a grey read-only one.
class TextBox : public Control {
public:
    TextBox() : Control(ControlKind::TextBox) { SetBackColor(16777215); }
    const std::string& Text() const { return text_; }
    void SetText(std::string text);  // raises Change when the text differs
    // The user cannot change the text (code still can).
    bool Locked() const { return locked_; }
    void SetLocked(bool locked);
    int MaxLength() const { return maxLength_; }  // 0: no limit on typed text
    void SetMaxLength(int maxLength);
    // Several lines (with a vertical scroll bar) instead of one.
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    std::function<void()> onChange;  // raised by every change of the text

private:
    std::string text_;
    bool locked_ = false;
    int maxLength_ = 0;
    bool multiLine_ = false;
};

// A check box, option button or command button. Graphical ones can show a picture (its
// pixels of -1 transparent) above or instead of the caption.
class ButtonControl : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;
    const Surface& Picture() const { return picture_; }
    void SetPicture(Surface picture);
    // Counts the pictures set, so a view makes its icon again only for a new one.
    std::uint64_t PictureRevision() const { return pictureRevision_; }

private:
    Surface picture_;
    std::uint64_t pictureRevision_ = 0;
};

class CheckBox : public ButtonControl {
public:
    CheckBox() : ButtonControl(ControlKind::CheckBox) {}
    int Value() const { return value_; }  // 0 unchecked, 1 checked
    void SetValue(int value);             // raises Click when the value changes
    // Drawn as a push button that stays down while checked, instead of a box and caption.
    bool Graphical() const { return graphical_; }
    void SetGraphical(bool graphical);

private:
    int value_ = 0;
    bool graphical_ = false;
};

// Option buttons in one container are mutually exclusive.
class OptionButton : public ButtonControl {
public:
    OptionButton() : ButtonControl(ControlKind::OptionButton) {}
    bool Value() const { return value_; }
    void Select();  // clears the other option buttons of its container, then raises Click
    // Drawn as a push button that stays down while selected, instead of a round option.
    bool Graphical() const { return graphical_; }
    void SetGraphical(bool graphical);

private:
    // Sets the value without raising Click; Select raises it once, when all are set.
    void SetValueQuietly(bool value);
    bool value_ = false;
    bool graphical_ = false;
};

// A push button: its Click is all it does.
class CommandButton : public ButtonControl {
public:
    CommandButton() : ButtonControl(ControlKind::CommandButton) {}
};

// Text lines, one of which may be selected: what a list box and a combo box share.
class ItemList : public Control {
public:
    const std::vector<std::string>& Items() const { return items_; }
    int ListCount() const { return static_cast<int>(items_.size()); }
    void AddItem(std::string item);
    void Clear();  // also clears the selection
    // The selected line, -1 for none.
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);  // raises Click when the selection changes

protected:
    explicit ItemList(ControlKind kind) : Control(kind) { SetBackColor(16777215); }

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

// A list of text lines shown one under the other.
class ListBox : public ItemList {
public:
    ListBox() : ItemList(ControlKind::ListBox) {}
};

// A drop-down list: the selected line shows in the box, the others when it is opened.
// The user can only choose a line, not type one.
class ComboBox : public ItemList {
public:
    ComboBox() : ItemList(ControlKind::ComboBox) {}
};

// The part of a picture that changed since a view last repainted it: nothing, an area
// of the image, or everything.
struct PictureDamage {
    bool whole = false;
    Rect area;  // in image pixels; empty when nothing changed
};

// A picture with a persistent image: what is drawn into it survives repainting.
// Setting the background colour clears the image to that colour. Apart from the image
// it can show a picture (a loaded image) over its background, centred, whose pixels of
// -1 are transparent.
class PictureBox : public Control {
public:
    PictureBox() : Control(ControlKind::PictureBox) {}
    bool Border() const { return border_; }
    void SetBorder(bool border);
    const Surface& Picture() const { return picture_; }
    void SetPicture(Surface picture);  // an empty surface shows no picture
    const Surface& Image() const { return image_; }
    // The image for drawing anywhere in it: a view repaints all of it.
    Surface& EditImage() {
        MarkChanged();
        return image_;
    }
    // The image for drawing inside area only: a view repaints just that part.
    Surface& EditImageArea(const Rect& area);
    void SetBackColor(std::int32_t colour) override;
    void Refresh() { MarkChanged(); }

    // What changed since the last call, for the view that repaints the picture; taking it
    // starts the next account.
    PictureDamage TakeDamage() const;

private:
    void MarkChanged();

    bool border_ = true;
    Surface image_;
    Surface picture_;
    // The view's account of what to repaint, kept beside the picture's own state.
    mutable PictureDamage damage_{true, {}};
};

// A rectangle drawn over its container: filled with its back colour, or only its
// one-pixel outline in its border colour with the container showing inside. It takes no
// mouse input.
class Shape : public Control {
public:
    Shape() : Control(ControlKind::Shape) {}
    // Filled with the back colour, or only the outline in the border colour.
    bool Filled() const { return filled_; }
    void SetFilled(bool filled);
    std::int32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(std::int32_t colour);

private:
    bool filled_ = true;
    std::int32_t borderColor_ = 0;
};

// A horizontal or vertical line drawn over its container, one pixel wide, from the first
// end point up to (not including) the second.
class Line : public Control {
public:
    Line() : Control(ControlKind::Line) {}
    // The two end points in the container's pixels.
    void SetEnds(int x1, int y1, int x2, int y2);
    // The line's colour.
    std::int32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(std::int32_t colour);

private:
    std::int32_t borderColor_ = 0;
};

// A horizontal or vertical scroll bar over a range of 16-bit values. Min may lie above
// Max, which turns the direction round. Setting Value, or a range that leaves the value
// outside it, raises Change when the value changes; a user dragging the thumb raises Scroll
// at every step, then Change where it stops.
class ScrollBar : public Control {
public:
    enum class Orientation { Horizontal, Vertical };
    explicit ScrollBar(Orientation orientation) : Control(ControlKind::ScrollBar), orientation_(orientation) {}

    // Horizontal or vertical, fixed at construction.
    Orientation Direction() const { return orientation_; }
    std::int16_t Min() const { return min_; }
    std::int16_t Max() const { return max_; }
    std::int16_t Value() const { return value_; }
    std::int16_t SmallChange() const { return smallChange_; }
    std::int16_t LargeChange() const { return largeChange_; }
    void SetMin(std::int16_t min);
    void SetMax(std::int16_t max);
    void SetValue(std::int16_t value);         // kept within the range
    void SetSmallChange(std::int16_t change);  // at least 1
    void SetLargeChange(std::int16_t change);  // at least 1
    // A drag of the thumb: it starts, moves to value (raising Scroll, the value following
    // at once) and ends, raising Change when it ended elsewhere than it started.
    void BeginDrag() { dragStart_ = value_; }
    void DragTo(std::int16_t value);
    void EndDrag();

    std::function<void()> onChange;  // the value changed: set, or where a drag stopped
    std::function<void()> onScroll;  // each step of a thumb drag

private:
    // value kept between Min and Max, in whichever order they lie.
    std::int16_t Clamped(std::int16_t value) const;
    // Takes value, kept within the range, and raises event when it changed.
    void MoveTo(std::int16_t value, const std::function<void()>& event);

    Orientation orientation_;
    std::int16_t min_ = 0;
    std::int16_t max_ = 32767;
    std::int16_t value_ = 0;
    std::int16_t smallChange_ = 1;
    std::int16_t largeChange_ = 1;
    std::int16_t dragStart_ = 0;
};

// A timer control: while enabled it raises Timer every interval. Each switch from
// disabled to enabled starts a new run, so a view restarts its countdown from then.
class Timer : public Control {
public:
    Timer() : Control(ControlKind::Timer) { Control::SetEnabled(false); }
    // The time between ticks in milliseconds.
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    void SetEnabled(bool enabled) override;
    // Counts the runs (each switch from disabled to enabled).
    std::uint64_t Run() const { return run_; }
    // One tick: raises Timer while enabled; the view calls it every interval.
    void Fire() {
        if (Enabled() && onTimer) onTimer();
    }
    std::function<void()> onTimer;  // the Timer event

private:
    int interval_ = 0;
    std::uint64_t run_ = 0;
};

}  // namespace pelmora
