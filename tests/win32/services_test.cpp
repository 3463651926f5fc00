// SPDX-License-Identifier: MIT
// The clipboard, the file system, the clock and message pump, the dialogs' filter and the
// ANSI encoding against wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "capture/bitmap_file.h"
#include "platform/delay.h"
#include "backends/win32/win32_clipboard.h"
#include "backends/win32/win32_clock_pump.h"
#include "backends/win32/win32_dialogs.h"
#include "backends/win32/win32_file_system.h"
#include "backends/win32/win32_text.h"
#include "settings/storable_path.h"

namespace pelmora {
namespace {

// --- The clipboard -------------------------------------------------------------------

// Little-endian fields of hand-made DIBs.
void Put16(std::string& bytes, std::uint32_t value) {
    bytes += static_cast<char>(value);
    bytes += static_cast<char>(value >> 8);
}
void Put32(std::string& bytes, std::uint32_t value) {
    Put16(bytes, value);
    Put16(bytes, value >> 16);
}

// A BITMAPINFOHEADER.
std::string InfoHeader(int width, int height, int bitCount, std::uint32_t compression, std::uint32_t used) {
    std::string header;
    Put32(header, 40);
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    Put16(header, 1);
    Put16(header, static_cast<std::uint32_t>(bitCount));
    Put32(header, compression);
    Put32(header, 0);
    Put32(header, 3780);
    Put32(header, 3780);
    Put32(header, used);
    Put32(header, 0);
    return header;
}

class ClipboardTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"clipboard owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        clipboard.SetOwner(owner_);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // The raw bytes of a format as another program reads them; empty when it is not there.
    std::string ReadRaw(UINT format) {
        std::string bytes;
        if (!OpenClipboard(owner_)) {
            ADD_FAILURE() << "clipboard not opened";
            return bytes;
        }
        if (HANDLE memory = GetClipboardData(format)) {
            if (const void* data = GlobalLock(memory)) {
                bytes.assign(static_cast<const char*>(data), GlobalSize(memory));
                GlobalUnlock(memory);
            }
        }
        CloseClipboard();
        return bytes;
    }

    // Puts bytes on the clipboard in format as another program would, replacing everything.
    void PutRaw(UINT format, const std::string& bytes) {
        ASSERT_TRUE(OpenClipboard(owner_));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        EXPECT_NE(SetClipboardData(format, memory), nullptr);
        CloseClipboard();
    }

