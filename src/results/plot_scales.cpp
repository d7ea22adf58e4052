#include "results/plot_scales.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace wolterix::results {

namespace {
namespace c {
constexpr drawing::Color kBlack{0, 0, 0};
constexpr drawing::Color kDarkGrey{85, 85, 85};
constexpr drawing::Color kGrey{128, 128, 128};
constexpr drawing::Color kSilver{192, 192, 192};
constexpr drawing::Color kWhite{255, 255, 255};
constexpr drawing::Color kLime{0, 255, 0};
constexpr drawing::Color kGreen{0, 128, 0};
constexpr drawing::Color kRed{255, 0, 0};
constexpr drawing::Color kMaroon{128, 0, 0};
constexpr drawing::Color kNavy{0, 0, 128};
constexpr drawing::Color kBlue{0, 0, 255};
constexpr drawing::Color kTeal{0, 128, 128};
constexpr drawing::Color kAqua{0, 255, 255};
constexpr drawing::Color kYellow{255, 255, 0};
constexpr drawing::Color kOlive{128, 128, 0};
constexpr drawing::Color kFuchsia{255, 0, 255};
constexpr drawing::Color kPurple{128, 0, 128};
constexpr drawing::Color kGreyBlueTint{194, 196, 222};
constexpr drawing::Color kCreamTint{255, 255, 225};
constexpr drawing::Color kSkyTint{225, 227, 227};
// The deep backgrounds of the palette.
constexpr drawing::Color kDeepNavy{12, 0, 94};
constexpr drawing::Color kDeepMaroon{102, 0, 0};
constexpr drawing::Color kDeepGreen{1, 73, 21};
constexpr drawing::Color kDeepTeal{0, 74, 69};
}  // namespace c

// The backgrounds the settings accept for the plot window.
constexpr std::array<drawing::Color, 12> kPalette = {
    c::kBlack,  c::kDarkGrey,     c::kDeepNavy,  c::kDeepMaroon, c::kDeepGreen, c::kDeepTeal,
    c::kSilver, c::kGreyBlueTint, c::kCreamTint, c::kSkyTint,    c::kWhite,     c::kLime};

int luminance(drawing::Color k) { return (299 * k.r + 587 * k.g + 114 * k.b) / 1000; }

bool isDark(drawing::Color k) {
  for (drawing::Color dark :
       {c::kBlack, c::kDarkGrey, c::kDeepNavy, c::kDeepMaroon, c::kDeepGreen, c::kDeepTeal})
    if (k == dark) return true;
  // A colour outside the palette counts as dark by its brightness.
  return std::find(kPalette.begin(), kPalette.end(), k) == kPalette.end() && luminance(k) < 128;
}
}  // namespace

double minimumScale(Quantity q) {
  switch (q) {
    case Quantity::Voltage:
    case Quantity::Current: return 1e-6;
    case Quantity::Power: return 1e-3;
    case Quantity::Speed: return 10.0;
  }
  return 1e-6;
}

double roundUpToSeries125(double magnitude) {
  if (!(magnitude > 0.0) || !std::isfinite(magnitude)) return 1e-6;
  // Repeated scaling leaves 0.02 a hair above 2 and 0.001 a hair above 1; the slack keeps
  // such exact series values where they are instead of rounding them up a step.
  constexpr double kSlack = 1 + 1e-9;
  double mantissa = magnitude;
  int exponent = 0;
  while (mantissa > 10.0 * kSlack) mantissa /= 10.0, ++exponent;
  while (mantissa <= kSlack) mantissa *= 10.0, --exponent;
  const double rounded = mantissa <= 2.0 * kSlack ? 2.0 : mantissa <= 5.0 * kSlack ? 5.0 : 10.0;
  return std::max(rounded * std::pow(10.0, exponent), 1e-6);
}

double automaticScale(Quantity q, double smallest, double largest) {
  double magnitude = std::max(std::fabs(smallest), std::fabs(largest));
  if (!std::isfinite(magnitude)) magnitude = 0.0;
  return roundUpToSeries125(std::max(magnitude, minimumScale(q)));
}

double labelFactor(Quantity q, double scale) {
  if (q == Quantity::Speed || !(scale > 0.0)) return 1.0;
  double factor = 1.0;
  int index = 0;
  // The tolerance keeps 1000 (a whole kilo) from showing as 1000 of the lower unit.
  while (scale * factor >= 1000.0 * (1 - 1e-9) && index < 4) factor /= 1000.0, ++index;
  while (scale * factor < 1.0 * (1 - 1e-9) && index > -4) factor *= 1000.0, --index;
  return factor;
}

