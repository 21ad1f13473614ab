#include "question_bank/load_question.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "support/encoding.h"
#include "tests/fakes.h"
#include "tests/temp_run_directory.h"

namespace quiz {
namespace {

using testing::FakeClock;
using testing::FakeControls;
using testing::FakeMessageBoxes;
using testing::TempRunDirectory;

std::string utf8(const Text& text) { return gb18030_to_utf8(text).value_or("<not GB18030>"); }

class LoadQuestionTest : public ::testing::Test {
 protected:
  void click_start() { load_question(controls, boxes, random, files); }
  std::string shown_question() const { return utf8(controls.caption(Control::按钮5)); }

  FakeControls controls;
  FakeMessageBoxes boxes;
  FakeClock clock;
  RandomSource random{clock};
  TempRunDirectory files;
};

const char kQuestion[] = "1+1=?\r\n一\r\n二\r\n三\r\n四\r\n二\r\n第七行\r\n";

TEST_F(LoadQuestionTest, FillsTheWindowInOrder) {
  files.add_question("q.txt", kQuestion);
  controls.contents[Control::编辑框1] = "typed by the user";
  for (Control option : kOptionButtons) controls.states[option] = ButtonState::disabled;
  click_start();

  EXPECT_EQ(controls.log, (std::vector<std::string>{
                              "set content", "enable 按钮1", "enable 按钮2", "enable 按钮3",
                              "enable 按钮4", "caption 按钮_开始", "append content",
                              "append content", "caption 按钮5", "caption 标签1", "caption 按钮1",
                              "caption 按钮2", "caption 按钮3", "caption 按钮4"}));
  EXPECT_EQ(controls.content(Control::编辑框1), *utf8_to_gb18030(kQuestion) + "\r\n");
  EXPECT_EQ(utf8(controls.caption(Control::按钮_开始)), "刷新题目");
  EXPECT_EQ(shown_question(), "题目：1+1=?");
  EXPECT_EQ(utf8(controls.caption(Control::按钮1)), "一");
  EXPECT_EQ(utf8(controls.caption(Control::按钮4)), "四");
  EXPECT_EQ(utf8(controls.caption(Control::标签1)), "二");
  for (Control option : kOptionButtons) EXPECT_TRUE(controls.enabled(option));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoadQuestionTest, ListsOnlyQuestionFilesOfTheFolderItself) {
  files.add_question("UPPER.TXT", "大写\r\n");
  files.add_question(".hidden.txt", "隐藏\r\n");
  files.add_question("notes.md", "不是题目\r\n");
  files.add_question("sub.txt/inner.txt", "子文件夹\r\n");
  const std::string fifo = files.folder.path().string() + "/文本/pipe.txt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

  std::set<std::string> seen;
  for (std::uint32_t tick = 0; tick < 64; ++tick) {
    clock.ticks = tick;
    click_start();
    seen.insert(shown_question());
  }
  EXPECT_EQ(seen, (std::set<std::string>{"题目：大写", "题目：隐藏"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoadQuestionTest, KnownClockGivesKnownFile) {
  // Names are listed in the file system's order, so find which position the draw gives.
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.add_question(name, name);
  TextArray names = list_question_files(files.folder.path().string() + "/文本");
  clock.ticks = 1000;  // seed 1000 + offset 0; first value 3304; 1 + 3304 mod 3 = 2
  click_start();
  EXPECT_EQ(shown_question(), "题目：" + names.at(2, {9, 9}));
}

TEST_F(LoadQuestionTest, OneFileTakesNoGeneratorValue) {
  files.add_question("only.txt", kQuestion);
  clock.ticks = 500;
  click_start();
  EXPECT_EQ(random.state(), 500u);  // reseeded, not stepped
  EXPECT_EQ(shown_question(), "题目：1+1=?");
}

TEST_F(LoadQuestionTest, SeesFilesAddedBetweenClicks) {
  files.add_question("first.txt", "第一\r\n");
  click_start();
  EXPECT_EQ(shown_question(), "题目：第一");
  std::filesystem::remove(files.folder.path() / "文本" / "first.txt");
  files.add_question("second.txt", "第二\r\n");
  click_start();
  EXPECT_EQ(shown_question(), "题目：第二");
}

TEST_F(LoadQuestionTest, NoQuestionFilesLeavesTheWindowAsItWas) {
  for (bool folder_exists : {false, true}) {
    SCOPED_TRACE(folder_exists ? "empty folder" : "missing folder");
    if (folder_exists) std::filesystem::create_directories(files.folder.path() / "文本" / "x.txt");
    controls.contents[Control::编辑框1] = "old buffer";
    controls.captions[Control::按钮5] = "old question";
    controls.states[Control::按钮2] = ButtonState::disabled;
    controls.log.clear();
    boxes.shown.clear();
    click_start();

    EXPECT_TRUE(controls.log.empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(utf8(boxes.shown[0].title), "信息：");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::warning);
    EXPECT_EQ(utf8(boxes.shown[0].text),
              "没有找到题目文件。请把题目文件（*.txt，UTF-8 编码）放进文件夹：\r\n" +
                  files.folder.path().string() + "/文本");
  }
  // Once a file is there, the next click loads it.
  files.add_question("q.txt", kQuestion);
  click_start();
  EXPECT_EQ(shown_question(), "题目：1+1=?");
}

struct UnusableFile {
  const char* name;
  std::string_view bytes;
  const char* message;
  Text load_buffer{"\r\n"};
};

TEST_F(LoadQuestionTest, AFileWithoutAQuestionLocksTheOptionsAndSaysWhy) {
  using namespace std::string_view_literals;
  const UnusableFile cases[] = {
      {"empty", "", "无法读取题目文件："},
      {"only line ends", "\r\n\r\n", "无法读取题目文件：", "\r\n\r\n\r\n"},
      {"zero byte first", "\0abc"sv, "无法读取题目文件："},
      {"GBK", "\xce\xca\xcc\xe2\r\n", "题目文件不是 UTF-8 编码："},
      {"vanished", "vanishes before it is read", "无法读取题目文件："},
  };
  for (const UnusableFile& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = files.add_question("bad.txt", c.bytes);
    files.before_read = [&c](const std::string& read_path) {
      if (std::string_view(c.name) == "vanished") std::filesystem::remove(read_path);
    };
    boxes.shown.clear();
    click_start();

    EXPECT_EQ(controls.content(Control::编辑框1), c.load_buffer);
    EXPECT_EQ(shown_question(), "题目：");
    EXPECT_EQ(controls.caption(Control::标签1), "");
    for (Control option : kOptionButtons) {
      EXPECT_EQ(controls.caption(option), "");
      EXPECT_FALSE(controls.enabled(option));
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::warning);
    EXPECT_EQ(utf8(boxes.shown[0].text), std::string(c.message) + "\r\n" + path);
  }
}

}  // namespace
}  // namespace quiz
