#pragma once
// Message boxes as the program's logic sees them. Each box has a title, a text and one OK button,
// has no owner window and holds the whole program until the user dismisses it; `show` returns
// then. The fatal error box is not here: it belongs to the fatal run-time error.

#include "support/text.h"

namespace quiz {

enum class BoxIcon { none, warning };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void show(const Text& title, const Text& text, BoxIcon icon) = 0;
};

}  // namespace quiz
