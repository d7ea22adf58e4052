#include "results/harmonics_painter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "engine/meter_reading.h"
#include "results/plot_readout.h"
#include "results/plot_scales.h"

namespace wolterix::results {

namespace {
using drawing::Color;
using drawing::Pen;
using drawing::PenStyle;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A logarithmic axis shows four decades below its top: 100 % down to 0,01 %.
constexpr double kLogDecades = 4.0;

constexpr Color kBarColor{0, 90, 200};
constexpr Color kDcColor{120, 120, 120};
constexpr Color kLimitColor{220, 110, 0};
constexpr Color kGridColor{175, 175, 175};

struct Style {
  double textSize = kScreenTextSize;
  double unit = 1.0;  ///< text size over the screen's: spacing grows with the lettering
  Pen axis;
  Pen grid;
  Pen bar;  ///< outline width and kind; the colour comes per bar
};

Style styleFor(bool paper, const PrintSizes& sizes) {
  Style s;
  if (paper) s.textSize = std::max(kScreenTextSize, sizes.textSize);
  s.unit = s.textSize / kScreenTextSize;
  // Paper lines keep a width of their own in device pixels whatever the scale of the page.
  const double line = paper ? sizes.lineWidth : 1.0;
  s.axis = Pen{drawing::colors::kBlack, line, PenStyle::Solid, true};
  s.grid = Pen{kGridColor, paper ? line / 2 : 1.0, PenStyle::Dot, true};
  s.bar = Pen{kBarColor, paper ? line / 2 : 1.0, PenStyle::Solid, true};
  return s;
}

Pen textPen() { return Pen{drawing::colors::kBlack, 1.0, PenStyle::Solid, false}; }

enum Align { kCenter = 0, kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

// Text placed by a point of its box: centred on it, or with the named edges on it.
void textAt(drawing::Canvas& c, const Style& s, double x, double y, std::string_view text,
            int align) {
  const double w = c.textWidth(text, s.textSize);
  const double h = c.textHeight(text, s.textSize);
  double left = x - w / 2;
  double top = y - h / 2;
  if (align & kRight) left = x - w;
  if (align & kLeft) left = x;
  if (align & kTop) top = y;
  if (align & kBottom) top = y - h;
  c.text(left, top, text, s.textSize);
}

const engine::Harmonic* harmonicOf(const engine::HarmonicAnalysis& a, int order) {
  if (order < 1 || order > int(a.harmonics.size())) return nullptr;
  return &a.harmonics[std::size_t(order - 1)];
}

int shownOrders(const HarmonicsView& view) {
  return view.analysis ? int(view.analysis->harmonics.size()) : 0;
}

// Diagonal strokes over a bar, each cut at the bar's sides.
void hatch(drawing::Canvas& c, double left, double top, double right, double bottom,
           double spacing) {
  const double height = bottom - top;
  for (double start = left - height; start < right; start += spacing) {
    double x1 = start;
    double y1 = bottom;
    double x2 = start + height;
    double y2 = top;
    if (x1 < left) {
      y1 -= left - x1;
      x1 = left;
    }
    if (x2 > right) {
      y2 += x2 - right;
      x2 = right;
    }
    if (x2 > x1) c.line(x1, y1, x2, y2);
  }
}

// The 1-2-5 step of about five intervals up to a top of the series.
double linearStep(double top) {
  const double mantissa = top / std::pow(10.0, std::floor(std::log10(top) + 1e-9));
  return top / (std::abs(mantissa - 2.0) < 1e-6 ? 4.0 : 5.0);
}
}  // namespace

std::string percentNumber(double percent) {
  if (!std::isfinite(percent)) return "\u2014";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, percent, std::chars_format::fixed, 2);
  std::string text(buffer, result.ptr);
  std::replace(text.begin(), text.end(), '.', ',');
  if (text == "-0,00") text = "0,00";
  if (!text.empty() && text.front() == '-') text.replace(0, 1, "\u2212");
  return text;
}

double harmonicBarValue(const HarmonicsView& view, int order) {
  if (!view.analysis) return kNaN;
  const engine::HarmonicAnalysis& a = *view.analysis;
  if (order == 0) {
    if (!view.percent) return std::fabs(a.dc);
    const engine::Harmonic* first = a.fundamentalLine();
    return first && first->rms > 0 ? std::fabs(a.dc) / first->rms * 100.0 : kNaN;
  }
  const engine::Harmonic* h = harmonicOf(a, order);
  if (!h) return kNaN;
  return view.percent ? h->percent : h->rms;
}

HarmonicAxis harmonicAxis(const HarmonicsView& view) {
  HarmonicAxis axis;
  axis.logarithmic = view.logarithmic;
  double largest = 0.0;
  for (int order = view.showDc ? 0 : 1; order <= shownOrders(view); ++order) {
    const double v = harmonicBarValue(view, order);
    if (std::isfinite(v)) largest = std::max(largest, v);
  }
  if (!(largest > 0.0)) largest = view.percent ? 100.0 : 1.0;
  if (view.logarithmic) {
    axis.top = std::pow(10.0, std::ceil(std::log10(largest) - 1e-9));
    axis.bottom = axis.top / std::pow(10.0, kLogDecades);
    for (int k = 0; k <= int(kLogDecades); ++k)
      axis.ticks.push_back(axis.bottom * std::pow(10.0, k));
  } else {
    axis.top = roundUpToSeries125(largest);
    axis.bottom = 0.0;
    const double step = linearStep(axis.top);
    for (int k = 0; k * step <= axis.top * (1 + 1e-9); ++k) axis.ticks.push_back(k * step);
  }
  if (view.percent) {
    axis.unit = "[%]";
  } else if (view.quantity == Quantity::Speed) {
    axis.unit = "[" + quantityUnit(view.quantity) + "]";
  } else {
    const int prefix = std::clamp(int(std::floor(std::log10(axis.top) / 3.0 + 1e-9)), -4, 4);
    axis.factor = std::pow(1000.0, -prefix);
    axis.unit = "[" + engine::prefixText(prefix) + quantityUnit(view.quantity) + "]";
  }
  return axis;
}

void paintHarmonics(drawing::Canvas& c, double x, double y, double width, double height,
                    const HarmonicsView& view, bool paper, const PrintSizes& sizes) {
  const Style s = styleFor(paper, sizes);
  const double u = s.unit;
  const double line = 1.4 * s.textSize;
  if (!paper) {
    c.setPen(Pen{drawing::colors::kWhite, 1.0, PenStyle::Solid, true});
    c.setBrush(drawing::Brush::solid(drawing::colors::kWhite));
    c.rectangle(x, y, x + width, y + height);
  }
  c.setBrush(drawing::Brush::none());

  // The title: the trace, its fundamental and the distortion.
  const engine::HarmonicAnalysis* a = view.analysis ? &*view.analysis : nullptr;
  std::string title = view.traceName;
  if (a) {
    title += "    f = " + prefixedValue(a->fundamental, "Hz") +
             "    THD = " + percentNumber(a->thd * 100.0) + " %";
  }
  c.setPen(textPen());
  double lineTop = y + 4 * u;
  textAt(c, s, x + 8 * u, lineTop, title, kLeft | kTop);
  lineTop += line;
  const int orders = shownOrders(view);
  bool anyAtLimit = false;
  for (int order = 1; order <= orders; ++order)
    anyAtLimit |= harmonicOf(*a, order)->atSamplingLimit;
  if (anyAtLimit) {
    // A sample of the hatching, then what it means.
    const double box = 0.8 * s.textSize;
    const double left = x + 8 * u;
    c.setPen(Pen{kLimitColor, s.bar.width, PenStyle::Solid, true});
    c.rectangle(left, lineTop + 0.1 * s.textSize, left + box, lineTop + 0.1 * s.textSize + box);
    hatch(c, left, lineTop + 0.1 * s.textSize, left + box, lineTop + 0.1 * s.textSize + box, 3 * u);
    c.setPen(textPen());
    textAt(c, s, left + box + 4 * u, lineTop,
           "rząd na granicy próbkowania – amplituda i faza niepewne", kLeft | kTop);
    lineTop += line;
  }

  const HarmonicAxis axis = harmonicAxis(view);
  std::vector<std::string> labels;
  double labelWidth = c.textWidth(axis.unit, s.textSize);
  for (const double tick : axis.ticks) {
    labels.push_back(axisNumber(tick * axis.factor));
    labelWidth = std::max(labelWidth, c.textWidth(labels.back(), s.textSize));
  }
  const double left = x + labelWidth + 12 * u;
  const double right = x + width - 14 * u;
  const double top = lineTop + 1.5 * line;
  const double bottom = y + height - 8 * u - 2 * line;
  if (right - left < 20 || bottom - top < 20) return;

  const auto valueY = [&](double v) {
    if (axis.logarithmic)
      return bottom -
             (bottom - top) * std::log10(v / axis.bottom) / std::log10(axis.top / axis.bottom);
    return bottom - (bottom - top) * (v - axis.bottom) / (axis.top - axis.bottom);
  };

  // Grid and the vertical axis with its numbers; the unit above them.
  for (std::size_t k = 0; k < axis.ticks.size(); ++k) {
    const double ty = valueY(axis.ticks[k]);
    if (ty > top + 0.5 && ty < bottom - 0.5) {
      c.setPen(s.grid);
      c.line(left, ty, right, ty);
    }
    c.setPen(textPen());
    textAt(c, s, left - 5 * u, ty, labels[k], kRight);
  }
  textAt(c, s, left - 5 * u, top - 0.55 * line, axis.unit, kRight | kBottom);

  // The bars: DC first when shown, then orders 1..H, each centred in its slot.
  const int first = view.showDc ? 0 : 1;
  const int slots = std::max(1, orders - first + 1);
  const double slot = (right - left) / slots;
  const double barHalf = std::max(0.5, slot * 0.3);
  const auto centreOf = [&](int order) { return left + (order - first + 0.5) * slot; };
  for (int order = first; order <= orders; ++order) {
    const double v = harmonicBarValue(view, order);
    if (!std::isfinite(v) || v <= axis.bottom) continue;
    const double barTop = std::max(top, valueY(std::min(v, axis.top)));
    const double cx = centreOf(order);
    const bool atLimit = order > 0 && harmonicOf(*a, order)->atSamplingLimit;
    const Color colour = order == 0 ? kDcColor : atLimit ? kLimitColor : kBarColor;
    Pen outline = s.bar;
    outline.color = colour;
    c.setPen(outline);
    if (atLimit) {
      c.setBrush(drawing::Brush::none());
      c.rectangle(cx - barHalf, barTop, cx + barHalf, bottom);
      hatch(c, cx - barHalf, barTop, cx + barHalf, bottom, std::max(3.0, 4 * u));
    } else {
      c.setBrush(drawing::Brush::solid(colour));
      c.rectangle(cx - barHalf, barTop, cx + barHalf, bottom);
    }
  }
  c.setBrush(drawing::Brush::none());
  c.setPen(s.axis);
  c.line(left, top, left, bottom);
  c.line(left, bottom, right, bottom);

  // The orders below: every one while they fit, else every 2nd, 5th, 10th... and always 1.
  c.setPen(textPen());
  const double room = c.textWidth("100", s.textSize) + 6 * u;
  int step = 1;
  for (const int candidate : {1, 2, 5, 10, 20, 50, 100}) {
    step = candidate;
    if (slot * candidate >= room) break;
  }
  const double labelTop = bottom + 3 * u;
  if (view.showDc && orders >= 0 && slot >= c.textWidth("DC", s.textSize) + 2 * u)
    textAt(c, s, centreOf(0), labelTop, "DC", kTop);
  for (int order = 1; order <= orders; ++order) {
    const bool labelled = order == 1 || (order % step == 0 && (order - 1) * slot >= room);
    if (labelled) textAt(c, s, centreOf(order), labelTop, std::to_string(order), kTop);
  }
  textAt(c, s, right, labelTop + line, "rząd harmonicznej", kTop | kRight);
}

}  // namespace wolterix::results
