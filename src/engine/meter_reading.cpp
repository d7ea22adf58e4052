#include "engine/meter_reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/harmonics.h"

namespace wolterix::engine {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

enum class Mean { Square, Magnitude, Plain };

// Trapezoids between neighbours: a constant reads exactly itself.
double cycleMean(std::span<const double> samples, Mean mean) {
  double sum = 0.0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const double a = samples[i - 1];
    const double b = samples[i];
    switch (mean) {
      case Mean::Square: sum += a * a + b * b; break;
      case Mean::Magnitude: sum += std::fabs(a) + std::fabs(b); break;
      case Mean::Plain: sum += a + b; break;
    }
  }
  return sum / (2.0 * static_cast<double>(samples.size() - 1));
}

double ratio(double numerator, double denominator) {
  return denominator != 0.0 ? numerator / denominator : kNaN;
}

// The cycle's samples span one period: its harmonics with the period as the fundamental.
std::optional<HarmonicAnalysis> cycleHarmonics(std::span<const double> samples, int orders) {
  const double spacing = 1.0;
  return analyseHarmonics(samples, 0.0, spacing, 1.0 / static_cast<double>(samples.size() - 1),
                          orders)
      .analysis;
}

}  // namespace

double readCycle(std::span<const double> samples, Indication indication) {
  if (samples.size() < 2) return 0.0;
  const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
  const double peak = std::max(std::fabs(*low), std::fabs(*high));
  const double rms = std::sqrt(cycleMean(samples, Mean::Square));
  switch (indication) {
    case Indication::TrueRms: return rms;
    case Indication::RectifiedMean: return cycleMean(samples, Mean::Magnitude);
    case Indication::DcMean: return cycleMean(samples, Mean::Plain);
    case Indication::Peak: return peak;
    case Indication::PeakToPeak: return *high - *low;
    case Indication::FundamentalRms: {
      const auto h = cycleHarmonics(samples, 1);
      return h && !h->harmonics.empty() ? h->harmonics[0].rms : 0.0;
    }
    case Indication::Thd: {
      const auto h = cycleHarmonics(samples, kDefaultHarmonicCount);
      return h ? 100.0 * h->thd : kNaN;
    }
    case Indication::CrestFactor: return ratio(peak, rms);
    case Indication::FormFactor: return ratio(rms, cycleMean(samples, Mean::Magnitude));
    case Indication::RippleFactor: {
      // A mean that is rounding noise beside the RMS is no DC to ripple on.
      const double dc = cycleMean(samples, Mean::Plain);
      if (std::fabs(dc) <= 1e-12 * rms) return kNaN;
      return ratio(std::sqrt(std::max(0.0, rms * rms - dc * dc)), std::fabs(dc));
    }
    default: return kNaN;
  }
}

double readPowerCycle(std::span<const double> voltage, std::span<const double> current,
                      Indication indication) {
  const std::size_t n = std::min(voltage.size(), current.size());
  if (n < 2) return 0.0;
  voltage = voltage.first(n);
  current = current.first(n);
  std::vector<double> power(n);
  for (std::size_t k = 0; k < n; ++k) power[k] = voltage[k] * current[k];
  const double p = cycleMean(power, Mean::Plain);
  const double s = std::sqrt(cycleMean(voltage, Mean::Square) * cycleMean(current, Mean::Square));
  // φ₁: how far the fundamental of the voltage leads that of the current.
  const auto fundamentals = [&]() -> std::optional<std::pair<Harmonic, Harmonic>> {
    const auto u = cycleHarmonics(voltage, 1);
    const auto i = cycleHarmonics(current, 1);
    if (!u || !i || u->harmonics.empty() || i->harmonics.empty()) return std::nullopt;
    return std::pair{u->harmonics[0], i->harmonics[0]};
  };
  constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
  switch (indication) {
    case Indication::DcMean: return p;
    case Indication::ApparentPower: return s;
    case Indication::PowerFactor: return ratio(p, s);
    case Indication::ReactivePower: {
      const auto f = fundamentals();
      if (!f) return 0.0;
      return f->first.rms * f->second.rms *
             std::sin((f->first.phase - f->second.phase) * kRadiansPerDegree);
    }
    case Indication::DisplacementFactor: {
      const auto f = fundamentals();
      if (!f || f->first.rms == 0.0 || f->second.rms == 0.0) return kNaN;
      return std::cos((f->first.phase - f->second.phase) * kRadiansPerDegree);
    }
    default: return kNaN;
  }
}

