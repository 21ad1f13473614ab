#pragma once
// The program's message boxes as QMessageBoxes with one button, "确定", and no owner window.
//
// A message box holds the whole program until it is dismissed. The fatal error box does not: it
// leaves the quiz window as it is, and the fatal run-time error itself keeps every action of the
// window from running, so a click there does nothing while the box is open.

#include "support/fatal_error.h"
#include "support/message_boxes.h"

namespace quiz_qt {

class QtMessageBoxes final : public quiz::MessageBoxes {
 public:
  void show(const quiz::Text& title, const quiz::Text& text, quiz::BoxIcon icon) override;
};

// The error box: title "错误", the stop icon, one button. Returns once it is dismissed.
class QtFatalErrorDisplay final : public quiz::FatalErrorDisplay {
 public:
  void show_fatal_error(const quiz::Text& box_text) noexcept override;
};

}  // namespace quiz_qt
