// SPDX-License-Identifier: MIT
// For tests that run a QApplication on the real X server: waits that keep Qt's event
// loop running, so the program answers the X server and other clients meanwhile.
#pragma once

#include <chrono>
#include <functional>

namespace pelmora::testing {

// Processes Qt events until condition holds or the time is up; true if it held.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(5));

}  // namespace pelmora::testing
