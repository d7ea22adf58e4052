#include <gtest/gtest.h>

#include <cmath>

#include "engine/network.h"
#include "engine/switching_models.h"
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
  clock.advance(0.005, 50);
  EXPECT_NEAR(clock.time(), 0.005, 1e-15);
  clock.advance(0.05, 50);  // longer than a period
  EXPECT_NEAR(clock.time(), 0.015, 1e-12);
  EXPECT_NEAR(PhaseClock::instant(450, 50), PhaseClock::instant(90, 50), 1e-15);
  EXPECT_NEAR(PhaseClock::instant(90, 50), 0.005, 1e-15);
  EXPECT_TRUE(clock.inLastStep(270, 50, 0.001));    // 15 ms lies in [14 ms, 15 ms]
  EXPECT_FALSE(clock.inLastStep(252, 50, 0.0009));  // 14 ms does not lie in [14.1, 15]
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
