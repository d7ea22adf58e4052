#include "engine/frequency_sweep.h"

#include <algorithm>
#include <cmath>

#include "model/waveform_names.h"

namespace wolterix::engine {

bool solveNodalComplex(std::span<Complex> a, int n) {
  const std::size_t w = static_cast<std::size_t>(n) + 1;
  const auto at = [&](int row, int col) -> Complex& {
    return a[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(col)];
  };
  // Rows are scaled by their largest entry so that the pivot chosen is the best one relative
  // to its own row. Whether the network is singular is decided from its graph beforehand
  // (see reachesTheReference); here only a pivot that is exactly zero refuses.
  std::vector<double> scale(w, 0.0);
  for (int i = 1; i < n; ++i)
    for (int c = 1; c < n; ++c) scale[i] = std::max(scale[i], std::abs(at(i, c)));

  for (int j = 1; j < n; ++j) {
    int best = j;
    double bestRatio = 0.0;
    for (int i = j; i < n; ++i) {
      if (scale[i] == 0.0) continue;
      const double ratio = std::abs(at(i, j)) / scale[i];
      if (ratio > bestRatio) {
        bestRatio = ratio;
        best = i;
      }
    }
    if (!(bestRatio > 0.0)) return false;
    if (best != j) {
      for (int c = 1; c <= n; ++c) std::swap(at(j, c), at(best, c));
      std::swap(scale[j], scale[best]);
    }
    const Complex pivot = at(j, j);
    for (int i = 1; i < n; ++i) {
      if (i == j || at(i, j) == Complex(0.0, 0.0)) continue;
      const Complex f = at(i, j) / pivot;
      for (int c = j; c <= n; ++c) at(i, c) -= f * at(j, c);
    }
  }
  for (int j = 1; j < n; ++j) at(j, n) /= at(j, j);
  return true;
}

bool reachesTheReference(int n, std::span<const std::pair<int, int>> links) {
  if (n <= 1) return true;
  std::vector<std::vector<int>> next(static_cast<std::size_t>(n));
  for (const auto& [a, b] : links) {
    if (a == b || a < 0 || b < 0 || a >= n || b >= n) continue;
    next[static_cast<std::size_t>(a)].push_back(b);
    next[static_cast<std::size_t>(b)].push_back(a);
  }
  std::vector<bool> reached(static_cast<std::size_t>(n), false);
  std::vector<int> queue{0};
  reached[0] = true;
  for (std::size_t head = 0; head < queue.size(); ++head)
    for (int m : next[static_cast<std::size_t>(queue[head])])
      if (!reached[static_cast<std::size_t>(m)]) {
        reached[static_cast<std::size_t>(m)] = true;
        queue.push_back(m);
      }
  return queue.size() == static_cast<std::size_t>(n);
}

void FrequencyStore::allocate(int nodes, int columns) {
  m_nodeRows = nodes;
  m_columns = columns;
  m_values.assign(static_cast<std::size_t>(nodes) * static_cast<std::size_t>(columns), Complex{});
  pointCount = 0;
  frequencies.clear();
}

std::span<Complex> FrequencyStore::nodeRow(int node) {
  return {m_values.data() + static_cast<std::size_t>(node) * static_cast<std::size_t>(m_columns),
          static_cast<std::size_t>(m_columns)};
}

std::span<const Complex> FrequencyStore::nodeRow(int node) const {
  return {m_values.data() + static_cast<std::size_t>(node) * static_cast<std::size_t>(m_columns),
          static_cast<std::size_t>(m_columns)};
}

double FrequencyStore::frequency(int k) const {
  return k >= 0 && k < static_cast<int>(frequencies.size()) ? frequencies[k] : 0.0;
}

std::optional<std::vector<Complex>> FrequencyStore::trace(std::string_view name) const {
  const auto parts = model::splitWaveformName(name);
  if (!parts || (parts->first != 'K' && parts->first != 'U')) return std::nullopt;
  const auto element = std::find_if(elements.begin(), elements.end(), [&](const StoredElement& e) {
    return e.name == parts->second;
  });
  if (element == elements.end()) return std::nullopt;
  const int a = element->nodes[0];
  const int b = element->nodes[1];
  if (a < 0 || b < 0 || a >= m_nodeRows || b >= m_nodeRows) return std::nullopt;
  const double sign = element->voltageDirection ? 1.0 : -1.0;
  const int count = std::min(pointCount, m_columns);
  std::vector<Complex> samples(static_cast<std::size_t>(std::max(count, 0)));
  for (int k = 0; k < count; ++k) samples[k] = sign * (nodeRow(a)[k] - nodeRow(b)[k]);
  return samples;
}

}  // namespace wolterix::engine
