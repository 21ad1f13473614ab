#pragma once
// The Qt side of start-up: it brings up the application (when none exists yet), builds the quiz
// window hidden, shows it and runs the event loop, and wires the buttons' clicks to the program's
// actions. Each click makes one call into the program's logic and none once a fatal run-time
// error has been raised.
//
// Without a display to connect to, no application can exist: create_window() then reports the
// window as impossible, and start-up raises the fatal run-time error, whose text goes to standard
// error.

#include <memory>

#include "quiz_window/qt/qt_message_boxes.h"
#include "quiz_window/start_up.h"

class QApplication;

namespace quiz_qt {

class QuizWindow;

// Application-wide settings: the Chinese texts of Qt's own dialogs, the fonts, the window icon
// and the fatal error box. The host applies them to the application it creates; tests apply them
// to theirs.
void prepare_application(QApplication& application);

class QtWindowHost final : public quiz::WindowHost {
 public:
  QtWindowHost(quiz::RandomSource& random, const quiz::FileServices& files);
  ~QtWindowHost() override;

  bool create_window() override;
  void show_window() override;
  void run_event_loop() override;

  // The window once create_window() has built it.
  QuizWindow* window() const { return window_.get(); }

 private:
  void connect_actions();

  quiz::RandomSource& random_;
  const quiz::FileServices& files_;
  QtMessageBoxes boxes_{};
  std::unique_ptr<QApplication> application_{};  // only when this host created it
  std::unique_ptr<QuizWindow> window_{};
};

}  // namespace quiz_qt
