// SPDX-License-Identifier: MIT
// Feeds a connection of another library (the X11 hotkey connection) from Qt's event loop:
// drains it when its socket becomes readable, and also just before the loop goes to sleep,
// because round trips of other code on the same connection can leave events queued inside
// the library with the socket idle.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>

namespace pelmora {

class QtSocketPump : public QObject {
    Q_OBJECT

public:
    // Create after the QApplication. drain reads whatever is pending and must not block.
    QtSocketPump(int socket, std::function<void()> drain, QObject* parent = nullptr);

private:
    std::function<void()> drain_;
    QSocketNotifier notifier_;
};

}  // namespace pelmora
