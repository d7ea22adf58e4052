#include "engine/transient_run.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/network.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::buildLoop;
using wolterix::testing::buildPair;
using wolterix::testing::CircuitBuilder;
using wolterix::testing::trace;
using K = ElementKind;

TEST(TransientRun, DividerGivesItsRatio) {
  Schematic s;
  buildLoop(s, "st/12/0", K::Rez, "3k");
  Simulation sim;
  sim.setSampleCount(10);
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  ASSERT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines[0]);
  EXPECT_EQ(sim.store().sampleCount, 11);  // samples 0..N
  // Rw = 0 acts as 0.1 mOhm.
  const double expected = 12.0 * 3000.0 / (4000.0 + 0.0001);
  for (double u : trace(sim, "U(R2)")) EXPECT_NEAR(u, expected, 1e-9);
  for (double u : trace(sim, "U(E1)")) EXPECT_NEAR(u, 12.0 * 4000.0 / 4000.0001, 1e-9);
  // Power: the source gives, the resistors take.
  EXPECT_LT(trace(sim, "P(E1)")[5], 0.0);
  EXPECT_NEAR(trace(sim, "P(R2)")[5], expected * expected / 3000.0, 1e-9);
  EXPECT_NEAR(trace(sim, "I(R1)")[5], expected / 3000.0, 1e-12);
}

TEST(TransientRun, RcChargeFollowsTheBackwardEulerRecurrence) {
  Schematic s;
  buildLoop(s, "st/10/0", K::Poj, "1u/0");
  Simulation sim;
  const int n = 100;
  sim.setSampleCount(n);
  const double T = 5e-3;
  ASSERT_TRUE(sim.transientRun(s, 0, T, 0).ok());
  const double h = T / n;
  const double rc = (1000.0 + 0.0001) * 1e-6;
  const auto u = trace(sim, "U(C1)");
  ASSERT_EQ(u.size(), static_cast<std::size_t>(n + 1));
  double expected = 0.0;
  for (int k = 0; k <= n; ++k) {
    expected = (expected * rc + 10.0 * h) / (rc + h);  // sample k is the solve at t = k*h
    EXPECT_NEAR(u[k], expected, 1e-9 * std::abs(expected)) << k;
  }
}

TEST(TransientRun, InitialConditionsFollowTheArrows) {
  Schematic s;
  buildPair(s, K::Poj, "1u/10", K::Rez, "1k");
  Simulation sim;
  sim.setSampleCount(50);
  ASSERT_TRUE(sim.transientRun(s, 0, 1e-3, 0).ok());
  const double h = 1e-3 / 50;
  const double decay = 1.0 / (1.0 + h / (1000.0 * 1e-6));
  const auto u = trace(sim, "U(C1)");
  EXPECT_NEAR(u[0], 10.0 * decay, 1e-9);
  EXPECT_NEAR(u[10], 10.0 * std::pow(decay, 11), 1e-9);

  // With the voltage arrow reversed the initial voltage counts the other way; read through
  // the same arrow it shows the same decay.
  s.findElement("C1")->voltageDirection = false;
  ASSERT_TRUE(sim.transientRun(s, 0, 1e-3, 0).ok());
  EXPECT_NEAR(trace(sim, "U(C1)")[0], 10.0 * decay, 1e-9);
  EXPECT_NEAR(trace(sim, "U(R1)")[0], -10.0 * decay, 1e-9);
}

TEST(TransientRun, InductorStartsFromItsInitialCurrent) {
  Schematic s;
  buildPair(s, K::Ind, "1/1", K::Rez, "1");
  s.findElement("L1")->setCurrentDirection(false);
  Simulation sim;
  sim.setSampleCount(10);
  ASSERT_TRUE(sim.transientRun(s, 0, 1e-3, 0).ok());
  // Reversed arrow: -1 A along the branch, read back through the same arrow as +1 A, and
  // decaying by h/L*R per step.
  const double h = 1e-4;
  EXPECT_NEAR(trace(sim, "I(L1)")[0], 1.0 / (1.0 + h), 1e-12);
  EXPECT_NEAR(sim.store().branchRow(0)[0], -1.0 / (1.0 + h), 1e-12);
}

