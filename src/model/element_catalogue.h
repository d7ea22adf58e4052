#pragma once
/// The table of element kinds: one row per kind holds everything the layers need to know of
/// it (codes, names, shape, flags, arrows, waveforms, help topic, parameters).

#include <array>
#include <cstddef>
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

/// Named positions of the parameters in file order, one namespace per kind or pair of kinds
/// sharing a list; the table is checked against them when it is compiled.
namespace param {
// clang-format off
namespace rez { enum : std::size_t { R, Count }; }
namespace ind { enum : std::size_t { L, Io, Count }; }
namespace poj { enum : std::size_t { C, Uo, Count }; }
namespace dio { enum : std::size_t { Rf, Gd, Count }; }
namespace zen { enum : std::size_t { Uz, Rf, Gd, Count }; }
/// SCR and RCT thyristor: three optional firing angles after the frequency.
namespace tyr { enum : std::size_t { Rt, Gd, F, On1, On2, On3, Count }; }
/// GTO thyristor and power transistor.
namespace gto { enum : std::size_t { Rt, Gd, F, On, Off, Count }; }
namespace bjt { enum : std::size_t { H11e, H12e, H21e, H22e, Count }; }
namespace war { enum : std::size_t { C, Beta, Count }; }
/// Nonlinear inductance and capacitance; the initial value is a current or a voltage.
namespace nonlinear { enum : std::size_t { C, Beta, Initial, Count }; }
namespace spr { enum : std::size_t { L1, L2, Io1, Io2, M, Count }; }
namespace tf1 { enum : std::size_t { S, U1, U2, F, Uzr, Ior, Pun, Pfen, Count }; }
/// DC motor; the load-type flag stands between C and J in the file form.
namespace sdc { enum : std::size_t { P, U, I, N, Rt, Lt, A, B, C, J, Excitation, I0, N0, Count }; }
/// Voltage source (E, Rw) and current source (J, Gw).
namespace source { enum : std::size_t { Value, Internal, F, Phase, Count }; }
/// Controlled voltage source (k, Rw) and current source (k, Gw).
namespace controlled { enum : std::size_t { K, Internal, Count }; }
namespace nwe { enum : std::size_t { Level, Count }; }
namespace wyl { enum : std::size_t { T1, T2, Count }; }
// clang-format on
}  // namespace param

/// One numeric parameter of a kind, in file order.
struct ParameterRow {
  std::string_view name;          ///< name as the catalogue gives it ("R", "Io", "uzr")
  std::string_view displayLabel;  ///< label in the display form ("R=", "(on):", "Poziom: ")
  NumberRule rule;                ///< what the reader accepts
  std::string_view defaultText;   ///< text of a new element and of a faulty dialog field
  double upperBound = std::numeric_limits<double>::infinity();
  bool upperInclusive = true;           ///< upperBound itself allowed
  bool optional = false;                ///< has a "given" flag (firing angles, switching times)
  bool timeOnly = false;                ///< written only in a time-simulation workspace
  std::string_view displaySuffix = {};  ///< unit written after the value ("%")
  /// The dialog's rule where it is stricter than the reader's; files written by older
  /// versions keep reading.
  std::optional<NumberRule> dialogOnlyRule = {};

  /// True when the reader takes text (number rule and upper bound).
  bool accepts(std::string_view text) const;
  /// True when the dialog takes text; whatever it takes, the reader takes as well.
  bool dialogAccepts(std::string_view text) const;
  constexpr NumberRule dialogRule() const { return dialogOnlyRule.value_or(rule); }
};

/// A label offset code pair (x code, y code) for one orientation; see the label placement rule.
struct LabelCode {
  int x;
  int y;
};

/// The groups the kinds are presented in (the help's chapters).
enum class Family : std::uint8_t { Source, Passive, Semiconductor, Machine, Meter };

/// The branches an element puts into the network.
enum class BranchLayout : std::uint8_t {
  Single,       ///< terminal 0 -> 1
  Transistor,   ///< collector, emitter and base around an internal node
  TwoWindings,  ///< terminals 0 -> 1 and 2 -> 3, magnetically coupled
  TwoPaths,     ///< the wattmeter's current path 0 -> 1 and voltage path 2 -> 3
};

/// Arrows an element can carry, as bits.
enum ArrowBits : std::uint8_t { kNoArrows = 0, kVoltageArrow = 1, kCurrentArrow = 2 };

/// Waveforms an element offers, as bits: its voltage (the transfer function K in a transfer
/// workspace), current, speed and power.
enum WaveBits : std::uint8_t { kWaveU = 1, kWaveI = 2, kWaveN = 4, kWaveP = 8 };

/// Everything one kind is, as every layer reads it.
struct KindInfo {
  ElementKind kind;
  std::string_view code;         ///< three-letter code ("Rez")
  std::string_view className;    ///< class name ("Rezystancja")
  std::string_view caption;      ///< dialog caption, help title and insert-menu text
  std::string_view paletteName;  ///< as the palette hint shows it
  std::string_view prefix;       ///< default-name prefix ("R")
  Family family;
  int terminals;  ///< electrical terminals with a grid point (2, 3 or 4)
  BranchLayout branches;
  bool swapFlag;                ///< its file line carries the terminals-swapped flag
  bool timeOnly;                ///< not offered in a transfer-function workspace
  std::uint8_t arrows;          ///< ArrowBits
  std::uint8_t waveforms;       ///< WaveBits
  int helpTopic;                ///< the page its dialog's "Pomoc" and F1 open
  std::string_view insertHint;  ///< after paletteName and "|" in the palette and menu hint
  std::span<const ParameterRow> parameters;
  std::array<LabelCode, 4> labelCodes;  ///< for orientations 1, 3, 5, 7

  /// Sources start with the voltage-direction flag cleared.
  constexpr bool isSource() const { return family == Family::Source; }
  /// Coupled coils and transformer.
  constexpr bool hasWindings() const { return branches == BranchLayout::TwoWindings; }
  constexpr bool hasArrow(ArrowBits arrow) const { return (arrows & arrow) != 0; }
  constexpr bool offers(WaveBits wave) const { return (waveforms & wave) != 0; }
  constexpr int branchCount() const {
    return branches == BranchLayout::Single ? 1 : branches == BranchLayout::Transistor ? 3 : 2;
  }
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
inline bool isSourceKind(ElementKind kind) { return kindInfo(kind).isSource(); }
/// Kinds whose file line carries the terminals-swapped flag.
inline bool hasSwapFlag(ElementKind kind) { return kindInfo(kind).swapFlag; }
/// Number of electrical terminals with a grid point (2, 3 or 4).
inline int terminalCount(ElementKind kind) { return kindInfo(kind).terminals; }

/// Ends the program after a switch over the kinds met a value that is none of them: a new
/// kind was added to the table and not to that switch.
[[noreturn]] void unknownKind(ElementKind kind, std::string_view where);

/// Waveforms of the independent sources.
enum class Waveform : std::uint8_t {
  Constant = 0,
  Sine = 1,
  Square = 2,
  Triangle = 3,
  Sawtooth = 4
};
std::string_view waveformCode(Waveform w);      ///< "st", "sin", ...
std::string_view waveformLongName(Waveform w);  ///< "stałe", "sinusoidalne", ...
std::optional<Waveform> waveformFromCode(std::string_view code);

}  // namespace wolterix::model
