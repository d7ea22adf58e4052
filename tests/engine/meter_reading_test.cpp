#include "engine/meter_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace wolterix::engine {
namespace {

std::vector<double> sineCycle(double peak, int intervals, double offset = 0.0) {
  std::vector<double> x;
  for (int i = 0; i <= intervals; ++i)
    x.push_back(offset + peak * std::sin(2.0 * std::numbers::pi * i / intervals));
  return x;
}

TEST(MeterReading, SineReadsItsRmsAndRectifiedMean) {
  const auto x = sineCycle(230.0 * std::sqrt(2.0), 944);
  EXPECT_NEAR(readCycle(x, Indication::TrueRms), 230.0, 1e-9);
  EXPECT_NEAR(readCycle(x, Indication::RectifiedMean),
              2.0 * std::sqrt(2.0) * 230.0 / std::numbers::pi, 0.01);
  EXPECT_NEAR(readCycle(x, Indication::DcMean), 0.0, 1e-9);
}

TEST(MeterReading, ConstantReadsExactlyItselfWhateverTheIndication) {
  // Averages over the neighbour pairs: 12 V DC must not read 11.99.
  const std::vector<double> x(945, 12.0);
  EXPECT_EQ(readCycle(x, Indication::DcMean), 12.0);
  EXPECT_EQ(readCycle(x, Indication::RectifiedMean), 12.0);
  EXPECT_EQ(readCycle(x, Indication::TrueRms), 12.0);
  const std::vector<double> negative(11, -3.0);
  EXPECT_EQ(readCycle(negative, Indication::DcMean), -3.0);
  EXPECT_EQ(readCycle(negative, Indication::RectifiedMean), 3.0);
}

TEST(MeterReading, TooFewSamplesReadZero) {
  EXPECT_EQ(readCycle(std::vector<double>{}, Indication::TrueRms), 0.0);
  EXPECT_EQ(readCycle(std::vector<double>{5.0}, Indication::DcMean), 0.0);
}

struct FormatCase {
  double value;
  bool autoRange;
  int fullScale;
  int exponent;
  const char* text;
  int prefix;
};

class Formatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Formatting, ShowsFourDigits) {
  const FormatCase& c = GetParam();
  const DisplayText shown = formatReading(c.value, c.autoRange, c.fullScale, c.exponent);
  EXPECT_EQ(shown.value, c.text) << c.value;
  EXPECT_EQ(shown.prefix, c.prefix) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Readings, Formatting,
    ::testing::Values(
        // Automatic range: scaled into [1, 1000) with three, two or one decimals.
        FormatCase{230.0, true, 1000, 0, "230.0", 0},
        FormatCase{207.0775, true, 1000, 0, "207.1", 0},
        FormatCase{0.0, true, 1000, 0, "0.000", -2}, FormatCase{5e-7, true, 1000, 0, "0.000", -2},
        FormatCase{-0.4, true, 1000, 0, "-400.0", -1}, FormatCase{1.5, true, 1000, 0, "1.500", 0},
        FormatCase{12.345, true, 1000, 0, "12.35", 0},
        FormatCase{1234.5, true, 1000, 0, "1.235", 1},
        FormatCase{2.5e-6, true, 1000, 0, "2.500", -2},
        FormatCase{-529.0, true, 1000, 0, "-529.0", 0},
        FormatCase{3.2e9, true, 1000, 0, "3.200", 3},
        // Rounding up to a full scale moves on with the digits already rounded.
        FormatCase{9.9996, true, 1000, 0, "10.00", 0},
        FormatCase{99.996, true, 1000, 0, "100.0", 0},
        FormatCase{-9.9999, true, 1000, 0, "-10.00", 0},
        // ... and at the top of the range to the next prefix, not "over".
        FormatCase{999.96, true, 1000, 0, "1.000", 1},
        FormatCase{0.99996, true, 1000, 0, "1.000", 0}, FormatCase{1e15, true, 1000, 0, "over", 4},
        FormatCase{999.96e12, true, 1000, 0, "over", 4},
        // Manual range: divided by 10^(3e), the range's own full scale.
        FormatCase{-0.4, false, 10, 0, "-0.400", 0}, FormatCase{0.0, false, 10, 0, "0.000", 0},
        FormatCase{5.0, false, 100, 0, "5.00", 0}, FormatCase{230.0, false, 1000, 0, "230.0", 0},
        FormatCase{230.0, false, 100, 0, "over", 0}, FormatCase{9.9996, false, 10, 0, "over", 0},
        FormatCase{1500.0, false, 10, 1, "1.500", 1},
        FormatCase{0.025, false, 100, -1, "25.00", -1},
        FormatCase{1e300, false, 1000, -2, "over", -2},
        FormatCase{-0.00004, false, 10, 0, "0.000", 0}));

TEST(MeterReading, NonFiniteReadsOver) {
  EXPECT_EQ(formatReading(std::nan(""), true, 1000, 0).value, "over");
  EXPECT_EQ(formatReading(-INFINITY, false, 10, 0).value, "over");
}

