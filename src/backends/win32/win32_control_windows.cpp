// SPDX-License-Identifier: MIT
#include "backends/win32/win32_control_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/slider_geometry.h"
#include "backends/win32/win32_dib.h"
#include "backends/win32/win32_picture_windows.h"
#include "backends/win32/win32_scale.h"
#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

COLORREF ToColorRef(std::int32_t colour) { return static_cast<COLORREF>(colour) & 0xFFFFFF; }

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(GetWindowLongPtrW(window, 0)); }

// A frame: the dialog face, an etched box from the middle of the caption's line down, and
// the caption on its top line. Opaque, so a page hides whatever lies under it.
void PaintFrame(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, FontOf(window) ? FontOf(window) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT box{0, metrics.tmHeight / 2, client.right, client.bottom};
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    const int length = GetWindowTextLengthW(window);
    if (length > 0) {
        std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
        caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), length + 1)));
        SIZE size;
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        const int indent = ScaleOf(window).ToPhysical(7);
        RECT text{indent, 0, indent + size.cx + ScaleOf(window).ToPhysical(4), metrics.tmHeight};
        FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            SetWindowLongPtrW(window, 0, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return static_cast<LRESULT>(GetWindowLongPtrW(window, 0));
        case WM_SETTEXT:
        case WM_ENABLE: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, FALSE);
            return result;
        }
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintFrame(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A line: its rectangle filled with the line's colour; it takes no mouse input.
LRESULT CALLBACK LineProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (const Line* line = ControlOfWindow<Line>(window))
                FillClient(window, dc, ToColorRef(line->BorderColor()));
            EndPaint(window, &paint);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

void SetText(HWND window, const std::string& text) {
    const std::wstring wanted = Wide(text);
    if (WindowText(window) != wanted) SetWindowTextW(window, wanted.c_str());
}

// Sets the style bits in mask to bits; a change redraws the window with its new look.
void SetStyle(HWND window, LONG_PTR mask, LONG_PTR bits) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & mask) == bits) return;
    SetWindowLongPtrW(window, GWL_STYLE, (style & ~mask) | bits);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(window, nullptr, TRUE);
}

// A colour change repaints the window, which asks its parent for the colours again.
void SyncColours(const Control& control, HWND window, ControlWindowState& state) {
    if (state.shownBack == control.BackColor() && state.shownFore == control.ForeColor()) return;
    state.shownBack = control.BackColor();
    state.shownFore = control.ForeColor();
    InvalidateRect(window, nullptr, TRUE);
}

// The caption and, when the button has one, its picture as an icon at its own size; the
// icon is made again only for a new picture (a button whose value changed keeps it). The
// system's buttons show an icon only with BS_ICON, and then no caption: a button with a
// picture and no caption shows the icon.
void SyncButton(const ButtonControl& control, HWND window, ControlWindowState& state, LayoutScale scale) {
    SetText(window, control.Caption());
    bool iconChanged = false;
    HICON old = nullptr;
    if (!state.pictureShown || state.pictureRevision != control.PictureRevision() || state.pictureDpi != scale.Dpi()) {
        state.pictureShown = true;
        state.pictureRevision = control.PictureRevision();
        state.pictureDpi = scale.Dpi();
        // The picture's pixels as squares of the scale, as a picture box shows them.
        old = std::exchange(state.icon, MakeIcon(control.Picture(), false, 0, 0, scale.Dpi(), kLayoutDpi));
        iconChanged = true;
    }
    const bool showsIcon = state.icon && control.Caption().empty();
    const bool showedIcon = (GetWindowLongPtrW(window, GWL_STYLE) & BS_ICON) != 0;
    // The button takes or gives up its image only while it has BS_ICON: the old image goes
    // before the style, the new one after it.
    if (showedIcon && (iconChanged || !showsIcon)) SendMessageW(window, BM_SETIMAGE, IMAGE_ICON, 0);
    // A caption of several lines ("\n") shows as several lines.
    const bool lines = control.Caption().find('\n') != std::string::npos;
    SetStyle(window, BS_ICON | BS_MULTILINE, (showsIcon ? BS_ICON : 0) | (lines ? BS_MULTILINE : 0));
    if (showsIcon && (iconChanged || !showedIcon))
        SendMessageW(window, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(state.icon));
    if (old) DestroyIcon(old);
}

