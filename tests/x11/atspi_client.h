// SPDX-License-Identifier: MIT
// The real program's widgets as AT-SPI shows them to desktop test tools, read with
// Debian's /usr/bin/python3 and pyatspi (atspi_tree.py). The tests that use it run on a
// session bus of their own (session_bus_main.cpp).
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace pelmora::testing {

// One accessible object of the program's tree.
struct Accessible {
    int depth = 0;
    std::string role, description, name, text;
};

class AccessibleTree {
public:
    // Asks the session bus for the accessibility bus, starting it on demand; "" when
    // there is none.
    static std::string StartAccessibilityBus();
    // The tree of the program with process id pid on the accessibility bus at address
    // (empty while it has not registered there).
    static AccessibleTree Read(const std::string& busAddress, pid_t pid);
    // Does the first action (press, toggle) of the program's first object named name, as a
    // user's click would; false when there is no such object.
    static bool DoAction(const std::string& busAddress, pid_t pid, const std::string& name);

    const std::vector<Accessible>& Objects() const { return objects_; }
    // The object whose description is description (a control's name with its index).
    const Accessible* Find(const std::string& description) const;
    // Its text, or "<missing>" when there is no such object.
    std::string TextOf(const std::string& description) const;

private:
    std::vector<Accessible> objects_;
};

}  // namespace pelmora::testing
