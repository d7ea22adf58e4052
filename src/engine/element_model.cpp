#include "engine/element_model.h"

#include "model/element.h"

namespace wolterix::engine {
namespace {

using SC = SubBranchCode;
constexpr BranchShape kSingle[] = {{SC::Single, 0, 1}};
constexpr BranchShape kBjt[] = {{SC::BjtCollector, 0, model::kInternalNodeTerminal},
                                {SC::BjtEmitter, model::kInternalNodeTerminal, 1},
                                {SC::BjtBase, 2, model::kInternalNodeTerminal}};
constexpr BranchShape kWindings[] = {{SC::FirstWinding, 0, 1}, {SC::SecondWinding, 2, 3}};
constexpr BranchShape kWattmeter[] = {{SC::CurrentPath, 0, 1}, {SC::VoltagePath, 2, 3}};

int nodeSlot(int terminal) { return terminal == model::kInternalNodeTerminal ? 4 : terminal; }

}  // namespace

ElementModel::ElementModel(const model::Element& element)
    : m_voltageDirection(element.voltageDirection),
      m_currentDirection(element.currentDirection()),
      m_swapped(element.terminalsSwapped),
      m_kind(element.kind()),
      m_name(element.name()) {
  for (std::size_t i = 0; i < element.parameterCount(); ++i) {
    m_parameters.push_back(element.parameter(i));
    m_given.push_back(element.isGiven(i));
    if (i < m_values.size()) m_values[i] = element.parameter(i).value();
  }
}

std::span<const BranchShape> ElementModel::branches() const {
  using L = model::BranchLayout;
  switch (model::kindInfo(m_kind).branches) {
    case L::Single: return kSingle;
    case L::Transistor: return kBjt;
    case L::TwoWindings: return kWindings;
    case L::TwoPaths: return kWattmeter;
  }
  model::unknownKind(m_kind, "ElementModel::branches");
}

void ElementModel::setNode(int terminal, int node) {
  m_nodes[static_cast<std::size_t>(nodeSlot(terminal))] = node;
}

bool ElementModel::haveValues(std::size_t first, std::size_t last) const {
  for (std::size_t i = first; i < last; ++i)
    if (!m_parameters[i].hasValue()) return false;
  return true;
}

bool ElementModel::hasParameters() const {
  // Optional values (firing angles, switching times) are stored only when valid.
  const auto rows = model::kindInfo(m_kind).parameters;
  for (std::size_t i = 0; i < m_parameters.size(); ++i)
    if (!rows[i].optional && !m_parameters[i].hasValue()) return false;
  return true;
}

bool ElementModel::hasShortedTerminals() const {
  for (const BranchShape& b : branches()) {
    if (b.fromTerminal == model::kInternalNodeTerminal ||
        b.toTerminal == model::kInternalNodeTerminal)
      continue;
    if (node(b.fromTerminal) == node(b.toTerminal)) return true;
  }
  // The transistor's collector and emitter meet only through the internal node.
  if (m_kind == model::ElementKind::BJT && node(0) == node(1)) return true;
  return false;
}

}  // namespace wolterix::engine
