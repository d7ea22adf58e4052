#include "results/plot_readout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>

#include "engine/meter_reading.h"
#include "engine/result_csv.h"
#include "results/plot_scales.h"

namespace wolterix::results {

namespace {

// The time plot shows five divisions between the zero line and its scale at the top.
constexpr int kDivisionsPerScale = 5;
// About ten grid intervals over a span: fewer than five leaves the axis bare.
constexpr double kGridIntervals = 10.0;

/// Digits with a decimal comma and a true minus sign, as the Polish readout writes them.
std::string polish(std::string text) {
  std::replace(text.begin(), text.end(), '.', ',');
  if (!text.empty() && text.front() == '-') text.replace(0, 1, "\u2212");
  return text;
}

std::string fixed(double value, int decimals) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

int decimalsForThreeDigits(double magnitude) {
  return std::max(0, 2 - int(std::floor(std::log10(magnitude))));
}

/// Three significant digits; exponents only far outside the usual range.
std::string significant(double value) {
  const double magnitude = std::fabs(value);
  if (magnitude < 1e-12) return "0";
  if (!std::isfinite(value) || magnitude < 1e-4 || magnitude >= 1e7) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 3);
    return polish(std::string(buffer, result.ptr));
  }
  return polish(fixed(value, decimalsForThreeDigits(magnitude)));
}

/// The number and the unit prefix that bring a value into [1, 1000): "12,5" and "m".
std::pair<std::string, std::string> prefixed(double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-12) || !std::isfinite(magnitude)) return {significant(value), ""};
  int prefix = std::clamp(int(std::floor(std::log10(magnitude) / 3.0)), -4, 4);
  double scaled = value / std::pow(1000.0, prefix);
  // 999,95 rounds up to 1000 of its prefix: the next prefix writes it as 1.
  const double unit = std::pow(10.0, decimalsForThreeDigits(std::fabs(scaled)));
  if (std::round(std::fabs(scaled) * unit) / unit >= 1000.0 && prefix < 4) {
    ++prefix;
    scaled /= 1000.0;
  }
  return {significant(scaled), engine::prefixText(prefix)};
}

/// "12,5 ms", "−323 V".
std::string withPrefix(double value, const std::string& unit) {
  const auto [number, prefix] = prefixed(value);
  return number + " " + prefix + unit;
}

std::string unitOf(Quantity q) {
  switch (q) {
    case Quantity::Voltage: return "V";
    case Quantity::Current: return "A";
    case Quantity::Speed: return std::string(kSpeedUnitText);
    case Quantity::Power: return "W";
  }
  return "";
}

std::string valueText(Quantity q, double value) {
  // The speed has no prefixes: 1450 obr/min, not 1,45 kobr/min.
  return q == Quantity::Speed ? significant(value) + " " + unitOf(q) : withPrefix(value, unitOf(q));
}

std::string decibels(double db) { return polish(fixed(db, 2)) + " dB"; }
std::string degrees(double angle) { return polish(fixed(angle, 1)) + "\u00b0"; }

/// Wraps an angle into (−180, 180].
double wrapped(double angle) {
  while (angle > 180.0) angle -= 360.0;
  while (angle <= -180.0) angle += 360.0;
  return angle;
}

/// The point k with f[k] ≤ f ≤ f[k+1] and f's place between them over log f; nullopt outside
/// the sweep.
struct Bracket {
  std::size_t k = 0;
  double weight = 0.0;
};
std::optional<Bracket> bracketOf(const std::vector<double>& frequencies, double f) {
  const std::size_t n = frequencies.size();
  if (n == 0 || !(f > 0.0) || frequencies.front() <= 0.0) return std::nullopt;
  constexpr double kSlack = 1e-9;
  if (f < frequencies.front() * (1 - kSlack) || f > frequencies.back() * (1 + kSlack))
    return std::nullopt;
  if (n == 1) return Bracket{0, 0.0};
  const auto upper = std::upper_bound(frequencies.begin(), frequencies.end(), f);
  const std::size_t k = std::min<std::size_t>(
      n - 2, std::size_t(std::max<std::ptrdiff_t>(0, upper - frequencies.begin() - 1)));
  const double span = std::log10(frequencies[k + 1] / frequencies[k]);
  const double weight = span > 0.0 ? std::log10(f / frequencies[k]) / span : 0.0;
  return Bracket{k, std::clamp(weight, 0.0, 1.0)};
}

std::string pointText(const TransferPlot& plot, const TransferTrace& trace, std::size_t k) {
  const std::complex<double> v = trace.values[k];
  std::string text = trace.name + ": f = " + withPrefix(plot.frequencies[k], "Hz") +
                     ", Re = " + significant(v.real()) + ", Im = " + significant(v.imag()) +
                     ", |K| = " + significant(std::abs(v));
  if (v != std::complex<double>{}) text += ", \u03c6 = " + degrees(angleDegrees(v));
  return text;
}

}  // namespace

std::string readoutNumber(double value) { return significant(value); }
std::string prefixedValue(double value, const std::string& unit) { return withPrefix(value, unit); }
std::string quantityUnit(Quantity q) { return unitOf(q); }

