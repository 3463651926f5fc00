// SPDX-License-Identifier: MIT
// The main of the test programs that run under wine. wine returns only the low byte of an
// exit code, and 1 when the program could not start at all, so the last line printed,
// "N passed, N failed", is what the test script reads.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    std::printf("%d passed, %d failed\n", run.successful_test_count(), run.failed_test_count());
    std::fflush(stdout);
    return result;
}
