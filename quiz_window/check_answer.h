#pragma once
// The option buttons' action. It locks all four options, judges the clicked option against the
// hidden answer byte for byte, tells the verdict in a message box and, once the box is dismissed,
// adds the answer to the history list.

#include "support/message_boxes.h"
#include "support/quiz_controls.h"

namespace quiz {

// `option` is the button that was clicked, one of 按钮1 to 按钮4.
void check_answer(QuizControls& controls, MessageBoxes& boxes, Control option);

}  // namespace quiz
