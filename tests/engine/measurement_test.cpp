#include "engine/measurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/messages.h"
#include "support/circuit_builder.h"
#include "support/run_helpers.h"

namespace wolterix::engine {
namespace {

using K = model::ElementKind;

struct Bench {
  model::Schematic schematic;
  model::DocumentFlags flags;
  Measurement measurement{schematic, flags};

  Bench() { measurement.simulation().setSampleCount(400); }
  void settings(const std::string& frequency, const std::string& cycles, int iterations = 0) {
    auto accepted = acceptedMeasurement(frequency, cycles);
    ASSERT_TRUE(accepted);
    measurement.settings() = {frequency, cycles, accepted->first, accepted->second, iterations};
  }
  MeterSlot& meter(const model::Element& element, MeterQuantity quantity) {
    const int slot = measurement.addMeter(element, quantity);
    EXPECT_GE(slot, 0);
    return measurement.meterSlots()[static_cast<std::size_t>(slot)];
  }
};

model::Element& named(model::Schematic& s, const char* name) { return *s.findElement(name); }

TEST(Measurement, PowerFactorOfASineSourceOnAnRlLoadIsRoverZ) {
  // R = 10 Ω, X = 2π·50·31.83 mH = 10 Ω: λ = cos φ₁ = R/|Z| = 0.7071. The source gives the
  // power away, so by the element-takes-power sign its P, Q₁, λ and cos φ₁ read negative.
  Bench b;
  testing::buildLoop(b.schematic, "sin/230/0/50/0", K::Ind, "31,831m/0", "10");
  model::Element& source = named(b.schematic, "E1");
  MeterSlot& pf = b.meter(source, MeterQuantity::Power);
  MeterSlot& cosPhi = b.meter(source, MeterQuantity::Power);
  MeterSlot& apparent = b.meter(source, MeterQuantity::Power);
  MeterSlot& reactive = b.meter(source, MeterQuantity::Power);
  MeterSlot& thd = b.meter(named(b.schematic, "R1"), MeterQuantity::Current);
  b.measurement.applyOptions(0, true, MeterQuantity::Power, Indication::PowerFactor, 9);
  b.measurement.applyOptions(1, true, MeterQuantity::Power, Indication::DisplacementFactor, 9);
  b.measurement.applyOptions(2, true, MeterQuantity::Power, Indication::ApparentPower, 9);
  b.measurement.applyOptions(3, true, MeterQuantity::Power, Indication::ReactivePower, 9);
  b.measurement.applyOptions(4, true, MeterQuantity::Current, Indication::Thd, 9);
  b.settings("50", "10", 2);
  const auto outcome = b.measurement.run(false);
  ASSERT_EQ(outcome.failure.code, 0) << outcome.failure.lines.front();
  const double z = std::hypot(10.0, 2 * std::numbers::pi * 50 * 31.831e-3);
  // Within the discretisation of the inductor at 1600 steps a period.
  EXPECT_NEAR(pf.reading, -10.0 / z, 2e-3);
  EXPECT_NEAR(cosPhi.reading, pf.reading, 1e-4);  // a sinusoidal current: λ = cos φ₁
  EXPECT_EQ(pf.display.substr(0, 5), "-0.70");
  EXPECT_NEAR(apparent.reading, 230.0 * 230.0 / z, 3e-3 * 3740);
  EXPECT_NEAR(reactive.reading, -230.0 * 230.0 * 10.0 / (z * z), 3e-3 * 2645);
  EXPECT_LT(thd.reading, 0.01);
  EXPECT_EQ(displayUnit(reactive), "kvar");
}

TEST(Measurement, SineSourceAcrossAResistor) {
  Bench b;
  testing::buildPair(b.schematic, K::Nap, "sin/230/0/50/0", K::Rez, "100");
  model::Element& r = named(b.schematic, "R1");
  MeterSlot& rms = b.meter(r, MeterQuantity::Voltage);
  MeterSlot& mean = b.meter(r, MeterQuantity::Voltage);
  MeterSlot& power = b.meter(r, MeterQuantity::Power);
  MeterSlot& current = b.meter(r, MeterQuantity::Current);
  b.measurement.applyOptions(1, true, MeterQuantity::Voltage, Indication::RectifiedMean, 9);
  EXPECT_EQ(power.indication, Indication::DcMean);  // a wattmeter reads active power
  b.settings("50", "3");

  const MeasurementOutcome outcome = b.measurement.run(false);
  EXPECT_EQ(outcome.failure.code, 0);
  EXPECT_EQ(outcome.cyclesDone, 3);
  EXPECT_EQ(rms.display, "230.0");
  EXPECT_EQ(mean.display, "207.1");
  EXPECT_NEAR(power.reading, 230.0 * 230.0 / 100.0, 0.01);
  EXPECT_EQ(power.display, "529.0");
  EXPECT_EQ(current.display, "2.300");
  EXPECT_TRUE(b.flags.measurementContinuable);
  EXPECT_NEAR(b.measurement.continuationTime(), 0.06, 1e-12);
}

TEST(Measurement, HalfWaveRectifierDcMean) {
  Bench b;
  testing::CircuitBuilder c(b.schematic);
  c.element(K::Nap, 10, 10, 1, "sin/230/0/50/0");
  c.element(K::Dio, 14, 8, 3, "0,01/0");
  model::Element& load = c.element(K::Rez, 16, 10, 5, "1k");
  c.wire(10, 9, 10, 8);
  c.wire(10, 8, 13, 8);
  c.wire(15, 8, 16, 8);
  c.wire(16, 8, 16, 9);
  c.wire(10, 11, 10, 12);
  c.wire(10, 12, 16, 12);
  c.wire(16, 12, 16, 11);
  MeterSlot& dc = b.meter(load, MeterQuantity::Voltage);
  b.measurement.applyOptions(0, true, MeterQuantity::Voltage, Indication::DcMean, 9);
  b.settings("50", "2", 2);
  ASSERT_EQ(b.measurement.run(false).failure.code, 0);
  EXPECT_NEAR(dc.reading, std::sqrt(2.0) * 230.0 / std::numbers::pi, 0.2);
  EXPECT_GT(dc.reading, 103.0);
}

TEST(Measurement, StopIsHeardBetweenCyclesAndContinueGoesOn) {
  Bench b;
  testing::buildPair(b.schematic, K::Nap, "sin/230/0/50/0", K::Rez, "100");
  b.meter(named(b.schematic, "R1"), MeterQuantity::Voltage);
  b.settings("50", "25");
  MeasurementCallbacks callbacks;
  callbacks.afterCycle = [&](long long cycle) {
    if (cycle == 4) b.measurement.stop();
  };
  const MeasurementOutcome stopped = b.measurement.run(false, callbacks);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.cyclesDone, 4);
  EXPECT_FALSE(b.measurement.running());
  EXPECT_NEAR(b.measurement.continuationTime(), 0.08, 1e-12);

