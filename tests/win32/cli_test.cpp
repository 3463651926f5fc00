// SPDX-License-Identifier: MIT
// pelmora-cli.exe from outside, as a script meets it: started with its output on pipes
// while a window of known colours, pattern, title and class lies at a known place, and its
// output bytes and exit status compared with that window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/version.h"
#include "backends/win32/win32_resource_ids.h"
#include "backends/win32/win32_text.h"
#include "capture/bitmap_file.h"
#include "platform/surface.h"
#include "pump_until.h"

namespace pelmora {
namespace {

// The window, in physical pixels: four quarters of 80 x 60, and in the bottom-right one a
// 32 x 32 block whose every pixel differs from the others.
constexpr int kLeft = 300, kTop = 200, kWidth = 160, kHeight = 120;
constexpr int kBlockX = 112, kBlockY = 72, kBlockSide = 32;  // in the window
constexpr const wchar_t* kTitle = L"Pelmora 命令行测试窗口";
constexpr const char* kTitleUtf8 = "Pelmora 命令行测试窗口";
constexpr const wchar_t* kClassName = L"PelmoraCliTestWindow";

// 0x00BBGGRR, as the screen reads give colours.
std::int32_t BlockColour(int x, int y) { return (x * 8) | (y * 8) << 8 | (0x80 + (x ^ y) * 4) << 16; }
std::int32_t WindowColour(int x, int y) {
    if (x >= kBlockX && y >= kBlockY && x < kBlockX + kBlockSide && y < kBlockY + kBlockSide)
        return BlockColour(x - kBlockX, y - kBlockY);
    if (y < kHeight / 2) return x < kWidth / 2 ? 0x0000FF : 0x00FF00;  // red, green
    return x < kWidth / 2 ? 0xFF0000 : 0x123456;                       // blue; red 56, green 34, blue 12
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    // Every pixel from one top-down 32-bit picture (bytes blue, green, red), exactly.
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const auto colour = static_cast<std::uint32_t>(WindowColour(x, y));
            pixels.push_back((colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF));
        }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}

std::wstring ThisFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// The test program lies in tests/win32 of the build folder, pelmora-cli.exe at its top.
std::wstring CliPath() { return ThisFolder() + L"\\..\\..\\pelmora-cli.exe"; }

struct CliRun {
    DWORD status = STILL_ACTIVE;
    std::string out;
    std::string err;
};

// Everything that comes through a pipe until its writers close it.
void ReadAll(HANDLE pipe, std::string& into) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) into.append(buffer, read);
}

// Runs pelmora-cli.exe with the arguments (a command line, quoted as needed) on this
// desktop or the one named, its standard output and error on pipes read as they fill,
// while this thread's windows keep painting. With console, standard output goes to that
// screen buffer of this program's console instead, which the program then shares.
CliRun RunCli(const std::wstring& arguments, const wchar_t* desktop = nullptr, HANDLE console = nullptr) {
    CliRun run;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inheritable, 0) || !CreatePipe(&errRead, &errWrite, &inheritable, 0)) {
        ADD_FAILURE() << "no pipes, error " << GetLastError();
        return run;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = console ? console : outWrite;
    startup.hStdError = errWrite;
    std::wstring desktopName = desktop ? desktop : L"";
    startup.lpDesktop = desktop ? desktopName.data() : nullptr;
    const std::wstring program = CliPath();
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    // wine's process creation now and then fails with ERROR_INTERNAL_ERROR before the program
    // exists (seen once in a fresh prefix): that start, not pelmora-cli, is tried again.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) {
            if (GetLastError() != ERROR_INTERNAL_ERROR) break;
            Sleep(100);
        }
        started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                 console ? 0 : CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process) != 0;
    }
    const DWORD startError = started ? 0 : GetLastError();
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        std::thread readOut([&] { ReadAll(outRead, run.out); });
        std::thread readErr([&] { ReadAll(errRead, run.err); });
        const bool ended = PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
        EXPECT_TRUE(ended) << "pelmora-cli did not end";
        if (!ended) TerminateProcess(process.hProcess, STILL_ACTIVE);  // its pipes close, the readers end
        readOut.join();
        readErr.join();
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    } else {
        ADD_FAILURE() << "pelmora-cli.exe did not start, error " << startError;
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)));
}