    HWND owner_ = nullptr;
    Win32Clipboard clipboard;
    AnsiEncoding encoding;
};

TEST_F(ClipboardTest, TextRoundTripsAndOtherProgramsReadItInTheirCodePage) {
    const std::string text = "Pelmora 取色 ✓ é\r\nsecond line";
    clipboard.SetText(text);
    EXPECT_EQ(clipboard.Text(), text);
    // A program asking for CF_TEXT gets it in the ANSI code page, ended by a NUL.
    const std::string ansi = ReadRaw(CF_TEXT);
    EXPECT_EQ(std::string(ansi.c_str()), encoding.FromUtf8(text));

    clipboard.Clear();
    EXPECT_EQ(clipboard.Text(), "");
    EXPECT_EQ(ReadRaw(CF_UNICODETEXT), "");
}

TEST_F(ClipboardTest, TextPutAsAnsiByAnotherProgramIsRead) {
    PutRaw(CF_TEXT, std::string("from an old program\0garbage\0", 28));
    EXPECT_EQ(clipboard.Text(), "from an old program");
    EXPECT_FALSE(clipboard.Picture().has_value());
}

TEST_F(ClipboardTest, PictureGoesAsDibAndComesBack) {
    Surface picture(3, 2);
    const std::int32_t colours[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF, 0x000000};
    for (int i = 0; i < 6; ++i) picture.SetPixel(i % 3, i / 3, colours[i]);
    clipboard.SetPicture(picture);

    // The packed bitmap: the saved file's bytes without the file header (the memory block
    // may be rounded up).
    const std::string dib = ReadRaw(CF_DIB);
    const std::string file = EncodeBitmap(picture);
    ASSERT_GE(dib.size(), file.size() - 14);
    EXPECT_EQ(dib.substr(0, file.size() - 14), file.substr(14));
    EXPECT_EQ(clipboard.Text(), "");

    const std::optional<Surface> back = clipboard.Picture();
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->Width(), 3);
    ASSERT_EQ(back->Height(), 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(back->Pixel(i % 3, i / 3), colours[i]) << "pixel " << i;
}

TEST_F(ClipboardTest, DibsOtherProgramsPutAreRead) {
    // 24 bits, rows bottom-up, each padded to 4 bytes: the bottom row first.
    std::string dib24 = InfoHeader(2, 2, 24, BI_RGB, 0);
    dib24 += std::string(
        "\x00\x00\xFF"
        "\x00\xFF\x00"
        "\x00\x00",
        8);  // red, green
    dib24 += std::string(
        "\xFF\x00\x00"
        "\x56\x34\x12"
        "\x00\x00",
        8);  // blue, 0x123456 as B G R
    PutRaw(CF_DIB, dib24);
    std::optional<Surface> picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 1), 0x0000FF);
    EXPECT_EQ(picture->Pixel(1, 1), 0x00FF00);
    EXPECT_EQ(picture->Pixel(0, 0), 0xFF0000);
    EXPECT_EQ(picture->Pixel(1, 0), 0x563412);

    // 8 bits with a colour table of two entries: the pixels start after those eight bytes.
    std::string dib8 = InfoHeader(2, 1, 8, BI_RGB, 2);
    dib8 += std::string(
        "\x10\x20\x30\x00"
        "\x40\x50\x60\x00",
        8);
    dib8 += std::string("\x01\x00\x00\x00", 4);
    PutRaw(CF_DIB, dib8);
    picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 0), 0x405060);
    EXPECT_EQ(picture->Pixel(1, 0), 0x102030);

    // 32 bits with bit-field masks behind the header (here red in the low byte).
    std::string fields = InfoHeader(1, 1, 32, BI_BITFIELDS, 0);
    Put32(fields, 0x000000FF);
    Put32(fields, 0x0000FF00);
    Put32(fields, 0x00FF0000);
    fields += std::string("\x11\x22\x33\x00", 4);
    PutRaw(CF_DIB, fields);
    picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 0), 0x332211);
}

TEST_F(ClipboardTest, PictureIsReadByProgramsAskingForABitmapHandle) {
    Surface picture(3, 2, 0x123456);
    picture.SetPixel(2, 0, 0x0000FF);
    picture.SetPixel(0, 1, 0xFF00FF);
    clipboard.SetPicture(picture);

    ASSERT_TRUE(OpenClipboard(owner_));
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP size{};
    COLORREF pixels[3] = {};
    if (bitmap && GetObjectW(bitmap, sizeof size, &size)) {
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap);
        pixels[0] = GetPixel(memory, 0, 0);
        pixels[1] = GetPixel(memory, 2, 0);
        pixels[2] = GetPixel(memory, 0, 1);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    CloseClipboard();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(size.bmWidth, 3);
    EXPECT_EQ(size.bmHeight, 2);
    // COLORREF is the program's colour value: 0x00BBGGRR.
    EXPECT_EQ(pixels[0], 0x123456u);
    EXPECT_EQ(pixels[1], 0x0000FFu);
    EXPECT_EQ(pixels[2], 0xFF00FFu);
}

