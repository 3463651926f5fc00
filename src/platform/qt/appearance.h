// The look the window was laid out for: 12-pixel CJK font, Fusion style, etched frames
// with the caption on the line.
#pragma once

class QApplication;

namespace pelmora {

void ApplyAppearance(QApplication& app);

}  // namespace pelmora
