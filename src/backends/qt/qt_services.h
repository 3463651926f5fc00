// SPDX-License-Identifier: MIT
// The platform services that Qt provides the same way on every system.
#pragma once

#include <QString>
#include <functional>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "platform/shell.h"

namespace pelmora {

// Links through QDesktopServices.
class QtShell : public Shell {
public:
    void Open(const std::string& link) override;
};

// Qt's clipboard: the CLIPBOARD selection on X11, the system clipboard on Windows.
class QtClipboard : public Clipboard {
public:
    void Clear() override;
    void SetText(const std::string& text) override;
    void SetPicture(const Surface& picture) override;
    std::optional<std::string> Text() override;
    std::optional<Surface> Picture() override;
};

// Qt's directory dialog and message box, owned by the program's window.
class QtDialogs : public Dialogs {
public:
    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFileToOpen(const std::string& title, const std::string& filter) override;
    std::string ChooseFileToSave(const std::string& title, const std::string& filter) override;
    void ShowMessage(const std::string& text) override;
    bool ShowNotice(const std::string& text, const std::string& checkBoxCaption) override;
};

// Processing pending events first brings the view up to date (beforeProcessing), so that
// what a waiting handler changed so far, such as hiding the window, shows during the wait.
class QtMessagePump : public MessagePump {
public:
    void ProcessPendingEvents() override;
    void Sleep(int milliseconds) override;
    std::function<void()> beforeProcessing;
};

// Files over Qt's file classes; the per-user folders are the XDG ones on Linux.
class QtFileSystem : public FileSystem {
public:
    std::string ExecutableDirectory() override;
    char Separator() override;
    bool FileExists(const std::string& path) override;
    FileStart ReadFileStart(const std::string& path, std::uint64_t maxBytes) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFileWhole(const std::string& path, const std::string& bytes) override;
    bool EntryExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool DirectoryWritable(const std::string& path) override;
    bool FileReadOnly(const std::string& path) override;
    std::string ShortPath(const std::string& path) override { return path; }  // Linux names have no short form
    bool InstalledForAllUsers() override;  // InstalledUnderPrefix for the executable's folder
    std::string UserConfigDirectory() override;
    std::string UserPicturesDirectory() override;
};

}  // namespace pelmora
