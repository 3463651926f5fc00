// SPDX-License-Identifier: MIT
// The Win32 view against wine's real window manager code: child windows made and synced
// from the controls, user actions on them raising the controls' events and nothing else,
// pixels on the screen, real mouse input, pointers, drops, timers and closing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <oleacc.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "backends/fake/fake_services.h"
#include "backends/win32/win32_form_view.h"
#include "backends/win32/win32_text.h"
#include "contract/control_view_contract.h"
#include "view_test_support.h"

using namespace pelmora;
using pelmora::contract::ScrollStep;
using pelmora::contract::ViewContractForm;

namespace {

constexpr int kRed = 0x0000FF;
constexpr int kGreen = 0x00FF00;
constexpr int kBlue = 0xFF0000;
constexpr int kYellow = 0x00FFFF;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT OnScreen(HWND window, int x, int y) {
    POINT at{x, y};
    ClientToScreen(window, &at);
    return at;
}

// A picture: a cross of red on a 5 x 3 image whose corners are transparent.
Surface CrossPicture() {
    Surface picture(5, 3, kRed);
    picture.SetPixel(0, 0, -1);
    picture.SetPixel(4, 0, -1);
    picture.SetPixel(0, 2, -1);
    picture.SetPixel(4, 2, -1);
    return picture;
}

// One control of each kind on a 320 x 240 window, with counters for their events.
struct Host : ControlHost {
    Frame frame;
    Label label;
    CheckBox check;
    std::array<OptionButton, 2> options;
    CommandButton command;
    TextBox text;
    TextBox lines;
    ListBox list;
    ComboBox combo;
    ScrollBar bar{ScrollBar::Orientation::Vertical};
    PictureBox picture;
    Shape outline;
    PictureBox viewport;
    PictureBox display;
    Shape filled;
    Line line;
    CheckBox toggle;
    Timer timer;

    std::vector<std::string> events;

    Host() {
        frame.Place(*this, nullptr, "frame", -1, {8, 8, 140, 110});
        frame.SetCaption("框架");
        label.Place(*this, &frame, "label", -1, {8, 20, 60, 16});
        label.SetCaption("标签");
        label.SetToolTip("提示文字");
        check.Place(*this, &frame, "check", -1, {8, 40, 80, 18});
        check.SetCaption("选择");
        for (int i = 0; i < 2; ++i) {
            options[i].Place(*this, &frame, "option", i, {8 + i * 62, 60, 60, 18});
            options[i].SetCaption(i == 0 ? "甲" : "乙");
        }
        command.Place(*this, &frame, "command", -1, {8, 82, 60, 20});
        command.SetCaption("按钮");
        text.Place(*this, nullptr, "text", -1, {160, 8, 100, 20});
        lines.Place(*this, nullptr, "lines", -1, {160, 32, 100, 44});
        lines.SetMultiLine(true);
        list.Place(*this, nullptr, "list", -1, {160, 80, 100, 50});
        combo.Place(*this, nullptr, "combo", -1, {160, 134, 100, 22});
        bar.Place(*this, nullptr, "bar", -1, {290, 8, 17, 150});
        bar.SetMax(100);
        picture.Place(*this, nullptr, "picture", -1, {8, 124, 61, 51});
        picture.SetBackColor(kGreen);
        outline.Place(*this, &picture, "outline", -1, {30, 20, 20, 20});
        outline.SetFilled(false);
        outline.SetBorderColor(kBlue);
        viewport.Place(*this, nullptr, "viewport", -1, {80, 124, 60, 50});
        viewport.SetBorder(false);
        display.Place(*this, &viewport, "display", -1, {-3000, -2000, 6400, 4800});
        display.SetBorder(false);
        filled.Place(*this, nullptr, "filled", -1, {160, 164, 30, 30});
        filled.SetBackColor(kYellow);
        line.Place(*this, nullptr, "line", -1, {});
        line.SetEnds(200, 170, 260, 170);
        line.SetBorderColor(kBlue);
        toggle.Place(*this, nullptr, "toggle", -1, {200, 200, 60, 24});
        toggle.SetCaption("开关");
        toggle.SetGraphical(true);
        timer.Place(*this, nullptr, "timer", -1, {});

        label.onClick = [this] { events.push_back("label click"); };
        label.onDblClick = [this] { events.push_back("label dblclick"); };
        check.onClick = [this] { events.push_back("check click " + std::to_string(check.Value())); };
        for (int i = 0; i < 2; ++i)
            options[i].onClick = [this, i] { events.push_back("option click " + std::to_string(i)); };
        command.onClick = [this] { events.push_back("command click"); };
        text.onChange = [this] { events.push_back("text change " + text.Text()); };
        lines.onChange = [this] { events.push_back("lines change"); };
        list.onClick = [this] { events.push_back("list click " + std::to_string(list.ListIndex())); };
        list.onDblClick = [this] { events.push_back("list dblclick"); };
        combo.onClick = [this] { events.push_back("combo click " + std::to_string(combo.ListIndex())); };
        bar.onChange = [this] { events.push_back("bar change " + std::to_string(bar.Value())); };
        bar.onScroll = [this] { events.push_back("bar scroll"); };
        const auto record = [this](const char* what) {
            return [this, what](const MouseEvent& e) {
                events.push_back(std::string(what) + " " + std::to_string(e.button) + " " + std::to_string(e.shift) +
                                 " " + std::to_string(e.x) + "," + std::to_string(e.y));
            };
        };
        picture.onMouseDown = record("down");
        picture.onMouseMove = record("move");
        picture.onMouseUp = record("up");
        picture.onDblClick = [this] { events.push_back("dblclick"); };
        picture.onDropFiles = [this](const std::vector<std::string>& files) {
            std::string all = "drop";
            for (const std::string& file : files) all += " " + file;
            events.push_back(all);
        };
        timer.onTimer = [this] {
            events.push_back("timer");
            label.SetCaption("计时 " + std::to_string(events.size()));
        };
    }

