#include "engine/switching_models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "bench/circuits.h"
#include "engine/network.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::buildLoop;
using wolterix::testing::CircuitBuilder;
using wolterix::testing::trace;
using K = ElementKind;

// A source feeding a resistor R1 and a device in series (the device is the loop's load).
struct DeviceRun {
  Schematic schematic;
  Simulation sim;
  std::vector<double> current;  // through the device, along its branch
  std::vector<double> voltage;  // across the device, terminal 0 minus terminal 1
  std::vector<double> source;   // source voltage, top minus bottom

  DeviceRun(const std::string& source, K kind, const std::string& parameters, double T, int samples,
            const std::string& resistor = "10") {
    buildLoop(schematic, source, kind, parameters, resistor);
    sim.setSampleCount(samples);
    const RunResult r = sim.transientRun(schematic, 0, T, 0);
    EXPECT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
    const std::string name = schematic.elements().at(2)->name();
    current = trace(sim, "I(" + name + ")");
    voltage = trace(sim, "U(" + name + ")");
    this->source = trace(sim, "U(E1)");
  }
  double t(std::size_t k) const { return sim.store().startTime + k * sim.store().spacing; }
};

TEST(Diode, ConductsInPositiveHalfWavesWithItsForwardDrop) {
  DeviceRun run("sin/10/0/50/0", K::Dio, "0,1/0", 40e-3, 400);
  for (std::size_t k = 1; k < run.current.size(); ++k) {
    if (run.source[k] > 0.5) {
      EXPECT_GT(run.current[k], 0.0) << k;
      EXPECT_NEAR(run.voltage[k], run.current[k] * 0.1, 1e-9) << k;  // i * Rf
    } else if (run.source[k] < -0.5) {
      EXPECT_NEAR(run.current[k], 0.0, 2e-5) << k;  // Gd raised to 1e-6 S
      EXPECT_LT(run.voltage[k], -0.5) << k;
    }
  }
}

TEST(Thyristor, FiresAtItsAngleAndTurnsOffWhenTheCurrentReverses) {
  DeviceRun run("sin/100/0/50/0", K::Tyr, "0/0/50/90", 40e-3, 400);  // h = 0.1 ms
  for (std::size_t k = 0; k < run.current.size(); ++k) {
    // Fired in the first step at or after 5 ms, off when the current reverses at 10 ms;
    // the step on either edge may fall either way by rounding.
    const double phase = std::fmod(run.t(k) + 1e-9, 20e-3);
    if (phase > 5.1e-3 && phase < 9.9e-3) {
      EXPECT_GT(run.current[k], 0.1) << run.t(k);
    } else if (phase < 4.9e-3 || phase > 10.1e-3) {
      EXPECT_LT(std::abs(run.current[k]), 0.01) << run.t(k);
    }
  }
  // Without an enabled angle it never conducts.
  DeviceRun idle("sin/100/0/50/0", K::Tyr, "0/0/50", 40e-3, 400);
  for (double i : idle.current) EXPECT_LT(std::abs(i), 0.01);
}

TEST(Thyristor, AngleZeroFiresInTheSecondStep) {
  // Before the first solve every node is at 0 V: not forward biased. The second step's
  // window [0, h] still holds the instant.
  DeviceRun run("st/10/0", K::Tyr, "0/0/50/0", 1e-3, 10);
  EXPECT_LT(run.current[0], 1e-3);
  EXPECT_NEAR(run.current[1], 1.0, 1e-3);
}

TEST(Thyristor, ReverseConductingDeviceConductsReverseCurrentUnfired) {
  DeviceRun run("sin/10/0/50/0", K::RCT, "0,1/0/50", 20e-3, 200);
  for (std::size_t k = 0; k < run.current.size(); ++k) {
    if (run.source[k] < -1.0) {
      EXPECT_LT(run.current[k], -0.05) << k;
    } else if (run.source[k] > 1.0) {
      EXPECT_NEAR(run.current[k], 0.0, 1e-3) << k;
    }
  }
}

