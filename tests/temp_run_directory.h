#pragma once
// File services over real files in a temporary run directory; start-up really changes into it.
// `before_read` lets a test change the question folder between the listing and the read, which
// no real folder can be made to do on cue.

#include <functional>
#include <string>
#include <string_view>

#include "question_bank/file_services.h"
#include "question_bank/load_question.h"
#include "tests/temp_folder.h"

namespace quiz::testing {

class TempRunDirectory final : public FileServices {
 public:
  std::string run_directory() const override { return folder.path().string(); }
  TextArray question_files(const std::string& path) const override {
    return list_question_files(path);
  }
  Bytes read_file(const std::string& path) const override {
    if (before_read) before_read(path);
    return read_whole_file(path);
  }
  void change_directory(const std::string& path) const override {
    PosixFileServices().change_directory(path);
  }

  // The question folder 文本 of this run directory.
  std::string question_folder() const { return quiz::question_folder(run_directory()); }

  std::string add_question(const std::string& name, std::string_view bytes) const {
    return folder.write("文本/" + name, bytes);
  }

  TempFolder folder;
  std::function<void(const std::string&)> before_read;
};

}  // namespace quiz::testing