std::wstring Number(int value) { return std::to_wstring(value); }
std::wstring At(int x, int y) { return Number(kLeft + x) + L" " + Number(kTop + y); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

class CliTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Coordinates in physical pixels at every scale, as pelmora-cli.exe's manifest asks.
        SetProcessDPIAware();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP | WS_VISIBLE, kLeft, kTop, kWidth,
                                  kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window_);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"pelmora-cli-测试-" + Number(static_cast<int>(GetCurrentProcessId()));
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(window_);
        for (const wchar_t* name : {L"\\快照.bmp", L"\\图案.bmp", L"\\zarade.ini", L"\\近似.bmp", L"\\两倍.bmp"})
            DeleteFileW((folder_ + name).c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    void SetUp() override {
        ASSERT_NE(window_, nullptr);
        // The window is on the screen once its corners and its block read back.
        ASSERT_TRUE(PumpUntil([] {
            HDC screen = GetDC(nullptr);
            bool shown = true;
            const std::pair<int, int> places[] = {{0, 0}, {kWidth - 1, kHeight - 1}, {kBlockX + 5, kBlockY + 7}};
            for (const auto& [x, y] : places)
                shown = shown && GetPixel(screen, kLeft + x, kTop + y) == static_cast<COLORREF>(WindowColour(x, y));
            ReleaseDC(nullptr, screen);
            return shown;
        })) << "the test window was not painted";
    }

    // The picture as a bitmap file named name in the test's folder.
    static std::wstring WrittenBitmap(const std::wstring& name, const Surface& picture) {
        std::wstring file = folder_ + name;
        std::ofstream stream(file.c_str(), std::ios::binary | std::ios::trunc);
        stream << EncodeBitmap(picture);
        return file;
    }

    static inline HWND window_ = nullptr;
    static inline std::wstring folder_;
};

// Output as a script reads it: exit status 0, nothing on standard error.
std::string Out(const std::wstring& arguments) {
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.err, "");
    return run.out;
}

TEST_F(CliTest, PixelsInEveryFormAreTheWindowsColoursInPhysicalPixels) {
    EXPECT_EQ(Out(L"pixel " + At(10, 10)), "0000FF\n");
    EXPECT_EQ(Out(L"pixel " + At(kWidth - 1, 0)), "00FF00\n");
    EXPECT_EQ(Out(L"pixel " + At(0, kHeight - 1) + L" --format dec"), "16711680\n");
    EXPECT_EQ(Out(L"pixel " + At(90, 110) + L" --format rgb"), "86,52,18\n");
    EXPECT_EQ(Out(L"pixel " + At(90, 110) + L" --format hsl"), "20,157,49\n");
    EXPECT_EQ(Out(L"pixel " + At(90, 110) + L" --format hex"), "123456\n");
    EXPECT_EQ(Out(L"pixel " + At(79, 59) + L" --format all"),
              "10进制：255\n16进制：0000FF\nRGB：255,0,0\nHSL：0,240,120\n");
    EXPECT_EQ(Out(L"--json pixel " + At(80, 60)),
              "{\"x\":" + std::to_string(kLeft + 80) + ",\"y\":" + std::to_string(kTop + 60) +
                  ",\"decimal\":1193046,\"hex\":\"123456\",\"rgb\":[86,52,18],\"hsl\":[20,157,49]}\n");
    // At the pointer without X Y, the pointer where it was put.
    SetCursorPos(kLeft + 85, kTop + 5);
    EXPECT_EQ(Out(L"pointer"), std::to_string(kLeft + 85) + "," + std::to_string(kTop + 5) + "\n");
    EXPECT_EQ(Out(L"pixel"), "00FF00\n");
}