TEST(TurnOffDevices, GtoConductsBetweenItsAngles) {
  DeviceRun run("st/10/0", K::GTO, "0/0/50/30/150", 40e-3, 480);
  for (std::size_t k = 2; k < run.current.size(); ++k) {
    const double period = std::fmod(run.t(k) + 1e-9, 20e-3) / 20e-3;
    if (period > 1.0 / 12 + 0.005 && period < 5.0 / 12 - 0.005) {
      EXPECT_NEAR(run.current[k], 1.0, 1e-3) << run.t(k);
    } else if (period < 1.0 / 12 - 0.005 || period > 5.0 / 12 + 0.005) {
      EXPECT_LT(run.current[k], 1e-3) << run.t(k);
    }
  }
}

TEST(TurnOffDevices, TransistorGateWrapsOverThePeriodEnd) {
  DeviceRun run("st/10/0", K::TrM, "0/0/50/300/60", 40e-3, 480);
  for (std::size_t k = 1; k < run.current.size(); ++k) {
    const double period = std::fmod(run.t(k) + 1e-9, 20e-3) / 20e-3;
    if (period > 5.0 / 6 + 0.005 || period < 1.0 / 6 - 0.005) {
      EXPECT_NEAR(run.current[k], 1.0, 1e-3) << run.t(k);
    } else if (period > 1.0 / 6 + 0.005 && period < 5.0 / 6 - 0.005) {
      EXPECT_LT(run.current[k], 1e-3) << run.t(k);
    }
  }
}

// The first sample (one step per sample) at which the device carries current.
double firstConduction(const DeviceRun& run, double from = 0.0) {
  for (std::size_t k = 0; k < run.current.size(); ++k)
    if (run.t(k) >= from - 1e-12 && std::abs(run.current[k]) > 0.01) return run.t(k);
  return -1.0;
}

double conductingShare(const DeviceRun& run) {
  std::size_t on = 0;
  for (std::size_t k = 2; k < run.current.size(); ++k) on += std::abs(run.current[k]) > 0.01;
  return static_cast<double>(on) / static_cast<double>(run.current.size() - 2);
}

TEST(FiringEdges, EventsHappenAtTheirStepInEveryPeriod) {
  // 0.1 ms steps: 90 degrees is due at 5 ms and 25 ms, exactly at step instants.
  DeviceRun scr("st/10/0", K::Tyr, "0/0/50/90", 40e-3, 400);
  EXPECT_NEAR(firstConduction(scr), 5.0e-3, 1e-9);
  DeviceRun gto("st/10/0", K::GTO, "0/0/50/90/180", 40e-3, 400);
  EXPECT_NEAR(firstConduction(gto, 20e-3), 25.0e-3, 1e-9);
  // An RCT at 90 degrees fires as the SCR does.
  DeviceRun rct("st/10/0", K::RCT, "0/0/50/90", 40e-3, 400);
  EXPECT_NEAR(firstConduction(rct), 5.0e-3, 1e-9);
  // A switch due at 10 ms closes from the next step.
  DeviceRun sw("st/10/0", K::wyl, "0/10m", 20e-3, 200);
  EXPECT_NEAR(firstConduction(sw), 10.1e-3, 1e-9);
}

TEST(FiringEdges, AnglesJustBelowAFullTurnFire) {
  // 0.9 degree steps: 359.2 .. 359.99 lie between the last step's clock and the period's end.
  for (const char* angle : {"359,2", "359,5", "359,99"}) {
    DeviceRun scr("st/10/0", K::Tyr, std::string("0/0/50/") + angle, 40e-3, 800);
    EXPECT_NEAR(firstConduction(scr), 20e-3, 1e-9) << angle;
  }
  DeviceRun fine("st/10/0", K::Tyr, "0/0/50/359,5", 40e-3, 944 * 4);
  EXPECT_GT(firstConduction(fine), 19.9e-3);
  EXPECT_LE(firstConduction(fine), 20.0e-3 + 1e-9);
  // Angles of more than a turn are taken modulo 360.
  DeviceRun over("st/10/0", K::Tyr, "0/0/50/450", 40e-3, 400);
  EXPECT_NEAR(firstConduction(over), 5.0e-3, 1e-9);
  DeviceRun more("st/10/0", K::GTO, "0/0/50/390/450", 40e-3, 480);
  EXPECT_NEAR(conductingShare(more), 1.0 / 6, 0.01);
}

