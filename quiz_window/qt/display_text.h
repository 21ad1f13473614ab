#pragma once
// Conversions at the edge between the program's GB18030 texts and what Qt shows. A text becomes
// Unicode only to be displayed; what the user types comes back as a text. Neither direction fails:
// bytes that do not decode are shown as U+FFFD, and every Unicode character has a GB18030 form.

#include <QString>
#include <cstddef>

#include "support/text.h"

namespace quiz_qt {

// No control can show more than this many bytes of a text on one row or in one button, so a
// question of many megabytes is neither converted nor laid out in full at every repaint. What
// lies beyond is cut off anyway.
inline constexpr std::size_t kMostBytesShown = 16 * 1024;

// The start of a text that a control shows: at most kMostBytesShown bytes of it.
inline quiz::Text shown_part(const quiz::Text& text) { return text.substr(0, kMostBytesShown); }

// The text as Unicode, line breaks left as they are.
QString display_string(const quiz::Text& text);

// The text as Unicode with each CR LF, lone CR and lone LF turned into one line separator
// (U+2028), which is how a caption that holds line breaks is drawn.
QString display_lines(const quiz::Text& text);

// What the user typed, as a text: GB18030, cut at a zero character if one was typed.
quiz::Text text_from_typed(const QString& typed);

}  // namespace quiz_qt
