// SPDX-License-Identifier: MIT
// pelmora.exe from outside, as a user meets it: copied into a folder of its own, started,
// its window found by its caption, clicked and sent hotkeys with real input, closed; then
// the settings file it left beside itself is read back byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* kCaption = L"Pelmorav3.50.1101正式版";

void PumpOwnMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Polls condition, keeping this program's own windows painted, until it holds or the
// time is up.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        PumpOwnMessages();
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

std::wstring ThisFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Another program's window text: a control's text reaches other processes only through
// WM_GETTEXT, which the system carries across.
std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return std::wstring(text, copied);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return std::wstring(name, static_cast<std::size_t>(length));
}

std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindDescendant(HWND window, const std::wstring& className, const std::wstring& text) {
    for (HWND child : Descendants(window))
        if (ClassOf(child) == className && TextOf(child) == text && IsWindowVisible(child)) return child;
    return nullptr;
}

void SendMouseClick(POINT at) {
    SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Presses the keys in order and releases them in reverse, as fingers do.
void SendChord(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        INPUT up = {};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    return !file.fail();
}

// Some edit field of the window, shown or on a hidden page, holds text.
bool AnEditHolds(HWND window, const std::wstring& text) {
    for (HWND child : Descendants(window))
        if (ClassOf(child) == L"Edit" && TextOf(child) == text) return true;
    return false;
}

// The check box captioned caption, shown or on a hidden page.
HWND FindCheckBox(HWND window, const std::wstring& caption) {
    for (HWND child : Descendants(window))
        if (ClassOf(child) == L"Button" && TextOf(child) == caption) return child;
    return nullptr;
}

std::string Ansi(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size, nullptr, nullptr);
    return ansi;
}

// A red square of this program's own that the pointer can rest on, and that holds the
// keyboard focus for hotkeys (wine delivers them only while one of its windows has it).
class RedSquare {
public:
    RedSquare(int left, int top) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
        windowClass.lpszClassName = L"PelmoraTestRedSquare";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"red", WS_POPUP | WS_VISIBLE, left, top,
                                  60, 60, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetForegroundWindow(window_);
        SetFocus(window_);
        UpdateWindow(window_);
    }
    ~RedSquare() { DestroyWindow(window_); }
    HWND Window() const { return window_; }

private:
    HWND window_;
};

class ProgramUnderTest {
public:
    ProgramUnderTest() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"pelmora-program-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++runs_);
        CreateDirectoryW(folder_.c_str(), nullptr);
        CopyFileW((ThisFolder() + L"\\..\\..\\pelmora.exe").c_str(), Executable().c_str(), FALSE);
    }
    ~ProgramUnderTest() {
        ReleaseProcess();
        DeleteFileW((folder_ + L"\\zarade.ini").c_str());
        for (const std::wstring& snapshot : Snapshots()) DeleteFileW(snapshot.c_str());
        RemoveDirectoryW((folder_ + L"\\Snap").c_str());
        DeleteFileW(Executable().c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    const std::wstring& Folder() const { return folder_; }
    std::wstring Executable() const { return folder_ + L"\\pelmora.exe"; }

    // Starts the program and waits for its window to show.
    bool Start() {
        ReleaseProcess();
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + Executable() + L"\"";
        if (!CreateProcessW(Executable().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder_.c_str(), &startup, &process_))
            return false;
        return WaitUntil(
            [&] {
                window_ = FindWindowW(nullptr, kCaption);
                return window_ && IsWindowVisible(window_);
            },
            30s);
    }
    HWND Window() const { return window_; }

    // The bitmap files in the default snapshot folder.
    std::vector<std::wstring> Snapshots() const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((folder_ + L"\\Snap\\*.bmp").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return found;
        do found.push_back(folder_ + L"\\Snap\\" + entry.cFileName);
        while (FindNextFileW(search, &entry));
        FindClose(search);
        return found;
    }

    // Clicks the visible button captioned caption, once it is there.
    bool ClickButton(const std::wstring& caption) {
        HWND button = nullptr;
        if (!WaitUntil([&] { return (button = FindDescendant(window_, L"Button", caption)) != nullptr; })) return false;
        SendMouseClick(CentreOf(button));
        return true;
    }

    // Asks the window to close, as its close box does, and waits for the program to end.
    bool Close() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return WaitForSingleObject(process_.hProcess, 15000) == WAIT_OBJECT_0;
    }

private:
    // Ends the program if it still runs and lets go of its handles.
    void ReleaseProcess() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
        window_ = nullptr;
    }

    static inline int runs_ = 0;
    std::wstring folder_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