std::optional<double> valueAt(const TimePlot& plot, std::size_t trace, double t) {
  if (trace >= plot.traces.size()) return std::nullopt;
  const std::vector<double>& samples = plot.traces[trace].samples;
  const std::size_t n = std::min(samples.size(), std::size_t(std::max(0, plot.sampleCount)));
  if (n == 0) return std::nullopt;
  if (n == 1 || !(plot.spacing > 0.0))
    return std::fabs(t - plot.startTime) <= 1e-12 * std::max(1.0, std::fabs(t))
               ? std::optional(samples[0])
               : std::nullopt;
  const double position = (t - plot.startTime) / plot.spacing;
  constexpr double kSlack = 1e-9;
  if (position < -kSlack || position > double(n - 1) + kSlack) return std::nullopt;
  const std::size_t i = std::min(n - 2, std::size_t(std::max(0.0, std::floor(position))));
  const double w = std::clamp(position - double(i), 0.0, 1.0);
  return samples[i] + w * (samples[i + 1] - samples[i]);
}

std::vector<ReadoutLine> timeReadout(const TimePlot& plot, double a, std::optional<double> b) {
  std::vector<ReadoutLine> lines;
  const auto shown = [](std::optional<double> v, Quantity q) {
    return v ? valueText(q, *v) : std::string("\u2014");
  };
  if (!b) {
    lines.push_back({-1, "t = " + withPrefix(a, "s")});
    for (std::size_t i = 0; i < plot.traces.size(); ++i) {
      const TimeTrace& trace = plot.traces[i];
      lines.push_back(
          {trace.slot, trace.name + " = " + shown(valueAt(plot, i, a), trace.quantity)});
    }
    return lines;
  }
  const double dt = *b - a;
  lines.push_back({-1, "A: t = " + withPrefix(a, "s")});
  lines.push_back({-1, "B: t = " + withPrefix(*b, "s")});
  lines.push_back({-1, "\u0394t = " + withPrefix(dt, "s")});
  if (dt != 0.0) lines.push_back({-1, "1/\u0394t = " + withPrefix(1.0 / dt, "Hz")});
  for (std::size_t i = 0; i < plot.traces.size(); ++i) {
    const TimeTrace& trace = plot.traces[i];
    const auto va = valueAt(plot, i, a);
    const auto vb = valueAt(plot, i, *b);
    std::string text =
        trace.name + ": A " + shown(va, trace.quantity) + ", B " + shown(vb, trace.quantity);
    if (va && vb) text += ", \u0394 " + valueText(trace.quantity, *vb - *va);
    lines.push_back({trace.slot, std::move(text)});
  }
  return lines;
}

std::vector<ReadoutLine> transferReadout(const TransferPlot& plot, TransferView view, double f) {
  std::vector<ReadoutLine> lines{{-1, "f = " + withPrefix(f, "Hz")}};
  const auto bracket = bracketOf(plot.frequencies, f);
  if (!bracket) return lines;
  const std::size_t k = bracket->k;
  const double w = bracket->weight;
  for (const TransferTrace& trace : plot.traces) {
    if (trace.values.size() < std::min<std::size_t>(plot.frequencies.size(), k + 2)) continue;
    const std::complex<double> low = trace.values[k];
    const std::complex<double> high = trace.values.size() > k + 1 ? trace.values[k + 1] : low;
    if (view == TransferView::Complex) {
      lines.push_back({trace.slot, pointText(plot, trace, w < 0.5 ? k : k + 1)});
      continue;
    }
    if (trace.hasZero) continue;  // the trace is not drawn on either plot
    if (view == TransferView::Magnitude) {
      const double lowDb = magnitudeDb(low, plot.inputLevel);
      const double db = lowDb + w * (magnitudeDb(high, plot.inputLevel) - lowDb);
      lines.push_back({trace.slot, trace.name + " = " + decibels(db)});
    } else {
      // Across the ±180° seam the phase moves the short way round, not back through 0°.
      const double lowAngle = angleDegrees(low);
      const double step = wrapped(angleDegrees(high) - lowAngle);
      lines.push_back({trace.slot, trace.name + " = " + degrees(wrapped(lowAngle + w * step))});
    }
  }
  return lines;
}

std::vector<ReadoutLine> complexReadout(const TransferPlot& plot, double re, double im) {
  std::vector<ReadoutLine> lines;
  const std::complex<double> at{re, im};
  for (const TransferTrace& trace : plot.traces) {
    const std::size_t n = std::min(trace.values.size(), plot.frequencies.size());
    if (n == 0) continue;
    std::size_t nearest = 0;
    for (std::size_t k = 1; k < n; ++k)
      if (std::abs(trace.values[k] - at) < std::abs(trace.values[nearest] - at)) nearest = k;
    lines.push_back({trace.slot, pointText(plot, trace, nearest)});
  }
  return lines;
}

