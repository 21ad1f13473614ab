#include "question_bank/question_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "question_bank/file_services.h"
#include "question_bank/text_split.h"
#include "support/encoding.h"
#include "support/text_literal.h"
#include "tests/temp_folder.h"

namespace quiz {
namespace {

using testing::TempFolder;
using namespace std::string_view_literals;

// The six fields the quiz picks from a file's text, as UTF-8 for readable failures.
std::vector<std::string> fields_of(const std::string& path) {
  Text buffer = question_text_from_bytes(read_whole_file(path)).text + "\r\n";
  std::vector<std::string> fields;
  for (int line = 1; line <= 6; ++line) fields.push_back(*gb18030_to_utf8(pick_line(buffer, line)));
  return fields;
}

const std::vector<std::string> kSixFields{"问", "甲", "乙", "丙", "丁", "乙"};

struct FileCase {
  const char* name;
  std::string_view bytes;
  std::vector<std::string> fields;
  FileProblem problem;
};

TEST(QuestionFile, FromBytesToFields) {
  const std::vector<std::string> none(6);
  const FileCase cases[] = {
      {"six lines with final CR LF", "问\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙\r\n", kSixFields,
       FileProblem::none},
      {"six lines without final CR LF", "问\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙", kSixFields,
       FileProblem::none},
      {"blank lines anywhere", "\r\n\r\n问\r\n\r\n甲\r\n乙\r\n丙\r\n\r\n丁\r\n乙\r\n\r\n",
       kSixFields, FileProblem::none},
      {"seventh line ignored", "问\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙\r\n多余\r\n", kSixFields,
       FileProblem::none},
      {"LF-only is one line",
       "问\n甲\n乙\n丙\n丁\n乙\n",
       {"问\n甲\n乙\n丙\n丁\n乙\n", "", "", "", "", ""},
       FileProblem::none},
      {"three lines", "问\r\n甲\r\n乙\r\n", {"问", "甲", "乙", "", "", ""}, FileProblem::none},
      {"NUL in the middle cuts the text",
       "问\r\n甲\r\n乙\0丙\r\n丁\r\n乙\r\n"sv,
       {"问", "甲", "乙", "", "", ""},
       FileProblem::none},
      {"NUL first", "\0问\r\n"sv, none, FileProblem::none},
      {"empty file", "", none, FileProblem::unreadable},
      {"GBK bytes", "\xce\xca\r\n\xbc\xd7\r\n", none, FileProblem::not_utf8},
      {"UTF-16 with BOM", "\xff\xfe\x2e\x95\r\0\n\0"sv, none, FileProblem::not_utf8},
      {"stray continuation byte",
       "a\x80"
       "b\r\n",
       none, FileProblem::not_utf8},
      {"lead byte without continuation",
       "a\xe4\xb8"
       "b\r\n",
       none, FileProblem::not_utf8},
      {"character cut off at the end", "问\r\n\xe4\xb8", none, FileProblem::not_utf8},
      {"overlong form", "\xc0\xaf\r\n", none, FileProblem::not_utf8},
      {"encoded surrogate", "\xed\xa0\x80\r\n", none, FileProblem::not_utf8},
      {"above U+10FFFF", "\xf4\x90\x80\x80\r\n", none, FileProblem::not_utf8},
      {"five-byte form", "\xf8\x88\x80\x80\x80\r\n", none, FileProblem::not_utf8},
  };
  TempFolder folder;
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = folder.write("q.txt", c.bytes);
    EXPECT_EQ(fields_of(path), c.fields);
    EXPECT_EQ(question_text_from_bytes(read_whole_file(path)).problem, c.problem);
    QuestionText from_file = question_text_from_file(path);
    EXPECT_EQ(from_file.text, question_text_from_bytes(read_whole_file(path)).text);
    EXPECT_EQ(from_file.problem, c.problem);
  }
}

// A file is converted a piece at a time; wherever a piece ends, even inside a character, the
// result is the one for the whole input.
TEST(QuestionFile, ConversionInPiecesEqualsConversionOfTheWhole) {
  const std::string_view inputs[] = {
      "问\r\n甲😀乙\r\nab",  // two-, three- and four-byte characters
      "\xEF\xBB\xBFq\r\n",  // byte-order mark
      "a\xe4\xb8"
      "b\r\n",              // lead byte without continuation
      "问\r\n\xe4\xb8",     // character cut off at the end
      "\xf4\x90\x80\x80x",  // above U+10FFFF
      "\xed\xa0\x80x",      // encoded surrogate
      "ab\0问",
      "a\xEE\x9E\x8D"
      "b",  // a private-use character the system's converter may have no code for
  };
  for (std::string_view input : inputs) {
    const std::optional<Bytes> whole = utf8_to_gb18030(input);
    for (std::size_t first = 0; first <= input.size(); ++first) {
      for (std::size_t second = first; second <= input.size(); ++second) {
        SCOPED_TRACE(::testing::Message()
                     << "pieces end at " << first << " and " << second << " of " << input.size());
        Utf8ToGb18030Stream stream(input.size());
        stream.add(input.substr(0, first));
        stream.add(input.substr(first, second - first));
        stream.add(input.substr(second));
        EXPECT_EQ(stream.finish(), whole);
      }
    }
    Utf8ToGb18030Stream byte_by_byte(0);
    for (char byte : input) byte_by_byte.add(std::string_view(&byte, 1));
    EXPECT_EQ(byte_by_byte.finish(), whole);
  }
}

TEST(QuestionFile, LargeFileReadInPiecesEqualsWholeRead) {
  std::string bytes;
  // Lines of 38 bytes put the ends of the 64 KiB pieces inside three- and four-byte characters.
  while (bytes.size() < 300 * 1024) bytes += "第一行：问题😀 and text 1234\r\n";
  TempFolder folder;
  const std::string path = folder.write("large.txt", bytes);
  QuestionText expected = question_text_from_bytes(read_whole_file(path));
  ASSERT_EQ(expected.problem, FileProblem::none);
  QuestionText from_file = question_text_from_file(path);
  EXPECT_EQ(from_file.problem, FileProblem::none);
  EXPECT_TRUE(from_file.text == expected.text);

  bytes.back() = '\xff';  // one bad byte at the very end spoils the whole file
  folder.write("large.txt", bytes);
  EXPECT_EQ(question_text_from_file(path).problem, FileProblem::not_utf8);
  EXPECT_EQ(question_text_from_file(path).text, "");
}

TEST(QuestionFile, ByteOrderMarkBecomesPartOfTheQuestion) {
  TempFolder folder;
  Text text =
      question_text_from_bytes(read_whole_file(folder.write("q.txt", "\xEF\xBB\xBFq\r\na"))).text;
  EXPECT_EQ(text, "\x84\x31\x95\x33q\r\na");
  EXPECT_EQ(pick_line(text, 2), "a");
}

// Nothing that is not a regular file is read, and refusing it must not wait for a writer or
// read an endless device.
TEST(QuestionFile, ReadsOnlyRegularFilesAndNeverBlocks) {
  TempFolder folder;
  const std::string fifo = (folder.path() / "fifo.txt").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.txt");
  std::filesystem::create_symlink("missing", folder.path() / "dangling.txt");
  std::filesystem::create_directory(folder.path() / "folder.txt");
  const std::string linked = folder.write("real.txt", "abc");
  std::filesystem::create_symlink(linked, folder.path() / "link.txt");

  auto start = std::chrono::steady_clock::now();
  for (const char* name : {"fifo.txt", "zero.txt", "dangling.txt", "folder.txt", "none.txt"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(read_whole_file((folder.path() / name).string()), "");
    EXPECT_EQ(question_text_from_file((folder.path() / name).string()).problem,
              FileProblem::unreadable);
  }
  EXPECT_EQ(read_whole_file(""), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(read_whole_file((folder.path() / "link.txt").string()), "abc");
  EXPECT_EQ(question_text_from_file((folder.path() / "link.txt").string()).text, "abc");
}

}  // namespace
}  // namespace quiz
