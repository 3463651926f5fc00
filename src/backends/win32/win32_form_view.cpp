// SPDX-License-Identifier: MIT
#include "backends/win32/win32_form_view.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <windowsx.h>

#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/slider_geometry.h"
#include "platform/view_sync.h"
#include "backends/win32/win32_accessible.h"
#include "backends/win32/win32_control_windows.h"
#include "backends/win32/win32_fonts.h"
#include "backends/win32/win32_resource_ids.h"
#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

constexpr const wchar_t* kFormWindowClass = L"PelmoraForm";
// The window's id for accessibility tools, as the Qt view names it.
constexpr const wchar_t* kFormName = L"Form1";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR kSubclassId = 1;

// The program's icon resource drawn side x side, or none when the running executable has
// no icon (the test programs).
HICON ProgramIcon(int side) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PELMORA_ICON_ID), IMAGE_ICON, side,
                                         side, LR_DEFAULTCOLOR));
}

// Shift and Ctrl as the mouse message carries them; Alt from the thread's key state, which
// follows the messages taken out of the queue.
int ShiftState(WPARAM keys) {
    return (keys & MK_SHIFT ? 1 : 0) | (keys & MK_CONTROL ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int ButtonsHeld(WPARAM keys) {
    return (keys & MK_LBUTTON ? kLeftButton : 0) | (keys & MK_RBUTTON ? kRightButton : 0) |
           (keys & MK_MBUTTON ? kMiddleButton : 0);
}

template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// The window rectangle around a client area of size, with the caption and borders of dpi
// (AdjustWindowRectExForDpi where the system has it).
RECT FrameAround(SIZE size, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, size.cx, size.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, kFormStyle, FALSE, kFormExStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
    return frame;
}

// A border on the outermost layout pixels of window at scale, in the colour of the system's
// window frames.
void PaintBorder(HWND window, LayoutScale scale) {
    RECT frame;
    GetWindowRect(window, &frame);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const RECT inside = scale.InsideBorder(w, h);
    HDC dc = GetWindowDC(window);
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOWFRAME);
    for (const RECT& side : {RECT{0, 0, w, inside.top}, RECT{0, inside.bottom, w, h}, RECT{0, 0, inside.left, h},
                             RECT{inside.right, 0, w, h}})
        FillRect(dc, &side, brush);
    ReleaseDC(window, dc);
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The system's own input controls: they track their own presses (taking the capture
// themselves, so the view leaves it alone and only reports their mouse input), and they are
// the controls that take the keyboard, which Tab visits.
bool IsSystemInputControl(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::CommandButton:
        case ControlKind::ListBox:
        case ControlKind::ComboBox:
        case ControlKind::ScrollBar: return true;
        default: return false;
    }
}

}  // namespace

struct Win32FormView::State {
    // One control with its window and what the view last showed of it.
    struct Entry {
        Control* control = nullptr;
        int id = 0;
        HWND window = nullptr;  // nullptr for a timer, and once the window is gone
        ControlWindowState shown;
        std::string toolTip;
        bool acceptsDrops = false;
    };

    State(ControlHost& host, Win32FormView& view) : host(host), view(view), sync(host, [this] { Sync(); }) {}

    ControlHost& host;
    Win32FormView& view;
    // What changed since the windows last mirrored the controls.
    ViewSync sync;
    HWND window = nullptr;
    LayoutScale scale;  // the dpi the windows are laid out at
    SIZE layoutClient{0, 0};
    ViewFonts fonts;
    HICON bigIcon = nullptr;  // the title bar's and Alt+Tab's icon at the scale
    HICON smallIcon = nullptr;
    HWND toolTips = nullptr;
    bool comInitialised = false;
    ColourBrushes brushes;
    std::vector<std::unique_ptr<Entry>> entries;
    std::unordered_map<const Control*, Entry*> byControl;
    std::unordered_map<HWND, Entry*> byWindow;
    // Windows that ask for a control's colours besides its own: a combo box's parts.
    std::unordered_map<HWND, Entry*> colourWindows;
    std::unordered_map<const PointerImage*, HCURSOR> cursors;
    HCURSOR windowCursor = nullptr;  // the window-wide pointer while it is set
    bool syncing = false;
    bool closed = false;
    bool quietDestroy = false;

