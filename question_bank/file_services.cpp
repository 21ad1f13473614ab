#include "question_bank/file_services.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace quiz {
namespace {

class FileDescriptor final {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

struct FolderCloser {
  void operator()(DIR* folder) const { closedir(folder); }
};

// readdir usually says what an entry is; only links and file systems that do not say need a
// stat, which follows the link.
bool is_regular_file(DIR* folder, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status {};
  return fstatat(dirfd(folder), entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string parent_folder(const std::string& path) {
  std::size_t last_slash = path.rfind('/');
  return last_slash == std::string::npos ? std::string{} : path.substr(0, last_slash);
}

bool is_question_file_name(std::string_view name) {
  constexpr std::string_view extension = ".txt";
  if (name.size() < extension.size()) return false;
  std::string_view tail = name.substr(name.size() - extension.size());
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (ascii_lower(tail[i]) != extension[i]) return false;
  }
  return true;
}

TextArray list_question_files(const std::string& folder) {
  TextArray names;
  std::unique_ptr<DIR, FolderCloser> listing(opendir(folder.c_str()));
  if (!listing) return names;
  while (const dirent* entry = readdir(listing.get())) {
    if (is_question_file_name(entry->d_name) && is_regular_file(listing.get(), *entry)) {
      names.append(entry->d_name);
    }
  }
  return names;
}

Bytes read_whole_file(const std::string& path) {
  if (path.empty()) return {};
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat status {};
  if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
  if (status.st_size > kLargestQuestionFile) return {};
  // Read the size the file had when it was opened: a file that another program keeps appending
  // to cannot keep the quiz reading forever.
  Bytes content(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t filled = 0;
  while (filled < content.size()) {
    ssize_t count = read(file.get(), content.data() + filled, content.size() - filled);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return {};
    if (count == 0) break;  // the file was cut short meanwhile
    filled += static_cast<std::size_t>(count);
  }
  content.resize(filled);
  return content;
}

std::string PosixFileServices::run_directory() const {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return parent_folder(std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

TextArray PosixFileServices::question_files(const std::string& folder) const {
  return list_question_files(folder);
}

Bytes PosixFileServices::read_file(const std::string& path) const { return read_whole_file(path); }

void PosixFileServices::change_directory(const std::string& folder) const {
  [[maybe_unused]] int ignored = chdir(folder.c_str());
}

}  // namespace quiz