// The screen's dots per inch (96 at 100 %, 144 at 150 %).
int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The window is 445 x 313 layout pixels at every scale: on a screen of more than 96 dpi the
// client area is the layout times the scale, rounded up. (Wine treats every program as aware
// of each monitor's dpi, manifest or not; the resources test reads the manifest that asks
// Windows for it.)
TEST(ProgramTest, ShowsItsCaptionOnAFixedClientAreaOf445By313TimesTheScale) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    RECT client;
    GetClientRect(program.Window(), &client);
    const int dpi = ScreenDpi();
    EXPECT_EQ(client.right - client.left, (445 * dpi + 95) / 96) << "at " << dpi << " dpi";
    EXPECT_EQ(client.bottom - client.top, (313 * dpi + 95) / 96) << "at " << dpi << " dpi";
    wchar_t caption[64] = {};
    GetWindowTextW(program.Window(), caption, 64);
    EXPECT_EQ(std::wstring(caption), kCaption);
    EXPECT_EQ(GetWindowLongPtrW(program.Window(), GWL_STYLE) & WS_THICKFRAME, 0) << "the window must not be resizable";
    // Every page's controls are there: far more child windows than the always-visible ones.
    EXPECT_GT(Descendants(program.Window()).size(), 200u);
    EXPECT_TRUE(program.Close());
}

TEST(ProgramTest, SamplesThePointerWhileTheSwitchIsOn) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND toggle = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (toggle = FindDescendant(program.Window(), L"Button", L"启动／停止")) != nullptr; }));
    const auto showsBoth = [&](const std::wstring& x, const std::wstring& y) {
        bool hasX = false, hasY = false;
        for (HWND child : Descendants(program.Window())) {
            if (ClassOf(child) != L"Edit") continue;
            const std::wstring text = TextOf(child);
            hasX = hasX || text == x;
            hasY = hasY || text == y;
        }
        return hasX && hasY;
    };

    SendMouseClick(CentreOf(toggle));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(toggle, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    SetCursorPos(123, 234);
    EXPECT_TRUE(WaitUntil([&] { return showsBoth(L"123", L"234"); })) << "the read-out does not follow the pointer";
    SetCursorPos(321, 432);
    EXPECT_TRUE(WaitUntil([&] { return showsBoth(L"321", L"432"); }));

    SendMouseClick(CentreOf(toggle));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(toggle, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    SetCursorPos(50, 60);
    std::this_thread::sleep_for(500ms);  // five ticks' time: a stopped read-out must not move
    EXPECT_FALSE(showsBoth(L"50", L"60"));
    EXPECT_TRUE(program.Close());
}

TEST(ProgramTest, AHotkeyGrabIsInTheSettingsFileWrittenOnExit) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    RedSquare square(600, 500);
    ASSERT_TRUE(WaitUntil([&] {
        HDC screen = GetDC(nullptr);
        const COLORREF pixel = GetPixel(screen, 630, 530);
        ReleaseDC(nullptr, screen);
        return pixel == RGB(255, 0, 0);
    }));
    SetCursorPos(630, 530);
    SendChord({VK_CONTROL, VK_MENU, '1'});
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND child : Descendants(program.Window()))
            if (ClassOf(child) == L"Edit" && TextOf(child) == L"630,530 0000FF") return true;
        return false;
    })) << "Ctrl+Alt+1 did not fill slot 1";
    ASSERT_TRUE(program.Close());

    // The same bytes the Linux program writes for the same grab, with this folder's path
    // in the ANSI code page and CR LF line ends.
    EXPECT_EQ(ReadBytes(program.Folder() + L"\\zarade.ini"),
              "[Position]\r\nPosition0X=630\r\nPosition0Y=530\r\nColor0=255\r\n"
              "[Bmp]\r\nBmpFilePath=" +
                  Ansi(program.Folder()) + "\\Snap\r\nMousePoint=0\r\n");
}

