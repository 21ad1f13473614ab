#include "quiz_window/start_up.h"

#include <gtest/gtest.h>

#include "tests/fakes.h"

namespace quiz {
namespace {

using testing::FakeClock;

class RecordingHost final : public WindowHost {
 public:
  explicit RecordingHost(std::vector<std::string>& log, RandomSource& random, bool can_create)
      : log_(log), random_(random), can_create_(can_create) {}
  bool create_window() override {
    log_.push_back("create");
    return can_create_;
  }
  void show_window() override {
    log_.push_back("show, offset " + std::to_string(random_.clock_offset()));
  }
  void run_event_loop() override { log_.push_back("loop"); }

 private:
  std::vector<std::string>& log_;
  RandomSource& random_;
  bool can_create_;
};

class RecordingFiles final : public FileServices {
 public:
  explicit RecordingFiles(std::vector<std::string>& log) : log_(log) {}
  std::string run_directory() const override { return "/opt/quiz"; }
  TextArray question_files(const std::string&) const override { return {}; }
  Bytes read_file(const std::string&) const override { return {}; }
  void change_directory(const std::string& folder) const override {
    log_.push_back("cd " + folder);
  }

 private:
  std::vector<std::string>& log_;
};

TEST(StartUp, RunsInOrderAndSeedsBeforeShowing) {
  std::vector<std::string> log;
  FakeClock clock;
  clock.ticks = 20;
  RandomSource random(clock);
  RecordingHost host(log, random, true);
  RecordingFiles files(log);
  EXPECT_EQ(run_quiz(host, random, files), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"cd /opt/quiz", "create", "show, offset 120", "loop"}));
}

TEST(StartUpDeathTest, AWindowThatCannotBeCreatedIsFatal) {
  std::vector<std::string> log;
  FakeClock clock;
  RandomSource random(clock);
  RecordingHost host(log, random, false);
  RecordingFiles files(log);
  EXPECT_EXIT(run_quiz(host, random, files), ::testing::ExitedWithCode(255),
              "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n5, 0");
}

}  // namespace
}  // namespace quiz
