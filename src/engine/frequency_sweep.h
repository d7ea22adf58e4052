#pragma once
/// The transfer-function analysis: complex node potentials over a logarithmic sweep with 1 V
/// applied by the input voltage.

#include <complex>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/element_model.h"
#include "engine/waveform_store.h"

namespace wolterix::engine {

/// Solves the complex nodal equations in place (n rows of n + 1 columns, row and column 0
/// unused, column n the right-hand side), choosing each pivot as the largest against its
/// row. Answers false only when a pivot is exactly zero. On success column n holds the
/// potentials.
bool solveNodalComplex(std::span<Complex> matrix, int n);

/// True when every node 0..n-1 has a path to node 0 along the links (the branches of
/// non-zero admittance): a node without one has no defined potential.
bool reachesTheReference(int n, std::span<const std::pair<int, int>> links);

/// Complex node potentials per volt of input at every frequency point.
class FrequencyStore {
 public:
  void allocate(int nodes, int columns);
  std::span<Complex> nodeRow(int node);
  std::span<const Complex> nodeRow(int node) const;
  int nodeRows() const { return m_nodeRows; }
  int columns() const { return m_columns; }

  int pointCount = 0;               ///< frequency points computed
  double ratio = 1.0;               ///< q: point k lies at f1 * q^k
  std::vector<double> frequencies;  ///< of every point computed
  std::vector<StoredElement> elements;

  /// Frequency of point k (0 outside the points computed).
  double frequency(int k) const;
  /// The transfer function of an element ("K(R2)", also "U(R2)"): its voltage, signed by its
  /// voltage arrow, per volt of input; nullopt for an unknown name.
  std::optional<std::vector<Complex>> trace(std::string_view name) const;

 private:
  std::vector<Complex> m_values;
  int m_nodeRows = 0;
  int m_columns = 0;
};

}  // namespace wolterix::engine
