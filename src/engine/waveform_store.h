#pragma once
/// The recorded results of the last run and the traces read from them.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

/// Node potentials, branch currents and motor speeds of one run, N + 4 values per row.
class WaveformStore {
public:
  void allocate(int nodes, int branches, int motors, int columns);

  int columns() const { return m_columns; }
  int nodeRows() const { return m_nodeRows; }
  int branchRows() const { return m_branchRows; }
  int motorRows() const { return m_motorRows; }

  std::span<double> nodeRow(int node) { return row(node); }
  std::span<double> branchRow(int branch) { return row(m_nodeRows + branch); }
  std::span<double> motorRow(int motor) { return row(m_nodeRows + m_branchRows + motor); }
  std::span<const double> nodeRow(int node) const { return row(node); }
  std::span<const double> branchRow(int branch) const { return row(m_nodeRows + branch); }
  std::span<const double> motorRow(int motor) const { return row(m_nodeRows + m_branchRows + motor); }

  int sampleCount = 0;      ///< samples recorded (N + 1 for a complete run)
  double spacing = 0.0;     ///< time between samples
  double startTime = 0.0;   ///< time of sample 0
  std::vector<StoredElement> elements;  ///< in element-list order

  /// Samples of a waveform ("U(R1)", "I(L1)", "P(R1)", "n(S1)"); nullopt when the name
  /// names no stored element or a quantity the element does not have.
  std::optional<std::vector<double>> trace(std::string_view name) const;

private:
  std::span<double> row(int r);
  std::span<const double> row(int r) const;

  std::vector<double> m_values;
  int m_columns = 0;
  int m_nodeRows = 0;
  int m_branchRows = 0;
  int m_motorRows = 0;
};

}  // namespace wolterix::engine