    // The events since the last call.
    std::vector<std::string> Take() { return std::exchange(events, {}); }
};

struct Win32FormViewTest : ::testing::Test {
    Host host;
    Win32FormView view{host, "测试窗口", 320, 240};

    Win32FormViewTest() {
        SetWindowPos(view.Window(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        view.Dispatch([this] { host.SetWindowVisible(true); });
        UpdateWindow(view.Window());
        Pump();
        host.Take();
    }
    ~Win32FormViewTest() override {
        if (GetCapture()) ReleaseCapture();
        Pump();
    }
    HWND W(const Control& control) const { return view.WindowOf(control); }
    // A notification as the child window sends it to its parent.
    void Notify(const Control& control, UINT code) {
        HWND child = W(control);
        SendMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), code),
                     reinterpret_cast<LPARAM>(child));
    }
    void ScrollBy(UINT code) {
        HWND child = W(host.bar);
        SendMessageW(GetParent(child), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(child));
    }
    void Paint() {
        UpdateWindow(view.Window());
        Pump();
    }
};

// The control view contract on the Win32 view: notifications as the child windows send
// them, and real mouse input where the window itself must tell a click from a drag.
struct Win32ViewTraits {
    explicit Win32ViewTraits(ViewContractForm& form) : form(form), view(form, "测试窗口", 320, 200) {
        SetWindowPos(view.Window(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        view.Dispatch([&form] { form.SetWindowVisible(true); });
        UpdateWindow(view.Window());
        Pump();
    }
    ~Win32ViewTraits() {
        if (GetCapture()) ReleaseCapture();
        Pump();
    }
    Win32ViewTraits(const Win32ViewTraits&) = delete;
    Win32ViewTraits& operator=(const Win32ViewTraits&) = delete;

    void Dispatch(const std::function<void()>& handler) { view.Dispatch(handler); }
    HWND W(const Control& control) const { return view.WindowOf(control); }

    std::vector<std::string> Lines(const ListBox& list) { return LinesOf(W(list), LB_GETCOUNT, LB_GETTEXT); }
    std::vector<std::string> Lines(const ComboBox& combo) { return LinesOf(W(combo), CB_GETCOUNT, CB_GETLBTEXT); }
    int ShownIndex(const ListBox& list) { return static_cast<int>(SendMessageW(W(list), LB_GETCURSEL, 0, 0)); }
    int ShownIndex(const ComboBox& combo) { return static_cast<int>(SendMessageW(W(combo), CB_GETCURSEL, 0, 0)); }
    int LineCount(const TextBox& box) { return static_cast<int>(SendMessageW(W(box), EM_GETLINECOUNT, 0, 0)); }
    bool ShownChecked(const CheckBox& box) { return SendMessageW(W(box), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // The window's range runs upwards: a range from a higher Min is shown negated.
    int ShownValue(const ScrollBar& bar) {
        const int position = GetScrollPos(W(bar), SB_CTL);
        return bar.Min() > bar.Max() ? -position : position;
    }

    void ChooseRow(const ListBox& list, int row) {
        SendMessageW(W(list), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        Notify(list, LBN_SELCHANGE);
    }
    void ChooseLine(const ComboBox& combo, int line) {
        SendMessageW(W(combo), CB_SETCURSEL, static_cast<WPARAM>(line), 0);
        Notify(combo, CBN_SELCHANGE);
    }
    void Click(const Label& label) { ClickTimes(label, 1); }
    void DoubleClick(const Label& label) { ClickTimes(label, 2); }
    void Click(const CheckBox& box) { SendMessageW(W(box), BM_CLICK, 0, 0); }
    void Step(const ScrollBar& bar, ScrollStep step) {
        const UINT code = step == ScrollStep::LineUp     ? SB_LINEUP
                          : step == ScrollStep::LineDown ? SB_LINEDOWN
                                                         : SB_PAGEDOWN;
        HWND child = W(bar);
        SendMessageW(GetParent(child), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(child));
    }
    // The bar tracks the thumb in a loop of its own while the button is down; it ends on
    // the release, which a timer queues beforehand in steps.
    void DragThumb(const ScrollBar& bar) {
        RECT frame;
        GetWindowRect(W(bar), &frame);
        const POINT thumb{frame.left + 8, frame.top + GetSystemMetrics(SM_CYVSCROLL) + 4};
        MovePointer(thumb);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        static int step;
        static POINT start;
        step = 0;
        start = thumb;
        SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
            ++step;
            if (step <= 3) {
                SetCursorPos(start.x, start.y + step * 15);
                SendMouse(MOUSEEVENTF_MOVE);
            } else {
                SendMouse(MOUSEEVENTF_LEFTUP);
                KillTimer(nullptr, id);
            }
        });
        EXPECT_TRUE(WaitUntil([] { return step > 3; }));
        EXPECT_TRUE(WaitUntil([this] { return !form.log.empty() && form.log.back().rfind("bar change", 0) == 0; }));
    }
    void TypeLineBreakAndText(const TextBox& box, const std::string& text) {
        HWND edit = W(box);
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
        SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendMessageW(edit, WM_CHAR, L'\r', 1);
        for (const wchar_t c : Wide(text)) SendMessageW(edit, WM_CHAR, c, 1);
    }

    ViewContractForm& form;
    Win32FormView view;

private:
    std::vector<std::string> LinesOf(HWND window, UINT count, UINT get) {
        std::vector<std::string> lines;
        for (WPARAM i = 0; i < static_cast<WPARAM>(SendMessageW(window, count, 0, 0)); ++i) {
            wchar_t line[64] = {};
            SendMessageW(window, get, i, reinterpret_cast<LPARAM>(line));
            lines.push_back(Utf8(line));
        }
        return lines;
    }
    void Notify(const Control& control, UINT code) {
        HWND child = W(control);
        SendMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), code),
                     reinterpret_cast<LPARAM>(child));
    }
    // Real clicks; the first comes a double-click time after the last ones, so that it
    // starts a click of its own. Returns once the events have come and a moment passed.
    void ClickTimes(const Control& control, int times) {
        const auto since = std::chrono::steady_clock::now() - lastClicks_;
        const auto doubleClickTime = std::chrono::milliseconds(GetDoubleClickTime() + 50);
        if (since < doubleClickTime) {
            const auto until = std::chrono::steady_clock::now() + doubleClickTime - since;
            WaitUntil([until] { return std::chrono::steady_clock::now() > until; });
        }
        MovePointer(OnScreen(W(control), 5, 5));
        const std::size_t before = form.log.size();
        for (int i = 0; i < times; ++i) {
            SendMouse(MOUSEEVENTF_LEFTDOWN);
            SendMouse(MOUSEEVENTF_LEFTUP);
        }
        EXPECT_TRUE(WaitUntil([&] { return form.log.size() >= before + static_cast<std::size_t>(times); }));
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        WaitUntil([until] { return std::chrono::steady_clock::now() > until; });
        lastClicks_ = std::chrono::steady_clock::now();
    }
    std::chrono::steady_clock::time_point lastClicks_{};
};

}  // namespace

