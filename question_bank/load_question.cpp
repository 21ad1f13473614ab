#include "question_bank/load_question.h"

#include "question_bank/draw.h"
#include "question_bank/error_locations.h"
#include "question_bank/question_file.h"
#include "question_bank/text_split.h"
#include "support/encoding.h"
#include "support/text_literal.h"

namespace quiz {
namespace {

const Text kLineBreak = "\r\n";

void warn(MessageBoxes& boxes, const Text& message, const std::string& path) {
  boxes.show("信息："_gb, message + kLineBreak + utf8_to_gb18030_lossy(path), BoxIcon::warning);
}

void open_options(QuizControls& controls, ButtonState state) {
  for (Control option : kOptionButtons) controls.set_state(option, state);
}

// Appends the text of a question file to the load buffer. The text is released on return, so a
// large file is not held twice while the fields are picked.
FileProblem append_file_text(QuizControls& controls, QuestionText file) {
  controls.append_content(Control::编辑框1, file.text);
  return file.problem;
}

// Each field is picked from the load buffer as it stands, in the order the window expects.
void fill_fields(QuizControls& controls) {
  auto line = [&controls](std::int32_t index) {
    return pick_line(controls.content(Control::编辑框1), index);
  };
  controls.set_caption(Control::按钮5, "题目："_gb + line(1));
  controls.set_caption(Control::标签1, line(6));
  controls.set_caption(Control::按钮1, line(2));
  controls.set_caption(Control::按钮2, line(3));
  controls.set_caption(Control::按钮3, line(4));
  controls.set_caption(Control::按钮4, line(5));
}

// A file that gave no line at all: the options stay locked, so nothing can be judged against an
// empty answer, and the user learns which file is at fault.
void report_unusable_file(QuizControls& controls, MessageBoxes& boxes, FileProblem problem,
                          const std::string& path) {
  open_options(controls, ButtonState::disabled);
  warn(boxes,
       problem == FileProblem::not_utf8 ? "题目文件不是 UTF-8 编码："_gb : "无法读取题目文件："_gb,
       path);
}

}  // namespace

std::string question_folder(const std::string& run_directory) { return run_directory + "/文本"; }

void load_question(QuizControls& controls, MessageBoxes& boxes, RandomSource& random,
                   const FileServices& files) {
  const std::string folder = question_folder(files.run_directory());
  const TextArray names = files.question_files(folder);
  if (names.empty()) {
    // Listed before anything changes, so the current question stays as it was.
    warn(boxes, "没有找到题目文件。请把题目文件（*.txt，UTF-8 编码）放进文件夹："_gb, folder);
    return;
  }
  controls.set_content(Control::编辑框1, {});
  open_options(controls, ButtonState::enabled);
  controls.set_caption(Control::按钮_开始, "刷新题目"_gb);

  IntegerArray drawn;
  draw_distinct(drawn, 1, 1, names.count(), random);
  const Text& name = names.at(drawn.at(1, error_locations::kLoadQuestionDrawnIndex),
                              error_locations::kLoadQuestionDrawnName);
  const std::string path = folder + "/" + name;
  const FileProblem problem = append_file_text(controls, files.read_question_text(path));
  controls.append_content(Control::编辑框1, kLineBreak);

  fill_fields(controls);
  if (pick_line(controls.content(Control::编辑框1), 1).empty()) {
    report_unusable_file(controls, boxes, problem, path);
  }
}

}  // namespace quiz
