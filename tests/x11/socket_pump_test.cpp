// SPDX-License-Identifier: MIT
// The Qt socket pump over the X11 hotkey connection: hotkeys reach the receiver from a running event loop, including
// events that a round trip on the connection already moved into Xlib's queue.
#include <X11/keysym.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "hotkey_fixture.h"
#include "backends/qt/socket_pump.h"

namespace pelmora::testing {
namespace {

class SocketPumpTest : public HotkeyFixture {
protected:
    void SetUp() override {
        HotkeyFixture::SetUp();
        ASSERT_TRUE(service->Register(1, kModControl | kModAlt, '1'));
    }

    // Runs the event loop until count ids have arrived or 2 s have passed.
    void RunLoopUntilFired(std::size_t count) {
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        service->SetReceiver([&](int id) {
            fired.push_back(id);
            if (fired.size() >= count) loop.quit();
        });
        loop.exec();
        service->SetReceiver([this](int id) { fired.push_back(id); });
    }

    // Types the hotkey and reads its events into Xlib's queue, leaving the socket idle.
    void TypeIntoQueue() {
        other.Tap(XK_1, {XK_Control_L, XK_Alt_L});
        XSync(connection->display(), False);
        ASSERT_GT(XEventsQueued(connection->display(), QueuedAlready), 0);
    }

    int argc = 1;
    char name[18] = "x11_hotkeys_tests";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

TEST_F(SocketPumpTest, DeliversFromTheEventLoop) {
    QtSocketPump pump(service->ConnectionFd(), [this] { service->ProcessPendingEvents(); });
    other.Tap(XK_1, {XK_Control_L, XK_Alt_L});
    RunLoopUntilFired(1);
    EXPECT_EQ(fired, std::vector<int>{1});
}

TEST_F(SocketPumpTest, DrainsWhatIsAlreadyQueued) {
    TypeIntoQueue();
    QtSocketPump pump(service->ConnectionFd(), [this] { service->ProcessPendingEvents(); });
    EXPECT_EQ(fired, std::vector<int>{1});

    TypeIntoQueue();
    RunLoopUntilFired(2);
    EXPECT_EQ(fired, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace pelmora::testing
