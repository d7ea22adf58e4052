#include "engine/network.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace wolterix::engine {

bool solveNodal(std::span<double> a, int n) {
  const std::size_t w = static_cast<std::size_t>(n) + 1;
  const auto at = [&](int row, int col) -> double& {
    return a[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(col)];
  };
  // Forward: clear column j below the diagonal, from the bottom row up. The update keeps the
  // reversed sign (row j times f minus row i); rows change sign, the solution does not.
  for (int j = 1; j < n - 1; ++j) {
    for (int i = n - 1; i >= j + 1; --i) {
      if (at(i, j) == 0.0) continue;
      if (at(j, j) == 0.0) return false;
      const double f = at(i, j) / at(j, j);
      // Columns left of j are zero in both rows already.
      for (int c = j; c <= n; ++c) at(i, c) = at(j, c) * f - at(i, c);
    }
  }
  // Backward: clear column i above the diagonal.
  for (int i = n - 1; i >= 2; --i) {
    for (int j = 1; j <= i - 1; ++j) {
      if (at(j, i) == 0.0) continue;
      if (at(i, i) == 0.0) return false;
      const double f = at(j, i) / at(i, i);
      // From column j: the update also flips the sign of row j's own entries left of i.
      for (int c = j; c <= n; ++c) at(j, c) = at(i, c) * f - at(j, c);
    }
  }
  for (int j = 1; j <= n - 1; ++j) {
    if (at(j, j) == 0.0) return false;  // a row no elimination touched: no path to the reference
    at(j, n) /= at(j, j);
  }
  return true;
}

void Network::build(std::span<const std::unique_ptr<ElementModel>> models, int nodeCount,
                    bool groundParts) {
  m_models.clear();
  m_varistors.clear();
  m_branches.clear();
  m_firstBranch.clear();
  for (const auto& owned : models) {
    ElementModel* model = owned.get();
    m_models.push_back(model);
    if (model->kind() == model::ElementKind::War) m_varistors.push_back(model);
    m_firstBranch.push_back(static_cast<int>(m_branches.size()));
    const auto shapes = model->branches();
    const int first = static_cast<int>(m_branches.size());
    for (const BranchShape& shape : shapes) {
      Branch b;
      b.from = model->node(shape.fromTerminal);
      b.to = model->node(shape.toTerminal);
      b.model = model;
      b.code = shape.code;
      // The two windings of a magnetic element see each other.
      if (shape.code == SubBranchCode::FirstWinding) b.partner = first + 1;
      if (shape.code == SubBranchCode::SecondWinding) b.partner = first;
      m_branches.push_back(b);
    }
  }
  m_nodeCount = nodeCount;

  if (groundParts && !m_branches.empty()) groundSeparateParts();

  const auto n = static_cast<std::size_t>(std::max(m_nodeCount, 1));
  m_matrix.assign(n * (n + 1), 0.0);
  m_voltages.assign(n, 0.0);
}

void Network::groundSeparateParts() {
  // Parts are the connected groups of nodes; the part of the first branch keeps node 0.
  const int n = m_nodeCount;
  std::vector<int> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  const auto root = [&](int x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
  };
  for (const Branch& b : m_branches) parent[root(b.from)] = root(b.to);

  // The lowest node of every other part becomes that part's reference, node 0; the nodes
  // above it close up.
  std::vector<int> lowest(n, -1);
  for (int x = 0; x < n; ++x)
    if (lowest[root(x)] < 0) lowest[root(x)] = x;
  const int firstPart = root(m_branches.front().from);
  std::vector<int> renumbered(n);
  int removed = 0;
  for (int x = 0; x < n; ++x) {
    const bool reference = root(x) != firstPart && lowest[root(x)] == x;
    renumbered[x] = reference ? 0 : x - removed;
    if (reference) ++removed;
  }
  for (Branch& b : m_branches) {
    b.from = renumbered[b.from];
    b.to = renumbered[b.to];
  }
  for (std::size_t i = 0; i < m_models.size(); ++i) {
    const auto shapes = m_models[i]->branches();
    for (std::size_t k = 0; k < shapes.size(); ++k) {
      const Branch& b = m_branches[m_firstBranch[i] + k];
      m_models[i]->setNode(shapes[k].fromTerminal, b.from);
      m_models[i]->setNode(shapes[k].toTerminal, b.to);
    }
  }
  m_nodeCount = n - removed;
}

double Network::branchCurrent(std::size_t branch, NodeVector V) const {
  const Branch& b = m_branches[branch];
  double i = b.G * (V[b.from] - V[b.to]) - b.J;
  if (b.partner >= 0) {
    const Branch& p = m_branches[b.partner];
    i += b.Gm * (V[p.from] - V[p.to]);
  }
  return i;
}

void Network::assemble(double h, double t) {
  for (ElementModel* model : m_models) model->prepareStep(h, m_voltages);
  for (Branch& b : m_branches) {
    const BranchStamp stamp = b.model->companion(h, t, b.code);
    b.G = stamp.G;
    b.J = stamp.J;
    b.Gm = stamp.Gm;
  }
  std::fill(m_matrix.begin(), m_matrix.end(), 0.0);
  const auto w = static_cast<std::size_t>(m_nodeCount) + 1;
  const auto rhs = static_cast<std::size_t>(m_nodeCount);
  for (const Branch& b : m_branches) {
    const auto f = static_cast<std::size_t>(b.from);
    const auto to = static_cast<std::size_t>(b.to);
    if (f != 0) {
      m_matrix[f * w + f] += b.G;
      m_matrix[f * w + rhs] += b.J;
      if (to != 0) m_matrix[f * w + to] -= b.G;
    }
    if (to != 0) {
      m_matrix[to * w + to] += b.G;
      m_matrix[to * w + rhs] -= b.J;
      if (f != 0) m_matrix[to * w + f] -= b.G;
    }
    if (b.partner < 0 || b.Gm == 0.0) continue;
    // Cross terms: this branch's current depends on the partner's voltage.
    const Branch& p = m_branches[static_cast<std::size_t>(b.partner)];
    const auto pf = static_cast<std::size_t>(p.from);
    const auto pt = static_cast<std::size_t>(p.to);
    for (const auto& [row, sign] : {std::pair{f, 1.0}, std::pair{to, -1.0}}) {
      if (row == 0) continue;
      if (pf != 0) m_matrix[row * w + pf] += sign * b.Gm;
      if (pt != 0) m_matrix[row * w + pt] -= sign * b.Gm;
    }
  }
}

int Network::solve() {
  if (!solveNodal(m_matrix, m_nodeCount)) return -1;
  const auto w = static_cast<std::size_t>(m_nodeCount) + 1;
  for (int j = 1; j < m_nodeCount; ++j) {
    const double v = m_matrix[j * w + m_nodeCount];
    if (!std::isfinite(v)) return -2;
    m_voltages[j] = v;
  }
  return 0;
}

int Network::solveStep(double h, double t) {
  bool relinearised = false;
  for (int solveCount = 1;; ++solveCount) {
    m_lastStepSolves = solveCount;
    assemble(h, t);
    if (const int result = solve(); result != 0) return result;
    bool changed = false;
    for (ElementModel* model : m_models) changed = model->checkState(m_voltages) || changed;
    // Varistors are relinearised around the fresh solution once per step.
    if (!m_varistors.empty() && !relinearised) {
      for (ElementModel* varistor : m_varistors) varistor->commitStep(m_voltages, h, t);
      relinearised = true;
      changed = true;
    }
    if (!changed || solveCount >= 6) return 0;
  }
}

}  // namespace wolterix::engine
