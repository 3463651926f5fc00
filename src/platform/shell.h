// SPDX-License-Identifier: MIT
// Hands a link (a mailto: or a web address) to the desktop's default handler.
#pragma once

#include <string>

namespace pelmora {

class Shell {
public:
    virtual ~Shell() = default;
    virtual void Open(const std::string& link) = 0;  // failures are ignored
};

}  // namespace pelmora
