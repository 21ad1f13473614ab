// quiz-check: checks question files the way the quiz reads them. See check_run.h.

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "question_bank/file_services.h"
#include "question_bank/load_question.h"
#include "quiz_check/console.h"

int main(int argc, char** argv) {
  using namespace quiz::check;
  const Language language =
      language_from_locale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
  const Arguments arguments = parse_arguments({argv + (argc > 0 ? 1 : 0), argv + argc});
  switch (arguments.action) {
    case Action::show_help:
      std::cout << help_text(language);
      return 0;
    case Action::show_version:
      std::cout << version_text();
      return 0;
    case Action::usage_error:
      std::cerr << usage_error_text(arguments.bad_argument, language);
      return kExitUsage;
    case Action::check:
      break;
  }
  ConsoleReporter reporter(
      std::cout, language,
      colour_choice(isatty(STDOUT_FILENO) != 0, std::getenv("NO_COLOR"), std::getenv("TERM")));
  const std::string default_folder =
      quiz::question_folder(quiz::PosixFileServices().run_directory());
  const Summary summary = check_paths(arguments.paths, default_folder, reporter);
  reporter.summary(summary);
  return exit_status(summary);
}