TEST_F(ClipboardTest, PackedLayoutsOtherProgramsPutAreRead) {
    // The OS/2 core header: a 1-bit picture with a table of two 3-byte entries.
    std::string core;
    Put32(core, 12);
    Put16(core, 2);  // width
    Put16(core, 1);  // height
    Put16(core, 1);  // planes
    Put16(core, 1);  // bits
    // Red and blue as blue, green, red; then the pixels' indices 0 and 1.
    core += std::string("\x00\x00\xFF\xFF\x00\x00", 6);
    core += std::string("\x40\x00\x00\x00", 4);
    PutRaw(CF_DIB, core);
    std::optional<Surface> picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 0), 0x0000FF);
    EXPECT_EQ(picture->Pixel(1, 0), 0xFF0000);

    // 24 bits with a table of two colours for palette displays: the pixels follow it.
    std::string tabled = InfoHeader(1, 1, 24, BI_RGB, 2);
    tabled += std::string(8, '\x77');
    tabled += std::string("\x33\x22\x11\x00", 4);
    PutRaw(CF_DIB, tabled);
    picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 0), 0x332211);

    // A V5 header whose embedded profile another program placed before the pixels, and a
    // block with bytes to spare after them.
    const std::string profile = "an ICC profile";
    std::string v5 = InfoHeader(1, 1, 24, BI_RGB, 0);
    v5[0] = sizeof(BITMAPV5HEADER);
    v5.resize(offsetof(BITMAPV5HEADER, bV5CSType), '\0');
    Put32(v5, 0x4D424544);  // PROFILE_EMBEDDED, 'MBED'
    v5.resize(offsetof(BITMAPV5HEADER, bV5ProfileData), '\0');
    Put32(v5, sizeof(BITMAPV5HEADER));
    Put32(v5, static_cast<std::uint32_t>(profile.size()));
    Put32(v5, 0);
    v5 += profile;
    v5 += std::string("\x66\x55\x44\x00", 4);
    v5 += std::string(9, '\xEE');
    PutRaw(CF_DIB, v5);
    picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 0), 0x665544);
}

TEST_F(ClipboardTest, DibV5PutByAnotherProgramIsRead) {
    // 32 bits, red in the low byte, alpha in the top one, rows from the top; Windows offers
    // it as CF_DIB.
    std::string v5 = InfoHeader(2, -1, 32, BI_BITFIELDS, 0);
    v5[0] = sizeof(BITMAPV5HEADER);
    Put32(v5, 0x000000FF);
    Put32(v5, 0x0000FF00);
    Put32(v5, 0x00FF0000);
    Put32(v5, 0xFF000000);
    Put32(v5, 0x73524742);  // LCS_sRGB
    v5.resize(sizeof(BITMAPV5HEADER), '\0');
    v5 += std::string("\x11\x22\x33\xFF\xAA\xBB\xCC\x80", 8);
    PutRaw(CF_DIBV5, v5);

    const std::optional<Surface> picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->Width(), 2);
    ASSERT_EQ(picture->Height(), 1);
    EXPECT_EQ(picture->Pixel(0, 0), 0x332211);
    EXPECT_EQ(picture->Pixel(1, 0), 0xCCBBAA);
}

TEST_F(ClipboardTest, BitmapHandlePutByAnotherProgramIsRead) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 3);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    const RECT whole{0, 0, 4, 3};
    FillRect(memory, &whole, brush);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(owner_));
    EmptyClipboard();
    EXPECT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
    CloseClipboard();

    const std::optional<Surface> picture = clipboard.Picture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), 4);
    EXPECT_EQ(picture->Height(), 3);
    EXPECT_EQ(picture->Pixel(3, 2), 0x563412);
}

TEST_F(ClipboardTest, BrokenDibsGiveNoPicture) {
    // A header that promises 100 x 100 pixels, followed by ten bytes.
    PutRaw(CF_DIB, InfoHeader(100, 100, 24, BI_RGB, 0) + std::string(10, '\x7F'));
    EXPECT_FALSE(clipboard.Picture().has_value());
    PutRaw(CF_DIB, "abc");
    EXPECT_FALSE(clipboard.Picture().has_value());
    // A header size larger than the block.
    std::string oversized = InfoHeader(1, 1, 24, BI_RGB, 0) + std::string(4, '\0');
    oversized[0] = '\x00';
    oversized[1] = '\x10';
    PutRaw(CF_DIB, oversized);
    EXPECT_FALSE(clipboard.Picture().has_value());
    // A colour table longer than the block.
    PutRaw(CF_DIB, InfoHeader(1, 1, 8, BI_RGB, 0x40000000) + std::string(8, '\0'));
    EXPECT_FALSE(clipboard.Picture().has_value());
    // Bit fields whose masks are missing.
    PutRaw(CF_DIB, InfoHeader(1, 1, 32, BI_BITFIELDS, 0));
    EXPECT_FALSE(clipboard.Picture().has_value());
}

// --- Files and folders ---------------------------------------------------------------

