// SPDX-License-Identifier: MIT
// The common dialogs (open and save file, browse for folder), the message box and the
// shell's handling of links.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialogs.h"
#include "platform/shell.h"

namespace pelmora {

// The file dialogs' filter for a filter text like "24位位图 (*.Bmp)": the text as the
// description, NUL, the patterns inside its parentheses (separated by ';', "*.*" when it
// names none), NUL, and the NUL that ends the list.
std::wstring FileDialogFilter(const std::string& filter);

class Win32Dialogs : public Dialogs {
public:
    // The main window, owner of the file dialogs and message boxes.
    void SetOwner(HWND window) { owner_ = window; }

    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFileToOpen(const std::string& title, const std::string& filter) override;
    std::string ChooseFileToSave(const std::string& title, const std::string& filter) override;
    void ShowMessage(const std::string& text) override;
    // A task dialog with its verification check box; a plain message box (never ticked)
    // where comctl32 has no task dialogs.
    bool ShowNotice(const std::string& text, const std::string& checkBoxCaption) override;

private:
    HWND owner_ = nullptr;
};

class Win32Shell : public Shell {
public:
    void Open(const std::string& link) override;  // ShellExecute "open"
};

}  // namespace pelmora
