#pragma once
// The program's one random source: a linear congruential generator seeded from the tick count.
// Each reseed also grows a clock offset, so two reseeds within the same millisecond still start
// from different seeds. All arithmetic wraps modulo 2^32.

#include <cstdint>

#include "support/clock.h"

namespace quiz {

class RandomSource final {
 public:
  // The largest range that one generator value covers; wider ranges take two values.
  static constexpr std::int64_t kSingleStepRange = 32768;

  explicit RandomSource(Clock& clock) : clock_(clock) {}

  // Seeds from the tick count plus the clock offset, then grows the offset by 100 to 355.
  void reseed();

  // A value from the smaller to the larger bound, inclusive; a negative bound counts as 0.
  // Equal bounds give that bound without taking a generator value. Ranges up to
  // kSingleStepRange take one value, so every value the range holds can be drawn.
  std::int32_t draw(std::int32_t low, std::int32_t high);

  std::uint32_t state() const { return state_; }
  std::uint32_t clock_offset() const { return clock_offset_; }

 private:
  // Steps the generator and gives bits 16 to 30 of the new state: 0 to 32767.
  std::uint32_t next_value();

  Clock& clock_;
  std::uint32_t state_{0};
  std::uint32_t clock_offset_{0};
};

}  // namespace quiz