TEST_F(CliTest, ThePointsOffTheScreenAndBadArgumentsExitWithTheirStatus) {
    const CliRun offScreen = RunCli(L"pixel 100000 5");
    EXPECT_EQ(offScreen.status, 1u);
    EXPECT_EQ(offScreen.out, "");
    EXPECT_NE(offScreen.err.find("100000,5"), std::string::npos) << offScreen.err;
    // Left of every monitor.
    EXPECT_EQ(RunCli(L"pixel " + Number(GetSystemMetrics(SM_XVIRTUALSCREEN) - 1) + L" " + Number(kTop)).status, 1u);

    const CliRun unknown = RunCli(L"frobnicate");
    EXPECT_EQ(unknown.status, 2u);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("frobnicate"), std::string::npos);
    EXPECT_EQ(RunCli(L"pixel " + At(0, 0) + L" --format cmyk").status, 2u);
    EXPECT_EQ(RunCli(L"find-image \"" + folder_ + L"\\无.bmp\"").status, 2u);
    EXPECT_EQ(RunCli(L"--version extra").status, 2u);
    // A Windows path in a message as it was typed, its backslashes single; a folder is no picture.
    const CliRun folder = RunCli(L"find-image \"" + folder_ + L"\"");
    EXPECT_EQ(folder.status, 2u);
    EXPECT_NE(folder.err.find("\"" + Utf8(folder_) + "\" is no file to read: a folder"), std::string::npos)
        << folder.err;
    // A file that cannot be written is named with the system's reason.
    const CliRun unwritable = RunCli(L"snapshot \"" + folder_ + L"\\无\\x.bmp\"");
    EXPECT_EQ(unwritable.status, 3u);
    const std::string named = "cannot write \"" + Utf8(folder_) + "\\无\\x.bmp\": ";
    EXPECT_NE(unwritable.err.find(named), std::string::npos) << unwritable.err;
    EXPECT_GT(unwritable.err.size(), unwritable.err.find(named) + named.size() + 2) << "no reason: " << unwritable.err;

    const CliRun help = RunCli(L"--help");
    EXPECT_EQ(help.status, 0u);
    EXPECT_EQ(help.out.rfind("Usage: pelmora-cli", 0), 0u) << help.out;
}

TEST_F(CliTest, WindowAtTheWindowAndItsUnicodeTitleAndClass) {
    const std::string handle = HandleText(window_);
    EXPECT_EQ(Out(L"window-at " + At(3, 100)), handle + "\n");
    EXPECT_EQ(Out(L"window " + Wide(handle)), std::string(kTitleUtf8) + "\nPelmoraCliTestWindow\n");
    EXPECT_EQ(Out(L"--json window " + Wide(handle)),
              "{\"handle\":" + handle + ",\"title\":\"" + kTitleUtf8 + "\",\"class\":\"PelmoraCliTestWindow\"}\n");

    // Listed with its title, and found by a Chinese part of it given on the command line.
    bool listed = false;
    for (const std::string& line : Lines(Out(L"windows")))
        listed = listed ||
                 (line.size() > 5 && line[0] == '[' && line[4] == ']' && line.substr(5) == handle + "=" + kTitleUtf8);
    EXPECT_TRUE(listed) << "no [nnn]" << handle << "= line";
    bool found = false;
    for (const std::string& line : Lines(Out(L"windows --search 命令行测试")))
        found = found || (line.size() > 2 && line[0] == '[' && line.substr(line.find(']') + 1) == handle);
    EXPECT_TRUE(found) << "windows --search did not find " << handle;
    EXPECT_EQ(RunCli(L"windows --search 没有这个窗口").status, 1u);
}

// As on X11: at most 254 bytes of UTF-8, never part of a character.
TEST_F(CliTest, ALongTitleIsCutToWholeCharactersWithin254Bytes) {
    HWND hidden = CreateWindowExW(0, kClassName, std::wstring(100, L'测').c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hidden, nullptr);
    std::string cut;
    for (int i = 0; i < 84; ++i) cut += "测";  // 3 bytes each: 252, and one more would be 255
    EXPECT_EQ(Out(L"window " + Wide(HandleText(hidden))), cut + "\nPelmoraCliTestWindow\n");
    DestroyWindow(hidden);
}

