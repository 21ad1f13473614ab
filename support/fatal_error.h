#pragma once
// The program's one error path. A fatal run-time error stops every action of the window, shows
// its text in an error box and ends the process with exit code 255 once the box is dismissed.
// This module composes the text and ends the process; how the text is shown is the business of
// the installed display (standard error until the window replaces it with its error box).

#include <cstdint>

#include "support/text.h"

namespace quiz {

// The two location numbers shown in the error box. An index check passes the routine that makes
// it and the place of the check within that routine; a memory failure passes 0 and 0.
struct ErrorLocation {
  std::int32_t first{};
  std::int32_t second{};
};

// Error codes; each selects its own message. Code 0 means the caller gives the message.
inline constexpr std::int32_t kMessageGiven = 0;
inline constexpr std::int32_t kIndexAboveCount = 1;
inline constexpr std::int32_t kIndexBelowOne = 4;

inline constexpr int kFatalErrorExitCode = 255;

// Shows the error text and returns when the user has dismissed it.
class FatalErrorDisplay {
 public:
  virtual ~FatalErrorDisplay() = default;
  virtual void show_fatal_error(const Text& box_text) noexcept = 0;
};

// The text of the error box, rows separated by CR LF.
Text compose_fatal_error_text(const Text& message, std::int32_t code, ErrorLocation location);

// Marks the program as failing, shows the text and ends the process with kFatalErrorExitCode.
[[noreturn]] void raise_fatal_error(const Text& message, std::int32_t code, ErrorLocation location);

// True from the moment a fatal run-time error is raised: no action may run after that.
bool fatal_error_raised();

// Installs the display used by later errors; nullptr restores the standard error one.
void set_fatal_error_display(FatalErrorDisplay* display);

}  // namespace quiz
