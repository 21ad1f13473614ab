#include "run_directory.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace quiz_qt::testing {

TemporaryRunDirectory::TemporaryRunDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quiz-run-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::create_directory(path_ + "/文本");
}

TemporaryRunDirectory::~TemporaryRunDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TemporaryRunDirectory::add_question_file(const std::string& name,
                                              const std::string& bytes) const {
  std::ofstream(path_ + "/文本/" + name, std::ios::binary) << bytes;
}

}  // namespace quiz_qt::testing
