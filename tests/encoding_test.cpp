#include "support/encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace quiz {
namespace {

// The UTF-8 form of a Unicode scalar value.
std::string utf8_of(char32_t code) {
  std::string bytes;
  if (code < 0x80) {
    bytes += static_cast<char>(code);
  } else if (code < 0x800) {
    bytes += static_cast<char>(0xC0 | (code >> 6));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    bytes += static_cast<char>(0xE0 | (code >> 12));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (code >> 18));
    bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  }
  return bytes;
}

// GB18030 has a code for every character, so no valid UTF-8 may fail to convert, whatever the
// version of the system's converter.
TEST(Utf8ToGb18030, EveryUnicodeCharacterConverts) {
  std::string all;
  for (char32_t code = 1; code <= 0x10FFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;  // surrogates are not characters
    all += utf8_of(code);
  }
  std::optional<Bytes> converted = utf8_to_gb18030(all);
  ASSERT_TRUE(converted.has_value());
  EXPECT_EQ(converted->find('\0'), Bytes::npos);
  // Read back and written again, the text stays the same.
  std::optional<std::string> back = gb18030_to_utf8(*converted);
  ASSERT_TRUE(back.has_value());
  EXPECT_TRUE(utf8_to_gb18030(*back) == converted);
}

struct CodeCase {
  const char* name;
  std::string utf8;
  std::optional<Bytes> gb18030;
};

TEST(Utf8ToGb18030, Codes) {
  const CodeCase cases[] = {
      {"ASCII", "a\r\n", "a\r\n"},
      {"two-byte code", "问", "\xCE\xCA"},
      {"four-byte code", "\u00E9", "\xA8\xA6"},
      {"supplementary plane", "\U00010000", "\x90\x30\x81\x30"},
      {"byte-order mark", "\uFEFF", "\x84\x31\x95\x33"},
      {"private use, first of the vertical forms", "\uE78D", "\xA6\xD9"},
      {"private use, last of the vertical forms", "\uE796", "\xA6\xF3"},
      {"private use, row FE", "\uE81E", "\xFE\x59"},
      {"private use, last of row FE", "\uE864", "\xFE\xA0"},
      {"private use among text", "甲\uE795乙", "\xBC\xD7\xA6\xED\xD2\xD2"},
      {"private use the converter always had", "\uE000", "\xAA\xA1"},
      {"surrogate", "\xED\xA0\x80", std::nullopt},
      {"cut off after a private-use character", "\uE78D\xE4\xB8", std::nullopt},
      {"stray continuation byte", "a\x80", std::nullopt},
  };
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8_to_gb18030(c.utf8), c.gb18030);
  }
}

TEST(Utf8ToGb18030Lossy, BadBytesBecomeQuestionMarksAndTheRestConverts) {
  EXPECT_EQ(utf8_to_gb18030_lossy("\xCE\xCA\xCC\xE2.txt"), "????.txt");
  EXPECT_EQ(utf8_to_gb18030_lossy("问\xFF\uE78D"), "\xCE\xCA?\xA6\xD9");
  EXPECT_EQ(utf8_to_gb18030_lossy("a\xE4\xB8"), "a??");
}

}  // namespace
}  // namespace quiz
