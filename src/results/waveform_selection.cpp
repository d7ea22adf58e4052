#include "results/waveform_selection.h"

#include <algorithm>
#include <cmath>

namespace wolterix::results {

namespace {
constexpr std::array<int, 9> kValues = {1, 2, 5, 10, 20, 50, 100, 200, 500};
constexpr std::array<int, 9> kUnitExponents = {-12, -9, -6, -3, 0, 3, 6, 9, 12};
constexpr std::array<int, 6> kPowerExponents = {-3, 0, 3, 6, 9, 12};
constexpr std::array<std::string_view, 9> kPrefixes = {"p", "n", "u", "m", "", "k", "M", "G", "T"};

bool isUnitStep(ScaleStep s) {
  return s == ScaleStep::VoltageUnit || s == ScaleStep::CurrentUnit || s == ScaleStep::PowerUnit;
}
}  // namespace

Quantity quantityOfLetter(char letter) {
  switch (letter) {
    case 'I': return Quantity::Current;
    case 'n': return Quantity::Speed;
    case 'P': return Quantity::Power;
    default: return Quantity::Voltage;
  }
}

int stepMaximum(ScaleStep s) { return s == ScaleStep::PowerUnit ? 5 : 8; }

std::string stepText(ScaleStep s, int position) {
  position = std::clamp(position, 0, stepMaximum(s));
  if (!isUnitStep(s)) return std::to_string(kValues[position]);
  switch (s) {
    case ScaleStep::VoltageUnit: return std::string(kPrefixes[position]) + "V";
    case ScaleStep::CurrentUnit: return std::string(kPrefixes[position]) + "A";
    default: return std::string(kPrefixes[position + 3]) + "W";  // power starts at milli
  }
}

void WaveformSelection::moveStep(ScaleStep s, int delta) {
  int& value = steps[static_cast<int>(s)];
  value = std::clamp(value + delta, 0, stepMaximum(s));
}

void WaveformSelection::clearSlotsNotIn(const std::vector<std::string>& list) {
  for (TraceSlot& slot : traceSlots) {
    if (std::find(list.begin(), list.end(), slot.name) == list.end()) slot = TraceSlot{};
  }
}

double WaveformSelection::fixedScaleValue(Quantity q) const {
  auto value = [this](ScaleStep s) { return double(kValues[std::clamp(step(s), 0, 8)]); };
  auto exponent = [this](ScaleStep s) {
    return s == ScaleStep::PowerUnit ? kPowerExponents[std::clamp(step(s), 0, 5)]
                                     : kUnitExponents[std::clamp(step(s), 0, 8)];
  };
  switch (q) {
    case Quantity::Voltage:
      return value(ScaleStep::VoltageValue) * std::pow(10.0, exponent(ScaleStep::VoltageUnit));
    case Quantity::Current:
      return value(ScaleStep::CurrentValue) * std::pow(10.0, exponent(ScaleStep::CurrentUnit));
    case Quantity::Speed: return value(ScaleStep::SpeedValue);
    case Quantity::Power:
      return value(ScaleStep::PowerValue) * std::pow(10.0, exponent(ScaleStep::PowerUnit));
  }
  return 1.0;
}

}  // namespace wolterix::results
