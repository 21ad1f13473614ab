#include "quiz_window/check_answer.h"

#include <gtest/gtest.h>

#include "support/encoding.h"
#include "tests/fakes.h"

namespace quiz {
namespace {

using testing::FakeControls;
using testing::FakeMessageBoxes;

std::string utf8(const Text& text) { return gb18030_to_utf8(text).value_or("<not GB18030>"); }
Text gb(std::string_view text) { return *utf8_to_gb18030(text); }

void show_question(FakeControls& controls, std::string_view question,
                   const std::array<std::string_view, 4>& options, std::string_view answer) {
  controls.captions[Control::按钮5] = gb("题目：") + gb(question);
  for (std::size_t i = 0; i < 4; ++i) controls.captions[kOptionButtons[i]] = gb(options[i]);
  controls.captions[Control::标签1] = gb(answer);
  for (Control option : kOptionButtons) controls.states[option] = ButtonState::enabled;
}

struct AnswerCase {
  const char* name;
  std::array<std::string_view, 4> options;
  std::string_view answer;
  int clicked;  // 0 to 3
  const char* verdict;
  const char* history_line;
};

TEST(CheckAnswer, JudgesByteForByte) {
  const AnswerCase cases[] = {
      {"right", {"1", "2", "3", "4"}, "2", 1, "恭喜答对了", "题目：1+1=?回答：2 √"},
      {"wrong", {"1", "2", "3", "4"}, "2", 2, "答错了", "题目：1+1=?回答：3 ×"},
      {"letter case", {"abc", "b", "c", "d"}, "ABC", 0, "答错了", "题目：1+1=?回答：abc ×"},
      {"trailing space", {"a ", "b", "c", "d"}, "a", 0, "答错了", "题目：1+1=?回答：a  ×"},
      {"full width", {"２", "b", "c", "d"}, "2", 0, "答错了", "题目：1+1=?回答：２ ×"},
      {"stray CR", {"a\r", "b", "c", "d"}, "a\r", 0, "恭喜答对了", "题目：1+1=?回答：a\r √"},
      {"equal options, 1st", {"x", "x", "c", "d"}, "x", 0, "恭喜答对了", "题目：1+1=?回答：x √"},
      {"equal options, 2nd", {"x", "x", "c", "d"}, "x", 1, "恭喜答对了", "题目：1+1=?回答：x √"},
      {"answer matches none", {"a", "b", "c", "d"}, "e", 3, "答错了", "题目：1+1=?回答：d ×"},
      {"four-line file", {"a", "b", "c", ""}, "", 3, "恭喜答对了", "题目：1+1=?回答： √"},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeControls controls;
    FakeMessageBoxes boxes;
    show_question(controls, "1+1=?", c.options, c.answer);
    check_answer(controls, boxes, kOptionButtons[static_cast<std::size_t>(c.clicked)]);

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(utf8(boxes.shown[0].title), "信息：");
    EXPECT_EQ(utf8(boxes.shown[0].text), c.verdict);
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::none);
    ASSERT_EQ(controls.items[Control::列表框1].size(), 1u);
    EXPECT_EQ(utf8(controls.items[Control::列表框1][0]), c.history_line);
    for (Control option : kOptionButtons) EXPECT_FALSE(controls.enabled(option));
  }
}

TEST(CheckAnswer, MarksAreTheGB18030Bytes) {
  FakeControls controls;
  FakeMessageBoxes boxes;
  show_question(controls, "q", {"a", "b", "c", "d"}, "a");
  check_answer(controls, boxes, Control::按钮1);
  check_answer(controls, boxes, Control::按钮2);
  const auto& items = controls.items[Control::列表框1];
  EXPECT_EQ(items[0].substr(items[0].size() - 3), "\x20\xA1\xCC");
  EXPECT_EQ(items[1].substr(items[1].size() - 3), "\x20\xA1\xC1");
}

TEST(CheckAnswer, BeforeTheFirstQuestionIsWrongAndLocks) {
  FakeControls controls;  // captions as the window opens: empty options, 标签1 "标签"
  FakeMessageBoxes boxes;
  check_answer(controls, boxes, Control::按钮3);
  EXPECT_EQ(utf8(boxes.shown.at(0).text), "答错了");
  EXPECT_EQ(utf8(controls.items[Control::列表框1].at(0)), "回答： ×");
  for (Control option : kOptionButtons) EXPECT_FALSE(controls.enabled(option));
}

TEST(CheckAnswer, HistoryLineComesAfterTheBoxIsDismissed) {
  FakeControls controls;
  FakeMessageBoxes boxes;
  show_question(controls, "q", {"a", "b", "c", "d"}, "a");
  std::size_t items_while_shown = 99;
  boxes.while_shown = [&] { items_while_shown = controls.items[Control::列表框1].size(); };
  check_answer(controls, boxes, Control::按钮1);
  EXPECT_EQ(items_while_shown, 0u);
  EXPECT_EQ(controls.items[Control::列表框1].size(), 1u);
  EXPECT_EQ(controls.log.back(), "add item");
}

TEST(CheckAnswer, FiftyAnswersInOrder) {
  FakeControls controls;
  FakeMessageBoxes boxes;
  for (int i = 0; i < 50; ++i) {
    std::string question = "第" + std::to_string(i) + "题";
    show_question(controls, question, {"a", "b", "c", "d"}, "b");
    check_answer(controls, boxes, i % 2 == 0 ? Control::按钮2 : Control::按钮4);
  }
  const auto& items = controls.items[Control::列表框1];
  ASSERT_EQ(items.size(), 50u);
  for (int i = 0; i < 50; ++i) {
    std::string expected =
        "题目：第" + std::to_string(i) + "题回答：" + (i % 2 == 0 ? "b √" : "d ×");
    EXPECT_EQ(utf8(items[static_cast<std::size_t>(i)]), expected);
  }
}

}  // namespace
}  // namespace quiz
