// SPDX-License-Identifier: MIT
#include "backends/x11/x11_connection.h"

#include <X11/Xlib-xcb.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

namespace pelmora {

namespace {
X11ErrorTrap* currentTrap = nullptr;  // the innermost trap; everything runs on one thread
void (*onLostServer)() = nullptr;

// The connections whose server went away. Connections may live on several threads (the
// Python module's screens), each used by one thread at a time.
std::mutex lostMutex;
std::vector<Display*> lostDisplays;

bool IsLost(Display* display) {
    const std::lock_guard lock(lostMutex);
    return std::find(lostDisplays.begin(), lostDisplays.end(), display) != lostDisplays.end();
}

void MarkLost(Display* display) {
    const std::lock_guard lock(lostMutex);
    if (std::find(lostDisplays.begin(), lostDisplays.end(), display) == lostDisplays.end())
        lostDisplays.push_back(display);
}

int CountLostServer(Display* display) {
    // Xlib ends the process after this returns, unless the connection has an exit handler
    // that returns; either way nothing may touch the dead connection again.
    MarkLost(display);
    if (onLostServer) onLostServer();
    return 0;
}
}  // namespace

int RecordX11Error(Display*, XErrorEvent* event) {
    if (currentTrap) {
        if (currentTrap->errorCode_ == 0) currentTrap->errorCode_ = event->error_code;
    } else {
        std::fprintf(stderr, "pelmora: X error %d on request %d ignored\n", event->error_code, event->request_code);
    }
    return 0;
}

std::unique_ptr<X11Connection> X11Connection::Open(const char* displayName) {
    XSetErrorHandler(RecordX11Error);
    XSetIOErrorHandler(CountLostServer);
    Display* display = XOpenDisplay(displayName);
    if (!display) return nullptr;
    return std::unique_ptr<X11Connection>(new X11Connection(display));
}

bool X11Connection::Reachable(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

X11Connection::X11Connection(Display* display) : display_(display), root_(DefaultRootWindow(display)) {}

X11Connection::~X11Connection() {
    if (Alive()) XCloseDisplay(display_);
}

bool X11Connection::Alive() const { return !IsLost(display_); }

void X11Connection::KeepProcessWhenServerLost() {
    XSetIOErrorExitHandler(
        display_, [](Display*, void*) {}, nullptr);
}

void X11Connection::ReportIfBroken() {
    if (IsLost(display_) || !xcb_connection_has_error(XGetXCBConnection(display_))) return;
    XSync(display_, False);  // Xlib meets the broken connection and calls its I/O error handler
    MarkLost(display_);
}

void X11Connection::OnLostServer(void (*lost)()) { onLostServer = lost; }

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), outer_(currentTrap) { currentTrap = this; }

X11ErrorTrap::~X11ErrorTrap() { currentTrap = outer_; }

bool X11ErrorTrap::Failed() {
    if (!IsLost(display_)) XSync(display_, False);
    return errorCode_ != 0 || IsLost(display_);
}

}  // namespace pelmora
