#pragma once
// A Reporter that keeps what it is told, for tests that look at findings rather than text.

#include <string>
#include <utility>
#include <vector>

#include "quiz_check/check_run.h"

namespace quiz::check {

class RecordingReporter final : public Reporter {
 public:
  void file_checked(const std::string& path, const FileCheck& check) override {
    files.emplace_back(path, check);
  }
  void path_problem(const std::string& path, PathProblem problem) override {
    problems.emplace_back(path, problem);
  }

  std::vector<std::pair<std::string, FileCheck>> files;
  std::vector<std::pair<std::string, PathProblem>> problems;
};

inline std::string fixture(const std::string& name) {
  return std::string(QUIZ_CHECK_FIXTURES) + "/" + name;
}

}  // namespace quiz::check
