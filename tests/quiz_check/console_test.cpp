#include "quiz_check/console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quiz::check {
namespace {

TEST(LanguageFromLocale, FollowsTheFirstLocaleVariableThatIsSet) {
  struct Row {
    const char* name;
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    Language expected;
  };
  const Row rows[] = {
      {"nothing set", nullptr, nullptr, nullptr, Language::english},
      {"LANG Chinese", nullptr, nullptr, "zh_CN.UTF-8", Language::chinese},
      {"LANG Taiwanese Chinese", nullptr, nullptr, "zh_TW.UTF-8", Language::chinese},
      {"LANG C", nullptr, nullptr, "C.UTF-8", Language::english},
      {"LC_MESSAGES before LANG", nullptr, "en_GB.UTF-8", "zh_CN.UTF-8", Language::english},
      {"LC_ALL before both", "zh_CN.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Language::chinese},
      {"empty LC_ALL is unset", "", "zh_CN.UTF-8", "C", Language::chinese},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(language_from_locale(row.lc_all, row.lc_messages, row.lang), row.expected);
  }
}

TEST(ColourChoice, ColoursOnlyATerminalThatWantsIt) {
  struct Row {
    const char* name;
    bool terminal;
    const char* no_color;
    const char* term;
    Colour expected;
  };
  const Row rows[] = {
      {"terminal", true, nullptr, "xterm-256color", Colour::on},
      {"pipe or file", false, nullptr, "xterm-256color", Colour::off},
      {"NO_COLOR", true, "1", "xterm-256color", Colour::off},
      {"empty NO_COLOR counts as unset", true, "", "xterm", Colour::on},
      {"dumb terminal", true, nullptr, "dumb", Colour::off},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(colour_choice(row.terminal, row.no_color, row.term), row.expected);
  }
}

TEST(ConsoleReporter, WritesPathLineAndSeverityAndPaintsOnlyWhenAsked) {
  FileCheck check;
  check.findings.push_back({FindingKind::lone_cr, 3});
  for (Colour colour : {Colour::off, Colour::on}) {
    std::ostringstream out;
    ConsoleReporter(out, Language::english, colour).file_checked("文本/题.txt", check);
    EXPECT_EQ(out.str().find("文本/题.txt:3:"), colour == Colour::on ? 4u : 0u);
    EXPECT_NE(out.str().find("warning:"), std::string::npos);
    EXPECT_EQ(out.str().find('\x1b') != std::string::npos, colour == Colour::on);
  }
}

TEST(ConsoleReporter, ShowsStrayLineBreaksInQuotedFieldsAsEscapes) {
  FileCheck check;
  check.fields = {"q", "a\rb", "x", "y", "z", "a\nb"};
  check.findings.push_back({FindingKind::answer_matches_none, 6});
  std::ostringstream out;
  ConsoleReporter(out, Language::english, Colour::off).file_checked("t.txt", check);
  EXPECT_NE(out.str().find("\"a\\nb\""), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find('\r'), std::string::npos);
}

}  // namespace
}  // namespace quiz::check
