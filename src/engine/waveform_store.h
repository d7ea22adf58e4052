#pragma once
/// The recorded results of the last run and the traces read from them.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/element_catalogue.h"

namespace wolterix::engine {

/// What a trace needs of an element, fixed at the time of the run.
struct StoredElement {
  std::string name;
  model::ElementKind kind{};
  std::array<int, 5> nodes{};  ///< engine nodes of terminals 0..3 and the internal node
  int firstBranch = 0;
  int motor = -1;  ///< motor row, -1 for every kind but the motor
  bool voltageDirection = true;
  bool currentDirection = true;
};

/// Node potentials, branch currents and motor speeds of one run, N + 4 values per row. A
/// store may keep only the rows some waveforms read; the others then read as absent.
class WaveformStore {
 public:
  /// Sizes the store for n node, b branch and m motor rows: every row, or with names given
  /// only the rows those waveforms read (resolved through `elements`, which must be set).
  /// Answers false and keeps nothing when that would take more than limitBytes (0: no limit).
  bool allocate(int nodes, int branches, int motors, int columns,
                std::span<const std::string> onlyFor = {}, std::size_t limitBytes = 0);
  /// Bytes the values of the last allocation took, or would have taken when refused.
  std::size_t requiredBytes() const { return m_requiredBytes; }

  int columns() const { return m_columns; }
  int nodeRows() const { return m_nodeRows; }
  int branchRows() const { return m_branchRows; }
  int motorRows() const { return m_motorRows; }

  /// A row's samples; empty for a row this store does not keep.
  std::span<double> nodeRow(int node) { return row(m_nodeSlots, node); }
  std::span<double> branchRow(int branch) { return row(m_branchSlots, branch); }
  std::span<double> motorRow(int motor) { return row(m_motorSlots, motor); }
  std::span<const double> nodeRow(int node) const { return row(m_nodeSlots, node); }
  std::span<const double> branchRow(int branch) const { return row(m_branchSlots, branch); }
  std::span<const double> motorRow(int motor) const { return row(m_motorSlots, motor); }

  int sampleCount = 0;                  ///< samples recorded (N + 1 for a complete run)
  double spacing = 0.0;                 ///< time between samples
  double startTime = 0.0;               ///< time of sample 0
  std::vector<StoredElement> elements;  ///< in element-list order

  /// Samples of a waveform ("U(R1)", "I(L1)", "P(R1)", "n(S1)"); nullopt when the name
  /// names no stored element or a quantity the element does not have.
  std::optional<std::vector<double>> trace(std::string_view name) const;
  /// The value of a waveform at one sample; nullopt where trace() has none or the sample lies
  /// outside the recorded ones.
  std::optional<double> valueAt(std::string_view name, int sample) const;

  /// Currents into an element at its terminals 0..3 at one sample (0 where it has no such
  /// terminal or the store does not keep the branch): a branch's current enters at its from-
  /// terminal and leaves at its to-terminal.
  std::array<double, 4> terminalCurrents(const StoredElement& element, int sample) const;

  // Conduction states of the switching elements (diodes, Zener, thyristors, GTO, power
  // transistor, switch, bipolar transistor), one byte a sample: 0 off, 1 conducting, 2 a
  // Zener in breakdown.
  /// Sizes one state row per element index given (into `elements`), `columns` samples each.
  void allocateStates(std::vector<int> elementIndices);
  int stateRows() const { return static_cast<int>(m_stateElements.size()); }
  /// The index into `elements` of a state row's element, and that element.
  int stateElementIndex(int row) const { return m_stateElements[static_cast<std::size_t>(row)]; }
  const StoredElement& stateElement(int row) const {
    return elements[static_cast<std::size_t>(stateElementIndex(row))];
  }
  std::span<std::uint8_t> stateRow(int row);
  std::span<const std::uint8_t> stateRow(int row) const;
  /// The state row of the element named; -1 when it has none.
  int stateRowOf(std::string_view elementName) const;

  /// The voltage and the current whose product, sample by sample, is the trace P(element);
  /// nullopt where that trace is not stored.
  std::optional<std::pair<std::vector<double>, std::vector<double>>> powerFactors(
      std::string_view elementName) const;

 private:
  /// The rows one waveform reads: nodes a and b, a branch and a motor (-1 where unused).
  struct TraceSource {
    char quantity = 0;
    int a = -1;
    int b = -1;
    int branch = -1;
    int motor = -1;
    double voltageSign = 1.0;
    double currentSign = 1.0;
  };
  std::optional<TraceSource> traceSource(std::string_view name) const;
  std::span<double> row(const std::vector<int>& slots, int index);
  std::span<const double> row(const std::vector<int>& slots, int index) const;

  std::vector<double> m_values;
  std::vector<int> m_stateElements;
  std::vector<std::uint8_t> m_states;
  // Place of each node, branch and motor row among the stored ones, -1 when not kept.
  std::vector<int> m_nodeSlots;
  std::vector<int> m_branchSlots;
  std::vector<int> m_motorSlots;
  std::size_t m_requiredBytes = 0;
  int m_columns = 0;
  int m_nodeRows = 0;
  int m_branchRows = 0;
  int m_motorRows = 0;
};

}  // namespace wolterix::engine
