#include "support/random_source.h"

#include <gtest/gtest.h>

#include "question_bank/draw.h"
#include "tests/fakes.h"

namespace quiz {
namespace {

using testing::FakeClock;

TEST(RandomSource, FixedClockGivesKnownSequence) {
  FakeClock clock;
  clock.ticks = 1000;
  RandomSource random(clock);
  random.reseed();
  EXPECT_EQ(random.state(), 1000u);
  EXPECT_EQ(random.clock_offset(), 1000u % 256 + 100);
  // state 1000 -> 1000*214013+2531011 = 216544011; bits 16..30 = 3304.
  EXPECT_EQ(random.draw(0, 32767), 3304);
  // Later values follow the same recurrence from the state.
  std::uint32_t state = 216544011u;
  for (int i = 0; i < 5; ++i) {
    state = state * 214013u + 2531011u;
    EXPECT_EQ(random.draw(0, 32767), static_cast<std::int32_t>((state >> 16) & 0x7FFF));
  }
}

TEST(RandomSource, ReseedsOnTheSameTickDiffer) {
  FakeClock clock;
  clock.ticks = 0xFFFFFFF0u;  // also wraps
  RandomSource random(clock);
  random.reseed();
  std::uint32_t first_seed = random.state();
  std::uint32_t offset = random.clock_offset();
  EXPECT_GE(offset, 100u);
  EXPECT_LE(offset, 355u);
  random.reseed();
  EXPECT_NE(random.state(), first_seed);
  EXPECT_EQ(random.state(), 0xFFFFFFF0u + offset);
}

TEST(RandomSource, DrawBounds) {
  FakeClock clock;
  RandomSource random(clock);
  struct Case {
    const char* name;
    std::int32_t low, high, min, max;
  };
  const Case cases[] = {
      {"ordered", 1, 6, 1, 6},
      {"swapped", 6, 1, 1, 6},
      {"negative low counts as 0", -5, 2, 0, 2},
      {"both negative", -5, -1, 0, 0},
      {"empty list draw", 1, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 200; ++i) {
      std::int32_t value = random.draw(c.low, c.high);
      EXPECT_GE(value, c.min);
      EXPECT_LE(value, c.max);
    }
  }
}

TEST(RandomSource, EqualBoundsTakeNoValue) {
  FakeClock clock;
  RandomSource random(clock);
  random.reseed();
  std::uint32_t state = random.state();
  EXPECT_EQ(random.draw(1, 1), 1);
  EXPECT_EQ(random.draw(-4, 0), 0);
  EXPECT_EQ(random.state(), state);
}

TEST(RandomSource, WideRangesReachEveryValue) {
  // One generator value reaches only 32768 positions; wider ranges take two, so the last of
  // 100,000 positions can be drawn too.
  FakeClock clock;
  RandomSource random(clock);
  std::int32_t highest = 0;
  for (int i = 0; i < 20000; ++i) highest = std::max(highest, random.draw(1, 100000));
  EXPECT_GT(highest, 32768);
  EXPECT_LE(highest, 100000);
  // Up to 32768 positions the draw stays one value: 1 + v mod N.
  random.reseed();
  std::uint32_t next_state = random.state() * 214013u + 2531011u;
  EXPECT_EQ(random.draw(1, 32768), 1 + static_cast<std::int32_t>((next_state >> 16) & 0x7FFF));
}

TEST(DrawDistinct, ReseedsThenAppendsValuesNotYetInTheList) {
  FakeClock clock;
  clock.ticks = 42;
  RandomSource random(clock);
  IntegerArray list;
  list.append(2);
  draw_distinct(list, 3, 1, 4, random);
  EXPECT_EQ(random.clock_offset(), 42u + 100);
  ASSERT_EQ(list.count(), 4);
  std::vector<std::int32_t> values;
  for (std::int32_t i = 1; i <= 4; ++i) values.push_back(list.at(i, {9, 9}));
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST(DrawDistinct, CountZeroStillReseeds) {
  FakeClock clock;
  RandomSource random(clock);
  IntegerArray list;
  draw_distinct(list, 0, 1, 9, random);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(random.clock_offset(), 100u);
}

}  // namespace
}  // namespace quiz
