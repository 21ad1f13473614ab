#pragma once
// The file services the quiz needs: where it runs from, which question files a folder holds, and
// the whole content of one file. Paths and file names stay in the file system's own bytes.
// The program uses the POSIX implementation; tests may stand in for it where a real file cannot
// show a fault (a file that vanishes between listing and reading).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "question_bank/question_file.h"
#include "support/one_based_array.h"
#include "support/text.h"

namespace quiz {

class FileServices {
 public:
  virtual ~FileServices() = default;

  // The folder of the running executable, without a trailing '/'.
  virtual std::string run_directory() const = 0;

  // The question files of `folder` in the file system's order: see list_question_files.
  virtual TextArray question_files(const std::string& folder) const = 0;

  // See read_whole_file.
  virtual Bytes read_file(const std::string& path) const = 0;

  // The text of the question file at `path`: the bytes of read_file turned into text. An
  // implementation may read and convert the file a piece at a time instead, with the same result.
  virtual QuestionText read_question_text(const std::string& path) const {
    return question_text_from_bytes(read_file(path));
  }

  // Makes `folder` the process's current directory; a failure changes nothing.
  virtual void change_directory(const std::string& folder) const = 0;
};

class PosixFileServices final : public FileServices {
 public:
  std::string run_directory() const override;
  TextArray question_files(const std::string& folder) const override;
  Bytes read_file(const std::string& path) const override;
  QuestionText read_question_text(const std::string& path) const override;
  void change_directory(const std::string& folder) const override;
};

// The part of `path` before its last '/'; empty for a file in the root folder.
std::string parent_folder(const std::string& path);

// True for names ending in ".txt" in any letter case.
bool is_question_file_name(std::string_view name);

// The entries of `folder` (not of its subfolders) with a question file name that are regular
// files once links are followed. Empty when the folder cannot be opened.
TextArray list_question_files(const std::string& folder);

// The largest file that is read as a question file. A question is six lines, so a file beyond
// this is not one; reading it whole (or a sparse file of many gigabytes) could exhaust memory.
inline constexpr std::int64_t kLargestQuestionFile = std::int64_t{256} * 1024 * 1024;

// The complete content of a regular file (after following links) as it was when opened. Empty
// bytes when the path is empty, the file is missing, cannot be opened, is not a regular file, is
// empty, is larger than kLargestQuestionFile, or a read fails. Never blocks: FIFOs and devices
// are refused before anything is read.
Bytes read_whole_file(const std::string& path);

// The bytes that read_whole_file gives, handed to `take_piece` in order through one small buffer,
// so that the file is never held whole; `take_size` is told the file's size first. False where
// read_whole_file gives empty bytes, even after some pieces have been handed over: the caller
// then drops them.
bool read_file_in_pieces(const std::string& path, const std::function<void(std::size_t)>& take_size,
                         const std::function<void(std::string_view)>& take_piece);

}  // namespace quiz
