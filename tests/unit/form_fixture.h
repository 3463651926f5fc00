// SPDX-License-Identifier: MIT
// Form1 on the fake desktop, loaded as at program start.
#pragma once

#include "app/form1.h"
#include "backends/fake/fake_services.h"

namespace pelmora {

// How many history slots hold a snapshot.
inline int FilledHistorySlots(const EditorCanvas& canvas) {
    int filled = 0;
    for (bool slot : canvas.historyRing.HistoryFilled()) filled += slot;
    return filled;
}

struct FormOnFakeDesktop {
    FakePlatform fake;
    Form1 form{fake.Services()};
    FormOnFakeDesktop() { form.Form_Load(); }
};

}  // namespace pelmora
