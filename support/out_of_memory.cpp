// Memory that cannot be obtained ends the program through the fatal run-time error, naming the
// number of bytes that was asked for. Replacing the global operator new catches every allocation
// of texts and arrays, and it is the one place that knows the size of the failed request.
//
// The replaced operator new takes its memory from malloc, so every operator delete that may
// receive that memory gives it back with free, and the nothrow forms take theirs from malloc as
// well. Left to the library, they would hand malloc's memory to a different allocator (which
// AddressSanitizer reports as a mismatch, and a replaced runtime allocator would corrupt).
//
// It is also the one place that sees every large block: those are asked to be backed by huge
// pages where the system allows it, so that filling the text of a large question file takes one
// page fault per 2 MiB instead of one per 4 KiB. On a virtual machine a page fault can cost more
// than converting the bytes that fill the page.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
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

constexpr std::size_t kHugePageSize = 2 * 1024 * 1024;

// Only a hint: where huge pages are not available the block stays as it is.
void advise_huge_pages(void* memory, std::size_t size) {
  static const auto page_size = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t first_page = (start + page_size - 1) & ~(page_size - 1);
  const std::uintptr_t end_page = (start + size) & ~(page_size - 1);
  if (end_page > first_page) {
    madvise(reinterpret_cast<void*>(first_page), end_page - first_page, MADV_HUGEPAGE);
  }
}

}  // namespace

void* operator new(std::size_t size) {
  void* memory = nullptr;
  if (size < kHugePageSize) {
    memory = std::malloc(size == 0 ? 1 : size);
  } else if (posix_memalign(&memory, kHugePageSize, size) == 0) {
    // Starting on a huge page boundary, the block's first 2 MiB are a huge page too.
    advise_huge_pages(memory, size);
  }
  if (!memory) report_allocation_failure(size);
  return memory;
}

void* operator new[](std::size_t size) { return ::operator new(size); }

// The nothrow forms are for callers that cope with missing memory themselves (std::stable_sort
// asks for a buffer and sorts without one when there is none), so they give null, as promised.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}

// All memory from the forms above comes from malloc, so every form of delete gives it back
// through free. Replacing only some of them mixes this allocator with the library's, which
// AddressSanitizer rightly reports.
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
