#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace quiz::testing {

class TempFolder final {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quiz-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  // Writes `bytes` to the file `name` (which may name a subfolder) and returns its full path.
  std::string write(const std::string& name, std::string_view bytes) const {
    std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace quiz::testing
