#include "support/text.h"

#include <gtest/gtest.h>
TEST(Text, CutsAtZero) { EXPECT_EQ(quiz::bytes_to_text(std::string_view("ab\0c", 4)), "ab"); }
