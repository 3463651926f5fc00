// SPDX-License-Identifier: MIT
#include "backends/win32/win32_file_system.h"

#include <windows.h>

// clang-format off
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// folder\name, without doubling a separator the folder ends in.
std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || IsSeparator(folder.back())) return folder + name;
    return folder + L'\\' + name;
}

// A file name no other call of this process uses, for temporary and probe files.
std::wstring UniqueName(std::wstring_view prefix) {
    static std::atomic<unsigned> counter{0};
    wchar_t name[64];
    wsprintfW(name, L"%08lx-%08lx-%08x.tmp", GetCurrentProcessId(), GetTickCount(), counter.fetch_add(1));
    return std::wstring(prefix) + name;
}

// A handle closed when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool Close() {
        if (!valid()) return true;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// The marks of a file that a replacement keeps: hidden and system (Explorer does not show
// the file, and the program takes it for absent), and left out of the search index.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The system's words for an error, in UTF-8, without the line break they end in.
std::string SystemMessage(DWORD error) {
    // In English where the system has its messages in English, else in the system's language.
    wchar_t* text = nullptr;
    DWORD length = 0;
    for (const DWORD language : {static_cast<DWORD>(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), DWORD{0}}) {
        length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        if (length) break;
    }
    std::wstring message = length ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return Utf8(message);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        constexpr std::size_t kChunk = 1 << 20;
        const DWORD part = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, part, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// %LOCALAPPDATA%\Pelmora; the local application data folder itself made first when
// create is CSIDL_FLAG_CREATE. None when the system names no such folder.
std::optional<std::wstring> PelmoraInLocalAppData(int create) {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | create, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return std::nullopt;
    return Join(appData, L"Pelmora");
}

}  // namespace

std::string Win32FileSystem::ExecutableDirectory() {
    // The buffer grows until the whole path fits: paths may be longer than MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
    const std::size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring::npos) return {};
    // A root keeps its separator ("C:\"); any other folder goes without one.
    const bool root = last == 0 || (last == 2 && path[1] == L':');
    return Utf8(std::wstring_view(path).substr(0, root ? last + 1 : last));
}

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    // Explorer hides files marked hidden or system; for the program they are not there.
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

FileStart Win32FileSystem::ReadFileStart(const std::string& path, std::uint64_t maxBytes) {
    const auto refused = [](FileStart::Problem problem, std::string reason) {
        return FileStart{problem, {}, 0, std::move(reason)};
    };
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return refused(FileStart::Problem::kNotAFile, "a folder");
    // A named pipe is opened without waiting for a server (none answers: the open fails);
    // whatever opens is checked to be a file on a disk before a byte is read.
    FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                             error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
        return refused(missing ? FileStart::Problem::kNotAFile : FileStart::Problem::kUnreadable, SystemMessage(error));
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return refused(FileStart::Problem::kNotAFile, "a device or a pipe, not a file");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return refused(FileStart::Problem::kUnreadable, SystemMessage(GetLastError()));
    FileStart start{FileStart::Problem::kNone, {}, static_cast<std::uint64_t>(size.QuadPart), {}};
    start.bytes.resize(static_cast<std::size_t>(std::min(maxBytes, start.size)));
    std::size_t done = 0;
    while (done < start.bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(start.bytes.size() - done, 1 << 20));
        DWORD read = 0;
        if (!::ReadFile(file.get(), start.bytes.data() + done, part, &read, nullptr))
            return refused(FileStart::Problem::kUnreadable, SystemMessage(GetLastError()));
        if (read == 0) break;  // the file has shrunk since
        done += read;
    }
    start.bytes.resize(done);
    return start;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    // A folder cannot be opened without FILE_FLAG_BACKUP_SEMANTICS, so it fails here too.
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    // Read to the end, however long the file has become meanwhile.
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

