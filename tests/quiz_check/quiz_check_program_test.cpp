// Runs the real quiz-check executable: its summary, exit statuses, options, language, colours
// and default folder, as a user meets them.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "question_bank/file_services.h"

namespace {

struct ProgramRun {
  int exit_status{-1};
  std::string out;
  std::string err;
};

std::string read_all(int descriptor) {
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return text;  // a pseudo-terminal ends with EIO once the child has gone
    text.append(buffer, static_cast<std::size_t>(count));
  }
}

// The environment of a run: only what is given, plus what the sanitizers need.
std::vector<std::string> environment(const std::vector<std::string>& variables) {
  std::vector<std::string> result = variables;
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) result.push_back(std::string(name) + "=" + value);
  }
  return result;
}

enum class Output { pipe, terminal };

// Runs `program` with `arguments` and `variables`. On a terminal, standard output is a
// pseudo-terminal and what it shows is returned in `out`.
ProgramRun run(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& variables, Output output = Output::pipe) {
  int out_pipe[2];
  int err_pipe[2];
  int terminal = -1;
  int terminal_child = -1;
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return {};
  if (output == Output::terminal &&
      openpty(&terminal, &terminal_child, nullptr, nullptr, nullptr) != 0) {
    return {};
  }
  std::vector<std::string> argv_strings = {program};
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env_strings = environment(variables);
  std::vector<char*> argv;
  std::vector<char*> envp;
  for (auto& s : argv_strings) argv.push_back(s.data());
  for (auto& s : env_strings) envp.push_back(s.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t child = fork();
  if (child == 0) {
    dup2(output == Output::terminal ? terminal_child : out_pipe[1], STDOUT_FILENO);
    dup2(err_pipe[1], STDERR_FILENO);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (terminal_child >= 0) close(terminal_child);
  ProgramRun result;
  result.out = read_all(output == Output::terminal ? terminal : out_pipe[0]);
  result.err = read_all(err_pipe[0]);
  close(out_pipe[0]);
  close(err_pipe[0]);
  if (terminal >= 0) close(terminal);
  int status = 0;
  waitpid(child, &status, 0);
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string last_line(const std::string& text) {
  std::string trimmed = text.substr(0, text.find_last_not_of("\r\n") + 1);
  return trimmed.substr(trimmed.rfind('\n') + 1);
}

const std::string kProgram = QUIZ_CHECK_EXECUTABLE;

std::string sample_count() {
  return std::to_string(quiz::list_question_files(QUIZ_SAMPLE_BANK).count());
}

TEST(QuizCheckProgram, PrintsTheSummaryAndExitsWithTheRightStatus) {
  const std::string n = sample_count();
  struct Row {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> variables;
    int exit_status;
    std::string summary;
  };
  const Row rows[] = {
      {"broken files",
       {QUIZ_CHECK_FIXTURES},
       {"LANG=C"},
       1,
       "23 files checked: 1 fine, 6 with warnings, 16 with errors"},
      {"sample bank",
       {QUIZ_SAMPLE_BANK},
       {"LANG=en_US.UTF-8"},
       0,
       n + " files checked: " + n + " fine, 0 with warnings, 0 with errors"},
      {"only warnings",
       {QUIZ_CHECK_FIXTURES "/七行.txt"},
       {},
       0,
       "1 file checked: 0 fine, 1 with warnings, 0 with errors"},
      {"missing file next to a broken one",
       {QUIZ_CHECK_FIXTURES "/没有.txt", QUIZ_CHECK_FIXTURES "/五行.txt"},
       {},
       2,
       "1 file checked: 0 fine, 0 with warnings, 1 with errors; 1 could not be opened"},
      {"Chinese",
       {QUIZ_SAMPLE_BANK},
       {"LANG=zh_CN.UTF-8"},
       0,
       "检查了 " + n + " 个文件：" + n + " 个没有问题，0 个有警告，0 个有错误"},
      {"LC_ALL before LANG",
       {QUIZ_SAMPLE_BANK},
       {"LC_ALL=C", "LANG=zh_CN.UTF-8"},
       0,
       n + " files checked: " + n + " fine, 0 with warnings, 0 with errors"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ProgramRun result = run(kProgram, row.arguments, row.variables);
    EXPECT_EQ(result.exit_status, row.exit_status);
    EXPECT_EQ(last_line(result.out), row.summary);
    EXPECT_EQ(result.out.find('\x1b'), std::string::npos) << "no colours into a pipe";
    EXPECT_EQ(result.err, "");
  }
}

TEST(QuizCheckProgram, SaysNothingButTheSummaryAboutAGoodBank) {
  const ProgramRun result = run(kProgram, {QUIZ_SAMPLE_BANK}, {});
  EXPECT_EQ(result.out.find('\n'), result.out.size() - 1) << result.out;
}

TEST(QuizCheckProgram, AnswersHelpVersionAndBadOptions) {
  struct Row {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> variables;
    int exit_status;
    std::string out_start;
    std::string err_start;
  };
  const Row rows[] = {
      {"help", {"--help"}, {}, 0, "Usage: quiz-check [FOLDER|FILE]...\n", ""},
      {"help in Chinese", {"-h"}, {"LANG=zh_CN.UTF-8"}, 0, "用法：quiz-check", ""},
      {"version", {"--version"}, {}, 0, "quiz-check " QUIZ_VERSION "\n", ""},
      {"unknown option",
       {"--frobnicate", QUIZ_SAMPLE_BANK},
       {},
       2,
       "",
       "quiz-check: unknown option '--frobnicate'\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ProgramRun result = run(kProgram, row.arguments, row.variables);
    EXPECT_EQ(result.exit_status, row.exit_status);
    EXPECT_EQ(result.out.substr(0, row.out_start.size()), row.out_start);
    EXPECT_EQ(result.err.substr(0, row.err_start.size()), row.err_start);
    if (row.out_start.empty()) {
      EXPECT_EQ(result.out, "");
    }
  }
}

bool can_open_terminal() {
  int terminal = -1;
  int terminal_child = -1;
  if (openpty(&terminal, &terminal_child, nullptr, nullptr, nullptr) != 0) return false;
  close(terminal);
  close(terminal_child);
  return true;
}

TEST(QuizCheckProgram, ColoursATerminalUnlessNoColorIsSet) {
  if (!can_open_terminal()) GTEST_SKIP() << "this machine gives no pseudo-terminal";
  const std::string broken = QUIZ_CHECK_FIXTURES "/五行.txt";
  const ProgramRun coloured = run(kProgram, {broken}, {"TERM=xterm"}, Output::terminal);
  EXPECT_NE(coloured.out.find("\x1b[1;31m"), std::string::npos) << coloured.out;
  const ProgramRun plain = run(kProgram, {broken}, {"TERM=xterm", "NO_COLOR=1"}, Output::terminal);
  EXPECT_NE(plain.out.find("error:"), std::string::npos) << plain.out;
  EXPECT_EQ(plain.out.find('\x1b'), std::string::npos) << plain.out;
}

TEST(QuizCheckProgram, ChecksTheFolderBesideItsExecutableWithoutArguments) {
  namespace fs = std::filesystem;
  const fs::path installed = fs::path(testing::TempDir()) / "quiz_check_installed";
  fs::remove_all(installed);
  fs::create_directories(installed / "文本");
  fs::copy_file(kProgram, installed / "quiz-check");
  fs::copy_file(QUIZ_CHECK_FIXTURES "/五行.txt", installed / "文本" / "五行.txt");
  const ProgramRun result = run((installed / "quiz-check").string(), {}, {}, Output::pipe);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.out.find((installed / "文本" / "五行.txt").string() + ": error:"), 0u)
      << result.out;
  fs::remove_all(installed);
}

}  // namespace