std::vector<Indication> indicationsOf(MeterQuantity quantity) {
  using I = Indication;
  if (quantity == MeterQuantity::Power)
    return {I::DcMean, I::ApparentPower, I::ReactivePower, I::PowerFactor, I::DisplacementFactor};
  return {I::TrueRms,        I::RectifiedMean, I::DcMean,      I::Peak,       I::PeakToPeak,
          I::FundamentalRms, I::Thd,           I::CrestFactor, I::FormFactor, I::RippleFactor};
}

bool indicationFits(MeterQuantity quantity, Indication indication) {
  const auto offered = indicationsOf(quantity);
  return std::find(offered.begin(), offered.end(), indication) != offered.end();
}

bool isRatio(Indication indication) {
  switch (indication) {
    case Indication::Thd:
    case Indication::CrestFactor:
    case Indication::FormFactor:
    case Indication::RippleFactor:
    case Indication::PowerFactor:
    case Indication::DisplacementFactor: return true;
    default: return false;
  }
}

std::string indicationUnit(MeterQuantity quantity, Indication indication) {
  switch (indication) {
    case Indication::Thd: return "%";
    case Indication::ApparentPower: return "VA";
    case Indication::ReactivePower: return "var";
    default: return isRatio(indication) ? "" : unitText(quantity);
  }
}

std::string indicationName(MeterQuantity quantity, Indication indication) {
  switch (indication) {
    case Indication::TrueRms: return "Prawdziwa wartość skuteczna (TRMS)";
    case Indication::RectifiedMean: return "Wartość średnia prostowana (~ AV)";
    case Indication::DcMean:
      return quantity == MeterQuantity::Power ? "Moc czynna P (wartość średnia DC)"
                                              : "Wartość średnia DC (==)";
    case Indication::Peak: return "Wartość szczytowa";
    case Indication::PeakToPeak: return "Wartość międzyszczytowa";
    case Indication::FundamentalRms: return "Wartość skuteczna harmonicznej podstawowej";
    case Indication::Thd: return "Współczynnik zawartości harmonicznych THD";
    case Indication::CrestFactor: return "Współczynnik szczytu";
    case Indication::FormFactor: return "Współczynnik kształtu";
    case Indication::RippleFactor: return "Współczynnik tętnień";
    case Indication::ApparentPower: return "Moc pozorna S";
    case Indication::ReactivePower: return "Moc bierna harmonicznej podstawowej Q₁";
    case Indication::PowerFactor: return "Współczynnik mocy λ = P/S";
    case Indication::DisplacementFactor: return "Współczynnik przesunięcia cos φ₁";
  }
  return "";
}

namespace {

int decimalsFor(int fullScale) {
  switch (fullScale) {
    case 10: return 3;
    case 100: return 2;
    default: return 1;
  }
}

long long powerOfTen(int exponent) {
  long long p = 1;
  for (int i = 0; i < exponent; ++i) p *= 10;
  return p;
}

/// counts / 10^decimals as "int.fraction", with "-" for a negative non-zero value.
std::string digitsText(long long counts, int decimals, bool negative) {
  const long long scale = powerOfTen(decimals);
  std::string fraction = std::to_string(counts % scale);
  while (fraction.size() < static_cast<std::size_t>(decimals))
    fraction.insert(fraction.begin(), '0');
  const std::string sign = negative && counts != 0 ? "-" : "";
  return sign + std::to_string(counts / scale) + "." + fraction;
}

/// Magnitude rounded half up to the resolution of the full scale, in counts.
long long roundedCounts(double magnitude, int decimals) {
  return static_cast<long long>(
      std::floor(magnitude * static_cast<double>(powerOfTen(decimals)) + 0.5));
}

constexpr int kLowestPrefix = -4;
constexpr int kHighestPrefix = 4;

}  // namespace

DisplayText formatReading(double value, bool autoRange, int fullScale, int rangeExponent) {
  if (!std::isfinite(value)) return {"over", autoRange ? 0 : rangeExponent};
  const bool negative = value < 0.0;
  double magnitude = std::fabs(value);

  if (!autoRange) {
    if (fullScale != 10 && fullScale != 100) fullScale = 1000;
    const double scaled = magnitude / std::pow(1000.0, rangeExponent);
    const int decimals = decimalsFor(fullScale);
    if (scaled >= static_cast<double>(fullScale)) return {"over", rangeExponent};
    const long long counts = roundedCounts(scaled, decimals);
    if (counts >= static_cast<long long>(fullScale) * powerOfTen(decimals))
      return {"over", rangeExponent};
    return {digitsText(counts, decimals, negative), rangeExponent};
  }

  if (magnitude < 1e-6) return {"0.000", -2};
  if (magnitude >= 1e15) return {"over", kHighestPrefix};
  int prefix = 0;
  while (magnitude >= 1000.0 && prefix < kHighestPrefix) {
    magnitude /= 1000.0;
    ++prefix;
  }
  while (magnitude < 1.0 && prefix > kLowestPrefix) {
    magnitude *= 1000.0;
    --prefix;
  }
  int scale = magnitude < 10.0 ? 10 : magnitude < 100.0 ? 100 : 1000;
  int decimals = decimalsFor(scale);
  long long counts = roundedCounts(magnitude, decimals);
  // Rounding up to the full scale moves to the next one with the digits already rounded
  // (9.9996 reads 10.00); at the top of the range it moves on to the next prefix, so that
  // 999.96 reads 1.000 k rather than "over".
  if (counts >= static_cast<long long>(scale) * powerOfTen(decimals)) {
    if (scale < 1000) {
      counts /= 10;
      --decimals;
    } else if (prefix < kHighestPrefix) {
      ++prefix;
      decimals = 3;
      counts = powerOfTen(decimals);  // 1.000
    } else {
      return {"over", kHighestPrefix};
    }
  }
  return {digitsText(counts, decimals, negative), prefix};
}