TEST(FiringEdges, AWholeTurnConductsThePeriodAndEqualAnglesNever) {
  for (const K kind : {K::TrM, K::GTO}) {
    EXPECT_GT(conductingShare(DeviceRun("st/10/0", kind, "0/0/50/0/360", 40e-3, 400)), 0.99);
    EXPECT_GT(conductingShare(DeviceRun("st/10/0", kind, "0/0/50/0/359,9", 40e-3, 400)), 0.98);
    EXPECT_EQ(conductingShare(DeviceRun("st/10/0", kind, "0/0/50/90/90", 40e-3, 400)), 0.0);
  }
}

TEST(SixPulseBridge, MeanLoadVoltageIs234UCosAlpha) {
  // The example: 230 V phases, every thyristor fired 30 degrees after its natural
  // commutation, with a second pulse 60 degrees later; an R-L load of 10 Ohm and 100 mH.
  Schematic s;
  ASSERT_TRUE(wolterix::bench::loadExample(s, "mostek3f.wtx"));
  Simulation sim;
  sim.setSampleCount(2000);
  ASSERT_TRUE(sim.transientRun(s, 0, 200e-3, 1).ok());
  const auto u = trace(sim, "U(V1)");
  double sum = 0.0;
  const std::size_t first = 1600;  // the last two periods
  for (std::size_t k = first; k < 2000; ++k) sum += u[k];
  const double mean = sum / (2000 - first);
  EXPECT_NEAR(mean, 2.34 * 230 * std::cos(30 * 3.141592654 / 180), 0.01 * mean);
}

TEST(Zener, ClampsReverseVoltageAtUz) {
  // Terminal 0 (anode) on top: a negative source voltage biases the Zener in reverse.
  DeviceRun run("sin/10/0/50/0", K::Zen, "5/1/0", 20e-3, 400, "100");
  for (std::size_t k = 1; k < run.current.size(); ++k) {
    const double e = run.source[k];
    if (e > 0.5) {
      EXPECT_NEAR(run.voltage[k], run.current[k] * 1.0, 1e-9) << k;  // forward: i * Rf
    } else if (e < -6.0) {
      EXPECT_NEAR(-run.voltage[k], 5.0 - run.current[k] * 1.0, 1e-9) << k;  // 5 V plus i * Rf
    } else if (e < -0.5 && e > -4.5) {
      EXPECT_NEAR(run.current[k], 0.0, 1e-4) << k;  // blocking
    }
  }
}

TEST(Switch, ClosesInTheStepAfterItsTime) {
  DeviceRun run("st/10/0", K::wyl, "0/10m", 20e-3, 20);  // one step per millisecond
  for (std::size_t k = 0; k < run.current.size(); ++k) {
    if (run.t(k) <= 10e-3 + 1e-9) {
      EXPECT_LT(run.current[k], 1e-6) << run.t(k);
    } else {
      EXPECT_NEAR(run.current[k], 1.0, 1e-3) << run.t(k);
    }
  }
}

TEST(Switch, TimesActOncePerRunFromZero) {
  Schematic s;
  buildLoop(s, "st/10/0", K::wyl, "1/5m");  // closed, opens at 5 ms
  Simulation sim;
  sim.setSampleCount(10);
  ASSERT_TRUE(sim.transientRun(s, 0, 10e-3, 0).ok());
  EXPECT_LT(std::abs(trace(sim, "I(Ł1)").back()), 1e-6);
  // A continued run does not switch again.
  ASSERT_TRUE(sim.transientRun(s, sim.continuationTime(), 10e-3, 0).ok());
  for (double i : trace(sim, "I(Ł1)")) EXPECT_LT(std::abs(i), 1e-6);
}

