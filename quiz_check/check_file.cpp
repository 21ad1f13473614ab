#include "quiz_check/check_file.h"

#include <sys/stat.h>

#include <algorithm>

#include "question_bank/file_services.h"
#include "question_bank/question_file.h"
#include "question_bank/text_split.h"
#include "quiz_check/text_scan.h"
#include "support/encoding.h"

namespace quiz::check {
namespace {

constexpr int kOptionCount = 4;
constexpr int kQuestionFieldCount = 6;

// True for a text of spaces, tabs and ideographic spaces (A1 A1 in GB18030) alone, which an
// editor shows as a blank line.
bool looks_blank(const Text& text) {
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == ' ' || text[at] == '\t') {
      ++at;
    } else if (text.compare(at, 2, "\xA1\xA1") == 0) {
      at += 2;
    } else {
      return false;
    }
  }
  return true;
}

// Checks the lines and fields that the quiz takes from one question's text, and adds what it
// finds to `result`.
class TextCheck final {
 public:
  TextCheck(const Text& text, FileCheck& result)
      : buffer_(text + "\r\n"), result_(result), lines_(locate_lines(buffer_)) {}

  void run() {
    for (int field = 1; field <= kQuestionFieldCount; ++field) {
      result_.fields[static_cast<std::size_t>(field - 1)] = pick_line(buffer_, field);
    }
    TextArray pieces;
    const int line_count = split_nonempty(buffer_, "\r\n", 0, pieces);
    if (line_count == 1 && check_single_line()) return;
    if (line_count < kQuestionFieldCount) add({FindingKind::too_few_lines, 0, {}, {}, line_count});
    if (line_count > kQuestionFieldCount) {
      add({FindingKind::too_many_lines, file_line(kQuestionFieldCount + 1), {}, {}, line_count});
    }
    check_each_field(std::min(line_count, kQuestionFieldCount));
    check_duplicate_options();
    if (line_count >= kQuestionFieldCount) check_answer();
  }

 private:
  const Text& field(int number) const {
    return result_.fields[static_cast<std::size_t>(number - 1)];
  }
  int file_line(int number) const {
    return lines_.at(static_cast<std::size_t>(number - 1)).file_line;
  }
  void add(Finding finding) { result_.findings.push_back(finding); }

  // A text with one line that holds LF or CR was meant to have more: its author used other line
  // ends. True when that is the case and reported; the fields then say nothing more.
  bool check_single_line() {
    const Text& only = field(1);
    if (only.find('\n') != Text::npos) {
      add({FindingKind::lf_line_ends, file_line(1)});
    } else if (only.find('\r') != Text::npos) {
      add({FindingKind::cr_line_ends, file_line(1)});
    } else {
      return false;
    }
    return true;
  }

  // Line-break bytes and lines that look blank but are not: an editor hides both, while they
  // change what the quiz shows or which line becomes which field.
  void check_each_field(int fields_present) {
    for (int number = 1; number <= fields_present; ++number) {
      const Text& text = field(number);
      if (text.find('\r') != Text::npos) add({FindingKind::lone_cr, file_line(number)});
      if (text.find('\n') != Text::npos) add({FindingKind::lone_lf, file_line(number)});
      if (looks_blank(text)) {
        add({FindingKind::spaces_only_line, file_line(number)});
      }
    }
  }

  void check_duplicate_options() {
    for (int later = 2; later <= kOptionCount; ++later) {
      for (int earlier = 1; earlier < later; ++earlier) {
        const Text& text = field(earlier + 1);
        if (text.empty() || text != field(later + 1)) continue;
        Finding finding{FindingKind::duplicate_options, file_line(later + 1)};
        finding.options.add(earlier);
        finding.options.add(later);
        add(finding);
        break;  // one finding per option that repeats an earlier one
      }
    }
  }

  void check_answer() {
    const Text& answer = field(kAnswerLine);
    Finding matches{FindingKind::answer_matches_several, file_line(kAnswerLine)};
    for (int option = 1; option <= kOptionCount; ++option) {
      if (field(option + 1) == answer) matches.options.add(option);
    }
    if (matches.options.count() > 1) add(matches);
    if (matches.options.count() > 0) return;
    add({FindingKind::answer_matches_none, file_line(kAnswerLine)});
    const std::string answer_utf8 = gb18030_to_utf8_lossy(answer);
    for (int option = 1; option <= kOptionCount; ++option) {
      auto how = compare_near(answer_utf8, gb18030_to_utf8_lossy(field(option + 1)));
      if (!how) continue;
      Finding finding{FindingKind::near_miss, file_line(kAnswerLine)};
      finding.options.add(option);
      finding.near_miss = *how;
      add(finding);
    }
  }

  const Text buffer_;  // the quiz's load buffer: the text and CR LF
  FileCheck& result_;
  std::vector<LineSpan> lines_;
};

bool starts_with_utf16_mark(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

Finding not_utf8_finding(std::string_view bytes) {
  Finding finding{FindingKind::not_utf8};
  finding.byte_offset = first_invalid_utf8(bytes);
  finding.line = file_line_at(bytes, finding.byte_offset.value_or(0));
  // Many bytes decode as GB18030, a damaged UTF-8 file often among them; converting that would
  // garble it. A file saved as GB18030 or GBK shows more bad UTF-8 than good Chinese characters,
  // and never a zero byte.
  const Utf8Tally tally = tally_utf8(bytes);
  finding.decodes_as_gb18030 = tally.bad_sequences > tally.multi_byte_characters &&
                               bytes.find('\0') == std::string_view::npos &&
                               gb18030_to_utf8(bytes).has_value();
  return finding;
}

}  // namespace

FileCheck check_question_bytes(std::string_view bytes, NoBytesReason no_bytes) {
  FileCheck result;
  if (bytes.empty()) {
    result.findings.push_back(
        {no_bytes == NoBytesReason::empty_file ? FindingKind::empty : FindingKind::unreadable});
    return result;
  }
  const QuestionText question = question_text_from_bytes(bytes);
  if (question.problem == FileProblem::not_utf8) {
    result.findings.push_back(starts_with_utf16_mark(bytes)
                                  ? Finding{FindingKind::utf16_byte_order_mark, 1}
                                  : not_utf8_finding(bytes));
    return result;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    result.findings.push_back({FindingKind::utf8_byte_order_mark, 1});
  }
  if (std::size_t zero = bytes.find('\0'); zero != std::string_view::npos) {
    Finding finding{FindingKind::zero_byte, file_line_at(bytes, zero)};
    finding.byte_offset = zero;
    result.findings.push_back(finding);
  }
  TextCheck(question.text, result).run();
  std::stable_sort(result.findings.begin(), result.findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return result;
}

FileCheck check_question_file(const std::string& path) {
  const Bytes bytes = read_whole_file(path);
  if (!bytes.empty()) return check_question_bytes(bytes);
  // The quiz's read gives no bytes both for an empty file and for one it cannot read.
  struct stat status {};
  const bool empty_file =
      stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size == 0;
  return check_question_bytes(bytes,
                              empty_file ? NoBytesReason::empty_file : NoBytesReason::unreadable);
}

bool has_severity(const FileCheck& check, Severity wanted) {
  return std::any_of(check.findings.begin(), check.findings.end(),
                     [wanted](const Finding& finding) { return severity(finding.kind) == wanted; });
}

}  // namespace quiz::check
