#include "editor/editing.h"

#include <gtest/gtest.h>

#include "model/connectivity.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;

constexpr int kRez = static_cast<int>(K::Rez);

// Clicks and drags as the widget would report them (grid points; pixels only for the band).
struct Mouse {
  Editor& editor;
  PixelPoint pixel(GridPoint g) const { return {(g.x + 1) * 20.0, (g.y + 1) * 20.0}; }
  void press(GridPoint g, Modifiers m = {}) { editor.mouseDown(g, pixel(g), m); }
  void drag(GridPoint g) { editor.mouseMove(g, pixel(g), {}, true); }
  void release(GridPoint g) { editor.mouseUp(g, pixel(g), {}); }
  void click(GridPoint g, Modifiers m = {}) {
    press(g, m);
    release(g);
  }
  void stroke(GridPoint from, GridPoint to) {
    press(from);
    drag(to);
    release(to);
  }
};

std::vector<int> terminalNodes(Schematic& s) {
  numberNodes(s);
  std::vector<int> nodes;
  for (const auto& e : s.elements())
    for (int t = 0; t < e->terminalCount(); ++t) nodes.push_back(e->terminalNode(t));
  return nodes;
}

SchematicText text(const Schematic& s) {
  SchematicText lines;
  writeSchematic(s, lines, false);
  return lines;
}

TEST(Placing, WiresFollowTheOrthogonalRule) {
  Schematic s;
  Editor editor(s);
  Mouse mouse{editor};
  editor.setMode(kWireMode);
  mouse.press({10, 10});
  mouse.drag({14, 12});
  ASSERT_TRUE(editor.wirePreview());
  EXPECT_EQ(editor.wirePreview()->second, (GridPoint{14, 10}));
  mouse.release({14, 12});
  ASSERT_EQ(s.wires().size(), 1u);
  EXPECT_EQ(s.wires()[0]->end(), (GridPoint{14, 10}));
  EXPECT_FALSE(editor.wirePreview());
  mouse.stroke({10, 20}, {12, 22});  // equal distances: the diagonal
  EXPECT_EQ(s.wires().back()->end(), (GridPoint{12, 22}));
  mouse.click({30, 30});  // press and release on one point: nothing
  EXPECT_EQ(s.wires().size(), 2u);
  EXPECT_TRUE(editor.flags().modified);
  EXPECT_EQ(editor.mode(), kWireMode);  // the mode stays after a placement
}

TEST(Placing, ElementsKeepTwoStepsApartAndStartSelected) {
  Schematic s;
  Editor editor(s);
  Mouse mouse{editor};
  editor.setMode(kRez);
  mouse.click({10, 10});
  mouse.click({11, 11});  // one step beside: refused
  mouse.click({12, 10});  // two steps: accepted
  ASSERT_EQ(s.elementCount(), 2);
  EXPECT_FALSE(s.elements()[0]->selected);
  EXPECT_TRUE(s.elements()[1]->selected);
  EXPECT_EQ(s.elements()[1]->name(), "R2");

  // Only one input voltage: a second would be lost when the file is read again.
  editor.setMode(static_cast<int>(K::nWe));
  mouse.click({30, 30});
  mouse.click({40, 40});
  EXPECT_EQ(s.elementCount(), 3);
}

TEST(Selecting, ByCentreShiftAndRubberBand) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10);
  b.element(K::Poj, 20, 10);
  b.wire(30, 5, 30, 15);
  b.junction(30, 10);
  Editor editor(s);
  editor.deselectAll();
  Mouse mouse{editor};
  mouse.click({11, 10});  // a terminal, not the centre
  EXPECT_EQ(editor.summary(), SelectionSummary::Nothing);
  mouse.click({10, 10});
  EXPECT_EQ(editor.summary(), SelectionSummary::OneElement);
  mouse.click({20, 10}, {.shift = true});
  EXPECT_EQ(editor.summary(), SelectionSummary::SeveralElements);
  mouse.click({20, 10}, {.shift = true});  // toggles off again
  EXPECT_EQ(editor.summary(), SelectionSummary::OneElement);
  EXPECT_EQ(editor.currentObject(), s.elements()[0].get());
  mouse.click({30, 10});  // the junction comes first
  EXPECT_EQ(editor.summary(), SelectionSummary::OneJunction);
  mouse.click({30, 12});
  EXPECT_EQ(editor.summary(), SelectionSummary::OneWire);
  mouse.click({10, 10}, {.ctrl = true});  // ignored
  EXPECT_EQ(editor.summary(), SelectionSummary::OneWire);

  // A band from an empty point over the first two elements.
  mouse.press({5, 5});
  editor.mouseMove({25, 12}, mouse.pixel({25, 12}), {}, true);
  ASSERT_TRUE(editor.rubberBand());
  mouse.release({25, 12});
  EXPECT_FALSE(editor.rubberBand());
  EXPECT_EQ(editor.summary(), SelectionSummary::SeveralElements);
  EXPECT_FALSE(s.wires()[0]->selected);

  editor.selectAll();
  EXPECT_EQ(editor.summary(), SelectionSummary::SeveralWithWires);
  editor.selectWires();
  EXPECT_EQ(editor.summary(), SelectionSummary::OneWire);
}

