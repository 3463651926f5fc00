// The platform services that Qt provides the same way on every system.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "platform/shell.h"

namespace pelmora {

class QtShell : public Shell {
public:
    void Open(const std::string& link) override;
};

// Qt's clipboard: the CLIPBOARD selection on X11, the system clipboard on Windows.
class QtClipboard : public Clipboard {
public:
    void Clear() override;
    void SetText(const std::string& text) override;
    std::string Text() override;
};

class QtClock : public Clock {
public:
    std::uint32_t Milliseconds() override;
};

class QtMessagePump : public MessagePump {
public:
    void ProcessPendingEvents() override;
    void Sleep(int milliseconds) override;
};

class QtFileSystem : public FileSystem {
public:
    std::string ExecutableDirectory() override;
    char Separator() override;
    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFileWhole(const std::string& path, const std::string& bytes) override;
    bool DirectoryWritable(const std::string& path) override;
    std::string UserConfigDirectory() override;
};

}  // namespace pelmora