  // Continue goes on from 80 ms for the whole count.
  b.settings("50", "2");
  EXPECT_EQ(b.measurement.run(true).cyclesDone, 2);
  EXPECT_NEAR(b.measurement.continuationTime(), 0.12, 1e-12);

  // An edit clears the flag: "continue" then starts from 0 again.
  b.flags.measurementContinuable = false;
  b.measurement.run(true);
  EXPECT_NEAR(b.measurement.continuationTime(), 0.04, 1e-12);
}

TEST(Measurement, FailedCycleEndsTheRunAndTheContinuation) {
  Bench b;
  testing::buildPair(b.schematic, K::Nap, "sin/230/0/50/0", K::Rez, "100");
  b.settings("50", "2");
  ASSERT_EQ(b.measurement.run(false).failure.code, 0);
  EXPECT_TRUE(b.flags.measurementContinuable);
  testing::CircuitBuilder(b.schematic).element(K::Rez, 30, 30);  // no parameters yet
  const MeasurementOutcome outcome = b.measurement.run(true);
  EXPECT_EQ(outcome.failure.code, 1);
  EXPECT_EQ(outcome.cyclesDone, 0);
  ASSERT_EQ(outcome.failure.lines.size(), 1u);
  EXPECT_EQ(outcome.failure.lines[0], "[1] Brak parametrów: Element \"R2\".");
  EXPECT_FALSE(b.flags.measurementContinuable);
}

TEST(Measurement, ResultsOfTheLastSimulationAreNoLongerContinuable) {
  Bench b;
  testing::buildPair(b.schematic, K::Nap, "sin/230/0/50/0", K::Rez, "100");
  b.flags.resultsValid = true;
  b.settings("50", "1");
  b.measurement.run(false);
  EXPECT_FALSE(b.flags.resultsValid);
}

TEST(Measurement, SlotsFillInOrderAndLetGoOfDestroyedElements) {
  Bench b;
  testing::buildPair(b.schematic, K::Nap, "sin/230/0/50/0", K::Rez, "100");
  b.schematic.onElementDestroyed = [&](const model::Element& e) { b.measurement.forgetElement(e); };
  model::Element& source = named(b.schematic, "E1");
  model::Element& r = named(b.schematic, "R1");
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(b.measurement.addMeter(i % 2 ? source : r, MeterQuantity::Current), i);
  EXPECT_EQ(b.measurement.addMeter(r, MeterQuantity::Voltage), -1);  // all six in use
  b.measurement.closeMeter(3);
  EXPECT_EQ(b.measurement.addMeter(r, MeterQuantity::Power), 3);
  EXPECT_EQ(b.measurement.meterSlots()[3].indication, Indication::DcMean);
  EXPECT_EQ(b.measurement.meterSlots()[0].indication, Indication::TrueRms);

  b.schematic.destroy(&r);
  int inUse = 0;
  for (const MeterSlot& slot : b.measurement.meterSlots()) {
    if (!slot.inUse) continue;
    ++inUse;
    EXPECT_EQ(slot.element, &source);
  }
  EXPECT_EQ(inUse, 2);  // slots 1 and 5
  b.schematic.clear();
  EXPECT_FALSE(b.measurement.anyMeter());
}

TEST(Measurement, OptionsKeepTheReadingForANewRangeOnly) {
  Bench b;
  testing::buildPair(b.schematic, K::Nap, "sin/230/0/50/0", K::Rez, "100");
  MeterSlot& slot = b.meter(named(b.schematic, "R1"), MeterQuantity::Voltage);
  b.settings("50", "1");
  b.measurement.run(false);
  b.measurement.applyOptions(0, false, MeterQuantity::Voltage, Indication::TrueRms, 6);  // 1000 k
  EXPECT_EQ(slot.display, "0.2");
  EXPECT_EQ(slot.shownPrefix, 1);
  b.measurement.applyOptions(0, false, MeterQuantity::Current, Indication::TrueRms, 12);
  EXPECT_FALSE(slot.hasReading);
  EXPECT_EQ(slot.display, "0.0");
}

TEST(Measurement, AcceptsOnlyAPositiveFrequencyAndAWholeCycleCount) {
  EXPECT_TRUE(acceptedMeasurement("50", "25"));
  EXPECT_TRUE(acceptedMeasurement("1k", "1"));
  EXPECT_EQ(acceptedMeasurement("2,5k", "3")->first, 2500.0);
  for (auto [f, n] : {std::pair{"0", "1"},
                      {"50", "0"},
                      {"-50", "1"},
                      {"50", "2,5"},
                      {"?", "1"},
                      {"50", "?"},
                      {"", "1"},
                      {"50", "2G"},
                      {"50", "-3"}})
    EXPECT_FALSE(acceptedMeasurement(f, n)) << f << " " << n;
}

TEST(Measurement, AnimationFramesFallOnEighthsOfTheCycle) {
  EXPECT_FALSE(animationFrame(0));
  EXPECT_EQ(animationFrame(1), 0);
  EXPECT_EQ(animationFrame(13), 1);
  EXPECT_FALSE(animationFrame(14));
  EXPECT_EQ(animationFrame(88), 7);
  EXPECT_FALSE(animationFrame(100));
}

}  // namespace
}  // namespace wolterix::engine
