#include "engine/magnetic_models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::acRms;
using wolterix::testing::buildTwoWindingCircuit;
using wolterix::testing::CircuitBuilder;
using wolterix::testing::trace;
using K = ElementKind;
using Complex = std::complex<double>;

constexpr double kOmega = 2.0 * 3.14159265358979 * 50.0;

struct Steady {
  double load;     // RMS voltage on R2
  double primary;  // RMS current in R1
};

// Runs T seconds in N samples with setting k and measures the last 20 ms. The magnetising
// current's offset from switching on decays over seconds, so the alternating part is measured.
Steady simulate(Schematic& s, double T, int samples, int k) {
  Simulation sim;
  sim.setSampleCount(samples);
  const RunResult r = sim.transientRun(s, 0, T, k);
  EXPECT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
  const auto perPeriod = static_cast<std::size_t>(std::lround(20e-3 / sim.store().spacing));
  auto u = trace(sim, "U(R2)");
  auto i = trace(sim, "I(R1)");
  u.pop_back();  // the last sample closes the period
  i.pop_back();
  return {acRms(u, u.size() - perPeriod), acRms(i, i.size() - perPeriod)};
}

// Phasor solution of the coupled coils circuit (RMS values).
Steady coilsPhasor(double e, double rp, double l1, double l2, double coupling, double load) {
  const double m = std::min(coupling, CoupledCoilsModel::kMaxCoupling) * std::sqrt(l1 * l2);
  const Complex j(0, 1);
  const Complex a = rp + j * kOmega * l1, b = j * kOmega * m, d = load + j * kOmega * l2;
  const Complex det = a * d - b * b;
  const Complex i1 = e * d / det;
  const Complex i2 = -e * b / det;
  return {std::abs(i2) * load, std::abs(i1)};
}

TEST(CoupledCoils, AgreeWithThePhasorSolutionAndConverge) {
  for (const char* coupling : {"50", "100"}) {
    SCOPED_TRACE(coupling);
    Schematic s;
    buildTwoWindingCircuit(s, K::Spr, std::string("0,1/0,1/0/0/") + coupling, "sin/230/0/50/0", "1",
                           "1");
    const Steady exact = coilsPhasor(230, 1.0001, 0.1, 0.1, std::stod(coupling) / 100.0, 1.0);
    const Steady coarse = simulate(s, 1.0, 2000, 0);
    const Steady fine = simulate(s, 1.0, 2000, 4);
    EXPECT_NEAR(fine.load, exact.load, 0.01 * exact.load);
    EXPECT_NEAR(fine.primary, exact.primary, 0.01 * exact.primary);
    EXPECT_LT(std::abs(fine.load - exact.load), std::abs(coarse.load - exact.load));
  }
}

TEST(CoupledCoils, TinyCouplingGivesTwoIndependentInductors) {
  Schematic coupled;
  buildTwoWindingCircuit(coupled, K::Spr, "0,1/0,2/0/0/1u", "sin/10/0/50/0", "10", "10");
  Simulation sim;
  sim.setSampleCount(200);
  ASSERT_TRUE(sim.transientRun(coupled, 0, 40e-3, 0).ok());
  for (double u : trace(sim, "U(R2)")) EXPECT_NEAR(u, 0.0, 1e-6);

  // The primary current equals that of a lone 0.1 H inductor in the same place.
  Schematic lone;
  wolterix::testing::buildLoop(lone, "sin/10/0/50/0", K::Ind, "0,1/0", "10");
  Simulation reference;
  reference.setSampleCount(200);
  ASSERT_TRUE(reference.transientRun(lone, 0, 40e-3, 0).ok());
  const auto a = trace(sim, "I(R1)");
  const auto b = trace(reference, "I(R1)");
  for (std::size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(a[k], b[k], 1e-6) << k;
}

TEST(CoupledCoils, SwapReversesThePolarityAndTheSecondInitialCurrent) {
  Schematic s;
  buildTwoWindingCircuit(s, K::Spr, "0,1/0,1/0/1/50", "sin/230/0/50/0", "1", "1");
  Simulation sim;
  sim.setSampleCount(100);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 0).ok());
  const auto straight = trace(sim, "U(R2)");
  s.findElement("M1")->setTerminalsSwapped(s.occupancy(), true);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 0).ok());
  const auto swapped = trace(sim, "U(R2)");
  for (std::size_t k = 0; k < straight.size(); ++k) EXPECT_NEAR(swapped[k], -straight[k], 1e-9);
}