    Entry* Find(HWND child) const {
        const auto found = byWindow.find(child);
        return found == byWindow.end() ? nullptr : found->second;
    }

    void Create(const std::string& caption, int clientWidth, int clientHeight);
    // The client area of the layout's size at the scale; the window keeps its top-left.
    void FitClient();
    // Lays every window out again at newScale: places, font, pictures and pointers.
    void Rescale(LayoutScale newScale);
    // The program's icon on the window in the sizes of the scale (16 and 32 layout pixels),
    // drawn from the icon's own image of that size rather than shrunk by the title bar.
    void SetIcons();
    // Whether the view draws a label's border (WS_BORDER) itself: at a scale, where the
    // system's is always one screen pixel, it covers the window's outermost layout pixels.
    bool DrawsBorder(const Entry& entry, HWND child) const {
        return !scale.Unscaled() && entry.control->Kind() == ControlKind::Label &&
               (GetWindowLongPtrW(child, GWL_STYLE) & WS_BORDER);
    }
    HCURSOR MakeCursor(const PointerImage& image) const {
        return MakeIcon(image.image, true, image.hotX, image.hotY, CursorSizeAt(scale.Dpi()), CursorSizeAt(kLayoutDpi));
    }
    void Sync();
    void SyncEntry(Entry& entry);
    void SyncToolTip(Entry& entry);
    void SyncMousePointer(const PointerImage* custom);
    void RefreshPointer() const;
    HCURSOR PointerOver(const Control& control);
    void Dispatch(const std::function<void()>& handler) { sync.Dispatch(handler); }
    void DispatchUserAction(Entry& entry, const std::function<void()>& handler) {
        sync.DispatchUserAction(*entry.control, handler);
    }
    void Close();
    bool TakeTabKey(const MSG& message);

    // Messages from child windows to their parent (the form, a frame or a picture).
    bool Notification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Command(Entry& entry, UINT code);
    void Scroll(Entry& entry, UINT code);
    LRESULT Mouse(Entry& entry, HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    void Drop(Entry& entry, HDROP drop);

    static LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ChildProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data);
};

void Win32FormView::State::Create(const std::string& caption, int clientWidth, int clientHeight) {
    RegisterControlClasses();
    static const bool formClassRegistered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = FormProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kFormWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)formClassRegistered;
    layoutClient = {clientWidth, clientHeight};
    const RECT frame = FrameAround(layoutClient, kLayoutDpi);
    CreateWindowExW(kFormExStyle, kFormWindowClass, Wide(caption).c_str(), kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                    this);
    if (!window) return;
    // The dpi is the window's: a program aware of each monitor's learns it only now.
    scale = LayoutScale(DpiOfWindow(window));
    FitClient();
    SetIcons();
    fonts = ViewFonts(scale);

    toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    // The tips are the program's own Chinese texts: in its font, not the system's.
    if (toolTips) SendMessageW(toolTips, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Text()), FALSE);

    const std::vector<Control*>& controls = host.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        auto entry = std::make_unique<Entry>();
        entry->control = controls[i];
        entry->id = static_cast<int>(i) + 1;
        if (controls[i]->Kind() != ControlKind::Timer) {
            const Control* container = controls[i]->Container();
            HWND parent = container ? byControl.at(container)->window : window;
            entry->window = CreateControlWindow(*controls[i], parent, entry->id);
            if (entry->window) {
                SetScaleOf(entry->window, scale);
                SetControlFont(*controls[i], entry->window, fonts, scale);
                // A new child window goes below its siblings; a later control lies above the
                // earlier ones (a page hides what it covers).
                SetWindowPos(entry->window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                SetWindowSubclass(entry->window, ChildProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
                byWindow[entry->window] = entry.get();
                colourWindows[entry->window] = entry.get();
                COMBOBOXINFO combo{};
                combo.cbSize = sizeof(combo);
                if (controls[i]->Kind() == ControlKind::ComboBox && GetComboBoxInfo(entry->window, &combo)) {
                    if (combo.hwndList) colourWindows[combo.hwndList] = entry.get();
                    if (combo.hwndItem) colourWindows[combo.hwndItem] = entry.get();
                }
            }
        }
        byControl[controls[i]] = entry.get();
        entries.push_back(std::move(entry));
    }
}

