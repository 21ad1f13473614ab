#include "support/fatal_error.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/encoding.h"
#include "support/text_literal.h"

namespace quiz {
namespace {

class StandardErrorDisplay final : public FatalErrorDisplay {
 public:
  void show_fatal_error(const Text& box_text) noexcept override {
    std::string shown = gb18030_to_utf8_lossy(box_text);
    std::fputs(shown.c_str(), stderr);
    std::fputc('\n', stderr);
  }
};

StandardErrorDisplay standard_error_display;
std::atomic<FatalErrorDisplay*> installed_display{&standard_error_display};
std::atomic<bool> raised{false};

constexpr const char* kLineBreak = "\r\n";

}  // namespace

Text compose_fatal_error_text(const Text& message, std::int32_t code, ErrorLocation location) {
  Text text = "运行时出错!"_gb + kLineBreak;
  if (code != kMessageGiven) {
    text += kLineBreak + "错误代码："_gb + std::to_string(code) + kLineBreak;
  }
  if (!message.empty()) text += kLineBreak + "错误信息："_gb + message + kLineBreak;
  text += kLineBreak + std::to_string(location.first) + ", " + std::to_string(location.second) +
          kLineBreak;
  return text;
}

void raise_fatal_error(const Text& message, std::int32_t code, ErrorLocation location) {
  if (raised.exchange(true)) std::_Exit(kFatalErrorExitCode);  // a second error while showing one
  installed_display.load()->show_fatal_error(compose_fatal_error_text(message, code, location));
  std::fflush(nullptr);
  std::_Exit(kFatalErrorExitCode);
}

bool fatal_error_raised() { return raised.load(); }

void set_fatal_error_display(FatalErrorDisplay* display) {
  installed_display.store(display != nullptr ? display : &standard_error_display);
}

}  // namespace quiz
