#pragma once
/// Waveform names ("U(R1)", "I(L1)", "P(R1)", "n(S1)", "K(R2)") and their resolution.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wolterix::model {

class Element;
class Schematic;

/// Number of branches an element contributes (see BranchLayout).
int branchCountOf(const Element& element);

/// The waveforms a run offers: per element in list order U, I, n, P (time simulation) or K
/// (transfer function).
std::vector<std::string> waveformList(const Schematic& schematic);

/// The quantities that may steer a controlled source: the voltages, currents and speeds the
/// other elements offer as waveforms.
std::vector<std::string> controlQuantityList(const Schematic& schematic, const Element* source);

/// A waveform name resolved to its element.
struct ResolvedTrace {
  const Element* element = nullptr;
  char quantity = 'U';   ///< 'U', 'I', 'P' or 'n' ("K" reads as "U")
  int branchIndex = 0;   ///< index of the element's first branch
  int elementIndex = 0;  ///< position of the element in the element list
};

/// Splits a waveform name into its letter and element name; nullopt when malformed.
std::optional<std::pair<char, std::string>> splitWaveformName(std::string_view name);

/// Resolves a name against the schematic; nullopt when no element carries that name.
std::optional<ResolvedTrace> resolveWaveform(const Schematic& schematic, std::string_view name);

}  // namespace wolterix::model
