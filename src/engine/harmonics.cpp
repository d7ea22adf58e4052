#include "engine/harmonics.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "engine/result_csv.h"
#include "model/element.h"
#include "model/schematic.h"
#include "model/source_elements.h"

namespace wolterix::engine {
namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// How far from a whole number a count of periods or of samples may lie and still be taken
// as whole: rounding of T, N and the sample times, far below one sample.
constexpr double kWholeTolerance = 1e-7;

double fractionOf(double x) { return x - std::floor(x); }

/// e^{-j·2π·x} for x in turns, reduced first so that large times keep their precision.
Complex turnsToUnit(double turns) {
  const double angle = kTwoPi * fractionOf(turns);
  return {std::cos(angle), -std::sin(angle)};
}

/// ∫₀¹ e^{u·s} ds and ∫₀¹ s·e^{u·s} ds, by series where the closed forms would cancel.
void segmentWeights(Complex u, Complex& g1, Complex& g2) {
  if (std::abs(u) < 0.5) {
    Complex power = 1.0;
    double factorial = 1.0;  // m!
    g1 = g2 = 0.0;
    for (int m = 0; m < 24; ++m) {
      g1 += power / (factorial * (m + 1));
      g2 += power / (factorial * (m + 2));
      power *= u;
      factorial *= (m + 1);
    }
    return;
  }
  const Complex e = std::exp(u);
  g1 = (e - 1.0) / u;
  g2 = (e * (u - 1.0) + 1.0) / (u * u);
}

struct Coefficients {
  double dc = 0.0;
  double meanSquare = 0.0;
  std::vector<Complex> orders;  ///< (2/T_w)·∫ x e^{-jhωt} dt for h = 1..H
};

/// The DFT at the harmonic bins over L = P·M samples ending at the last one, the two end
/// samples weighted by a half (trapezoids), which for a periodic trace is the plain DFT.
Coefficients binsOfWholeSamples(std::span<const double> x, double startTime, double spacing,
                                double f, int samplesPerPeriod, int periods, int count) {
  const std::size_t length = static_cast<std::size_t>(samplesPerPeriod) * periods;
  if (length + 1 > x.size()) return {};
  const std::size_t first = x.size() - 1 - length;
  std::vector<Complex> unit(static_cast<std::size_t>(samplesPerPeriod));
  // The first analysed sample's place in its period, so phases refer to the run's time.
  const double origin = f * (startTime + static_cast<double>(first) * spacing);
  for (int m = 0; m < samplesPerPeriod; ++m)
    unit[static_cast<std::size_t>(m)] = turnsToUnit(static_cast<double>(m) / samplesPerPeriod);

  Coefficients c;
  c.orders.assign(static_cast<std::size_t>(count), 0.0);
  const auto weight = [&](std::size_t k) { return k == 0 || k == length ? 0.5 : 1.0; };
  for (std::size_t k = 0; k <= length; ++k) {
    const double v = x[first + k] * weight(k);
    c.dc += v;
    c.meanSquare += v * x[first + k];
  }
  for (int h = 1; h <= count; ++h) {
    Complex sum = 0.0;
    const std::size_t step = static_cast<std::size_t>(h) % unit.size();
    std::size_t m = 0;
    for (std::size_t k = 0; k <= length; ++k) {
      sum += x[first + k] * weight(k) * unit[m];
      m += step;
      if (m >= unit.size()) m -= unit.size();
    }
    c.orders[static_cast<std::size_t>(h - 1)] =
        sum * turnsToUnit(h * origin) * (2.0 / static_cast<double>(length));
  }
  c.dc /= static_cast<double>(length);
  c.meanSquare /= static_cast<double>(length);
  return c;
}

/// The waveform taken linear between samples and integrated exactly over [from, to].
Coefficients integralsOfLinearTrace(std::span<const double> x, double startTime, double spacing,
                                    double f, double from, int count) {
  // Segments (τ0, y0)–(τ1, y1): the part of the sample interval holding `from`, then every
  // later interval; the last sample ends the window.
  const double position = (from - startTime) / spacing;
  std::size_t k0 = static_cast<std::size_t>(std::max(0.0, std::floor(position)));
  if (k0 >= x.size() - 1) k0 = x.size() - 2;
  const double share = std::clamp(position - static_cast<double>(k0), 0.0, 1.0);
  const double start = x[k0] + share * (x[k0 + 1] - x[k0]);

  struct Segment {
    double t0, length, y0, y1;
  };
  std::vector<Segment> segments;
  segments.reserve(x.size() - k0);
  segments.push_back({from, (1.0 - share) * spacing, start, x[k0 + 1]});
  for (std::size_t k = k0 + 1; k + 1 < x.size(); ++k)
    segments.push_back({startTime + static_cast<double>(k) * spacing, spacing, x[k], x[k + 1]});

  const double window = static_cast<double>(x.size() - 1) * spacing + startTime - from;
  Coefficients c;
  for (const Segment& s : segments) {
    c.dc += s.length * (s.y0 + s.y1) / 2.0;
    c.meanSquare += s.length * (s.y0 * s.y0 + s.y0 * s.y1 + s.y1 * s.y1) / 3.0;
  }
  c.dc /= window;
  c.meanSquare /= window;
  c.orders.assign(static_cast<std::size_t>(count), 0.0);
  for (int h = 1; h <= count; ++h) {
    const double omega = kTwoPi * h * f;
    Complex sum = 0.0;
    Complex g1, g2;
    double lastLength = -1.0;
    for (const Segment& s : segments) {
      if (s.length != lastLength) {  // every interval but the first has the same length
        segmentWeights(Complex(0.0, -omega * s.length), g1, g2);
        lastLength = s.length;
      }
      sum += s.length * turnsToUnit(h * f * s.t0) * (s.y0 * g1 + (s.y1 - s.y0) * g2);
    }
    c.orders[static_cast<std::size_t>(h - 1)] = sum * (2.0 / window);
  }
  return c;
}

double wholeOrNaN(double x) {
  const double rounded = std::round(x);
  return std::fabs(x - rounded) <= kWholeTolerance * std::max(1.0, std::fabs(x)) ? rounded : kNaN;
}

}  // namespace

