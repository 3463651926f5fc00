// SPDX-License-Identifier: MIT
// main() of the tests that read the program over AT-SPI: re-runs the test program inside
// dbus-run-session, a session bus of its own that ends (with the accessibility bus started
// on it) when the tests end, and has Qt programs show their widgets on that bus.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <unistd.h>

int main(int argc, char** argv) {
    if (!std::getenv("PELMORA_PRIVATE_SESSION_BUS")) {
        setenv("PELMORA_PRIVATE_SESSION_BUS", "1", 1);
        char self[4096];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0) return 127;
        self[length] = '\0';
        std::vector<char*> command{const_cast<char*>("dbus-run-session"), const_cast<char*>("--"), self};
        for (int i = 1; i < argc; ++i) command.push_back(argv[i]);
        command.push_back(nullptr);
        execvp(command[0], command.data());
        std::perror("dbus-run-session");
        return 127;
    }
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
