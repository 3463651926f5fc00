// SPDX-License-Identifier: MIT
#include "backends/qt/socket_pump.h"

#include <QAbstractEventDispatcher>

#include <utility>

namespace pelmora {

QtSocketPump::QtSocketPump(int socket, std::function<void()> drain, QObject* parent)
    : QObject(parent), drain_(std::move(drain)), notifier_(socket, QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { drain_(); });
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { drain_(); });
    // Events read in before the pump existed would otherwise wait for the next one.
    drain_();
}

}  // namespace pelmora