TEST(TransientRun, SineSourcePeaksAtItsRmsTimesRootTwo) {
  Schematic s;
  buildLoop(s, "sin/230/0/50/0", K::Rez, "1M", "1m");
  Simulation sim;
  sim.setSampleCount(400);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 0).ok());
  const auto u = trace(sim, "U(R2)");
  EXPECT_NEAR(*std::max_element(u.begin(), u.end()), 325.27, 0.01);
  EXPECT_NEAR(u[100], 325.27, 0.01);  // a quarter period
}

TEST(TransientRun, ControlledSourceFollowsOneStepLate) {
  Schematic s;
  buildLoop(s, "tr/1/0/50/0", K::Rez, "1k");
  CircuitBuilder b(s);
  b.element(K::zsN, 30, 10, 1, "2/U(R2)/0");
  b.element(K::Rez, 34, 10, 1, "1k");
  b.wire(30, 9, 34, 9);
  b.wire(30, 11, 34, 11);
  Simulation sim;
  sim.setSampleCount(200);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 0).ok());
  const auto steer = trace(sim, "U(R2)");
  const auto driven = trace(sim, "U(R3)");
  EXPECT_NEAR(driven[0], 0.0, 1e-12);
  // zsN with its arrows as created: E = k * X between terminal 1 and terminal 0.
  for (int k = 1; k < 200; ++k) EXPECT_NEAR(driven[k], -2.0 * steer[k - 1], 1e-6) << k;
}

TEST(TransientRun, SeparatePartsEachGetAReference) {
  Schematic s;
  buildLoop(s, "st/10/0", K::Rez, "1k");
  CircuitBuilder b(s);
  b.element(K::Prd, 40, 10, 1, "st/1m/0");
  b.element(K::Rez, 44, 10, 1, "2k");
  b.wire(40, 9, 44, 9);
  b.wire(40, 11, 44, 11);
  Simulation sim;
  sim.setSampleCount(4);
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  ASSERT_TRUE(r.ok());
  EXPECT_NEAR(std::abs(trace(sim, "U(R3)")[2]), 2.0, 1e-6);
  EXPECT_NEAR(trace(sim, "U(R2)")[2], 5.0, 1e-6);
}

TEST(TransientRun, NodeReachedOnlyThroughTheInputVoltageIsSingular) {
  Schematic s;
  buildLoop(s, "st/10/0", K::Rez, "1k");
  CircuitBuilder(s).element(K::nWe, 40, 40);  // its second node has no other connection
  Simulation sim;
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  EXPECT_EQ(r.code, -1);
  EXPECT_EQ(r.lines, std::vector<std::string>{"[1] Niepołączony element lub grupa elementów."});
}

TEST(TransientRun, ChecksNumberEveryFaultAndRunNothing) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10);           // R missing
  b.element(K::Rez, 20, 10, 3, "1k");  // shorted below
  b.wire(19, 10, 19, 12);
  b.wire(19, 12, 21, 12);
  b.wire(21, 12, 21, 10);
  b.element(K::Poj, 30, 10);  // C missing
  Simulation sim;
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.lines, (std::vector<std::string>{
                         "[1] Brak parametrów: Element \"R1\".",
                         "[2] Niedozwolone bezpośrednie zwarcie końcówek: Element \"R2\".",
                         "[3] Brak parametrów: Element \"C1\"."}));
  EXPECT_EQ(sim.store().sampleCount, 0);
}

TEST(TransientRun, SourceSteeredByADeletedElementLosesItsQuantity) {
  Schematic s;
  buildLoop(s, "st/10/0", K::Rez, "1k");
  CircuitBuilder b(s);
  auto& es = b.element(K::zsN, 30, 10, 1, "2/U(R2)/0");
  b.element(K::Rez, 34, 10, 1, "1k");
  b.wire(30, 9, 34, 9);
  b.wire(30, 11, 34, 11);
  s.destroy(s.findElement("R2"));
  Simulation sim;
  const RunResult r = sim.transientRun(s, 0, 1e-3, 0);
  EXPECT_EQ(es.controlText(), "");
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.front(), "[1] Brak parametrów: Element \"Es1\".");
}

TEST(TransientRun, ReportsEachPerCentOnceInOrder) {
  Schematic s;
  buildLoop(s, "sin/10/0/50/0", ElementKind::Rez, "1k");
  Simulation sim;
  sim.setSampleCount(37);
  for (const int k : {0, 6}) {
    std::vector<int> reported;
    RunCallbacks callbacks;
    callbacks.progress = [&](int percent) { reported.push_back(percent); };
    ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, k, false, callbacks).ok());
    // 37 steps cannot show every per cent; 37 * 64 do.
    std::vector<int> expected;
    const long long steps = 37LL << k;
    for (long long step = 0; step <= steps; ++step)
      if (expected.empty() || step * 100 / steps != expected.back())
        expected.push_back(static_cast<int>(step * 100 / steps));
    EXPECT_EQ(reported, expected) << k;
  }
}

