#include "quiz_check/console.h"

#include <string_view>

namespace quiz::check {
namespace {

constexpr const char* kBold = "1";
constexpr const char* kError = "1;31";
constexpr const char* kWarning = "1;35";
constexpr const char* kNote = "1;36";
constexpr const char* kFine = "1;32";

const char* severity_style(Severity severity) {
  return severity == Severity::error ? kError : kWarning;
}

}  // namespace

Colour colour_choice(bool is_terminal, const char* no_color, const char* term) {
  if (!is_terminal) return Colour::off;
  if (no_color != nullptr && *no_color != '\0') return Colour::off;
  if (term != nullptr && std::string_view(term) == "dumb") return Colour::off;
  return Colour::on;
}

std::string ConsoleReporter::paint(const char* style, const std::string& text) const {
  if (colour_ == Colour::off) return text;
  return std::string("\x1b[") + style + "m" + text + "\x1b[0m";
}

void ConsoleReporter::location(const std::string& path, int line) {
  out_ << paint(kBold, line > 0 ? path + ":" + std::to_string(line) + ":" : path + ":") << ' ';
}

void ConsoleReporter::file_checked(const std::string& path, const FileCheck& check) {
  for (const Finding& finding : check.findings) {
    const Message message = describe(finding, check, path, language_);
    const Severity level = severity(finding.kind);
    location(path, finding.line);
    out_ << paint(severity_style(level), severity_label(level, language_)) << label_gap(language_)
         << message.text << '\n';
    if (!message.advice.empty()) {
      out_ << "    " << paint(kNote, note_label(language_)) << label_gap(language_)
           << message.advice << '\n';
    }
    if (!message.command.empty()) out_ << "        " << message.command << '\n';
  }
}

void ConsoleReporter::path_problem(const std::string& path, PathProblem problem) {
  location(path, 0);
  out_ << paint(kError, severity_label(Severity::error, language_)) << label_gap(language_)
       << describe(problem, language_) << '\n';
}

void ConsoleReporter::summary(const Summary& summary) {
  const bool clean = exit_status(summary) == 0 && summary.files_with_warnings == 0;
  out_ << paint(clean ? kFine : kBold, summary_line(summary, language_)) << '\n';
}

}  // namespace quiz::check
