#include <gtest/gtest.h>

#include <algorithm>

#include "model/element.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;

struct TerminalCase {
  int orientation;
  GridPoint t0, t1, label;
};

void PrintTo(const TerminalCase& c, std::ostream* os) { *os << "orientation " << c.orientation; }

class TwoTerminalGeometry : public ::testing::TestWithParam<TerminalCase> {};

TEST_P(TwoTerminalGeometry, TerminalsAndLabelFollowTheOrientation) {
  const auto& c = GetParam();
  Schematic s;
  auto& r = CircuitBuilder(s).element(ElementKind::Rez, 10, 10, c.orientation);
  EXPECT_EQ(r.orientation(), c.orientation);
  EXPECT_EQ(r.terminalPoint(0), c.t0);
  EXPECT_EQ(r.terminalPoint(1), c.t1);
  EXPECT_EQ(r.terminalPoint(5), c.t1);  // any other index is the second terminal
  EXPECT_EQ(r.labelPoint(), c.label);
  EXPECT_EQ(r.terminalPair(), (PointPair{c.t0, c.t1}));
  EXPECT_EQ(r.secondPair(), r.terminalPair());
  EXPECT_TRUE(r.hasTerminalAt(c.t0));
  EXPECT_TRUE(r.hasTerminalAt(c.t1));
  EXPECT_FALSE(r.hasTerminalAt({10, 10}));
  // The element covers its centre and both terminals, nothing else.
  for (GridPoint p : {GridPoint{10, 10}, c.t0, c.t1}) EXPECT_EQ(s.occupancy().at(p), 1);
  EXPECT_EQ(s.occupancy().at(c.label), 0);
}

INSTANTIATE_TEST_SUITE_P(Orientations, TwoTerminalGeometry,
                         ::testing::Values(TerminalCase{1, {10, 11}, {10, 9}, {11, 10}},
                                           TerminalCase{3, {9, 10}, {11, 10}, {10, 11}},
                                           TerminalCase{5, {10, 9}, {10, 11}, {9, 10}},
                                           TerminalCase{7, {11, 10}, {9, 10}, {10, 9}}));

TEST(Rotation, WrapsAndKeepsTheOccupancyInStep) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(ElementKind::Rez, 10, 10, 7);
  r.rotate(s.occupancy(), +2);
  EXPECT_EQ(r.orientation(), 1);
  r.rotate(s.occupancy(), -2);
  EXPECT_EQ(r.orientation(), 7);
  r.rotate(s.occupancy(), -2);
  r.rotate(s.occupancy(), -2);
  r.rotate(s.occupancy(), -2);
  r.rotate(s.occupancy(), -2);
  EXPECT_EQ(r.orientation(), 7);
  EXPECT_EQ(r.position(), (GridPoint{10, 10}));
  // Horizontal again: the vertical neighbours are free, the horizontal ones taken once.
  EXPECT_EQ(s.occupancy().at({10, 9}), 0);
  EXPECT_EQ(s.occupancy().at({10, 11}), 0);
  EXPECT_EQ(s.occupancy().at({9, 10}), 1);
  EXPECT_EQ(s.occupancy().at({11, 10}), 1);
  EXPECT_EQ(wrapOrientation(3 + 4), 7);
  EXPECT_EQ(wrapOrientation(7 + 4), 3);
  EXPECT_EQ(wrapOrientation(1 - 2), 7);
}

TEST(Rotation, MoveCarriesTheTerminals) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(ElementKind::Rez, 10, 10, 1);
  r.moveTo(s.occupancy(), {20, 30});
  EXPECT_EQ(r.terminalPoint(0), (GridPoint{20, 31}));
  EXPECT_EQ(r.labelPoint(), (GridPoint{21, 30}));
  EXPECT_EQ(s.occupancy().at({10, 11}), 0);
  EXPECT_EQ(s.occupancy().at({20, 31}), 1);
}

TEST(BipolarTransistor, BaseBesideTheCentreAndSwapExchangesCollectorAndEmitter) {
  Schematic s;
  auto& q = CircuitBuilder(s).element(ElementKind::BJT, 10, 10);
  EXPECT_EQ(q.terminalCount(), 3);
  EXPECT_EQ(q.terminalPoint(0), (GridPoint{9, 10}));
  EXPECT_EQ(q.terminalPoint(1), (GridPoint{11, 10}));
  EXPECT_EQ(q.terminalPoint(2), (GridPoint{10, 11}));
  EXPECT_TRUE(q.hasTerminalAt({10, 11}));
  EXPECT_EQ(s.occupancy().at({10, 11}), 1);  // the base is covered too

  q.setTerminalsSwapped(s.occupancy(), true);
  EXPECT_EQ(q.terminalPoint(0), (GridPoint{11, 10}));
  EXPECT_EQ(q.terminalPoint(1), (GridPoint{9, 10}));
  EXPECT_EQ(q.terminalPoint(2), (GridPoint{10, 11}));
  EXPECT_EQ(s.occupancy().at({10, 11}), 1);

  q.setTerminalNode(kInternalNodeTerminal, 7);
  EXPECT_EQ(q.terminalNode(9), 7);
  EXPECT_EQ(q.terminalNode(4), -1);  // not a terminal
}