TimePlot zoomedTimePlot(const TimePlot& plot, double from, double to) {
  if (!(plot.spacing > 0.0) || plot.sampleCount < 1) return plot;
  if (from > to) std::swap(from, to);
  constexpr double kSlack = 1e-9;
  const int last = plot.sampleCount - 1;
  const int first =
      std::clamp(int(std::ceil((from - plot.startTime) / plot.spacing - kSlack)), 0, last + 1);
  const int end = std::clamp(int(std::floor((to - plot.startTime) / plot.spacing + kSlack)) + 1,
                             first, last + 1);
  TimePlot zoomed = plot;
  zoomed.startTime = plot.startTime + first * plot.spacing;
  zoomed.sampleCount = end - first;
  const auto cut = [&](auto& samples) {
    const int size = int(samples.size());
    samples.erase(samples.begin() + std::min(end, size), samples.end());
    samples.erase(samples.begin(), samples.begin() + std::min(first, size));
  };
  for (TimeTrace& trace : zoomed.traces) cut(trace.samples);
  for (ConductionRow& row : zoomed.conduction) cut(row.states);
  fitAutomaticScales(zoomed);
  return zoomed;
}

TransferPlot zoomedTransferPlot(const TransferPlot& plot, double from, double to, double dbSpan) {
  if (from > to) std::swap(from, to);
  constexpr double kSlack = 1e-9;
  const auto begin =
      std::lower_bound(plot.frequencies.begin(), plot.frequencies.end(), from * (1 - kSlack));
  const auto end =
      std::upper_bound(plot.frequencies.begin(), plot.frequencies.end(), to * (1 + kSlack));
  const std::size_t first = std::size_t(begin - plot.frequencies.begin());
  const std::size_t stop = std::max(first, std::size_t(end - plot.frequencies.begin()));
  TransferPlot zoomed = plot;
  zoomed.frequencies.assign(begin, plot.frequencies.begin() + stop);
  for (TransferTrace& trace : zoomed.traces) {
    const std::size_t size = trace.values.size();
    trace.values.assign(trace.values.begin() + std::min(first, size),
                        trace.values.begin() + std::min(stop, size));
  }
  fitTransferScales(zoomed, dbSpan);
  // The axis is the range asked for, not merely the points that fall within it.
  if (from > 0.0 && to > from) {
    zoomed.lowerFrequency = from;
    zoomed.lowerDecade = firstDecade(from);
    zoomed.decades = std::log10(to / from);
  }
  return zoomed;
}

std::vector<double> timeGridLines(double start, double span) {
  std::vector<double> lines;
  if (!(span > 0.0) || !std::isfinite(span) || !std::isfinite(start)) return lines;
  const TimeUnit unit = timeUnit(span);
  // The series is rounded in the unit of the axis, where the step is never below 1e-6.
  const double step = roundUpToSeries125(span * unit.factor / kGridIntervals) / unit.factor;
  constexpr double kSlack = 1e-9;
  const long long first = (long long)std::ceil(start / step - kSlack);
  const long long last = (long long)std::floor((start + span) / step + kSlack);
  for (long long k = first; k <= last; ++k) lines.push_back(double(k) * step);
  return lines;
}

double dbGridStep(double span) {
  if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
  return roundUpToSeries125(span / kGridIntervals);
}

std::vector<LogGridLine> logGridLines(double lower, double upper) {
  std::vector<LogGridLine> lines;
  if (!(lower > 0.0) || !(upper >= lower) || !std::isfinite(upper)) return lines;
  constexpr double kSlack = 1e-9;
  for (int e = int(std::floor(std::log10(lower) + kSlack));; ++e) {
    const double decade = std::pow(10.0, e);
    if (decade > upper * (1 + kSlack)) break;
    for (int m = 1; m <= 9; ++m) {
      const double f = m * decade;
      if (f >= lower * (1 - kSlack) && f <= upper * (1 + kSlack)) lines.push_back({f, m == 1});
    }
  }
  return lines;
}

std::string frequencyLabel(double frequency) {
  // Below 1 kHz the plain number ("0,1", "500"), above it the prefixes k, M, G.
  if (std::fabs(frequency) < 1000.0) return significant(frequency);
  const auto [number, prefix] = prefixed(frequency);
  return number + prefix;
}

std::string legendText(const std::string& name, Quantity quantity, double scale) {
  return name + " " + valueText(quantity, scale / kDivisionsPerScale) + "/dz";
}

std::string timePlotCsv(const TimePlot& plot) {
  std::vector<engine::TimeColumn> columns;
  for (const TimeTrace& trace : plot.traces) columns.push_back({trace.name, trace.samples});
  std::ostringstream csv;
  engine::writeTimeCsv(csv, plot.startTime, plot.spacing, plot.sampleCount, columns);
  return csv.str();
}

std::string transferPlotCsv(const TransferPlot& plot) {
  std::vector<engine::SweepColumn> columns;
  for (const TransferTrace& trace : plot.traces) columns.push_back({trace.name, trace.values});
  std::ostringstream csv;
  engine::writeSweepCsv(csv, plot.frequencies, columns);
  return csv.str();
}

}  // namespace wolterix::results
