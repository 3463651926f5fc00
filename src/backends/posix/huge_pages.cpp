// SPDX-License-Identifier: MIT
#include "backends/posix/huge_pages.h"

#include <sys/mman.h>

#include "platform/surface.h"

namespace pelmora {

void UseHugePagesForLargeBuffers() {
    SetLargeBufferAdvice([](void* memory, std::size_t bytes) { madvise(memory, bytes, MADV_HUGEPAGE); });
}

}  // namespace pelmora
