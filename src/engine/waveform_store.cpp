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

std::optional<double> WaveformStore::valueAt(std::string_view name, int sample) const {
  const auto source = traceSource(name);
  if (!source || sample < 0 || sample >= std::min(sampleCount, m_columns)) return std::nullopt;
  const auto a = nodeRow(source->a);
  const auto b = nodeRow(source->b);
  const auto branch = branchRow(source->branch);
  const auto motor = motorRow(source->motor);
  const auto k = static_cast<std::size_t>(sample);
  switch (source->quantity) {
    case 'U':
    case 'K':
      if (a.empty() || b.empty()) return std::nullopt;
      return source->voltageSign * (a[k] - b[k]);
    case 'I':
      if (branch.empty()) return std::nullopt;
      return source->currentSign * branch[k];
    case 'P':
      if (a.empty() || b.empty() || branch.empty()) return std::nullopt;
      return (a[k] - b[k]) * branch[k];
    case 'n':
      if (motor.empty()) return std::nullopt;
      return motor[k];
    default: return std::nullopt;
  }
}

std::array<double, 4> WaveformStore::terminalCurrents(const StoredElement& element,
                                                      int sample) const {
  std::array<double, 4> into{};
  if (sample < 0 || sample >= std::min(sampleCount, m_columns)) return into;
  const auto current = [&](int offset) {
    const auto row = branchRow(element.firstBranch + offset);
    return row.empty() ? 0.0 : row[static_cast<std::size_t>(sample)];
  };
  using L = model::BranchLayout;
  switch (model::kindInfo(element.kind).branches) {
    case L::Single:
      into[0] = current(0);
      into[1] = -current(0);
      break;
    case L::Transistor:  // collector → internal, internal → emitter, base → internal
      into[0] = current(0);
      into[1] = -current(1);
      into[2] = current(2);
      break;
    case L::TwoWindings:
    case L::TwoPaths:
      into[0] = current(0);
      into[1] = -current(0);
      into[2] = current(1);
      into[3] = -current(1);
      break;
  }
  return into;
}

void WaveformStore::allocateStates(std::vector<int> elementIndices) {
  m_stateElements = std::move(elementIndices);
  m_states.assign(m_stateElements.size() * static_cast<std::size_t>(std::max(m_columns, 0)), 0);
}

std::span<std::uint8_t> WaveformStore::stateRow(int row) {
  if (row < 0 || row >= stateRows()) return {};
  return {m_states.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns),
          static_cast<std::size_t>(m_columns)};
}

std::span<const std::uint8_t> WaveformStore::stateRow(int row) const {
  return const_cast<WaveformStore*>(this)->stateRow(row);
}

int WaveformStore::stateRowOf(std::string_view elementName) const {
  for (int row = 0; row < stateRows(); ++row)
    if (stateElement(row).name == elementName) return row;
  return -1;
}

}  // namespace wolterix::engine
