#include "engine/machine_models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/machine_elements.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::buildLoop;
using wolterix::testing::CircuitBuilder;
using wolterix::testing::trace;
using K = ElementKind;

// P U I n Rt Lt a b c load J f I(0) n(0)
const std::string kMotor = "1k/220/5/1500/2/20m/2/0/0/0/0,05/100/0/0";

TEST(DcMotor, PassiveLoadActsOnlyOnceTheShaftTurns) {
  Schematic s;
  auto& element = CircuitBuilder(s).element(K::sDC, 10, 10, 3, kMotor);
  DcMotorModel passive(element);
  passive.resetState();
  passive.companion(1e-3, 0, SubBranchCode::Single);
  EXPECT_EQ(passive.motorSpeed(), 0.0);  // 2 Nm of load, yet no torque at standstill

  static_cast<SilnikDC&>(element).setActiveLoad(true);
  DcMotorModel active(element);
  active.resetState();
  active.companion(1e-3, 0, SubBranchCode::Single);
  EXPECT_LT(active.motorSpeed(), 0.0);  // an active load drives the shaft backwards

  // Constants from the rating: kT = P/(I wn), kE = (U - I Rt)/wn.
  const double wn = 1500 * 3.141592654 / 30;
  EXPECT_NEAR(passive.torqueConstant(), 1000.0 / (5 * wn), 1e-9);
  EXPECT_NEAR(passive.voltageConstant(), (220.0 - 5 * 2) / wn, 1e-9);
}

TEST(DcMotor, StartsUpTowardsItsRatedSpeed) {
  Schematic s;
  buildLoop(s, "st/220/0", K::sDC, kMotor, "1m");
  Simulation sim;
  sim.setSampleCount(500);
  ASSERT_TRUE(sim.transientRun(s, 0, 2.0, 2).ok());
  const auto n = trace(sim, "n(S1)");
  const auto i = trace(sim, "I(S1)");
  EXPECT_GT(*std::max_element(i.begin(), i.begin() + 50), 50.0);  // inrush, small back EMF
  EXPECT_GT(n.back(), 1400.0);  // near the rated 1500 rpm under its light load
  EXPECT_LT(n.back(), 1600.0);
  EXPECT_LT(std::abs(i.back()), 5.0);  // settles below the rated current
  for (std::size_t k = 1; k < n.size(); ++k) EXPECT_GE(n[k], n[k - 1] - 1e-6) << k;
}

TEST(DcMotor, ZeroInertiaOrImpedanceIsRefused) {
  Schematic s;
  buildLoop(s, "st/220/0", K::sDC, "1k/220/5/1500/2/20m/2/0/0/0/0/100/0/0", "1m");
  Simulation sim;
  EXPECT_EQ(sim.transientRun(s, 0, 1e-3, 0).lines,
            std::vector<std::string>{"[1] Brak parametrów: Element \"S1\"."});
  s.findElement("S1")->parseParameters(nullptr, "1k/220/5/1500/0/0/2/0/0/0/1/100/0/0");
  EXPECT_EQ(sim.transientRun(s, 0, 1e-3, 0).code, 1);
}

// Steady state of the separately excited motor on an ideal source through R: kT i balances
// the load torque a, and the source voltage the armature drop plus kE w.
double steadySpeedRpm(double source, double seriesR) {
  const double wn = 1500 * 3.141592654 / 30;
  const double kT = 1000.0 / (5 * wn);
  const double kE = (220.0 - 5 * 2) / wn;
  const double i = 2.0 / kT;
  return (source - (2.0 + seriesR) * i) / kE * 30 / 3.141592654;
}

