#include "model/schematic.h"

#include <algorithm>

#include "model/placement.h"

namespace wolterix::model {

bool Schematic::addObject(int kindNumber, GridPoint first, GridPoint second, bool checkOnly) {
  if (kindNumber == kWireKind) {
    if (!canPlaceWire(*this, first, second)) return false;
    if (checkOnly) return true;
    auto wire = std::make_unique<Linia>(first, second);
    wire->occupy(m_occupancy, +1);
    m_lastCreated = wire.get();
    m_wires.push_back(std::move(wire));
    return true;
  }
  if (kindNumber == kJunctionKind) {
    if (!canPlaceJunction(*this, first)) return false;
    if (checkOnly) return true;
    auto junction = std::make_unique<Wenzeu>(first);
    junction->occupy(m_occupancy, +1);
    m_lastCreated = junction.get();
    m_junctions.push_back(std::move(junction));
    return true;
  }
  const auto kind = kindFromNumber(kindNumber);
  if (!kind || !canPlaceElement(*this, *kind, first)) return false;
  if (checkOnly) return true;
  auto element = createElement(*kind, first);
  element->setName(defaultName(*kind));
  element->occupy(m_occupancy, +1);
  m_lastCreated = element.get();
  m_elements.push_back(std::move(element));
  return true;
}

std::string Schematic::defaultName(ElementKind kind) const {
  const std::string prefix(kindInfo(kind).prefix);
  for (int n = 1;; ++n) {
    std::string name = prefix + std::to_string(n);
    if (!findElement(name)) return name;
  }
}

Element* Schematic::findElement(std::string_view name) const {
  for (const auto& element : m_elements)
    if (element->name() == name) return element.get();
  return nullptr;
}

bool Schematic::hasInputVoltage() const {
  return std::any_of(m_elements.begin(), m_elements.end(),
                     [](const auto& e) { return e->kind() == ElementKind::nWe; });
}

namespace {
template <typename T>
bool eraseFrom(std::vector<std::unique_ptr<T>>& list, const Obiekt* object, OccupancyMap& map) {
  const auto it = std::find_if(list.begin(), list.end(),
                               [&](const auto& owned) { return owned.get() == object; });
  if (it == list.end()) return false;
  (*it)->occupy(map, -1);
  list.erase(it);
  return true;
}
}  // namespace

void Schematic::destroy(const Obiekt* object) {
  if (!object) return;
  if (m_lastCreated == object) m_lastCreated = nullptr;
  eraseFrom(m_wires, object, m_occupancy) || eraseFrom(m_junctions, object, m_occupancy) ||
      eraseFrom(m_elements, object, m_occupancy);
}

void Schematic::clear() {
  m_elements.clear();
  m_wires.clear();
  m_junctions.clear();
  m_occupancy.clear();
  m_lastCreated = nullptr;
}

}  // namespace wolterix::model