DisplayText formatRatio(double value) {
  if (std::isnan(value)) return {"----", 0};
  if (!std::isfinite(value)) return {"over", 0};
  const double magnitude = std::fabs(value);
  if (magnitude < 1e-6) return {"0.000", 0};
  if (magnitude >= 1000.0) return {"over", 0};
  // Four significant digits: 0.8280, 0.007992, 1.414, 31.08, 120.0.
  int decimals = std::clamp(3 - static_cast<int>(std::floor(std::log10(magnitude))), 1, 9);
  long long counts = roundedCounts(magnitude, decimals);
  if (counts >= 10000) {  // rounded up into the next decade: one decimal fewer
    if (decimals == 1) return {"over", 0};
    --decimals;
    counts = roundedCounts(magnitude, decimals);
  }
  return {digitsText(counts, decimals, value < 0.0), 0};
}

std::string prefixText(int prefix) {
  static constexpr std::array<const char*, 9> kPrefixes{"p", "n", "u", "m", "", "k", "M", "G", "T"};
  if (prefix < kLowestPrefix || prefix > kHighestPrefix) return "";
  return kPrefixes[static_cast<std::size_t>(prefix - kLowestPrefix)];
}

std::string unitText(MeterQuantity quantity) {
  switch (quantity) {
    case MeterQuantity::Voltage: return "V";
    case MeterQuantity::Current: return "A";
    case MeterQuantity::Power: return "W";
  }
  return "";
}

std::string indicationText(Indication indication) {
  switch (indication) {
    case Indication::TrueRms: return "TRMS";
    case Indication::RectifiedMean: return "AV";
    case Indication::DcMean: return "DC";
    case Indication::Peak: return "PEAK";
    case Indication::PeakToPeak: return "P-P";
    case Indication::FundamentalRms: return "H1";
    case Indication::Thd: return "THD";
    case Indication::CrestFactor: return "CF";
    case Indication::FormFactor: return "FF";
    case Indication::RippleFactor: return "RF";
    case Indication::ApparentPower: return "S";
    case Indication::ReactivePower: return "Q1";
    case Indication::PowerFactor: return "PF";
    case Indication::DisplacementFactor: return "cosφ1";
  }
  return "";
}

std::string quantityLetter(MeterQuantity quantity) {
  switch (quantity) {
    case MeterQuantity::Voltage: return "U";
    case MeterQuantity::Current: return "I";
    case MeterQuantity::Power: return "P";
  }
  return "";
}

int rangePosition(int fullScale, int rangeExponent) {
  const int column = fullScale == 10 ? 2 : fullScale == 100 ? 1 : 0;
  return std::clamp((3 - rangeExponent) * 3 + column, 0, 15);
}

void rangeFromPosition(int position, int& fullScale, int& rangeExponent) {
  position = std::clamp(position, 0, 15);
  static constexpr std::array<int, 3> kScales{1000, 100, 10};
  fullScale = kScales[static_cast<std::size_t>(position % 3)];
  rangeExponent = 3 - position / 3;
}

void showReading(MeterSlot& slot, double reading) {
  const DisplayText text =
      isRatio(slot.indication)
          ? formatRatio(reading)
          : formatReading(reading, slot.autoRange, slot.fullScale, slot.rangeExponent);
  slot.display = text.value;
  slot.shownPrefix = text.prefix;
  slot.reading = reading;
  slot.hasReading = true;
}

std::string displayUnit(const MeterSlot& slot) {
  const std::string prefix =
      isRatio(slot.indication) ? std::string() : prefixText(slot.shownPrefix);
  return prefix + indicationUnit(slot.quantity, slot.indication);
}

void resetDisplay(MeterSlot& slot) {
  showReading(slot, 0.0);
  slot.hasReading = false;
}

}  // namespace wolterix::engine
