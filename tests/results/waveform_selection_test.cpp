#include "results/waveform_selection.h"

#include <gtest/gtest.h>

namespace {

using namespace wolterix::results;

TEST(WaveformSelection, SlotsOutsideTheCurrentListAreEmptiedAndSwitchedOff) {
  WaveformSelection s;
  s.traceSlots[0] = {"U(R1)", true};
  s.traceSlots[1] = {"I(L1)", true};   // from a transient run, gone after a transfer sweep
  s.traceSlots[2] = {"K(R2)", false};  // kept although off: it is still offered
  s.traceSlots[3] = {"U(R9)", true};   // a deleted element
  s.clearSlotsNotIn({"K(R1)", "K(R2)", "U(R1)"});
  EXPECT_EQ(s.traceSlots[0], (TraceSlot{"U(R1)", true}));
  EXPECT_EQ(s.traceSlots[1], TraceSlot{});
  EXPECT_EQ(s.traceSlots[2], (TraceSlot{"K(R2)", false}));
  EXPECT_EQ(s.traceSlots[3], TraceSlot{});

  // An empty list (only transformers and coupled coils) clears everything.
  s.clearSlotsNotIn({});
  for (const auto& slot : s.traceSlots) EXPECT_EQ(slot, TraceSlot{});
}

TEST(WaveformSelection, DefaultFixedScalesAreFiveHundredVoltsAmperesWattsAndHundredRpm) {
  const WaveformSelection s;
  EXPECT_DOUBLE_EQ(s.fixedScaleValue(Quantity::Voltage), 500.0);
  EXPECT_DOUBLE_EQ(s.fixedScaleValue(Quantity::Current), 500.0);
  EXPECT_DOUBLE_EQ(s.fixedScaleValue(Quantity::Power), 500.0);
  EXPECT_DOUBLE_EQ(s.fixedScaleValue(Quantity::Speed), 100.0);
  for (Quantity q : {Quantity::Voltage, Quantity::Current, Quantity::Speed, Quantity::Power})
    EXPECT_FALSE(s.isFixed(q));
}

TEST(WaveformSelection, StepsStayInRangeAndNameTheirUnits) {
  WaveformSelection s;
  s.moveStep(ScaleStep::PowerUnit, 10);
  EXPECT_EQ(s.step(ScaleStep::PowerUnit), 5);
  EXPECT_EQ(stepText(ScaleStep::PowerUnit, 5), "TW");
  EXPECT_EQ(stepText(ScaleStep::PowerUnit, 0), "mW");
  s.moveStep(ScaleStep::PowerValue, -20);
  EXPECT_DOUBLE_EQ(s.fixedScaleValue(Quantity::Power), 1e12);

  s.moveStep(ScaleStep::VoltageUnit, -4);
  s.moveStep(ScaleStep::VoltageValue, -1);
  EXPECT_EQ(stepText(ScaleStep::VoltageUnit, s.step(ScaleStep::VoltageUnit)), "pV");
  EXPECT_EQ(stepText(ScaleStep::VoltageValue, s.step(ScaleStep::VoltageValue)), "200");
  EXPECT_NEAR(s.fixedScaleValue(Quantity::Voltage), 200e-12, 1e-24);
  EXPECT_EQ(stepText(ScaleStep::CurrentUnit, 8), "TA");
  EXPECT_EQ(stepText(ScaleStep::CurrentUnit, 2), "uA");
}

}  // namespace
