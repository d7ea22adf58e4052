#pragma once
/// The plain elimination of the nodal equations, split into a factorisation of the
/// conductances and a replay on the right-hand side: the same operations in the same order,
/// so the result is exactly that of solveNodal on the full matrix.

#include <span>
#include <vector>

namespace wolterix::engine {

class EliminationReplay {
 public:
  /// Eliminates the conductance part of matrix (n rows of n + 1 columns, row and column 0
  /// unused; column n is ignored) and records the factors. False on a zero pivot.
  bool factor(std::span<double> matrix, int n);
  /// Applies the recorded elimination to rhs (indices 1..n-1) and leaves the potentials there.
  void solve(std::span<double> rhs) const;

 private:
  int m_n = 0;
  // Factors of the forward and backward sweeps, row-major n x n; a skipped (exactly zero)
  // entry is marked as such, since skipping is not the same as applying a factor of 0.
  std::vector<double> m_forward;
  std::vector<double> m_backward;
  std::vector<unsigned char> m_forwardApplied;
  std::vector<unsigned char> m_backwardApplied;
  std::vector<double> m_diagonal;
};

}  // namespace wolterix::engine
