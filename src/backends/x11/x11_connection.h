// SPDX-License-Identifier: MIT
// A display connection of the program's own, apart from Qt's, with an error handler
// that records X errors instead of ending the process (Xlib's default handler exits on
// the first error, for example when another client already holds a grabbed key).
#pragma once

#include <X11/Xlib.h>

#include <memory>

namespace pelmora {

class X11Connection {
public:
    // A connection to the display named (DISPLAY's when nullptr); nullptr when no X
    // server can be reached there.
    static std::unique_ptr<X11Connection> Open(const char* displayName = nullptr);
    // Whether an X server answers on the display named (DISPLAY's when nullptr), tried with
    // a connection that is closed again at once.
    static bool Reachable(const char* displayName = nullptr);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // Xlib's handle of the connection, and the default screen's root window.
    Display* display() const { return display_; }
    ::Window root() const { return root_; }
    // False once the server has gone away; every call on the connection is skipped then.
    bool Alive() const;
    // Runs lost when the server goes away, before Xlib ends the process (with status 1, as it
    // does after any lost connection): a program that must say so, or end otherwise, does it
    // there and does not return.
    static void OnLostServer(void (*lost)());
    // Called when replies to xcb requests did not come: xcb does not tell Xlib that the
    // connection broke, so a lost server is reported here the way Xlib reports it (the
    // handler of OnLostServer runs), not taken for a window that is gone.
    void ReportIfBroken();
    // Keeps the process alive when this connection's server goes away (Xlib ends it
    // otherwise): the connection is only marked lost, for a host such as the Python
    // interpreter that must outlive it.
    void KeepProcessWhenServerLost();

private:
    explicit X11Connection(Display* display);
    Display* display_;
    ::Window root_;
};

// Collects the X errors raised by the requests made while it lives (a request that waits
// for a reply has its error delivered before the reply). Failed() waits for the server to
// answer everything sent so far, then tells whether any request failed.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
    bool Failed();

private:
    Display* display_;
    X11ErrorTrap* outer_;
    int errorCode_ = 0;
    friend int RecordX11Error(Display*, XErrorEvent*);
};

}  // namespace pelmora