bool Win32FileSystem::WriteFileWhole(const std::string& path, const std::string& bytes) {
    lastWriteFailure_.clear();
    // The system's words for why the write failed, kept before any clean-up call.
    const auto fail = [this](DWORD error) {
        lastWriteFailure_ = SystemMessage(error);
        return false;
    };
    const std::wstring target = Wide(path);
    // Windows refuses to rename over a read-only file (wine does not): such a file is
    // refused before anything is written, the same on both.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (replacing && (attributes & FILE_ATTRIBUTE_READONLY)) return fail(ERROR_ACCESS_DENIED);
    // The rename puts the temporary file's attributes in place of the target's, so the
    // marks a user set on the target go onto the temporary file first: a hidden settings
    // file, which the program ignores at start-up, stays hidden when written at shut-down.
    const DWORD kept = replacing ? attributes & kKeptAttributes : 0;
    // The temporary file lies beside the target, on the same volume, so that the rename
    // that replaces the target is one step. It is hidden or system from the start when the
    // target is, so that one left behind by a crash is not seen where the target is not.
    const DWORD createdAttributes = kept & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 8 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = UniqueName(target + L".");
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              createdAttributes ? createdAttributes : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return fail(GetLastError());
    }
    FileHandle file(created);
    if (!file.valid()) return fail(ERROR_FILE_EXISTS);
    const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) != 0;
    DWORD error = written ? ERROR_SUCCESS : GetLastError();
    const bool closed = file.Close();
    if (!closed && error == ERROR_SUCCESS) error = GetLastError();
    bool ready = written && closed;
    // Not content indexed can only be set afterwards, on the closed file. A temporary file
    // that does not take the target's marks does not replace it.
    if (ready && (kept & ~createdAttributes)) {
        const DWORD now = GetFileAttributesW(temporary.c_str());
        ready = now != INVALID_FILE_ATTRIBUTES && SetFileAttributesW(temporary.c_str(), now | kept) != 0;
        if (!ready) error = GetLastError();
    }
    if (ready && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        ready = false;
    }
    if (!ready) {
        DeleteFileW(temporary.c_str());  // hidden or system does not stop a delete
        return fail(error);
    }
    return true;
}

bool Win32FileSystem::EntryExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    // One level only: a missing parent makes it fail.
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

bool Win32FileSystem::DirectoryWritable(const std::string& path) {
    // Attributes and ACLs do not tell for sure (a read-only share, a redirected folder):
    // a probe file is created there and goes when its handle is closed.
    const std::wstring folder = Wide(path);
    if (folder.empty()) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::wstring probe = UniqueName(Join(folder, L"pelmora-probe-"));
        const FileHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file.valid()) return true;
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

bool Win32FileSystem::FileReadOnly(const std::string& path) {
    const std::wstring file = Wide(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Windows refuses to open a file marked read-only for writing; wine, run by root, does
    // not, while WriteFileWhole refuses such a file on both.
    if (attributes & FILE_ATTRIBUTE_READONLY) return true;
    // Opening for writing without creating or truncating changes nothing; an ACL that
    // denies writing, or a write-protected medium, refuses it. Shared with every other
    // opener, so that another program holding the file open does not count.
    const FileHandle opened(CreateFileW(file.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (opened.valid()) return false;
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

std::string Win32FileSystem::ShortPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    // The first call tells the size the short form needs, with its terminating NUL.
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) return path;
    shortPath.resize(length);
    return Utf8(shortPath);
}

std::string Win32FileSystem::UserConfigDirectory() {
    const auto folder = PelmoraInLocalAppData(CSIDL_FLAG_CREATE);
    if (!folder) return ExecutableDirectory();
    CreateDirectoryW(folder->c_str(), nullptr);  // there already, or made now
    return Utf8(*folder);
}

std::string Win32FileSystem::UserConfigPath() {
    const auto folder = PelmoraInLocalAppData(0);
    return folder ? Utf8(*folder) : ExecutableDirectory();
}

std::string Win32FileSystem::UserPicturesDirectory() {
    wchar_t pictures[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, pictures)))
        return UserConfigDirectory();
    return Utf8(pictures);
}

}  // namespace pelmora