HarmonicOutcome analyseHarmonics(std::span<const double> samples, double startTime, double spacing,
                                 double fundamental, int count, int lastPeriods) {
  HarmonicOutcome outcome;
  if (!(fundamental > 0.0) || !std::isfinite(fundamental)) {
    outcome.refusal = std::string(kFundamentalNotPositive);
    return outcome;
  }
  const double period = 1.0 / fundamental;
  const double span = samples.size() > 1 ? spacing * static_cast<double>(samples.size() - 1) : 0.0;
  const double periodsInRun = span / period;
  const double wholePeriods = wholeOrNaN(periodsInRun);
  int periods = static_cast<int>(
      std::min(1e9, std::isnan(wholePeriods) ? std::floor(periodsInRun) : wholePeriods));
  if (lastPeriods > 0) periods = std::min(periods, lastPeriods);
  if (!(spacing > 0.0) || periods < 1) {
    outcome.refusal = std::string(kShorterThanPeriod);
    return outcome;
  }
  const double perPeriod = period / spacing;
  if (!(perPeriod >= 2.0 - kWholeTolerance)) {
    outcome.refusal = std::string(kTooFewSamples);
    return outcome;
  }

  HarmonicAnalysis a;
  a.fundamental = fundamental;
  a.periods = periods;
  a.to = startTime + span;
  a.from = a.to - periods * period;
  a.samplesPerPeriod = perPeriod;
  const double wholeSamples = wholeOrNaN(perPeriod);
  a.wholeSamples = !std::isnan(wholeSamples);
  a.samplingLimit = static_cast<int>(std::floor(perPeriod / 2.0 + kWholeTolerance));
  a.requestedCount = std::clamp(count, 1, kMaxHarmonicCount);
  const int computed = std::min(a.requestedCount, a.samplingLimit);

  const Coefficients c =
      a.wholeSamples
          ? binsOfWholeSamples(samples, startTime, spacing, fundamental,
                               static_cast<int>(wholeSamples), periods, computed)
          : integralsOfLinearTrace(samples, startTime, spacing, fundamental, a.from, computed);
  a.dc = c.dc;
  a.rms = std::sqrt(std::max(0.0, c.meanSquare));
  double distortion = 0.0;
  for (int h = 1; h <= computed; ++h) {
    const Complex coefficient = c.orders[static_cast<std::size_t>(h - 1)];
    Harmonic line;
    line.order = h;
    line.frequency = h * fundamental;
    line.amplitude = std::abs(coefficient);
    line.rms = line.amplitude / std::numbers::sqrt2;
    // For A·sin(θ + φ) the coefficient is A·sin φ − j·A·cos φ.
    const double cosinePart = coefficient.real();
    const double sinePart = -coefficient.imag();
    line.phase = line.amplitude > 1e-12 * std::max(a.rms, 1e-300)
                     ? std::atan2(cosinePart, sinePart) * 180.0 / std::numbers::pi
                     : 0.0;
    if (line.phase <= -180.0) line.phase += 360.0;
    line.atSamplingLimit = 2.0 * h >= perPeriod - kWholeTolerance * perPeriod;
    if (h >= 2) distortion += line.rms * line.rms;
    a.harmonics.push_back(line);
  }
  const double first = a.harmonics.empty() ? 0.0 : a.harmonics[0].rms;
  const bool hasFundamental = first > 1e-9 * a.rms && first > 0.0;
  for (Harmonic& line : a.harmonics)
    line.percent = hasFundamental ? 100.0 * line.rms / first : kNaN;
  a.thd = hasFundamental ? std::sqrt(distortion) / first : kNaN;
  a.thdOfRms = a.rms > 0.0 ? std::sqrt(distortion) / a.rms : kNaN;
  outcome.analysis = std::move(a);
  return outcome;
}

