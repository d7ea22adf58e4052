#pragma once
/// The traces of the plot window read from the last run, with their scales.

#include <array>
#include <complex>
#include <cstdint>
#include <string>
#include <vector>

#include "results/waveform_selection.h"

namespace wolterix::engine {
class WaveformStore;
class FrequencyStore;
}  // namespace wolterix::engine

namespace wolterix::model {
class Schematic;
}

namespace wolterix::results {

/// The level in dB of the schematic's first input voltage (0 without one).
double inputLevelOf(const model::Schematic& schematic);

/// A shown time trace: its slot (which fixes its colour), name, quantity and samples.
struct TimeTrace {
  int slot = 0;
  std::string name;
  Quantity quantity = Quantity::Voltage;
  std::vector<double> samples;
};

/// Conduction of one switching element, a state per sample: 0 off, 1 conducting, 2 a Zener
/// in breakdown.
struct ConductionRow {
  std::string name;
  std::vector<std::uint8_t> states;
};

struct TimePlot {
  double startTime = 0.0;
  double spacing = 0.0;
  int sampleCount = 0;
  std::vector<TimeTrace> traces;
  /// Every switching element of the run, in element-list order.
  std::vector<ConductionRow> conduction;
  /// Vertical scale per quantity (indexed by Quantity), −1 when no trace shows it.
  std::array<double, kQuantityCount> scales{-1, -1, -1, -1};
  /// Quantities whose scale the user fixed: a zoom keeps them.
  std::array<bool, kQuantityCount> fixedScales{};

  double span() const { return sampleCount > 1 ? spacing * (sampleCount - 1) : 0.0; }
  double scale(Quantity q) const { return scales[static_cast<int>(q)]; }
};

/// The switched-on slots that name a recorded waveform (others are skipped silently) and the
/// conduction of every switching element.
TimePlot buildTimePlot(const engine::WaveformStore& store, const WaveformSelection& selection);
/// Sets the scale of every shown quantity that is not fixed from the extremes of its samples.
void fitAutomaticScales(TimePlot& plot);

struct TransferTrace {
  int slot = 0;
  std::string name;
  std::vector<std::complex<double>> values;
  /// A value exactly zero has no magnitude in dB or angle: such a trace leaves those plots.
  bool hasZero = false;
};

struct TransferPlot {
  std::vector<double> frequencies;
  std::vector<TransferTrace> traces;
  double inputLevel = 0.0;
  double lowerFrequency = 1.0;  ///< left edge of the logarithmic axis
  double decades = 0.0;         ///< its width: log10(upper / lower frequency)
  double lowerDecade = 1.0;     ///< the power of ten where the decade marks start
  double dbTop = 0.0;
  double dbBottom = 0.0;
  double complexScale = 0.25;
};

TransferPlot buildTransferPlot(const engine::FrequencyStore& store,
                               const WaveformSelection& selection, double inputLevel);
/// Recomputes from the frequencies and values: which traces hold a zero, the logarithmic axis
/// over the first to the last point, the decibel range of the span and the complex scale.
void fitTransferScales(TransferPlot& plot, double dbSpan);

}  // namespace wolterix::results
