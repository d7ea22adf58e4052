#include "results/plot_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/symbols.h"
#include "results/plot_readout.h"

namespace wolterix::results {

namespace {
constexpr int kValueDivisions = 10;  // five above and five below the zero line

using drawing::CanvasPoint;
using drawing::Color;
using drawing::Pen;
using drawing::PenStyle;

struct Style {
  double textSize = kScreenTextSize;
  double unit = 1.0;  ///< text size over the screen's: spacing grows with the lettering
  Color text;
  Color background;
  bool gridShown = true;
  Pen grid;
  Pen minorGrid;  ///< the 2…9 lines of a logarithmic axis
  Pen axis;
  std::array<Color, 6> traces;
  Pen trace;  ///< width and kind of the trace lines; the colour comes per slot

  Pen traceIn(int slot) const {
    Pen pen = trace;
    pen.color = slot >= 0 && slot < 6 ? traces[slot] : text;
    return pen;
  }
};

Pen textPen(Color color) {
  Pen pen;
  pen.color = color;
  return pen;
}

// A colour seen through another at the given opacity (0-255).
Color blend(Color over, Color under, int alpha) {
  const auto mix = [alpha](std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>((a * alpha + b * (255 - alpha) + 127) / 255);
  };
  return {mix(over.r, under.r), mix(over.g, under.g), mix(over.b, under.b)};
}

// Paper lines have a width of their own in device pixels (cosmetic pens), whatever the scale
// the plot is printed at: hairlines would vanish on a high-resolution page.
Pen paperPen(Color color, double width) { return Pen{color, width, PenStyle::Solid, true}; }

Style styleFor(const PlotView& view, bool paper, const PrintSizes& sizes) {
  const double paperLine = sizes.lineWidth;
  Style style;
  if (paper) style.textSize = std::max(kScreenTextSize, sizes.textSize);
  style.unit = style.textSize / kScreenTextSize;
  style.trace = Pen{drawing::colors::kBlack, 1.2, PenStyle::Solid, false};
  if (paper) {
    style.text = drawing::colors::kBlack;
    style.background = drawing::colors::kWhite;
    style.grid =
        paperPen(view.grid == GridMode::Strong ? drawing::colors::kBlack : Color{160, 160, 164},
                 paperLine / 2);
    style.trace = paperPen(drawing::colors::kBlack, paperLine);
    style.traces = printedTraceColors();
  } else {
    style.text = view.colors.text;
    style.background = view.colors.background;
    style.grid = Pen{view.colors.grid, 1.0, PenStyle::Solid, true};
    style.traces = view.colors.traces;
  }
  style.gridShown = view.grid != GridMode::None;
  if (view.grid == GridMode::Faint) style.grid.style = PenStyle::Dot;
  style.axis =
      paper ? paperPen(style.text, paperLine) : Pen{style.text, 1.0, PenStyle::Solid, true};
  style.minorGrid = style.grid;
  style.minorGrid.color = blend(style.grid.color, style.background, paper ? 110 : 90);
  return style;
}

enum Align { kCenter = 0, kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

// Text placed by a point of its box: centred on it, or with the named edges on it; in the
// style's size unless another is given.
void textAt(drawing::Canvas& c, const Style& s, double x, double y, std::string_view text,
            int align, double size = 0) {
  if (!(size > 0)) size = s.textSize;
  const double w = c.textWidth(text, size) + 2;
  const double h = c.textHeight(text, size);
  double left = x - w / 2;
  double top = y - h / 2;
  if (align & kRight) left = x - w;
  if (align & kLeft) left = x;
  if (align & kTop) top = y;
  if (align & kBottom) top = y - h;
  c.text(left + 1, top, text, size);
}

void gridLine(drawing::Canvas& c, const Style& s, const Pen& pen, double x1, double y1, double x2,
              double y2) {
  if (!s.gridShown) return;
  c.setPen(pen);
  c.line(x1, y1, x2, y2);
}

void drawGrid(drawing::Canvas& c, const PlotRect& r, const Style& s, int columns, int rows) {
  for (int i = 1; i < columns; ++i) {
    const double x = r.left + r.width * i / columns;
    gridLine(c, s, s.grid, x, r.top, x, r.bottom());
  }
  for (int j = 1; j < rows; ++j) {
    const double y = r.top + r.height * j / rows;
    gridLine(c, s, s.grid, r.left, y, r.right(), y);
  }
  c.setPen(s.axis);
  c.setBrush(drawing::Brush::none());
  c.rectangle(r.left, r.top, r.right(), r.bottom());
}

// The part of the segment a-b inside the box (Liang-Barsky); false when none of it is.
bool clipSegment(CanvasPoint& a, CanvasPoint& b, const PlotRect& box) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  double t0 = 0.0;
  double t1 = 1.0;
  const auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!edge(-dx, a.x - box.left) || !edge(dx, box.right() - a.x) || !edge(-dy, a.y - box.top) ||
      !edge(dy, box.bottom() - a.y))
    return false;
  const CanvasPoint start{a.x + t0 * dx, a.y + t0 * dy};
  const CanvasPoint end{a.x + t1 * dx, a.y + t1 * dy};
  a = start;
  b = end;
  return true;
}

// The traces of a plot, clipped to its frame with a pixel to spare; each is drawn as one
// figure of its parts inside the frame, in its slot's pen.
class TraceLayer {
 public:
  TraceLayer(drawing::Canvas& c, const PlotRect& frame, const Style& style)
      : m_canvas(c),
        m_box{frame.left - 1, frame.top - 1, frame.width + 2, frame.height + 2},
        m_style(style) {}

