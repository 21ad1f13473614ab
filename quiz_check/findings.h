#pragma once
// What quiz-check can find wrong with one question file, as data. The checker produces findings;
// only the printing layer turns them into words. An error means the quiz will misread the file;
// a warning means the quiz reads it, but probably not as its author meant.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quiz::check {

enum class FindingKind {
  // Errors.
  unreadable,              // the file exists but cannot be read
  empty,                   // the file holds no byte
  not_utf8,                // offset of the first bad sequence; maybe GB18030/GBK instead
  utf16_byte_order_mark,   // the file starts with FF FE or FE FF
  lf_line_ends,            // lines end in LF alone: the quiz sees one line
  cr_line_ends,            // lines end in CR alone: the quiz sees one line
  zero_byte,               // offset of the first zero byte: the text ends there
  too_few_lines,           // `line_count` lines; the fields after them are empty
  answer_matches_none,     // the answer equals none of the four options
  answer_matches_several,  // `options` holds the options that equal the answer
  // Warnings.
  utf8_byte_order_mark,  // the mark becomes part of the question
  too_many_lines,        // `line_count` lines; `line` is where the seventh starts
  near_miss,             // the answer almost equals the option in `options`, see `near_miss`
  duplicate_options,     // the two options in `options` have the same text
  lone_cr,               // a CR without LF inside the line
  lone_lf,               // an LF without CR inside the line
  spaces_only_line,      // a line of spaces alone, which the quiz counts as a line
  name_not_listed,       // a file named on the command line that the quiz would not list
};

enum class Severity { warning, error };

Severity severity(FindingKind kind);

// Options 1 to 4 as bits 1 << 1 to 1 << 4.
class OptionSet final {
 public:
  void add(int option) { bits_ = static_cast<std::uint8_t>(bits_ | (1u << option)); }
  bool contains(int option) const { return (bits_ & (1u << option)) != 0; }
  int count() const;
  bool operator==(const OptionSet&) const = default;

 private:
  std::uint8_t bits_{};
};

// How an answer differs from the option it almost equals; any combination may hold.
struct NearMiss {
  bool surrounding_spaces{};  // spaces, tabs or line-break bytes before or after the text
  bool letter_case{};         // A to Z against a to z
  bool character_width{};     // full-width forms against their half-width (ASCII) twins
  bool operator==(const NearMiss&) const = default;
};

struct Finding {
  FindingKind kind{};
  // The line in the file as an editor counts it (CR LF ends a line, blank lines count), from 1;
  // 0 when the finding is about the whole file.
  int line{};
  // For not_utf8 and zero_byte: the position of the byte in the file, from 0.
  std::optional<std::size_t> byte_offset{};
  // For not_utf8: the whole file decodes as GB18030 (which includes GBK).
  bool decodes_as_gb18030{};
  // For too_few_lines and too_many_lines: the number of lines the quiz sees.
  int line_count{};
  OptionSet options{};
  NearMiss near_miss{};
};

}  // namespace quiz::check
