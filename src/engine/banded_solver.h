#pragma once
/// A band matrix with its LU factorisation (no pivoting), and the node ordering that keeps
/// the band of a circuit's nodal matrix narrow.

#include <span>
#include <utility>
#include <vector>

namespace wolterix::engine {

/// Reverse Cuthill-McKee ordering of nodes 0..count-1 joined by the given edges: order[k] is
/// the node placed at position k.
std::vector<int> reverseCuthillMcKee(int count, std::span<const std::pair<int, int>> edges);

/// A square band matrix of half bandwidth w, factorised in place as L * U.
class BandMatrix {
 public:
  void resize(int size, int halfBandwidth);
  void clear();
  int size() const { return m_size; }
  int halfBandwidth() const { return m_width; }

  /// Entry (row, column); |row - column| must not exceed the half bandwidth.
  double& at(int row, int column) {
    return m_values[static_cast<std::size_t>(row) * m_stride +
                    static_cast<std::size_t>(column - row + m_width)];
  }
  double at(int row, int column) const {
    return m_values[static_cast<std::size_t>(row) * m_stride +
                    static_cast<std::size_t>(column - row + m_width)];
  }

  /// Factorises in place; false on a zero pivot.
  bool factor();
  /// Solves L U x = b in place, after factor().
  void solve(std::span<double> b) const;

 private:
  std::vector<double> m_values;
  std::vector<double> m_inversePivots;  ///< 1 / U(i, i), so the back sweep multiplies
  std::size_t m_stride = 1;
  int m_size = 0;
  int m_width = 0;
};

}  // namespace wolterix::engine
