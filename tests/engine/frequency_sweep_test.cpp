#include "engine/frequency_sweep.h"

#include <gtest/gtest.h>

#include <cmath>

#include "bench/circuits.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;

constexpr double kTwoPi = 6.283185308;

// Transfer workspace: the input U1 (terminal 1 on top) drives A (top) into B (vertical,
// terminal 0 on top) and back.
void buildDivider(Schematic& s, K a, const std::string& aParams, K b, const std::string& bParams) {
  s.setTransferMode(true);
  CircuitBuilder builder(s);
  builder.element(K::nWe, 10, 10, 1, "0");
  builder.element(a, 14, 8, 3, aParams);
  builder.element(b, 16, 10, 5, bParams);
  builder.wire(10, 9, 10, 8);
  builder.wire(10, 8, 13, 8);
  builder.wire(15, 8, 16, 8);
  builder.wire(16, 8, 16, 9);
  builder.wire(10, 11, 10, 12);
  builder.wire(10, 12, 16, 12);
  builder.wire(16, 12, 16, 11);
}

std::vector<Complex> transfer(const Simulation& sim, const std::string& name) {
  const auto t = sim.transferStore().trace(name);
  EXPECT_TRUE(t.has_value()) << name;
  return t.value_or(std::vector<Complex>{});
}

TEST(FrequencySweep, RcLowPassIsThreeDecibelsDownAtItsCorner) {
  Schematic s;
  buildDivider(s, K::Rez, "1k", K::Poj, "1u");
  const double corner = 1.0 / (kTwoPi * 1000.0 * 1e-6);
  Simulation sim;
  sim.setSampleCount(10);
  ASSERT_TRUE(sim.frequencySweep(s, corner, 10 * corner).ok());
  const auto k = transfer(sim, "K(C1)");
  ASSERT_EQ(k.size(), 11u);
  EXPECT_NEAR(std::abs(k[0]), 1.0 / std::sqrt(2.0), 1e-6);
  EXPECT_NEAR(std::arg(k[0]), -kTwoPi / 8, 1e-6);
  EXPECT_NEAR(std::abs(k[10]), 1.0 / std::sqrt(101.0), 1e-6);
  // The input itself reads 1 V.
  EXPECT_NEAR(std::abs(transfer(sim, "K(U1)")[3]), 1.0, 1e-6);
}

TEST(FrequencySweep, DecadeOnAFullScreenGives945Points) {
  Schematic s;
  buildDivider(s, K::Rez, "1k", K::Rez, "1k");
  Simulation sim;
  sim.setSampleCount(944);
  ASSERT_TRUE(sim.frequencySweep(s, 100, 1000).ok());
  const FrequencyStore& store = sim.transferStore();
  EXPECT_EQ(store.pointCount, 945);
  EXPECT_NEAR(store.ratio, std::pow(10.0, 1.0 / 944), 1e-15);
  EXPECT_DOUBLE_EQ(store.frequency(0), 100.0);
  EXPECT_DOUBLE_EQ(store.frequency(944), 1000.0);
  EXPECT_NEAR(store.frequency(472), std::sqrt(10.0) * 100.0, 1e-9);
  for (const Complex& k : transfer(sim, "K(R2)")) EXPECT_NEAR(k.real(), 0.5, 1e-6);
}

TEST(FrequencySweep, ResonantLcNeedsARowExchangeNotARefusal) {
  // At resonance the node between L and C has a zero (or tiny) natural pivot.
  Schematic s;
  buildDivider(s, K::Ind, "10m", K::Poj, "1u");
  const double resonance = 1.0 / (kTwoPi * std::sqrt(10e-3 * 1e-6));
  Simulation sim;
  sim.setSampleCount(4);
  ASSERT_TRUE(sim.frequencySweep(s, resonance, 2 * resonance).ok());
  const auto k = transfer(sim, "K(C1)");
  for (const Complex& v : k) EXPECT_TRUE(std::isfinite(v.real()) && std::isfinite(v.imag()));
  // Above resonance the series circuit's capacitor voltage is 1 / (1 - (f/f0)^2).
  const double f = sim.transferStore().frequency(4);
  EXPECT_NEAR(k[4].real(), 1.0 / (1.0 - std::pow(f / resonance, 2)), 1e-3);
}

TEST(FrequencySweep, TinyAgainstHugeAdmittancesIsNoSingularity) {
  // 1 MOhm - 1 nH - 1 MOhm: at 1 Hz the inductor's admittance is 1e14 times a resistor's.
  Schematic s;
  s.setTransferMode(true);
  CircuitBuilder b(s);
  b.element(K::nWe, 10, 10, 1, "0");
  b.element(K::Rez, 14, 8, 3, "1M");
  b.element(K::Ind, 18, 8, 3, "1n");
  b.element(K::Rez, 20, 10, 5, "1M");
  b.wire(10, 9, 10, 8);
  b.wire(10, 8, 13, 8);
  b.wire(15, 8, 17, 8);
  b.wire(19, 8, 20, 8);
  b.wire(20, 8, 20, 9);
  b.wire(10, 11, 10, 12);
  b.wire(10, 12, 20, 12);
  b.wire(20, 12, 20, 11);
  Simulation sim;
  sim.setSampleCount(10);
  const RunResult r = sim.frequencySweep(s, 1, 1e6);
  ASSERT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
  const auto k = transfer(sim, "K(R2)");
  for (std::size_t i = 0; i < k.size(); ++i) {
    const double w = kTwoPi * sim.transferStore().frequency(static_cast<int>(i));
    const Complex expected = 1e6 / Complex(2e6, w * 1e-9);
    EXPECT_NEAR(std::abs(k[i] - expected), 0.0, 1e-8) << i;
  }
}

