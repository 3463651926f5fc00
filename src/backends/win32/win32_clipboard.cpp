// SPDX-License-Identifier: MIT
#include "backends/win32/win32_clipboard.h"

#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "capture/bitmap_file.h"
#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

// The clipboard, open for the length of one call. Another program may hold it for a
// moment; opening is tried a few times before the call gives up quietly.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        constexpr int kAttempts = 5;
        for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
            if (attempt > 0) Sleep(10);
            open_ = OpenClipboard(owner) != 0;
        }
    }
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// The bytes of a clipboard memory block, locked while this lives; size is what GlobalSize
// reports, never more than is there.
class LockedMemory {
public:
    explicit LockedMemory(HANDLE memory) : memory_(memory) {
        if (!memory_) return;
        data_ = static_cast<const char*>(GlobalLock(memory_));
        if (data_) size_ = GlobalSize(memory_);
    }
    ~LockedMemory() {
        if (data_) GlobalUnlock(memory_);
    }
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;
    std::string_view bytes() const { return data_ ? std::string_view(data_, size_) : std::string_view(); }

private:
    HANDLE memory_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Hands bytes to the clipboard (which is open and emptied) in format; the clipboard owns
// the memory once it took it.
void Put(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return;
    void* place = GlobalLock(memory);
    if (!place) {
        GlobalFree(memory);
        return;
    }
    std::memcpy(place, bytes, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
}

}  // namespace

void Win32Clipboard::Clear() {
    const OpenedClipboard clipboard(owner_);
    if (clipboard) EmptyClipboard();
}

void Win32Clipboard::SetText(const std::string& text) {
    const OpenedClipboard clipboard(owner_);
    if (!clipboard) return;
    EmptyClipboard();
    // Windows offers the text as CF_TEXT, in the ANSI code page, to programs asking for that.
    const std::wstring wide = Wide(text);
    Put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

void Win32Clipboard::SetPicture(const Surface& picture) {
    const OpenedClipboard clipboard(owner_);
    if (!clipboard) return;
    EmptyClipboard();
    // An empty picture has no bitmap another program could paste.
    if (picture.Width() <= 0 || picture.Height() <= 0) return;
    const std::string dib = EncodePackedBitmap(picture);
    Put(CF_DIB, dib.data(), dib.size());
}

std::optional<std::string> Win32Clipboard::Text() {
    const OpenedClipboard clipboard(owner_);
    if (!clipboard) return std::nullopt;
    // Windows gives CF_UNICODETEXT converted from CF_TEXT when only that was put there.
    const LockedMemory memory(GetClipboardData(CF_UNICODETEXT));
    const std::string_view bytes = memory.bytes();
    const std::wstring_view all(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    const std::size_t end = all.find(L'\0');
    return Utf8(all.substr(0, end));
}

std::optional<Surface> Win32Clipboard::Picture() {
    // The bytes are copied out so that the clipboard is closed again before they are read.
    std::string dib;
    {
        const OpenedClipboard clipboard(owner_);
        if (!clipboard) return std::nullopt;
        // Windows makes CF_DIB from a CF_BITMAP or CF_DIBV5 another program put there.
        const LockedMemory memory(GetClipboardData(CF_DIB));
        dib = memory.bytes();
    }
    DecodedBitmap decoded = DecodePackedBitmap(dib);
    return std::move(decoded.picture);
}

}  // namespace pelmora
