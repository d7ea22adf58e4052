#include "model/obiekt.h"

#include "model/element_catalogue.h"

namespace wolterix::model {

bool segmentCovers(GridPoint a, GridPoint b, GridPoint p) {
  if (!isGridAligned(a, b)) return false;
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const int px = p.x - a.x;
  const int py = p.y - a.y;
  // p must lie on the line through a and b ...
  if (static_cast<long long>(dx) * py != static_cast<long long>(dy) * px) return false;
  // ... and between the two ends.
  const bool inX = dx >= 0 ? (px >= 0 && px <= dx) : (px <= 0 && px >= dx);
  const bool inY = dy >= 0 ? (py >= 0 && py <= dy) : (py <= 0 && py >= dy);
  return inX && inY;
}

void Obiekt::occupy(OccupancyMap& map, int delta) const {
  for (GridPoint p : coveredPoints()) map.add(p, delta);
}

void Obiekt::moveTo(OccupancyMap& map, GridPoint p) {
  occupy(map, -1);
  setPosition(p);
  occupy(map, +1);
}

Linia::Linia(GridPoint start, GridPoint end) : Obiekt(kWireKind), m_start(start), m_end(end) {}

void Linia::setSegment(GridPoint start, GridPoint end) {
  m_start = start;
  m_end = end;
}

std::vector<GridPoint> Linia::coveredPoints() const {
  std::vector<GridPoint> points;
  walkSegment(m_start, m_end, [&](GridPoint p) {
    points.push_back(p);
    return true;
  });
  return points;
}

void Linia::setPosition(GridPoint p) {
  const GridPoint shift = p - m_start;
  m_start = p;
  m_end = m_end + shift;
}

Wenzeu::Wenzeu(GridPoint point) : Obiekt(kJunctionKind), m_point(point) {}

}  // namespace wolterix::model