std::optional<double> proposedFundamental(const model::Schematic& schematic) {
  namespace Src = model::param::source;
  using model::ElementKind;
  const auto positive = [](double f) { return f > 0.0 && std::isfinite(f); };
  // A source's sine, else any other periodic source (a chopper's or an RC circuit's square
  // wave), else the control period of the first valve switched at angles.
  for (const bool sine : {true, false}) {
    for (const auto& element : schematic.elements()) {
      if (element->kind() != ElementKind::Nap && element->kind() != ElementKind::Prd) continue;
      const auto& source = static_cast<const model::IndependentSource&>(*element);
      if (source.waveform() == model::Waveform::Constant ||
          (source.waveform() == model::Waveform::Sine) != sine)
        continue;
      if (const double f = source.parameter(Src::F).value(); positive(f)) return f;
    }
  }
  // Thyristors, GTOs and power transistors keep f in the same place (the valve models).
  static_assert(std::size_t{model::param::tyr::F} == model::param::gto::F);
  for (const auto& element : schematic.elements()) {
    const ElementKind k = element->kind();
    if (k != ElementKind::Tyr && k != ElementKind::RCT && k != ElementKind::GTO &&
        k != ElementKind::TrM)
      continue;
    if (const double f = element->parameter(model::param::gto::F).value(); positive(f)) return f;
  }
  return std::nullopt;
}

void writeHarmonicsCsv(std::ostream& csv, const HarmonicAnalysis& analysis) {
  csv << "n,f,Um,RMS,%,deg\n";
  const auto number = [](double v) { return std::isnan(v) ? std::string() : csvNumber(v); };
  csv << "0,0," << number(analysis.dc) << ',' << number(std::fabs(analysis.dc)) << ",,\n";
  for (const Harmonic& h : analysis.harmonics)
    csv << h.order << ',' << number(h.frequency) << ',' << number(h.amplitude) << ','
        << number(h.rms) << ',' << number(h.percent) << ',' << number(h.phase) << '\n';
  csv << "THD,,,," << number(analysis.thd * 100.0) << ",\n";
  csv << "THD_R,,,," << number(analysis.thdOfRms * 100.0) << ",\n";
  csv << "RMS,,," << number(analysis.rms) << ",,\n";
}

}  // namespace wolterix::engine
