#pragma once
// The location numbers of the index checks: the first number names the routine, the second the
// check within it, so an error box can be traced back to the one check that raised it.

#include "support/fatal_error.h"

namespace quiz::error_locations {

inline constexpr ErrorLocation kLoadQuestionDrawnIndex{1, 1};
inline constexpr ErrorLocation kLoadQuestionDrawnName{1, 2};
inline constexpr ErrorLocation kDrawDistinctCompare{2, 1};
inline constexpr ErrorLocation kQuizWindow{5, 0};

}  // namespace quiz::error_locations