namespace pelmora::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ControlViewContract, Win32ViewTraits);
}  // namespace pelmora::contract

namespace {

TEST_F(Win32FormViewTest, WindowsHaveTheKindsClassesParentsAndPlacesOfTheirControls) {
    RECT client;
    GetClientRect(view.Window(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(TextOf(view.Window()), L"测试窗口");
    EXPECT_FALSE(StyleOf(view.Window()) & WS_THICKFRAME);

    EXPECT_EQ(ClassOf(W(host.frame)), L"PelmoraFrame");
    EXPECT_EQ(ClassOf(W(host.label)), L"Static");
    EXPECT_EQ(ClassOf(W(host.check)), L"Button");
    EXPECT_EQ(ClassOf(W(host.text)), L"Edit");
    EXPECT_EQ(ClassOf(W(host.list)), L"ListBox");
    EXPECT_EQ(ClassOf(W(host.combo)), L"ComboBox");
    EXPECT_EQ(ClassOf(W(host.bar)), L"ScrollBar");
    EXPECT_EQ(ClassOf(W(host.picture)), L"PelmoraPicture");
    EXPECT_EQ(ClassOf(W(host.outline)), L"PelmoraShape");
    EXPECT_EQ(ClassOf(W(host.line)), L"PelmoraLine");
    EXPECT_EQ(view.WindowOf(host.timer), nullptr);

    // Children of a frame are its windows' children; of a bordered picture, inset by its border.
    EXPECT_EQ(GetParent(W(host.label)), W(host.frame));
    EXPECT_EQ(GetParent(W(host.text)), view.Window());
    EXPECT_TRUE(SameRect(PlaceOf(W(host.frame)), {8, 8, 148, 118}));
    EXPECT_TRUE(SameRect(PlaceOf(W(host.check)), {8, 40, 88, 58}));
    EXPECT_TRUE(SameRect(PlaceOf(W(host.outline)), {31, 21, 51, 41}));
    EXPECT_TRUE(SameRect(PlaceOf(W(host.display)), {-3000, -2000, 3400, 2800}));
    EXPECT_TRUE(SameRect(PlaceOf(W(host.line)), {200, 170, 260, 171}));
    EXPECT_EQ(PlaceOf(W(host.combo)).bottom - PlaceOf(W(host.combo)).top, 22);  // the closed box

    EXPECT_EQ(TextOf(W(host.frame)), L"框架");
    EXPECT_EQ(TextOf(W(host.check)), L"选择");
    EXPECT_EQ(StyleOf(W(host.check)) & BS_TYPEMASK, BS_CHECKBOX);
    EXPECT_EQ(StyleOf(W(host.options[0])) & BS_TYPEMASK, BS_RADIOBUTTON);
    EXPECT_TRUE(StyleOf(W(host.toggle)) & BS_PUSHLIKE);
    EXPECT_TRUE(StyleOf(W(host.lines)) & ES_MULTILINE);
    EXPECT_FALSE(StyleOf(W(host.text)) & ES_MULTILINE);

    // Control ids are the places in the host's list, one-based; the view finds controls back.
    for (std::size_t i = 0; i < host.Controls().size(); ++i) {
        HWND child = view.WindowOf(*host.Controls()[i]);
        if (!child) continue;
        EXPECT_EQ(GetDlgCtrlID(child), static_cast<int>(i) + 1);
        EXPECT_EQ(view.ControlOf(child), host.Controls()[i]);
    }
    EXPECT_EQ(view.ControlOf(view.Window()), nullptr);

    // Every child has the Chinese-capable font.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(W(host.label), WM_GETFONT, 0, 0)), sizeof(font), &font);
    const std::wstring face = font.lfFaceName;
    EXPECT_TRUE(face == L"Microsoft YaHei UI" || face == L"Microsoft YaHei" || face == L"SimSun" ||
                face == L"WenQuanYi Micro Hei")
        << Utf8(face);
    EXPECT_EQ(SendMessageW(W(host.frame), WM_GETFONT, 0, 0), SendMessageW(W(host.list), WM_GETFONT, 0, 0));
}

// What an accessibility client (a screen reader, a desktop test tool) reads of a window:
// its description and its name, or "?" where it reads nothing.
std::pair<std::wstring, std::wstring> AccessibleTexts(HWND window) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))))
        return {L"?", L"?"};
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto read = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR text = nullptr;
        std::wstring result = L"?";
        if (SUCCEEDED((accessible->*get)(self, &text)) && text) result = text;
        SysFreeString(text);
        return result;
    };
    std::pair texts{read(&IAccessible::get_accDescription), read(&IAccessible::get_accName)};
    accessible->Release();
    return texts;
}

