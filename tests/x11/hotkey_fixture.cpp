// SPDX-License-Identifier: MIT
#include "hotkey_fixture.h"

#include <chrono>
#include <thread>

namespace pelmora::testing {

bool HotkeyFixture::WaitForFired(std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (true) {
        service->ProcessPendingEvents();
        if (fired.size() >= count) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void HotkeyFixture::Settle() {
    XSync(other.display(), False);
    XSync(connection->display(), False);
    service->ProcessPendingEvents();
}

}  // namespace pelmora::testing
