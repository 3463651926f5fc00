// SPDX-License-Identifier: MIT
// Scripted shell, clock and message pump for tests, and a bundle of all fakes as a Platform.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backends/fake/fake_desktop.h"
#include "backends/fake/fake_file_system.h"
#include "backends/fake/fake_hotkeys.h"
#include "platform/platform.h"
#include "platform/utf8_encoding.h"

namespace pelmora {

// Keeps every link it was asked to open.
class FakeShell : public Shell {
public:
    void Open(const std::string& link) override { opened.push_back(link); }
    std::vector<std::string> opened;
};

class FakeClock : public Clock {
public:
    std::uint32_t Milliseconds() override { return now; }
    LocalTime Now() override { return localTime; }
    // Passes the time at once: the counter moves on, the pause is kept, and what a test
    // changes meanwhile happens.
    void Sleep(std::uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
        if (duringSleep) duringSleep();
    }
    std::uint32_t now = 0;                         // the millisecond counter
    LocalTime localTime{2026, 12, 6, 15, 30, 45};  // what Now gives
    std::vector<std::uint32_t> sleeps;             // every pause, in milliseconds
    std::function<void()> duringSleep;             // what changes while the caller sleeps
};

// A clipboard that holds one text or one picture, or nothing.
class FakeClipboard : public Clipboard {
public:
    void Clear() override {
        ++clears;
        text.reset();
        picture.reset();
    }
    void SetText(const std::string& value) override {
        picture.reset();
        text = value;
    }
    void SetPicture(const Surface& value) override {
        text.reset();
        picture = value;
    }
    std::optional<std::string> Text() override {
        if (unreadable) return std::nullopt;
        return text.value_or("");
    }
    std::optional<Surface> Picture() override { return picture; }
    std::optional<std::string> text;
    std::optional<Surface> picture;
    bool unreadable = false;  // as while another program holds the clipboard
    int clears = 0;           // Clear calls so far
};

// Dialogs that give the answers a test put there and keep what they showed.
class FakeDialogs : public Dialogs {
public:
    std::string BrowseForFolder(const std::string& title) override {
        folderTitles.push_back(title);
        return chosenFolder;
    }
    std::string ChooseFileToOpen(const std::string& title, const std::string& filter) override {
        fileDialogs.push_back(title + " | " + filter);
        return fileToOpen;
    }
    std::string ChooseFileToSave(const std::string& title, const std::string& filter) override {
        fileDialogs.push_back(title + " | " + filter);
        return fileToSave;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool ShowNotice(const std::string& text, const std::string& checkBoxCaption) override {
        notices.push_back(text + " | " + checkBoxCaption);
        return tickNoticeCheckBox;
    }
    std::string chosenFolder;  // "" as for a cancelled picker
    std::string fileToOpen;    // "" as for a cancelled dialog
    std::string fileToSave;
    std::vector<std::string> folderTitles;
    std::vector<std::string> fileDialogs;  // title | filter of each file dialog shown
    std::vector<std::string> messages;
    std::vector<std::string> notices;  // text | check box caption of each notice shown
    bool tickNoticeCheckBox = false;   // what the user does with a notice's check box
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
    int processed = 0;  // ProcessPendingEvents calls so far
    int sleeps = 0;     // Sleep calls so far

private:
    FakeClock& clock_;
};

// One of every fake, handed to a window as its Platform by Services().
struct FakePlatform {
    FakeDesktop desktop;
    FakeShell shell;
    FakeFileSystem files;
    FakeHotkeyService hotkeys;
    FakeClock clock;
    FakeMessagePump pump{clock};
    Utf8Encoding encoding;
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    Platform Services() { return {desktop, shell, files, hotkeys, clock, pump, encoding, clipboard, dialogs}; }
};

}  // namespace pelmora
