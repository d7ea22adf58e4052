#include "results/plot_readout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cli/commands.h"
#include "engine/transient_run.h"
#include "model/schematic.h"
#include "model/schematic_file.h"

namespace {

using namespace wolterix::results;

std::vector<std::string> texts(const std::vector<ReadoutLine>& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) out.push_back(line.text);
  return out;
}

TimePlot millisecondPlot() {
  TimePlot plot;
  plot.spacing = 1e-3;
  plot.sampleCount = 6;
  plot.traces = {{0, "U(R1)", Quantity::Voltage, {0, 100, 300, -12.3, 300, 400}},
                 {3, "I(L1)", Quantity::Current, {0.01, 0.0123, 0.02, 0.02, 0.01, 0.0}}};
  fitAutomaticScales(plot);
  return plot;
}

TEST(PlotReadout, CursorsInterpolateBetweenSamplesAndGiveTheDifference) {
  const TimePlot plot = millisecondPlot();
  EXPECT_DOUBLE_EQ(*valueAt(plot, 0, 0.5e-3), 50.0);
  EXPECT_DOUBLE_EQ(*valueAt(plot, 0, 1.25e-3), 150.0);
  EXPECT_DOUBLE_EQ(*valueAt(plot, 0, 5e-3), 400.0);  // the last sample itself
  EXPECT_FALSE(valueAt(plot, 0, -1e-4));
  EXPECT_FALSE(valueAt(plot, 0, 5.1e-3));
  EXPECT_FALSE(valueAt(plot, 2, 1e-3));

  EXPECT_EQ(texts(timeReadout(plot, 1.25e-3, std::nullopt)),
            (std::vector<std::string>{"t = 1,25 ms", "U(R1) = 150 V", "I(L1) = 14,2 mA"}));
  const auto both = timeReadout(plot, 1e-3, 3e-3);
  EXPECT_EQ(texts(both),
            (std::vector<std::string>{"A: t = 1 ms", "B: t = 3 ms", "Δt = 2 ms", "1/Δt = 500 Hz",
                                      "U(R1): A 100 V, B −12,3 V, Δ −112 V",
                                      "I(L1): A 12,3 mA, B 20 mA, Δ 7,7 mA"}));
  EXPECT_EQ(both[4].slot, 0);
  EXPECT_EQ(both[5].slot, 3);
  EXPECT_EQ(timeReadout(plot, 2e-3, 2e-3).size(), 5u);  // no 1/Δt for Δt = 0
  EXPECT_EQ(timeReadout(plot, 2e-3, 9e-3)[4].text, "U(R1): A 300 V, B —");
}

TEST(PlotReadout, ZoomRecomputesAutomaticScalesOverTheVisibleSamples) {
  TimePlot plot = millisecondPlot();
  EXPECT_DOUBLE_EQ(plot.scale(Quantity::Voltage), 500.0);
  plot.fixedScales[static_cast<int>(Quantity::Current)] = true;
  plot.scales[static_cast<int>(Quantity::Current)] = 5.0;

  const TimePlot zoomed = zoomedTimePlot(plot, 0.5e-3, 3.2e-3);
  EXPECT_DOUBLE_EQ(zoomed.startTime, 1e-3);
  EXPECT_EQ(zoomed.sampleCount, 3);
  EXPECT_EQ(zoomed.traces[0].samples, (std::vector<double>{100, 300, -12.3}));
  EXPECT_DOUBLE_EQ(zoomed.scale(Quantity::Voltage), 500.0);
  EXPECT_DOUBLE_EQ(zoomedTimePlot(plot, 0, 1e-3).scale(Quantity::Voltage), 100.0);
  EXPECT_DOUBLE_EQ(zoomed.scale(Quantity::Current), 5.0);  // fixed stays
  EXPECT_EQ(plot.traces[0].samples.size(), 6u);            // the original is untouched

  TransferPlot transfer;
  transfer.frequencies = {1, 10, 100, 1000};
  transfer.traces = {{0, "K(C1)", {{1, 0}, {0.5, -0.5}, {0.1, 0}, {0.01, 0}}, false}};
  fitTransferScales(transfer, 60);
  EXPECT_DOUBLE_EQ(transfer.complexScale, 1.0);
  const TransferPlot tail = zoomedTransferPlot(transfer, 50, 2000, 10);
  EXPECT_EQ(tail.frequencies, (std::vector<double>{100, 1000}));
  EXPECT_DOUBLE_EQ(tail.complexScale, 0.25);
  EXPECT_DOUBLE_EQ(tail.dbTop, -20.0);
  EXPECT_DOUBLE_EQ(tail.dbBottom, -30.0);
  EXPECT_DOUBLE_EQ(tail.lowerFrequency, 50.0);
  EXPECT_NEAR(tail.decades, std::log10(40.0), 1e-12);
}

