#pragma once
// One run of quiz-check: the command line, the walk over the folders and files it names, and
// the totals that decide the exit status. Each checked file and each path that cannot be checked
// is handed to a Reporter as it comes, so printing stays out of this layer.

#include <string>
#include <vector>

#include "quiz_check/check_file.h"

namespace quiz::check {

enum class Action { check, show_help, show_version, usage_error };

struct Arguments {
  Action action{Action::check};
  std::vector<std::string> paths{};  // empty: the question folder beside the program
  std::string bad_argument{};        // for usage_error: the option that was not understood
};

Arguments parse_arguments(const std::vector<std::string>& arguments);

enum class PathProblem {
  missing,             // exit status 2
  cannot_open_folder,  // exit status 2
  cannot_open_file,    // exit status 2
  no_question_files,   // a folder without question files: the quiz has nothing to show
};

class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual void file_checked(const std::string& path, const FileCheck& check) = 0;
  virtual void path_problem(const std::string& path, PathProblem problem) = 0;
};

struct Summary {
  int files_checked{};
  int files_fine{};
  int files_with_warnings{};  // warnings but no error
  int files_with_errors{};
  int paths_not_opened{};  // folders and files that could not be opened
  int folders_without_questions{};
};

// Checks every path in order: a folder as the quiz lists it (names in byte order), a file on its
// own. An empty list means `default_folder`.
Summary check_paths(const std::vector<std::string>& paths, const std::string& default_folder,
                    Reporter& reporter);

// 2 when a path could not be opened, else 1 when a file has an error or a folder holds no
// question file, else 0.
int exit_status(const Summary& summary);

inline constexpr int kExitUsage = 2;

}  // namespace quiz::check
