#include "support/text.h"

namespace quiz {

Text bytes_to_text(std::string_view bytes) { return Text(bytes.substr(0, bytes.find('\0'))); }

}  // namespace quiz
