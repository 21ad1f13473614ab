#include "quiz_check/check_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "question_bank/file_services.h"
#include "question_bank/question_file.h"
#include "question_bank/text_split.h"
#include "quiz_check/check_run.h"
#include "quiz_check/text_scan.h"
#include "recording_reporter.h"

namespace quiz::check {

void PrintTo(const Finding& f, std::ostream* out) {
  *out << "{kind " << static_cast<int>(f.kind) << ", line " << f.line << ", offset "
       << (f.byte_offset ? std::to_string(*f.byte_offset) : "none") << ", gb18030 "
       << f.decodes_as_gb18030 << ", lines " << f.line_count << ", options " << f.options.count()
       << ", near " << f.near_miss.surrounding_spaces << f.near_miss.letter_case
       << f.near_miss.character_width << "}";
}

bool operator==(const Finding& a, const Finding& b) {
  return a.kind == b.kind && a.line == b.line && a.byte_offset == b.byte_offset &&
         a.decodes_as_gb18030 == b.decodes_as_gb18030 && a.line_count == b.line_count &&
         a.options == b.options && a.near_miss == b.near_miss;
}

namespace {

using K = FindingKind;

OptionSet options(std::initializer_list<int> numbers) {
  OptionSet set;
  for (int number : numbers) set.add(number);
  return set;
}

Finding at(K kind, int line) { return {kind, line}; }
Finding at_byte(K kind, int line, std::size_t offset, bool gb18030 = false) {
  Finding finding{kind, line, offset};
  finding.decodes_as_gb18030 = gb18030;
  return finding;
}
Finding lines(K kind, int line, int count) {
  Finding finding{kind, line};
  finding.line_count = count;
  return finding;
}
Finding with_options(K kind, int line, std::initializer_list<int> numbers) {
  Finding finding{kind, line};
  finding.options = options(numbers);
  return finding;
}
Finding near(int option, NearMiss how) {
  Finding finding = with_options(K::near_miss, 6, {option});
  finding.near_miss = how;
  return finding;
}

struct FixtureRow {
  const char* file;
  std::vector<Finding> expected;
  int exit_status;
};

// The fixture folder's files, each checked on its own as `quiz-check FILE` checks it.
const std::vector<FixtureRow> kFixtures = {
    {"空文件.txt", {at(K::empty, 0)}, 1},
    {"gbk编码.txt", {at_byte(K::not_utf8, 1, 0, true)}, 1},
    {"坏字节.txt", {at_byte(K::not_utf8, 3, 67)}, 1},
    {"末尾字符不完整.txt", {at_byte(K::not_utf8, 6, 64)}, 1},
    {"utf16.txt", {at(K::utf16_byte_order_mark, 1)}, 1},
    {"lf行尾.txt", {at(K::lf_line_ends, 1)}, 1},
    {"cr行尾.txt", {at(K::cr_line_ends, 1)}, 1},
    {"零字节.txt", {at_byte(K::zero_byte, 7, 75)}, 1},
    {"五行.txt", {lines(K::too_few_lines, 0, 5)}, 1},
    {"只有空行.txt", {lines(K::too_few_lines, 0, 0)}, 1},
    {"答案不在选项中.txt", {at(K::answer_matches_none, 6)}, 1},
    {"答案对应两个选项.txt",
     {with_options(K::duplicate_options, 4, {1, 3}),
      with_options(K::answer_matches_several, 6, {1, 3})},
     1},
    {"选项重复.txt", {with_options(K::duplicate_options, 5, {2, 4})}, 0},
    {"带BOM.txt", {at(K::utf8_byte_order_mark, 1)}, 0},
    {"七行.txt", {lines(K::too_many_lines, 7, 7)}, 0},
    {"空行和第七行.txt", {lines(K::too_many_lines, 10, 7)}, 0},
    {"答案多了空格.txt", {at(K::answer_matches_none, 6), near(2, {true, false, false})}, 1},
    {"大小写不同.txt", {at(K::answer_matches_none, 6), near(2, {false, true, false})}, 1},
    {"全角半角.txt", {at(K::answer_matches_none, 6), near(3, {false, false, true})}, 1},
    {"单独的CR.txt", {at(K::lone_cr, 3)}, 0},
    {"单独的LF.txt", {at(K::lone_lf, 1)}, 0},
    {"名字不对.text", {at(K::name_not_listed, 0)}, 0},
    {"空格行.txt",
     {at(K::spaces_only_line, 2), at(K::answer_matches_none, 6), lines(K::too_many_lines, 7, 7)},
     1},
    {"没有结尾换行.txt", {}, 0},
};

TEST(CheckFile, FindsWhatIsWrongWithEachFixture) {
  for (const FixtureRow& row : kFixtures) {
    SCOPED_TRACE(row.file);
    RecordingReporter reporter;
    const Summary summary = check_paths({fixture(row.file)}, "", reporter);
    ASSERT_EQ(reporter.files.size(), 1u);
    EXPECT_EQ(reporter.files[0].second.findings, row.expected);
    EXPECT_EQ(exit_status(summary), row.exit_status);
  }
}

TEST(CheckFile, WarnsAboutLinesThatLookBlankButCount) {
  struct Row {
    const char* name;
    const char* second_line;
    bool warned;
  };
  const Row rows[] = {
      {"spaces", "   ", true},
      {"a tab", "\t", true},
      {"ideographic spaces", "\u3000\u3000", true},
      {"mixed", " \u3000\t", true},
      {"text between spaces", " 北京 ", false},
      {"a full-width letter", "\u3000Ａ", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string bytes =
        std::string("问题\r\n") + row.second_line + "\r\nA\r\nB\r\nC\r\nA\r\n";
    const FileCheck check = check_question_bytes(bytes);
    const bool warned = std::find(check.findings.begin(), check.findings.end(),
                                  at(K::spaces_only_line, 2)) != check.findings.end();
    EXPECT_EQ(warned, row.warned);
  }
}

// Every file of a folder and of its subfolders.
std::vector<std::filesystem::path> files_under(const char* folder) {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) found.push_back(entry.path());
  }
  return found;
}

// The checker's fields must be the ones the quiz shows, and its line positions must point at them.
TEST(CheckFile, AgreesWithTheQuizOnTheFieldsOfEveryFile) {
  std::vector<std::filesystem::path> files = files_under(QUIZ_CHECK_FIXTURES);
  for (auto& path : files_under(QUIZ_SAMPLE_BANK)) files.push_back(path);
  ASSERT_GT(files.size(), 50u);
  for (const auto& path : files) {
    SCOPED_TRACE(path.string());
    const Text buffer = question_text_from_bytes(read_whole_file(path.string())).text + "\r\n";
    const FileCheck check = check_question_file(path.string());
    const std::vector<LineSpan> spans = locate_lines(buffer);
    TextArray pieces;
    ASSERT_EQ(spans.size(), static_cast<std::size_t>(split_nonempty(buffer, "\r\n", 0, pieces)));
    for (int field = 1; field <= 6; ++field) {
      SCOPED_TRACE(field);
      const Text quiz_field = pick_line(buffer, field);
      EXPECT_EQ(check.fields[static_cast<std::size_t>(field - 1)], quiz_field);
      if (static_cast<std::size_t>(field) <= spans.size()) {
        const LineSpan& span = spans[static_cast<std::size_t>(field - 1)];
        EXPECT_EQ(buffer.substr(span.offset, span.length), quiz_field);
      }
    }
  }
}

TEST(CheckFile, ReportsAFileThatCannotBeRead) {
  // A FIFO is opened but never read: the quiz's read refuses anything that is not a regular file.
  const std::string fifo = testing::TempDir() + "quiz_check_fifo.txt";
  unlink(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  RecordingReporter reporter;
  const Summary summary = check_paths({fifo}, "", reporter);
  unlink(fifo.c_str());
  ASSERT_EQ(reporter.files.size(), 1u);
  EXPECT_EQ(reporter.files[0].second.findings, std::vector<Finding>{at(K::unreadable, 0)});
  EXPECT_EQ(exit_status(summary), 1);
}

TEST(CheckFile, ReportsAFileWithoutReadPermissionInAFolderAsUnreadable) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const std::filesystem::path folder = testing::TempDir() + "quiz_check_locked";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory(folder);
  const std::string path = (folder / "锁住.txt").string();
  std::filesystem::copy_file(fixture("没有结尾换行.txt"), path);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  RecordingReporter reporter;
  const Summary summary = check_paths({folder.string()}, "", reporter);
  std::filesystem::remove_all(folder);
  ASSERT_EQ(reporter.files.size(), 1u);
  EXPECT_EQ(reporter.files[0].second.findings, std::vector<Finding>{at(K::unreadable, 0)});
  EXPECT_EQ(exit_status(summary), 1);
}

}  // namespace
}  // namespace quiz::check
