#include "quiz_check/check_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "recording_reporter.h"

namespace quiz::check {
namespace {

TEST(ParseArguments, ReadsPathsAndOptions) {
  struct Row {
    const char* name;
    std::vector<std::string> arguments;
    Action action;
    std::vector<std::string> paths;
    std::string bad_argument;
  };
  const Row rows[] = {
      {"nothing", {}, Action::check, {}, ""},
      {"paths in order", {"文本", "a.txt"}, Action::check, {"文本", "a.txt"}, ""},
      {"help", {"a.txt", "--help"}, Action::show_help, {}, ""},
      {"short help", {"-h"}, Action::show_help, {}, ""},
      {"version", {"--version"}, Action::show_version, {}, ""},
      {"unknown option", {"a.txt", "--colour"}, Action::usage_error, {}, "--colour"},
      {"a dash alone is a path", {"-"}, Action::check, {"-"}, ""},
      {"after -- everything is a path",
       {"--", "--help", "-x"},
       Action::check,
       {"--help", "-x"},
       ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Arguments parsed = parse_arguments(row.arguments);
    EXPECT_EQ(parsed.action, row.action);
    EXPECT_EQ(parsed.paths, row.paths);
    EXPECT_EQ(parsed.bad_argument, row.bad_argument);
  }
}

TEST(CheckPaths, ListsAFolderAsTheQuizDoes) {
  RecordingReporter reporter;
  const Summary summary = check_paths({QUIZ_CHECK_FIXTURES}, "", reporter);
  std::vector<std::string> names;
  for (const auto& [path, check] : reporter.files) {
    names.push_back(std::filesystem::path(path).filename().string());
  }
  // Sorted by bytes; the subfolder 子文件夹.txt and the file 名字不对.text are not listed.
  const std::vector<std::string> expected = {
      "cr行尾.txt",         "gbk编码.txt",        "lf行尾.txt",
      "utf16.txt",          "七行.txt",           "五行.txt",
      "全角半角.txt",       "单独的CR.txt",       "单独的LF.txt",
      "只有空行.txt",       "坏字节.txt",         "大小写不同.txt",
      "带BOM.txt",          "末尾字符不完整.txt", "没有结尾换行.txt",
      "空文件.txt",         "空格行.txt",         "空行和第七行.txt",
      "答案不在选项中.txt", "答案多了空格.txt",   "答案对应两个选项.txt",
      "选项重复.txt",       "零字节.txt"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(summary.files_checked, 23);
  EXPECT_EQ(summary.files_fine, 1);
  EXPECT_EQ(summary.files_with_warnings, 6);
  EXPECT_EQ(summary.files_with_errors, 16);
  EXPECT_EQ(exit_status(summary), 1);
}

TEST(CheckPaths, ChecksTheDefaultFolderOnlyWithoutPaths) {
  RecordingReporter reporter;
  check_paths({}, QUIZ_SAMPLE_BANK, reporter);
  EXPECT_GE(reporter.files.size(), 30u);
  RecordingReporter named;
  check_paths({fixture("五行.txt")}, QUIZ_SAMPLE_BANK, named);
  EXPECT_EQ(named.files.size(), 1u);
}

TEST(CheckPaths, ReportsPathsThatCannotBeChecked) {
  const std::string empty_folder = testing::TempDir() + "quiz_check_empty";
  std::filesystem::remove_all(empty_folder);
  std::filesystem::create_directory(empty_folder);
  struct Row {
    const char* name;
    std::string path;
    PathProblem problem;
    int exit_status;
  };
  const Row rows[] = {
      {"missing", fixture("没有这个文件.txt"), PathProblem::missing, 2},
      {"folder without question files", empty_folder, PathProblem::no_question_files, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingReporter reporter;
    const Summary summary = check_paths({row.path, fixture("没有结尾换行.txt")}, "", reporter);
    ASSERT_EQ(reporter.problems.size(), 1u);
    EXPECT_EQ(reporter.problems[0].second, row.problem);
    EXPECT_EQ(reporter.files.size(), 1u) << "the other path is still checked";
    EXPECT_EQ(exit_status(summary), row.exit_status);
  }
  std::filesystem::remove_all(empty_folder);
}

TEST(ExitStatus, PutsPathsThatCannotBeOpenedBeforeFileErrors) {
  EXPECT_EQ(exit_status({}), 0);
  EXPECT_EQ(exit_status({.files_checked = 1, .files_with_warnings = 1}), 0);
  EXPECT_EQ(exit_status({.files_checked = 1, .files_with_errors = 1}), 1);
  EXPECT_EQ(exit_status({.files_checked = 1, .files_with_errors = 1, .paths_not_opened = 1}), 2);
}

}  // namespace
}  // namespace quiz::check