TEST_F(CliTest, ASnapshotToAChineseFileNameHoldsTheWindowsPixels) {
    const std::wstring file = folder_ + L"\\快照.bmp";
    EXPECT_EQ(Out(L"snapshot --rect " + Number(kLeft) + L"," + Number(kTop) + L"," + Number(kWidth) + L"," +
                  Number(kHeight) + L" \"" + file + L"\""),
              Utf8(file) + "\n");
    std::ifstream stream(file.c_str(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    const DecodedBitmap snapshot = DecodeBitmap(bytes);
    ASSERT_TRUE(snapshot.picture) << snapshot.error;
    ASSERT_EQ(snapshot.picture->Width(), kWidth);
    ASSERT_EQ(snapshot.picture->Height(), kHeight);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) wrong += snapshot.picture->Pixel(x, y) != WindowColour(x, y);
    EXPECT_EQ(wrong, 0) << "pixels differ from the window's";
}

TEST_F(CliTest, FindImageAndFindColourGiveScreenPositions) {
    Surface block(kBlockSide, kBlockSide);
    for (int y = 0; y < kBlockSide; ++y)
        for (int x = 0; x < kBlockSide; ++x) block.SetPixel(x, y, BlockColour(x, y));
    const std::wstring file = WrittenBitmap(L"\\图案.bmp", block);
    const std::string corner = std::to_string(kLeft + kBlockX) + "," + std::to_string(kTop + kBlockY) + "\n";
    EXPECT_EQ(Out(L"find-image \"" + file + L"\""), corner);
    // A region reaching left of and above the screen is clipped to it.
    EXPECT_EQ(Out(L"find-image \"" + file + L"\" --region -100,-100,600,500 --tolerance 3"), corner);
    EXPECT_EQ(
        RunCli(L"find-image \"" + file + L"\" --region " + Number(kLeft) + L"," + Number(kTop) + L",140,140").status,
        1u);  // the block's last column lies past it

    // The bottom-right quarter's first pixel in reading order.
    EXPECT_EQ(Out(L"find-colour 123456 --region " + Number(kLeft) + L"," + Number(kTop) + L"," + Number(kWidth) + L"," +
                  Number(kHeight)),
              std::to_string(kLeft + 80) + "," + std::to_string(kTop + 60) + "\n");
}

// The block's first pixel with points of it at their offsets, given as operands and as the
// slots of a settings file saved while the window lay 300 pixels further right and 200 down.
TEST_F(CliTest, FindPointsGivesThePlaceOfTheFirstColourFromOperandsAndFromSlots) {
    const auto hex = [](std::int32_t colour) {
        wchar_t text[8];
        swprintf(text, 8, L"%06X", static_cast<unsigned>(colour));
        return std::wstring(text);
    };
    const std::string place = std::to_string(kLeft + kBlockX) + "," + std::to_string(kTop + kBlockY) + "\n";
    const std::wstring pattern = L"find-points " + hex(BlockColour(0, 0)) + L" 5,3," + hex(BlockColour(5, 3)) +
                                 L" 31,31," + hex(BlockColour(31, 31));
    EXPECT_EQ(Out(pattern + L" -1,0,!00FF00"), place);
    EXPECT_EQ(RunCli(pattern + L" -1,0,!123456").status, 1u) << "the quarter left of the block is 123456";

    const auto slot = [](int i, int x, int y) {
        return "Position" + std::to_string(i) + "X=" + std::to_string(kLeft + kBlockX + x + 300) + "\r\nPosition" +
               std::to_string(i) + "Y=" + std::to_string(kTop + kBlockY + y + 200) + "\r\nColor" + std::to_string(i) +
               "=" + std::to_string(BlockColour(x, y)) + "\r\n";
    };
    const std::wstring file = folder_ + L"\\zarade.ini";
    {
        std::ofstream stream(file.c_str(), std::ios::binary | std::ios::trunc);
        stream << "[Position]\r\n" << slot(0, 3, 4) << slot(6, 30, 2) << slot(7, 0, 28);
    }
    EXPECT_EQ(Lines(Out(L"slots --file \"" + file + L"\"")).size(), 3u);
    EXPECT_EQ(Out(L"find-points --slots 1,7-8 --file \"" + file + L"\""),
              std::to_string(kLeft + kBlockX + 3) + "," + std::to_string(kTop + kBlockY + 4) + "\n");
}

// The block as a script's picture after a theme change (every channel 10 levels brighter
// and a little off), and as cut on a display at 200 %.
TEST_F(CliTest, FindImageFindsTheBlockNearlyThereAndAtAnotherScale) {
    Surface disturbed(kBlockSide, kBlockSide), doubled(2 * kBlockSide, 2 * kBlockSide);
    for (int y = 0; y < kBlockSide; ++y)
        for (int x = 0; x < kBlockSide; ++x) {
            std::int32_t colour = 0;
            for (int shift = 0; shift < 24; shift += 8)
                colour |= std::min((BlockColour(x, y) >> shift & 0xFF) + 10 + (x * 5 + y * 3) % 5 - 2, 255) << shift;
            disturbed.SetPixel(x, y, colour);
        }
    for (int y = 0; y < 2 * kBlockSide; ++y)
        for (int x = 0; x < 2 * kBlockSide; ++x) doubled.SetPixel(x, y, BlockColour(x / 2, y / 2));
    const std::wstring nearly = WrittenBitmap(L"\\近似.bmp", disturbed);
    const std::wstring big = WrittenBitmap(L"\\两倍.bmp", doubled);
    const std::string corner = "{\"x\":" + std::to_string(kLeft + kBlockX) + ",\"y\":" + std::to_string(kTop + kBlockY);
    EXPECT_EQ(RunCli(L"find-image \"" + nearly + L"\" --tolerance 8").status, 1u);
    EXPECT_EQ(Out(L"--json find-image \"" + nearly + L"\" --similarity 0.9").substr(0, corner.size() + 12),
              corner + ",\"score\":0.9");
    EXPECT_EQ(Out(L"--json find-image \"" + big + L"\" --scales 0.5,1 --similarity 0.95"),
              corner + ",\"score\":1.0000,\"scale\":0.5}\n");
}

// A console of this program's own (under wine the one it starts with may be none), its
// window hidden so as not to cover the test window; let go at the end.
TEST_F(CliTest, AFramedWindowsRectanglesAndItsClientAreaInPhysicalPixels) {
    // A framed window whose client area is the test picture, kWidth x kHeight, at 500,300.
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    RECT outer{500, 300, 500 + kWidth, 300 + kHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, WS_EX_TOPMOST);
    HWND framed = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"Pelmora 带框窗口", kStyle, outer.left, outer.top,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(framed, nullptr);
    UpdateWindow(framed);
    ASSERT_TRUE(PumpUntil([] {
        HDC screen = GetDC(nullptr);
        const bool painted = GetPixel(screen, 500 + kBlockX, 300 + kBlockY) == static_cast<COLORREF>(BlockColour(0, 0));
        ReleaseDC(nullptr, screen);
        return painted;
    }));
    const std::wstring handle = Number(static_cast<int>(reinterpret_cast<std::intptr_t>(framed)));
    EXPECT_EQ(Out(L"window-rect " + handle + L" --client"),
              "500,300," + std::to_string(kWidth) + "," + std::to_string(kHeight) + "\n");
    EXPECT_EQ(Out(L"pixel 10 10 --window " + handle + L" --client"), "0000FF\n");
    EXPECT_EQ(Out(L"find-colour 123456 --title 带框 --client"), std::to_string(kWidth / 2) + ",60\n");
    // The frame holds the client area, with a caption above it.
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(Out(L"window-rect " + handle).c_str(), "%d,%d,%d,%d", &left, &top, &width, &height), 4);
    EXPECT_LE(left, 500);
    EXPECT_LT(top, 300 - 10);
    EXPECT_GE(left + width, 500 + kWidth);
    EXPECT_GE(top + height, 300 + kHeight);
    EXPECT_EQ(Out(L"pixel " + Number(10 + 500 - left) + L" " + Number(10 + 300 - top) + L" --window " + handle),
              "0000FF\n");
    ShowWindow(framed, SW_MINIMIZE);
    const CliRun minimised = RunCli(L"window-rect " + handle);
    EXPECT_EQ(minimised.status, 1u);
    EXPECT_NE(minimised.err.find("is minimised"), std::string::npos) << minimised.err;
    DestroyWindow(framed);
}