TEST(Moving, DragsTheGroupAndRefusesOverlaps) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10);
  b.element(K::Rez, 20, 10);
  b.wire(11, 10, 19, 10);
  Editor editor(s);
  editor.deselectAll();
  Mouse mouse{editor};
  mouse.click({10, 10});
  mouse.press({10, 10});
  mouse.drag({10, 14});
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{10, 14}));
  EXPECT_EQ(s.occupancy().at({10, 10}), 0);
  EXPECT_EQ(s.occupancy().at({10, 14}), 1);
  mouse.drag({19, 14});  // one step beside the other resistor's column is fine...
  mouse.drag({21, 11});  // ...but not next to its centre: stays where it was
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{19, 14}));
  mouse.drag({15, 10});  // onto the wire: refused
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{19, 14}));
  mouse.release({15, 10});
  EXPECT_TRUE(editor.flags().modified);

  // Whatever was moved reads back whole.
  Schematic copy;
  readSchematic(copy, text(s), ReadMode::Open);
  EXPECT_EQ(text(copy), text(s));
}

TEST(Moving, TransformerKeepsItsNeighboursFree) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Tf1, 10, 10);
  b.wire(30, 5, 30, 15);
  Editor editor(s);
  editor.deselectAll();
  Mouse mouse{editor};
  mouse.click({10, 10});
  mouse.press({10, 10});
  mouse.drag({29, 10});  // its right neighbour would lie on the wire
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{10, 10}));
  mouse.drag({10, 0});  // off the border row
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{10, 10}));
  mouse.drag({27, 10});
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{27, 10}));
}

TEST(Merging, CollinearWiresBecomeOneWithoutChangingTheCircuit) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 4, 10);   // terminal 1 at (5, 10)
  b.element(K::Rez, 26, 10);  // terminal 0 at (25, 10)
  b.wire(5, 10, 15, 10);
  b.wire(15, 10, 25, 10);
  Editor editor(s);
  editor.deselectAll();
  const auto before = terminalNodes(s);
  Mouse mouse{editor};
  mouse.click({20, 10});  // selects the second wire; the release merges it into the first
  ASSERT_EQ(s.wires().size(), 1u);
  const int x1 = s.wires()[0]->start().x;
  const int x2 = s.wires()[0]->end().x;
  EXPECT_EQ(std::min(x1, x2), 5);
  EXPECT_EQ(std::max(x1, x2), 25);
  EXPECT_EQ(s.wires()[0]->start().y, 10);
  EXPECT_EQ(terminalNodes(s), before);
}

TEST(Merging, NeverAtAJointOfThreeWiresYetTheClickSelects) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 4, 10);
  b.element(K::Rez, 26, 10);
  b.element(K::Rez, 15, 4, 1);  // terminal 0 at (15, 5)
  b.wire(5, 10, 15, 10);
  b.wire(15, 10, 25, 10);
  b.wire(15, 5, 15, 10);  // ends at the joint: merging there would cut it off
  Editor editor(s);
  editor.deselectAll();
  const auto before = terminalNodes(s);
  const Element* first = s.elements()[0].get();
  int destroyed = 0;
  s.onElementDestroyed = [&](const Element&) { ++destroyed; };
  Mouse mouse{editor};
  mouse.click({20, 10});
  EXPECT_EQ(s.wires().size(), 3u);
  EXPECT_EQ(terminalNodes(s), before);
  EXPECT_EQ(destroyed, 0);  // nothing was re-created (a meter would have lost its element)
  EXPECT_EQ(s.elements()[0].get(), first);
  ASSERT_EQ(editor.summary(), SelectionSummary::OneWire);
  editor.deleteSelected();
  ASSERT_EQ(s.wires().size(), 2u);
  EXPECT_EQ(s.wires()[1]->end(), (GridPoint{15, 10}));
}

