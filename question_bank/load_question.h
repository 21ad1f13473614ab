#pragma once
// The start button's action. It lists the question folder afresh, draws one question file at
// random, keeps that file's text in the load buffer (编辑框1) and fills the question record into
// the window: the question on 按钮5, the options on 按钮1 to 按钮4, the answer hidden in 标签1.
// A folder without question files, and a file that gives no question, are reported in a message
// box instead of loading nothing.

#include "question_bank/file_services.h"
#include "support/message_boxes.h"
#include "support/quiz_controls.h"
#include "support/random_source.h"

namespace quiz {

void load_question(QuizControls& controls, MessageBoxes& boxes, RandomSource& random,
                   const FileServices& files);

// The question folder of a run directory, in the file system's bytes.
std::string question_folder(const std::string& run_directory);

}  // namespace quiz
