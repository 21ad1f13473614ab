#include "quiz_window/qt/qt_window_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "box_watcher.h"
#include "qt_printing.h"
#include "quiz_window/qt/caption_button.h"
#include "quiz_window/qt/quiz_window.h"
#include "support/text_literal.h"
#include "tests/temp_run_directory.h"

namespace quiz_qt {
namespace {

using quiz::Control;
using quiz::operator""_gb;
using testing::BoxWatcher;

class FixedClock final : public quiz::Clock {
 public:
  std::uint32_t tick_count() override { return 1000; }
};

// Restores the test program's current directory, which start-up changes.
class KeepCurrentDirectory final {
 public:
  ~KeepCurrentDirectory() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_ = std::filesystem::current_path();
};

// Watches start-up through the real host: what holds when each step begins. Its event loop
// closes the window as soon as it runs.
class WatchingHost final : public quiz::WindowHost {
 public:
  WatchingHost(QtWindowHost& host, const quiz::RandomSource& random)
      : host_(host), random_(random) {}

  bool create_window() override {
    offset_before_creation = random_.clock_offset();
    return host_.create_window();
  }
  void show_window() override {
    offset_before_showing = random_.clock_offset();
    state_before_showing = random_.state();
    hidden_before_showing = !host_.window()->isVisible();
    host_.show_window();
    active_after_showing = QTest::qWaitForWindowActive(host_.window());
    focus_after_showing = QApplication::focusWidget();
  }
  void run_event_loop() override {
    QTimer::singleShot(0, host_.window(), [this] { host_.window()->close(); });
    host_.run_event_loop();
    visible_after_loop = host_.window()->isVisible();
  }

  std::uint32_t offset_before_creation{1};
  std::uint32_t offset_before_showing{};
  std::uint32_t state_before_showing{};
  bool hidden_before_showing{};
  bool active_after_showing{};
  QWidget* focus_after_showing{};
  bool visible_after_loop{true};

 private:
  QtWindowHost& host_;
  const quiz::RandomSource& random_;
};

TEST(QtWindowHost, StartUpSeedsBeforeShowingAndEndsWithZeroWhenClosed) {
  KeepCurrentDirectory keep;
  quiz::testing::TempRunDirectory files;
  FixedClock clock;
  quiz::RandomSource random(clock);
  QtWindowHost host(random, files);
  WatchingHost watching(host, random);

  EXPECT_EQ(quiz::run_quiz(watching, random, files), 0);
  EXPECT_EQ(watching.offset_before_creation, 0u);
  EXPECT_TRUE(watching.hidden_before_showing);
  EXPECT_EQ(watching.state_before_showing, 1000u);
  EXPECT_EQ(watching.offset_before_showing, 1000u % 256 + 100);
  EXPECT_TRUE(watching.active_after_showing);
  EXPECT_EQ(watching.focus_after_showing, host.window()->widget(Control::按钮_开始));
  EXPECT_FALSE(watching.visible_after_loop);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(files.run_directory()));
}

TEST(QtWindowHost, AQuestionAnsweredRightThenWrong) {
  quiz::testing::TempRunDirectory files;
  files.add_question("q.txt", "1+1=?\r\n1\r\n2\r\n3\r\n4\r\n2\r\n");
  quiz::MonotonicClock clock;
  quiz::RandomSource random(clock);
  QtWindowHost host(random, files);
  ASSERT_TRUE(host.create_window());
  host.show_window();
  ASSERT_TRUE(QTest::qWaitForWindowActive(host.window()));
  QuizWindow& window = *host.window();
  auto click = [&window](Control which) {
    QTest::mouseClick(window.button(which), Qt::LeftButton);
  };

  BoxWatcher watcher;
  click(Control::按钮_开始);
  EXPECT_EQ(window.caption(Control::按钮5), "题目：1+1=?"_gb);
  EXPECT_EQ(window.caption(Control::标签1), "2");
  EXPECT_EQ(window.button(Control::按钮_开始)->shown_caption(), QStringLiteral("刷新题目"));
  EXPECT_EQ(window.button(Control::按钮3)->shown_caption(), QStringLiteral("3"));
  EXPECT_EQ(window.content(Control::编辑框1), "1+1=?\r\n1\r\n2\r\n3\r\n4\r\n2\r\n\r\n");
  click(Control::按钮2);
  for (Control option : quiz::kOptionButtons) EXPECT_FALSE(window.button(option)->isEnabled());
  click(Control::按钮_开始);
  EXPECT_TRUE(window.button(Control::按钮3)->isEnabled());
  click(Control::按钮3);
  click(Control::按钮5);  // does nothing

  ASSERT_EQ(watcher.seen().size(), 2u);
  const QString verdicts[] = {QStringLiteral("恭喜答对了"), QStringLiteral("答错了")};
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(watcher.seen()[i].title, QStringLiteral("信息："));
    EXPECT_EQ(watcher.seen()[i].text, verdicts[i]);
    EXPECT_EQ(watcher.seen()[i].icon, QMessageBox::NoIcon);
    EXPECT_EQ(watcher.seen()[i].modality, Qt::ApplicationModal);
  }
  auto* history = window.findChild<QListWidget*>(QStringLiteral("列表框1"));
  ASSERT_EQ(history->count(), 2);
  EXPECT_EQ(history->item(0)->text(), QStringLiteral("题目：1+1=?回答：2 √"));
  EXPECT_EQ(history->item(1)->text(), QStringLiteral("题目：1+1=?回答：3 ×"));
}

// Runs the quiz program with a changed environment; gives its exit code and what it printed.
struct ProgramRun {
  int exit_code{-1};
  std::string output;
};

ProgramRun run_quiz_program(const std::string& environment) {
  const std::string command = "env " + environment + " '" + QUIZ_PROGRAM + "' 2>&1 </dev/null";
  ProgramRun run;
  FILE* program = popen(command.c_str(), "r");
  if (program == nullptr) return run;
  char chunk[4096];
  while (std::size_t got = std::fread(chunk, 1, sizeof chunk, program))
    run.output.append(chunk, got);
  const int status = pclose(program);
  if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
  return run;
}

TEST(QtWindowHost, WithoutAWindowTheProgramReportsTheFatalErrorAndExitsWith255) {
  const struct {
    const char* name;
    const char* environment;
  } rows[] = {
      {"no display", "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"},
      {"a display that is not there", "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:9999"},
      {"a platform that does not exist", "QT_QPA_PLATFORM=none-such"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ProgramRun run = run_quiz_program(row.environment);
    EXPECT_EQ(run.exit_code, 255) << run.output;
    EXPECT_NE(run.output.find("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n5, 0\r\n"),
              std::string::npos)
        << run.output;
  }
}

}  // namespace
}  // namespace quiz_qt
