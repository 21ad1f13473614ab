#include "quiz_check/findings.h"

#include <bit>

namespace quiz::check {

Severity severity(FindingKind kind) {
  switch (kind) {
    case FindingKind::unreadable:
    case FindingKind::empty:
    case FindingKind::not_utf8:
    case FindingKind::utf16_byte_order_mark:
    case FindingKind::lf_line_ends:
    case FindingKind::cr_line_ends:
    case FindingKind::zero_byte:
    case FindingKind::too_few_lines:
    case FindingKind::answer_matches_none:
    case FindingKind::answer_matches_several:
      return Severity::error;
    case FindingKind::utf8_byte_order_mark:
    case FindingKind::too_many_lines:
    case FindingKind::near_miss:
    case FindingKind::duplicate_options:
    case FindingKind::lone_cr:
    case FindingKind::lone_lf:
    case FindingKind::spaces_only_line:
    case FindingKind::name_not_listed:
      return Severity::warning;
  }
  return Severity::error;
}

int OptionSet::count() const { return std::popcount(bits_); }

}  // namespace quiz::check
