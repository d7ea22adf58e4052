#pragma once
/// Grid points and the occupancy map of the schematic canvas.

#include <algorithm>
#include <array>
#include <cstdlib>

namespace wolterix::model {

/// Number of grid points along each side (columns and rows 0..100).
inline constexpr int kGridSize = 101;

/// An integer grid point (column, row); y grows downward.
struct GridPoint {
  int x = 0;
  int y = 0;

  friend constexpr bool operator==(GridPoint, GridPoint) = default;
  friend constexpr GridPoint operator+(GridPoint a, GridPoint b) { return {a.x + b.x, a.y + b.y}; }
  friend constexpr GridPoint operator-(GridPoint a, GridPoint b) { return {a.x - b.x, a.y - b.y}; }
};

/// True when the point lies on the 101 x 101 grid.
constexpr bool onGrid(GridPoint p) {
  return p.x >= 0 && p.x < kGridSize && p.y >= 0 && p.y < kGridSize;
}

/// Counts how many objects cover each grid point. Points outside the grid are ignored.
class OccupancyMap {
 public:
  void add(GridPoint p, int delta) {
    if (onGrid(p)) m_cells[index(p)] += delta;
  }
  /// Counter at p; 0 for points outside the grid.
  int at(GridPoint p) const { return onGrid(p) ? m_cells[index(p)] : 0; }
  void clear() { m_cells.fill(0); }

 private:
  static constexpr std::size_t index(GridPoint p) {
    return static_cast<std::size_t>(p.x) * kGridSize + static_cast<std::size_t>(p.y);
  }
  std::array<int, kGridSize * kGridSize> m_cells{};
};

/// Walks the straight run from a to b one grid step at a time (inclusive), stepping by the
/// sign of the difference in x and in y; visit returns false to stop early. The walk is
/// bounded by the longer difference, so a segment that is not grid-aligned cannot loop.
template <typename Visit>
void walkSegment(GridPoint a, GridPoint b, Visit&& visit) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const int sx = (dx > 0) - (dx < 0);
  const int sy = (dy > 0) - (dy < 0);
  const int steps = std::max(std::abs(dx), std::abs(dy));
  GridPoint p = a;
  for (int i = 0; i <= steps; ++i) {
    if (!visit(p)) return;
    p.x += sx;
    p.y += sy;
  }
}

/// True for a segment that is horizontal, vertical or diagonal at 45 degrees.
constexpr bool isGridAligned(GridPoint a, GridPoint b) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  return dx == 0 || dy == 0 || (dx < 0 ? -dx : dx) == (dy < 0 ? -dy : dy);
}

/// True when p is one of the points covered by the aligned segment a-b.
bool segmentCovers(GridPoint a, GridPoint b, GridPoint p);

}  // namespace wolterix::model
