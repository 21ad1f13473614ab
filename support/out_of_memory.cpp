// Memory that cannot be obtained ends the program through the fatal run-time error, naming the
// number of bytes that was asked for. Replacing the global operator new catches every allocation
// of texts and arrays, and it is the one place that knows the size of the failed request.

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "support/fatal_error.h"
#include "support/text_literal.h"

using quiz::operator""_gb;

namespace {

[[noreturn]] void report_allocation_failure(std::size_t size) {
  // Composing the message allocates a little memory itself; should that fail too, there is
  // nothing left to show, and the process ends with the same exit code.
  static bool reporting = false;
  if (reporting) {
    std::fputs("out of memory\n", stderr);
    std::_Exit(quiz::kFatalErrorExitCode);
  }
  reporting = true;
  quiz::Text message = "分配 %d 字节内存失败!"_gb;
  message.replace(message.find("%d"), 2, std::to_string(size));
  quiz::raise_fatal_error(message, quiz::kMessageGiven, {0, 0});
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  report_allocation_failure(size);
}

void* operator new[](std::size_t size) { return ::operator new(size); }

// The memory above comes from malloc, so it goes back through free. Replacing the deletes too
// keeps each pair matched, which AddressSanitizer checks.
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