  /// The polyline through pointAt(0) .. pointAt(count - 1); the pen stays set afterwards.
  /// A dashed line lets a trace identical to an earlier one show over it.
  template <class PointAt>
  void draw(int slot, std::size_t count, PointAt pointAt, bool dashed = false) {
    if (count == 0) return;
    Pen pen = m_style.traceIn(slot);
    if (dashed) pen.style = PenStyle::Dash;
    m_canvas.setPen(pen);
    m_canvas.setBrush(drawing::Brush::none());
    std::vector<CanvasPoint> run;
    CanvasPoint previous = pointAt(std::size_t{0});
    if (count == 1 && m_box.contains(previous.x, previous.y)) run.push_back(previous);
    for (std::size_t i = 1; i < count; ++i) {
      const CanvasPoint next = pointAt(i);
      CanvasPoint a = previous;
      CanvasPoint b = next;
      previous = next;
      if (!clipSegment(a, b, m_box)) {
        flush(run);
        continue;
      }
      if (!run.empty() && (run.back().x != a.x || run.back().y != a.y)) flush(run);
      if (run.empty()) run.push_back(a);
      run.push_back(b);
      // A segment leaving the box ends its part.
      if (b.x != next.x || b.y != next.y) flush(run);
    }
    flush(run);
    m_canvas.polylines(m_parts);
    m_parts.clear();
  }

  bool inside(CanvasPoint p) const { return m_box.contains(p.x, p.y); }

 private:
  void flush(std::vector<CanvasPoint>& run) {
    if (!run.empty()) m_parts.push_back(std::move(run));
    run.clear();
  }

