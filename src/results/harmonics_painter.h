#pragma once
/// The bar chart of a trace's harmonics, drawn on any canvas: the screen, the printer and SVG.

#include <optional>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "engine/harmonics.h"
#include "results/plot_painter.h"
#include "results/waveform_selection.h"

namespace wolterix::results {

/// Everything one drawing of the chart needs; the window, the printer and exports share it.
struct HarmonicsView {
  std::string traceName;
  Quantity quantity = Quantity::Voltage;
  /// Nothing to draw but the frame when the analysis was refused.
  std::optional<engine::HarmonicAnalysis> analysis;
  bool percent = true;  ///< bars in per cent of the fundamental, else RMS values in the unit
  bool logarithmic = false;
  bool showDc = true;  ///< the DC component as a bar of order 0
};

/// The vertical axis of the chart: its range, the values of its labelled lines (in the
/// quantity's unit or per cent) and how they are written (value × factor, unit in brackets).
struct HarmonicAxis {
  double bottom = 0.0;
  double top = 1.0;
  bool logarithmic = false;
  std::vector<double> ticks;
  double factor = 1.0;
  std::string unit;  ///< "[%]", "[mV]"
};
HarmonicAxis harmonicAxis(const HarmonicsView& view);

/// The height of the bar of an order (0: DC) on the view's axis: per cent of the fundamental's
/// RMS, or the RMS (the DC's magnitude) in the quantity's unit.
double harmonicBarValue(const HarmonicsView& view, int order);

/// A value with two decimals and a decimal comma ("31,08"); "—" when not a number.
std::string percentNumber(double percent);

/// Paints the chart into the rectangle (x, y, width, height): a title line with the trace, the
/// fundamental and the THD, the bars of orders 1..H (and DC), the vertical axis in per cent or
/// in the unit, linear or in decades, and the orders below. Orders at the sampling limit are
/// hatched. On paper the lines keep their printed width and the text its printed size.
void paintHarmonics(drawing::Canvas& canvas, double x, double y, double width, double height,
                    const HarmonicsView& view, bool paper, const PrintSizes& sizes = {});

}  // namespace wolterix::results
