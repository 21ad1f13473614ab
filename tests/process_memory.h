#pragma once
// The memory this test process holds, as the kernel reports it in /proc/self/status, for tests
// that bound what an action may use. Under AddressSanitizer these figures include its shadow
// memory and the quarantine of freed blocks, so they say little there.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace quiz::testing {

// QUIZ_ADDRESS_SANITIZER is defined when this build runs under AddressSanitizer (g++ and clang
// tell it in different ways).
#if defined(__SANITIZE_ADDRESS__)
#define QUIZ_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIZ_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef QUIZ_ADDRESS_SANITIZER
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif

struct MemoryUse {
  std::int64_t resident_kb{-1};  // VmRSS: held now
  std::int64_t peak_kb{-1};      // VmHWM: the most held since start or since reset_peak_memory
};

inline MemoryUse memory_use() {
  MemoryUse use;
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    std::istringstream fields(line);
    std::string key;
    std::int64_t kilobytes = 0;
    fields >> key >> kilobytes;
    if (key == "VmRSS:") use.resident_kb = kilobytes;
    if (key == "VmHWM:") use.peak_kb = kilobytes;
  }
  return use;
}

// Lowers the peak to what the process holds now; false where the kernel does not allow it.
inline bool reset_peak_memory() {
  std::ofstream clear_refs("/proc/self/clear_refs");
  clear_refs << "5";
  clear_refs.flush();
  return static_cast<bool>(clear_refs);
}

}  // namespace quiz::testing
