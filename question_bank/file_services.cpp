#include "question_bank/file_services.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <vector>

namespace quiz {
namespace {

class FileDescriptor final {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
  }
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

namespace {

// Opens a regular file for reading without blocking; nothing when it cannot be opened, is not a
// regular file (a FIFO or a device could keep the quiz waiting) or is larger than any question
// file.
std::optional<FileDescriptor> open_regular_file(const std::string& path, struct stat& status) {
  if (path.empty()) return std::nullopt;
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_size > kLargestQuestionFile) {
    return std::nullopt;
  }
  return file;
}

// Reads up to `size` bytes; -1 when reading fails, fewer when the file ends first.
ssize_t read_some(int file, char* buffer, std::size_t size) {
  for (;;) {
    ssize_t count = read(file, buffer, size);
    if (count >= 0 || errno != EINTR) return count;
  }
}

}  // namespace

Bytes read_whole_file(const std::string& path) {
  struct stat status {};
  std::optional<FileDescriptor> file = open_regular_file(path, status);
  if (!file) return {};
  // Read the size the file had when it was opened: a file that another program keeps appending
  // to cannot keep the quiz reading forever.
  Bytes content(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t filled = 0;
  while (filled < content.size()) {
    ssize_t count = read_some(file->get(), content.data() + filled, content.size() - filled);
    if (count < 0) return {};
    if (count == 0) break;  // the file was cut short meanwhile
    filled += static_cast<std::size_t>(count);
  }
  content.resize(filled);
  return content;
}

bool read_file_in_pieces(const std::string& path, const std::function<void(std::size_t)>& take_size,
                         const std::function<void(std::string_view)>& take_piece) {
  struct stat status {};
  std::optional<FileDescriptor> file = open_regular_file(path, status);
  if (!file) return false;
  const auto size = static_cast<std::size_t>(status.st_size);
  take_size(size);
  // Small enough to stay in the cache between the read and its use.
  char piece[64 * 1024];
  std::size_t filled = 0;
  while (filled < size) {
    ssize_t count = read_some(file->get(), piece, std::min(sizeof piece, size - filled));
    if (count < 0) return false;
    if (count == 0) break;  // the file was cut short meanwhile
    take_piece(std::string_view(piece, static_cast<std::size_t>(count)));
    filled += static_cast<std::size_t>(count);
  }
  return filled > 0;
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

QuestionText PosixFileServices::read_question_text(const std::string& path) const {
  return question_text_from_file(path);
}

void PosixFileServices::change_directory(const std::string& folder) const {
  [[maybe_unused]] int ignored = chdir(folder.c_str());
}

}  // namespace quiz
