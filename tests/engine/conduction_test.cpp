#include "engine/conduction.h"

#include <gtest/gtest.h>

#include <cmath>

#include "bench/circuits.h"
#include "support/run_helpers.h"

namespace wolterix::engine {
namespace {

using K = model::ElementKind;

std::span<const std::uint8_t> statesOf(const Simulation& sim, const std::string& name) {
  const int row = sim.store().stateRowOf(name);
  EXPECT_GE(row, 0) << name;
  return sim.store().stateRow(row).first(static_cast<std::size_t>(sim.store().sampleCount));
}

TEST(ConductionStates, AHalfWaveDiodeConductsExactlyWhileItsCurrentFlows) {
  model::Schematic s;
  testing::buildLoop(s, "sin/10/0/50/0", K::Dio, "0,01/0", "10");
  Simulation sim;
  sim.setSampleCount(400);
  ASSERT_TRUE(sim.transientRun(s, 0, 40e-3, 0).ok());
  EXPECT_EQ(sim.store().stateRows(), 1);  // the source and the resistor never switch
  const auto states = statesOf(sim, "D1");
  const auto current = testing::trace(sim, "I(D1)");
  int conducting = 0;
  for (std::size_t k = 0; k < states.size(); ++k) {
    EXPECT_EQ(states[k] != 0, current[k] > 1e-9) << k;
    conducting += states[k] != 0;
  }
  EXPECT_NEAR(conducting, 200, 4);  // half of each period
}

TEST(ConductionStates, ANinetyDegreeScrConductsFromFiveToTenMsOfEachPeriod) {
  model::Schematic s;
  testing::buildLoop(s, "sin/100/0/50/0", K::Tyr, "0/0/50/90", "10");
  Simulation sim;
  sim.setSampleCount(400);  // 0.1 ms a sample
  ASSERT_TRUE(sim.transientRun(s, 0, 60e-3, 0).ok());
  const auto intervals = conductionIntervals(sim.store(), sim.store().stateRowOf("T1"));
  ASSERT_EQ(intervals.size(), 3u);
  for (std::size_t p = 0; p < intervals.size(); ++p) {
    EXPECT_NEAR(intervals[p].start, 20e-3 * p + 5e-3, 0.11e-3) << p;
    EXPECT_NEAR(intervals[p].end, 20e-3 * p + 10e-3, 0.11e-3) << p;
    EXPECT_NEAR(conductionAngle(intervals[p], 50), 90.0, 2.0);
    EXPECT_FALSE(intervals[p].runsOn);
  }

  // A continued run goes on from the states the first one ended with: stopped at 7 ms, the
  // thyristor conducts from the continuation's first sample until 10 ms.
  Simulation cont;
  cont.setSampleCount(70);
  ASSERT_TRUE(cont.transientRun(s, 0, 7e-3, 0).ok());
  EXPECT_TRUE(conductionIntervals(cont.store(), 0).back().runsOn);
  ASSERT_TRUE(cont.transientRun(s, cont.continuationTime(), 13e-3, 0).ok());
  const auto next = conductionIntervals(cont.store(), cont.store().stateRowOf("T1"));
  ASSERT_FALSE(next.empty());
  EXPECT_NEAR(next[0].start, 7e-3, 1e-12);
  EXPECT_NEAR(next[0].end, 10e-3, 13e-3 / 70);  // within a sample
}

TEST(ConductionStates, TheSixPulseBridgeConductsTwoThyristorsAtATimeEachFor120Degrees) {
  model::Schematic s;
  ASSERT_TRUE(bench::loadExample(s, "mostek3f.wtx"));
  Simulation sim;
  sim.setSampleCount(2000);  // 0.05 ms, 0.9° a sample
  ASSERT_TRUE(sim.transientRun(s, 0, 100e-3, 0).ok());
  const WaveformStore& store = sim.store();
  ASSERT_EQ(store.stateRows(), 6);
  // From the second period on: two valves conduct at every sample (one commutation step may
  // briefly hold three), each for 120° a period, fired in the order T1..T6 every 60°.
  const int from = 400;
  for (int k = from; k < store.sampleCount; ++k) {
    int on = 0;
    for (int row = 0; row < 6; ++row) on += store.stateRow(row)[static_cast<std::size_t>(k)] != 0;
    EXPECT_GE(on, 2) << k;
    EXPECT_LE(on, 3) << k;
  }
  std::vector<std::pair<double, int>> starts;
  for (int row = 0; row < 6; ++row) {
    const std::string name = store.stateElement(row).name;
    for (const ConductionInterval& i : conductionIntervals(store, row)) {
      if (i.start < 0.02 || i.runsOn) continue;
      EXPECT_NEAR(conductionAngle(i, 50), 120.0, 3.0) << name << " at " << i.start;
      starts.emplace_back(i.start, name.back() - '0');
    }
  }
  std::sort(starts.begin(), starts.end());
  ASSERT_GE(starts.size(), 12u);
  for (std::size_t n = 1; n < starts.size(); ++n) {
    EXPECT_EQ(starts[n].second, starts[n - 1].second % 6 + 1) << starts[n].first;
    EXPECT_NEAR(starts[n].first - starts[n - 1].first, 20e-3 / 6, 0.1e-3);
  }
}

}  // namespace
}  // namespace wolterix::engine
