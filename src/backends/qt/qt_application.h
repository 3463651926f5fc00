// SPDX-License-Identifier: MIT
// Qt's application object as the Linux program needs it: on the xcb platform (the pointer,
// pixels and hotkeys are read over X11, under Wayland through XWayland) and with the look
// the window was laid out for.
#pragma once

#include <memory>

class QApplication;

namespace pelmora {

class QtApplication {
public:
    // argc and argv must outlive the object, as Qt requires.
    QtApplication(int& argc, char** argv);
    ~QtApplication();
    QtApplication(const QtApplication&) = delete;
    QtApplication& operator=(const QtApplication&) = delete;

    // Runs the event loop until the application quits; returns its exit code.
    int Run();

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace pelmora