TEST_F(Win32FormViewTest, AccessibilityToolsFindEachControlByItsNameAndReadItsCaption) {
    const auto [description, name] = AccessibleTexts(W(host.check));
    EXPECT_EQ(description, L"check");
    EXPECT_EQ(name, L"选择");
    EXPECT_EQ(AccessibleTexts(W(host.options[1])).first, L"option(1)");
    EXPECT_EQ(AccessibleTexts(W(host.picture)).first, L"picture");
    EXPECT_EQ(AccessibleTexts(view.Window()).first, L"Form1");
    // A field is named by the label beside it, whatever that label says now.
    view.Dispatch([this] { host.text.SetLabelledBy(host.label); });
    EXPECT_EQ(AccessibleTexts(W(host.text)).first, L"text");
    EXPECT_EQ(AccessibleTexts(W(host.text)).second, L"标签");
    view.Dispatch([this] { host.label.SetCaption("新标签"); });
    EXPECT_EQ(AccessibleTexts(W(host.text)).second, L"新标签");
}

TEST_F(Win32FormViewTest, VisibilityEnabledStateAndWindowFollowTheControls) {
    EXPECT_TRUE(IsWindowVisible(W(host.label)));
    view.Dispatch([this] {
        host.frame.SetVisible(false);
        host.text.SetEnabled(false);
    });
    EXPECT_FALSE(IsWindowVisible(W(host.frame)));
    EXPECT_FALSE(IsWindowVisible(W(host.label)));  // with its frame
    EXPECT_FALSE(IsWindowEnabled(W(host.text)));
    view.Dispatch([this] { host.SetWindowVisible(false); });
    EXPECT_FALSE(IsWindowVisible(view.Window()));
    view.Dispatch([this] { host.SetWindowVisible(true); });
    EXPECT_TRUE(IsWindowVisible(view.Window()));
}

TEST_F(Win32FormViewTest, ToolTipsAreOneToolPerControlWithATip) {
    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (ClassOf(window) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER))
                *reinterpret_cast<HWND*>(found) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = W(host.frame);
    tool.uId = reinterpret_cast<UINT_PTR>(W(host.label));
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"提示文字");
    // The tips show the Chinese texts in the controls' font (the tool tip keeps a copy of it).
    LOGFONTW tipFont{}, labelFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(tips, WM_GETFONT, 0, 0)), sizeof tipFont, &tipFont);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(W(host.label), WM_GETFONT, 0, 0)), sizeof labelFont, &labelFont);
    EXPECT_STREQ(tipFont.lfFaceName, labelFont.lfFaceName);
    EXPECT_EQ(tipFont.lfHeight, labelFont.lfHeight);
    view.Dispatch([this] {
        host.label.SetToolTip("");
        host.command.SetToolTip("按");
    });
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    tool.uId = reinterpret_cast<UINT_PTR>(W(host.command));
    SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"按");
}

