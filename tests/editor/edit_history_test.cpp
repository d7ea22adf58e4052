#include "editor/edit_history.h"

#include <gtest/gtest.h>

#include <functional>

#include "editor/editing.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::model;
using K = ElementKind;

SchematicText text(const Schematic& s) {
  SchematicText lines;
  writeSchematic(s, lines, false);
  return lines;
}

PixelPoint pixel(GridPoint g) { return {(g.x + 1) * 20.0, (g.y + 1) * 20.0}; }
void stroke(Editor& e, GridPoint from, GridPoint to) {
  e.mouseDown(from, pixel(from), {});
  e.mouseMove(to, pixel(to), {}, true);
  e.mouseUp(to, pixel(to), {});
}

// A resistor R1 at (10, 10) with a wire from its right terminal, and a wattmeter W1.
void draw(Schematic& s) {
  wolterix::testing::CircuitBuilder b(s);
  b.element(K::Rez, 10, 10);
  b.wire(11, 10, 15, 10);
  b.element(K::mmW, 30, 30);
}

struct EditCase {
  const char* label;
  std::function<void(Editor&)> edit;
};

TEST(EditHistory, EveryKindOfEditUndoesAndRedoesExactly) {
  const auto selectR1 = [](Editor& e) {
    e.mouseDown({10, 10}, pixel({10, 10}), {});
    e.mouseUp({10, 10}, pixel({10, 10}), {});
  };
  const std::vector<EditCase> cases = {
      {"wstawienie elementu C1",
       [](Editor& e) {
         e.setMode(static_cast<int>(K::Poj));
         stroke(e, {20, 20}, {20, 20});
       }},
      {"rysowanie przewodu",
       [](Editor& e) {
         e.setMode(kWireMode);
         stroke(e, {15, 10}, {15, 14});
       }},
      {"wstawienie węzła",
       [](Editor& e) {
         e.setMode(kJunctionMode);
         stroke(e, {13, 10}, {13, 10});
       }},
      {"przesunięcie 1 obiektu",
       [](Editor& e) {
         stroke(e, {10, 10}, {10, 13});
       }},
      {"obrót 1 obiektu",
       [&](Editor& e) {
         selectR1(e);
         e.rotateRight();
       }},
      {"zamiana końcówek W1",
       [](Editor& e) {
         e.mouseDown({30, 30}, pixel({30, 30}), {});
         e.mouseUp({30, 30}, pixel({30, 30}), {});
         e.reverse();
       }},
      {"nazwy elementów",
       [&](Editor& e) {
         selectR1(e);
         e.toggleNames();
       }},
      {"odwrócenie strzałek prądów",
       [&](Editor& e) {
         selectR1(e);
         e.reverseCurrentArrows();
       }},
      {"usunięcie 2 obiektów",
       [](Editor& e) {
         e.selectWires();
         e.mouseDown({10, 10}, pixel({10, 10}), {true, false, false});
         e.mouseUp({10, 10}, pixel({10, 10}), {true, false, false});
         e.deleteSelected();
       }},
      {"wycięcie 1 obiektu",
       [&](Editor& e) {
         selectR1(e);
         e.cut();
       }},
      {"wklejenie",
       [&](Editor& e) {
         selectR1(e);
         e.copy();
         e.paste({40, 40});
       }},
      {"przesunięcie 1 obiektu",
       [&](Editor& e) {
         selectR1(e);
         e.nudge(0, 1);
       }},
      {"zmiana parametrów R1",
       [](Editor& e) {
         e.beginEdit();
         e.schematic().findElement("R1")->setParameter(0, "4,7k");
         e.endEdit("zmiana parametrów R1");
       }},
  };
  for (const EditCase& c : cases) {
    Schematic s;
    draw(s);
    Editor editor(s);
    editor.deselectAll();
    const SchematicText before = text(s);
    c.edit(editor);
    const SchematicText after = text(s);
    ASSERT_NE(after, before) << c.label;
    ASSERT_EQ(editor.history().undoCount(), 1u) << c.label;
    EXPECT_EQ(editor.undoLabel(), c.label);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(text(s), before) << c.label;
    EXPECT_EQ(editor.redoLabel(), c.label);
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(text(s), after) << c.label;
    EXPECT_FALSE(editor.canRedo());
  }
}

TEST(EditHistory, FlagsFollowTheEditAndNothingIsRecordedForNoChange) {
  Schematic s;
  draw(s);
  Editor editor(s);
  // A dialog whose fields failed validation changed nothing: no step.
  editor.beginEdit();
  editor.endEdit("zmiana parametrów R1");
  EXPECT_FALSE(editor.canUndo());
  // Showing names leaves the results valid; undoing it does too. Both mark the document:
  // the file would hold them, so closing asks.
  editor.flags() = {};
  editor.flags().resultsValid = true;
  editor.selectAll();
  editor.toggleNames();
  EXPECT_TRUE(editor.flags().modified);
  editor.flags().modified = false;
  ASSERT_TRUE(editor.undo());
  EXPECT_TRUE(editor.flags().resultsValid);
  EXPECT_TRUE(editor.flags().modified);
  // A reversed arrow changes what is read (and a source's sign): the results are stale, and
  // so they are after undoing it.
  for (auto reverse : {&Editor::reverseCurrentArrows, &Editor::reverseVoltageArrows}) {
    editor.flags() = {false, true, true};
    (editor.*reverse)();
    EXPECT_TRUE(editor.flags().modified);
    EXPECT_FALSE(editor.flags().resultsValid);
    EXPECT_FALSE(editor.flags().measurementContinuable);
  }
  editor.flags() = {false, true, true};
  ASSERT_TRUE(editor.undo());
  EXPECT_FALSE(editor.flags().resultsValid);
  // A move makes them stale and marks the document; so does undoing it.
  stroke(editor, {10, 10}, {10, 12});
  editor.flags() = {};
  editor.flags().resultsValid = true;
  ASSERT_TRUE(editor.undo());
  EXPECT_TRUE(editor.flags().modified);
  EXPECT_FALSE(editor.flags().resultsValid);
  // A new edit forgets what could be redone.
  EXPECT_TRUE(editor.canRedo());
  editor.selectAll();
  editor.rotateLeft();
  EXPECT_FALSE(editor.canRedo());
}

TEST(EditHistory, TheOldestStepsGoBeyondTwoHundred) {
  Schematic s;
  Editor editor(s);
  editor.setMode(static_cast<int>(K::Rez));
  for (int i = 0; i < 205; ++i)
    stroke(editor, {2 + 4 * (i % 24), 2 + 4 * (i / 24)}, {2 + 4 * (i % 24), 2 + 4 * (i / 24)});
  ASSERT_EQ(s.elementCount(), 205);
  EXPECT_EQ(editor.history().undoCount(), EditHistory::kDepth);
  while (editor.undo()) {
  }
  EXPECT_EQ(s.elementCount(), 5);
  EXPECT_EQ(objectCount(1), "1 obiektu");
  EXPECT_EQ(objectCount(3), "3 obiektów");
}

}  // namespace
