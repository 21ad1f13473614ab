#include "quiz_check/check_run.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "question_bank/file_services.h"

namespace quiz::check {
namespace {

bool can_open_folder(const std::string& path) {
  DIR* folder = opendir(path.c_str());
  if (folder == nullptr) return false;
  closedir(folder);
  return true;
}

// Opening without blocking, so that a FIFO named by mistake cannot hang the check.
bool can_open_file(const std::string& path) {
  int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (file < 0) return false;
  close(file);
  return true;
}

std::string join_path(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

class Walk final {
 public:
  explicit Walk(Reporter& reporter) : reporter_(reporter) {}

  void check_path(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 && errno == ENOENT) {
      problem(path, PathProblem::missing);
    } else if (S_ISDIR(status.st_mode)) {
      check_folder(path);
    } else if (!can_open_file(path)) {
      problem(path, PathProblem::cannot_open_file);
    } else {
      FileCheck check = check_question_file(path);
      const std::size_t slash = path.rfind('/');
      if (!is_question_file_name(slash == std::string::npos ? path : path.substr(slash + 1))) {
        check.findings.insert(check.findings.begin(), {FindingKind::name_not_listed});
      }
      file(path, check);
    }
  }

  const Summary& summary() const { return summary_; }

 private:
  void check_folder(const std::string& folder) {
    if (!can_open_folder(folder)) return problem(folder, PathProblem::cannot_open_folder);
    const TextArray listed = list_question_files(folder);
    if (listed.empty()) return problem(folder, PathProblem::no_question_files);
    std::vector<std::string> names;
    for (std::int32_t i = 1; i <= listed.count(); ++i) names.push_back(listed.at(i, {0, 0}));
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      const std::string path = join_path(folder, name);
      file(path, check_question_file(path));
    }
  }

  void file(const std::string& path, const FileCheck& check) {
    ++summary_.files_checked;
    if (has_severity(check, Severity::error)) {
      ++summary_.files_with_errors;
    } else if (has_severity(check, Severity::warning)) {
      ++summary_.files_with_warnings;
    } else {
      ++summary_.files_fine;
    }
    reporter_.file_checked(path, check);
  }

  void problem(const std::string& path, PathProblem kind) {
    if (kind == PathProblem::no_question_files) {
      ++summary_.folders_without_questions;
    } else {
      ++summary_.paths_not_opened;
    }
    reporter_.path_problem(path, kind);
  }

  Reporter& reporter_;
  Summary summary_{};
};

}  // namespace

Arguments parse_arguments(const std::vector<std::string>& arguments) {
  Arguments parsed;
  bool options_end = false;
  for (const std::string& argument : arguments) {
    if (options_end || argument.size() < 2 || argument[0] != '-') {
      parsed.paths.push_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "-h" || argument == "--help") {
      return {Action::show_help};
    } else if (argument == "--version") {
      return {Action::show_version};
    } else {
      return {Action::usage_error, {}, argument};
    }
  }
  return parsed;
}

Summary check_paths(const std::vector<std::string>& paths, const std::string& default_folder,
                    Reporter& reporter) {
  Walk walk(reporter);
  if (paths.empty()) walk.check_path(default_folder);
  for (const std::string& path : paths) walk.check_path(path);
  return walk.summary();
}

int exit_status(const Summary& summary) {
  if (summary.paths_not_opened > 0) return kExitUsage;
  if (summary.files_with_errors > 0 || summary.folders_without_questions > 0) return 1;
  return 0;
}

}  // namespace quiz::check