TEST_F(Win32FormViewTest, ButtonClicksAskTheControlsAndRaiseTheirClicksOnce) {
    SendMessageW(W(host.check), BM_CLICK, 0, 0);
    EXPECT_EQ(host.check.Value(), 1);
    EXPECT_EQ(SendMessageW(W(host.check), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(W(host.options[1]), BM_CLICK, 0, 0);
    SendMessageW(W(host.command), BM_CLICK, 0, 0);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"check click 1", "option click 1", "command click"}));
    EXPECT_EQ(SendMessageW(W(host.options[1]), BM_GETCHECK, 0, 0), BST_CHECKED);

    // Set from code: the windows follow and nothing more is raised than the control's own.
    view.Dispatch([this] {
        host.check.SetValue(0);
        host.options[0].Select();
    });
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"check click 0", "option click 0"}));
    EXPECT_EQ(SendMessageW(W(host.check), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(W(host.options[0]), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(W(host.options[1]), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // A handler that refuses the change: the window shows the control's value again.
    host.check.onClick = [this] { host.check.SetValue(0); };
    SendMessageW(W(host.check), BM_CLICK, 0, 0);
    EXPECT_EQ(host.check.Value(), 0);
    EXPECT_EQ(SendMessageW(W(host.check), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Focus set by the form on an unchecked option button selects nothing.
    view.Dispatch([this] { host.options[1].SetFocus(); });
    EXPECT_EQ(GetFocus(), W(host.options[1]));
    EXPECT_FALSE(host.options[1].Value());
}

TEST_F(Win32FormViewTest, ButtonPicturesAreIconsRemadeOnlyForANewPicture) {
    view.Dispatch([this] {
        host.command.SetCaption("");
        host.command.SetPicture(CrossPicture());
    });
    const auto icon = reinterpret_cast<HICON>(SendMessageW(W(host.command), BM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(StyleOf(W(host.command)) & BS_ICON);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 5);
    EXPECT_EQ(colour.bmHeight, 3);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    view.Dispatch([this] { host.command.SetToolTip("图"); });
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(W(host.command), BM_GETIMAGE, IMAGE_ICON, 0)), icon);
    view.Dispatch([this] { host.command.SetPicture({}); });
    EXPECT_EQ(SendMessageW(W(host.command), BM_GETIMAGE, IMAGE_ICON, 0), 0);
}

TEST_F(Win32FormViewTest, TypingSetsTheTextAndASyncLeavesTheCaretAlone) {
    HWND edit = W(host.text);
    SetFocus(edit);
    SendMessageW(edit, WM_CHAR, L'中', 1);
    SendMessageW(edit, WM_CHAR, L'a', 1);
    EXPECT_EQ(host.text.Text(), "中a");
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"text change 中", "text change 中a"}));

    // The form changes something else of the field: text and caret stay.
    SendMessageW(edit, EM_SETSEL, 1, 1);
    view.Dispatch([this] {
        host.text.SetLocked(true);
        host.text.SetMaxLength(3);
    });
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
    EXPECT_TRUE(StyleOf(edit) & ES_READONLY);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    // A text set by the form shows and raises only the control's own Change.
    view.Dispatch([this] { host.text.SetText("新"); });
    EXPECT_EQ(TextOf(edit), L"新");
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"text change 新"}));
    view.Dispatch([this] {
        host.text.SetLocked(false);
        host.text.SetMaxLength(0);
    });
    EXPECT_FALSE(StyleOf(edit) & ES_READONLY);
    EXPECT_GT(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);

    // A handler that rewrites the typed text: the field shows the control's text.
    host.text.onChange = [this] { host.text.SetText("固定"); };
    SendMessageW(edit, WM_CHAR, L'x', 1);
    EXPECT_EQ(host.text.Text(), "固定");
    EXPECT_EQ(TextOf(edit), L"固定");
}

// Tab with the Shift key up or down, as the message loop hands it to the view.
bool PressTab(Win32FormView& view, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    const bool taken = view.TakeTabKey(message);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    return taken;
}

TEST_F(Win32FormViewTest, TabVisitsTheKeyboardControlsInTheControlsOrder) {
    view.Dispatch([this] { host.options[1].SetEnabled(false); });
    SetFocus(W(host.check));
    ASSERT_TRUE(PressTab(view, false));
    EXPECT_EQ(GetFocus(), W(host.options[0]));
    ASSERT_TRUE(PressTab(view, false));
    EXPECT_EQ(GetFocus(), W(host.command)) << "a disabled option is no stop";
    ASSERT_TRUE(PressTab(view, false));
    EXPECT_EQ(GetFocus(), W(host.text));
    ASSERT_TRUE(PressTab(view, true));
    EXPECT_EQ(GetFocus(), W(host.command)) << "Shift+Tab goes back";

    SetFocus(W(host.lines));
    EXPECT_FALSE(PressTab(view, false)) << "a multi-line field keeps its Tab";
    EXPECT_EQ(GetFocus(), W(host.lines));

    SetFocus(W(host.toggle));
    ASSERT_TRUE(PressTab(view, false));
    EXPECT_EQ(GetFocus(), W(host.check)) << "after the last control comes the first";
    MSG other{GetFocus(), WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_FALSE(view.TakeTabKey(other));
}

TEST_F(Win32FormViewTest, AppendedLinesAndANewSelectionKeepTheRowsShown) {
    HWND list = W(host.list);
    view.Dispatch([this] {
        for (const char* line : {"甲", "乙", "丙"}) host.list.AddItem(line);
    });
    // Their data survives: the rows were not made anew.
    SendMessageW(list, LB_SETITEMDATA, 0, 77);
    view.Dispatch([this] {
        host.list.AddItem("丁");
        host.list.SetListIndex(1);
    });
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 0, 0), 77);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(Win32FormViewTest, ScrollBarEndsAndAReversedRangeMapOntoTheWindowsRange) {
    HWND bar = W(host.bar);
    ScrollBy(SB_BOTTOM);
    EXPECT_EQ(host.bar.Value(), 100);
    EXPECT_EQ(host.Take(), std::vector<std::string>{"bar change 100"});

    // Min above Max: the window's range runs upwards, its position the value turned round.
    view.Dispatch([this] {
        host.bar.SetMin(50);
        host.bar.SetMax(-50);
        host.bar.SetValue(50);
    });
    host.Take();
    int low = 0, high = 0;
    GetScrollRange(bar, SB_CTL, &low, &high);
    EXPECT_EQ(low, -50);
    EXPECT_EQ(high, 50);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), -50);
    ScrollBy(SB_BOTTOM);
    EXPECT_EQ(host.bar.Value(), -50);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 50);
    EXPECT_EQ(host.Take(), std::vector<std::string>{"bar change -50"});
}

