#pragma once
/// Scale, label and colour arithmetic of the plot window, free of any toolkit.

#include <array>
#include <complex>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "results/waveform_selection.h"

namespace wolterix::results {

using drawing::Color;

/// Smallest automatic scale of a quantity (1e-6 for voltage and current, 0.001 W, 10 obr/min).
double minimumScale(Quantity q);
/// Rounds a positive magnitude up to the 1-2-5 series times a power of ten.
double roundUpToSeries125(double magnitude);
/// The automatic vertical scale of a quantity from the extremes of its samples.
double automaticScale(Quantity q, double smallest, double largest);

/// A vertical scale as the axis shows it: the number and the bracketed unit ("20", "[mV]").
struct AxisLabel {
  double value = 0.0;
  std::string unit;
};
AxisLabel verticalLabel(Quantity q, double scale);
/// Multiplier that turns a value of the quantity into the number written on the axis.
double labelFactor(Quantity q, double scale);

/// The unit of the time axis ("[ms]") and the factor that turns seconds into it.
struct TimeUnit {
  std::string text;
  double factor = 1.0;
};
TimeUnit timeUnit(double span);

/// 20·log10|k| plus the level of the input, in dB.
double magnitudeDb(std::complex<double> k, double inputLevel);
/// Angle in degrees, in (−180, 180].
double angleDegrees(std::complex<double> k);

/// The vertical range of a decibel plot: the span chosen, its top a grid line above the peak.
struct DbRange {
  double top = 0.0;
  double bottom = 0.0;
};
DbRange magnitudeRange(double peakDb, double span);

/// Scale of the complex plane: the largest |Re| or |Im| rounded up to 0.25, 0.5, 1, 1.25,
/// 1.5, 2 or 2.5 times a power of ten (never below 0.25).
double complexPlaneScale(double largestPart);

/// The power of ten at or below a frequency, where the decade marks start.
double firstDecade(double lowerFrequency);

/// Grid modes of the plot window.
enum class GridMode { None = 0, Faint = 1, Strong = 2 };

/// The twelve backgrounds of "Kolor tła".
const std::array<drawing::Color, 12>& backgroundPalette();

/// Colours of the plot that follow its background.
struct PlotColors {
  drawing::Color background;
  drawing::Color grid;
  drawing::Color text;
  std::array<drawing::Color, 6> traces;
};
PlotColors plotColors(drawing::Color background, GridMode mode);
/// The legend colours on paper, slots 1 to 6.
const std::array<drawing::Color, 6>& printedTraceColors();

/// Formats a number for an axis: at most three significant digits, no trailing zeros.
std::string axisNumber(double value);

}  // namespace wolterix::results
