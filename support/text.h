#pragma once
// Texts are the program's strings: GB18030 bytes with no zero byte inside. Everything the quiz
// shows or compares is a text; conversion to Unicode happens only where a text is displayed.
//
// Bytes are what comes from a file before it becomes a text; they may hold zero bytes. File names
// and paths are neither: they stay in the file system's own bytes and are never converted.

#include <string>
#include <string_view>

namespace quiz {

using Text = std::string;
using Bytes = std::string;

// The bytes before the first zero byte, or all of them when there is none.
Text bytes_to_text(std::string_view bytes);

}  // namespace quiz