  drawing::Canvas& m_canvas;
  std::vector<std::vector<CanvasPoint>> m_parts;
  PlotRect m_box;
  const Style& m_style;
};

// Which present quantities get labelled on the left and on the right of the time plot.
std::array<int, 2> labelledQuantities(const PlotView& view) {
  std::array<int, 2> shown{-1, -1};
  for (int side = 0; side < 2; ++side) {
    const int q = view.labelChoices[side];
    if (q >= 0 && q < kQuantityCount && view.time.scales[q] > 0 && (side == 0 || q != shown[0]))
      shown[side] = q;
  }
  // An axis with traces on it but none of the chosen quantities still gets numbers.
  if (shown[0] < 0 && shown[1] < 0)
    for (int q = 0; q < kQuantityCount; ++q)
      if (view.time.scales[q] > 0) return {q, -1};
  return shown;
}

// Whether trace i repeats an earlier trace exactly (the same waveform in two slots).
template <class Traces, class Same>
bool repeatsEarlier(const Traces& traces, std::size_t i, Same same) {
  for (std::size_t j = 0; j < i; ++j)
    if (same(traces[j], traces[i])) return true;
  return false;
}

// Bars of the conduction strip: conducting, and a Zener in breakdown.
constexpr Color kConducting{255, 140, 0};
constexpr Color kBreakdown{255, 205, 120};

// One row per switching element under the traces: its name left of the strip and a bar over
// each run of samples in one conducting state, from the first sample of the run to the first
// after it, on the traces' time axis.
void paintConduction(drawing::Canvas& c, const TimeFrames& parts, const TimePlot& plot,
                     const Style& s) {
  const PlotRect& r = parts.strip;
  const double row = parts.rowHeight;
  const int last = plot.sampleCount - 1;
  const auto xOf = [&](int k) { return last > 0 ? r.left + r.width * k / last : r.left; };
  const double nameSize = std::min(s.textSize, row);
  const double inset = std::min(2 * s.unit, row / 5);
  for (std::size_t i = 0; i < plot.conduction.size(); ++i) {
    const ConductionRow& element = plot.conduction[i];
    const double top = r.top + row * double(i);
    if (i > 0) gridLine(c, s, s.minorGrid, r.left, top, r.right(), top);
    c.setPen(textPen(s.text));
    textAt(c, s, r.left - 4 * s.unit, top + row / 2, element.name, kRight, nameSize);
    const int count = std::min(int(element.states.size()), plot.sampleCount);
    for (int k = 0; k < count;) {
      const std::uint8_t state = element.states[std::size_t(k)];
      int end = k + 1;
      while (end < count && element.states[std::size_t(end)] == state) ++end;
      if (state != 0) {
        const Color color = state == 2 ? kBreakdown : kConducting;
        c.setPen(Pen{color, 1.0, PenStyle::Solid, true});
        c.setBrush(drawing::Brush::solid(color));
        c.rectangle(xOf(k), top + inset, xOf(std::min(end, last)), top + row - inset);
      }
      k = end;
    }
  }
  c.setBrush(drawing::Brush::none());
  c.setPen(s.axis);
  c.rectangle(r.left, r.top, r.right(), r.bottom());
}

void paintTime(drawing::Canvas& c, const PlotRect& frame, const PlotView& view, const Style& s) {
  const TimePlot& plot = view.time;
  const TimeFrames parts = timeFrames(frame, view, s.textSize);
  const PlotRect& r = parts.traces;
  const PlotRect& strip = parts.strip;
  const double span = plot.span();
  const TimeUnit unit = timeUnit(span);
  drawGrid(c, r, s, 1, kValueDivisions);
  // Vertical grid lines at round instants through the traces and the strip, each labelled
  // under the frame.
  if (span > 0) {
    for (const double t : timeGridLines(plot.startTime, span)) {
      const double x = r.left + r.width * (t - plot.startTime) / span;
      if (x < r.left - 0.5 || x > r.right() + 0.5) continue;
      gridLine(c, s, s.grid, x, r.top, x, r.bottom());
      if (strip.height > 0) gridLine(c, s, s.grid, x, strip.top, x, strip.bottom());
      c.setPen(textPen(s.text));
      textAt(c, s, x, frame.bottom() + 2 * s.unit, axisNumber(t * unit.factor), kTop);
    }
  }
  if (strip.height > 0) paintConduction(c, parts, plot, s);
  const double midY = r.centerY();
  c.setPen(s.axis);
  c.line(r.left, midY, r.right(), midY);
  c.setPen(textPen(s.text));
  textAt(c, s, r.right(), frame.bottom() + 16 * s.unit, unit.text, kTop | kRight);

  // Value labels of up to two quantities, left and right of the plot.
  const auto labelled = labelledQuantities(view);
  for (int side = 0; side < 2; ++side) {
    const int q = labelled[side];
    if (q < 0) continue;
    const Quantity quantity = static_cast<Quantity>(q);
    const double scale = plot.scales[q];
    const double factor = labelFactor(quantity, scale);
    const AxisLabel label = verticalLabel(quantity, scale);
    const double x = side == 0 ? r.left - 4 * s.unit : r.right() + 4 * s.unit;
    const int align = side == 0 ? kRight : kLeft;
    for (int j = 0; j <= kValueDivisions; ++j) {
      const double value = scale * (1.0 - 2.0 * j / kValueDivisions) * factor;
      textAt(c, s, x, r.top + r.height * j / kValueDivisions, axisNumber(value), align);
    }
    textAt(c, s, x, r.top + r.height / kValueDivisions / 2, label.unit, align);
  }

  // The traces, each scaled by its quantity.
  TraceLayer layer(c, r, s);
  for (std::size_t k = 0; k < plot.traces.size(); ++k) {
    const TimeTrace& trace = plot.traces[k];
    const double scale = plot.scale(trace.quantity);
    if (!(scale > 0) || trace.samples.size() < 2) continue;
    const double last = double(trace.samples.size() - 1);
    const bool repeated =
        repeatsEarlier(plot.traces, k, [](const TimeTrace& a, const TimeTrace& b) {
          return a.quantity == b.quantity && a.samples == b.samples;
        });
    layer.draw(
        trace.slot, trace.samples.size(),
        [&](std::size_t i) {
          const double v = std::clamp(trace.samples[i] / scale, -2.0, 2.0);
          return CanvasPoint{r.left + r.width * double(i) / last, midY - v * r.height / 2};
        },
        repeated);
  }
}

void paintFrequencyAxis(drawing::Canvas& c, const PlotRect& r, const TransferPlot& plot,
                        const Style& s) {
  const double upper = plot.lowerFrequency * std::pow(10.0, plot.decades);
  for (const LogGridLine& line : logGridLines(plot.lowerFrequency, upper)) {
    const double x = frequencyX(plot, r, line.frequency);
    if (x < r.left - 0.5 || x > r.right() + 0.5) continue;
    gridLine(c, s, line.major ? s.grid : s.minorGrid, x, r.top, x, r.bottom());
    if (!line.major) continue;
    c.setPen(textPen(s.text));
    textAt(c, s, x, r.bottom() + 2 * s.unit, frequencyLabel(line.frequency), kTop);
  }
  c.setPen(textPen(s.text));
  textAt(c, s, r.right(), r.bottom() + 16 * s.unit, "[Hz]", kTop | kRight);
}

void paintBode(drawing::Canvas& c, const PlotRect& r, const PlotView& view, const Style& s,
               bool angle) {
  const TransferPlot& plot = view.transferPlot;
  const double top = angle ? 180.0 : plot.dbTop;
  const double bottom = angle ? -180.0 : plot.dbBottom;
  // Angles in 45° rows, decibels in round steps from the bottom of the range up.
  const double step = angle ? 45.0 : dbGridStep(top - bottom);
  std::vector<double> levels;
  if (step > 0 && top > bottom)
    for (double v = std::ceil(bottom / step - 1e-9) * step; v <= top + 1e-9 * step; v += step)
      levels.push_back(v);
  drawGrid(c, r, s, 1, 1);
  if (plot.frequencies.size() < 2) return;
  const auto levelY = [&](double v) { return r.top + r.height * (top - v) / (top - bottom); };
  for (const double v : levels) {
    const double y = levelY(v);
    if (y > r.top + 0.5 && y < r.bottom() - 0.5) gridLine(c, s, s.grid, r.left, y, r.right(), y);
    c.setPen(textPen(s.text));
    textAt(c, s, r.left - 4 * s.unit, y, axisNumber(std::abs(v) < 1e-9 ? 0.0 : v), kRight);
  }
  paintFrequencyAxis(c, r, plot, s);
  c.setPen(textPen(s.text));
  const double unitY = levels.size() >= 2
                           ? (levelY(levels.back()) + levelY(levels[levels.size() - 2])) / 2
                           : r.top + 10 * s.unit;
  textAt(c, s, r.left - 4 * s.unit, unitY, angle ? "[°]" : "[dB]", kRight);

  TraceLayer layer(c, r, s);
  for (std::size_t n = 0; n < plot.traces.size(); ++n) {
    const TransferTrace& trace = plot.traces[n];
    if (trace.hasZero) continue;
    const bool repeated =
        repeatsEarlier(plot.traces, n, [](const TransferTrace& a, const TransferTrace& b) {
          return !a.hasZero && a.values == b.values;
        });
    layer.draw(
        trace.slot, trace.values.size(),
        [&](std::size_t k) {
          const double v =
              angle ? angleDegrees(trace.values[k]) : magnitudeDb(trace.values[k], plot.inputLevel);
          return CanvasPoint{frequencyX(plot, r, plot.frequencies[k]),
                             std::clamp(levelY(v), r.top - 5, r.bottom() + 5)};
        },
        repeated);
  }
}

void paintComplex(drawing::Canvas& c, const PlotRect& area, const PlotView& view, const Style& s) {
  const TransferPlot& plot = view.transferPlot;
  const PlotRect r = complexSquare(area);
  const double side = r.width;
  const double scale = plot.complexScale;
  const double cx = r.centerX();
  const double cy = r.centerY();
  const bool polar = view.selection.coordinates == CoordinateSystem::Polar;
  c.setBrush(drawing::Brush::none());
  if (polar) {
    for (int ring = 1; ring <= 5; ++ring) {
      const double radius = side / 2 * ring / 5;
      if (s.gridShown) {
        c.setPen(s.grid);
        c.ellipse(cx - radius, cy - radius, cx + radius, cy + radius);
      }
      c.setPen(textPen(s.text));
      textAt(c, s, cx + radius, cy + 2 * s.unit, axisNumber(scale * 0.2 * ring), kTop | kRight);
    }
  } else {
    drawGrid(c, r, s, 10, 10);
    c.setPen(textPen(s.text));
    textAt(c, s, r.right(), cy + 2 * s.unit, axisNumber(scale), kTop | kRight);
    textAt(c, s, cx + 4 * s.unit, r.top, axisNumber(scale), kTop | kLeft);
  }
  c.setPen(s.axis);
  c.line(r.left, cy, r.right(), cy);
  c.line(cx, r.top, cx, r.bottom());
  c.setPen(textPen(s.text));
  textAt(c, s, r.right() - 4 * s.unit, cy - 2 * s.unit, "Re", kBottom | kRight);
  textAt(c, s, cx - 4 * s.unit, r.top + 2 * s.unit, "Im", kTop | kRight);

  auto toPoint = [&](std::complex<double> k) {
    return CanvasPoint{cx + k.real() / scale * side / 2, cy - k.imag() / scale * side / 2};
  };
  TraceLayer layer(c, r, s);
  for (std::size_t n = 0; n < plot.traces.size(); ++n) {
    const TransferTrace& trace = plot.traces[n];
    if (trace.values.empty()) continue;
    const bool repeated = repeatsEarlier(
        plot.traces, n,
        [](const TransferTrace& a, const TransferTrace& b) { return a.values == b.values; });
    layer.draw(
        trace.slot, trace.values.size(), [&](std::size_t k) { return toPoint(trace.values[k]); },
        repeated);
    const CanvasPoint start = toPoint(trace.values.front());
    if (view.selection.markStartPoints && layer.inside(start))
      c.ellipse(start.x - 3, start.y - 3, start.x + 3, start.y + 3);
  }
}
}  // namespace

