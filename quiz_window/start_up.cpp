#include "quiz_window/start_up.h"

#include "question_bank/error_locations.h"
#include "support/fatal_error.h"
#include "support/text_literal.h"

namespace quiz {

void window_created(RandomSource& random) { random.reseed(); }

int run_quiz(WindowHost& host, RandomSource& random, const FileServices& files) {
  files.change_directory(files.run_directory());
  if (!host.create_window()) {
    raise_fatal_error("载入启动窗口失败"_gb, kMessageGiven, error_locations::kQuizWindow);
  }
  window_created(random);
  host.show_window();
  host.run_event_loop();
  return 0;
}

}  // namespace quiz
