#pragma once
/// The schematic: elements, wires and junctions in creation order, and the occupancy map.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/element.h"
#include "model/obiekt.h"

namespace wolterix::model {

class PlacementIndex;

class Schematic {
 public:
  Schematic() = default;
  Schematic(const Schematic&) = delete;
  Schematic& operator=(const Schematic&) = delete;

  const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }
  const std::vector<std::unique_ptr<Linia>>& wires() const { return m_wires; }
  const std::vector<std::unique_ptr<Wenzeu>>& junctions() const { return m_junctions; }

  /// True for a transfer-function workspace, false for time simulation.
  bool transferMode() const { return m_transferMode; }
  void setTransferMode(bool transfer) { m_transferMode = transfer; }

  const OccupancyMap& occupancy() const { return m_occupancy; }
  OccupancyMap& occupancy() { return m_occupancy; }

  /// The object most recently created; null once it has been destroyed.
  Obiekt* lastCreated() const { return m_lastCreated; }
  int elementCount() const { return static_cast<int>(m_elements.size()); }

  /// Creates an object of a numeric kind (0 wire, 254 junction, else an element kind).
  /// A wire runs from first to second; other objects stand at first. With checkOnly, only
  /// answers whether the placement rules allow it.
  bool addObject(int kindNumber, GridPoint first, GridPoint second, bool checkOnly);

  /// While set, addObject checks placement through the index and records what it creates
  /// there; the caller keeps the index alive and unsets it before anything else changes.
  void setPlacementIndex(PlacementIndex* index) { m_placementIndex = index; }

  /// Default name for a new element: the kind's prefix and the lowest free number.
  std::string defaultName(ElementKind kind) const;
  /// The first element with exactly this name, or null.
  Element* findElement(std::string_view name) const;
  /// True when the schematic holds an input voltage (at most one is allowed).
  bool hasInputVoltage() const;

  /// Number of circuit nodes handed out by the last connectivity pass.
  int nodeCount() const { return m_nodeCount; }
  void setNodeCount(int count) { m_nodeCount = count; }

  /// Removes and destroys one object of any list.
  void destroy(const Obiekt* object);
  /// Removes every object.
  void clear();
  /// Takes over the objects, the mode and the occupancy of other (which is left empty); the
  /// objects held so far are destroyed as by clear().
  void replaceWith(Schematic&& other);

  /// Told of every element about to be destroyed by destroy() or clear(), so that whatever
  /// refers to it (a meter) can let go.
  std::function<void(const Element&)> onElementDestroyed;

 private:
  std::vector<std::unique_ptr<Element>> m_elements;
  std::vector<std::unique_ptr<Linia>> m_wires;
  std::vector<std::unique_ptr<Wenzeu>> m_junctions;
  OccupancyMap m_occupancy;
  Obiekt* m_lastCreated = nullptr;
  PlacementIndex* m_placementIndex = nullptr;
  bool m_transferMode = false;
  int m_nodeCount = 0;
};

}  // namespace wolterix::model