// Brings the lines a list or combo box shows from state.shownItems to items: appends when
// lines were only added, otherwise starts again.
void ShowLines(HWND window, ControlWindowState& state, const std::vector<std::string>& items, UINT reset, UINT add) {
    std::vector<std::string>& shown = state.shownItems;
    if (items == shown) return;
    const bool onlyAppended = items.size() > shown.size() && std::equal(shown.begin(), shown.end(), items.begin());
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    if (!onlyAppended) {
        SendMessageW(window, reset, 0, 0);
        shown.clear();
    }
    for (std::size_t i = shown.size(); i < items.size(); ++i)
        SendMessageW(window, add, 0, reinterpret_cast<LPARAM>(Wide(items[i]).c_str()));
    shown = items;
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
}

void SyncScrollBar(const ScrollBar& bar, HWND window) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    const int low = ToSliderValue(bar, bar.Min());
    const int high = ToSliderValue(bar, bar.Max());
    info.nMin = std::min(low, high);
    info.nMax = std::max(low, high);
    info.nPage = 0;  // a fixed thumb: every value of the range can be reached
    info.nPos = ToSliderValue(bar, bar.Value());
    SCROLLINFO shown{};
    shown.cbSize = sizeof(shown);
    shown.fMask = SIF_RANGE | SIF_POS;
    if (GetScrollInfo(window, SB_CTL, &shown) && shown.nMin == info.nMin && shown.nMax == info.nMax &&
        shown.nPos == info.nPos)
        return;
    SetScrollInfo(window, SB_CTL, &info, TRUE);
}

void SyncGeometry(const Control& control, HWND window, HFONT font, LayoutScale scale) {
    // Children of a bordered picture are placed relative to the area inside its border.
    const Control* container = control.Container();
    const int inset =
        container && container->Kind() == ControlKind::PictureBox && static_cast<const PictureBox*>(container)->Border()
            ? 1
            : 0;
    const Rect& r = control.Geometry();
    int width = r.width;
    int height = r.height;
    if (control.Kind() == ControlKind::Label && static_cast<const Label&>(control).AutoSize())
        width = LabelWidth(static_cast<const Label&>(control), window, font, scale);
    if (control.Kind() == ControlKind::ComboBox) height += kComboListHeight;  // the open list's height
    // The edges scaled, in the parent's client area (which a bordered picture's inside
    // starts one layout pixel into).
    const RECT place = scale.ToPhysical(r.left + inset, r.top + inset, r.left + inset + std::max(width, 0),
                                        r.top + inset + std::max(height, 0));
    RECT shown;
    GetWindowRect(window, &shown);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&shown), 2);
    const bool same = shown.left == place.left && shown.top == place.top && shown.right == place.right &&
                      (control.Kind() == ControlKind::ComboBox || shown.bottom == place.bottom);
    if (!same)
        SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.Kind() == ControlKind::ComboBox && r.height > 0) {
        // The closed box is as high as its selection field: make it the control's height. The
        // height asked for is corrected once by what the box became, since a system may report
        // the field's height other than it takes it (wine's is two pixels more).
        const int wanted = scale.ToPhysical(r.top + inset + r.height) - scale.ToPhysical(r.top + inset);
        auto field = static_cast<int>(SendMessageW(window, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        for (int attempt = 0; attempt < 2; ++attempt) {
            GetWindowRect(window, &shown);
            const int difference = wanted - (shown.bottom - shown.top);
            if (difference == 0) break;
            field = std::max(1, field + difference);
            SendMessageW(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        }
    }
}

}  // namespace

ControlWindowState::~ControlWindowState() {
    if (icon) DestroyIcon(icon);
}

void RegisterControlClasses() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        RegisterWindowClass(kFrameWindowClass, FrameProcedure, CS_DBLCLKS, sizeof(HFONT));
        RegisterWindowClass(kLineWindowClass, LineProcedure, 0, 0);
        RegisterPictureClasses();
        return true;
    }();
    (void)registered;
}