TEST(MeterReading, RangePositionsRoundTrip) {
  int scale = 0;
  int exponent = 0;
  rangeFromPosition(0, scale, exponent);
  EXPECT_EQ(scale, 1000);  // 1000 G
  EXPECT_EQ(exponent, 3);
  rangeFromPosition(15, scale, exponent);
  EXPECT_EQ(scale, 1000);  // 1000 u
  EXPECT_EQ(exponent, -2);
  rangeFromPosition(13, scale, exponent);
  EXPECT_EQ(scale, 100);  // 100 m
  EXPECT_EQ(exponent, -1);
  for (int p = 0; p < 16; ++p) {
    rangeFromPosition(p, scale, exponent);
    EXPECT_EQ(rangePosition(scale, exponent), p);
  }
  EXPECT_EQ(rangePosition(1000, 0), 9);  // a fresh meter's manual range
}

TEST(MeterReading, SlotShowsItsPrefixAndResetsToZeroInItsRange) {
  MeterSlot slot;
  showReading(slot, 2300.0);
  EXPECT_EQ(slot.display, "2.300");
  EXPECT_EQ(prefixText(slot.shownPrefix) + unitText(slot.quantity), "kV");
  slot.autoRange = false;
  slot.fullScale = 100;
  slot.rangeExponent = -1;
  slot.quantity = MeterQuantity::Current;
  showReading(slot, 0.0421);
  EXPECT_EQ(slot.display, "42.10");
  EXPECT_EQ(prefixText(slot.shownPrefix) + unitText(slot.quantity), "mA");
  resetDisplay(slot);
  EXPECT_FALSE(slot.hasReading);
  EXPECT_EQ(slot.display, "0.00");
}

TEST(MeterReading, LevelsAndFactorsOfOneCycle) {
  // One period of 2 + 3·sin θ + 1·sin 3θ, 1000 samples.
  std::vector<double> x;
  for (int k = 0; k <= 1000; ++k) {
    const double t = 2 * std::numbers::pi * k / 1000.0;
    x.push_back(2.0 + 3.0 * std::sin(t) + std::sin(3 * t));
  }
  const double rms = std::sqrt(4.0 + 4.5 + 0.5);
  EXPECT_NEAR(readCycle(x, Indication::TrueRms), rms, 1e-9);
  const auto [low, high] = std::minmax_element(x.begin(), x.end());
  EXPECT_EQ(readCycle(x, Indication::Peak), std::max(std::fabs(*low), *high));
  EXPECT_EQ(readCycle(x, Indication::PeakToPeak), *high - *low);
  EXPECT_NEAR(readCycle(x, Indication::FundamentalRms), 3.0 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(readCycle(x, Indication::Thd), 100.0 / 3.0, 1e-6);
  EXPECT_NEAR(readCycle(x, Indication::CrestFactor), *high / rms, 1e-9);
  EXPECT_NEAR(readCycle(x, Indication::RippleFactor), std::sqrt(5.0) / 2.0, 1e-9);
  EXPECT_NEAR(readCycle(x, Indication::FormFactor), rms / readCycle(x, Indication::RectifiedMean),
              1e-12);

  // A sine's form factor π/(2√2); a constant has no ripple, a pure AC no ripple factor.
  std::vector<double> sine;
  for (int k = 0; k <= 1000; ++k) sine.push_back(std::sin(2 * std::numbers::pi * k / 1000.0));
  EXPECT_NEAR(readCycle(sine, Indication::FormFactor), std::numbers::pi / (2 * std::sqrt(2.0)),
              1e-5);
  EXPECT_EQ(readCycle(std::vector<double>(11, 5.0), Indication::RippleFactor), 0.0);
  EXPECT_TRUE(std::isnan(readCycle(sine, Indication::RippleFactor)));
  EXPECT_TRUE(std::isnan(readCycle(std::vector<double>(11, 5.0), Indication::Thd)));
}

TEST(MeterReading, RatiosShowFourDigitsWithoutAPrefix) {
  const std::pair<double, const char*> cases[] = {
      {0.86603, "0.8660"}, {-0.8280, "-0.8280"}, {0.007992, "0.007992"}, {1.41421, "1.414"},
      {31.0768, "31.08"},  {120.0, "120.0"},     {9.99996, "10.00"},     {0.0, "0.000"},
      {999.96, "over"},    {1e300, "over"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(formatRatio(value).value, text) << value;
  EXPECT_EQ(formatRatio(std::nan("")).value, "----");

  MeterSlot slot;
  slot.quantity = MeterQuantity::Power;
  slot.indication = Indication::PowerFactor;
  slot.autoRange = false;  // a ratio ignores the manual range
  slot.rangeExponent = 2;
  showReading(slot, 0.5);
  EXPECT_EQ(slot.display, "0.5000");
  EXPECT_EQ(displayUnit(slot), "");
  slot.indication = Indication::ReactivePower;
  slot.autoRange = true;
  showReading(slot, 4157.0);
  EXPECT_EQ(slot.display + " " + displayUnit(slot), "4.157 kvar");
  slot.quantity = MeterQuantity::Current;
  slot.indication = Indication::Thd;
  showReading(slot, 29.66);
  EXPECT_EQ(slot.display + " " + displayUnit(slot), "29.66 %");
}

}  // namespace
}  // namespace wolterix::engine
