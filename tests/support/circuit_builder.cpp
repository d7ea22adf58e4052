#include "support/circuit_builder.h"

#include <stdexcept>

namespace wolterix::testing {

using namespace model;

Element& CircuitBuilder::element(ElementKind kind, int x, int y, int orientation) {
  if (!m_schematic.addObject(static_cast<int>(kind), {x, y}, {x, y}, false))
    throw std::runtime_error("element placement refused");
  auto& created = static_cast<Element&>(*m_schematic.lastCreated());
  if (orientation != 3) created.rotate(m_schematic.occupancy(), orientation - 3);
  return created;
}

Element& CircuitBuilder::element(ElementKind kind, int x, int y, int orientation,
                                 const std::string& fileForm) {
  Element& created = element(kind, x, y, orientation);
  created.parseParameters(nullptr, fileForm);
  return created;
}

Linia& CircuitBuilder::wire(int x1, int y1, int x2, int y2) {
  if (!m_schematic.addObject(kWireKind, {x1, y1}, {x2, y2}, false))
    throw std::runtime_error("wire placement refused");
  return static_cast<Linia&>(*m_schematic.lastCreated());
}

Wenzeu& CircuitBuilder::junction(int x, int y) {
  if (!m_schematic.addObject(kJunctionKind, {x, y}, {x, y}, false))
    throw std::runtime_error("junction placement refused");
  return static_cast<Wenzeu&>(*m_schematic.lastCreated());
}

}  // namespace wolterix::testing