PlotRect plotFrame(const PlotRect& area, double textSize) {
  const double u = textSize / kScreenTextSize;
  return {area.left + 62 * u, area.top + 12 * u, area.width - 124 * u, area.height - 48 * u};
}

bool showsConduction(const PlotView& view) {
  return view.showConduction && !view.transfer && !view.time.conduction.empty();
}

TimeFrames timeFrames(const PlotRect& frame, const PlotView& view, double textSize) {
  TimeFrames parts{frame, {frame.left, frame.bottom(), frame.width, 0.0}, 0.0};
  if (!showsConduction(view)) return parts;
  const double u = textSize / kScreenTextSize;
  // The gap keeps the lowest value label of the traces off the first name.
  const double gap = 8 * u;
  const double rows = double(view.time.conduction.size());
  const double row = std::min(kConductionRowHeight * u, (frame.height / 3 - gap) / rows);
  if (!(row > 0)) return parts;
  parts.rowHeight = row;
  parts.strip = {frame.left, frame.bottom() - row * rows, frame.width, row * rows};
  parts.traces.height = frame.height - gap - parts.strip.height;
  return parts;
}

PrintSizes printSizes(double dotsPerInch, double pageScale) {
  PrintSizes sizes;
  sizes.lineWidth = drawing::printedLineWidth(dotsPerInch);
  if (pageScale > 0)
    sizes.textSize = std::max(kScreenTextSize, kPrintedTextPoints / 72.0 * dotsPerInch / pageScale);
  return sizes;
}

