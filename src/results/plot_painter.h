#pragma once
/// The plot drawn on any canvas: the screen, the printer and SVG.

#include <array>
#include <string_view>

#include "drawing/canvas.h"
#include "results/plot_data.h"
#include "results/plot_scales.h"
#include "results/waveform_selection.h"

namespace wolterix::results {

/// Everything one drawing of the plot needs; the screen, the printer and the exports share it.
struct PlotView {
  bool transfer = false;
  TimePlot time;
  TransferPlot transferPlot;
  WaveformSelection selection;
  PlotColors colors = plotColors(drawing::Color{0, 0, 0}, GridMode::Faint);
  GridMode grid = GridMode::Faint;
  /// Quantities labelled on the vertical axis (left, right); any other value labels none.
  std::array<int, 2> labelChoices{0, 1};
  /// The conduction strip under a time plot with switching elements.
  bool showConduction = false;
};

/// A rectangle in canvas pixels.
struct PlotRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;

  double right() const { return left + width; }
  double bottom() const { return top + height; }
  double centerX() const { return left + width / 2; }
  double centerY() const { return top + height / 2; }
  bool contains(double x, double y) const {
    return x >= left && x <= right() && y >= top && y <= bottom();
  }
};

/// Text size of the plot on the screen, in pixels.
inline constexpr double kScreenTextSize = 11.0;
/// Smallest printed text of a plot, in points.
inline constexpr double kPrintedTextPoints = 8.0;

/// The frame of the plot inside the area it is drawn in (room for the labels around it, which
/// grows with the text).
PlotRect plotFrame(const PlotRect& area, double textSize = kScreenTextSize);

/// Whether the view draws a conduction strip: a time plot of a run with switching elements,
/// the strip switched on.
bool showsConduction(const PlotView& view);

/// Height of a row of the conduction strip on the screen, in pixels.
inline constexpr double kConductionRowHeight = 14.0;

/// The parts of a time plot's frame: the traces, and under them the conduction strip, one row
/// per switching element. Both span the frame's width, so they share the time axis. Without a
/// strip the traces take the whole frame and the strip has no height.
struct TimeFrames {
  PlotRect traces;
  PlotRect strip;
  double rowHeight = 0.0;
};
/// Rows of kConductionRowHeight (growing with the text), smaller when the strip with its gap
/// would take more than a third of the frame.
TimeFrames timeFrames(const PlotRect& frame, const PlotView& view,
                      double textSize = kScreenTextSize);

/// Sizes of a printed plot in its own pixels (the screen's, scaled onto the page).
struct PrintSizes {
  double lineWidth = 2.0;  ///< device pixels (cosmetic pens)
  double textSize = kScreenTextSize;
};
/// Lines of 0.3 mm and text of at least kPrintedTextPoints for a plot painted at pageScale
/// device pixels per plot pixel on a device of the given resolution.
PrintSizes printSizes(double dotsPerInch, double pageScale);
/// The complex plane: the largest square centred in the frame.
PlotRect complexSquare(const PlotRect& frame);
/// Where a frequency lies on the logarithmic axis of a frame.
double frequencyX(const TransferPlot& plot, const PlotRect& frame, double frequency);

/// Paints the plot into the rectangle (x, y, width, height). On screen the background is
/// filled; on paper the text is black, the grid black or grey and the lines keep a width of
/// their printed width whatever the page's scale, the text its printed size. Traces are
/// clipped to the frame.
/// What an empty plot shows on the screen.
inline constexpr std::string_view kNoTracesHint =
    "Nie wybrano przebiegów – wybierz je poleceniem „Przebiegi...” (F11).";

void paintPlot(drawing::Canvas& canvas, double x, double y, double width, double height,
               const PlotView& view, bool paper, const PrintSizes& sizes = {});

/// Height of the legend row that paintPlotWithLegend puts above the plot (screen text).
inline constexpr double kLegendHeight = 20.0;
/// The legend entries (names with their scales on a time plot) in one row from (x, y), each
/// in its trace colour (on paper the printed colours).
void paintLegend(drawing::Canvas& canvas, double x, double y, const PlotView& view, bool paper,
                 double pixelSize = 11.0);
/// The whole picture of an export or a printout: on screen the background, the legend in a
/// row at the top and the plot below it; on paper the legend is in the printed trace colours
/// and grows with the printed text.
void paintPlotWithLegend(drawing::Canvas& canvas, double x, double y, double width, double height,
                         const PlotView& view, bool paper, const PrintSizes& sizes = {});

}  // namespace wolterix::results