// Deletes folder and everything in it.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

class FileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        // A name outside every ANSI code page but the Chinese ones.
        folder_ = std::wstring(temp) + L"pelmora 测试 " + std::to_wstring(GetCurrentProcessId());
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(folder_); }

    std::string Path(const std::string& name) const { return Utf8(folder_) + "\\" + name; }

    // The names in the test folder.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(Utf8(name));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    std::wstring folder_;
    Win32FileSystem files;
};

TEST_F(FileSystemTest, WholeFilesAreWrittenReplacedAndReadBack) {
    const std::string path = Path("设置.ini");
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 251);
    ASSERT_TRUE(files.WriteFileWhole(path, bytes));
    EXPECT_EQ(files.ReadFile(path), bytes);
    const FileStart start = files.ReadFileStart(path, 10);
    EXPECT_EQ(start.size, bytes.size());
    EXPECT_EQ(start.bytes, bytes.substr(0, 10));
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_TRUE(files.EntryExists(path));

    // A shorter file replaces the whole, leaving no temporary file beside it.
    ASSERT_TRUE(files.WriteFileWhole(path, "short"));
    EXPECT_EQ(files.ReadFile(path), "short");
    EXPECT_EQ(files.ReadFileStart(path, 10).bytes, "short");
    EXPECT_EQ(Entries(), std::vector<std::string>{"设置.ini"});

    ASSERT_TRUE(files.WriteFileWhole(path, ""));
    EXPECT_EQ(files.ReadFile(path), "");
}

TEST_F(FileSystemTest, FailedWritesLeaveNothingNewAndTheOldContents) {
    EXPECT_FALSE(files.WriteFileWhole(Path("missing\\a.ini"), "x"));
    EXPECT_FALSE(files.EntryExists(Path("missing")));
    EXPECT_TRUE(Entries().empty());

    // A folder where the file should go cannot be replaced.
    ASSERT_TRUE(files.CreateFolder(Path("taken")));
    EXPECT_FALSE(files.WriteFileWhole(Path("taken"), "x"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});

    // Neither can a read-only file.
    const std::string path = Path("locked.ini");
    ASSERT_TRUE(files.WriteFileWhole(path, "old"));
    ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files.WriteFileWhole(path, "new"));
    EXPECT_EQ(files.ReadFile(path), "old");
    EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(FileSystemTest, HiddenAndSystemFilesAndFoldersAreNoFiles) {
    for (const DWORD mark : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        const std::string path = Path("marked" + std::to_string(mark));
        ASSERT_TRUE(files.WriteFileWhole(path, "abc"));
        ASSERT_TRUE(files.FileExists(path));
        ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), mark));
        EXPECT_FALSE(files.FileExists(path)) << mark;
        EXPECT_TRUE(files.EntryExists(path)) << mark;
        EXPECT_EQ(files.ReadFile(path), "abc") << mark;
    }
    EXPECT_FALSE(files.FileExists(Utf8(folder_)));
    EXPECT_TRUE(files.EntryExists(Utf8(folder_)));
    EXPECT_EQ(files.ReadFileStart(Utf8(folder_), 10).reason, "a folder");
    EXPECT_FALSE(files.ReadFile(Utf8(folder_)).has_value());
    EXPECT_FALSE(files.ReadFile(Path("absent")).has_value());
    EXPECT_EQ(files.ReadFileStart(Path("absent"), 10).problem, FileStart::Problem::kNotAFile);
    // A device is no file, and is not read.
    EXPECT_EQ(files.ReadFileStart("NUL", 10).problem, FileStart::Problem::kNotAFile);
    EXPECT_FALSE(files.EntryExists(Path("absent")));
}

