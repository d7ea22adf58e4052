#include "engine/run_settings.h"

#include <gtest/gtest.h>

namespace {

using namespace wolterix::engine;

TEST(SimulationDialogRules, TimeMustBeAPositiveUnsignedNumber) {
  EXPECT_DOUBLE_EQ(*acceptedTime("20m"), 0.02);
  EXPECT_DOUBLE_EQ(*acceptedTime("1,5"), 1.5);
  for (const char* bad : {"0", "0m", "-1", "?", "", "1.5", "abc"})
    EXPECT_FALSE(acceptedTime(bad)) << bad;
}

TEST(SimulationDialogRules, RangeMustRiseFromAboveZero) {
  EXPECT_EQ(acceptedRange("10", "100k"), (std::pair{10.0, 1e5}));
  for (auto [from, to] :
       {std::pair{"0", "10"}, {"10", "10"}, {"100", "10"}, {"-1", "10"}, {"?", "10"}, {"10", "?"}})
    EXPECT_FALSE(acceptedRange(from, to)) << from << " " << to;
}

TEST(SimulationDialogRules, StepsAndTimeDisplay) {
  EXPECT_EQ(totalSteps(944, 0), 944);
  EXPECT_EQ(totalSteps(944, 6), 944 * 64);
  EXPECT_EQ(sampleCountForScreen(1024), 944);
  EXPECT_EQ(sampleCountForScreen(50), 1);
  EXPECT_EQ(timeDisplayText(0.25, 1.0), "250 ms");
  EXPECT_EQ(timeDisplayText(0.0, 1.0), "0 ms");
  EXPECT_EQ(timeDisplayText(2.5e-6, 1e-5), "3 us");                    // halves round up
  EXPECT_EQ(timeDisplayText(1e17, 1e16), "100000000000000000000 ms");  // beyond 64-bit integers
  EXPECT_EQ(timeDisplayText(2.5e-6, 4e-6), "2500 ns");                 // the unit follows T / 8
  EXPECT_EQ(timeDisplayText(5e-9, 4e-8), "5 ns");
  EXPECT_EQ(timeDisplayText(5e-12, 4e-11), "5 ps");
}

}  // namespace