class OwnConsole {
public:
    OwnConsole() {
        FreeConsole();
        made_ = AllocConsole() != 0;
        if (made_) ShowWindow(GetConsoleWindow(), SW_HIDE);
    }
    ~OwnConsole() {
        if (made_) FreeConsole();
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;
    bool made() const { return made_; }

private:
    bool made_ = false;
};

// In a console the text goes in UTF-16, so Chinese shows whatever the console's code page,
// here one without Chinese (bytes written as they are would show in it as other characters).
TEST_F(CliTest, InAConsoleChineseShowsWhateverTheCodePage) {
    const OwnConsole console;
    ASSERT_TRUE(console.made()) << "error " << GetLastError();
    const UINT codePage = GetConsoleOutputCP();
    ASSERT_TRUE(SetConsoleOutputCP(437));
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              &inheritable, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    const CliRun run = RunCli(L"window " + Wide(HandleText(window_)), nullptr, screen);
    SetConsoleOutputCP(codePage);
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, "");  // nothing went to the pipe
    const auto row = [&](SHORT y) {
        wchar_t text[80] = {};
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, text, 80, COORD{0, y}, &read);
        std::wstring line(text, read);
        return line.substr(0, line.find_last_not_of(L' ') + 1);
    };
    EXPECT_EQ(row(0), kTitle);
    EXPECT_EQ(row(1), kClassName);
    CloseHandle(screen);
}

