// SPDX-License-Identifier: MIT
// Large pixel buffers on Linux's transparent huge pages, where the kernel offers them
// only on request (the "madvise" setting, Debian's default).
#pragma once

namespace pelmora {

// From now on every large pixel buffer asks the kernel for huge pages; only advice:
// without them everything works all the same.
void UseHugePagesForLargeBuffers();

}  // namespace pelmora