TEST(Placing, AWireAlongAnotherIsRefusedWithAHint) {
  Schematic s;
  CircuitBuilder(s).wire(10, 10, 20, 10);
  Editor editor(s);
  std::string hint;
  editor.onHint = [&](const std::string& text) { hint = text; };
  editor.setMode(kWireMode);
  Mouse mouse{editor};
  mouse.stroke({15, 10}, {25, 10});  // overlaps 15..20
  EXPECT_EQ(s.wires().size(), 1u);
  EXPECT_FALSE(hint.empty());
  hint.clear();
  mouse.stroke({20, 10}, {25, 10});  // continues from its end
  mouse.stroke({15, 5}, {15, 15});   // crosses it
  EXPECT_EQ(s.wires().size(), 3u);
  EXPECT_TRUE(hint.empty());
}

// Elements listed before a transformer must keep off its four centre neighbours, or the
// transformer's line is refused when the file is read again.
TEST(Moving, NothingMovesOrTurnsOntoATransformersNeighbours) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 14, 1);  // terminals (10, 13) and (10, 15)
  b.element(K::Rez, 12, 10, 1);  // terminals (12, 9) and (12, 11)
  b.element(K::Tf1, 10, 10);     // neighbours (9..11, 10) and (10, 9..11)
  const SchematicText original = text(s);
  Editor editor(s);
  editor.deselectAll();
  Mouse mouse{editor};
  mouse.click({10, 14});
  mouse.press({10, 14});
  mouse.drag({10, 12});  // a terminal would stand on (10, 11)
  mouse.release({10, 12});
  EXPECT_EQ(s.elements()[0]->position(), (GridPoint{10, 14}));
  editor.deselectAll();
  mouse.click({12, 10});
  editor.rotateLeft();  // a terminal would stand on (11, 10)
  EXPECT_EQ(s.elements()[1]->orientation(), 1);
  EXPECT_EQ(text(s), original);
  editor.deselectAll();
  mouse.click({10, 14});
  editor.rotateLeft();  // clear of the neighbours: turns
  EXPECT_EQ(s.elements()[0]->orientation(), 7);

  // Placing a junction there is refused as well.
  editor.setMode(kJunctionMode);
  mouse.click({10, 9});
  EXPECT_TRUE(s.junctions().empty());
}

TEST(Commands, RotateReverseAndArrows) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10, 7);
  b.element(K::BJT, 20, 10);
  b.element(K::mmV, 30, 10);
  Editor editor(s);
  editor.selectElements();
  editor.rotateRight();
  EXPECT_EQ(s.elements()[0]->orientation(), 1);
  editor.rotateLeft();
  editor.rotateLeft();
  EXPECT_EQ(s.elements()[0]->orientation(), 5);
  editor.toggleVoltageArrows();
  editor.toggleCurrentArrows();
  EXPECT_TRUE(s.elements()[0]->showVoltage);
  EXPECT_TRUE(s.elements()[1]->showVoltage);
  EXPECT_FALSE(s.elements()[1]->showCurrent);  // no current arrow on a transistor
  EXPECT_FALSE(s.elements()[2]->showVoltage);  // nor any arrow on a meter
  editor.reverseCurrentArrows();
  EXPECT_FALSE(s.elements()[0]->currentDirection());
  EXPECT_TRUE(s.elements()[0]->showCurrent);

  editor.reverse();  // several selected: nothing
  EXPECT_FALSE(s.elements()[1]->terminalsSwapped);
  Mouse mouse{editor};
  mouse.click({20, 10});  // a member of the selection: the selection stays
  editor.reverse();
  EXPECT_FALSE(s.elements()[1]->terminalsSwapped);
  editor.deselectAll();
  mouse.click({20, 10});
  editor.reverse();
  EXPECT_TRUE(s.elements()[1]->terminalsSwapped);
  editor.deselectAll();
  mouse.click({10, 10});
  editor.reverse();  // not a kind with a swap
  EXPECT_FALSE(s.elements()[0]->terminalsSwapped);
}

TEST(Deleting, UndoBringsEveryDeletedGroupBackWhole) {
  Schematic s;
  Editor editor(s);
  Mouse mouse{editor};
  editor.setMode(kRez);
  for (int i = 0; i < 11; ++i) mouse.click({5 + 4 * i, 10});
  editor.setMode(kSelectMode);
  for (int i = 0; i < 11; ++i) {
    mouse.click({5 + 4 * i, 10});
    editor.deleteSelected();
  }
  EXPECT_EQ(s.elementCount(), 0);
  EXPECT_EQ(editor.undoLabel(), "usunięcie 1 obiektu");
  for (int i = 0; i < 11; ++i) ASSERT_TRUE(editor.undo());
  EXPECT_EQ(s.elementCount(), 11);  // more than the ten deletions the program once kept
  EXPECT_NE(s.findElement("R1"), nullptr);
  EXPECT_EQ(s.findElement("R11")->position(), (GridPoint{45, 10}));
}