HWND CreateControlWindow(const Control& control, HWND parent, int id) {
    const wchar_t* windowClass = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (control.Kind()) {
        case ControlKind::Frame:
            windowClass = kFrameWindowClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;  // the tab order goes on into a page's controls
            break;
        case ControlKind::Label:
            // SS_NOTIFY: a static without it lets every click through to its parent.
            windowClass = L"STATIC";
            style |= SS_NOTIFY | SS_NOPREFIX | SS_CENTERIMAGE;
            break;
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP;
            style |= static_cast<const TextBox&>(control).MultiLine()
                         ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL
                         : ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::CheckBox:
            // Not automatic: the control decides the value; a click only asks for the change.
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_CHECKBOX;
            break;
        case ControlKind::OptionButton:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            break;
        case ControlKind::CommandButton:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::ListBox:
            windowClass = L"LISTBOX";
            style |= WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::ComboBox:
            windowClass = L"COMBOBOX";
            style |= WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
            break;
        case ControlKind::PictureBox:
            windowClass = kPictureWindowClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::Shape: windowClass = kShapeWindowClass; break;
        case ControlKind::Line: windowClass = kLineWindowClass; break;
        case ControlKind::ScrollBar:
            windowClass = L"SCROLLBAR";
            style |=
                WS_TABSTOP |
                (static_cast<const ScrollBar&>(control).Direction() == ScrollBar::Orientation::Horizontal ? SBS_HORZ
                                                                                                          : SBS_VERT);
            break;
        case ControlKind::Timer: return nullptr;
    }
    const Rect& r = control.Geometry();
    return CreateWindowExW(exStyle, windowClass, L"", style, r.left, r.top, std::max(r.width, 0), std::max(r.height, 0),
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void SetControlFont(const Control& control, HWND window, const ViewFonts& fonts, LayoutScale scale) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Of(control)), FALSE);
    if (control.Kind() == ControlKind::TextBox) {
        const int margin = scale.Size(1);
        SendMessageW(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    }
}

void SyncControlWindow(const Control& control, HWND window, ControlWindowState& state, HFONT font, LayoutScale scale) {
    switch (control.Kind()) {
        case ControlKind::Frame: SetText(window, static_cast<const Frame&>(control).Caption()); break;
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            SetText(window, label.Caption());
            SetStyle(window, SS_TYPEMASK, label.TextAlignment() == Alignment::Centre ? SS_CENTER : SS_LEFT);
            SetStyle(window, WS_BORDER, label.Border() ? WS_BORDER : 0);
            SyncColours(control, window, state);
            break;
        }
        case ControlKind::TextBox: {
            const auto& box = static_cast<const TextBox&>(control);
            // Replacing the text moves the caret to the start: only when it really differs.
            SetText(window, box.Text());
            const bool readOnly = (GetWindowLongPtrW(window, GWL_STYLE) & ES_READONLY) != 0;
            if (readOnly != box.Locked()) SendMessageW(window, EM_SETREADONLY, box.Locked(), 0);
            SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(std::max(box.MaxLength(), 0)), 0);
            SyncColours(control, window, state);
            break;
        }
        case ControlKind::CheckBox: {
            const auto& box = static_cast<const CheckBox&>(control);
            SetStyle(window, BS_PUSHLIKE, box.Graphical() ? BS_PUSHLIKE : 0);
            SyncButton(box, window, state, scale);
            const WPARAM check = box.Value() == 1 ? BST_CHECKED : BST_UNCHECKED;
            if (static_cast<WPARAM>(SendMessageW(window, BM_GETCHECK, 0, 0)) != check)
                SendMessageW(window, BM_SETCHECK, check, 0);
            SyncColours(control, window, state);
            break;
        }
        case ControlKind::OptionButton: {
            const auto& option = static_cast<const OptionButton&>(control);
            SetStyle(window, BS_PUSHLIKE, option.Graphical() ? BS_PUSHLIKE : 0);
            SyncButton(option, window, state, scale);
            const WPARAM check = option.Value() ? BST_CHECKED : BST_UNCHECKED;
            if (static_cast<WPARAM>(SendMessageW(window, BM_GETCHECK, 0, 0)) != check)
                SendMessageW(window, BM_SETCHECK, check, 0);
            SyncColours(control, window, state);
            break;
        }
        case ControlKind::CommandButton:
            SyncButton(static_cast<const CommandButton&>(control), window, state, scale);
            break;
        case ControlKind::ListBox: {
            const auto& list = static_cast<const ListBox&>(control);
            ShowLines(window, state, list.Items(), LB_RESETCONTENT, LB_ADDSTRING);
            if (static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0)) != list.ListIndex())
                SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
            SyncColours(control, window, state);
            break;
        }
        case ControlKind::ComboBox: {
            const auto& combo = static_cast<const ComboBox&>(control);
            ShowLines(window, state, combo.Items(), CB_RESETCONTENT, CB_ADDSTRING);
            if (static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0)) != combo.ListIndex())
                SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);  // -1 shows no line
            SyncColours(control, window, state);
            break;
        }
        case ControlKind::PictureBox:  // after its geometry, below
        case ControlKind::Shape: break;
        case ControlKind::Line:
            AttachControl(window, control);
            InvalidateRect(window, nullptr, FALSE);
            break;
        case ControlKind::ScrollBar: SyncScrollBar(static_cast<const ScrollBar&>(control), window); break;
        case ControlKind::Timer: return;
    }
    // The geometry after the caption, which sizes an AutoSize label.
    SyncGeometry(control, window, font, scale);
    if (control.Kind() == ControlKind::PictureBox) ShowPicture(window, static_cast<const PictureBox&>(control));
    if (control.Kind() == ControlKind::Shape) ShowShape(window, static_cast<const Shape&>(control));
    const bool visible = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != control.Visible()) ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
    if ((IsWindowEnabled(window) != FALSE) != control.Enabled()) EnableWindow(window, control.Enabled());
}

