// SPDX-License-Identifier: MIT
#include "backends/x11/x11_connection.h"

#include <X11/Xlib-xcb.h>

#include <atomic>
#include <cstdio>

namespace pelmora {

namespace {
X11ErrorTrap* currentTrap = nullptr;  // the innermost trap; everything runs on one thread
std::atomic<bool> serverLost{false};
void (*onLostServer)() = nullptr;

int CountLostServer(Display*) {
    // Xlib ends the process after this returns; the shut-down that runs at exit must not
    // touch the dead connection again.
    serverLost = true;
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

bool X11Connection::Alive() const { return !serverLost; }

void X11Connection::ReportIfBroken() {
    if (serverLost || !xcb_connection_has_error(XGetXCBConnection(display_))) return;
    XSync(display_, False);  // Xlib meets the broken connection and calls its I/O error handler
    serverLost = true;
}

void X11Connection::OnLostServer(void (*lost)()) { onLostServer = lost; }

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), outer_(currentTrap) { currentTrap = this; }

X11ErrorTrap::~X11ErrorTrap() { currentTrap = outer_; }

bool X11ErrorTrap::Failed() {
    if (!serverLost) XSync(display_, False);
    return errorCode_ != 0 || serverLost;
}

}  // namespace pelmora
