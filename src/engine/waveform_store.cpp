#include "engine/waveform_store.h"

#include <algorithm>

#include "model/waveform_names.h"

namespace wolterix::engine {

bool WaveformStore::allocate(int nodes, int branches, int motors, int columns,
                             std::span<const std::string> onlyFor, std::size_t limitBytes) {
  m_nodeRows = nodes;
  m_branchRows = branches;
  m_motorRows = motors;
  m_columns = columns;
  sampleCount = 0;
  const bool everything = onlyFor.empty();
  m_nodeSlots.assign(static_cast<std::size_t>(std::max(nodes, 0)), everything ? 0 : -1);
  m_branchSlots.assign(static_cast<std::size_t>(std::max(branches, 0)), everything ? 0 : -1);
  m_motorSlots.assign(static_cast<std::size_t>(std::max(motors, 0)), everything ? 0 : -1);
  if (!everything) {
    const auto keep = [](std::vector<int>& slots, int index) {
      if (index >= 0 && index < static_cast<int>(slots.size()))
        slots[static_cast<std::size_t>(index)] = 0;
    };
    for (const std::string& name : onlyFor) {
      if (const auto source = traceSource(name)) {
        keep(m_nodeSlots, source->a);
        keep(m_nodeSlots, source->b);
        keep(m_branchSlots, source->branch);
        keep(m_motorSlots, source->motor);
      }
    }
  }
  // Kept rows lie in the order node, branch, motor rows, each group in index order.
  int stored = 0;
  for (std::vector<int>* slots : {&m_nodeSlots, &m_branchSlots, &m_motorSlots})
    for (int& slot : *slots) slot = slot < 0 ? -1 : stored++;

  const std::size_t count =
      static_cast<std::size_t>(stored) * static_cast<std::size_t>(std::max(columns, 0));
  m_requiredBytes = count * sizeof(double);
  if (limitBytes > 0 && m_requiredBytes > limitBytes) {
    m_values.clear();
    m_values.shrink_to_fit();
    for (std::vector<int>* slots : {&m_nodeSlots, &m_branchSlots, &m_motorSlots})
      std::fill(slots->begin(), slots->end(), -1);
    return false;
  }
  m_values.assign(count, 0.0);
  return true;
}

std::span<double> WaveformStore::row(const std::vector<int>& slots, int index) {
  if (index < 0 || index >= static_cast<int>(slots.size()) ||
      slots[static_cast<std::size_t>(index)] < 0)
    return {};
  return {m_values.data() + static_cast<std::size_t>(slots[static_cast<std::size_t>(index)]) *
                                static_cast<std::size_t>(m_columns),
          static_cast<std::size_t>(m_columns)};
}

std::span<const double> WaveformStore::row(const std::vector<int>& slots, int index) const {
  return const_cast<WaveformStore*>(this)->row(slots, index);
}

std::optional<WaveformStore::TraceSource> WaveformStore::traceSource(std::string_view name) const {
  const auto parts = model::splitWaveformName(name);
  if (!parts) return std::nullopt;
  const StoredElement* element = nullptr;
  for (const StoredElement& e : elements)
    if (e.name == parts->second) {
      element = &e;
      break;
    }
  if (!element) return std::nullopt;

  const bool wattmeter = element->kind == model::ElementKind::mmW;
  const int a = element->nodes[wattmeter ? 2 : 0];
  const int b = element->nodes[wattmeter ? 3 : 1];
  TraceSource source;
  source.quantity = parts->first;
  source.voltageSign = element->voltageDirection ? 1.0 : -1.0;
  source.currentSign = element->currentDirection ? 1.0 : -1.0;
  switch (parts->first) {
    case 'U':
    case 'K':
      source.a = a;
      source.b = b;
      break;
    case 'I': source.branch = element->firstBranch; break;
    // The element's voltage from terminal 0 to 1 times its current in the same direction:
    // positive while the element takes power. A wattmeter multiplies its two paths.
    case 'P':
      source.a = a;
      source.b = b;
      source.branch = element->firstBranch;
      break;
    case 'n': source.motor = element->motor; break;
    default: return std::nullopt;
  }
  return source;
}

std::optional<std::vector<double>> WaveformStore::trace(std::string_view name) const {
  const auto source = traceSource(name);
  if (!source) return std::nullopt;
  const int count = std::min(sampleCount, m_columns);
  const auto kept = [&](std::span<const double> r) { return !r.empty(); };
  const auto a = nodeRow(source->a);
  const auto b = nodeRow(source->b);
  const auto branch = branchRow(source->branch);
  const auto motor = motorRow(source->motor);
  std::vector<double> samples(static_cast<std::size_t>(std::max(count, 0)));
  switch (source->quantity) {
    case 'U':
    case 'K':
      if (!kept(a) || !kept(b)) return std::nullopt;
      for (int k = 0; k < count; ++k) samples[k] = source->voltageSign * (a[k] - b[k]);
      return samples;
    case 'I':
      if (!kept(branch)) return std::nullopt;
      for (int k = 0; k < count; ++k) samples[k] = source->currentSign * branch[k];
      return samples;
    case 'P':
      if (!kept(a) || !kept(b) || !kept(branch)) return std::nullopt;
      for (int k = 0; k < count; ++k) samples[k] = (a[k] - b[k]) * branch[k];
      return samples;
    case 'n':
      if (!kept(motor)) return std::nullopt;
      for (int k = 0; k < count; ++k) samples[k] = motor[k];
      return samples;
    default: return std::nullopt;
  }
}

std::optional<std::pair<std::vector<double>, std::vector<double>>> WaveformStore::powerFactors(
    std::string_view elementName) const {
  const auto source = traceSource("P(" + std::string(elementName) + ")");
  if (!source) return std::nullopt;
  const auto a = nodeRow(source->a);
  const auto b = nodeRow(source->b);
  const auto branch = branchRow(source->branch);
  if (a.empty() || b.empty() || branch.empty()) return std::nullopt;
  const int count = std::max(std::min(sampleCount, m_columns), 0);
  std::pair<std::vector<double>, std::vector<double>> factors;
  factors.first.resize(static_cast<std::size_t>(count));
  factors.second.resize(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    factors.first[k] = a[k] - b[k];
    factors.second[k] = branch[k];
  }
  return factors;
}

}  // namespace wolterix::engine
