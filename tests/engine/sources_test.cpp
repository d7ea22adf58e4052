#include <gtest/gtest.h>

#include <cmath>

#include "engine/source_models.h"

namespace {

using wolterix::engine::waveformValue;
using W = wolterix::model::Waveform;

TEST(Waveforms, SineIsGivenByItsRmsValue) {
  // 230 V RMS peaks a quarter period in.
  EXPECT_NEAR(waveformValue(W::Sine, 230, 50, 0, 0.005), 325.269, 1e-3);
  EXPECT_NEAR(waveformValue(W::Sine, 230, 50, 0, 0.0), 0.0, 1e-6);
  EXPECT_NEAR(waveformValue(W::Sine, 230, 50, 90, 0.0), 325.269, 1e-3);
  EXPECT_DOUBLE_EQ(waveformValue(W::Constant, 12, 50, 30, 0.123), 12.0);
}

TEST(Waveforms, SquareIsUnipolarHalfAndHalf) {
  for (double t : {0.0, 0.001, 0.0049}) EXPECT_EQ(waveformValue(W::Square, 5, 100, 0, t), 5.0) << t;
  for (double t : {0.0051, 0.008, 0.0099})
    EXPECT_EQ(waveformValue(W::Square, 5, 100, 0, t), 0.0) << t;
  EXPECT_EQ(waveformValue(W::Square, 5, 100, 180, 0.001), 0.0);
}

struct ShapePoint {
  W kind;
  double phase;
  double periods;   // time in periods of 1 Hz
  double expected;  // in units of the amplitude
};

void PrintTo(const ShapePoint& p, std::ostream* os) {
  *os << (p.kind == W::Triangle ? "triangle" : "sawtooth") << " phase " << p.phase << " at "
      << p.periods;
}

class WaveformShapes : public ::testing::TestWithParam<ShapePoint> {};

TEST_P(WaveformShapes, FollowTheirCorners) {
  const auto& p = GetParam();
  EXPECT_NEAR(waveformValue(p.kind, 2.0, 1.0, p.phase, p.periods), 2.0 * p.expected, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    TriangleAndSawtooth, WaveformShapes,
    ::testing::Values(
        // triangle: 0 -> A at a quarter -> -A at three quarters -> 0
        ShapePoint{W::Triangle, 0, 0.0, 0.0}, ShapePoint{W::Triangle, 0, 0.125, 0.5},
        ShapePoint{W::Triangle, 0, 0.25, 1.0}, ShapePoint{W::Triangle, 0, 0.5, 0.0},
        ShapePoint{W::Triangle, 0, 0.75, -1.0}, ShapePoint{W::Triangle, 0, 1.0, 0.0},
        ShapePoint{W::Triangle, 90, 0.0, 1.0}, ShapePoint{W::Triangle, 0, 3.25, 1.0},
        ShapePoint{W::Triangle, -90, 0.0, -1.0}, ShapePoint{W::Triangle, -450, 0.25, 0.0},
        ShapePoint{W::Triangle, -450, 0.5, 1.0},
        // sawtooth: -A -> A, through 0 at whole periods
        ShapePoint{W::Sawtooth, 0, 0.0, 0.0}, ShapePoint{W::Sawtooth, 0, 0.25, 0.5},
        ShapePoint{W::Sawtooth, 0, 0.75, -0.5}, ShapePoint{W::Sawtooth, 180, 0.0, -1.0},
        ShapePoint{W::Sawtooth, -270, 0.0, 0.5}, ShapePoint{W::Sawtooth, 0, 2.1, 0.2}));

}  // namespace