TEST(FrequencySweep, TheFilterExamplesHaveTheirShapes) {
  Simulation sim;
  sim.setSampleCount(2);
  // R-L-C band-pass: the whole input across R at 1/(2 pi sqrt(LC)), phase 0.
  Schematic band;
  ASSERT_TRUE(wolterix::bench::loadExample(band, "pasmowy.wtx"));
  const double f0 = 1.0 / (kTwoPi * std::sqrt(10e-3 * 1e-6));
  ASSERT_TRUE(sim.frequencySweep(band, f0, 100 * f0).ok());
  EXPECT_NEAR(std::abs(transfer(sim, "K(R1)")[0] - Complex(1.0, 0.0)), 0.0, 1e-6);
  // Two R-C stages: -40 dB a decade far above their corners.
  Schematic low;
  ASSERT_TRUE(wolterix::bench::loadExample(low, "filtr2.wtx"));
  ASSERT_TRUE(sim.frequencySweep(low, 1e6, 1e8).ok());
  const auto k = transfer(sim, "K(C2)");
  EXPECT_NEAR(20 * std::log10(std::abs(k[0]) / std::abs(k[1])), 40.0, 0.1);
}

TEST(FrequencySweep, NodeReachedOnlyByOpenBranchesIsSingular) {
  Schematic s;
  buildDivider(s, K::Rez, "1k", K::Rez, "1k");
  CircuitBuilder(s).element(K::Dio, 30, 30);  // open here, and on nodes of its own
  Simulation sim;
  sim.setSampleCount(4);
  const RunResult r = sim.frequencySweep(s, 10, 100);
  EXPECT_EQ(r.code, -1);
  EXPECT_EQ(r.lines, std::vector<std::string>{"[1] Niepołączony element lub grupa elementów."});

  // A separate part has no reference of its own in this analysis.
  Schematic parts;
  buildDivider(parts, K::Rez, "1k", K::Rez, "1k");
  CircuitBuilder b(parts);
  b.element(K::Rez, 40, 10, 1, "1k");
  b.element(K::Rez, 44, 10, 1, "1k");
  b.wire(40, 9, 44, 9);
  b.wire(40, 11, 44, 11);
  EXPECT_EQ(sim.frequencySweep(parts, 10, 100).code, -1);
}

TEST(FrequencySweep, WithoutAnInputEverythingIsZero) {
  Schematic s;
  s.setTransferMode(true);
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10, 1, "1k");
  b.element(K::Rez, 14, 10, 1, "2k");
  b.wire(10, 9, 14, 9);
  b.wire(10, 11, 14, 11);
  Simulation sim;
  sim.setSampleCount(4);
  ASSERT_TRUE(sim.frequencySweep(s, 10, 100).ok());
  for (const Complex& v : transfer(sim, "K(R2)")) EXPECT_EQ(std::abs(v), 0.0);
}

TEST(FrequencySweep, RefusesAnEmptyOrReversedRangeAndReportsChecks) {
  Schematic s;
  buildDivider(s, K::Rez, "1k", K::Poj, "?");
  Simulation sim;
  for (auto [f1, f2] : {std::pair{0.0, 10.0}, {10.0, 10.0}, {100.0, 10.0}, {-1.0, 10.0}})
    EXPECT_EQ(sim.frequencySweep(s, f1, f2).lines,
              std::vector<std::string>{"[1] Niewłaściwa wartość liczbowa."});
  EXPECT_EQ(sim.frequencySweep(s, 10, 100).lines,
            std::vector<std::string>{"[1] Brak parametrów: Element \"C1\"."});
}

TEST(ComplexSolver, PivotsOnlyWhenItMustAndRefusesSingularMatrices) {
  // n = 3: rows 0..2 of 4 columns. Row 1 (x2 = 2) has a zero diagonal; row 2 is x1 + x2 = 3.
  std::vector<Complex> m = {0, 0, 0, 0, 0, 0, 1, 2, 0, 1, 1, 3};
  ASSERT_TRUE(solveNodalComplex(m, 3));
  EXPECT_NEAR(std::abs(m[1 * 4 + 3] - Complex(1, 0)), 0.0, 1e-15);
  EXPECT_NEAR(std::abs(m[2 * 4 + 3] - Complex(2, 0)), 0.0, 1e-15);

  std::vector<Complex> singular = {
      0, 0, 0, 0, 0, Complex(0, 1), Complex(0, -1), 0, 0, Complex(0, -1), Complex(0, 1), 0};
  EXPECT_FALSE(solveNodalComplex(singular, 3));
  std::vector<Complex> open = {0, 0, 0, 0, 0, 1};
  EXPECT_FALSE(solveNodalComplex(open, 2));
}

}  // namespace
