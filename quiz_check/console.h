#pragma once
// The printing layer of quiz-check: findings as lines of the form "path:line: error: ...", in
// the user's language, coloured only when that was asked for.

#include <ostream>

#include "quiz_check/messages.h"

namespace quiz::check {

enum class Colour { off, on };

// Colours go only to a terminal, never when NO_COLOR is set to anything but the empty string
// (see no-color.org), and never to a terminal that calls itself "dumb". Null means unset.
Colour colour_choice(bool is_terminal, const char* no_color, const char* term);

class ConsoleReporter final : public Reporter {
 public:
  ConsoleReporter(std::ostream& out, Language language, Colour colour)
      : out_(out), language_(language), colour_(colour) {}

  void file_checked(const std::string& path, const FileCheck& check) override;
  void path_problem(const std::string& path, PathProblem problem) override;
  void summary(const Summary& summary);

 private:
  std::string paint(const char* style, const std::string& text) const;
  void location(const std::string& path, int line);

  std::ostream& out_;
  Language language_;
  Colour colour_;
};

}  // namespace quiz::check