TEST(DcMotor, NoStepIsTooLongForASmallInertia) {
  // J = 1 m kg m^2: the explicit mechanics used to blow up within seconds at these steps.
  Schematic s;
  buildLoop(s, "st/220/0", K::sDC, "1k/220/5/1500/2/20m/2/0/0/0/1m/100/0/0", "0,1");
  Simulation sim;
  sim.setSampleCount(944);
  for (const double T : {8.0, 100.0}) {
    const RunResult r = sim.transientRun(s, 0, T, 0);
    ASSERT_TRUE(r.ok()) << T << ": " << (r.lines.empty() ? "" : r.lines.front());
    const auto n = trace(sim, "n(S1)");
    EXPECT_NEAR(n.back(), steadySpeedRpm(220, 0.1), 0.1) << T;
    for (double p : trace(sim, "P(S1)")) ASSERT_TRUE(std::isfinite(p)) << T;
  }
  // The example's own inertia over a long run as well.
  Schematic example;
  buildLoop(example, "st/220/0", K::sDC, kMotor, "0,1");
  ASSERT_TRUE(sim.transientRun(example, 0, 200.0, 0).ok());
  EXPECT_NEAR(trace(sim, "n(S1)").back(), steadySpeedRpm(220, 0.1), 0.1);
}

TEST(Bounds, ARunBeyondAnyPhysicalMagnitudeEndsAsAFatalError) {
  Schematic s;
  // 1e30 V across 1 pOhm: finite numbers, but no result.
  buildLoop(s, "st/999999999999999999T/0", K::Rez, "1p", "1p");
  Simulation sim;
  sim.setSampleCount(10);
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  EXPECT_EQ(r.code, -2);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0], "[1] Fatalny błąd symulacji!");
  EXPECT_EQ(r.lines[1].rfind("[2] ", 0), 0u);
  // 1e24 V is large but still a result.
  Schematic large;
  buildLoop(large, "st/1000000000000T/0", K::Rez, "1k");
  EXPECT_TRUE(sim.transientRun(large, 0, 1e-3, 0).ok());
}

TEST(Bjt, AStepAcceptedAfterItsSixthSolveKeepsTheConductanceItUsed) {
  Schematic s;
  auto& element = CircuitBuilder(s).element(K::BJT, 20, 15, 3, "npn/1k/1m/100/10u");
  BjtModel bjt(element);
  bjt.setNode(1, 1);                      // emitter
  bjt.setNode(kInternalNodeTerminal, 2);  // internal node
  bjt.resetState();
  bjt.companion(1e-3, 0, SubBranchCode::BjtEmitter);  // inactive: 1e-6 S
  const std::vector<double> v{0.0, 0.0, 1.0};
  ASSERT_TRUE(bjt.checkState(v));  // the last check flips it to active
  bjt.commitStep(v, 1e-3, 0);
  // X = 1e-6 S * (0 - 1 V), as the step solved it; the collector's source follows from X.
  const BranchStamp collector = bjt.companion(1e-3, 0, SubBranchCode::BjtCollector);
  EXPECT_NEAR(collector.J, (100 + 1e-3) * -1e-6 / 101, 1e-15);
}

TEST(Bjt, RunsActiveAndRefusesZeroH12AndH22) {
  // Collector (terminal 0) on the left through R1 to +10 V, emitter (terminal 1) to ground,
  // base (below the centre) fed through R3 from the same supply.
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Nap, 10, 20, 1, "st/10/0");            // + at (10, 19)
  b.element(K::Rez, 14, 15, 3, "1k");                 // (13,15)-(15,15)
  b.element(K::BJT, 20, 15, 3, "npn/1k/1m/100/10u");  // C (19,15), E (21,15), B (20,16)
  b.element(K::Rez, 16, 18, 1, "100k");               // (16,19) bottom, (16,17) top
  b.wire(10, 19, 10, 15);
  b.wire(10, 15, 13, 15);
  b.wire(15, 15, 19, 15);
  b.wire(10, 19, 16, 19);
  b.wire(16, 17, 20, 17);
  b.wire(20, 17, 20, 16);
  b.wire(21, 15, 24, 15);
  b.wire(24, 15, 24, 22);
  b.wire(10, 21, 10, 22);
  b.wire(10, 22, 24, 22);
  Simulation sim;
  sim.setSampleCount(20);
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  ASSERT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
  EXPECT_TRUE(static_cast<const BjtModel&>(*sim.models()[2]).active());
  for (double i : trace(sim, "I(B1)")) EXPECT_TRUE(std::isfinite(i));

  s.findElement("B1")->parseParameters(nullptr, "npn/1k/0/100/10u");
  EXPECT_EQ(sim.transientRun(s, 0, 1e-3, 0).lines,
            std::vector<std::string>{"[1] Brak parametrów: Element \"B1\"."});
}

}  // namespace
