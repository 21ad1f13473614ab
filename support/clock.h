#pragma once
// The millisecond tick count that seeds the random source: 32 bits, wrapping.

#include <cstdint>

namespace quiz {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t tick_count() = 0;
};

// Milliseconds of the system's monotonic clock, modulo 2^32.
class MonotonicClock final : public Clock {
 public:
  std::uint32_t tick_count() override;
};

}  // namespace quiz
