// SPDX-License-Identifier: MIT
#include "backends/fake/fake_services.h"

namespace pelmora {

void FakeMessagePump::ProcessPendingEvents() {
    ++processed;
    std::vector<Event> due;
    for (auto it = pending.begin(); it != pending.end();) {
        if (it->at <= clock_.now) {
            due.push_back(std::move(*it));
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    for (Event& event : due) event.run();
}

}  // namespace pelmora
