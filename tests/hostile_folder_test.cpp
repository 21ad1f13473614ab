// The question folder holds whatever a user or another program puts there. Each case builds such
// a folder in a temporary run directory, clicks the start button through load_question and states
// what must happen: nothing blocks, nothing that is not a regular file is read, a file that cannot
// be used is named in a warning, and big files load in memory proportional to their size.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
  // The limit only tells a hang from a slow machine; big files under a sanitizer take longer.
  void click_start(std::chrono::seconds limit = std::chrono::seconds(60)) {
    expect_returns_within(limit, [this] { load_question(controls, boxes, random, files); });
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

void make_link(const std::string& target, const std::string& link_path) {
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
       [](QuizOnFolder&, const std::string& folder) { make_link("/dev/zero", folder + "/a.txt"); },
       Outcome::no_question_files},
      {"link to /dev/urandom named a.txt",
       [](QuizOnFolder&, const std::string& folder) {
         make_link("/dev/urandom", folder + "/a.txt");
       },
       Outcome::no_question_files},
      {"dangling link named a.txt",
       [](QuizOnFolder&, const std::string& folder) { make_link("gone.txt", folder + "/a.txt"); },
       Outcome::no_question_files},
      {"link loop named a.txt and b.txt",
       [](QuizOnFolder&, const std::string& folder) {
         make_link("b.txt", folder + "/a.txt");
         make_link("a.txt", folder + "/b.txt");
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
       [](QuizOnFolder&, const std::string& folder) { make_link("nowhere", folder); },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a link to itself",
       [](QuizOnFolder&, const std::string& folder) { make_link("文本", folder); },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a link to /dev/zero",
       [](QuizOnFolder&, const std::string& folder) { make_link("/dev/zero", folder); },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a FIFO", [](QuizOnFolder&, const std::string& folder) { make_fifo(folder); },
       Outcome::no_question_files, "a.txt", Folder::built_by_case},
      {"文本 is a link to a folder of questions",
       [](QuizOnFolder& quiz, const std::string& folder) {
         quiz.files.folder.write("elsewhere/a.txt", kQuestion);
         make_link("elsewhere", folder);
       },
       Outcome::loaded, "a.txt", Folder::built_by_case},
      {"link named a.txt to a question file elsewhere",
       [](QuizOnFolder& quiz, const std::string& folder) {
         make_link(quiz.files.folder.write("elsewhere.txt", kQuestion), folder + "/a.txt");
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
           make_link("/dev/zero", path);
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

Text gb(std::string_view utf8_text) { return *utf8_to_gb18030(utf8_text); }

// Writes `head`, then `chunk` `count` times, then `tail` to `path`, without holding the file in
// memory; returns the file's size.
std::int64_t write_big_file(const std::string& path, std::string_view head, std::string_view chunk,
                            std::int64_t count, std::string_view tail) {
  std::ofstream file(path, std::ios::binary);
  file << head;
  std::string block;
  constexpr std::int64_t kChunksPerBlock = 4096;
  for (std::int64_t i = 0; i < kChunksPerBlock; ++i) block += chunk;
  std::int64_t left = count;
  for (; left >= kChunksPerBlock; left -= kChunksPerBlock) file << block;
  for (; left > 0; --left) file << chunk;
  file << tail;
  file.flush();
  return static_cast<std::int64_t>(file.tellp());
}

struct BigFileCase {
  const char* name;
  std::string_view head;
  std::string_view chunk;
  std::int64_t count;
  std::string_view tail;
  Text question;  // GB18030, without the "题目：" in front
};

// Loads complete, in memory within about three times the file's size: the file is read once and
// converted once, its bytes are released before its text is handed to the load buffer, and
// nothing is scanned once per line or copied over and over. For a file of one long ASCII line,
// three times is what the window itself must hold for a moment: the load buffer, the question's
// caption, and the caption being handed over.
TEST(HostileFolder, BigFilesLoadInMemoryProportionalToTheirSize) {
  constexpr std::int64_t kMegabyte = 1024 * 1024;
  const std::string_view filler = "第七行以后的填充，不算题目。\r\n";  // 44 bytes
  const std::string_view long_line_character = "x";
  const std::int64_t long_line_length = 50 * kMegabyte;
  Text long_line;
  const Text long_line_unit = gb(long_line_character);
  for (std::int64_t i = 0; i < long_line_length; ++i) long_line += long_line_unit;
  const BigFileCase cases[] = {
      {"200 MB file", kQuestion, filler, 200 * kMegabyte / 44, "", gb("问")},
      {"one ASCII line of 50 MB", "", long_line_character, long_line_length,
       "\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙\r\n", long_line},
  };
  for (const BigFileCase& c : cases) {
    SCOPED_TRACE(c.name);
    QuizOnFolder quiz;
    const std::int64_t size =
        write_big_file(quiz.files.add_question("big.txt", ""), c.head, c.chunk, c.count, c.tail);
    const MemoryUse before = memory_use();
    const bool peak_measured = reset_peak_memory();
    quiz.click_start(std::chrono::seconds(300));
    const MemoryUse after = memory_use();

    EXPECT_TRUE(quiz.boxes.shown.empty());
    EXPECT_TRUE(quiz.controls.caption(Control::按钮5) == gb("题目：") + c.question)
        << "the question is " << quiz.controls.caption(Control::按钮5).size() << " bytes";
    EXPECT_EQ(utf8(quiz.controls.caption(Control::按钮1)), "甲");
    EXPECT_EQ(utf8(quiz.controls.caption(Control::按钮4)), "丁");
    EXPECT_EQ(utf8(quiz.controls.caption(Control::标签1)), "乙");
    const std::int64_t expected_buffer =
        static_cast<std::int64_t>(gb(c.head).size() + gb(c.tail).size() + 2) +
        c.count * static_cast<std::int64_t>(gb(c.chunk).size());
    EXPECT_EQ(static_cast<std::int64_t>(quiz.controls.content(Control::编辑框1).size()),
              expected_buffer);

    const std::int64_t growth_kb = after.peak_kb - before.resident_kb;
    std::printf(
        "%s: file %lld MB, resident before %lld MB, peak during the load %lld MB "
        "(%.2f times the file)\n",
        c.name, static_cast<long long>(size / kMegabyte),
        static_cast<long long>(before.resident_kb / 1024),
        static_cast<long long>(after.peak_kb / 1024),
        static_cast<double>(growth_kb) * 1024 / static_cast<double>(size));
    if (!peak_measured) {
      std::printf("The kernel does not let the peak be reset; memory is not checked.\n");
    } else if (testing::kAddressSanitizer) {
      std::printf("AddressSanitizer keeps freed memory in quarantine; memory is not checked.\n");
    } else {
      constexpr std::int64_t kSlack = 16 * kMegabyte;  // the test's own small allocations
      EXPECT_LE(growth_kb * 1024, 3 * size + kSlack);
    }
  }
}

// More files than one generator value can reach: the click lists them all at once and can draw
// any of them.
TEST(HostileFolder, HundredThousandFiles) {
  constexpr std::int32_t kFiles = 100'000;
  QuizOnFolder quiz;
  const std::string folder = quiz.files.question_folder();
  fs::create_directories(folder);
  // Every tenth file holds a question naming its number; the others are empty, which keeps the
  // disk use small, and an empty file names itself in the warning.
  auto name_of = [](std::int32_t number) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d.txt", static_cast<int>(number));
    return std::string(name);
  };
  for (std::int32_t number = 0; number < kFiles; ++number) {
    const std::string path = folder + "/" + name_of(number);
    const int file = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0) << path;
    if (number % 10 == 0) {
      const std::string question =
          "题" + std::to_string(number) + "\r\n甲\r\n乙\r\n丙\r\n丁\r\n乙\r\n";
      EXPECT_EQ(write(file, question.data(), question.size()),
                static_cast<ssize_t>(question.size()));
    }
    close(file);
  }
  const TextArray listed = list_question_files(folder);
  ASSERT_EQ(listed.count(), kFiles);
  std::map<std::string, std::int32_t> position;
  for (std::int32_t i = 1; i <= listed.count(); ++i) position[listed.at(i, {9, 9})] = i;

  const std::string question_prefix = "题目：题";
  const std::string warning_prefix = std::string(kUnreadableMessage) + "\r\n" + folder + "/";
  std::int32_t farthest = 0;
  for (std::uint32_t click = 0; click < 20; ++click) {
    SCOPED_TRACE(click);
    quiz.clock.ticks = click * 7919;
    quiz.boxes.shown.clear();
    quiz.click_start();
    std::string drawn;
    if (quiz.boxes.shown.empty()) {
      const std::string question = quiz.shown_question();
      ASSERT_EQ(question.substr(0, question_prefix.size()), question_prefix);
      drawn = name_of(std::stoi(question.substr(question_prefix.size())));
    } else {
      const std::string warning = quiz.warning();
      ASSERT_EQ(warning.substr(0, warning_prefix.size()), warning_prefix);
      drawn = warning.substr(warning_prefix.size());
    }
    ASSERT_EQ(position.count(drawn), 1u) << drawn;
    farthest = std::max(farthest, position[drawn]);
  }
  EXPECT_GT(farthest, 32768) << "files listed after the first 32,768 must be drawable too";
}

// Another program keeps appending to the question file while the quiz reads it: every click
// returns, reading the file as far as it reached when it was opened.
TEST(HostileFolder, FileAppendedToWhileItIsRead) {
  QuizOnFolder quiz;
  const std::string path = quiz.files.add_question("a.txt", kQuestion);
  std::atomic<bool> stop{false};
  std::thread writer([&path, &stop] {
    const int file = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (file < 0) return;
    std::string lines;  // ASCII, so that the file read up to any point is UTF-8
    for (int i = 0; i < 256; ++i) lines += "appended line\r\n";
    constexpr std::int64_t kMaximumSize = 16 * 1024 * 1024;
    for (std::int64_t written = 0; !stop && written < kMaximumSize;) {
      const ssize_t count = write(file, lines.data(), lines.size());
      if (count <= 0) break;
      written += count;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    close(file);
  });
  for (std::uint32_t click = 0; click < 10; ++click) {
    SCOPED_TRACE(click);
    quiz.clock.ticks = click;
    quiz.boxes.shown.clear();
    quiz.click_start();
    EXPECT_TRUE(quiz.boxes.shown.empty());
    EXPECT_EQ(quiz.shown_question(), "题目：问");
    EXPECT_EQ(utf8(quiz.controls.caption(Control::标签1)), "乙");
    const Text start = gb(kQuestion);
    EXPECT_EQ(quiz.controls.content(Control::编辑框1).substr(0, start.size()), start);
  }
  stop = true;
  writer.join();
}

// A file that the user may not read is named as unreadable. Root reads every file, so as root
// the click runs in a child process that has given up root for the user nobody.
TEST(HostileFolder, FileWithoutReadPermissionIsNamedAsUnreadable) {
  QuizOnFolder quiz;
  const std::string folder = quiz.files.question_folder();
  const std::string path = quiz.files.add_question("a.txt", kQuestion);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  const std::string expected = std::string(kUnreadableMessage) + "\r\n" + path;
  auto click_and_check = [&quiz, &expected] {
    quiz.click_start();
    return quiz.warning() == expected && !quiz.controls.enabled(Control::按钮1);
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(click_and_check()) << quiz.warning();
    return;
  }

  constexpr int kCannotDropRoot = 3;
  fs::permissions(quiz.files.folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                                fs::perms::group_exec | fs::perms::others_read |
                                                fs::perms::others_exec);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0) {
      _exit(kCannotDropRoot);
    }
    _exit(click_and_check() ? EXIT_SUCCESS : EXIT_FAILURE);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotDropRoot) {
    GTEST_SKIP() << "Running as root, which reads every file, and unable to switch to the user "
                    "nobody: an unreadable file cannot be made here.";
  }
  EXPECT_EQ(WEXITSTATUS(status), EXIT_SUCCESS)
      << "as the user nobody, the click did not name " << path << " as unreadable";
}

}  // namespace
}  // namespace quiz
