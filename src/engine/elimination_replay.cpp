#include "engine/elimination_replay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace wolterix::engine {

bool EliminationReplay::factor(std::span<double> a, int n) {
  m_n = n;
  m_unrolled = unrolled(n);
  m_updates.clear();
  m_diagonal.assign(static_cast<std::size_t>(n), 0.0);
  // The unrolled replay reads the updates by place, the loop by list: each keeps its own.
  const auto size = m_unrolled ? static_cast<std::size_t>(n) * static_cast<std::size_t>(n) : 0;
  m_factors.assign(size, 0.0);
  m_applied.assign(size, 0);
  const std::size_t w = static_cast<std::size_t>(n) + 1;
  const auto at = [&](int row, int col) -> double& {
    return a[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(col)];
  };
  const auto record = [&](int target, int pivot, double f) {
    if (!m_unrolled) {
      m_updates.push_back({target, pivot, f});
      return;
    }
    // Each place of the matrix is eliminated at most once, in one of the sweeps: the forward
    // sweep clears places below the diagonal, the backward one places above it.
    const auto slot = static_cast<std::size_t>(target) * static_cast<std::size_t>(n) +
                      static_cast<std::size_t>(pivot);
    m_factors[slot] = f;
    m_applied[slot] = 1;
  };
  // Exactly the sweeps of solveNodal, without the right-hand-side column.
  for (int j = 1; j < n - 1; ++j) {
    for (int i = n - 1; i >= j + 1; --i) {
      if (at(i, j) == 0.0) continue;
      if (at(j, j) == 0.0) return false;
      const double f = at(i, j) / at(j, j);
      record(i, j, f);
      for (int c = j; c < n; ++c) at(i, c) = at(j, c) * f - at(i, c);
    }
  }
  for (int i = n - 1; i >= 2; --i) {
    for (int j = 1; j <= i - 1; ++j) {
      if (at(j, i) == 0.0) continue;
      if (at(i, i) == 0.0) return false;
      const double f = at(j, i) / at(i, i);
      record(j, i, f);
      for (int c = j; c < n; ++c) at(j, c) = at(i, c) * f - at(j, c);
    }
  }
  for (int j = 1; j < n; ++j) {
    if (at(j, j) == 0.0) return false;
    m_diagonal[static_cast<std::size_t>(j)] = at(j, j);
  }
  return true;
}

// The replay with the number of nodes known when compiled: every loop unrolls, the entries of
// the right-hand side stay in registers, and an update not made is a branch taken the same way
// at every solve with this factorisation.
template <int N>
double EliminationReplay::solveUnrolled(double* rhs, double* out) const {
  double x[N];
  x[0] = 0.0;
#pragma GCC unroll 16
  for (int i = 1; i < N; ++i) x[i] = rhs[i];
#pragma GCC unroll 16
  for (int i = 0; i < N; ++i) rhs[i] = 0.0;
  const double* f = m_factors.data();
  const unsigned char* applied = m_applied.data();
#pragma GCC unroll 16
  for (int j = 1; j < N - 1; ++j)
#pragma GCC unroll 16
    for (int i = N - 1; i >= j + 1; --i)
      if (applied[i * N + j]) x[i] = x[j] * f[i * N + j] - x[i];
#pragma GCC unroll 16
  for (int i = N - 1; i >= 2; --i)
#pragma GCC unroll 16
    for (int j = 1; j <= i - 1; ++j)
      if (applied[j * N + i]) x[j] = x[i] * f[j * N + i] - x[j];
  double sum = 0.0;
#pragma GCC unroll 16
  for (int j = 1; j < N; ++j) {
    out[j] = x[j] / m_diagonal[static_cast<std::size_t>(j)];
    sum += std::abs(out[j]);
  }
  return sum;
}

EliminationReplay::Unrolled EliminationReplay::unrolled(int n) {
  // Nodes 2 .. kUnrolledUnknowns + 1 (the reference and the unknowns).
  static constexpr auto table = []<int... N>(std::integer_sequence<int, N...>) {
    return std::array<Unrolled, sizeof...(N)>{&EliminationReplay::solveUnrolled<N + 2>...};
  }
  (std::make_integer_sequence<int, kUnrolledUnknowns>{});
  const int k = n - 2;
  return k >= 0 && k < kUnrolledUnknowns ? table[static_cast<std::size_t>(k)] : nullptr;
}

void EliminationReplay::replay(double* b) const {
  for (const Update& u : m_updates) b[u.target] = b[u.pivot] * u.factor - b[u.target];
  for (int j = 1; j < m_n; ++j) b[j] /= m_diagonal[static_cast<std::size_t>(j)];
}

double EliminationReplay::solveInto(double* rhs, double* out) const {
  if (m_unrolled) return (this->*m_unrolled)(rhs, out);
  replay(rhs);
  double sum = 0.0;
  for (int j = 1; j < m_n; ++j) {
    out[j] = rhs[j];
    sum += std::abs(out[j]);
  }
  std::fill(rhs, rhs + m_n, 0.0);
  return sum;
}

}  // namespace wolterix::engine