void Win32FormView::State::FitClient() {
    const SIZE wanted{scale.ToPhysical(layoutClient.cx), scale.ToPhysical(layoutClient.cy)};
    RECT frame = FrameAround(wanted, scale.Dpi());
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame's metrics at that dpi may be off by a pixel or two: the client area decides.
    RECT client;
    GetClientRect(window, &client);
    if (client.right != wanted.cx || client.bottom != wanted.cy) {
        GetWindowRect(window, &frame);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + wanted.cx - client.right,
                     frame.bottom - frame.top + wanted.cy - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32FormView::State::SetIcons() {
    HICON oldBig = std::exchange(bigIcon, ProgramIcon(scale.ToPhysical(32)));
    HICON oldSmall = std::exchange(smallIcon, ProgramIcon(scale.ToPhysical(16)));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    if (oldBig) DestroyIcon(oldBig);
    if (oldSmall) DestroyIcon(oldSmall);
}

void Win32FormView::State::Rescale(LayoutScale newScale) {
    if (newScale == scale || !window) return;
    scale = newScale;
    SetIcons();
    // The old fonts go once no window uses them.
    const ViewFonts oldFonts = std::exchange(fonts, ViewFonts(scale));
    if (toolTips) SendMessageW(toolTips, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Text()), FALSE);
    for (const auto& entry : entries) {
        if (!entry->window) continue;
        SetScaleOf(entry->window, scale);
        SetControlFont(*entry->control, entry->window, fonts, scale);
        SetWindowPos(entry->window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);  // the borders
        if (entry->control->Kind() == ControlKind::PictureBox) InvalidateRect(entry->window, nullptr, FALSE);
    }
    // The pointers are made again at the new size when next asked for (one on show is
    // put aside first: a cursor in use cannot be destroyed).
    for (const auto& [image, cursor] : cursors) {
        if (!cursor) continue;
        if (GetCursor() == cursor) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        DestroyCursor(cursor);
    }
    cursors.clear();
    sync.MirrorAllAgain();  // every place, picture, region and pointer again
    Sync();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32FormView::State::Sync() {
    if (!window) return;
    const bool wasSyncing = std::exchange(syncing, true);  // what a sync changes is no user action
    const ViewWork work = sync.Take();
    bool pointerChanged = work.pointerChanged;
    for (const auto& [control, controlPointerChanged] : work.controls) {
        Entry& entry = *byControl.at(control);
        if (!entry.window) continue;
        SyncEntry(entry);
        pointerChanged = pointerChanged || controlPointerChanged;
    }
    for (const Timer* timer : work.timersToStop) KillTimer(window, static_cast<UINT_PTR>(byControl.at(timer)->id));
    // A new run counts its interval from now.
    for (const Timer* timer : work.timersToStart)
        SetTimer(window, static_cast<UINT_PTR>(byControl.at(timer)->id), static_cast<UINT>(timer->Interval()), nullptr);
    if (work.focus)
        if (HWND focus = byControl.at(work.focus)->window) SetFocus(focus);
    if (work.pointerChanged) SyncMousePointer(work.windowPointer);
    if (work.visibilityChanged) ShowWindow(window, host.WindowVisible() ? SW_SHOW : SW_HIDE);
    syncing = wasSyncing;
    if (pointerChanged) RefreshPointer();
}

void Win32FormView::State::SyncEntry(Entry& entry) {
    Control& control = *entry.control;
    SyncControlWindow(control, entry.window, entry.shown, fonts.Text(), scale);
    SyncToolTip(entry);
    const bool wantsDrops = control.onDropFiles && control.Enabled();
    if (wantsDrops != entry.acceptsDrops) {
        entry.acceptsDrops = wantsDrops;
        DragAcceptFiles(entry.window, wantsDrops);
    }
}

void Win32FormView::State::SyncToolTip(Entry& entry) {
    const std::string& wanted = entry.control->ToolTip();
    if (!toolTips || wanted == entry.toolTip) return;
    std::wstring text = Wide(wanted);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(entry.window);
    tool.uId = reinterpret_cast<UINT_PTR>(entry.window);
    tool.lpszText = text.data();
    if (wanted.empty()) SendMessageW(toolTips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    else if (entry.toolTip.empty()) SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    else SendMessageW(toolTips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    entry.toolTip = wanted;
}

void Win32FormView::State::SyncMousePointer(const PointerImage* custom) {
    HCURSOR old = std::exchange(windowCursor, custom ? MakeCursor(*custom) : nullptr);
    if (windowCursor && GetCapture() && (GetCapture() == window || IsChild(window, GetCapture())))
        SetCursor(windowCursor);
    if (old) {
        if (GetCursor() == old) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        DestroyCursor(old);
    }
}

HCURSOR Win32FormView::State::PointerOver(const Control& control) {
    // A control with the default pointer shows its container's, as far up as one sets one.
    for (const Control* c = &control; c; c = c->Container()) {
        if (c->Pointer() == MousePointer::Custom && c->MouseIcon()) {
            auto cursor = cursors.find(c->MouseIcon());
            if (cursor == cursors.end()) {
                cursor = cursors.emplace(c->MouseIcon(), MakeCursor(*c->MouseIcon())).first;
            }
            if (cursor->second) return cursor->second;
        } else if (HCURSOR shape = SystemCursor(c->Pointer())) {
            return shape;
        }
    }
    return nullptr;
}

// Shows at once the pointer that belongs where the mouse is now, as the next move would.
void Win32FormView::State::RefreshPointer() const {
    POINT at;
    if (!GetCursorPos(&at) || GetCapture()) return;
    HWND under = WindowFromPoint(at);
    if (!under || (under != window && !IsChild(window, under))) return;
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

bool Win32FormView::State::TakeTabKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !window) return false;
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    // The control that has the focus: its window, or a part of it (a combo box's field).
    Entry* current = nullptr;
    for (HWND part = GetFocus(); part && part != window && !current; part = GetParent(part)) current = Find(part);
    // A multi-line field keeps its Tab, as it does in the Qt view.
    if (current && current->control->Kind() == ControlKind::TextBox &&
        static_cast<const TextBox*>(current->control)->MultiLine())
        return false;
    const auto count = static_cast<std::ptrdiff_t>(entries.size());
    std::ptrdiff_t at = -1;
    for (std::ptrdiff_t i = 0; current && i < count; ++i)
        if (entries[static_cast<std::size_t>(i)].get() == current) at = i;
    const std::ptrdiff_t step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    if (at < 0) at = step > 0 ? -1 : count;
    for (std::ptrdiff_t n = 1; n <= count; ++n) {
        const Entry& next = *entries[static_cast<std::size_t>(((at + step * n) % count + count) % count)];
        if (!next.window || !IsSystemInputControl(next.control->Kind()) || !IsWindowVisible(next.window) ||
            !IsWindowEnabled(next.window))
            continue;
        SetFocus(next.window);
        // A field reached by Tab has its text selected, ready to be typed over.
        if (next.control->Kind() == ControlKind::TextBox) SendMessageW(next.window, EM_SETSEL, 0, -1);
        return true;
    }
    return true;
}

void Win32FormView::State::Close() {
    if (closed) return;
    closed = true;
    if (view.onClose) view.onClose();
}

bool Win32FormView::State::Notification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND: {
            Entry* entry = lParam ? Find(reinterpret_cast<HWND>(lParam)) : nullptr;
            if (!entry) return false;
            Command(*entry, HIWORD(wParam));
            result = 0;
            return true;
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            Entry* entry = lParam ? Find(reinterpret_cast<HWND>(lParam)) : nullptr;
            if (!entry || entry->control->Kind() != ControlKind::ScrollBar) return false;
            Scroll(*entry, LOWORD(wParam));
            result = 0;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: {
            const auto found = colourWindows.find(reinterpret_cast<HWND>(lParam));
            if (found == colourWindows.end()) return false;
            result = reinterpret_cast<LRESULT>(
                ControlColours(*found->second->control, reinterpret_cast<HDC>(wParam), brushes));
            return true;
        }
        default: return false;
    }
}

void Win32FormView::State::Command(Entry& entry, UINT code) {
    if (syncing) return;  // the window changed because the control did
    Control& control = *entry.control;
    switch (control.Kind()) {
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                auto& box = static_cast<CheckBox&>(control);
                DispatchUserAction(entry, [&box] { box.SetValue(1 - box.Value()); });
            }
            break;
        case ControlKind::OptionButton:
            if (code == BN_CLICKED) {
                auto& option = static_cast<OptionButton&>(control);
                DispatchUserAction(entry, [&option] { option.Select(); });
            }
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) Dispatch([&control] { control.RaiseClick(); });
            break;
        case ControlKind::TextBox:
            if (code == EN_CHANGE) {
                auto& box = static_cast<TextBox&>(control);
                const std::string text = Utf8(WindowText(entry.window));
                DispatchUserAction(entry, [&box, &text] { box.SetText(text); });
            }
            break;
        case ControlKind::ListBox: {
            auto& list = static_cast<ListBox&>(control);
            if (code == LBN_SELCHANGE) {
                const auto index = static_cast<int>(SendMessageW(entry.window, LB_GETCURSEL, 0, 0));
                if (index >= 0) DispatchUserAction(entry, [&list, index] { list.SetListIndex(index); });
            } else if (code == LBN_DBLCLK) {
                // Only a double click on a line, not on the empty space below the last.
                const DWORD at = GetMessagePos();
                POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
                ScreenToClient(entry.window, &point);
                const auto item =
                    static_cast<DWORD>(SendMessageW(entry.window, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
                if (HIWORD(item) == 0) Dispatch([&list] { list.RaiseDblClick(); });
            }
            break;
        }
        case ControlKind::ComboBox:
            if (code == CBN_SELCHANGE) {
                auto& combo = static_cast<ComboBox&>(control);
                const auto index = static_cast<int>(SendMessageW(entry.window, CB_GETCURSEL, 0, 0));
                if (index >= 0) DispatchUserAction(entry, [&combo, index] { combo.SetListIndex(index); });
            }
            break;
        default: break;
    }
}

void Win32FormView::State::Scroll(Entry& entry, UINT code) {
    if (syncing) return;
    auto& bar = static_cast<ScrollBar&>(*entry.control);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(entry.window, SB_CTL, &info);
    const auto step = [this, &entry, &bar](int delta) {
        const std::int16_t value = SteppedValue(bar, delta);
        DispatchUserAction(entry, [&bar, value] { bar.SetValue(value); });
    };
    const auto moveTo = [this, &entry, &bar](int sliderValue) {
        const std::int16_t value = FromSliderValue(bar, sliderValue);
        DispatchUserAction(entry, [&bar, value] { bar.SetValue(value); });
    };
    switch (code) {
        case SB_LINEUP: step(-bar.SmallChange()); break;
        case SB_LINEDOWN: step(bar.SmallChange()); break;
        case SB_PAGEUP: step(-bar.LargeChange()); break;
        case SB_PAGEDOWN: step(bar.LargeChange()); break;
        case SB_TOP: moveTo(info.nMin); break;
        case SB_BOTTOM: moveTo(info.nMax); break;
        case SB_THUMBTRACK: {
            // The thumb dragged: Scroll at every step, the value following at once.
            if (!entry.shown.thumbDragged) {
                entry.shown.thumbDragged = true;
                bar.BeginDrag();
            }
            const std::int16_t value = FromSliderValue(bar, info.nTrackPos);
            DispatchUserAction(entry, [&bar, value] { bar.DragTo(value); });
            break;
        }
        case SB_THUMBPOSITION:
        case SB_ENDSCROLL:
            if (entry.shown.thumbDragged) {
                entry.shown.thumbDragged = false;
                DispatchUserAction(entry, [&bar] { bar.EndDrag(); });
            } else if (code == SB_THUMBPOSITION) {
                moveTo(info.nTrackPos);  // the thumb let go where it was pressed
            }
            break;
        default: break;
    }
}

LRESULT Win32FormView::State::Mouse(Entry& entry, HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    Control& control = *entry.control;
    // The second press of a double click arrives as the double click itself, and its
    // release follows.
    MouseInput input;
    switch (message) {
        case WM_LBUTTONDOWN: input = {MouseAction::Press, kLeftButton}; break;
        case WM_RBUTTONDOWN: input = {MouseAction::Press, kRightButton}; break;
        case WM_MBUTTONDOWN: input = {MouseAction::Press, kMiddleButton}; break;
        case WM_LBUTTONUP: input = {MouseAction::Release, kLeftButton}; break;
        case WM_RBUTTONUP: input = {MouseAction::Release, kRightButton}; break;
        case WM_MBUTTONUP: input = {MouseAction::Release, kMiddleButton}; break;
        case WM_LBUTTONDBLCLK: input = {MouseAction::DoubleClick, kLeftButton}; break;
        case WM_RBUTTONDBLCLK: input = {MouseAction::DoubleClick, kRightButton}; break;
        case WM_MBUTTONDBLCLK: input = {MouseAction::DoubleClick, kMiddleButton}; break;
        default: input = {MouseAction::Move, ButtonsHeld(wParam)}; break;
    }
    // The view keeps the capture of its own windows while any button is held, so that the
    // moves and the release keep coming from outside; system controls keep their own.
    const bool ownCapture = !IsSystemInputControl(control.Kind());
    if (ownCapture) {
        const bool pressed = input.action == MouseAction::Press || input.action == MouseAction::DoubleClick;
        if (pressed && GetCapture() != child) SetCapture(child);
        if (input.action == MouseAction::Release && ButtonsHeld(wParam) == 0 && GetCapture() == child) ReleaseCapture();
    }
    if (windowCursor && GetCapture()) SetCursor(windowCursor);  // the window's pointer also during a drag

    // Relative to the control's window, whose client area may lie inside a border, and in
    // layout pixels: the handlers never see the scale.
    POINT origin{0, 0};
    MapWindowPoints(child, nullptr, &origin, 1);
    RECT frame;
    GetWindowRect(child, &frame);
    const POINT physical{GET_X_LPARAM(lParam) + origin.x - frame.left, GET_Y_LPARAM(lParam) + origin.y - frame.top};
    input.shift = ShiftState(wParam);
    input.x = scale.ToLayout(physical.x);
    input.y = scale.ToLayout(physical.y);
    input.onControl = physical.x >= 0 && physical.y >= 0 && physical.x < frame.right - frame.left &&
                      physical.y < frame.bottom - frame.top;
    sync.RaiseMouse(control, input);
    if (!entry.window) return 0;  // a handler closed the window
    return DefSubclassProc(child, message, wParam, lParam);
}

void Win32FormView::State::Drop(Entry& entry, HDROP drop) {
    std::vector<std::string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        files.push_back(Utf8(name));
    }
    DragFinish(drop);
    Control& control = *entry.control;
    if (control.onDropFiles && control.Enabled()) Dispatch([&control, &files] { control.RaiseDropFiles(files); });
}

LRESULT CALLBACK Win32FormView::State::FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* state = static_cast<State*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        state->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    }
    // The hotkey service may hook this window's procedure in front of this one: the view
    // is found from the window, not from the procedure.
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    if (state->Notification(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_TIMER: {
            const auto index = static_cast<std::size_t>(wParam) - 1;
            if (index < state->entries.size() && state->entries[index]->control->Kind() == ControlKind::Timer) {
                auto& timer = static_cast<Timer&>(*state->entries[index]->control);
                state->Dispatch([&timer] { timer.Fire(); });
            }
            return 0;
        }
        case WM_SETCURSOR:
            if (state->windowCursor) {
                SetCursor(state->windowCursor);
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            // Moved to a monitor of another dpi (or the dpi changed): laid out again, in the
            // place Windows suggests, with the client area of the layout at the new scale.
            state->Rescale(LayoutScale(LOWORD(wParam)));
            if (const auto* suggested = reinterpret_cast<const RECT*>(lParam))
                SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                             suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            state->FitClient();
            return 0;
        }
        case WM_CLOSE:
            state->Close();
            DestroyWindow(window);
            return 0;
        case WM_ENDSESSION:
            if (wParam) state->Close();
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerAccessibleObject(window, wParam, lParam, kFormName, L"")) return answer;
            break;
        case WM_DESTROY:
            if (!state->quietDestroy) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            state->window = nullptr;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FormView::State::ChildProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                      DWORD_PTR data) {
    auto& state = *reinterpret_cast<State*>(data);
    LRESULT result = 0;
    if (state.Notification(message, wParam, lParam, result)) return result;  // a frame's or a picture's children
    Entry* entry = state.Find(child);
    if (!entry) return DefSubclassProc(child, message, wParam, lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE: return state.Mouse(*entry, child, message, wParam, lParam);
        case WM_SETCURSOR:
            // The window-wide pointer beats every control's; a control's own pointer shows
            // over it (asked by the window under the mouse, before its parents).
            if (state.windowCursor) {
                SetCursor(state.windowCursor);
                return TRUE;
            }
            if (reinterpret_cast<HWND>(wParam) == child) {
                if (HCURSOR cursor = state.PointerOver(*entry->control)) {
                    SetCursor(cursor);
                    return TRUE;
                }
            }
            break;
        case WM_NCCALCSIZE:
            if (state.DrawsBorder(*entry, child)) {
                RECT* area =
                    wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
                const RECT inside = state.scale.InsideBorder(area->right - area->left, area->bottom - area->top);
                *area = {area->left + inside.left, area->top + inside.top, area->left + inside.right,
                         area->top + inside.bottom};
                return 0;
            }
            break;
        case WM_NCPAINT:
            if (state.DrawsBorder(*entry, child)) {
                PaintBorder(child, state.scale);
                return 0;
            }
            break;
        case WM_DROPFILES: state.Drop(*entry, reinterpret_cast<HDROP>(wParam)); return 0;
        case WM_GETOBJECT:
            // The control's id as the description test tools find it by, and what a person
            // reads (its caption, or its label's) as the name; read now, so always current.
            if (const LRESULT answer = AnswerAccessibleObject(child, wParam, lParam, Wide(entry->control->ObjectName()),
                                                              Wide(entry->control->ReadableName())))
                return answer;
            break;
        case WM_NCDESTROY:
            ForgetScaleOf(child);
            RemoveWindowSubclass(child, ChildProcedure, kSubclassId);
            state.byWindow.erase(child);
            state.colourWindows.erase(child);
            entry->window = nullptr;
            break;
        default: break;
    }
    return DefSubclassProc(child, message, wParam, lParam);
}

