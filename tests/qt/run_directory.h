#pragma once
// A temporary run directory for the quiz, with its question folder 文本, removed at the end of
// the test; and file services that run from it instead of from the test program's folder.

#include <string>

#include "question_bank/file_services.h"

namespace quiz_qt::testing {

class TemporaryRunDirectory final {
 public:
  TemporaryRunDirectory();
  ~TemporaryRunDirectory();
  TemporaryRunDirectory(const TemporaryRunDirectory&) = delete;
  TemporaryRunDirectory& operator=(const TemporaryRunDirectory&) = delete;

  const std::string& path() const { return path_; }
  // Writes a file into 文本.
  void add_question_file(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

class RunDirectoryFiles final : public quiz::FileServices {
 public:
  explicit RunDirectoryFiles(std::string run_directory)
      : run_directory_(std::move(run_directory)) {}

  std::string run_directory() const override { return run_directory_; }
  quiz::TextArray question_files(const std::string& folder) const override {
    return real_.question_files(folder);
  }
  quiz::Bytes read_file(const std::string& path) const override { return real_.read_file(path); }
  void change_directory(const std::string& folder) const override {
    real_.change_directory(folder);
  }

 private:
  std::string run_directory_;
  quiz::PosixFileServices real_;
};

}  // namespace quiz_qt::testing
