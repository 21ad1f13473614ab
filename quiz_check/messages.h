#pragma once
// The words of quiz-check, in English and Chinese: what each finding means for the quiz, the
// summary, the help and the version. Output is always UTF-8; texts of the quiz (GB18030) are
// converted when they are quoted.

#include <string>
#include <vector>

#include "quiz_check/check_run.h"

namespace quiz::check {

enum class Language { english, chinese };

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides, as for any
// program's messages; a locale starting with "zh" gives Chinese. Null means unset.
Language language_from_locale(const char* lc_all, const char* lc_messages, const char* lang);

struct Message {
  std::string text;
  std::string advice{};   // what to do about it, when there is something to say
  std::string command{};  // a shell command that does it, when there is one
};

Message describe(const Finding& finding, const FileCheck& check, const std::string& path,
                 Language language);
std::string describe(PathProblem problem, Language language);

// "error:", "warning:" and "note:", with the colon of the language; label_gap goes after them.
std::string severity_label(Severity severity, Language language);
std::string note_label(Language language);
std::string label_gap(Language language);
std::string summary_line(const Summary& summary, Language language);
std::string help_text(Language language);
std::string version_text();
std::string usage_error_text(const std::string& bad_argument, Language language);

// `path` quoted for a POSIX shell.
std::string shell_quoted(const std::string& path);

}  // namespace quiz::check
