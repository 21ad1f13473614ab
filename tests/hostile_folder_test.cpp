// The question folder holds whatever a user or another program puts there. Each case builds such
// a folder in a temporary run directory, clicks the start button through load_question and states
// what must happen: nothing blocks, nothing that is not a regular file is read, a file that cannot
// be used is named in a warning, and big files load in memory proportional to their size.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <thread>

#include "question_bank/file_services.h"
#include "question_bank/load_question.h"
#include "support/encoding.h"
#include "tests/fakes.h"
#include "tests/process_memory.h"
#include "tests/temp_run_directory.h"

namespace quiz {
namespace {

namespace fs = std::filesystem;
using testing::FakeClock;
using testing::FakeControls;
using testing::FakeMessageBoxes;
using testing::memory_use;
using testing::MemoryUse;
using testing::reset_peak_memory;
using testing::TempRunDirectory;

std::string utf8(const Text& text) { return gb18030_to_utf8(text).value_or("<not GB18030>"); }

const char kQuestion[] = "问\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙\r\n";
const char kNoFilesMessage[] = "没有找到题目文件。请把题目文件（*.txt，UTF-8 编码）放进文件夹：";
const char kUnreadableMessage[] = "无法读取题目文件：";
const char kNotUtf8Message[] = "题目文件不是 UTF-8 编码：";

// Runs `action` and ends the test program with a failure when it has not returned within
// `limit`: an action that hangs must fail the run, not stall it. The limit is generous; it only
// tells a hang, or work that grows far faster than the input, from a slow machine.
void expect_returns_within(std::chrono::seconds limit, const std::function<void()>& action) {
  std::future<void> done = std::async(std::launch::async, action);
  if (done.wait_for(limit) == std::future_status::timeout) {
    std::fprintf(stderr, "FAILED: the action did not return within %lld s\n",
                 static_cast<long long>(limit.count()));
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
  }
  done.get();
}

class QuizOnFolder {
 public:
  void click_start() {
    expect_returns_within(std::chrono::seconds(60),
                          [this] { load_question(controls, boxes, random, files); });
  }

  std::string shown_question() const { return utf8(controls.caption(Control::按钮5)); }

  // The one warning box shown by the last click, in UTF-8; empty when there is not exactly one.
  std::string warning() const {
    if (boxes.shown.size() != 1 || boxes.shown[0].icon != BoxIcon::warning) return {};
    return utf8(boxes.shown[0].text);
  }

