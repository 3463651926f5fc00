// The common dialogs (open and save file, browse for folder), the message box and the
// shell's handling of links.
#pragma once

#include <windows.h>

#include "platform/dialogs.h"
#include "platform/shell.h"

namespace pelmora {

class Win32Dialogs : public Dialogs {
public:
    // The main window, owner of the file dialogs and message boxes.
    void SetOwner(HWND window) { owner_ = window; }

    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFileToOpen(const std::string& title, const std::string& filter) override;
    std::string ChooseFileToSave(const std::string& title, const std::string& filter) override;
    void ShowMessage(const std::string& text) override;

private:
    HWND owner_ = nullptr;
};

class Win32Shell : public Shell {
public:
    void Open(const std::string& link) override;  // ShellExecute "open"
};

}  // namespace pelmora
