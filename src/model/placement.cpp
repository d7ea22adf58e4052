#include "model/placement.h"

#include <cstdlib>

#include "model/schematic.h"

namespace wolterix::model {
namespace {

constexpr std::size_t kPoints = kGridSize * kGridSize;
constexpr int kBordered = kGridSize + 2;

std::size_t pointIndex(GridPoint p) {
  return static_cast<std::size_t>(p.x) * kGridSize + static_cast<std::size_t>(p.y);
}

// One of the nine step directions (the middle one unused).
std::size_t directionIndex(int sx, int sy) {
  return static_cast<std::size_t>((sx + 1) * 3 + sy + 1);
}

int sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

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

namespace wolterix::model {

PlacementIndex::PlacementIndex(const Schematic& schematic)
    : m_schematic(schematic),
      m_reach(kPoints * 9, 0),
      m_centres(static_cast<std::size_t>(kBordered * kBordered), 0),
      m_wireBlocks(kPoints, 0),
      m_junctions(kPoints, 0) {
  for (const auto& element : schematic.elements()) add(*element);
  for (const auto& wire : schematic.wires()) add(*wire);
  for (const auto& junction : schematic.junctions()) add(*junction);
}

void PlacementIndex::add(const Element& element) {
  const GridPoint p = element.position();
  if (p.x >= -1 && p.x <= kGridSize && p.y >= -1 && p.y <= kGridSize)
    ++m_centres[static_cast<std::size_t>((p.x + 1) * kBordered + p.y + 1)];
  if (onGrid(p)) ++m_wireBlocks[pointIndex(p)];
  if (isWindingKind(element.kind()))
    for (GridPoint n : kWindingNeighbours)
      if (onGrid(p + n)) ++m_wireBlocks[pointIndex(p + n)];
}

void PlacementIndex::add(const Linia& wire) {
  const GridPoint a = wire.start();
  const GridPoint b = wire.end();
  // A wire that is not aligned, or has no length, covers no two points (see Linia::covers).
  if (a == b || !isGridAligned(a, b)) return;
  const int sx = sign(b.x - a.x);
  const int sy = sign(b.y - a.y);
  const int length = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  GridPoint p = a;
  for (int step = 0; step <= length; ++step, p = p + GridPoint{sx, sy}) {
    if (!onGrid(p)) continue;
    std::uint8_t& forward = m_reach[pointIndex(p) * 9 + directionIndex(sx, sy)];
    std::uint8_t& backward = m_reach[pointIndex(p) * 9 + directionIndex(-sx, -sy)];
    // Beyond the grid's span the exact reach no longer matters.
    forward = static_cast<std::uint8_t>(std::max<int>(forward, std::min(length - step, 255)));
    backward = static_cast<std::uint8_t>(std::max<int>(backward, std::min(step, 255)));
  }
}

void PlacementIndex::add(const Wenzeu& junction) {
  if (onGrid(junction.position())) ++m_junctions[pointIndex(junction.position())];
}

bool PlacementIndex::canPlaceElement(ElementKind kind, GridPoint r) const {
  if (!onGrid(r)) return false;
  const OccupancyMap& occupancy = m_schematic.occupancy();
  if (occupancy.at(r) >= 1) return false;
  for (int x = r.x - 1; x <= r.x + 1; ++x)
    for (int y = r.y - 1; y <= r.y + 1; ++y)
      if (m_centres[static_cast<std::size_t>((x + 1) * kBordered + y + 1)] != 0) return false;
  if (isWindingKind(kind)) {
    if (r.x < 1 || r.x > 99 || r.y < 1 || r.y > 99) return false;
    for (GridPoint n : kWindingNeighbours)
      if (occupancy.at(r + n) >= 1) return false;
  }
  return true;
}

bool PlacementIndex::canPlaceJunction(GridPoint r) const {
  if (!onGrid(r)) return false;
  return m_centres[static_cast<std::size_t>((r.x + 1) * kBordered + r.y + 1)] == 0 &&
         m_junctions[pointIndex(r)] == 0;
}

bool PlacementIndex::canPlaceWire(GridPoint a, GridPoint b) const {
  if (!onGrid(a) || !onGrid(b) || a == b || !isGridAligned(a, b)) return false;
  const int sx = sign(b.x - a.x);
  const int sy = sign(b.y - a.y);
  const int length = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  if (m_reach[pointIndex(a) * 9 + directionIndex(sx, sy)] >= length) return false;
  bool blocked = false;
  walkSegment(a, b, [&](GridPoint p) {
    blocked = m_wireBlocks[pointIndex(p)] != 0;
    return !blocked;
  });
  return !blocked;
}

}  // namespace wolterix::model