TEST(Deleting, UndoGoesBackThroughLaterEditsFirst) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10);
  b.wire(20, 5, 20, 15);
  Editor editor(s);
  editor.selectAll();
  editor.deleteSelected();
  editor.setMode(kRez);
  Mouse mouse{editor};
  mouse.click({10, 10});       // the place is taken again
  ASSERT_TRUE(editor.undo());  // the new resistor goes first
  EXPECT_EQ(s.elementCount(), 0);
  ASSERT_TRUE(editor.undo());  // then the deleted group comes back together
  EXPECT_EQ(s.elementCount(), 1);
  EXPECT_EQ(s.wires().size(), 1u);
  EXPECT_FALSE(editor.canUndo());
}

TEST(Clipboard, PasteLandsAtTheFirstFreePlace) {
  Schematic source;
  CircuitBuilder b(source);
  b.element(K::Rez, 30, 30);
  b.wire(31, 30, 35, 30);
  Editor from(source);
  from.selectAll();
  from.copy();

  // The clipboard belongs to one editor; paste into the same schematic type.
  Schematic& s = source;
  Editor& editor = from;
  ASSERT_TRUE(editor.canPaste());
  ASSERT_TRUE(editor.paste());
  // The group's top-left corner (the element centre at x 30 - its box starts at 30) lands at
  // (0, 0): the resistor centre at (0, 0), its wire from (1, 0).
  EXPECT_EQ(s.elements().back()->position(), (GridPoint{0, 0}));
  EXPECT_EQ(s.wires().back()->start(), (GridPoint{1, 0}));
  EXPECT_EQ(s.elements().back()->name(), "R2");  // renamed: R1 is taken
  EXPECT_TRUE(s.elements().back()->selected);
  EXPECT_FALSE(s.elements().front()->selected);

  // From the visible corner of the sheet first, then from its origin.
  ASSERT_TRUE(editor.paste({40, 50}));
  EXPECT_EQ(s.elements().back()->position(), (GridPoint{40, 50}));
  ASSERT_TRUE(editor.paste({96, 100}));  // no room below or right of that corner
  EXPECT_EQ(s.elements().back()->position(), (GridPoint{0, 2}));

  s.setTransferMode(true);  // the clipboard holds a time-simulation group
  EXPECT_FALSE(editor.canPaste());
}

TEST(Clipboard, CutAndPasteAreOneStepEach) {
  Schematic s;
  CircuitBuilder(s).element(K::Rez, 10, 10);
  Editor editor(s);
  editor.selectAll();
  editor.cut();
  EXPECT_EQ(s.elementCount(), 0);
  EXPECT_EQ(editor.undoLabel(), "wycięcie 1 obiektu");
  ASSERT_TRUE(editor.paste());
  EXPECT_EQ(s.elements()[0]->name(), "R1");
  EXPECT_EQ(editor.undoLabel(), "wklejenie");
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(s.elementCount(), 0);
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(s.elementCount(), 1);
}

TEST(Status, PositionAndObjectTexts) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10, 3, "10k");
  b.wire(20, 5, 20, 15);
  b.junction(20, 10);
  Editor editor(s);
  EXPECT_EQ(Editor::positionText({12, 7}), "12:7");
  EXPECT_EQ(Editor::positionText({-1, 7}), "");
  EXPECT_EQ(editor.objectText({10, 10}), "R1 { R=10k; }");
  EXPECT_EQ(editor.objectText({20, 12}), "Przewód elektryczny");
  EXPECT_EQ(editor.objectText({20, 10}), "Węzeł elektryczny");
  EXPECT_EQ(editor.objectText({50, 50}), "");
}

TEST(Parameters, DoubleClickOpensThemOnRelease) {
  Schematic s;
  CircuitBuilder(s).element(K::Rez, 10, 10);
  Editor editor(s);
  editor.deselectAll();
  Element* asked = nullptr;
  editor.onParameters = [&](Element& e) { asked = &e; };
  Mouse mouse{editor};
  mouse.click({10, 10});
  mouse.press({10, 10});
  editor.doubleClick();
  mouse.release({10, 10});
  EXPECT_EQ(asked, s.elements()[0].get());
}

}  // namespace
