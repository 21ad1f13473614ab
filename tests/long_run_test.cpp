// Thousands of questions loaded and answered in a row, as a long session at the quiz would: the
// history keeps exactly the answers given, and the memory the process holds does not keep
// growing. Each question file carries a long tail of ignored lines, so that anything kept back
// from one load to the next would show in the resident memory. Under AddressSanitizer the run is
// shorter and LeakSanitizer looks for blocks that nothing refers to any more.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "question_bank/load_question.h"
#include "quiz_window/check_answer.h"
#include "support/encoding.h"
#include "tests/fakes.h"
#include "tests/process_memory.h"
#include "tests/temp_run_directory.h"

#ifdef QUIZ_ADDRESS_SANITIZER
#include <sanitizer/lsan_interface.h>
#endif

namespace quiz {
namespace {

using testing::FakeClock;
using testing::FakeControls;
using testing::FakeMessageBoxes;
using testing::memory_use;
using testing::TempRunDirectory;

Text gb(std::string_view utf8_text) { return *utf8_to_gb18030(utf8_text); }

struct Question {
  std::string name;
  std::string question;
  std::array<std::string, 4> options;
  std::string answer;
};

const Question kQuestions[] = {
    {"地理.txt", "中国的首都是哪座城市？", {"上海", "北京", "广州", "深圳"}, "北京"},
    {"数学.txt", "1+1=?", {"1", "2", "3", "4"}, "2"},
    {"化学.txt", "水的化学式是什么？", {"H2O", "CO2", "NaCl", "O2"}, "H2O"},
    {"天文.txt", "太阳系中最大的行星是？", {"地球", "火星", "木星", "土星"}, "木星"},
    {"english.txt", "Which word means 猫?", {"dog", "cat", "bird", "fish"}, "cat"},
};

// The file of a question: its six lines, then about 32 KB of lines that the quiz ignores.
std::string question_file(const Question& q) {
  std::string file = q.question + "\r\n";
  for (const std::string& option : q.options) file += option + "\r\n";
  file += q.answer + "\r\n";
  for (int i = 0; i < 1000; ++i) file += "第七行以后不算题目，只占地方。\r\n";
  return file;
}

// The number of leaks that LeakSanitizer finds now; 0 where it does not run.
int leaks_found() {
#ifdef QUIZ_ADDRESS_SANITIZER
  return __lsan_do_recoverable_leak_check();
#else
  return 0;
#endif
}

TEST(LongRun, ThousandsOfQuestionsAnsweredInARow) {
  const int cycles = testing::kAddressSanitizer ? 3'000 : 10'000;
  constexpr int kSettled = 1'000;  // cycles after which the memory in use should be settled
  TempRunDirectory files;
  for (const Question& q : kQuestions) files.add_question(q.name, question_file(q));
  FakeControls controls;
  FakeMessageBoxes boxes;
  FakeClock clock;
  RandomSource random{clock};

  std::vector<Text> expected_history;
  testing::MemoryUse settled;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    clock.ticks = static_cast<std::uint32_t>(cycle) * 37;
    load_question(controls, boxes, random, files);
    const Text& shown = controls.caption(Control::按钮5);
    const Question* drawn = nullptr;
    for (const Question& q : kQuestions) {
      if (shown == gb("题目：" + q.question)) drawn = &q;
    }
    ASSERT_NE(drawn, nullptr) << "cycle " << cycle << ": an unknown question is shown";

    const int option = cycle % 4;
    const bool right = drawn->options[option] == drawn->answer;
    check_answer(controls, boxes, kOptionButtons[option]);
    expected_history.push_back(
        gb("题目：" + drawn->question + "回答：" + drawn->options[option] + (right ? " √" : " ×")));
    ASSERT_EQ(boxes.shown.size(), 1u) << "cycle " << cycle;
    ASSERT_EQ(boxes.shown[0].text, gb(right ? "恭喜答对了" : "答错了")) << "cycle " << cycle;
    // The fakes' own records of what happened are not the program's memory.
    boxes.shown.clear();
    controls.log.clear();
    if (cycle + 1 == kSettled) settled = memory_use();
  }
  const testing::MemoryUse end = memory_use();

  const std::vector<Text>& history = controls.items[Control::列表框1];
  ASSERT_EQ(history.size(), expected_history.size());
  for (std::size_t i = 0; i < history.size(); ++i) {
    ASSERT_EQ(history[i], expected_history[i]) << "history line " << i + 1;
  }

  std::printf("Resident memory after %d cycles: %lld kB; after %d cycles: %lld kB\n", kSettled,
              static_cast<long long>(settled.resident_kb), cycles,
              static_cast<long long>(end.resident_kb));
  if (testing::kAddressSanitizer) {
    std::printf("AddressSanitizer keeps freed memory in quarantine; growth is not checked.\n");
  } else {
    // The history of 9,000 more answers, here and in the expected list, takes about 2 MB. A file
    // kept back on each load would take 9,000 times 32 KB.
    constexpr std::int64_t kMarginKb = 16 * 1024;
    EXPECT_LE(end.resident_kb - settled.resident_kb, kMarginKb);
  }
  EXPECT_EQ(leaks_found(), 0) << "LeakSanitizer found blocks that nothing refers to";
}

}  // namespace
}  // namespace quiz
