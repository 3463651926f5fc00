// SPDX-License-Identifier: MIT
#include "backends/win32/win32_clipboard.h"

#include <cstring>
#include <string_view>

#include "capture/bitmap_file.h"
#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;  // BITMAPFILEHEADER, which CF_DIB lacks

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

std::uint32_t ReadU16(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1]))
                                                       << 8;
}
std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

void WriteU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

std::optional<std::uint32_t> PackedDibPixelOffset(std::string_view dib) {
    // The pixels follow the information header, the three or four colour masks that only a
    // 40-byte header with BI_BITFIELDS or BI_ALPHABITFIELDS has behind it (the larger
    // headers hold them inside), and the colour table.
    if (dib.size() < 4) return std::nullopt;
    const std::uint64_t headerBytes = ReadU32(dib, 0);
    if (headerBytes < 12 || headerBytes > dib.size()) return std::nullopt;
    std::uint64_t maskBytes = 0;
    std::uint64_t tableBytes = 0;
    if (headerBytes == 12) {
        // The OS/2 core header: 3-byte colour table entries, one per possible index.
        const std::uint32_t bitCount = ReadU16(dib, 10);
        if (bitCount <= 8) tableBytes = 3ull << bitCount;
    } else {
        if (headerBytes < 20) return std::nullopt;
        const std::uint32_t bitCount = ReadU16(dib, 14);
        const std::uint32_t compression = ReadU32(dib, 16);
        const std::uint32_t used = headerBytes >= 36 ? ReadU32(dib, 32) : 0;
        if (headerBytes == 40 && compression == BI_BITFIELDS) maskBytes = 12;
        if (headerBytes == 40 && compression == 6 /* BI_ALPHABITFIELDS */) maskBytes = 16;
        if (used != 0) tableBytes = 4ull * used;
        else if (bitCount <= 8) tableBytes = 4ull << bitCount;
    }
    const std::uint64_t offset = kFileHeaderBytes + headerBytes + maskBytes + tableBytes;
    if (offset > kFileHeaderBytes + dib.size()) return std::nullopt;
    return static_cast<std::uint32_t>(offset);
}

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
    // A packed DIB is a bitmap file without its file header.
    const std::string file = EncodeBitmap(picture);
    if (file.size() <= kFileHeaderBytes) return;
    Put(CF_DIB, file.data() + kFileHeaderBytes, file.size() - kFileHeaderBytes);
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
    std::string file;
    {
        const OpenedClipboard clipboard(owner_);
        if (!clipboard) return std::nullopt;
        // Windows makes CF_DIB from a CF_BITMAP or CF_DIBV5 another program put there.
        const LockedMemory memory(GetClipboardData(CF_DIB));
        const std::string_view dib = memory.bytes();
        const std::optional<std::uint32_t> pixelOffset = PackedDibPixelOffset(dib);
        if (!pixelOffset) return std::nullopt;
        file.assign(kFileHeaderBytes, '\0');
        file[0] = 'B';
        file[1] = 'M';
        WriteU32(file, 2,
                 static_cast<std::uint32_t>(std::min<std::uint64_t>(kFileHeaderBytes + dib.size(), 0xFFFFFFFF)));
        WriteU32(file, 10, *pixelOffset);
        file.append(dib);
    }
    DecodedBitmap decoded = DecodeBitmap(file);
    return std::move(decoded.picture);
}

}  // namespace pelmora