TEST_F(Win32FormViewTest, PictureShowsBackgroundCentredPictureAndImageOnTheScreen) {
    view.Dispatch([this] {
        host.picture.SetPicture(CrossPicture());
        host.picture.EditImage().Resize(4, 2, kBlue);
    });
    Paint();
    HWND picture = W(host.picture);
    // Inside the 1-px border the area is 59 x 49: the 5 x 3 picture starts at (27, 23) + 1.
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 27 + 2, 1 + 23 + 1)), kRed);
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 27, 1 + 23)), kGreen);  // a transparent corner
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 27 + 1, 1 + 23)), kRed);
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 3, 1 + 1)), kBlue);  // the image, at the top-left
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 4, 1 + 1)), kGreen);
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 0, 0)), static_cast<int>(GetSysColor(COLOR_BTNSHADOW)));

    // The outline shape shows the picture inside it; a filled one its colour.
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 30, 1 + 25)), kBlue);
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 1 + 40, 1 + 30)), kGreen);
    EXPECT_EQ(ScreenPixel(OnScreen(view.Window(), 175, 180)), kYellow);
    EXPECT_EQ(ScreenPixel(OnScreen(view.Window(), 230, 170)), kBlue);  // the line
    // Shapes let the mouse through to what lies under them.
    EXPECT_EQ(WindowFromPoint(OnScreen(picture, 1 + 40, 1 + 21)), picture);
    EXPECT_EQ(WindowFromPoint(OnScreen(view.Window(), 175, 180)), view.Window());
}

TEST_F(Win32FormViewTest, AChangedAreaRepaintsOnlyThatAreaAndALargeDisplayOnlyItsVisiblePart) {
    view.Dispatch([this] { host.picture.EditImage().Resize(59, 49, kGreen); });
    Paint();
    HWND picture = W(host.picture);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(picture, &update, FALSE));
    host.picture.EditImageArea({3, 4, 2, 2}).Rectangle(3, 4, 5, 6, kRed, kRed);
    view.Sync();
    ASSERT_TRUE(GetUpdateRect(picture, &update, FALSE));
    EXPECT_TRUE(SameRect(update, {4, 5, 6, 7}));
    Paint();
    EXPECT_EQ(ScreenPixel(OnScreen(picture, 4, 5)), kRed);

    // The 6400 x 4800 display in a 60 x 50 viewport, placed at (-3000, -2000).
    view.Dispatch([this] {
        host.display.EditImage().Resize(6400, 4800, kGreen);
        host.display.EditImageArea({3010, 2020, 1, 1}).SetPixel(3010, 2020, kRed);
    });
    Paint();
    EXPECT_EQ(ScreenPixel(OnScreen(W(host.viewport), 10, 20)), kRed);
    EXPECT_EQ(ScreenPixel(OnScreen(W(host.viewport), 11, 20)), kGreen);
    host.display.EditImageArea({3030, 2030, 1, 1}).SetPixel(3030, 2030, kBlue);
    view.Sync();
    ASSERT_TRUE(GetUpdateRect(W(host.display), &update, FALSE));
    EXPECT_TRUE(SameRect(update, {3030, 2030, 3031, 2031}));
    Paint();
    EXPECT_EQ(ScreenPixel(OnScreen(W(host.viewport), 30, 30)), kBlue);
}

