// Feeds the X11 hotkey connection from Qt's event loop: reads when its socket becomes
// readable, and also just before the loop goes to sleep, because round trips of other
// code on the same connection can leave events in Xlib's queue with the socket idle.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include "platform/x11/x11_hotkeys.h"

namespace pelmora {

class X11HotkeyPump : public QObject {
    Q_OBJECT

public:
    // Create after the QApplication; the service must outlive the pump.
    explicit X11HotkeyPump(X11HotkeyService& service, QObject* parent = nullptr);

private:
    X11HotkeyService& service_;
    QSocketNotifier notifier_;
};

}  // namespace pelmora