TEST(TransientRun, SampleCountDoesNotDependOnIterations) {
  Schematic s;
  buildLoop(s, "sin/10/0/50/0", K::Poj, "10u/0");
  Simulation sim;
  sim.setSampleCount(944);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 0).ok());
  EXPECT_EQ(sim.store().sampleCount, 945);
  EXPECT_NEAR(sim.store().spacing, 20e-3 / 944, 1e-15);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 6).ok());
  EXPECT_EQ(sim.store().sampleCount, 945);
  EXPECT_NEAR(sim.store().spacing, 20e-3 / 944, 1e-15);
}

TEST(TransientRun, ContinuedRunRepeatsTheLastSample) {
  Schematic s;
  buildLoop(s, "sin/10/0/50/0", K::Poj, "10u/0");
  Simulation sim;
  sim.setSampleCount(100);
  ASSERT_TRUE(sim.transientRun(s, 0, 10e-3, 2).ok());
  const auto first = trace(sim, "U(C1)");
  const double joint = sim.continuationTime();
  EXPECT_NEAR(joint, sim.store().startTime + (first.size() - 1) * sim.store().spacing, 1e-12);

  ASSERT_TRUE(sim.transientRun(s, joint, 10e-3, 2).ok());
  EXPECT_DOUBLE_EQ(sim.store().startTime, joint);
  const auto second = trace(sim, "U(C1)");
  EXPECT_NEAR(second.front(), first.back(), 1e-12);

  // The continuation equals one long run.
  Simulation whole;
  whole.setSampleCount(200);
  ASSERT_TRUE(whole.transientRun(s, 0, 20e-3, 2).ok());
  EXPECT_NEAR(trace(whole, "U(C1)")[150], second[50], 1e-6);
}

TEST(TransientRun, ContinuationNeedsTheSameCircuit) {
  Schematic s;
  buildLoop(s, "st/10/0", K::Poj, "1u/0");
  Simulation sim;
  sim.setSampleCount(10);
  // Before any run "continue" starts from 0.
  ASSERT_TRUE(sim.transientRun(s, 5e-3, 1e-3, 0).ok());
  EXPECT_EQ(sim.store().startTime, 0.0);
  const double joint = sim.continuationTime();
  ASSERT_TRUE(sim.transientRun(s, joint, 1e-3, 0).ok());
  EXPECT_EQ(sim.store().startTime, joint);

  s.findElement("R1")->showName = true;  // drawing only: still the same circuit
  ASSERT_TRUE(sim.transientRun(s, sim.continuationTime(), 1e-3, 0).ok());
  EXPECT_GT(sim.store().startTime, 0.0);

  s.findElement("R1")->setParameter(0, "2k");  // a different circuit: start again
  ASSERT_TRUE(sim.transientRun(s, sim.continuationTime(), 1e-3, 0).ok());
  EXPECT_EQ(sim.store().startTime, 0.0);
  EXPECT_NEAR(trace(sim, "U(C1)")[0], 10.0 * (1e-4) / (2000.0001e-6 + 1e-4), 1e-9);
}

TEST(TransientRun, RefusesWhatCannotRun) {
  Schematic empty;
  CircuitBuilder(empty).wire(0, 0, 5, 0);
  Simulation sim;
  EXPECT_EQ(sim.transientRun(empty, 0, 1e-3, 0).lines,
            std::vector<std::string>{"[1] Schemat nie zawiera żadnego elementu."});

  Schematic s;
  buildLoop(s, "st/10/0", K::Rez, "1k");
  for (double T : {0.0, -1.0, std::nan("")}) {
    const RunResult r = sim.transientRun(s, 0, T, 0);
    EXPECT_EQ(r.code, 1) << T;
    EXPECT_EQ(r.lines, std::vector<std::string>{"[1] Niewłaściwa wartość liczbowa."});
  }
  EXPECT_EQ(sim.transientRun(s, 1e30, 1e-3, 0).code, 1);  // the step would not advance t
}

// A model that hands out a source current that is not a number.
class BrokenModel final : public ElementModel {
 public:
  using ElementModel::ElementModel;
  BranchStamp companion(double, double, SubBranchCode) override { return {1.0, std::nan("")}; }
};