AxisLabel verticalLabel(Quantity q, double scale) {
  if (q == Quantity::Speed) return {scale, "[o/m]"};
  static constexpr std::array<const char*, 9> kOpen = {"[p", "[n", "[u", "[m", "[",
                                                       "[k", "[M", "[G", "[T"};
  const double factor = labelFactor(q, scale);
  const int index = int(std::lround(-std::log10(factor) / 3.0));
  const char* unit = q == Quantity::Voltage ? "V]" : q == Quantity::Current ? "A]" : "W]";
  return {scale * factor, std::string(kOpen[std::clamp(index, -4, 4) + 4]) + unit};
}

TimeUnit timeUnit(double span) {
  if (span >= 1.0) return {"[s]", 1.0};
  if (span >= 1e-3) return {"[ms]", 1e3};
  if (span >= 1e-6) return {"[us]", 1e6};
  if (span >= 1e-9) return {"[ns]", 1e9};
  return {"[ps]", 1e12};
}

double magnitudeDb(std::complex<double> k, double inputLevel) {
  return 20.0 * std::log10(std::abs(k)) + inputLevel;
}

double angleDegrees(std::complex<double> k) {
  const double degrees = std::arg(k) * 180.0 / M_PI;
  return degrees <= -180.0 ? 180.0 : degrees;
}

DbRange magnitudeRange(double peakDb, double span) {
  const double division = span / 5.0;
  if (!std::isfinite(peakDb)) peakDb = 0.0;
  const double top = std::ceil(peakDb / division - 1e-9) * division;
  return {top, top - span};
}

double complexPlaneScale(double largestPart) {
  double mantissa = std::isfinite(largestPart) ? std::fabs(largestPart) : 0.0;
  int exponent = 0;
  while (mantissa > 2.5) mantissa /= 10.0, ++exponent;
  double rounded = 2.5;
  for (double step : {0.25, 0.5, 1.0, 1.25, 1.5, 2.0, 2.5}) {
    if (mantissa <= step * (1 + 1e-12)) {
      rounded = step;
      break;
    }
  }
  return rounded * std::pow(10.0, exponent);
}

double firstDecade(double lowerFrequency) {
  if (!(lowerFrequency > 0.0)) return 1.0;
  return std::pow(10.0, std::floor(std::log10(lowerFrequency) + 1e-9));
}

const std::array<drawing::Color, 12>& backgroundPalette() { return kPalette; }

PlotColors plotColors(drawing::Color background, GridMode mode) {
  PlotColors colors;
  colors.background = background;
  if (isDark(background))
    colors.traces = {c::kLime, c::kRed, c::kAqua, c::kYellow, c::kFuchsia, c::kWhite};
  else
    colors.traces = {c::kGreen, c::kRed, c::kBlue, c::kOlive, c::kFuchsia, c::kNavy};

  if (background == c::kWhite || background == c::kLime || background == c::kCreamTint ||
      background == c::kSkyTint) {
    colors.grid = c::kSilver;
    colors.text = c::kBlack;
  } else if (background == c::kSilver || background == c::kGreyBlueTint) {
    colors.grid = c::kGrey;
    colors.text = c::kBlack;
  } else if (!isDark(background)) {
    // Colours outside the palette: a light one reads like white.
    colors.grid = c::kSilver;
    colors.text = c::kBlack;
  } else {
    colors.grid = background == c::kDarkGrey ? c::kGrey : c::kDarkGrey;
    colors.text = c::kSilver;
  }
  if (mode == GridMode::Strong) colors.grid = colors.text;
  return colors;
}

const std::array<drawing::Color, 6>& printedTraceColors() {
  static constexpr std::array<drawing::Color, 6> kPrinted = {c::kLime,  c::kRed,    c::kAqua,
                                                             c::kOlive, c::kPurple, c::kNavy};
  return kPrinted;
}

std::string axisNumber(double value) {
  if (std::fabs(value) < 1e-12) return "0";
  // to_chars ignores the locale, so the axis never depends on the environment.
  char buffer[64];
  const double magnitude = std::fabs(value);
  if (magnitude >= 1e-4 && magnitude < 1e7) {
    // Plain decimals ("1000", "0,25" reads as "0.25") rather than exponents in the usual range.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    std::string text(buffer, result.ptr);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
  }
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 3);
  return std::string(buffer, result.ptr);
}

}  // namespace wolterix::results
