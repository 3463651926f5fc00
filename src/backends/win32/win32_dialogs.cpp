// SPDX-License-Identifier: MIT
#include "backends/win32/win32_dialogs.h"

// clang-format off
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <string_view>

#include "backends/win32/win32_text.h"

namespace pelmora {

namespace {

// The Unicode dialogs show the Chinese titles and return paths outside the ANSI code
// page; the program's UTF-8 goes in and comes out through Wide and Utf8.

constexpr DWORD kFileBufferCharacters = 255;

// The patterns of one filter entry: what its last parentheses hold, split at spaces and
// semicolons and joined by ';', the separator the file dialogs use.
std::wstring Patterns(std::wstring_view entry) {
    const std::size_t open = entry.rfind(L'(');
    const std::size_t close = open == std::wstring_view::npos ? open : entry.find(L')', open);
    if (close == std::wstring_view::npos) return L"*.*";
    const std::wstring_view inside = entry.substr(open + 1, close - open - 1);
    std::wstring patterns;
    std::size_t at = 0;
    while (at < inside.size()) {
        const std::size_t end = std::min(inside.find_first_of(L" ;", at), inside.size());
        if (end > at) {
            if (!patterns.empty()) patterns += L';';
            patterns.append(inside.substr(at, end - at));
        }
        at = end + 1;
    }
    return patterns.empty() ? L"*.*" : patterns;
}

// Runs the open or save dialog; "" when the user cancelled.
std::string ChooseFile(HWND owner, const std::string& title, const std::string& filter, bool open) {
    const std::wstring filterText = FileDialogFilter(filter);
    const std::wstring titleText = Wide(title);
    wchar_t file[kFileBufferCharacters] = {};
    wchar_t fileTitle[kFileBufferCharacters] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = filterText.size() > 1 ? filterText.c_str() : nullptr;  // none: every file
    dialog.lpstrFile = file;
    dialog.nMaxFile = kFileBufferCharacters;
    dialog.lpstrFileTitle = fileTitle;
    dialog.nMaxFileTitle = kFileBufferCharacters;
    dialog.lpstrTitle = titleText.c_str();
    // Open: only an existing file in an existing folder. Save: no question about replacing.
    dialog.Flags = open ? OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST : 0;
    const BOOL chosen = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen) return {};
    return Utf8(std::wstring_view(file, wcsnlen(file, kFileBufferCharacters)));
}

// The folder picker's new style and edit box need COM in a single-threaded apartment on
// the calling thread; it is set up the first time and kept for the thread's life.
void EnsureOleOnThisThread() {
    thread_local const bool initialised = SUCCEEDED(OleInitialize(nullptr));
    (void)initialised;
}

}  // namespace

std::wstring FileDialogFilter(const std::string& filter) {
    // Several entries may be given separated by ";;", as in the Qt notation.
    const std::wstring all = Wide(filter);
    std::wstring result;
    std::size_t at = 0;
    while (at <= all.size()) {
        std::size_t end = all.find(L";;", at);
        if (end == std::wstring::npos) end = all.size();
        const std::wstring_view entry = std::wstring_view(all).substr(at, end - at);
        if (!entry.empty()) {
            result.append(entry);
            result += L'\0';
            result += Patterns(entry);
            result += L'\0';
        }
        at = end + 2;
    }
    result += L'\0';
    return result;
}

std::string Win32Dialogs::BrowseForFolder(const std::string& title) {
    EnsureOleOnThisThread();
    const std::wstring titleText = Wide(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = nullptr;
    browse.pidlRoot = nullptr;
    browse.lpszTitle = titleText.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST item = SHBrowseForFolderW(&browse);
    if (!item) return {};
    wchar_t path[MAX_PATH] = {};
    const bool onDisk = SHGetPathFromIDListW(item, path) != 0;
    CoTaskMemFree(item);
    if (!onDisk) return {};  // a place with no file-system path, such as the printers
    return Utf8(std::wstring_view(path, wcsnlen(path, MAX_PATH)));
}

std::string Win32Dialogs::ChooseFileToOpen(const std::string& title, const std::string& filter) {
    return ChooseFile(owner_, title, filter, true);
}

std::string Win32Dialogs::ChooseFileToSave(const std::string& title, const std::string& filter) {
    return ChooseFile(owner_, title, filter, false);
}

void Win32Dialogs::ShowMessage(const std::string& text) {
    MessageBoxW(owner_, Wide(text).c_str(), L"Pelmora", MB_OK | MB_ICONINFORMATION);
}

bool Win32Dialogs::ShowNotice(const std::string& text, const std::string& checkBoxCaption) {
    // Task dialogs come with Common Controls 6, which pelmora.exe's manifest asks for; looked
    // up at run time so that a program without that manifest still starts.
    using TaskDialogIndirectProc = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    const HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    const auto taskDialog = controls ? reinterpret_cast<TaskDialogIndirectProc>(
                                           reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")))
                                     : nullptr;
    const std::wstring content = Wide(text);
    const std::wstring verification = Wide(checkBoxCaption);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner_;
    config.dwCommonButtons = TDCBF_OK_BUTTON;
    config.pszWindowTitle = L"Pelmora";
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszContent = content.c_str();
    config.pszVerificationText = verification.c_str();
    BOOL ticked = FALSE;
    if (taskDialog && SUCCEEDED(taskDialog(&config, nullptr, nullptr, &ticked))) return ticked != FALSE;
    MessageBoxW(owner_, content.c_str(), L"Pelmora", MB_OK | MB_ICONINFORMATION);
    return false;
}

void Win32Shell::Open(const std::string& link) {
    ShellExecuteW(nullptr, L"open", Wide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace pelmora
