#include <gtest/gtest.h>

#include <cmath>

#include "engine/source_models.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::buildLoop;
using wolterix::testing::buildPair;
using wolterix::testing::trace;
using K = ElementKind;

// The exact varistor voltage of the loop: E(t) = R * I(U) + U, I(U) = sign(U) (|U|/c)^(1/beta).
double exactVaristorVoltage(double e, double r, double c, double beta) {
  const auto residual = [&](double u) {
    const double i = std::copysign(std::pow(std::abs(u) / c, 1.0 / beta), u);
    return r * i + u - e;
  };
  double low = -std::abs(e), high = std::abs(e);
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (low + high);
    (residual(mid) > 0.0 ? high : low) = mid;
  }
  return 0.5 * (low + high);
}

struct VaristorCase {
  const char* source;  // RMS
  const char* resistor;
  double peak;
  double resistance;
  int iterations;
  double tolerance;  // volts
};

void PrintTo(const VaristorCase& c, std::ostream* os) {
  *os << c.peak << " V peak through " << c.resistance << " Ohm, k=" << c.iterations;
}

class Varistor : public ::testing::TestWithParam<VaristorCase> {};

TEST_P(Varistor, MatchesTheNonlinearCircuitAtEverySample) {
  const VaristorCase& c = GetParam();
  Schematic s;
  buildLoop(s, std::string("sin/") + c.source + "/0/50/0", K::War, "300/0,05", c.resistor);
  Simulation sim;
  sim.setSampleCount(400);
  ASSERT_TRUE(sim.transientRun(s, 0, 40e-3, c.iterations).ok());
  const auto u = trace(sim, "U(Rv1)");
  double worst = 0.0;
  double peak = 0.0;
  for (std::size_t k = 0; k < u.size(); ++k) {
    const double t = k * sim.store().spacing;
    const double e = waveformValue(
        Waveform::Sine,
        std::stod(std::string(c.source).replace(std::string(c.source).find(','), 1, ".")), 50, 0,
        t);
    const double exact = exactVaristorVoltage(e, c.resistance + 0.0001, 300, 0.05);
    worst = std::max(worst, std::abs(u[k] - exact));
    peak = std::max(peak, u[k]);
  }
  EXPECT_LT(worst, c.tolerance);
  if (c.peak == 400.0) {
    EXPECT_NEAR(peak, 330.5, 0.5);
  }
  // Relinearised within every step: at least two solves.
  EXPECT_GE(sim.network().lastStepSolves(), 2);
}

INSTANTIATE_TEST_SUITE_P(Settings, Varistor,
                         ::testing::Values(VaristorCase{"282,8427", "10", 400, 10, 0, 0.5},
                                           VaristorCase{"282,8427", "10", 400, 10, 6, 0.5},
                                           VaristorCase{"707,1068", "1", 1000, 1, 0, 1.0},
                                           VaristorCase{"707,1068", "1", 1000, 1, 6, 1.0}));

TEST(NonlinearInductance, ActsAsItsIncrementalInductance) {
  // flux = c i^beta with beta = 1 is a linear inductance c.
  Schematic linear;
  buildPair(linear, K::nlL, "0,1/1/1", K::Rez, "10");
  Schematic reference;
  buildPair(reference, K::Ind, "0,1/1", K::Rez, "10");
  Simulation a, b;
  a.setSampleCount(100);
  b.setSampleCount(100);
  ASSERT_TRUE(a.transientRun(linear, 0, 0.05, 0).ok());
  ASSERT_TRUE(b.transientRun(reference, 0, 0.05, 0).ok());
  const auto x = trace(a, "I(Lv1)");
  const auto y = trace(b, "I(L1)");
  for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(x[k], y[k], 1e-12) << k;
  EXPECT_NEAR(x[0], 1.0 / (1.0 + 5e-4 * 10 / 0.1), 1e-12);
}

TEST(NonlinearCapacitance, ActsAsItsIncrementalCapacitance) {
  Schematic linear;
  buildPair(linear, K::nlC, "1u/1/10", K::Rez, "1k");
  Simulation sim;
  sim.setSampleCount(100);
  ASSERT_TRUE(sim.transientRun(linear, 0, 1e-3, 0).ok());
  const double decay = 1.0 / (1.0 + 1e-5 / 1e-3);
  EXPECT_NEAR(trace(sim, "U(Cv1)")[0], 10.0 * decay, 1e-9);
  EXPECT_NEAR(trace(sim, "U(Cv1)")[99], 10.0 * std::pow(decay, 100), 1e-9);
}

}  // namespace
