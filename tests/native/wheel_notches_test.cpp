#include "slider/wheel_notches.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

// Each row is a run of deltas from a fresh start and the notches each one gives.
TEST(WheelNotches, FractionsAddUpTurnsBackDropTheRestBigDeltasGiveSeveral) {
  struct Run {
    const char* what;
    std::vector<int> deltas, notches;
    int remainder;
  };
  const Run runs[] = {
      {"three small deltas make one notch", {40, 40, 40}, {0, 0, 1}, 0},
      {"and the same downwards", {-40, -40, -40}, {0, 0, -1}, 0},
      {"a whole notch at once", {120, -120}, {1, -1}, 0},
      {"several notches at once", {360, -600}, {3, -5}, 0},
      {"the rest of a large delta is kept", {250, 100}, {2, 0}, 110},
      {"a turn back drops what was left", {100, -30, -90}, {0, 0, -1}, 0},
      {"and the other way", {-100, 30, 100}, {0, 0, 1}, 10},
      {"zero changes nothing", {80, 0, 40}, {0, 0, 1}, 0},
      {"extremes of a 32-bit delta", {INT_MAX, INT_MIN}, {INT_MAX / 120, INT_MIN / 120}, -8},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.what);
    int remainder = 0;
    for (size_t i = 0; i < run.deltas.size(); ++i)
      EXPECT_EQ(takeWheelNotches(remainder, run.deltas[i]), run.notches[i]) << "delta " << i;
    EXPECT_EQ(remainder, run.remainder);
  }
}
