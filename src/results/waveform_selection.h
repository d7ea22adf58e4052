#pragma once
/// The traces chosen for the plot window and its vertical scale settings.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace wolterix::results {

/// The quantities a trace can show, each with its own vertical scale.
enum class Quantity { Voltage, Current, Speed, Power };
inline constexpr int kQuantityCount = 4;

/// The quantity a waveform name shows ('U'/'K' voltage, 'I' current, 'n' speed, 'P' power).
Quantity quantityOfLetter(char letter);

/// The seven up/down positions of the fixed scales, in the order of their buttons.
enum class ScaleStep {
  VoltageValue,
  VoltageUnit,
  CurrentValue,
  CurrentUnit,
  SpeedValue,
  PowerValue,
  PowerUnit
};
inline constexpr int kScaleStepCount = 7;

enum class TransferPlotKind { Magnitude = 0, Angle = 1, Complex = 2 };
enum class CoordinateSystem { Cartesian = 0, Polar = 1 };

/// Texts of the choices the dialog offers.
inline constexpr std::array<std::string_view, 3> kTransferPlotKindTexts = {
    "Moduł transmitancji", "Kąt transmitancji", "Transmitancja zespolona"};
inline constexpr std::array<std::string_view, 6> kMagnitudeScaleTexts = {
    "    5 dB", "  10 dB", "  30 dB", "  60 dB", "120 dB", "240 dB"};
inline constexpr std::array<double, 6> kMagnitudeSpans = {5, 10, 30, 60, 120, 240};
inline constexpr std::array<std::string_view, 2> kCoordinateSystemTexts = {"Kartezjański",
                                                                           "Biegunowy"};
inline constexpr std::string_view kMarkStartPointsText = "Zaznacz punkty początkowe";
inline constexpr std::string_view kSpeedUnitText = "obr/min";

/// One of the six trace slots: a waveform name, which may be empty, and whether it is shown.
struct TraceSlot {
  std::string name;
  bool on = false;

  friend bool operator==(const TraceSlot&, const TraceSlot&) = default;
};

/// What the user chose in "Przebiegi"; lives as long as the program, not saved with the file.
struct WaveformSelection {
  static constexpr int kSlotCount = 6;

  std::array<TraceSlot, kSlotCount> traceSlots;
  /// Per quantity: fixed scale (true) or automatic (false).
  std::array<bool, kQuantityCount> fixedScale{};
  std::array<int, kScaleStepCount> steps{8, 4, 8, 4, 6, 8, 1};
  TransferPlotKind transferPlot = TransferPlotKind::Magnitude;
  int magnitudeScale = 1;  ///< index into kMagnitudeSpans
  bool markStartPoints = true;
  CoordinateSystem coordinates = CoordinateSystem::Cartesian;

  bool isFixed(Quantity q) const { return fixedScale[static_cast<int>(q)]; }
  int step(ScaleStep s) const { return steps[static_cast<int>(s)]; }
  /// Moves a step by delta, held within its range.
  void moveStep(ScaleStep s, int delta);
  /// Empties and switches off every slot whose name the current list does not offer, so a
  /// slot never carries a name from another mode or a deleted element into the next plot.
  void clearSlotsNotIn(const std::vector<std::string>& list);
  /// The fixed vertical scale of a quantity per grid unit: value × 10^exponent (speed: value).
  double fixedScaleValue(Quantity q) const;

  friend bool operator==(const WaveformSelection&, const WaveformSelection&) = default;
};

/// Highest position of a step (8, or 5 for the power unit).
int stepMaximum(ScaleStep s);
/// The text beside an up/down button: the scale value ("500") or the unit ("mV").
std::string stepText(ScaleStep s, int position);

}  // namespace wolterix::results
