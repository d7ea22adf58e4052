#include "engine/meter_reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace wolterix::engine {

double readCycle(std::span<const double> samples, Indication indication) {
  if (samples.size() < 2) return 0.0;
  // Trapezoids between neighbours: a constant reads exactly itself.
  double sum = 0.0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const double a = samples[i - 1];
    const double b = samples[i];
    switch (indication) {
      case Indication::TrueRms: sum += a * a + b * b; break;
      case Indication::RectifiedMean: sum += std::fabs(a) + std::fabs(b); break;
      case Indication::DcMean: sum += a + b; break;
    }
  }
  const double mean = sum / (2.0 * static_cast<double>(samples.size() - 1));
  return indication == Indication::TrueRms ? std::sqrt(mean) : mean;
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
      formatReading(reading, slot.autoRange, slot.fullScale, slot.rangeExponent);
  slot.display = text.value;
  slot.shownPrefix = text.prefix;
  slot.reading = reading;
  slot.hasReading = true;
}

void resetDisplay(MeterSlot& slot) {
  showReading(slot, 0.0);
  slot.hasReading = false;
}

}  // namespace wolterix::engine
