// SPDX-License-Identifier: MIT
// What pelmora.exe needs around its window: OLE for the whole run (the file dialogs, the
// clipboard and the accessibility service are COM and OLE), and the message loop.
#pragma once

namespace pelmora {

class Win32FormView;

class Win32Program {
public:
    // Create first and destroy last: OLE is shut down only when everything else is gone.
    Win32Program();
    ~Win32Program();
    Win32Program(const Win32Program&) = delete;
    Win32Program& operator=(const Win32Program&) = delete;

    // Shows the window as the program was asked to start (normal, minimised …) and runs
    // the message loop until the window is gone; returns the program's exit code.
    int Run(Win32FormView& view);

private:
    bool oleInitialised_ = false;
};

}  // namespace pelmora
