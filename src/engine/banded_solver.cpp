#include "engine/banded_solver.h"

#include <algorithm>
#include <numeric>

namespace wolterix::engine {

std::vector<int> reverseCuthillMcKee(int count, std::span<const std::pair<int, int>> edges) {
  std::vector<std::vector<int>> neighbours(static_cast<std::size_t>(count));
  for (const auto& [a, b] : edges) {
    if (a == b) continue;
    neighbours[a].push_back(b);
    neighbours[b].push_back(a);
  }
  for (auto& list : neighbours) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
  }
  const auto degree = [&](int node) { return neighbours[node].size(); };

  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(count));
  std::vector<bool> placed(static_cast<std::size_t>(count), false);
  std::vector<int> byDegree(static_cast<std::size_t>(count));
  std::iota(byDegree.begin(), byDegree.end(), 0);
  std::stable_sort(byDegree.begin(), byDegree.end(),
                   [&](int a, int b) { return degree(a) < degree(b); });
  for (int start : byDegree) {
    if (placed[start]) continue;
    // Breadth-first from a node of least degree, neighbours by increasing degree.
    std::size_t head = order.size();
    order.push_back(start);
    placed[start] = true;
    while (head < order.size()) {
      const int node = order[head++];
      std::vector<int> next;
      for (int n : neighbours[node])
        if (!placed[n]) next.push_back(n);
      std::stable_sort(next.begin(), next.end(),
                       [&](int a, int b) { return degree(a) < degree(b); });
      for (int n : next) {
        placed[n] = true;
        order.push_back(n);
      }
    }
  }
  std::reverse(order.begin(), order.end());
  return order;
}

void BandMatrix::resize(int size, int halfBandwidth) {
  m_size = size;
  m_width = halfBandwidth;
  m_stride = static_cast<std::size_t>(2 * halfBandwidth + 1);
  m_values.assign(static_cast<std::size_t>(size) * m_stride, 0.0);
}

void BandMatrix::clear() { std::fill(m_values.begin(), m_values.end(), 0.0); }

bool BandMatrix::factor() {
  m_inversePivots.resize(static_cast<std::size_t>(m_size));
  for (int k = 0; k < m_size; ++k) {
    const double pivot = at(k, k);
    if (pivot == 0.0) return false;
    m_inversePivots[static_cast<std::size_t>(k)] = 1.0 / pivot;
    const int last = std::min(m_size - 1, k + m_width);
    for (int i = k + 1; i <= last; ++i) {
      double& lower = at(i, k);
      if (lower == 0.0) continue;
      lower /= pivot;
      const double l = lower;
      for (int j = k + 1; j <= last; ++j) at(i, j) -= l * at(k, j);
    }
  }
  return true;
}

void BandMatrix::solve(std::span<double> b) const {
  // Row i keeps column c at offset c - i + w: the diagonal at w.
  const double* values = m_values.data();
  const double* inverse = m_inversePivots.data();
  double* x = b.data();
  const int n = m_size;
  const int w = m_width;
  if (w == 1) {
    // A chain of nodes (ladders, series circuits): one neighbour on each side.
    for (int i = 1; i < n; ++i) x[i] -= values[i * m_stride] * x[i - 1];
    x[n - 1] *= inverse[n - 1];
    for (int i = n - 2; i >= 0; --i)
      x[i] = (x[i] - values[i * m_stride + 2] * x[i + 1]) * inverse[i];
    return;
  }
  for (int i = 0; i < n; ++i) {
    const double* row = values + static_cast<std::size_t>(i) * m_stride + w - i;
    double sum = x[i];
    for (int k = std::max(0, i - w); k < i; ++k) sum -= row[k] * x[k];
    x[i] = sum;
  }
  for (int i = n - 1; i >= 0; --i) {
    const double* row = values + static_cast<std::size_t>(i) * m_stride + w - i;
    double sum = x[i];
    const int last = std::min(n - 1, i + w);
    for (int j = i + 1; j <= last; ++j) sum -= row[j] * x[j];
    x[i] = sum * inverse[i];
  }
}

}  // namespace wolterix::engine