PlotRect complexSquare(const PlotRect& frame) {
  const double side = std::min(frame.width, frame.height);
  return {frame.centerX() - side / 2, frame.centerY() - side / 2, side, side};
}

double frequencyX(const TransferPlot& plot, const PlotRect& r, double f) {
  if (!(plot.decades > 0)) return r.left;
  return r.left + r.width * std::log10(f / plot.lowerFrequency) / plot.decades;
}

void paintPlot(drawing::Canvas& canvas, double x, double y, double width, double height,
               const PlotView& view, bool paper, const PrintSizes& sizes) {
  if (!paper) {
    canvas.setPen(Pen{view.colors.background, 1.0, PenStyle::Solid, true});
    canvas.setBrush(drawing::Brush::solid(view.colors.background));
    canvas.rectangle(x, y, x + width, y + height);
    canvas.setBrush(drawing::Brush::none());
  }
  const Style style = styleFor(view, paper, sizes);
  const PlotRect plot = plotFrame({x, y, width, height}, style.textSize);
  if (!view.transfer)
    paintTime(canvas, plot, view, style);
  else if (view.selection.transferPlot == TransferPlotKind::Complex)
    paintComplex(canvas, plot, view, style);
  else
    paintBode(canvas, plot, view, style, view.selection.transferPlot == TransferPlotKind::Angle);
  // An empty plot says what to do on the screen; paper gets the empty axes.
  const bool empty = view.transfer ? view.transferPlot.traces.empty() : view.time.traces.empty();
  if (empty && !paper) {
    canvas.setPen(textPen(style.text));
    textAt(canvas, style, plot.centerX(), plot.centerY(), kNoTracesHint, kCenter);
  }
}

