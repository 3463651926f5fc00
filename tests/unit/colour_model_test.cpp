#include <gtest/gtest.h>
#include "base/number_text.h"
TEST(X, Z) { EXPECT_EQ(pelmora::ParseLeadingNumber("12ab"), 12); }