TEST_F(Win32FormViewTest, TimerFiresThroughDispatchWhileEnabledAndStopsWhenDisabled) {
    view.Dispatch([this] {
        host.timer.SetInterval(20);
        host.timer.SetEnabled(true);
    });
    ASSERT_TRUE(WaitUntil([this] { return host.events.size() >= 2; }));
    // Each fire is followed by a sync: the label shows the caption set by the handler.
    EXPECT_EQ(Utf8(TextOf(W(host.label))), host.label.Caption());
    view.Dispatch([this] { host.timer.SetEnabled(false); });
    host.Take();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    WaitUntil([until] { return std::chrono::steady_clock::now() > until; });
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(Win32FormViewTest, RealMousePressMoveAndReleaseWithTheCaptureOutside) {
    HWND picture = W(host.picture);
    const POINT inside = OnScreen(picture, 10, 12);
    MovePointer(inside);
    ASSERT_TRUE(WaitUntil([this] { return !host.events.empty(); }));
    host.Take();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([this] { return !host.events.empty(); }));
    EXPECT_EQ(GetCapture(), picture);
    MovePointer(OnScreen(picture, -5, 70));  // outside, to the left and below
    ASSERT_TRUE(WaitUntil([this] { return host.events.size() >= 2; }));
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([this] { return host.events.size() >= 3; }));
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"down 1 0 10,12", "move 1 0 -5,70", "up 1 0 -5,70"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // Shift and Ctrl come with the message (keys injected beside real mouse input race with
    // wine's own reading of the X server's modifier state, so they come as the message's).
    SendMessageW(picture, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(3, 4));
    SendMessageW(picture, WM_MOUSEMOVE, MK_RBUTTON | MK_MBUTTON, MAKELPARAM(-2, 5));
    SendMessageW(picture, WM_RBUTTONUP, MK_MBUTTON, MAKELPARAM(-2, 5));
    EXPECT_EQ(GetCapture(), picture);  // the middle button is still held
    SendMessageW(picture, WM_MBUTTONUP, 0, MAKELPARAM(-2, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"down 2 3 3,4", "move 6 0 -2,5", "up 2 0 -2,5", "up 4 0 -2,5"}));

    // A disabled control raises nothing.
    view.Dispatch([this] { host.picture.SetEnabled(false); });
    MovePointer(inside);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    WaitUntil([until] { return std::chrono::steady_clock::now() > until; });
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(Win32FormViewTest, ADoubleClickArrivesAsDownUpDoubleClickUp) {
    MovePointer(OnScreen(W(host.picture), 20, 8));
    ASSERT_TRUE(WaitUntil([this] { return !host.events.empty(); }));
    host.Take();
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        SendMouse(flags);
    ASSERT_TRUE(WaitUntil([this] { return host.events.size() >= 4; }));
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"down 1 0 20,8", "up 1 0 20,8", "dblclick", "up 1 0 20,8"}));
}

TEST_F(Win32FormViewTest, PointerOverAControlIsItsOwnAndTheWindowsBeatsIt) {
    Surface image(16, 16, kRed);
    image.SetPixel(0, 0, -1);
    const PointerImage cross{image, 3, 4};
    view.Dispatch([&] {
        host.picture.SetMouseIcon(cross);
        host.picture.SetMousePointer(MousePointer::Custom);
        host.list.SetMousePointer(MousePointer::SizeWE);
    });
    const auto hotSpotShown = [] {
        CURSORINFO info{};
        info.cbSize = sizeof(info);
        ICONINFO icon{};
        if (!GetCursorInfo(&info) || !info.hCursor || !GetIconInfo(info.hCursor, &icon)) return POINT{-1, -1};
        if (icon.hbmColor) DeleteObject(icon.hbmColor);
        if (icon.hbmMask) DeleteObject(icon.hbmMask);
        return POINT{static_cast<LONG>(icon.xHotspot), static_cast<LONG>(icon.yHotspot)};
    };
    MovePointer(OnScreen(W(host.picture), 10, 10));
    EXPECT_TRUE(WaitUntil([&] { return hotSpotShown().x == 3 && hotSpotShown().y == 4; }));
    MovePointer(OnScreen(W(host.list), 10, 10));
    EXPECT_TRUE(WaitUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_SIZEWE); }));

    // The window-wide pointer shows over every control, at once.
    Surface wide(8, 8, kBlue);
    view.Dispatch([&] {
        host.SetMouseIcon({wide, 6, 7});
        host.SetMousePointer(MousePointer::Custom);
    });
    EXPECT_TRUE(WaitUntil([&] { return hotSpotShown().x == 6 && hotSpotShown().y == 7; }));
    MovePointer(OnScreen(W(host.picture), 12, 12));
    Pump();
    EXPECT_EQ(hotSpotShown().x, 6);
    view.Dispatch([&] { host.SetMousePointer(MousePointer::Default); });
    MovePointer(OnScreen(W(host.picture), 10, 10));
    EXPECT_TRUE(WaitUntil([&] { return hotSpotShown().x == 3 && hotSpotShown().y == 4; }));
}

TEST_F(Win32FormViewTest, DroppedFilesReachTheControlInTheirOrder) {
    HWND picture = W(host.picture);
    EXPECT_TRUE(GetWindowLongPtrW(picture, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(GetWindowLongPtrW(W(host.list), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::wstring names = std::wstring(L"C:\\图\\一.bmp") + L'\0' + L"C:\\b.bmp" + L'\0' + L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(picture, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the view finishes the drop
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"drop C:\\图\\一.bmp C:\\b.bmp"}));
    view.Dispatch([this] { host.picture.SetEnabled(false); });
    EXPECT_FALSE(GetWindowLongPtrW(picture, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

// The hotkey service puts a procedure of its own in front of the window's while hotkeys
// are registered; the view must still find itself and its controls.
WNDPROC savedProcedure = nullptr;
int hookedHotkeys = 0;
LRESULT CALLBACK HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) ++hookedHotkeys;
    return CallWindowProcW(savedProcedure, window, message, wParam, lParam);
}

TEST_F(Win32FormViewTest, AHookedProcedureInFrontLeavesTheViewWorkingAndHotkeysAreNothingToIt) {
    savedProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(view.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProcedure)));
    SendMessageW(view.Window(), WM_HOTKEY, 1, 0);
    SendMessageW(W(host.text), WM_CHAR, L'z', 1);
    SendMessageW(W(host.command), BM_CLICK, 0, 0);
    EXPECT_EQ(hookedHotkeys, 1);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"text change z", "command click"}));
    SetWindowLongPtrW(view.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProcedure));
}

