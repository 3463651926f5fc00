// SPDX-License-Identifier: MIT
// Qt's application object as the Linux program needs it: on the xcb platform (the pointer,
// pixels and hotkeys are read over X11, under Wayland through XWayland), named after its
// desktop entry and with the look the window was laid out for.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QApplication;

namespace pelmora {

// Says that the program cannot start without an X server: message goes to standard error
// and, when a Wayland display is there and Qt can show a window on it (a program started
// from a menu has no terminal), into a message box too.
void ReportNoXServer(int& argc, char** argv, const std::string& message);

class QtApplication {
public:
    // argc and argv must outlive the object, as Qt requires.
    QtApplication(int& argc, char** argv);
    ~QtApplication();
    QtApplication(const QtApplication&) = delete;
    QtApplication& operator=(const QtApplication&) = delete;
    // Runs work once the event loop runs (after the windows shown before it started).
    void Post(const std::function<void()>& work);
    // Runs the event loop until the application quits; returns its exit code.
    int Run();

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace pelmora