// Phasor solution of the transformer's equivalent circuit.
Steady transformerPhasor(const TransformerModel::Equivalent& eq, double u1, double u2, double e,
                         double rp, double load) {
  const Complex j(0, 1);
  const double gsum = eq.gfe1 * u1 * u1 + eq.gfe2 * u2 * u2;
  // Unknowns i1, i2, flux; eliminate the flux: phi = r (u1 i1 + u2 i2) / (1 + j w r gsum).
  const Complex k = eq.r / (1.0 + j * kOmega * eq.r * gsum);
  const Complex a11 = rp + eq.r1 + j * kOmega * eq.leakage1 + j * kOmega * u1 * u1 * k;
  const Complex a12 = j * kOmega * u1 * u2 * k;
  const Complex a22 = load + eq.r2 + j * kOmega * eq.leakage2 + j * kOmega * u2 * u2 * k;
  const Complex det = a11 * a22 - a12 * a12;
  return {std::abs(-e * a12 / det) * load, std::abs(e * a22 / det)};
}

TEST(Transformer, AgreesWithItsEquivalentCircuitAtFineSteps) {
  const double load = 24.0 * 24.0 / 500.0;  // 500 W at 24 V
  for (const char* pfen : {"0", "10"}) {
    SCOPED_TRACE(pfen);
    Schematic s;
    buildTwoWindingCircuit(s, K::Tf1, std::string("1k/230/24/50/4/5/20/") + pfen, "sin/230/0/50/0",
                           "1u", "1,152");
    Simulation probe;
    probe.setSampleCount(10);
    ASSERT_TRUE(probe.transientRun(s, 0, 1e-3, 0).ok());
    const auto& model = static_cast<const TransformerModel&>(*probe.models()[2]);
    const Steady exact = transformerPhasor(model.equivalent(), 230, 24, 230, 1e-4 + 1e-6, load);
    EXPECT_NEAR(exact.load, 23.74, 0.005);
    EXPECT_NEAR(exact.primary, std::string(pfen) == "0" ? 2.163 : 2.206, 0.001);

    const Steady coarse = simulate(s, 0.4, 2000, 0);
    const Steady fine = simulate(s, 0.4, 2000, 6);
    EXPECT_NEAR(fine.load, exact.load, 0.001 * exact.load);
    EXPECT_NEAR(fine.primary, exact.primary, 0.002 * exact.primary);
    EXPECT_LT(std::abs(fine.primary - exact.primary), std::abs(coarse.primary - exact.primary));
    EXPECT_LT(std::abs(fine.load - exact.load), std::abs(coarse.load - exact.load));
  }
}

TEST(Transformer, SecondaryFollowsTheRatioAtLightLoad) {
  Schematic s;
  buildTwoWindingCircuit(s, K::Tf1, "1k/230/24/50/4/5/20/10", "sin/230/0/50/0", "1u", "1k");
  const Steady light = simulate(s, 0.2, 1000, 2);
  EXPECT_NEAR(light.load, 24.0, 0.2);
}

TEST(Transformer, PerUnitLeakageAndRefusedData) {
  Schematic s;
  buildTwoWindingCircuit(s, K::Tf1, "1k/230/24/50/4/5/10/0", "st/1/0", "1", "1");
  Simulation sim;
  sim.setSampleCount(4);
  ASSERT_TRUE(sim.transientRun(s, 0, 1e-3, 0).ok());
  const auto& model = static_cast<const TransformerModel&>(*sim.models()[2]);
  EXPECT_NEAR(model.equivalent().perUnitLeakage, std::sqrt(0.04 * 0.04 - 0.01 * 0.01), 1e-12);

  // Uzr/100 must exceed Pun/S: 4 % against 5 % of copper loss is refused, not rooted.
  s.findElement("Tf1")->parseParameters(nullptr, "1k/230/24/50/4/5/50/0");
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  EXPECT_EQ(r.lines, std::vector<std::string>{"[1] Brak parametrów: Element \"Tf1\"."});
}

}  // namespace
