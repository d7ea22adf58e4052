#include "model/placement.h"

#include <gtest/gtest.h>

#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;

constexpr int kRez = static_cast<int>(ElementKind::Rez);

TEST(OrthogonalEnd, FollowsTheLongerDifference) {
  EXPECT_EQ(orthogonalEnd({10, 10}, {14, 12}), (GridPoint{14, 10}));
  EXPECT_EQ(orthogonalEnd({10, 10}, {11, 15}), (GridPoint{10, 15}));
  EXPECT_EQ(orthogonalEnd({10, 10}, {12, 12}), (GridPoint{12, 12}));
  EXPECT_EQ(orthogonalEnd({10, 10}, {10, 10}), (GridPoint{10, 10}));
}

TEST(ElementPlacement, KeepsCentresTwoStepsApart) {
  Schematic s;
  CircuitBuilder(s).element(ElementKind::Rez, 10, 10);
  EXPECT_FALSE(s.addObject(kRez, {10, 10}, {10, 10}, true));
  EXPECT_FALSE(s.addObject(kRez, {11, 11}, {11, 11}, true));  // diagonal neighbour
  EXPECT_FALSE(s.addObject(kRez, {10, 11}, {10, 11}, true));  // one step beside
  EXPECT_FALSE(s.addObject(kRez, {11, 10}, {11, 10}, true));  // on a terminal
  EXPECT_TRUE(s.addObject(kRez, {12, 10}, {12, 10}, true));   // two steps away
  EXPECT_TRUE(s.addObject(kRez, {10, 12}, {10, 12}, true));
  EXPECT_FALSE(s.addObject(kRez, {-1, 5}, {-1, 5}, true));
  EXPECT_FALSE(s.addObject(kRez, {5, 101}, {5, 101}, true));
  EXPECT_TRUE(s.addObject(kRez, {100, 100}, {100, 100}, true));
}

TEST(ElementPlacement, WindingsNeedRoomBesideTheCentre) {
  Schematic s;
  constexpr int kSpr = static_cast<int>(ElementKind::Spr);
  EXPECT_FALSE(s.addObject(kSpr, {0, 10}, {0, 10}, true));
  EXPECT_FALSE(s.addObject(kSpr, {10, 100}, {10, 100}, true));
  EXPECT_TRUE(s.addObject(kSpr, {1, 1}, {1, 1}, true));
  CircuitBuilder(s).wire(20, 10, 20, 20);
  EXPECT_FALSE(s.addObject(kSpr, {21, 15}, {21, 15}, true));  // (20, 15) is taken
  EXPECT_TRUE(s.addObject(kRez, {21, 15}, {21, 15}, true));   // a resistor may touch it
}

TEST(JunctionPlacement, NotOnACentreOrAnotherJunction) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(ElementKind::Rez, 10, 10);
  b.junction(20, 20);
  EXPECT_FALSE(s.addObject(kJunctionKind, {10, 10}, {10, 10}, true));
  EXPECT_FALSE(s.addObject(kJunctionKind, {20, 20}, {20, 20}, true));
  EXPECT_TRUE(s.addObject(kJunctionKind, {9, 10}, {9, 10}, true));  // on a terminal
  EXPECT_FALSE(s.addObject(kJunctionKind, {101, 0}, {101, 0}, true));
}

TEST(WirePlacement, RefusesDegenerateAndBlockingWires) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(ElementKind::Rez, 10, 10);
  b.element(ElementKind::Tf1, 30, 30);  // P +- d at (29, 30) and (31, 30)
  b.wire(0, 0, 10, 0);
  EXPECT_FALSE(s.addObject(kWireKind, {5, 5}, {5, 5}, true));      // zero length
  EXPECT_FALSE(s.addObject(kWireKind, {0, 3}, {4, 5}, true));      // not aligned
  EXPECT_FALSE(s.addObject(kWireKind, {2, 0}, {6, 0}, true));      // both ends on one wire
  EXPECT_TRUE(s.addObject(kWireKind, {5, 0}, {15, 0}, true));      // one end beyond it
  EXPECT_FALSE(s.addObject(kWireKind, {10, 5}, {10, 15}, true));   // through a centre
  EXPECT_TRUE(s.addObject(kWireKind, {9, 5}, {9, 15}, true));      // through a terminal
  EXPECT_FALSE(s.addObject(kWireKind, {29, 25}, {29, 35}, true));  // through P + d
  EXPECT_FALSE(s.addObject(kWireKind, {26, 26}, {34, 34}, true));  // diagonal through P
  // The winding centres are kept free too, so that turning the transformer cannot put its
  // axis under a wire.
  EXPECT_FALSE(s.addObject(kWireKind, {25, 31}, {35, 31}, true));
  EXPECT_TRUE(s.addObject(kWireKind, {25, 32}, {35, 32}, true));
  EXPECT_TRUE(s.addObject(kWireKind, {28, 25}, {28, 35}, true));
  EXPECT_FALSE(s.addObject(kWireKind, {95, 0}, {105, 0}, true));  // off the grid
}

}  // namespace
