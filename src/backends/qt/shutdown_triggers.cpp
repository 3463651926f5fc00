// SPDX-License-Identifier: MIT
#include "backends/qt/shutdown_triggers.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <cstdlib>

#include <sys/socket.h>
#include <unistd.h>

namespace pelmora {

namespace {
std::function<void()> exitShutdown;  // run by atexit while the window lives

void ShutdownAtExit() {
    if (exitShutdown) exitShutdown();
}

int signalPipe[2] = {-1, -1};

void ForwardSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}
}  // namespace

ShutdownTriggers::ShutdownTriggers(QWidget& window, const std::function<void()>& shutdown) {
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [shutdown] { shutdown(); });

    // Qt ends the process with exit() when it loses its display connection.
    exitShutdown = shutdown;
    static const bool registered = std::atexit(ShutdownAtExit) == 0;
    (void)registered;

    // A signal handler may only write to a pipe; the event loop reads it and closes the
    // window, which runs the shut-down through the normal close path, then quits, which also
    // ends the loop of a modal box that is open (a message, a file dialog), since the
    // window's closing alone does not end the program while another window shows.
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        [[maybe_unused]] const auto received = ::read(signalPipe[1], &byte, 1);
        window.close();
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = ForwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

ShutdownTriggers::~ShutdownTriggers() { exitShutdown = nullptr; }

}  // namespace pelmora
