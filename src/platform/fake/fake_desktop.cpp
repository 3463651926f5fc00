#include "platform/fake/fake_desktop.h"

#include <algorithm>

namespace pelmora {

void FakeDesktop::SetPointerPos(ScreenPoint point) {
    pointer = {std::clamp(point.x, 0, screen.Width() - 1), std::clamp(point.y, 0, screen.Height() - 1)};
}

void FakeDesktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    ++areaReads;
    target.StretchBlt(0, 0, target.Width(), target.Height(), screen, left, top, target.Width(), target.Height());
}

}  // namespace pelmora
