#include "engine/waveform_store.h"

#include "model/waveform_names.h"

namespace wolterix::engine {

void WaveformStore::allocate(int nodes, int branches, int motors, int columns) {
  m_nodeRows = nodes;
  m_branchRows = branches;
  m_motorRows = motors;
  m_columns = columns;
  m_values.assign(static_cast<std::size_t>(nodes + branches + motors) *
                      static_cast<std::size_t>(columns),
                  0.0);
  sampleCount = 0;
}

std::span<double> WaveformStore::row(int r) {
  return {m_values.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(m_columns),
          static_cast<std::size_t>(m_columns)};
}

std::span<const double> WaveformStore::row(int r) const {
  return {m_values.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(m_columns),
          static_cast<std::size_t>(m_columns)};
}

std::optional<std::vector<double>> WaveformStore::trace(std::string_view name) const {
  const auto parts = model::splitWaveformName(name);
  if (!parts) return std::nullopt;
  const StoredElement* element = nullptr;
  for (const StoredElement& e : elements)
    if (e.name == parts->second) {
      element = &e;
      break;
    }
  if (!element) return std::nullopt;

  using K = model::ElementKind;
  const bool wattmeter = element->kind == K::mmW;
  const auto validNode = [&](int n) { return n >= 0 && n < m_nodeRows; };
  const int a = element->nodes[wattmeter ? 2 : 0];
  const int b = element->nodes[wattmeter ? 3 : 1];
  const int branch = element->firstBranch;
  const bool hasBranch = branch >= 0 && branch < m_branchRows;
  const int count = std::min(sampleCount, m_columns);
  std::vector<double> samples(static_cast<std::size_t>(std::max(count, 0)));

  switch (parts->first) {
    case 'U':
    case 'K': {
      if (!validNode(a) || !validNode(b)) return std::nullopt;
      const double sign = element->voltageDirection ? 1.0 : -1.0;
      for (int k = 0; k < count; ++k) samples[k] = sign * (nodeRow(a)[k] - nodeRow(b)[k]);
      return samples;
    }
    case 'I': {
      if (!hasBranch) return std::nullopt;
      const double sign = element->currentDirection ? 1.0 : -1.0;
      for (int k = 0; k < count; ++k) samples[k] = sign * branchRow(branch)[k];
      return samples;
    }
    case 'P': {
      // The element's voltage from terminal 0 to 1 times its current in the same direction:
      // positive while the element takes power. A wattmeter multiplies its two paths.
      if (!validNode(a) || !validNode(b) || !hasBranch) return std::nullopt;
      for (int k = 0; k < count; ++k)
        samples[k] = (nodeRow(a)[k] - nodeRow(b)[k]) * branchRow(branch)[k];
      return samples;
    }
    case 'n': {
      if (element->motor < 0 || element->motor >= m_motorRows) return std::nullopt;
      for (int k = 0; k < count; ++k) samples[k] = motorRow(element->motor)[k];
      return samples;
    }
    default: return std::nullopt;
  }
}

}  // namespace wolterix::engine
