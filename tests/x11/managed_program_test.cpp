// SPDX-License-Identifier: MIT
#include "managed_program_test.h"

#include <csignal>

namespace pelmora::testing {

using namespace std::chrono_literals;

void ManagedProgramTest::SetUp() {
    ASSERT_TRUE(desktop.Ready()) << "openbox did not take the screen";
    client.emplace(desktop.Display());
    ASSERT_TRUE(client->display());
}

void ManagedProgramTest::StartProgram(const std::string& control) {
    program.Start(desktop.Display());
    ASSERT_TRUE(WaitUntil([&] { return (programWindow = program.FindWindow(desktop.Display())) != 0; }, 20s));
    ASSERT_TRUE(WaitUntil([&] { return client->IsManaged(programWindow); }));
    std::tie(left, top) = client->OnScreen(programWindow, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Tree().Find(control) != nullptr; }, 20s)) << "not on the bus";
}

void ManagedProgramTest::TearDown() {
    // A program left running must end cleanly; one the test ended itself has been checked.
    if (program.Pid() > 0) {
        EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms));
    }
    client.reset();
    desktop.Stop();
}

}  // namespace pelmora::testing
