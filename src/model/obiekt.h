#pragma once
/// Objects on the grid: the common base, the wire and the junction.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/grid.h"

namespace wolterix::model {

using PointPair = std::pair<GridPoint, GridPoint>;

/// Base of everything drawn on the grid: wires, junctions and elements.
class Obiekt {
 public:
  virtual ~Obiekt() = default;
  Obiekt(const Obiekt&) = delete;
  Obiekt& operator=(const Obiekt&) = delete;

  /// Numeric kind: 0 wire, 254 junction, otherwise the element's kind.
  std::uint8_t kindNumber() const { return m_kindNumber; }

  /// Grid points the object covers in the occupancy map.
  virtual std::vector<GridPoint> coveredPoints() const = 0;
  /// Adds delta to the occupancy counters of the covered points.
  void occupy(OccupancyMap& map, int delta) const;

  /// Reference point: a junction's point, a wire's start, an element's centre.
  virtual GridPoint position() const = 0;
  /// 1, 3, 5 or 7 for elements; wires and junctions report 3.
  virtual int orientation() const { return 3; }
  /// With name = true the name, otherwise the kind code ("%l" for a wire, "%w" for a junction).
  virtual std::string nameOrCode(bool name) const = 0;
  /// Wire: its two ends; element: its first winding, path or terminal pair.
  virtual PointPair firstPair() const = 0;
  /// Moves the reference point to p, keeping the occupancy map up to date.
  void moveTo(OccupancyMap& map, GridPoint p);

  bool selected = true;
  bool drawn = true;
  bool showVoltage = false;
  bool showCurrent = false;
  bool showName = false;
  bool voltageDirection = true;
  bool terminalsSwapped = false;

 protected:
  explicit Obiekt(std::uint8_t kindNumber) : m_kindNumber(kindNumber) {}
  /// Sets the reference point without touching the occupancy map.
  virtual void setPosition(GridPoint p) = 0;

 private:
  std::uint8_t m_kindNumber;
};

/// A wire: a straight run of grid points from its start to its end.
class Linia final : public Obiekt {
 public:
  Linia(GridPoint start, GridPoint end);

  GridPoint start() const { return m_start; }
  GridPoint end() const { return m_end; }
  /// Sets both end points (callers keep the occupancy map in step).
  void setSegment(GridPoint start, GridPoint end);
  /// True when p is one of the grid points the wire covers (an end or an inner point).
  bool covers(GridPoint p) const { return segmentCovers(m_start, m_end, p); }

  /// Node number the connectivity pass gave the wire, -1 before it ran.
  int node = -1;

  std::vector<GridPoint> coveredPoints() const override;
  GridPoint position() const override { return m_start; }
  std::string nameOrCode(bool) const override { return "%l"; }
  PointPair firstPair() const override { return {m_start, m_end}; }

 protected:
  void setPosition(GridPoint p) override;

 private:
  GridPoint m_start;
  GridPoint m_end;
};

/// A junction: joins crossing wires at its point.
class Wenzeu final : public Obiekt {
 public:
  explicit Wenzeu(GridPoint point);

  std::vector<GridPoint> coveredPoints() const override { return {m_point}; }
  GridPoint position() const override { return m_point; }
  std::string nameOrCode(bool) const override { return "%w"; }
  PointPair firstPair() const override { return {m_point, m_point}; }

 protected:
  void setPosition(GridPoint p) override { m_point = p; }

 private:
  GridPoint m_point;
};

}  // namespace wolterix::model
