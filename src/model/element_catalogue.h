#pragma once
/// The catalogue of element kinds: codes, numeric kinds, names, prefixes and parameters.

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "model/engineering_number.h"

namespace wolterix::model {

/// The twenty-five element kinds, valued by their numeric kind.
enum class ElementKind : std::uint8_t {
  Rez = 1,
  Ind = 2,
  Poj = 3,
  Dio = 4,
  Zen = 5,
  Tyr = 6,
  GTO = 7,
  TrM = 8,
  BJT = 9,
  RCT = 10,
  War = 14,
  nlL = 15,
  nlC = 16,
  Spr = 20,
  Tf1 = 25,
  sDC = 30,
  Nap = 50,
  Prd = 51,
  zsN = 52,
  zsP = 53,
  nWe = 54,
  mmV = 80,
  mmA = 81,
  mmW = 82,
  wyl = 90,
};

/// Numeric kinds of the two auxiliary objects.
inline constexpr std::uint8_t kWireKind = 0;
inline constexpr std::uint8_t kJunctionKind = 254;

/// One numeric parameter of a kind, in file order.
struct ParameterSpec {
  std::string_view name;          ///< name as the catalogue gives it ("R", "Io", "uzr")
  std::string_view displayLabel;  ///< label in the display form ("R=", "(on):", "Poziom: ")
  NumberRule rule;                ///< what the reader and the dialog accept
  std::string_view defaultText;   ///< text of a new element ("?" = must be supplied)
  double upperBound = std::numeric_limits<double>::infinity();
  bool upperInclusive = true;     ///< upperBound itself allowed
  bool optional = false;          ///< has a "given" flag (firing angles, switching times)
  bool timeOnly = false;          ///< written only in a time-simulation workspace
  std::string_view displaySuffix = {};  ///< unit written after the value ("%")

  /// True when text is acceptable for this parameter (number rule and upper bound).
  bool accepts(std::string_view text) const;
};

/// A label offset code pair (x code, y code) for one orientation; see the label placement rule.
struct LabelCode {
  int x;
  int y;
};

/// Everything the catalogue says about one kind.
struct KindInfo {
  ElementKind kind;
  std::string_view code;         ///< three-letter code ("Rez")
  std::string_view className;    ///< class name ("Rezystancja")
  std::string_view paletteName;  ///< as the palette hint shows it ("Rezystancja")
  std::string_view prefix;       ///< default-name prefix ("R")
  std::span<const ParameterSpec> parameters;
  std::array<LabelCode, 4> labelCodes;  ///< for orientations 1, 3, 5, 7
};

/// All kinds in catalogue order.
std::span<const KindInfo> allKinds();
/// The catalogue row of a kind.
const KindInfo& kindInfo(ElementKind kind);
/// Kind for a three-letter code (exact, case-sensitive).
std::optional<ElementKind> kindFromCode(std::string_view code);
/// Kind for a numeric kind; nullopt for wires, junctions and unknown numbers.
std::optional<ElementKind> kindFromNumber(int number);

/// Kinds that start with the voltage-direction flag cleared.
bool isSourceKind(ElementKind kind);
/// Kinds whose file line carries the terminals-swapped flag.
bool hasSwapFlag(ElementKind kind);
/// Number of electrical terminals with a grid point (2, 3 or 4).
int terminalCount(ElementKind kind);

/// Waveforms of the independent sources.
enum class Waveform : std::uint8_t { Constant = 0, Sine = 1, Square = 2, Triangle = 3, Sawtooth = 4 };
std::string_view waveformCode(Waveform w);      ///< "st", "sin", ...
std::string_view waveformLongName(Waveform w);  ///< "stałe", "sinusoidalne", ...
std::optional<Waveform> waveformFromCode(std::string_view code);

}  // namespace wolterix::model
