// SPDX-License-Identifier: MIT
// The look the window was laid out for: a 12-pixel CJK font and the Fusion style.
#pragma once

class QApplication;

namespace pelmora {

void ApplyAppearance(QApplication& app);

}  // namespace pelmora
