#pragma once
/// What a meter shows: its slot, the reading over one cycle of samples and the four-digit
/// display text with its range and prefix.

#include <span>
#include <string>
#include <vector>

namespace wolterix::model {
class Element;
}

namespace wolterix::engine {

enum class MeterQuantity { Voltage = 0, Current = 1, Power = 2 };
/// What a meter indicates. Voltage and current meters take TrueRms..RippleFactor; a power
/// meter DcMean (the active power P) and ApparentPower..DisplacementFactor.
enum class Indication {
  TrueRms = 0,
  RectifiedMean,
  DcMean,
  Peak,                ///< largest magnitude
  PeakToPeak,          ///< largest minus smallest value
  FundamentalRms,      ///< RMS of the first harmonic of the cycle
  Thd,                 ///< per cent of the fundamental, orders 2..40
  CrestFactor,         ///< peak over RMS
  FormFactor,          ///< RMS over rectified mean
  RippleFactor,        ///< RMS of the AC part over the DC mean
  ApparentPower,       ///< S = U_rms·I_rms
  ReactivePower,       ///< Q₁ = U₁·I₁·sin φ₁
  PowerFactor,         ///< λ = P / S
  DisplacementFactor,  ///< cos φ₁
};

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

/// The reading of one cycle from its samples x0..xN, which span exactly one period. Means
/// are summed over neighbour pairs (trapezoids) and divided by twice the number of pairs;
/// the fundamental and THD come from the DFT of the period. Fewer than two samples read 0;
/// a ratio without its denominator reads NaN.
double readCycle(std::span<const double> samples, Indication indication);
/// A power meter's reading of one cycle from the voltage and current whose product is its
/// power (DcMean reads the active power P).
double readPowerCycle(std::span<const double> voltage, std::span<const double> current,
                      Indication indication);

/// The indications a meter of the quantity offers, in the order the options list them.
std::vector<Indication> indicationsOf(MeterQuantity quantity);
bool indicationFits(MeterQuantity quantity, Indication indication);
/// Ratios and percentages: shown without a unit prefix and without a manual range.
bool isRatio(Indication indication);
/// The unit shown after the prefix: "V", "A", "W", "VA", "var", "%" or "".
std::string indicationUnit(MeterQuantity quantity, Indication indication);
/// The option's text in "Opcje miernika".
std::string indicationName(MeterQuantity quantity, Indication indication);

/// A reading as the display shows it.
struct DisplayText {
  std::string value;  ///< "230.0", "-0.400", "over"
  int prefix = 0;     ///< prefix index of the unit
};

/// Four significant digits: automatic range scales into [1, 1000) with a prefix, the manual
/// range divides by 10^(3e) and keeps its full scale.
DisplayText formatReading(double value, bool autoRange, int fullScale, int rangeExponent);
/// A ratio or percentage: four significant digits without a prefix ("0.8660", "31.08"),
/// "over" from 1000 on, "0.000" below a millionth and "----" when it has no value (NaN).
DisplayText formatRatio(double value);

/// "p", "n", "u", "m", "", "k", "M", "G", "T" for -4..4 ("" outside).
std::string prefixText(int prefix);
/// "V", "A", "W".
std::string unitText(MeterQuantity quantity);
/// The indication display: "TRMS", "AV", "DC", "PEAK", "P-P", "H1", "THD", "CF", "FF",
/// "RF", "S", "Q1", "PF", "cosφ1".
std::string indicationText(Indication indication);
/// The badge letter: "U", "I", "P".
std::string quantityLetter(MeterQuantity quantity);

/// The options track bar (0 = 1000 G .. 15 = 1000 u) and the manual range it stands for.
int rangePosition(int fullScale, int rangeExponent);
void rangeFromPosition(int position, int& fullScale, int& rangeExponent);

/// Shows a reading on the slot: its text and the prefix it was shown with.
void showReading(MeterSlot& slot, double reading);
/// The unit beside the shown value, with its prefix ("kV", "mA", "kvar", "%", "").
std::string displayUnit(const MeterSlot& slot);
/// Back to the state of a fresh meter (0.000, no reading), keeping its settings.
void resetDisplay(MeterSlot& slot);

}  // namespace wolterix::engine