TEST(PlotReadout, TransferReadoutInterpolatesOverLogFrequency) {
  TransferPlot plot;
  plot.frequencies = {100, 1000};
  plot.inputLevel = 20;
  plot.traces = {
      {1, "K(C1)", {std::polar(1.0, 170 * M_PI / 180), std::polar(0.1, -170 * M_PI / 180)}, false},
      {2, "K(R1)", {{0, 0}, {1, 0}}, true}};
  const double middle = std::sqrt(100.0 * 1000.0);
  EXPECT_EQ(texts(transferReadout(plot, TransferView::Magnitude, middle)),
            (std::vector<std::string>{"f = 316 Hz", "K(C1) = 10 dB"}));
  // Across the seam the short way: 170° → −170° passes 180°.
  EXPECT_EQ(transferReadout(plot, TransferView::Angle, middle)[1].text, "K(C1) = 180°");
  EXPECT_EQ(transferReadout(plot, TransferView::Magnitude, 50).size(), 1u);  // outside

  const auto nearest = complexReadout(plot, -0.1, -0.01);
  ASSERT_EQ(nearest.size(), 2u);
  EXPECT_EQ(nearest[0].text, "K(C1): f = 1 kHz, Re = −0,0985, Im = −0,0174, |K| = 0,1, φ = −170°");
  EXPECT_EQ(nearest[1].text, "K(R1): f = 100 Hz, Re = 0, Im = 0, |K| = 0");
}

TEST(PlotReadout, GridsTakeOneTwoFiveStepsOfTheAxisUnit) {
  struct TimeCase {
    double span, step;
  };
  for (const TimeCase c : {TimeCase{20e-3, 2e-3}, {60e-3, 10e-3}, {75e-3, 10e-3}, {1.0, 0.1}}) {
    const auto lines = timeGridLines(0, c.span);
    ASSERT_GE(lines.size(), 2u) << c.span;
    EXPECT_NEAR(lines[1] - lines[0], c.step, c.step * 1e-9) << c.span;
    EXPECT_NEAR(lines.back(), std::floor(c.span / c.step + 1e-9) * c.step, c.step * 1e-9);
  }
  const auto shifted = timeGridLines(3e-3, 20e-3);  // whole multiples of the step
  EXPECT_NEAR(shifted.front(), 4e-3, 1e-15);
  EXPECT_NEAR(shifted.back(), 22e-3, 1e-15);

  EXPECT_DOUBLE_EQ(dbGridStep(10), 1);
  EXPECT_DOUBLE_EQ(dbGridStep(60), 10);
  EXPECT_DOUBLE_EQ(dbGridStep(240), 50);
}

TEST(PlotReadout, LogGridFrequencyLabelsAndLegend) {
  const auto lines = logGridLines(20, 2000);
  ASSERT_EQ(lines.size(), 19u);  // 20..90, 100..900, 1000, 2000
  EXPECT_DOUBLE_EQ(lines.front().frequency, 20);
  EXPECT_FALSE(lines.front().major);
  EXPECT_TRUE(lines[8].major);
  EXPECT_DOUBLE_EQ(lines[8].frequency, 100);
  EXPECT_DOUBLE_EQ(lines.back().frequency, 2000);

  const std::pair<double, const char*> labels[] = {{100, "100"},   {1e3, "1k"},     {1e4, "10k"},
                                                   {1e5, "100k"},  {1e6, "1M"},     {0.1, "0,1"},
                                                   {2500, "2,5k"}, {999.96e3, "1M"}};
  for (const auto& [f, text] : labels) EXPECT_EQ(frequencyLabel(f), text) << f;

  EXPECT_EQ(legendText("U(R1)", Quantity::Voltage, 500), "U(R1) 100 V/dz");
  EXPECT_EQ(legendText("I(L1)", Quantity::Current, 0.2), "I(L1) 40 mA/dz");
  EXPECT_EQ(legendText("n(S1)", Quantity::Speed, 2000), "n(S1) 400 obr/min/dz");
}

std::string commandLineCsv(wolterix::cli::SimulateOptions options) {
  std::ostringstream out, err;
  EXPECT_EQ(wolterix::cli::simulate(options, out, err), 0) << err.str();
  return out.str();
}

TEST(PlotReadout, ExportIsTheCommandLineCsvOfTheSameRun) {
  wolterix::model::Schematic schematic;
  ASSERT_TRUE(
      wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
  wolterix::engine::Simulation sim;
  sim.setSampleCount(50);
  ASSERT_TRUE(sim.transientRun(schematic, 0, 20e-3, 1).ok());
  WaveformSelection selection;
  selection.traceSlots[1] = {"U(R1)", true};
  selection.traceSlots[4] = {"U(E1)", true};
  wolterix::cli::SimulateOptions options;
  options.path = WOLTERIX_EXAMPLES "/prostownik.wtx";
  options.timeText = "20m";
  options.iterations = 1;
  options.samples = 50;
  options.waves = {"U(R1)", "U(E1)"};
  EXPECT_EQ(timePlotCsv(buildTimePlot(sim.store(), selection)), commandLineCsv(options));

  ASSERT_TRUE(wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/filtr.wtx").ok());
  wolterix::engine::Simulation sweep;
  sweep.setSampleCount(20);
  ASSERT_TRUE(sweep.frequencySweep(schematic, 100, 10e3).ok());
  selection.traceSlots = {};
  selection.traceSlots[0] = {"K(C1)", true};
  options.path = WOLTERIX_EXAMPLES "/filtr.wtx";
  options.timeText.clear();
  options.fromText = "100";
  options.toText = "10k";
  options.samples = 20;
  options.waves = {"K(C1)"};
  EXPECT_EQ(transferPlotCsv(buildTransferPlot(sweep.transferStore(), selection, 12.0)),
            commandLineCsv(options));
}

}  // namespace
