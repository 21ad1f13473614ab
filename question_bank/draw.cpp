#include "question_bank/draw.h"

#include "question_bank/error_locations.h"

namespace quiz {
namespace {

bool holds(const IntegerArray& list, std::int32_t value) {
  for (std::int32_t position = 1; position <= list.count(); ++position) {
    if (list.at(position, error_locations::kDrawDistinctCompare) == value) return true;
  }
  return false;
}

}  // namespace

void draw_distinct(IntegerArray& list, std::int32_t count, std::int32_t low, std::int32_t high,
                   RandomSource& random) {
  random.reseed();
  for (std::int32_t repetition = 0; repetition < count; ++repetition) {
    std::int32_t value = random.draw(low, high);
    while (holds(list, value)) value = random.draw(low, high);
    list.append(value);
  }
}

}  // namespace quiz