TEST(PhaseClock, WrapsModuloThePeriodEvenForLongSteps) {
  PhaseClock clock;
  clock.advance(0.005, 0.0, 50);
  EXPECT_NEAR(clock.time(), 0.005, 1e-15);
  clock.advance(0.05, 0.005, 50);  // longer than a period
  EXPECT_NEAR(clock.time(), 0.015, 1e-12);
  EXPECT_NEAR(PhaseClock::instant(450, 50), PhaseClock::instant(90, 50), 1e-15);
  EXPECT_NEAR(PhaseClock::instant(90, 50), 0.005, 1e-15);
}

// Every instant of the period belongs to exactly one step of each period, the first step at or
// after it, also just below 360 degrees where the clock wraps, whatever the step.
TEST(PhaseClock, EveryInstantFallsInExactlyOneStep) {
  const double f = 50.0;
  const double period = 1.0 / f;
  const double angles[] = {0.0, 0.45, 90.0, 180.0, 200.0, 359.2, 359.5, 359.99, 359.9999999, 390.0};
  for (const int stepsPerPeriod : {400, 377, 944, 944 * 64, 7}) {
    const double h = period / stepsPerPeriod;
    for (const double angle : angles) {
      SCOPED_TRACE(testing::Message() << stepsPerPeriod << " steps, " << angle << " degrees");
      PhaseClock clock;
      clock.reset();
      std::vector<long long> hits;
      const long long steps = 4LL * stepsPerPeriod;
      for (long long s = 0; s < steps; ++s) {
        const double t = static_cast<double>(s) * h;
        if (clock.inLastStep(angle, f, h)) hits.push_back(s);
        clock.advance(h, t, f);
      }
      // Each hit serves the latest occurrence of the instant at or before its step, which must
      // be one the step before had not reached; occurrences follow one another without a gap.
      const double due = PhaseClock::instant(angle, f);
      // The run's second step also takes the instant 0 of its first, in which nothing fires
      // (an instant within a millionth of a step of 0 counts as 0).
      const bool atZero = due < 1e-6 * h || due > period - 1e-6 * h;
      if (atZero && hits.size() > 1 && hits[1] == 1) hits.erase(hits.begin() + 1);
      std::vector<long long> served;
      for (const long long s : hits) {
        const double t = static_cast<double>(s) * h;
        const auto m = static_cast<long long>(std::floor((t + 1e-6 * h - due) / period));
        EXPECT_LT(t - h, due + static_cast<double>(m) * period) << "step " << s;
        served.push_back(m);
      }
      ASSERT_FALSE(served.empty());
      for (std::size_t i = 1; i < served.size(); ++i) EXPECT_EQ(served[i], served[i - 1] + 1);
      EXPECT_EQ(served.back() - served.front() + 1, static_cast<long long>(served.size()));
      EXPECT_GE(served.size(), 4u);
    }
  }
}

// The clock's remainder is fmod's to the last digit, whatever the time, step and period.
TEST(PhaseClock, RemainderIsExactlyFmods) {
  std::uint64_t state = 12345;
  const auto uniform = [&] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) * 0x1p-53;
  };
  for (const double f : {50.0, 60.0, 400.0, 1.0 / 3.0, 1234.5678, 1e-3})
    for (int k = 0; k < 20000; ++k) {
      const double period = 1.0 / f;
      // Times up to far beyond any run, whole periods among them, and tiny steps.
      const double t = k % 7 == 0 ? std::floor(uniform() * 1e6) * period : uniform() * 1e3 * period;
      const double h = period * std::pow(10.0, -8.0 * uniform());
      PhaseClock clock;
      clock.advance(h, t, f);
      ASSERT_EQ(clock.time(), std::fmod(t + h, period)) << t << " " << h << " " << f;
    }
}

