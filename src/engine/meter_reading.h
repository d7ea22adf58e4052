#pragma once
/// What a meter shows: its slot, the reading over one cycle of samples and the four-digit
/// display text with its range and prefix.

#include <span>
#include <string>

namespace wolterix::model {
class Element;
}

namespace wolterix::engine {

enum class MeterQuantity { Voltage = 0, Current = 1, Power = 2 };
enum class Indication { TrueRms = 0, RectifiedMean = 1, DcMean = 2 };

/// One of the six meters of the panel.
struct MeterSlot {
  bool inUse = false;
  bool autoRange = true;
  MeterQuantity quantity = MeterQuantity::Voltage;
  int fullScale = 1000;   ///< manual range: 10, 100 or 1000 counts
  int rangeExponent = 0;  ///< manual range: full scale x 10^(3e)
  int shownPrefix = 0;    ///< prefix index of the value last shown (-4 "p" .. 4 "T")
  Indication indication = Indication::TrueRms;
  const model::Element* element = nullptr;
  std::string display = "0.000";  ///< the value text last shown ("230.0", "over")
  bool hasReading = false;        ///< a cycle has been read since the meter was reset
  double reading = 0.0;           ///< the raw reading last shown
};

/// The reading of one cycle from its samples x0..xN, summed over neighbour pairs
/// (trapezoids) and divided by twice the number of pairs. Fewer than two samples read 0.
double readCycle(std::span<const double> samples, Indication indication);

/// A reading as the display shows it.
struct DisplayText {
  std::string value;  ///< "230.0", "-0.400", "over"
  int prefix = 0;     ///< prefix index of the unit
};

/// Four significant digits: automatic range scales into [1, 1000) with a prefix, the manual
/// range divides by 10^(3e) and keeps its full scale.
DisplayText formatReading(double value, bool autoRange, int fullScale, int rangeExponent);

/// "p", "n", "u", "m", "", "k", "M", "G", "T" for -4..4 ("" outside).
std::string prefixText(int prefix);
/// "V", "A", "W".
std::string unitText(MeterQuantity quantity);
/// The indication display: "TRMS", "AV", "DC".
std::string indicationText(Indication indication);
/// The badge letter: "U", "I", "P".
std::string quantityLetter(MeterQuantity quantity);

/// The options track bar (0 = 1000 G .. 15 = 1000 u) and the manual range it stands for.
int rangePosition(int fullScale, int rangeExponent);
void rangeFromPosition(int position, int& fullScale, int& rangeExponent);

/// Shows a reading on the slot: its text and the prefix it was shown with.
void showReading(MeterSlot& slot, double reading);
/// Back to the state of a fresh meter (0.000, no reading), keeping its settings.
void resetDisplay(MeterSlot& slot);

}  // namespace wolterix::engine
