#pragma once
// One row of the benchmark table, as the benchmark programs print it for scripts/bench: tab
// separated, one row a line. Times are formatted in the unit that suits them, memory in MiB.

#include <cstdio>
#include <string>

namespace quiz::bench {

inline std::string format_seconds(double seconds) {
  char text[32];
  if (seconds >= 1) {
    std::snprintf(text, sizeof text, "%.3g s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.3g ms", seconds * 1e3);
  } else if (seconds >= 1e-6) {
    std::snprintf(text, sizeof text, "%.3g µs", seconds * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.3g ns", seconds * 1e9);
  }
  return text;
}

inline std::string format_mebibytes(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1024.0 * 1024.0));
  return text;
}

// `goal` is the largest ratio that meets the goal; 0 marks a row that has no goal of its own.
inline void print_row(const std::string& figure, const std::string& measured,
                      const std::string& floor, double ratio, double goal) {
  char ratio_text[32];
  std::snprintf(ratio_text, sizeof ratio_text, "%.2f×", ratio);
  char goal_text[48] = "—";
  if (goal > 0) {
    std::snprintf(goal_text, sizeof goal_text, "≤ %.1f× (%s)", goal,
                  ratio <= goal ? "met" : "missed");
  }
  std::printf("%s\t%s\t%s\t%s\t%s\n", figure.c_str(), measured.c_str(), floor.c_str(), ratio_text,
              goal_text);
  std::fflush(stdout);
}

}  // namespace quiz::bench