TEST(Wattmeter, VoltagePathAcrossTheAxis) {
  Schematic s;
  auto& w = CircuitBuilder(s).element(ElementKind::mmW, 10, 10);
  EXPECT_EQ(w.terminalCount(), 4);
  EXPECT_EQ(w.firstPair(), (PointPair{{9, 10}, {11, 10}}));
  EXPECT_EQ(w.secondPair(), (PointPair{{10, 9}, {10, 11}}));
  w.setTerminalsSwapped(s.occupancy(), true);
  EXPECT_EQ(w.secondPair(), (PointPair{{10, 11}, {10, 9}}));
  EXPECT_EQ(w.firstPair(), (PointPair{{9, 10}, {11, 10}}));
  for (GridPoint p : {GridPoint{10, 10}, GridPoint{9, 10}, GridPoint{11, 10}, GridPoint{10, 9},
                      GridPoint{10, 11}})
    EXPECT_EQ(s.occupancy().at(p), 1);
  EXPECT_EQ(s.occupancy().at({9, 9}), 0);
}

TEST(TwoWindings, TerminalsAtTheWindingEndsAndTheBlockCovered) {
  for (ElementKind kind : {ElementKind::Spr, ElementKind::Tf1}) {
    Schematic s;
    auto& m = CircuitBuilder(s).element(kind, 10, 10);
    // Orientation 3: d = (-1, 0), first winding centre A below P, second B above.
    EXPECT_EQ(m.terminalPoint(0), (GridPoint{9, 11}));
    EXPECT_EQ(m.terminalPoint(1), (GridPoint{11, 11}));
    EXPECT_EQ(m.terminalPoint(2), (GridPoint{11, 9}));
    EXPECT_EQ(m.terminalPoint(3), (GridPoint{9, 9}));
    EXPECT_EQ(m.firstPair(), (PointPair{{9, 11}, {11, 11}}));
    EXPECT_EQ(m.secondPair(), (PointPair{{11, 9}, {9, 9}}));
    EXPECT_FALSE(m.hasTerminalAt({9, 10}));  // P +- d are covered but are not terminals
    for (int x = 9; x <= 11; ++x)
      for (int y = 9; y <= 11; ++y) EXPECT_EQ(s.occupancy().at({x, y}), 1);

    m.rotate(s.occupancy(), -2);  // to orientation 1: d = (0, 1), A to the right
    EXPECT_EQ(m.terminalPoint(0), (GridPoint{11, 11}));
    EXPECT_EQ(m.terminalPoint(1), (GridPoint{11, 9}));
    EXPECT_EQ(m.terminalPoint(2), (GridPoint{9, 9}));
    EXPECT_EQ(m.terminalPoint(3), (GridPoint{9, 11}));
    for (int x = 9; x <= 11; ++x)
      for (int y = 9; y <= 11; ++y) EXPECT_EQ(s.occupancy().at({x, y}), 1);
  }
}

TEST(Terminals, JoinGivesTheNodeOfAnyTerminalOnThePoint) {
  Schematic s;
  CircuitBuilder b(s);
  auto& q = b.element(ElementKind::BJT, 10, 10);
  auto& r = b.element(ElementKind::Rez, 10, 13, 1);  // terminal 1 at (10, 12)
  EXPECT_FALSE(q.joinTerminalAt(r, 1, {10, 11}));    // base not numbered yet
  q.setTerminalNode(2, 4);
  EXPECT_TRUE(q.joinTerminalAt(r, 1, {10, 11}));
  EXPECT_EQ(r.terminalNode(1), 4);
  EXPECT_FALSE(q.joinTerminalAt(r, 0, {10, 14}));
}

TEST(Occupancy, IgnoresPointsOffTheGrid) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(ElementKind::Rez, 0, 0);  // terminal 0 at (-1, 0)
  EXPECT_EQ(s.occupancy().at({0, 0}), 1);
  EXPECT_EQ(s.occupancy().at({1, 0}), 1);
  EXPECT_EQ(s.occupancy().at({-1, 0}), 0);
  r.rotate(s.occupancy(), 2);
  s.destroy(&r);
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(s.occupancy().at({x, y}), 0);
}

TEST(Segments, CoverEveryPointOfAnAlignedRunOnly) {
  EXPECT_TRUE(segmentCovers({10, 10}, {14, 10}, {12, 10}));
  EXPECT_TRUE(segmentCovers({10, 10}, {14, 14}, {12, 12}));
  EXPECT_TRUE(segmentCovers({14, 14}, {10, 10}, {10, 10}));
  EXPECT_FALSE(segmentCovers({10, 10}, {14, 14}, {12, 11}));
  EXPECT_FALSE(segmentCovers({10, 10}, {14, 10}, {15, 10}));
  EXPECT_FALSE(segmentCovers({10, 10}, {14, 11}, {10, 10}));  // not aligned: covers nothing
  int visited = 0;
  walkSegment({0, 0}, {3, 1}, [&](GridPoint) { return ++visited < 100; });
  EXPECT_EQ(visited, 4);  // a damaged segment is walked a bounded number of steps
}

}  // namespace