TEST(Network, NonFiniteSolutionIsAFatalError) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(K::Rez, 10, 10, 3, "1k");
  std::vector<std::unique_ptr<ElementModel>> models;
  models.push_back(std::make_unique<BrokenModel>(r));
  models.back()->setNode(1, 1);
  Network network;
  network.build(models, 2, true);
  EXPECT_EQ(network.solveStep(1e-3, 0.0), -2);
}

TEST(Network, SolvesWithoutPivotingLikeTheClosedForm) {
  // Node 1: 2 S to ground, 1 S to node 2, 1 A in. Node 2: 1 S to node 1, 3 S to ground.
  std::vector<double> m = {0, 0, 0, 0, 0, 3, -1, 1, 0, -1, 4, 0};
  ASSERT_TRUE(solveNodal(m, 3));
  EXPECT_NEAR(m[1 * 4 + 3], 4.0 / 11.0, 1e-15);
  EXPECT_NEAR(m[2 * 4 + 3], 1.0 / 11.0, 1e-15);
  std::vector<double> singular = {0, 0, 0, 0, 0, 1, -1, 0, 0, -1, 1, 0};
  EXPECT_FALSE(solveNodal(singular, 3));
  std::vector<double> untouched = {0, 0, 0, 0, 0, 1};
  EXPECT_FALSE(solveNodal(untouched, 2));  // a zero diagonal no elimination reached
}

}  // namespace

#include <atomic>

#include "bench/circuits.h"
#include "model/waveform_names.h"

namespace {

// Kept for some waveforms, a run stores fewer rows and gives exactly the samples the full
// run gives for those waveforms; the others read as absent. Every family with extra
// branches or rows is among these examples.
TEST(TransientRun, KeepsOnlyTheRowsOfTheChosenWaveformsAndTheirExactSamples) {
  for (const char* example : {"mostek.wtx", "silnik.wtx", "transformator.wtx", "tranzystor.wtx",
                              "cewki.wtx", "dzielnik.wtx"}) {
    wolterix::model::Schematic s;
    ASSERT_TRUE(wolterix::bench::loadExample(s, example)) << example;
    const std::vector<std::string> all = wolterix::model::waveformList(s);
    wolterix::engine::Simulation full;
    full.setSampleCount(50);
    ASSERT_TRUE(full.transientRun(s, 0.0, 0.02, 1).ok()) << example;

    // Voltages and speeds read no branch row, currents no node row.
    for (const std::string quantities : {"Un", "I"}) {
      std::vector<std::string> chosen;
      for (const std::string& wave : all)
        if (quantities.find(wave.front()) != std::string::npos) chosen.push_back(wave);
      wolterix::engine::Simulation some;
      some.setSampleCount(50);
      some.setRecordedWaveforms(chosen);
      ASSERT_TRUE(some.transientRun(s, 0.0, 0.02, 1).ok()) << example;
      EXPECT_LT(some.resultBytes(), full.resultBytes()) << example << " " << quantities;
      for (const std::string& wave : all) {
        const auto kept = some.store().trace(wave);
        if (quantities.find(wave.front()) != std::string::npos) {
          ASSERT_TRUE(kept.has_value()) << example << " " << wave;
          EXPECT_EQ(*kept, *full.store().trace(wave)) << example << " " << wave;
        } else if (wave.front() != 'P') {
          EXPECT_FALSE(kept.has_value()) << example << " " << wave;
        }
      }
    }
  }
}

TEST(TransientRun, LimitsRefuseTooLargeResultsAndStopOnTheFlag) {
  wolterix::model::Schematic s;
  ASSERT_TRUE(wolterix::bench::loadExample(s, "rc.wtx"));
  wolterix::engine::Simulation sim;
  sim.setSampleCount(1000);
  sim.setLimits({1000, nullptr});
  const auto refused = sim.transientRun(s, 0.0, 0.01, 0);
  EXPECT_EQ(refused.code, wolterix::engine::kResultsTooLarge);
  EXPECT_GT(sim.resultBytes(), 1000u);
  EXPECT_EQ(sim.store().sampleCount, 0);

  const std::atomic<bool> stop{true};
  sim.setLimits({0, &stop});
  EXPECT_EQ(sim.transientRun(s, 0.0, 0.01, 0).code, wolterix::engine::kStopped);
  EXPECT_LT(sim.store().sampleCount, 1001);
}

}  // namespace