  FakeControls controls;
  FakeMessageBoxes boxes;
  FakeClock clock;
  RandomSource random{clock};
  TempRunDirectory files;
};

enum class Outcome {
  loaded,             // kQuestion is shown, the options are open, no box
  no_question_files,  // the window is left as it was and the folder is named in a warning
  unreadable,         // the options are locked and the file is named as unreadable
  not_utf8,           // the options are locked and the file is named as not UTF-8
};

// Whether the test makes the question folder before the case builds its entries, or the case
// builds (or leaves out) the folder itself.
enum class Folder { made_by_test, built_by_case };

struct HostileCase {
  const char* name;
  // Builds the question folder of `quiz` (and may set its before_read hook).
  std::function<void(QuizOnFolder& quiz, const std::string& folder)> build;
  Outcome outcome;
  // The file named in the warning, as the user reads it.
  std::string shown_file_name{"a.txt"};
  Folder folder{Folder::made_by_test};
};

void link(const std::string& target, const std::string& link_path) {
  ASSERT_EQ(symlink(target.c_str(), link_path.c_str()), 0) << link_path;
}

void make_fifo(const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path; }

TEST(HostileFolder, EveryClickReturnsAndDoesWhatTheFolderAllows) {
  const std::string bad_name = "\xce\xca\xcc\xe2.txt";  // "问题" in GBK: not UTF-8
  const HostileCase cases[] = {
      {"FIFO named a.txt",
       [](QuizOnFolder&, const std::string& folder) { make_fifo(folder + "/a.txt"); },
       Outcome::no_question_files},
      {"link to /dev/zero named a.txt",
       [](QuizOnFolder&, const std::string& folder) { link("/dev/zero", folder + "/a.txt"); },
       Outcome::no_question_files},
      {"link to /dev/urandom named a.txt",
       [](QuizOnFolder&, const std::string& folder) { link("/dev/urandom", folder + "/a.txt"); },
       Outcome::no_question_files},
      {"dangling link named a.txt",
       [](QuizOnFolder&, const std::string& folder) { link("gone.txt", folder + "/a.txt"); },
       Outcome::no_question_files},
      {"link loop named a.txt and b.txt",
       [](QuizOnFolder&, const std::string& folder) {
         link("b.txt", folder + "/a.txt");
         link("a.txt", folder + "/b.txt");
       },
       Outcome::no_question_files},
      {"folder named b.txt holding a question",
       [](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question("b.txt/a.txt", kQuestion);
       },
       Outcome::no_question_files},
      {"文本 is a regular file",
       [](QuizOnFolder& quiz, const std::string& folder) {
         quiz.files.folder.write("文本", kQuestion);
         EXPECT_TRUE(fs::is_regular_file(folder));
       },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a dangling link",
       [](QuizOnFolder&, const std::string& folder) { link("nowhere", folder); },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a FIFO", [](QuizOnFolder&, const std::string& folder) { make_fifo(folder); },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a link to a folder of questions",
       [](QuizOnFolder& quiz, const std::string& folder) {
         quiz.files.folder.write("elsewhere/a.txt", kQuestion);
         link("elsewhere", folder);
       },
       Outcome::loaded, "a.txt", Folder::built_by_case},
      {"link named a.txt to a question file elsewhere",
       [](QuizOnFolder& quiz, const std::string& folder) {
         link(quiz.files.folder.write("elsewhere.txt", kQuestion), folder + "/a.txt");
       },
       Outcome::loaded},
      {"file removed between the listing and the read",
       [](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question("a.txt", kQuestion);
         quiz.files.before_read = [](const std::string& path) { fs::remove(path); };
       },
       Outcome::unreadable},
      {"file replaced by a FIFO between the listing and the read",
       [](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question("a.txt", kQuestion);
         quiz.files.before_read = [](const std::string& path) {
           fs::remove(path);
           make_fifo(path);
         };
       },
       Outcome::unreadable},
      {"file replaced by a link to /dev/zero between the listing and the read",
       [](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question("a.txt", kQuestion);
         quiz.files.before_read = [](const std::string& path) {
           fs::remove(path);
           link("/dev/zero", path);
         };
       },
       Outcome::unreadable},
      {"file replaced by a folder between the listing and the read",
       [](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question("a.txt", kQuestion);
         quiz.files.before_read = [](const std::string& path) {
           fs::remove(path);
           fs::create_directory(path);
         };
       },
       Outcome::unreadable},
      {"name not valid UTF-8",
       [&bad_name](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question(bad_name, kQuestion);
       },
       Outcome::loaded},
      {"name not valid UTF-8, content not UTF-8 either",
       [&bad_name](QuizOnFolder& quiz, const std::string&) {
         quiz.files.add_question(bad_name, "\xce\xca\r\n");
       },
       Outcome::not_utf8, "????.txt"},
      {"file larger than any question file, mostly a hole",
       [](QuizOnFolder& quiz, const std::string&) {
         std::string path = quiz.files.add_question("a.txt", kQuestion);
         fs::resize_file(path, kLargestQuestionFile + 1);
       },
       Outcome::unreadable},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.name);
    QuizOnFolder quiz;
    const std::string folder = quiz.files.question_folder();
    if (c.folder == Folder::made_by_test) fs::create_directories(folder);
    c.build(quiz, folder);
    quiz.controls.captions[Control::按钮5] = "old question";
    quiz.controls.log.clear();
    const MemoryUse before = memory_use();
    const bool peak_measured = reset_peak_memory();
    quiz.click_start();
    const MemoryUse after = memory_use();

    switch (c.outcome) {
      case Outcome::loaded:
        EXPECT_EQ(quiz.shown_question(), "题目：问");
        EXPECT_EQ(utf8(quiz.controls.caption(Control::标签1)), "乙");
        EXPECT_TRUE(quiz.boxes.shown.empty());
        for (Control option : kOptionButtons) EXPECT_TRUE(quiz.controls.enabled(option));
        break;
      case Outcome::no_question_files:
        EXPECT_EQ(quiz.warning(), std::string(kNoFilesMessage) + "\r\n" + folder);
        EXPECT_TRUE(quiz.controls.log.empty()) << "the window must be left as it was";
        break;
      case Outcome::unreadable:
      case Outcome::not_utf8:
        EXPECT_EQ(quiz.warning(), std::string(c.outcome == Outcome::unreadable ? kUnreadableMessage
                                                                               : kNotUtf8Message) +
                                      "\r\n" + folder + "/" + c.shown_file_name);
        EXPECT_EQ(quiz.shown_question(), "题目：");
        for (Control option : kOptionButtons) EXPECT_FALSE(quiz.controls.enabled(option));
        break;
    }
    // Nothing here is big enough to need more than a few megabytes; a device or a hole read
    // as content would need far more.
    if (peak_measured && !testing::kAddressSanitizer) {
      EXPECT_LT(after.peak_kb - before.resident_kb, 64 * 1024);
    }
  }
}

}  // namespace
}  // namespace quiz
