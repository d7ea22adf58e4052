#pragma once
/// The rules that keep objects on the grid from overlapping.

#include <cstdint>
#include <vector>

#include "model/element_catalogue.h"
#include "model/grid.h"

namespace wolterix::model {

class Element;
class Linia;
class Schematic;
class Wenzeu;

/// End of a wire drawn from a towards b: horizontal or vertical along the longer
/// difference, b itself when both differences are equal (a 45-degree wire).
GridPoint orthogonalEnd(GridPoint a, GridPoint b);

/// Coupled coils and transformers: elements whose four centre neighbours stay free of wires.
inline bool isWindingKind(ElementKind kind) { return kindInfo(kind).hasWindings(); }

/// The four neighbours of a winding element's centre: the ends of its axis and the centres of
/// its windings, whichever way it is turned. Wires are kept off all four (not only off the
/// current axis ends), so that turning the element can never put a wire where a reloaded file
/// would refuse it.
inline constexpr GridPoint kWindingNeighbours[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

/// Whether an element of kind may stand with its centre at r.
bool canPlaceElement(const Schematic& schematic, ElementKind kind, GridPoint r);
/// Whether a junction may stand at r.
bool canPlaceJunction(const Schematic& schematic, GridPoint r);
/// Whether a wire may run from a to b.
bool canPlaceWire(const Schematic& schematic, GridPoint a, GridPoint b);

/// The same three rules answered from per-point tables, so that reading a file checks each
/// object in time proportional to its length rather than to the number of objects before it.
/// It describes the schematic as it stood when built plus what was added through it; moving
/// or destroying objects meanwhile makes it stale, so it only lives for one read.
class PlacementIndex {
 public:
  explicit PlacementIndex(const Schematic& schematic);

  bool canPlaceElement(ElementKind kind, GridPoint r) const;
  bool canPlaceJunction(GridPoint r) const;
  bool canPlaceWire(GridPoint a, GridPoint b) const;

  void add(const Element& element);
  void add(const Linia& wire);
  void add(const Wenzeu& junction);

 private:
  const Schematic& m_schematic;
  // Per grid point and step direction: how far the wires through the point reach that way.
  // A wire lies along a new one exactly when one of them reaches from its start to its end.
  std::vector<std::uint8_t> m_reach;
  // Element centres, with a one-point border so that a centre just off the grid still keeps
  // its neighbours free.
  std::vector<int> m_centres;
  // Element centres and winding neighbours, which wires must not cross.
  std::vector<int> m_wireBlocks;
  std::vector<int> m_junctions;
};

}  // namespace wolterix::model