TEST(Win32FormViewClose, ClosingRunsOnCloseOnceDestroysTheWindowAndEndsTheLoop) {
    Host host;
    Win32FormView view(host, "关", 100, 80);
    int closes = 0;
    view.onClose = [&closes] { ++closes; };
    SendMessageW(view.Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(closes, 1);
    HWND window = view.Window();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(view.Window(), nullptr);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    view.Dispatch([&host] { host.label.SetCaption("之后"); });  // nothing left to sync
}

// The program's own window on the fake platform.
struct Form1ViewTest : ::testing::Test {
    FakePlatform fake;
    Form1 form{fake.Services()};
    Win32FormView view{form, kWindowCaption, kClientWidth, kClientHeight};
    Form1ViewTest() {
        view.Dispatch([this] { form.Form_Load(); });
        view.onClose = [this] { form.Form_Unload(); };
        SetWindowPos(view.Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(view.Window(), SW_SHOW);
        UpdateWindow(view.Window());
        Pump();
    }
    const Control& Named(const std::string& name) const {
        for (const Control* control : form.Controls())
            if (control->ObjectName() == name) return *control;
        throw std::runtime_error(name);
    }
};

TEST_F(Form1ViewTest, EveryControlHasItsWindowUnderTheCaptionAndClientArea) {
    EXPECT_EQ(Utf8(TextOf(view.Window())), "Pelmorav3.50.1101正式版");
    RECT client;
    GetClientRect(view.Window(), &client);
    EXPECT_EQ(client.right, 445);
    EXPECT_EQ(client.bottom, 313);
    for (const Control* control : form.Controls()) {
        HWND child = view.WindowOf(*control);
        if (control->Kind() == ControlKind::Timer) {
            EXPECT_EQ(child, nullptr);
            continue;
        }
        ASSERT_NE(child, nullptr) << control->ObjectName();
        HWND parent = control->Container() ? view.WindowOf(*control->Container()) : view.Window();
        EXPECT_EQ(GetParent(child), parent) << control->ObjectName();
        EXPECT_EQ((StyleOf(child) & WS_VISIBLE) != 0, control->Visible()) << control->ObjectName();
    }
    EXPECT_TRUE(SameRect(PlaceOf(view.WindowOf(Named("Frame3"))), {16, 8, 185, 194}));
    EXPECT_TRUE(SameRect(PlaceOf(view.WindowOf(Named("Option2(5)"))), {256, 272, 297, 292}));
}

TEST_F(Form1ViewTest, APageButtonShowsExactlyThatPage) {
    SendMessageW(view.WindowOf(Named("Option2(3)")), BM_CLICK, 0, 0);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "Frame2(" + std::to_string(i) + ")";
        EXPECT_EQ(IsWindowVisible(view.WindowOf(Named(name))) != FALSE, i == 3) << name;
    }
    EXPECT_EQ(Utf8(TextOf(view.WindowOf(Named("Frame2(3)")))), "截图像保存");
}

TEST_F(Form1ViewTest, ALaterPageLiesAboveTheRegionsItCovers) {
    // The last slot's swatch lies under a free part of the editor's tool column.
    const POINT lastSwatch = OnScreen(view.Window(), 16 + 8 + 3, 8 + 16 + 9 * 17 + 8);
    HWND slotFrame = view.WindowOf(Named("Frame3"));
    HWND under = WindowFromPoint(lastSwatch);
    EXPECT_TRUE(under == slotFrame || IsChild(slotFrame, under));
    SendMessageW(view.WindowOf(Named("Option2(4)")), BM_CLICK, 0, 0);
    Pump();
    HWND editorPage = view.WindowOf(Named("Frame2(4)"));
    under = WindowFromPoint(lastSwatch);
    EXPECT_TRUE(under == editorPage || IsChild(editorPage, under));
    UpdateWindow(view.Window());
    EXPECT_EQ(ScreenPixel(lastSwatch), static_cast<int>(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(Form1ViewTest, TheFontHasAGlyphForEveryCharacterOfTheCaptions) {
    HWND hint = view.WindowOf(Named("Label5(6)"));
    EXPECT_EQ(Utf8(TextOf(hint)), "[Alt＋～]启动／停止");
    HDC dc = GetDC(hint);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hint, WM_GETFONT, 0, 0)));
    for (const Control* control : form.Controls()) {
        const auto* captioned = dynamic_cast<const CaptionedControl*>(control);
        if (!captioned) continue;
        const std::wstring caption = Wide(captioned->Caption());
        std::vector<WORD> glyphs(caption.size() + 1);
        GetGlyphIndicesW(dc, caption.c_str(), static_cast<int>(caption.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        for (std::size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] < L' ') continue;  // a line break in a caption
            EXPECT_NE(glyphs[i], 0xFFFF) << control->ObjectName() << " " << static_cast<int>(caption[i]);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(hint, dc);
}

TEST_F(Form1ViewTest, ClosingTheWindowRunsTheShutDown) {
    SendMessageW(view.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Unloaded());
}

}  // namespace
