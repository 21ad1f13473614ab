#include "quiz_window/check_answer.h"

#include "support/text_literal.h"

namespace quiz {

void check_answer(QuizControls& controls, MessageBoxes& boxes, Control option) {
  for (Control button : kOptionButtons) controls.set_state(button, ButtonState::disabled);
  const bool right = controls.caption(option) == controls.caption(Control::标签1);
  boxes.show("信息："_gb, right ? "恭喜答对了"_gb : "答错了"_gb, BoxIcon::none);
  controls.add_item(Control::列表框1, controls.caption(Control::按钮5) + "回答："_gb +
                                          controls.caption(option) + (right ? " √"_gb : " ×"_gb));
}

}  // namespace quiz
