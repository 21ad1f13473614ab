#include "support/clock.h"

#include <time.h>

namespace quiz {

std::uint32_t MonotonicClock::tick_count() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                      static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
  return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace quiz
