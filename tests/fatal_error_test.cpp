#include "support/fatal_error.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "support/encoding.h"
#include "support/one_based_array.h"
#include "support/text_literal.h"

namespace quiz {
namespace {

struct ComposeCase {
  const char* name;
  Text message;
  std::int32_t code;
  ErrorLocation location;
  const char* utf8_text;
};

TEST(FatalError, ComposesTheBoxText) {
  const ComposeCase cases[] = {
      {"index below one",
       "数组成员引用下标必须大于等于1"_gb,
       kIndexBelowOne,
       {1, 2},
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n\r\n1, "
       "2\r\n"},
      {"index above the count",
       "数组成员引用下标超出定义范围"_gb,
       kIndexAboveCount,
       {1, 2},
       "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n1, "
       "2\r\n"},
      {"message given",
       "载入启动窗口失败"_gb,
       kMessageGiven,
       {5, 0},
       "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n5, 0\r\n"},
      {"no message, negative locations",
       "",
       kMessageGiven,
       {-3, 0},
       "运行时出错!\r\n\r\n-3, 0\r\n"},
  };
  for (const ComposeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gb18030_to_utf8(compose_fatal_error_text(c.message, c.code, c.location)),
              c.utf8_text);
  }
}

// The error display goes to standard error until the window installs its box; the death tests
// match its UTF-8 output and the exit code.
using FatalErrorDeathTest = ::testing::Test;

TEST_F(FatalErrorDeathTest, EndsTheProcessWith255) {
  EXPECT_EXIT(raise_fatal_error("载入启动窗口失败"_gb, kMessageGiven, {5, 0}),
              ::testing::ExitedWithCode(255), "错误信息：载入启动窗口失败");
}

TEST_F(FatalErrorDeathTest, IndexCheckNamesTheCodeAndTheSite) {
  IntegerArray numbers;
  numbers.append(7);
  EXPECT_EQ(numbers.at(1, {3, 4}), 7);
  EXPECT_EXIT(numbers.at(0, {3, 4}), ::testing::ExitedWithCode(255),
              "错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n\r\n3, 4");
  EXPECT_EXIT(numbers.at(2, {3, 5}), ::testing::ExitedWithCode(255),
              "错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n3, 5");
  EXPECT_EXIT(TextArray{}.at(1, {6, 7}), ::testing::ExitedWithCode(255), "错误代码：1");
}

TEST_F(FatalErrorDeathTest, MemoryThatCannotBeHadNamesTheByteCount) {
  auto allocate_too_much = [] {
    std::vector<char> huge;
    huge.reserve(std::size_t{1} << 60);
  };
  EXPECT_EXIT(allocate_too_much(), ::testing::ExitedWithCode(255),
              "运行时出错!\r\n\r\n错误信息：分配 1152921504606846976 字节内存失败!\r\n\r\n0, 0");
}

TEST(FatalError, IsNotRaisedUntilItIs) { EXPECT_FALSE(fatal_error_raised()); }

}  // namespace
}  // namespace quiz