TEST(ProgramTest, TheSnapshotButtonSavesTheWholeScreenAsABitmapWindowsReads) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    RedSquare square(600, 500);
    ASSERT_TRUE(program.ClickButton(L"截图像"));
    ASSERT_TRUE(program.ClickButton(L"截图"));
    // Windows' own reader, not the program's: the file must be a bitmap any program takes.
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<std::wstring> snapshots = program.Snapshots();
        if (snapshots.size() != 1) return false;
        bitmap = static_cast<HBITMAP>(
            LoadImageW(nullptr, snapshots[0].c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        return bitmap != nullptr;
    })) << "no snapshot file that Windows can read appeared";
    BITMAP size;
    GetObjectW(bitmap, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.bmHeight, GetSystemMetrics(SM_CYSCREEN));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_EQ(GetPixel(memory, 600, 500), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 659, 559), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(memory, 660, 560), RGB(255, 0, 0)) << "the square ends at 659, 559";
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    // The window hides for the grab and comes back.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.Window()) != 0; }));
    EXPECT_TRUE(program.Close());
}

// A settings file marked hidden is not there for the program: it starts as with none. The
// file written on exit is the same hidden file, so the next start ignores it again.
TEST(ProgramTest, AHiddenSettingsFileIsIgnoredAtStartAndStaysHiddenWhenWrittenOnExit) {
    ProgramUnderTest program;
    const std::wstring settings = program.Folder() + L"\\zarade.ini";
    ASSERT_TRUE(WriteBytes(settings,
                           "[Position]\r\nPosition0X=11\r\nPosition0Y=22\r\nColor0=255\r\n"
                           "[Bmp]\r\nBmpFilePath=C:\\stored folder\r\nMousePoint=1\r\n"));

    // Not hidden, the file is read: slot 1, the snapshot folder and the cursor option.
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(WaitUntil([&] { return AnEditHolds(program.Window(), L"11,22 0000FF"); }));
    EXPECT_TRUE(AnEditHolds(program.Window(), L"C:\\stored folder"));
    HWND withCursor = FindCheckBox(program.Window(), L"包括光标图像");
    ASSERT_NE(withCursor, nullptr);
    EXPECT_EQ(SendMessageW(withCursor, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(program.Close());

    ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(program.Start());
    const std::wstring defaultFolder = program.Folder() + L"\\Snap";
    EXPECT_TRUE(WaitUntil([&] { return AnEditHolds(program.Window(), defaultFolder); }))
        << "the hidden file's snapshot folder was taken";
    EXPECT_FALSE(AnEditHolds(program.Window(), L"11,22 0000FF")) << "the hidden file's slot was taken";
    withCursor = FindCheckBox(program.Window(), L"包括光标图像");
    ASSERT_NE(withCursor, nullptr);
    EXPECT_EQ(SendMessageW(withCursor, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ASSERT_TRUE(program.Close());

    const DWORD attributes = GetFileAttributesW(settings.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u) << "writing the settings made the file visible";
    // This run's folder and option; the slot this run left empty is not written over.
    EXPECT_EQ(ReadBytes(settings),
              "[Position]\r\nPosition0X=11\r\nPosition0Y=22\r\nColor0=255\r\n"
              "[Bmp]\r\nBmpFilePath=" +
                  Ansi(defaultFolder) + "\r\nMousePoint=0\r\n");
}

}  // namespace
