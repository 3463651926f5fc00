// SPDX-License-Identifier: MIT
// The Qt program in a locale whose decimal mark is a comma (de_DE.UTF-8, made by
// scripts/setup-deps): Qt takes the locale from the environment, yet numbers are still read
// and written with a point. A process of its own, since the locale is process-wide.
#include <gtest/gtest.h>

#include <QByteArray>
#include <clocale>
#include <cstdlib>
#include <string>

#include "backends/qt/qt_application.h"
#include "base/number_text.h"

namespace pelmora {
namespace {

TEST(QtLocaleTest, NumbersKeepTheirPointInALocaleWithADecimalComma) {
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_locale_tests";
    static char* argv[] = {name, nullptr};
    QtApplication application(argc, argv);
    // The environment's locale was taken (else this test would prove nothing) ...
    ASSERT_EQ(std::string(std::setlocale(LC_MONETARY, nullptr)), "de_DE.UTF-8") << "run scripts/setup-deps";
    // ... except for numbers.
    EXPECT_EQ(ParseLeadingNumber("90.5"), 90.5);
    EXPECT_EQ(ParseStrictNumber(" -0.25 "), -0.25);
    EXPECT_EQ(ParseStrictInteger("2.5"), 2);
    EXPECT_EQ(FormatPlainNumber(90.5), "90.5");
    EXPECT_EQ(FormatPlainNumber(-0.25), "-0.25");
}

}  // namespace
}  // namespace pelmora
