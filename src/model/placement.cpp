#include "model/placement.h"

#include <cstdlib>

#include "model/schematic.h"

namespace wolterix::model {

GridPoint orthogonalEnd(GridPoint a, GridPoint b) {
  const int dx = std::abs(b.x - a.x);
  const int dy = std::abs(b.y - a.y);
  if (dy < dx) return {b.x, a.y};
  if (dx < dy) return {a.x, b.y};
  return b;
}

bool canPlaceElement(const Schematic& schematic, ElementKind kind, GridPoint r) {
  if (!onGrid(r)) return false;
  if (schematic.occupancy().at(r) >= 1) return false;
  for (const auto& element : schematic.elements()) {
    const GridPoint p = element->position();
    if (std::abs(p.x - r.x) <= 1 && std::abs(p.y - r.y) <= 1) return false;
  }
  if (isWindingKind(kind)) {
    if (r.x < 1 || r.x > 99 || r.y < 1 || r.y > 99) return false;
    for (GridPoint n : kWindingNeighbours)
      if (schematic.occupancy().at(r + n) >= 1) return false;
  }
  return true;
}

bool canPlaceJunction(const Schematic& schematic, GridPoint r) {
  if (!onGrid(r)) return false;
  for (const auto& element : schematic.elements())
    if (element->position() == r) return false;
  for (const auto& junction : schematic.junctions())
    if (junction->position() == r) return false;
  return true;
}

bool canPlaceWire(const Schematic& schematic, GridPoint a, GridPoint b) {
  if (!onGrid(a) || !onGrid(b) || a == b || !isGridAligned(a, b)) return false;
  for (const auto& wire : schematic.wires())
    if (wire->covers(a) && wire->covers(b)) return false;
  for (const auto& element : schematic.elements()) {
    if (segmentCovers(a, b, element->position())) return false;
    if (isWindingKind(element->kind())) {
      for (GridPoint n : kWindingNeighbours)
        if (segmentCovers(a, b, element->position() + n)) return false;
    }
  }
  return true;
}

}  // namespace wolterix::model
