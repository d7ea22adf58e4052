#include "engine/elimination_replay.h"

namespace wolterix::engine {

bool EliminationReplay::factor(std::span<double> a, int n) {
  m_n = n;
  m_updates.clear();
  m_diagonal.assign(static_cast<std::size_t>(n), 0.0);
  const std::size_t w = static_cast<std::size_t>(n) + 1;
  const auto at = [&](int row, int col) -> double& {
    return a[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(col)];
  };
  // Exactly the sweeps of solveNodal, without the right-hand-side column.
  for (int j = 1; j < n - 1; ++j) {
    for (int i = n - 1; i >= j + 1; --i) {
      if (at(i, j) == 0.0) continue;
      if (at(j, j) == 0.0) return false;
      const double f = at(i, j) / at(j, j);
      m_updates.push_back({i, j, f});
      for (int c = j; c < n; ++c) at(i, c) = at(j, c) * f - at(i, c);
    }
  }
  for (int i = n - 1; i >= 2; --i) {
    for (int j = 1; j <= i - 1; ++j) {
      if (at(j, i) == 0.0) continue;
      if (at(i, i) == 0.0) return false;
      const double f = at(j, i) / at(i, i);
      m_updates.push_back({j, i, f});
      for (int c = j; c < n; ++c) at(j, c) = at(i, c) * f - at(j, c);
    }
  }
  for (int j = 1; j < n; ++j) {
    if (at(j, j) == 0.0) return false;
    m_diagonal[static_cast<std::size_t>(j)] = at(j, j);
  }
  return true;
}

void EliminationReplay::solve(std::span<double> rhs) const {
  double* b = rhs.data();
  for (const Update& u : m_updates) b[u.target] = b[u.pivot] * u.factor - b[u.target];
  for (int j = 1; j < m_n; ++j) b[j] /= m_diagonal[static_cast<std::size_t>(j)];
}

}  // namespace wolterix::engine
