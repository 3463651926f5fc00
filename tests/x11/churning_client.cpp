// SPDX-License-Identifier: MIT
#include "churning_client.h"

#include <X11/Xlib.h>

#include <deque>

namespace pelmora::testing {

ChurningClient::ChurningClient(const std::string& display, int x, int y, int width, int height) {
    thread_ = std::thread([this, display, x, y, width, height] {
        DesktopClient other(display);
        if (!other.display()) return;
        std::deque<XWindowId> alive;
        for (int i = 0; !stop_; ++i) {
            const XWindowId window = i % 3 == 0 ? other.CreateUnmanaged(other.root(), x, y, width, height)
                                                : other.Create(x, y, width, height);
            other.SetTitle(window, TitleOf(window));
            other.SetClass(window, "churn", "Churn");
            if (i % 3 == 1) XMapWindow(other.display(), window);
            alive.push_back(window);
            if (alive.size() > 6) {
                other.Destroy(alive.front());
                alive.pop_front();
            }
            other.Sync();
            ++created_;
        }
        other.DestroyTopLevels();
    });
}

ChurningClient::~ChurningClient() { Stop(); }

void ChurningClient::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace pelmora::testing