// Replacing a hidden or system file leaves it hidden or system: a settings file marked so
// is ignored at start-up, and the rewrite at shut-down must not make it count next time.
TEST_F(FileSystemTest, ReplacedFilesKeepTheirHiddenAndSystemMarks) {
    constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const auto marksOf = [](const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) & kMarks; };
    const DWORD marks[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED};
    for (const DWORD mark : marks) {
        SCOPED_TRACE(mark);
        const std::string path = Path("zarade" + std::to_string(mark) + ".ini");
        ASSERT_TRUE(files.WriteFileWhole(path, "old contents"));
        ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), mark));
        // What the file system keeps of them (wine does not store not-content-indexed).
        const DWORD set = marksOf(path);
        ASSERT_NE(set & FILE_ATTRIBUTE_HIDDEN, 0u);
        ASSERT_EQ(set & FILE_ATTRIBUTE_SYSTEM, mark & FILE_ATTRIBUTE_SYSTEM);

        ASSERT_TRUE(files.WriteFileWhole(path, "new"));
        EXPECT_EQ(files.ReadFile(path), "new");
        EXPECT_EQ(marksOf(path), set);
        EXPECT_FALSE(files.FileExists(path));
        // Written a second time, still the same.
        ASSERT_TRUE(files.WriteFileWhole(path, "newer"));
        EXPECT_EQ(files.ReadFile(path), "newer");
        EXPECT_EQ(marksOf(path), set);
    }
    EXPECT_EQ(Entries().size(), std::size(marks)) << "a temporary file was left behind";

    // A file written where there was none is a plain file.
    const std::string plain = Path("plain.ini");
    ASSERT_TRUE(files.WriteFileWhole(plain, "x"));
    EXPECT_EQ(marksOf(plain), 0u);
    EXPECT_TRUE(files.FileExists(plain));
}

TEST_F(FileSystemTest, FoldersAreMadeOneLevelAtATimeAndProbedForWriting) {
    EXPECT_FALSE(files.CreateFolder(Path("a\\b")));
    EXPECT_FALSE(files.EntryExists(Path("a")));
    EXPECT_TRUE(files.CreateFolder(Path("a")));
    EXPECT_TRUE(files.CreateFolder(Path("a\\b")));
    EXPECT_FALSE(files.CreateFolder(Path("a")));  // there already
    EXPECT_TRUE(files.EntryExists(Path("a\\b")));

    EXPECT_TRUE(files.DirectoryWritable(Utf8(folder_)));
    EXPECT_TRUE(files.DirectoryWritable(Utf8(folder_) + "\\"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"a"});  // the probe went
    EXPECT_FALSE(files.DirectoryWritable(Path("absent")));
}

TEST_F(FileSystemTest, ReadOnlyFilesAreToldApartWithoutBeingChanged) {
    const std::string path = Path("zarade.ini");
    EXPECT_FALSE(files.FileReadOnly(path));
    EXPECT_FALSE(files.EntryExists(path)) << "asking made the file";
    ASSERT_TRUE(files.WriteFileWhole(path, "old"));
    EXPECT_FALSE(files.FileReadOnly(path));
    ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(files.FileReadOnly(path));
    EXPECT_EQ(files.ReadFile(path), "old");
    EXPECT_FALSE(files.FileReadOnly(Utf8(folder_)));  // a folder is no file
}

// The test folder's name is outside code page 1252, which wine's prefixes here use: the
// settings file, written in that code page, can hold the folder only by its short name.
TEST_F(FileSystemTest, AFolderTheCodePageCannotHoldIsStorableByAShortNameThatLeadsToItself) {
    const AnsiEncoding ansi;
    const std::string snap = Path("截图");
    ASSERT_TRUE(files.CreateFolder(snap));
    if (ansi.ToUtf8(ansi.FromUtf8(snap)) == snap) GTEST_SKIP() << "this code page holds the name";
    const std::optional<std::string> stored = StorablePath(files, ansi, snap);
    ASSERT_TRUE(stored.has_value()) << "no short name for " << snap;
    const std::string readBack = ansi.ToUtf8(ansi.FromUtf8(*stored));
    EXPECT_EQ(readBack, *stored);
    // The same folder: a file put there by its long name is found by the short one.
    ASSERT_TRUE(files.WriteFileWhole(snap + "\\probe.bmp", "x"));
    EXPECT_EQ(files.ReadFile(readBack + "\\probe.bmp"), "x") << readBack;
    // A folder not made yet has no short name.
    EXPECT_FALSE(StorablePath(files, ansi, Path("未建")).has_value());
}

