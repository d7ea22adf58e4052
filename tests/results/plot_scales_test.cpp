#include "results/plot_scales.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "model/waveform_names.h"
#include "results/plot_data.h"

namespace {

using namespace wolterix::results;

struct AutoCase {
  Quantity quantity;
  double smallest, largest, scale;
};

TEST(PlotScales, AutomaticScaleRoundsUpToTheOneTwoFiveSeries) {
  const AutoCase cases[] = {
      {Quantity::Voltage, -325.0, 310.0, 500.0},  // the larger magnitude counts
      {Quantity::Voltage, 0.0, 100.0, 100.0},     // a series value stays
      {Quantity::Voltage, 0.0, 0.02, 0.02},       // ... also after many divisions
      {Quantity::Voltage, 0.0, 0.001, 0.001},    {Quantity::Current, 0.0, 1.01, 2.0},
      {Quantity::Current, -2.1, 0.0, 5.0},       {Quantity::Current, 0.0, 6.0, 10.0},
      {Quantity::Voltage, 0.0, 0.0, 1e-6},  // a dead trace uses the minimum
      {Quantity::Power, 0.0, 1e-9, 1e-3},        {Quantity::Speed, 0.0, 1450.0, 2000.0},
      {Quantity::Speed, 0.0, 3.0, 10.0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(automaticScale(c.quantity, c.smallest, c.largest), c.scale, c.scale * 1e-12)
        << c.smallest << " .. " << c.largest;
}

TEST(PlotScales, VerticalLabelsCarryTheirPrefix) {
  struct Case {
    Quantity q;
    double scale;
    double value;
    const char* unit;
  };
  const Case cases[] = {
      {Quantity::Voltage, 500.0, 500.0, "[V]"},    {Quantity::Voltage, 1000.0, 1.0, "[kV]"},
      {Quantity::Voltage, 0.02, 20.0, "[mV]"},     {Quantity::Current, 1e-6, 1.0, "[uA]"},
      {Quantity::Current, 200e-12, 200.0, "[pA]"}, {Quantity::Power, 5e14, 500.0, "[TW]"},
      {Quantity::Power, 2e6, 2.0, "[MW]"},         {Quantity::Speed, 2000.0, 2000.0, "[o/m]"},
  };
  for (const auto& c : cases) {
    const AxisLabel label = verticalLabel(c.q, c.scale);
    EXPECT_NEAR(label.value, c.value, c.value * 1e-9) << c.scale;
    EXPECT_EQ(label.unit, c.unit) << c.scale;
  }
}

TEST(PlotScales, TimeUnitFollowsTheDecadeOfTheSpan) {
  EXPECT_EQ(timeUnit(2.0).text, "[s]");
  EXPECT_EQ(timeUnit(40e-3).text, "[ms]");
  EXPECT_DOUBLE_EQ(timeUnit(40e-3).factor, 1e3);
  EXPECT_EQ(timeUnit(999e-6).text, "[us]");
  EXPECT_EQ(timeUnit(5e-9).text, "[ns]");
  EXPECT_EQ(timeUnit(5e-10).text, "[ps]");
}

TEST(PlotScales, DecibelsAngleAndComplexPlane) {
  // A half-power point of a divider, with the input at -6 dB.
  EXPECT_NEAR(magnitudeDb({0.5, 0.5}, -6.0), -3.0103 - 6.0, 1e-4);
  EXPECT_NEAR(angleDegrees({0.0, -1.0}), -90.0, 1e-12);
  EXPECT_DOUBLE_EQ(angleDegrees({-1.0, -0.0}), 180.0);

  const DbRange range = magnitudeRange(-0.5, 10.0);
  EXPECT_DOUBLE_EQ(range.top, 0.0);
  EXPECT_DOUBLE_EQ(range.bottom, -10.0);
  EXPECT_DOUBLE_EQ(magnitudeRange(13.0, 30.0).top, 18.0);

  EXPECT_DOUBLE_EQ(complexPlaneScale(0.0), 0.25);
  EXPECT_DOUBLE_EQ(complexPlaneScale(1.0), 1.0);
  EXPECT_DOUBLE_EQ(complexPlaneScale(1.1), 1.25);
  EXPECT_DOUBLE_EQ(complexPlaneScale(2.6), 5.0);
  EXPECT_DOUBLE_EQ(complexPlaneScale(14.0), 15.0);

  EXPECT_DOUBLE_EQ(firstDecade(50.0), 10.0);
  EXPECT_DOUBLE_EQ(firstDecade(100.0), 100.0);
  EXPECT_DOUBLE_EQ(firstDecade(0.5), 0.1);
}

TEST(PlotScales, ColoursFollowTheBackground) {
  using wolterix::drawing::Color;
  const PlotColors dark = plotColors(Color{0, 0, 0}, GridMode::Faint);
  EXPECT_EQ(dark.traces[0], (Color{0, 255, 0}));
  EXPECT_EQ(dark.traces[5], (Color{255, 255, 255}));
  EXPECT_EQ(dark.text, (Color{192, 192, 192}));
  EXPECT_EQ(dark.grid, (Color{85, 85, 85}));
  EXPECT_EQ(plotColors(Color{0, 0, 0}, GridMode::Strong).grid, dark.text);
  EXPECT_EQ(plotColors(Color{85, 85, 85}, GridMode::Faint).grid, (Color{128, 128, 128}));

  const PlotColors white = plotColors(Color{255, 255, 255}, GridMode::Faint);
  EXPECT_EQ(white.traces[0], (Color{0, 128, 0}));
  EXPECT_EQ(white.traces[1], (Color{255, 0, 0}));  // red and fuchsia stay on every background
  EXPECT_EQ(white.traces[4], (Color{255, 0, 255}));
  EXPECT_EQ(white.grid, (Color{192, 192, 192}));
  EXPECT_EQ(white.text, (Color{0, 0, 0}));
  const PlotColors silver = plotColors(Color{192, 192, 192}, GridMode::Faint);
  EXPECT_EQ(silver.grid, (Color{128, 128, 128}));
  EXPECT_EQ(silver.text, (Color{0, 0, 0}));
}

TEST(PlotData, RectifierTracesGetOneVoltageScaleAndUnknownSlotsAreSkipped) {
  wolterix::model::Schematic schematic;
  ASSERT_TRUE(
      wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
  wolterix::engine::Simulation sim;
  sim.setSampleCount(200);
  ASSERT_TRUE(sim.transientRun(schematic, 0, 40e-3, 1).ok());

  WaveformSelection selection;
  selection.traceSlots[0] = {"U(E1)", true};
  selection.traceSlots[1] = {"U(Nope)", true};  // deleted since: no trace, no error
  selection.traceSlots[2] = {"U(R1)", true};
  selection.traceSlots[3] = {"I(R1)", false};
  const TimePlot plot = buildTimePlot(sim.store(), selection);
  ASSERT_EQ(plot.traces.size(), 2u);
  EXPECT_EQ(plot.traces[1].slot, 2);
  EXPECT_EQ(plot.traces[0].samples.size(), 201u);
  double peak = 0;
  for (double v : plot.traces[0].samples) peak = std::max(peak, std::fabs(v));
  EXPECT_DOUBLE_EQ(plot.scale(Quantity::Voltage), automaticScale(Quantity::Voltage, 0, peak));
  EXPECT_LT(plot.scale(Quantity::Current), 0.0);
  EXPECT_NEAR(plot.span(), 40e-3, 1e-12);

  selection.fixedScale[static_cast<int>(Quantity::Voltage)] = true;
  EXPECT_DOUBLE_EQ(buildTimePlot(sim.store(), selection).scale(Quantity::Voltage), 500.0);
}

TEST(PlotData, TransferPlotAddsTheInputLevelAndDropsTracesWithAZero) {
  wolterix::model::Schematic schematic;
  ASSERT_TRUE(wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/filtr.wtx").ok());
  const auto names = wolterix::model::waveformList(schematic);
  ASSERT_GE(names.size(), 2u);
  wolterix::engine::Simulation sim;
  ASSERT_TRUE(sim.frequencySweep(schematic, 10.0, 1e5).ok());

  WaveformSelection selection;
  selection.traceSlots[0] = {names[1], true};
  const TransferPlot plain = buildTransferPlot(sim.transferStore(), selection, 0.0);
  const TransferPlot raised = buildTransferPlot(sim.transferStore(), selection, 20.0);
  ASSERT_EQ(plain.traces.size(), 1u);
  EXPECT_NEAR(plain.decades, 4.0, 1e-9);
  EXPECT_DOUBLE_EQ(plain.lowerDecade, 10.0);
  EXPECT_DOUBLE_EQ(raised.dbTop - plain.dbTop, 20.0);
  EXPECT_DOUBLE_EQ(raised.dbTop - raised.dbBottom, 10.0);
}

}  // namespace

namespace {

TEST(PlotScales, AxisNumbersReadAsPlainDecimals) {
  using wolterix::results::axisNumber;
  EXPECT_EQ(axisNumber(1000), "1000");
  EXPECT_EQ(axisNumber(100000), "100000");
  EXPECT_EQ(axisNumber(-250), "-250");
  EXPECT_EQ(axisNumber(0.25), "0.25");
  EXPECT_EQ(axisNumber(0.00025), "0.00025");
  EXPECT_EQ(axisNumber(0), "0");
  EXPECT_EQ(axisNumber(1e9), "1e+09");
  EXPECT_EQ(axisNumber(1e-6), "1e-06");
}

}  // namespace
