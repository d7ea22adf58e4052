#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "bench/circuits.h"
#include "engine/transient_run.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::buildLoop;
using wolterix::testing::buildTwoWindingCircuit;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;

// Every stored value of two runs equal to 1e-12 relative, with an absolute floor for values
// near zero: 1e-12 of the largest potential for the nodes, and for the branch currents that
// floor times the largest conductance (the current of a 0.1 mOhm source or a 1e6 S meter is a
// difference of much larger terms).
void expectSameStore(const Simulation& reference, const Simulation& fast, const std::string& what) {
  const WaveformStore& a = reference.store();
  const WaveformStore& b = fast.store();
  ASSERT_EQ(a.sampleCount, b.sampleCount) << what;
  ASSERT_EQ(a.nodeRows(), b.nodeRows()) << what;
  ASSERT_EQ(a.branchRows(), b.branchRows()) << what;
  double voltageScale = 0.0;
  for (int n = 0; n < a.nodeRows(); ++n)
    for (int k = 0; k < a.sampleCount; ++k)
      voltageScale = std::max(voltageScale, std::abs(a.nodeRow(n)[k]));
  double largestConductance = 0.0;
  for (const Branch& branch : fast.network().branches())
    largestConductance = std::max(largestConductance, std::abs(branch.G));
  const auto compare = [&](std::span<const double> x, std::span<const double> y, double floor,
                           const std::string& row) {
    for (int k = 0; k < a.sampleCount; ++k) {
      const double tolerance = 1e-12 * std::max(std::abs(x[k]), std::abs(y[k])) + floor;
      ASSERT_NEAR(x[k], y[k], tolerance) << what << " " << row << " sample " << k;
    }
  };
  const double nodeFloor = 1e-12 * voltageScale;
  for (int n = 0; n < a.nodeRows(); ++n)
    compare(a.nodeRow(n), b.nodeRow(n), nodeFloor, "node " + std::to_string(n));
  for (int r = 0; r < a.branchRows(); ++r)
    compare(a.branchRow(r), b.branchRow(r), nodeFloor * largestConductance,
            "branch " + std::to_string(r));
  for (int m = 0; m < a.motorRows(); ++m)
    compare(a.motorRow(m), b.motorRow(m), 1e-12, "motor " + std::to_string(m));
}

class EveryExample : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryExample, FastPathMatchesTheReferenceElimination) {
  Schematic s;
  ASSERT_TRUE(wolterix::bench::loadExample(s, GetParam()));
  if (s.transferMode()) GTEST_SKIP() << "transfer-function example";
  Simulation reference;
  Simulation fast;
  reference.setSolverPath(SolverPath::Reference);
  for (Simulation* sim : {&reference, &fast}) {
    sim->setSampleCount(400);
    const RunResult r = sim->transientRun(s, 0, 40e-3, 2);
    ASSERT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
  }
  expectSameStore(reference, fast, GetParam());
  EXPECT_LT(fast.network().counters().factorisations, fast.network().counters().solves);
}

std::vector<std::string> exampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(WOLTERIX_EXAMPLES))
    if (entry.path().extension() == ".wtx") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Examples, EveryExample, ::testing::ValuesIn(exampleNames()),
                         [](const auto& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

TEST(SolverPaths, LadderMatchesAndKeepsItsBandNarrow) {
  Schematic s;
  ASSERT_TRUE(wolterix::bench::buildRcLadder(s, 120));
  Simulation reference;
  Simulation fast;
  reference.setSolverPath(SolverPath::Reference);
  for (Simulation* sim : {&reference, &fast}) {
    sim->setSampleCount(100);
    ASSERT_TRUE(sim->transientRun(s, 0, 20e-3, 0).ok());
  }
  expectSameStore(reference, fast, "ladder");
  EXPECT_EQ(fast.network().nodeCount(), 122);
  EXPECT_EQ(fast.network().halfBandwidth(), 1);
  EXPECT_EQ(fast.network().counters().factorisations, 1);
}

TEST(SolverPaths, WindingsBesideALadderMatchOnTheBand) {
  // Beyond 32 unknowns the windings' mutual terms go into the band, not the replayed matrix.
  for (const auto& [kind, parameters] :
       {std::pair{K::Spr, "0,1/0,2/0/0/80"}, {K::Tf1, "1k/230/24/50/4/5/20/10"}}) {
    Schematic s;
    ASSERT_TRUE(wolterix::bench::buildRcLadder(s, 40));
    buildTwoWindingCircuit(s, kind, parameters, "sin/230/0/50/0", "10", "10");
    Simulation reference;
    Simulation fast;
    reference.setSolverPath(SolverPath::Reference);
    for (Simulation* sim : {&reference, &fast}) {
      sim->setSampleCount(200);
      ASSERT_TRUE(sim->transientRun(s, 0, 40e-3, 2).ok()) << parameters;
    }
    ASSERT_GT(fast.network().nodeCount() - 1, 32);
    expectSameStore(reference, fast, parameters);
  }
}

TEST(SolverPaths, TheLargestLadderFitsOnTheGrid) {
  Schematic s;
  ASSERT_TRUE(wolterix::bench::buildRcLadder(s, wolterix::bench::maxLadderSections()));
  EXPECT_GE(wolterix::bench::maxLadderSections(), 960);
  Simulation sim;
  sim.setSampleCount(10);
  ASSERT_TRUE(sim.transientRun(s, 0, 1e-3, 0).ok());
  EXPECT_EQ(sim.network().nodeCount(), wolterix::bench::maxLadderSections() + 2);
}

class SingularCases : public ::testing::TestWithParam<SolverPath> {};

TEST_P(SingularCases, AreRefusedOnBothPaths) {
  // A node reached only through the open input voltage.
  Schematic dangling;
  buildLoop(dangling, "st/10/0", K::Rez, "1k");
  CircuitBuilder(dangling).element(K::nWe, 40, 40);
  // The same node behind a chain of 1e-9 S voltmeters is not singular: small is not zero.
  Schematic meters;
  buildLoop(meters, "st/10/0", K::mmV, "-");
  for (Schematic* s : {&dangling, &meters}) {
    Simulation sim;
    sim.setSolverPath(GetParam());
    sim.setSampleCount(4);
    const RunResult r = sim.transientRun(*s, 0, 1e-3, 0);
    if (s == &dangling) {
      EXPECT_EQ(r.code, -1);
    } else {
      EXPECT_TRUE(r.ok());
    }
  }
}

TEST_P(SingularCases, AConnectedCircuitAtAnExtremeStepIsAFatalErrorNotADisconnection) {
  // Connected, but at these steps the capacitors' and inductors' conductances swamp the
  // resistors' in the elimination.
  int failed = 0;
  for (const auto& [name, T] : {std::pair{"mostek.wtx", 1e-22}, {"rlc.wtx", 1e23}}) {
    Schematic s;
    ASSERT_TRUE(wolterix::bench::loadExample(s, name));
    Simulation sim;
    sim.setSolverPath(GetParam());
    sim.setSampleCount(10);
    const RunResult r = sim.transientRun(s, 0, T, 0);
    if (r.ok()) continue;  // this path happened to cope
    ++failed;
    EXPECT_EQ(r.code, -2) << name;
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines.front(), "[1] Fatalny błąd symulacji!") << name;
  }
  EXPECT_GT(failed, 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, SingularCases,
                         ::testing::Values(SolverPath::Reference, SolverPath::Fast),
                         [](const auto& info) {
                           return info.param == SolverPath::Fast ? "fast" : "reference";
                         });

}  // namespace
