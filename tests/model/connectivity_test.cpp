#include "model/connectivity.h"

#include <gtest/gtest.h>

#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;

std::pair<int, int> nodes(const Element& e) { return {e.terminalNode(0), e.terminalNode(1)}; }

TEST(Connectivity, LoneResistorAndTwoInARow) {
  Schematic s;
  CircuitBuilder b(s);
  auto& r1 = b.element(K::Rez, 10, 10);  // terminals (9,10) and (11,10)
  numberNodes(s);
  EXPECT_EQ(nodes(r1), std::make_pair(0, 1));
  EXPECT_EQ(s.nodeCount(), 2);

  auto& r2 = b.element(K::Rez, 12, 10);  // its terminal 0 lies on r1's terminal 1
  numberNodes(s);
  EXPECT_EQ(nodes(r1), std::make_pair(0, 1));
  EXPECT_EQ(nodes(r2), std::make_pair(1, 2));
  EXPECT_EQ(s.nodeCount(), 3);
}

TEST(Connectivity, CrossingWiresJoinOnlyAtAJunction) {
  Schematic s;
  CircuitBuilder b(s);
  auto& a = b.element(K::Rez, 10, 5, 1);  // terminal 0 at (10, 6)
  auto& c = b.element(K::Rez, 5, 10);     // terminal 1 at (6, 10)
  b.wire(10, 6, 10, 14);                  // vertical through (10, 10)
  b.wire(6, 10, 14, 10);                  // horizontal through (10, 10)
  numberNodes(s);
  EXPECT_NE(a.terminalNode(0), c.terminalNode(1));
  const int separate = s.nodeCount();

  b.junction(10, 10);
  numberNodes(s);
  EXPECT_EQ(a.terminalNode(0), c.terminalNode(1));
  EXPECT_EQ(s.nodeCount(), separate - 1);
  for (const auto& w : s.wires()) EXPECT_EQ(w->node, a.terminalNode(0));
}

TEST(Connectivity, TeeJointNeedsAJunctionOrATerminal) {
  Schematic s;
  CircuitBuilder b(s);
  auto& a = b.element(K::Rez, 10, 5, 1);  // terminal 0 at (10, 6)
  auto& c = b.element(K::Rez, 5, 10);     // terminal 1 at (6, 10)
  b.wire(6, 10, 14, 10);
  b.wire(10, 6, 10, 10);  // ends on the inner point (10, 10) of the first wire
  numberNodes(s);
  EXPECT_NE(a.terminalNode(0), c.terminalNode(1));
  b.junction(10, 10);
  numberNodes(s);
  EXPECT_EQ(a.terminalNode(0), c.terminalNode(1));

  // An element terminal on the meeting point joins the wires too.
  Schematic t;
  CircuitBuilder tb(t);
  auto& ta = tb.element(K::Rez, 10, 5, 1);
  auto& tc = tb.element(K::Rez, 5, 10);
  auto& td = tb.element(K::Rez, 10, 11, 1);  // terminal 1 at (10, 10)
  tb.wire(6, 10, 14, 10);
  tb.wire(10, 6, 10, 10);
  numberNodes(t);
  EXPECT_EQ(ta.terminalNode(0), tc.terminalNode(1));
  EXPECT_EQ(td.terminalNode(1), tc.terminalNode(1));
}

TEST(Connectivity, TerminalOnAnInnerPointOfAWire) {
  Schematic s;
  CircuitBuilder b(s);
  auto& a = b.element(K::Rez, 10, 5, 1);  // terminal 0 at (10, 6)
  auto& c = b.element(K::Rez, 30, 5, 1);  // terminal 0 at (30, 6)
  b.wire(5, 6, 35, 6);
  numberNodes(s);
  EXPECT_EQ(a.terminalNode(0), c.terminalNode(0));
  EXPECT_EQ(s.nodeCount(), 3);
}

TEST(Connectivity, LoneTransistorAndItsInternalNode) {
  Schematic s;
  auto& q = CircuitBuilder(s).element(K::BJT, 10, 10);
  numberNodes(s);
  EXPECT_EQ(q.terminalNode(0), 0);
  EXPECT_EQ(q.terminalNode(1), 1);
  EXPECT_EQ(q.terminalNode(2), 2);
  EXPECT_EQ(q.terminalNode(kInternalNodeTerminal), 3);
  EXPECT_EQ(s.nodeCount(), 4);
  EXPECT_EQ(showTopology(s).at(0), "0 : BJT/B1/[10,10]/{0,1,2(3)}/npn/?/?/?/?");
}

TEST(Connectivity, EveryWireThroughATerminalCarriesItsNode) {
  // Two collinear wires overlap without a junction, so they are not joined to each other;
  // but the terminal of C lies on both, so both carry C's node.
  Schematic s;
  CircuitBuilder b(s);
  auto& a = b.element(K::Rez, 4, 10);  // terminal 1 at (5, 10)
  b.wire(5, 10, 15, 10);
  b.wire(8, 10, 21, 10);
  auto& c = b.element(K::Rez, 12, 11, 5);  // terminal 0 at (12, 10), inside both wires
  auto& d = b.element(K::Rez, 22, 10);     // terminal 0 at (21, 10), end of the second wire
  numberNodes(s);
  EXPECT_EQ(a.terminalNode(1), 1);
  EXPECT_EQ(c.terminalNode(0), 1);
  EXPECT_EQ(d.terminalNode(0), 1);
  EXPECT_EQ(s.nodeCount(), 4);
  for (const auto& w : s.wires()) EXPECT_EQ(w->node, 1);
}

TEST(Connectivity, TopologyListsEveryKindOfTerminalSet) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10, 3, "10k");
  b.element(K::mmW, 20, 10);
  b.element(K::Tf1, 30, 10);
  numberNodes(s);
  const auto lines = showTopology(s);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "0 : Rez/R1/[10,10]/{0,1}/10k");
  EXPECT_EQ(lines[1], "1 : mmW/W1/[20,10]/{2,3,4,5}/-");
  EXPECT_EQ(lines[2], "2 : Tf1/Tf1/[30,10]/{6,7,8,9}/?/?/?/?/?/?/0/0");
}

}  // namespace
