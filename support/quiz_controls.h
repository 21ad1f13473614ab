#pragma once
// The quiz window as the program's logic sees it: ten named controls and the operations on them.
// All question state lives in these controls; loading a question writes it, judging an answer
// reads it back. Every text read back is byte for byte the text last put in, however the control
// displays it.

#include <array>
#include <string_view>

#include "support/text.h"

namespace quiz {

enum class Control {
  列表框1,    // history list, one line per answer
  按钮5,      // the question
  按钮4,      // option 4
  按钮3,      // option 3
  按钮2,      // option 2
  按钮1,      // option 1
  标签1,      // hidden: the right answer
  编辑框20,   // hidden and unused
  编辑框1,    // hidden: the load buffer, the whole text of the current question file
  按钮_开始,  // loads a question
};

inline constexpr std::array<Control, 4> kOptionButtons{Control::按钮1, Control::按钮2,
                                                       Control::按钮3, Control::按钮4};

// The control's own name, in UTF-8: the window names its widgets so, for tests and tools.
constexpr std::string_view control_name(Control control) {
  constexpr std::array<std::string_view, 10> names{"列表框1", "按钮5",    "按钮4", "按钮3",
                                                   "按钮2",   "按钮1",    "标签1", "编辑框20",
                                                   "编辑框1", "按钮_开始"};
  return names[static_cast<std::size_t>(control)];
}

enum class ButtonState { enabled, disabled };

class QuizControls {
 public:
  virtual ~QuizControls() = default;

  // Captions of the buttons and of 标签1.
  virtual const Text& caption(Control control) const = 0;
  virtual void set_caption(Control control, const Text& caption) = 0;

  // 按钮1 to 按钮4 only. A disabled button greys out and takes neither clicks nor focus.
  virtual void set_state(Control control, ButtonState state) = 0;

  // The content of 编辑框1, including anything the user typed into it.
  virtual const Text& content(Control control) const = 0;
  virtual void set_content(Control control, const Text& content) = 0;
  virtual void append_content(Control control, const Text& addition) = 0;

  // 列表框1: adds a row at the end without moving the selection or the scroll position.
  virtual void add_item(Control control, const Text& item) = 0;
};

}  // namespace quiz