ColourBrushes::~ColourBrushes() {
    for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
}

HBRUSH ColourBrushes::Of(std::int32_t colour) {
    auto found = brushes_.find(colour);
    if (found == brushes_.end()) found = brushes_.emplace(colour, CreateSolidBrush(ToColorRef(colour))).first;
    return found->second;
}

std::int32_t ColourBehind(const Control& control) {
    for (const Control* container = control.Container(); container; container = container->Container())
        if (container->Kind() == ControlKind::PictureBox && container->BackColor() >= 0) return container->BackColor();
    return static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE));
}

HBRUSH ControlColours(const Control& control, HDC dc, ColourBrushes& brushes) {
    const std::int32_t back = control.BackColor() >= 0 ? control.BackColor() : ColourBehind(control);
    SetBkColor(dc, ToColorRef(back));
    SetTextColor(dc, ToColorRef(control.ForeColor()));
    return brushes.Of(back);
}

HICON MakeIcon(const Surface& image, bool cursor, int hotX, int hotY, int times, int per) {
    if (image.Width() <= 0 || image.Height() <= 0) return nullptr;
    if (times <= 0 || per <= 0) times = per = 1;
    // Each pixel of the image becomes a block of times / per pixels (nearest neighbour).
    const auto scaled = [times, per](int v) {
        return static_cast<int>((static_cast<std::int64_t>(v) * times + per - 1) / per);
    };
    const auto source = [times, per](int v) { return static_cast<int>(static_cast<std::int64_t>(v) * per / times); };
    const int width = scaled(image.Width());
    const int height = scaled(image.Height());
    const BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!colour) return nullptr;
    // The mask: one bit per pixel, rows padded to 16 bits, set where the pixel is transparent.
    const int maskStride = (width + 15) / 16 * 2;
    std::vector<BYTE> mask(static_cast<std::size_t>(maskStride) * height, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const std::int32_t* row = image.Row(source(y));
        for (int x = 0; x < width; ++x) {
            const std::int32_t pixel = row[source(x)];
            const bool transparent = pixel == -1;
            pixels[static_cast<std::size_t>(y) * width + x] = transparent ? 0 : 0xFF000000u | ToDibPixel(pixel);
            if (transparent)
                mask[static_cast<std::size_t>(y) * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, mask.data());
    ICONINFO icon{};
    icon.fIcon = cursor ? FALSE : TRUE;
    // The hot spot scaled to the middle of its pixel's block.
    const auto hot = [&scaled](int v) { return (scaled(v) + scaled(v + 1) - 1) / 2; };
    icon.xHotspot = static_cast<DWORD>(std::clamp(hot(hotX), 0, width - 1));
    icon.yHotspot = static_cast<DWORD>(std::clamp(hot(hotY), 0, height - 1));
    icon.hbmMask = maskBitmap;
    icon.hbmColor = colour;
    HICON result = CreateIconIndirect(&icon);
    DeleteObject(maskBitmap);
    DeleteObject(colour);
    return result;
}

HCURSOR SystemCursor(MousePointer pointer) {
    switch (pointer) {
        case MousePointer::SizeAll: return LoadCursorW(nullptr, IDC_SIZEALL);
        case MousePointer::SizeNESW: return LoadCursorW(nullptr, IDC_SIZENESW);
        case MousePointer::SizeNS: return LoadCursorW(nullptr, IDC_SIZENS);
        case MousePointer::SizeNWSE: return LoadCursorW(nullptr, IDC_SIZENWSE);
        case MousePointer::SizeWE: return LoadCursorW(nullptr, IDC_SIZEWE);
        case MousePointer::Default:
        case MousePointer::Custom: break;
    }
    return nullptr;
}

int LabelWidth(const Label& label, HWND window, HFONT font, LayoutScale scale) {
    const std::wstring caption = Wide(label.Caption());
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    const int frame = label.Border() ? 1 : 0;
    // The text is measured in the scaled font: its width in layout pixels, rounded up.
    return std::max(label.Geometry().width, scale.ToLayoutCeil(static_cast<int>(size.cx)) + 2 * frame + 2);
}

}  // namespace pelmora