Win32FormView::Win32FormView(ControlHost& host, const std::string& caption, int clientWidth, int clientHeight)
    : state_(std::make_unique<State>(host, *this)) {
    // Accessibility clients get the controls' objects through COM; the program initialises
    // OLE itself, a test may not have.
    state_->comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    state_->Create(caption, clientWidth, clientHeight);
    Sync();
}

Win32FormView::~Win32FormView() {
    if (state_->window) {
        state_->quietDestroy = true;  // the program's loop ends on a close, not on this
        DestroyWindow(state_->window);
    }
    for (const auto& [image, cursor] : state_->cursors)
        if (cursor) DestroyCursor(cursor);
    if (state_->windowCursor) DestroyCursor(state_->windowCursor);
    if (state_->bigIcon) DestroyIcon(state_->bigIcon);
    if (state_->smallIcon) DestroyIcon(state_->smallIcon);
    if (state_->comInitialised) CoUninitialize();
}

HWND Win32FormView::Window() const { return state_->window; }

HWND Win32FormView::WindowOf(const Control& control) const {
    const auto found = state_->byControl.find(&control);
    return found == state_->byControl.end() ? nullptr : found->second->window;
}

Control* Win32FormView::ControlOf(HWND window) const {
    const State::Entry* entry = state_->Find(window);
    return entry ? entry->control : nullptr;
}

void Win32FormView::Dispatch(const std::function<void()>& handler) { state_->Dispatch(handler); }

void Win32FormView::Sync() { state_->Sync(); }

bool Win32FormView::TakeTabKey(const MSG& message) { return state_->TakeTabKey(message); }

}  // namespace pelmora
