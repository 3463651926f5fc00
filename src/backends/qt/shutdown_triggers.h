// SPDX-License-Identifier: MIT
// Makes the shut-down run, exactly once, however the program ends: the window closing,
// SIGTERM, SIGINT or SIGHUP (which close the window), the application quitting when the
// desktop session ends, and the process exiting because the display server went away.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace pelmora {

class ShutdownTriggers : public QObject {
public:
    // shutdown must be safe to call more than once; it acts the first time only.
    ShutdownTriggers(QWidget& window, const std::function<void()>& shutdown);
    ~ShutdownTriggers() override;
};

}  // namespace pelmora
