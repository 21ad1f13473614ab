#include "quiz_check/messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "recording_reporter.h"
#include "support/text_literal.h"

namespace quiz::check {
namespace {

// The advice for a file in another encoding is a command; running it must leave a question file
// that the checker passes, also when the path needs quoting.
TEST(Describe, GivesAConversionCommandThatWorks) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(testing::TempDir()) / "quiz_check_convert";
  fs::remove_all(folder);
  fs::create_directories(folder);
  struct Row {
    const char* fixture;
    const char* copy;
  };
  const Row rows[] = {
      {"gbk编码.txt", "老师's 题目.txt"},
      {"utf16.txt", "utf16 $(echo x).txt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fixture);
    const std::string path = (folder / row.copy).string();
    fs::copy_file(fixture(row.fixture), path);
    const FileCheck before = check_question_file(path);
    ASSERT_EQ(before.findings.size(), 1u);
    const Message message = describe(before.findings[0], before, path, Language::english);
    ASSERT_FALSE(message.command.empty());
    ASSERT_EQ(std::system(message.command.c_str()), 0) << message.command;
    const FileCheck after = check_question_file(path);
    EXPECT_TRUE(after.findings.empty()) << message.command;
    EXPECT_EQ(after.fields[5], "北京"_gb);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1)
        << "the converted copy replaces the file";
    fs::remove(path);
  }
  fs::remove_all(folder);
}

TEST(ShellQuoted, KeepsEveryByteLiteral) {
  EXPECT_EQ(shell_quoted("文本/a b.txt"), "'文本/a b.txt'");
  EXPECT_EQ(shell_quoted("it's"), "'it'\\''s'");
  EXPECT_EQ(shell_quoted("$(x)`y`"), "'$(x)`y`'");
}

}  // namespace
}  // namespace quiz::check
