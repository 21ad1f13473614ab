#include "support/text_literal.h"

#include "support/encoding.h"
#include "support/fatal_error.h"

namespace quiz {

Text fixed_text_from_utf8(std::string_view utf8) {
  if (auto text = utf8_to_gb18030(utf8)) return std::move(*text);
  raise_fatal_error("The system cannot convert text to GB18030 (is glibc's gconv installed?)", 0,
                    {0, 0});
}

}  // namespace quiz