// Each state-following stamp the network holds after a step is the one its model's state gives:
// no change of state goes without a fresh stamp.
TEST(SwitchingStamps, EveryStateChangeTakesAFreshStamp) {
  const std::pair<K, const char*> devices[] = {
      {K::Dio, "0,1/0"},       {K::Zen, "5/1/0"},           {K::Tyr, "0,1/0/50/90/270"},
      {K::RCT, "0,1/0/50/90"}, {K::GTO, "0,1/0/50/30/150"}, {K::TrM, "0,1/0/50/300/60"},
      {K::wyl, "0/3m/11m"},
  };
  for (const auto& [kind, parameters] : devices) {
    Schematic s;
    buildLoop(s, "sin/10/0/50/0", kind, parameters, "100");
    Simulation sim;
    sim.setSampleCount(400);
    int checked = 0;
    RunCallbacks callbacks;
    callbacks.afterSample = [&](double) {
      for (const Branch& b : sim.network().branches()) {
        if (!(b.model->needs() & kStampFollowsState)) continue;
        const BranchStamp fresh = b.model->companion(0.0, 0.0, b.code);
        ASSERT_EQ(b.G, fresh.G) << parameters;
        ASSERT_EQ(b.J, fresh.J) << parameters;
        ++checked;
      }
    };
    ASSERT_TRUE(sim.transientRun(s, 0, 40e-3, 2, true, callbacks).ok()) << parameters;
    EXPECT_EQ(checked, 401) << parameters;
  }
}

// Valves of one control period read one clock; valves of other periods in the same circuit
// keep their own and fire as they do alone.
TEST(Thyristor, ValvesOfDifferentPeriodsFireAsTheyDoAlone) {
  const char* valves[] = {"0/0/50/90", "0/0/100/90", "0/0/50/45", "0/0/60/120"};
  const auto loopAt = [](Schematic& s, int dx, const char* parameters) {
    buildLoop(s, "sin/100/0/50/0", K::Tyr, parameters, "10", dx);
  };
  Schematic all;
  for (int k = 0; k < 4; ++k) loopAt(all, 10 * k, valves[k]);
  Simulation together;
  together.setSampleCount(800);
  ASSERT_TRUE(together.transientRun(all, 0, 60e-3, 1).ok());
  for (int k = 0; k < 4; ++k) {
    Schematic one;
    loopAt(one, 0, valves[k]);
    Simulation alone;
    alone.setSampleCount(800);
    ASSERT_TRUE(alone.transientRun(one, 0, 60e-3, 1).ok());
    const auto a = trace(alone, "I(T1)");
    const auto b = trace(together, "I(T" + std::to_string(k + 1) + ")");
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
      ASSERT_NEAR(a[i], b[i], 1e-9 * (1.0 + std::abs(a[i]))) << valves[k] << " sample " << i;
  }
}

TEST(PhaseClock, WholeTurnsMakeAFullPeriodAndEqualAnglesNone) {
  EXPECT_TRUE(PhaseClock::spansWholePeriods(0, 360));
  EXPECT_TRUE(PhaseClock::spansWholePeriods(30, 750));
  EXPECT_FALSE(PhaseClock::spansWholePeriods(0, 0));
  EXPECT_FALSE(PhaseClock::spansWholePeriods(0, 359.9));
  EXPECT_FALSE(PhaseClock::spansWholePeriods(360, 0));
}

// A device whose state never settles: the step is accepted after the sixth solve.
class Restless final : public ElementModel {
 public:
  using ElementModel::ElementModel;
  BranchStamp companion(double, double, SubBranchCode) override {
    ++calls;
    return {1.0, 0.0};
  }
  bool checkState(NodeVector) override { return true; }
  int calls = 0;
};

TEST(StepSolver, AcceptsAFlippingStateAfterTheSixthSolve) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(K::Rez, 10, 10, 3, "1k");
  std::vector<std::unique_ptr<ElementModel>> models;
  models.push_back(std::make_unique<Restless>(r));
  models.back()->setNode(1, 1);
  Network network;
  network.build(models, 2, true);
  EXPECT_EQ(network.solveStep(1e-3, 0.0), 0);
  EXPECT_EQ(network.lastStepSolves(), 6);
  EXPECT_EQ(static_cast<Restless&>(*models.front()).calls, 6);
}

}  // namespace
