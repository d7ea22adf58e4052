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
  /// Applies the recorded elimination to the right-hand side in rhs[1..n-1] (rhs[0] is
  /// ignored) and writes the potentials to out[1..n-1]; rhs[0..n-1] is left all zero, ready
  /// for the next right-hand side. Answers the sum of the potentials' sizes.
  double solveInto(double* rhs, double* out) const;

  /// Up to this many unknowns the replay runs unrolled, the right-hand side in registers.
  static constexpr int kUnrolledUnknowns = 8;

 private:
  /// One row update of a sweep: rhs[target] = rhs[pivot] * factor - rhs[target]. Only the
  /// updates the elimination made are kept: skipping an exactly zero entry is not the same as
  /// applying a factor of 0.
  struct Update {
    int target;
    int pivot;
    double factor;
  };
  /// The recorded updates applied in place, one after another.
  void replay(double* rhs) const;
  template <int N>
  double solveUnrolled(double* rhs, double* out) const;
  using Unrolled = double (EliminationReplay::*)(double*, double*) const;
  /// The unrolled replay of n nodes, or null.
  static Unrolled unrolled(int n);

  int m_n = 0;
  Unrolled m_unrolled = nullptr;
  std::vector<Update> m_updates;  ///< the forward sweep, then the backward one, in order
                                  ///< (when not unrolled)
  std::vector<double> m_diagonal;
  // The same updates by place in the matrix (row-major n x n), for the unrolled replay; a
  // factor of the place is applied only where it was made.
  std::vector<double> m_factors;
  std::vector<unsigned char> m_applied;
};

}  // namespace wolterix::engine
