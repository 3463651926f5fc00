// Scripted shell, clock and message pump for tests, and a bundle of all fakes as a Platform.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/platform.h"
#include "platform/utf8_encoding.h"

namespace pelmora {

class FakeShell : public Shell {
public:
    void Open(const std::string& link) override { opened.push_back(link); }
    std::vector<std::string> opened;
};

class FakeClock : public Clock {
public:
    std::uint32_t Milliseconds() override { return now; }
    std::uint32_t now = 0;
};

// A clipboard that holds one text, or nothing (as when another program put a picture
// there).
class FakeClipboard : public Clipboard {
public:
    void Clear() override {
        ++clears;
        text.reset();
    }
    void SetText(const std::string& value) override { text = value; }
    std::string Text() override { return text.value_or(""); }
    std::optional<std::string> text;
    int clears = 0;
};

// Sleeping advances the fake clock; processing runs whatever the test queued.
class FakeMessagePump : public MessagePump {
public:
    explicit FakeMessagePump(FakeClock& clock) : clock_(clock) {}
    void ProcessPendingEvents() override;
    void Sleep(int milliseconds) override {
        clock_.now += static_cast<std::uint32_t>(milliseconds);
        ++sleeps;
    }

    // Events that arrive during a wait: each runs once, at the first processing at or
    // after its time on the clock.
    struct Event {
        std::uint32_t at;
        std::function<void()> run;
    };
    std::vector<Event> pending;
    int processed = 0;
    int sleeps = 0;

private:
    FakeClock& clock_;
};

struct FakePlatform {
    FakeDesktop desktop;
    FakeShell shell;
    FakeFileSystem files;
    FakeHotkeyService hotkeys;
    FakeClock clock;
    FakeMessagePump pump{clock};
    Utf8Encoding encoding;
    FakeClipboard clipboard;
    Platform Services() { return {desktop, shell, files, hotkeys, clock, pump, encoding, clipboard}; }
};

}  // namespace pelmora
