#include "model/schematic.h"

#include <algorithm>
#include <cassert>

#include "model/placement.h"

namespace wolterix::model {

bool Schematic::addObject(int kindNumber, GridPoint first, GridPoint second, bool checkOnly) {
  PlacementIndex* const index = m_placementIndex;
  if (kindNumber == kWireKind) {
    if (!(index ? index->canPlaceWire(first, second) : canPlaceWire(*this, first, second)))
      return false;
    if (checkOnly) return true;
    auto wire = std::make_unique<Linia>(first, second);
    wire->occupy(m_occupancy, +1);
    if (index) index->add(*wire);
    m_lastCreated = wire.get();
    m_wires.push_back(std::move(wire));
    return true;
  }
  if (kindNumber == kJunctionKind) {
    if (!(index ? index->canPlaceJunction(first) : canPlaceJunction(*this, first))) return false;
    if (checkOnly) return true;
    auto junction = std::make_unique<Wenzeu>(first);
    junction->occupy(m_occupancy, +1);
    if (index) index->add(*junction);
    m_lastCreated = junction.get();
    m_junctions.push_back(std::move(junction));
    return true;
  }
  const auto kind = kindFromNumber(kindNumber);
  if (!kind) return false;
  if (!(index ? index->canPlaceElement(*kind, first) : canPlaceElement(*this, *kind, first)))
    return false;
  if (checkOnly) return true;
  auto element = createElement(*kind, first);
  element->setName(defaultName(*kind));
  element->occupy(m_occupancy, +1);
  if (index) index->add(*element);
  m_lastCreated = element.get();
  m_elements.push_back(std::move(element));
  return true;
}

std::string Schematic::defaultName(ElementKind kind) const {
  // The lowest n >= 1 for which prefix + n (written without leading zeros) is free, found
  // in one pass over the names.
  const std::string prefix(kindInfo(kind).prefix);
  std::vector<bool> taken(m_elements.size() + 2, false);
  for (const auto& element : m_elements) {
    const std::string& name = element->name();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string_view digits = std::string_view(name).substr(prefix.size());
    if (digits.front() == '0' || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    const auto n = static_cast<std::size_t>(std::stoul(std::string(digits)));
    if (n < taken.size()) taken[n] = true;
  }
  std::size_t n = 1;
  while (taken[n]) ++n;
  return prefix + std::to_string(n);
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
  assert(!m_placementIndex);
  if (!object) return;
  if (m_lastCreated == object) m_lastCreated = nullptr;
  if (const auto* element = dynamic_cast<const Element*>(object); element && onElementDestroyed)
    onElementDestroyed(*element);
  eraseFrom(m_wires, object, m_occupancy) || eraseFrom(m_junctions, object, m_occupancy) ||
      eraseFrom(m_elements, object, m_occupancy);
}

void Schematic::clear() {
  assert(!m_placementIndex);
  if (onElementDestroyed)
    for (const auto& element : m_elements) onElementDestroyed(*element);
  m_elements.clear();
  m_wires.clear();
  m_junctions.clear();
  m_occupancy.clear();
  m_lastCreated = nullptr;
}

void Schematic::replaceWith(Schematic&& other) {
  clear();
  m_elements = std::move(other.m_elements);
  m_wires = std::move(other.m_wires);
  m_junctions = std::move(other.m_junctions);
  m_occupancy = other.m_occupancy;
  m_lastCreated = other.m_lastCreated;
  m_transferMode = other.m_transferMode;
  other.clear();
}

}  // namespace wolterix::model
