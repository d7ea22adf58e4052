#pragma once
/// What the plot window measures, free of any toolkit: values under the cursors, the zoomed
/// range with its scales, round grid lines, the legend's scale per division and the CSV of
/// what is shown.

#include <optional>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "results/plot_data.h"

namespace wolterix::results {

// ---- Numbers -------------------------------------------------------------------------------

/// Three significant digits with a decimal comma and a true minus sign: "31,1", "−0,25".
std::string readoutNumber(double value);
/// The same with a unit prefix that brings it into [1, 1000): "12,5 ms", "−323 V".
std::string prefixedValue(double value, const std::string& unit);
/// The unit of a quantity: "V", "A", "obr/min", "W".
std::string quantityUnit(Quantity q);

// ---- Cursors -------------------------------------------------------------------------------

/// The value of trace `trace` of a time plot at instant t, linear between samples; nullopt
/// outside the samples.
std::optional<double> valueAt(const TimePlot& plot, std::size_t trace, double t);

/// One line of a readout, written in the colour of its trace slot (−1: the plot's text colour).
struct ReadoutLine {
  int slot = -1;
  std::string text;
};

/// The readout over a time plot: with only cursor a, the time and each trace's value with a
/// unit prefix ("t = 12,5 ms", "U(R1) = 311 V"); with cursor b too, A, B, Δt, 1/Δt and per
/// trace both values and their difference.
std::vector<ReadoutLine> timeReadout(const TimePlot& plot, double a, std::optional<double> b);

/// Which of the three transfer plots the readout is for.
enum class TransferView { Magnitude, Angle, Complex };

/// The readout over a transfer plot at frequency f (magnitude, angle: each trace's dB or
/// degrees at f, interpolated over log f), or for the complex plane at the point (re, im) of
/// the plane: per trace the frequency, Re, Im, |K| and angle of its nearest point.
std::vector<ReadoutLine> transferReadout(const TransferPlot& plot, TransferView view, double f);
std::vector<ReadoutLine> complexReadout(const TransferPlot& plot, double re, double im);

// ---- Zoom ----------------------------------------------------------------------------------

/// The time plot (traces and conduction) of the samples within [from, to] only, with the
/// automatic scales of the quantities recomputed over them. The stored results are never
/// touched: this is a copy.
TimePlot zoomedTimePlot(const TimePlot& plot, double from, double to);
/// The transfer plot over [from, to] Hz, its decibel range and complex scale recomputed.
TransferPlot zoomedTransferPlot(const TransferPlot& plot, double from, double to, double dbSpan);

// ---- Grids ---------------------------------------------------------------------------------

/// Grid lines of the time axis over [start, start + span] in seconds, 1-2-5 steps of the time
/// unit (60 ms: every 10 ms; 75 ms: every 10 ms; 20 ms: every 2 or 5 ms).
std::vector<double> timeGridLines(double start, double span);
/// The step of the decibel grid for a span: 1-2-5 steps of dB (60 dB: 10 dB).
double dbGridStep(double span);
/// Lines of the logarithmic axis over [lower, upper] Hz: the decades (major) and 2…9 (minor).
struct LogGridLine {
  double frequency = 0.0;
  bool major = false;
};
std::vector<LogGridLine> logGridLines(double lower, double upper);
/// A frequency in engineering form for the log axis: 100, 1k, 10k, 100k, 1M.
std::string frequencyLabel(double frequency);

// ---- Legend and export ---------------------------------------------------------------------

/// A legend entry with its scale per division: "U(R1) 100 V/dz".
std::string legendText(const std::string& name, Quantity quantity, double scale);

/// The CSV of the shown traces of a time plot: exactly the command line's `simulate` CSV over
/// the same samples.
std::string timePlotCsv(const TimePlot& plot);
/// The CSV of a transfer plot: f, then .re, .im, .dB, .deg of every trace, as the command line
/// writes a sweep.
std::string transferPlotCsv(const TransferPlot& plot);

}  // namespace wolterix::results
