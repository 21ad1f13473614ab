#include "support/random_source.h"

#include <algorithm>

namespace quiz {

void RandomSource::reseed() {
  std::uint32_t seed = clock_.tick_count() + clock_offset_;
  clock_offset_ += seed % 256 + 100;
  state_ = seed;
}

std::int32_t RandomSource::draw(std::int32_t low, std::int32_t high) {
  std::int64_t lo = std::max(std::min(low, high), 0);
  std::int64_t hi = std::max(std::max(low, high), 0);
  if (lo == hi) return static_cast<std::int32_t>(lo);
  std::int64_t range = hi - lo + 1;
  std::int64_t value = next_value();
  if (range > kSingleStepRange) value = (value << 15) | next_value();
  return static_cast<std::int32_t>(lo + value % range);
}

std::uint32_t RandomSource::next_value() {
  state_ = state_ * 214013u + 2531011u;
  return (state_ >> 16) & 0x7FFFu;
}

}  // namespace quiz
