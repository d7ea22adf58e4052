#include "engine/run_settings.h"

#include <cmath>
#include <cstdio>

#include "model/engineering_number.h"

namespace wolterix::engine {

std::optional<double> acceptedTime(const std::string& text) {
  if (!model::isValidNumber(text, true, false)) return std::nullopt;
  const double value = *model::parseNumber(text);
  if (!(value > 0.0) || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::pair<double, double>> acceptedRange(const std::string& from,
                                                       const std::string& to) {
  if (!model::isValidNumber(from, true, false) || !model::isValidNumber(to, true, false))
    return std::nullopt;
  const double f1 = *model::parseNumber(from);
  const double f2 = *model::parseNumber(to);
  if (!(f1 > 0.0) || !(f2 > f1) || !std::isfinite(f2)) return std::nullopt;
  return std::pair{f1, f2};
}

long long totalSteps(int samples, int iterations) {
  return static_cast<long long>(samples) << iterations;
}

std::string timeDisplayText(double t, double T) {
  const double eighth = T / 8.0;
  const char* unit = "ms";
  double factor = 1e3;
  if (eighth < 1e-9) {
    unit = "ps";
    factor = 1e12;
  } else if (eighth < 1e-6) {
    unit = "ns";
    factor = 1e9;
  } else if (eighth < 1e-3) {
    unit = "us";
    factor = 1e6;
  }
  const double rounded = std::floor(t * factor + 0.5);
  // A very long run or measurement must not overflow the integer conversion.
  if (!(std::fabs(rounded) < 9e18)) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f %s", rounded, unit);
    return text;
  }
  return std::to_string(static_cast<long long>(rounded)) + " " + unit;
}

int sampleCountForScreen(int screenWidth) { return screenWidth - 80 < 1 ? 1 : screenWidth - 80; }

}  // namespace wolterix::engine
