#include "engine/harmonics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>
#include <vector>

namespace wolterix::engine {
namespace {

constexpr double kPi = std::numbers::pi;

// `periods` periods of f, `perPeriod` samples each (not necessarily whole), from t0.
std::vector<double> sampled(const std::function<double(double turns)>& wave, double f,
                            double perPeriod, double periods, double t0 = 0.0) {
  const double spacing = 1.0 / (f * perPeriod);
  const int count = static_cast<int>(std::floor(periods * perPeriod + 1e-9)) + 1;
  std::vector<double> x;
  for (int k = 0; k < count; ++k) {
    const double turns = f * (t0 + k * spacing);
    x.push_back(wave(turns - std::floor(turns)));
  }
  return x;
}

// ±A square wave, 0 exactly on its edges.
double square(double turns) {
  if (turns == 0.0 || turns == 0.5) return 0.0;
  return turns < 0.5 ? 2.0 : -2.0;
}

// The line current of a six-pulse bridge: +I over 30°..150°, −I over 210°..330°.
double block(double turns) {
  const double deg = turns * 360.0;
  const auto inside = [&](double a, double b) { return deg > a && deg < b; };
  const auto edge = [&](double a) { return std::fabs(deg - a) < 1e-9; };
  if (edge(30) || edge(150) || edge(210) || edge(330)) return edge(30) || edge(150) ? 0.5 : -0.5;
  return inside(30, 150) ? 1.0 : inside(210, 330) ? -1.0 : 0.0;
}

double truncatedThd(const std::function<double(int)>& amplitude, int orders) {
  double sum = 0.0;
  for (int n = 2; n <= orders; ++n) sum += amplitude(n) * amplitude(n);
  return std::sqrt(sum) / amplitude(1);
}

TEST(Harmonics, SquareWaveHasOddOrdersOfFourAOverNPi) {
  const double f = 50.0;
  const auto x = sampled(square, f, 20000, 2);
  const auto out = analyseHarmonics(x, 0.0, 1.0 / (f * 20000), f);
  ASSERT_TRUE(out.analysis) << out.refusal;
  const HarmonicAnalysis& a = *out.analysis;
  EXPECT_TRUE(a.wholeSamples);
  EXPECT_EQ(a.periods, 2);
  ASSERT_EQ(a.harmonics.size(), 40u);
  for (const Harmonic& h : a.harmonics) {
    const double expected = h.order % 2 ? 4 * 2.0 / (h.order * kPi) : 0.0;
    EXPECT_NEAR(h.amplitude, expected, 2e-4 * expected + 1e-9) << "order " << h.order;
    EXPECT_FALSE(h.atSamplingLimit);
  }
  EXPECT_NEAR(a.harmonics[0].phase, 0.0, 1e-6);  // a sine's phase in the sine form
  EXPECT_NEAR(a.harmonics[2].percent, 100.0 / 3.0, 1e-3);
  const double thd40 = truncatedThd([](int n) { return n % 2 ? 1.0 / n : 0.0; }, 40);  // 47.03 %
  EXPECT_NEAR(thd40, 0.4703, 5e-5);
  EXPECT_NEAR(a.thd, thd40, 1e-4);
  EXPECT_NEAR(a.rms, 2.0, 1e-3);
  EXPECT_NEAR(a.thdOfRms, a.thd * a.harmonics[0].rms / a.rms, 1e-12);
  EXPECT_NEAR(a.dc, 0.0, 1e-12);
}

TEST(Harmonics, ANonWholeSamplingIntegratesExactlyOverWholePeriodsWithoutLeaking) {
  // 1000.37 samples a period and 2.6 periods: the last two whole periods are integrated with
  // the trace linear between samples. A DFT over 1000 samples would leak about 1e-3 into
  // every order.
  const double f = 60.0;
  const double perPeriod = 1000.37;
  const double t0 = 0.013;
  const auto x = sampled(
      [](double t) {
        return 1.0 + std::sin(2 * kPi * t) + 0.3 * std::sin(3 * 2 * kPi * t + 40 * kPi / 180);
      },
      f, perPeriod, 2.6, t0);
  const auto out = analyseHarmonics(x, t0, 1.0 / (f * perPeriod), f, 15);
  ASSERT_TRUE(out.analysis) << out.refusal;
  const HarmonicAnalysis& a = *out.analysis;
  EXPECT_FALSE(a.wholeSamples);
  EXPECT_EQ(a.periods, 2);
  EXPECT_NEAR(a.to - a.from, 2.0 / f, 1e-12);
  EXPECT_EQ(a.samplingLimit, 500);
  EXPECT_NEAR(a.dc, 1.0, 1e-9);
  EXPECT_NEAR(a.harmonics[0].amplitude, 1.0, 1e-5);
  EXPECT_NEAR(a.harmonics[0].phase, 0.0, 1e-4);
  EXPECT_NEAR(a.harmonics[2].amplitude, 0.3, 1e-5);
  EXPECT_NEAR(a.harmonics[2].phase, 40.0, 1e-3);
  for (const Harmonic& h : a.harmonics)
    if (h.order != 1 && h.order != 3) {
      EXPECT_LT(h.amplitude, 1e-7) << "order " << h.order;
    }
  EXPECT_NEAR(a.rms, std::sqrt(1.0 + 0.5 + 0.045), 1e-5);
}

TEST(Harmonics, SixPulseBlockCurrentHasNoEvenOrTriplenOrders) {
  const double f = 50.0;
  const auto x = sampled(block, f, 36000, 1);
  const auto out = analyseHarmonics(x, 0.0, 1.0 / (f * 36000), f);
  ASSERT_TRUE(out.analysis);
  const HarmonicAnalysis& a = *out.analysis;
  const double first = 4.0 / kPi * std::cos(kPi / 6);  // 2√3/π
  for (const Harmonic& h : a.harmonics) {
    if (h.order % 2 == 0 || h.order % 3 == 0)
      EXPECT_LT(h.amplitude, 1e-9) << "order " << h.order;
    else
      EXPECT_NEAR(h.amplitude, first / h.order, 1e-4 * first / h.order) << "order " << h.order;
  }
  // 31.08 % over every order, 29.68 % over the first forty.
  EXPECT_NEAR(std::sqrt(kPi * kPi / 9 - 1), 0.3108, 5e-5);
  EXPECT_NEAR(a.thd, 0.2968, 1e-4);
}

TEST(Harmonics, HalfWaveRectifiedSineAndAShiftedSine) {
  const double f = 50.0;
  const auto half =
      sampled([](double t) { return std::max(0.0, 3.0 * std::sin(2 * kPi * t)); }, f, 10000, 3);
  const auto a = analyseHarmonics(half, 0.0, 1.0 / (f * 10000), f).analysis;
  ASSERT_TRUE(a);
  EXPECT_NEAR(a->dc, 3.0 / kPi, 1e-6);
  EXPECT_NEAR(a->harmonics[0].amplitude, 1.5, 1e-6);
  EXPECT_NEAR(a->harmonics[2].amplitude, 0.0, 1e-6);  // odd orders above the first vanish
  EXPECT_NEAR(a->harmonics[1].amplitude, 2 * 3.0 / (3 * kPi), 1e-6);

  // A sine of phase 30° starting at t0 = 7 ms reads 30° (sine form, phase of the run's time).
  const double t0 = 0.007;
  const auto shifted =
      sampled([](double t) { return std::sin(2 * kPi * t + kPi / 6); }, f, 400, 4, t0);
  const auto b = analyseHarmonics(shifted, t0, 1.0 / (f * 400), f, 5).analysis;
  ASSERT_TRUE(b);
  EXPECT_NEAR(b->harmonics[0].phase, 30.0, 1e-9);
  EXPECT_NEAR(b->harmonics[0].rms, std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(b->rms, std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(b->thd, 0.0, 1e-12);

  // A start-up transient in the first period stays out when only the last periods are asked.
  auto started = shifted;
  for (std::size_t k = 0; k < 400; ++k) started[k] += 0.5;
  const auto c = analyseHarmonics(started, t0, 1.0 / (f * 400), f, 5, 3).analysis;
  ASSERT_TRUE(c);
  EXPECT_EQ(c->periods, 3);
  EXPECT_NEAR(c->from, t0 + 0.02, 1e-12);
  EXPECT_NEAR(c->dc, 0.0, 1e-12);
  EXPECT_GT(analyseHarmonics(started, t0, 1.0 / (f * 400), f, 5).analysis->dc, 0.1);
}

TEST(Harmonics, RefusalsAndTheSamplingLimit) {
  const std::vector<double> x(61, 1.0);  // 60 ms at 1 ms
  EXPECT_EQ(analyseHarmonics(x, 0, 1e-3, 0.0).refusal, kFundamentalNotPositive);
  EXPECT_EQ(analyseHarmonics(x, 0, 1e-3, -50.0).refusal, kFundamentalNotPositive);
  EXPECT_EQ(analyseHarmonics(x, 0, 1e-3, 10.0).refusal, kShorterThanPeriod);
  EXPECT_EQ(analyseHarmonics(x, 0, 1e-3, 600.0).refusal, kTooFewSamples);
  EXPECT_EQ(analyseHarmonics(std::vector<double>{1.0}, 0, 1e-3, 50.0).refusal, kShorterThanPeriod);

  // Ten samples a period: orders up to five, the fifth sampled at its limit and marked.
  const auto fifth = sampled([](double t) { return std::cos(2 * kPi * 5 * t); }, 50, 10, 2);
  const auto a = analyseHarmonics(fifth, 0, 1.0 / 500, 50, 40).analysis;
  ASSERT_TRUE(a);
  EXPECT_EQ(a->samplingLimit, 5);
  EXPECT_EQ(a->requestedCount, 40);
  ASSERT_EQ(a->harmonics.size(), 5u);
  EXPECT_TRUE(a->harmonics[4].atSamplingLimit);
  EXPECT_FALSE(a->harmonics[3].atSamplingLimit);
  EXPECT_TRUE(std::isnan(a->thd));  // no fundamental
}

TEST(Harmonics, CsvHoldsTheTableAndTheTotals) {
  const auto x = sampled(square, 50, 1000, 1);
  const auto a = analyseHarmonics(x, 0, 1.0 / 50000, 50, 3).analysis;
  ASSERT_TRUE(a);
  std::ostringstream csv;
  writeHarmonicsCsv(csv, *a);
  std::istringstream lines(csv.str());
  std::vector<std::string> rows;
  for (std::string row; std::getline(lines, row);) rows.push_back(row);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0], "n,f,Um,RMS,%,deg");
  EXPECT_EQ(rows[1].substr(0, 4), "0,0,");
  EXPECT_EQ(rows[4].substr(0, 5), "3,150");
  EXPECT_EQ(rows[5].substr(0, 7), "THD,,,,");
  EXPECT_EQ(rows[7].substr(0, 6), "RMS,,,");
}

}  // namespace
}  // namespace wolterix::engine