TEST_F(FileSystemTest, ProgramAndConfigurationFoldersExist) {
    const std::string executable = files.ExecutableDirectory();
    ASSERT_FALSE(executable.empty());
    EXPECT_NE(executable.back(), '\\');
    EXPECT_TRUE(files.FileExists(executable + "\\win32_backend_tests.exe")) << executable;

    const std::string config = files.UserConfigDirectory();
    EXPECT_EQ(config.substr(config.size() - 8), "\\Pelmora");
    EXPECT_TRUE(files.EntryExists(config));
    EXPECT_FALSE(files.FileExists(config));
}

// --- The clock and the message pump --------------------------------------------------

UINT handled = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++handled;
    return DefWindowProcW(window, message, wParam, lParam);
}

class PumpTest : public testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = CountingProcedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"PelmoraPumpTestWindow";
            return RegisterClassW(&windowClass) != 0;
        }();
        ASSERT_TRUE(registered);
        window_ = CreateWindowExW(0, L"PelmoraPumpTestWindow", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        handled = 0;
        pump.beforeProcessing = [this] { ++before_; };
    }
    void TearDown() override { DestroyWindow(window_); }

    HWND window_ = nullptr;
    int before_ = 0;
    Win32Clock clock;
    Win32MessagePump pump;
};

TEST_F(PumpTest, DelayRunsWaitingMessagesAndLastsAboutTheTimeAsked) {
    PostMessageW(window_, WM_APP, 0, 0);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DelayMs(clock, pump, 120);
    QueryPerformanceCounter(&end);
    const double elapsedMs =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    EXPECT_EQ(handled, 1u);
    EXPECT_GT(before_, 0);
    EXPECT_GE(elapsedMs, 115.0);
    EXPECT_LT(elapsedMs, 1000.0);
}

TEST_F(PumpTest, QuitTakenOutInsideAWaitIsPostedAgain) {
    PostMessageW(window_, WM_APP, 0, 0);
    PostQuitMessage(42);
    DelayMs(clock, pump, 20);
    EXPECT_EQ(handled, 1u);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 42u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// --- The file dialogs' filter and the ANSI encoding ----------------------------------

TEST(FileDialogFilterTest, DescriptionThenThePatternsInItsParentheses) {
    using namespace std::string_literals;
    EXPECT_EQ(FileDialogFilter("24位位图 (*.Bmp)"), L"24位位图 (*.Bmp)\0*.Bmp\0\0"s);
    EXPECT_EQ(FileDialogFilter("位图文件(*.bmp)"), L"位图文件(*.bmp)\0*.bmp\0\0"s);
    EXPECT_EQ(FileDialogFilter("Pictures (*.bmp *.dib)"), L"Pictures (*.bmp *.dib)\0*.bmp;*.dib\0\0"s);
    EXPECT_EQ(FileDialogFilter("Everything"), L"Everything\0*.*\0\0"s);
    EXPECT_EQ(FileDialogFilter("A (*.a);;B (*.b)"), L"A (*.a)\0*.a\0B (*.b)\0*.b\0\0"s);
}

TEST(AnsiEncodingTest, AsciiRoundTripsAndLeadBytesAtTheEndStandAlone) {
    const AnsiEncoding encoding;
    const std::string ascii = "Pelmora 3.50 [x=12, y=34]";
    EXPECT_EQ(encoding.FromUtf8(ascii), ascii);
    EXPECT_EQ(encoding.ToUtf8(ascii), ascii);
    int leads = 0;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string atEnd = std::string("a") + c;
        EXPECT_EQ(encoding.CharacterLength(atEnd, 1), 1u) << byte;
        if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(byte))) {
            ++leads;
            EXPECT_EQ(encoding.CharacterLength(atEnd + "b", 1), 2u) << byte;
        } else {
            EXPECT_EQ(encoding.CharacterLength(atEnd + "b", 1), 1u) << byte;
        }
    }
    // A double-byte code page cuts before a character that does not fit whole.
    if (leads > 0) {
        const std::string chinese = encoding.FromUtf8("取色");
        ASSERT_EQ(chinese.size(), 4u);
        EXPECT_EQ(encoding.CutAtCharacterBoundary(chinese, 3), chinese.substr(0, 2));
    }
}

}  // namespace
}  // namespace pelmora
