#include "platform/qt/x11_hotkey_pump.h"

#include <QAbstractEventDispatcher>

namespace pelmora {

X11HotkeyPump::X11HotkeyPump(X11HotkeyService& service, QObject* parent)
    : QObject(parent), service_(service), notifier_(service.ConnectionFd(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { service_.ProcessPendingEvents(); });
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { service_.ProcessPendingEvents(); });
    // Events read in before the pump existed would otherwise wait for the next one.
    service_.ProcessPendingEvents();
}

}  // namespace pelmora
