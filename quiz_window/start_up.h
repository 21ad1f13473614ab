#pragma once
// The frame of the program, from process start to exit, without the window toolkit: the current
// directory becomes the run directory, the window is created hidden, its created action seeds the
// random source, the window is shown, and the event loop runs until the window is closed.
// A window that cannot be created is a fatal run-time error.

#include "question_bank/file_services.h"
#include "support/random_source.h"

namespace quiz {

// What start-up needs of the window toolkit.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // Creates the quiz window and its ten controls, hidden; false when that is impossible.
  virtual bool create_window() = 0;
  // Shows the window, active, with the focus on 按钮_开始.
  virtual void show_window() = 0;
  // Runs until the window has been closed.
  virtual void run_event_loop() = 0;
};

// The window's created action.
void window_created(RandomSource& random);

// Runs the program and returns its exit code.
int run_quiz(WindowHost& host, RandomSource& random, const FileServices& files);

}  // namespace quiz
