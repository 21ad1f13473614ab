// The quiz program: start-up, the window and the event loop, until the window is closed.

#include "question_bank/file_services.h"
#include "quiz_window/qt/qt_window_host.h"
#include "quiz_window/start_up.h"
#include "support/clock.h"
#include "support/random_source.h"

int main() {
  quiz::MonotonicClock clock;
  quiz::RandomSource random(clock);
  quiz::PosixFileServices files;
  quiz_qt::QtWindowHost host(random, files);
  return quiz::run_quiz(host, random, files);
}