void paintLegend(drawing::Canvas& canvas, double x, double y, const PlotView& view, bool paper,
                 double pixelSize) {
  const Style style = styleFor(view, paper, PrintSizes{});
  const double gap = canvas.textWidth("   ", pixelSize);
  const auto entry = [&](int slot, const std::string& text) {
    canvas.setPen(textPen(style.traceIn(slot).color));
    canvas.text(x, y, text, pixelSize);
    x += canvas.textWidth(text, pixelSize) + gap;
  };
  if (view.transfer) {
    for (const TransferTrace& t : view.transferPlot.traces) entry(t.slot, t.name);
  } else {
    for (const TimeTrace& t : view.time.traces)
      entry(t.slot, legendText(t.name, t.quantity, view.time.scale(t.quantity)));
  }
}

void paintPlotWithLegend(drawing::Canvas& canvas, double x, double y, double width, double height,
                         const PlotView& view, bool paper, const PrintSizes& sizes) {
  if (!paper) {
    canvas.setPen(Pen{view.colors.background, 1.0, PenStyle::Solid, true});
    canvas.setBrush(drawing::Brush::solid(view.colors.background));
    canvas.rectangle(x, y, x + width, y + height);
    canvas.setBrush(drawing::Brush::none());
  }
  const double text = paper ? std::max(kScreenTextSize, sizes.textSize) : kScreenTextSize;
  const double u = text / kScreenTextSize;
  paintLegend(canvas, x + 62 * u, y + 4 * u, view, paper, text);
  paintPlot(canvas, x, y + kLegendHeight * u, width, height - kLegendHeight * u, view, paper,
            sizes);
}

}  // namespace wolterix::results