// On a desktop other than the one shown, nothing of the screen can be read: status 3, with
// a message, and nothing on standard output.
TEST_F(CliTest, ADesktopNotShownIsRefusedWithStatus3) {
    HDESK hidden = CreateDesktopW(L"PelmoraCliHidden", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(hidden, nullptr) << "error " << GetLastError();
    const CliRun run = RunCli(L"pixel 0 0", L"WinSta0\\PelmoraCliHidden");
    CloseDesktop(hidden);
    EXPECT_EQ(run.status, 3u) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("pelmora-cli: the screen cannot be read: "), std::string::npos) << run.err;
    // The command line is read before the screen is looked at.
    EXPECT_EQ(RunCli(L"--version", L"WinSta0\\PelmoraCliHidden").status, 0u);
}

// The manifest that makes Windows give the program physical pixels on every monitor, and
// the version information, numbered as the project.
TEST_F(CliTest, ItsManifestAsksForEachMonitorsDpiAndItsVersionIsTheProjects) {
    HMODULE module =
        LoadLibraryExW(CliPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(PELMORA_MANIFEST_ID), MAKEINTRESOURCEW(24));
    const void* bytes = found ? LockResource(LoadResource(module, found)) : nullptr;
    const std::string manifest =
        bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, found)) : "";
    FreeLibrary(module);
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);

    DWORD ignored = 0;
    std::vector<char> information(GetFileVersionInfoSizeW(CliPath().c_str(), &ignored));
    ASSERT_FALSE(information.empty());
    ASSERT_TRUE(GetFileVersionInfoW(CliPath().c_str(), 0, static_cast<DWORD>(information.size()), information.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                  "." + std::to_string(HIWORD(fixed->dwFileVersionLS)),
              PELMORA_VERSION_TEXT);
    wchar_t* name = nullptr;
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\StringFileInfo\\080404b0\\OriginalFilename",
                               reinterpret_cast<void**>(&name), &size));
    EXPECT_EQ(std::wstring(name), L"pelmora-cli.exe");
}

}  // namespace
}  // namespace pelmora
