#pragma once

#include <cstdint>

#include "support/one_based_array.h"
#include "support/random_source.h"

namespace quiz {

// Reseeds `random`, then appends `count` values from low to high (inclusive) to `list`, each
// different from every member the list holds at that moment. The range must hold enough values
// outside the list; a count of 0 or below appends nothing.
void draw_distinct(IntegerArray& list, std::int32_t count, std::int32_t low, std::int32_t high,
                   RandomSource& random);

}  // namespace quiz
