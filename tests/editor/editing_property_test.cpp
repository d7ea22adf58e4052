// Random editing sessions: whatever the user does, the schematic must read back from its own
// text exactly as it stands, or a save would silently lose part of it.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "editor/editing.h"
#include "model/schematic_file.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::model;

SchematicText text(const Schematic& s) {
  SchematicText lines;
  writeSchematic(s, lines, false);
  return lines;
}

class Session {
 public:
  explicit Session(unsigned seed, bool undoing = true)
      : m_random(seed), m_editor(m_schematic), m_undoing(undoing) {}

  Schematic& schematic() { return m_schematic; }
  Editor& editor() { return m_editor; }

  void step() {
    switch (pick(m_undoing ? 12 : 11)) {
      case 0:
      case 1: placeElement(); break;
      case 2:
      case 3: drawWire(); break;
      case 4: placeJunction(); break;
      case 5:
      case 6: drag(); break;
      case 7: rotate(); break;
      case 8: deleteSome(); break;
      case 11:
        if (pick(2))
          m_editor.undo();
        else
          m_editor.redo();
        m_last = "undo/redo";
        break;
      case 9: cutOrCopy(); break;
      case 10: m_editor.paste(point()); break;
    }
    m_editor.setMode(kSelectMode);
  }

  std::string describe() const { return m_last; }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
  // Points are drawn from a small part of the sheet so that objects meet often.
  GridPoint point() { return {pick(24), pick(24)}; }
  GridPoint near(GridPoint p) { return {p.x + pick(13) - 6, p.y + pick(13) - 6}; }
  PixelPoint pixel(GridPoint g) const { return {(g.x + 1) * 20.0, (g.y + 1) * 20.0}; }

  void press(GridPoint g) { m_editor.mouseDown(g, pixel(g), {}); }
  void move(GridPoint g) { m_editor.mouseMove(g, pixel(g), {}, true); }
  void release(GridPoint g) { m_editor.mouseUp(g, pixel(g), {}); }
  void click(GridPoint g) {
    press(g);
    release(g);
  }

  // A point some object can be picked up by: an element centre, a wire point, a junction.
  GridPoint somePoint() {
    const auto& s = m_schematic;
    const std::size_t count = s.elements().size() + s.wires().size() + s.junctions().size();
    if (count == 0) return point();
    std::size_t i = static_cast<std::size_t>(pick(static_cast<int>(count)));
    if (i < s.elements().size()) return s.elements()[i]->position();
    i -= s.elements().size();
    if (i < s.wires().size()) return pick(2) ? s.wires()[i]->start() : s.wires()[i]->end();
    i -= s.wires().size();
    return s.junctions()[i]->position();
  }

  void placeElement() {
    const auto kinds = allKinds();
    // Transformers and coupled coils often: their neighbours are where layouts went wrong.
    const ElementKind kind =
        pick(3) == 0 ? (pick(2) ? ElementKind::Tf1 : ElementKind::Spr)
                     : kinds[static_cast<std::size_t>(pick(static_cast<int>(kinds.size())))].kind;
    m_editor.setMode(static_cast<int>(kind));
    click(point());
    m_last = "place " + std::string(kindInfo(kind).code);
  }
  void drawWire() {
    m_editor.setMode(kWireMode);
    // Often from an existing end or terminal, as people draw.
    const GridPoint from = pick(2) ? somePoint() : point();
    press(from);
    const GridPoint to = near(from);
    move(to);
    release(to);
    m_last = "wire";
  }
  void placeJunction() {
    m_editor.setMode(kJunctionMode);
    click(pick(2) ? somePoint() : point());
    m_last = "junction";
  }
  void selectSome() {
    if (pick(3) == 0) {
      // A rubber band from an empty point.
      const GridPoint a = point();
      if (m_editor.hitTest(a)) return click(a);
      const GridPoint b = near(a);
      m_editor.mouseDown(a, pixel(a), {});
      m_editor.mouseMove(b, pixel(b), {}, true);
      m_editor.mouseUp(b, pixel(b), {});
    } else {
      click(somePoint());  // the release may also merge a wire into its neighbours
      if (pick(2)) {
        const GridPoint g = somePoint();
        m_editor.mouseDown(g, pixel(g), {true, false, false});
        m_editor.mouseUp(g, pixel(g), {true, false, false});
      }
    }
  }
  void drag() {
    const GridPoint from = somePoint();
    press(from);
    GridPoint at = from;
    for (int i = 0, n = 1 + pick(3); i < n; ++i) {
      at = near(at);
      move(at);
    }
    release(at);
    m_last = "drag";
  }
  void rotate() {
    selectSome();
    if (pick(4) == 0) {
      m_editor.reverse();
    } else if (pick(2)) {
      m_editor.rotateLeft();
    } else {
      m_editor.rotateRight();
    }
    m_last = "rotate";
  }
  void deleteSome() {
    selectSome();
    m_editor.deleteSelected();
    m_last = "delete";
  }
  void cutOrCopy() {
    selectSome();
    if (pick(2)) {
      m_editor.cut();
    } else {
      m_editor.copy();
    }
    m_last = "cut/copy";
  }

  std::mt19937 m_random;
  Schematic m_schematic;
  Editor m_editor;
  bool m_undoing;
  std::string m_last;
};

TEST(EditingProperty, EverySchematicReadsBackAsItStands) {
  Session session(20261209);
  for (int step = 0; step < 3000; ++step) {
    session.step();
    Schematic& s = session.schematic();
    const SchematicText written = text(s);
    Schematic copy;
    readSchematic(copy, written, ReadMode::Open);
    ASSERT_EQ(text(copy), written) << "after step " << step << " (" << session.describe() << ")";
    // The occupancy map is what placement decides by: it must match a fresh reading.
    for (int x = 0; x < kGridSize; ++x)
      for (int y = 0; y < kGridSize; ++y)
        ASSERT_EQ(s.occupancy().at({x, y}), copy.occupancy().at({x, y}))
            << "at " << x << ":" << y << " after step " << step << " (" << session.describe()
            << ")";
    std::set<std::string> names;
    for (const auto& e : s.elements())
      ASSERT_TRUE(names.insert(e->name()).second) << e->name() << " twice after step " << step;
  }
  EXPECT_GT(session.schematic().elements().size() + session.schematic().wires().size(), 10u);
}

TEST(EditingProperty, UndoingEverythingGivesBackTheFileAndRedoingTheLastState) {
  for (unsigned seed : {1u, 2u, 3u}) {
    Session session(seed, false);
    // Start from a drawn schematic, as a student reopening a file would.
    for (int i = 0; i < 40; ++i) session.step();
    session.editor().clearHistory();
    const SchematicText original = text(session.schematic());
    for (int i = 0; i < 150; ++i) session.step();
    const SchematicText final = text(session.schematic());
    ASSERT_LE(session.editor().history().undoCount(), 150u);
    while (session.editor().undo()) {
    }
    EXPECT_EQ(text(session.schematic()), original) << "seed " << seed;
    while (session.editor().redo()) {
    }
    EXPECT_EQ(text(session.schematic()), final) << "seed " << seed;
  }
}

}  // namespace
