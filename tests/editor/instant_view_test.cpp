#include "editor/instant_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "bench/circuits.h"
#include "drawing/instant_overlay.h"
#include "engine/waveform_store.h"
#include "model/element.h"
#include "support/recording_canvas.h"
#include "support/run_helpers.h"

namespace wolterix::editor {
namespace {

using K = model::ElementKind;
using model::GridPoint;
using Piece = std::pair<GridPoint, GridPoint>;

// Pieces compared without regard to their direction.
std::pair<std::pair<int, int>, std::pair<int, int>> key(GridPoint a, GridPoint b) {
  std::pair<int, int> p{a.x, a.y};
  std::pair<int, int> q{b.x, b.y};
  return p < q ? std::pair{p, q} : std::pair{q, p};
}

std::set<std::string> highlightedNames(const InstantView& view) {
  std::set<std::string> names;
  for (const model::Element* e : view.picture.elements) names.insert(e->name());
  return names;
}

// The bridge at a sample where T1 (phase a, upper group) and T2 (phase c, lower group) conduct
// alone: the current runs Ea → T1 → R1 → L1 → T2 → Ec → back to Ea through the star point.
class BridgeInstant : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(bench::loadExample(s_schematic, "mostek3f.wtx"));
    s_sim.setSampleCount(2000);
    ASSERT_TRUE(s_sim.transientRun(s_schematic, 0, 100e-3, 0).ok());
    const engine::WaveformStore& store = s_sim.store();
    const auto conducting = [&](int k) {
      std::set<std::string> on;
      for (int row = 0; row < store.stateRows(); ++row)
        if (store.stateRow(row)[static_cast<std::size_t>(k)] != 0)
          on.insert(store.stateElement(row).name);
      return on;
    };
    // The middle of the first run of ten samples with just T1 and T2 on, after the first period.
    const std::set<std::string> pair{"T1", "T2"};
    int run = 0;
    for (int k = 400; k < store.sampleCount && s_sample < 0; ++k) {
      run = conducting(k) == pair ? run + 1 : 0;
      if (run == 10) s_sample = k - 5;
    }
  }

  static model::Schematic s_schematic;
  static engine::Simulation s_sim;
  static int s_sample;
};

model::Schematic BridgeInstant::s_schematic;
engine::Simulation BridgeInstant::s_sim;
int BridgeInstant::s_sample = -1;

TEST_F(BridgeInstant, HighlightsTheTwoValvesTheirSourcesTheLoadAndTheWiresBetween) {
  ASSERT_GE(s_sample, 0);
  const InstantView view = instantAt(s_schematic, s_sim.store(), s_sample);
  EXPECT_EQ(view.sample, s_sample);
  EXPECT_EQ(highlightedNames(view), (std::set<std::string>{"Ea", "Ec", "T1", "T2", "R1", "L1"}));
  int conducting = 0;
  for (const ElementInstant& e : view.elements) conducting += e.conducting;
  EXPECT_EQ(conducting, 2);

  const std::vector<std::array<int, 4>> path{
      // phase a up to T1, the upper bus to R1, R1 to L1, the lower bus back to T2
      {4, 23, 4, 21},
      {4, 21, 22, 21},
      {22, 21, 22, 13},
      {22, 13, 20, 13},
      {20, 13, 20, 11},
      {20, 9, 20, 8},
      {20, 8, 24, 8},
      {24, 8, 28, 8},
      {28, 8, 36, 8},
      {36, 8, 36, 10},
      {36, 12, 36, 14},
      {36, 16, 36, 18},
      {36, 18, 28, 18},
      {28, 18, 28, 17},
      // T2 to phase c, its source, and through the star point to phase a
      {28, 15, 28, 13},
      {28, 13, 30, 13},
      {30, 13, 30, 19},
      {30, 19, 12, 19},
      {12, 19, 12, 23},
      {12, 25, 12, 26},
      {12, 26, 8, 26},
      {8, 26, 4, 26},
      {4, 26, 4, 25}};
  std::set<decltype(key({}, {}))> expected;
  for (const auto& [x1, y1, x2, y2] : path) expected.insert(key({x1, y1}, {x2, y2}));
  std::set<decltype(key({}, {}))> highlighted;
  for (const auto& [a, b] : view.picture.pieces) highlighted.insert(key(a, b));
  EXPECT_EQ(highlighted, expected);

  // A series path: every piece on it carries the load current (the voltmeter takes next to
  // nothing).
  const double load = std::fabs(*s_sim.store().valueAt("I(R1)", s_sample));
  ASSERT_GT(load, 1.0);
  for (const WirePiece& p : view.pieces) {
    if (p.highlighted) {
      EXPECT_NEAR(std::fabs(p.current), load, 1e-3 * load);
    }
  }

  // The values: a thyristor gives its voltage and current, the voltmeter its voltage alone.
  const auto labelOf = [&](const std::string& name) {
    for (const auto& label : view.picture.labels)
      if (label.element->name() == name) return label.lines;
    return std::vector<std::string>{};
  };
  ASSERT_EQ(labelOf("T1").size(), 2u);
  EXPECT_EQ(labelOf("T1")[1], prefixedValue(*s_sim.store().valueAt("I(T1)", s_sample), "A"));
  EXPECT_EQ(labelOf("V1").size(), 1u);
}

TEST_F(BridgeInstant, TheOverlayColourLiesExactlyUnderTheHighlightedElementsAndWires) {
  ASSERT_GE(s_sample, 0);
  const InstantView view = instantAt(s_schematic, s_sim.store(), s_sample);
  const drawing::ViewSettings settings;
  testing::RecordingCanvas canvas;
  drawing::drawInstant(canvas, s_schematic, settings, 1.0, 0, 0, view.picture, true);

  const double g = settings.grid;
  const auto pixel = [&](GridPoint p) { return drawing::gridToPixel(p, settings); };
  // A figure is near an element when all its points lie within its symbol's reach.
  const auto nearElement = [&](const testing::RecordingCanvas::Figure& f, const model::Element& e) {
    const drawing::CanvasPoint c = pixel(e.position());
    return std::all_of(f.points.begin(), f.points.end(), [&](const drawing::CanvasPoint& p) {
      return std::fabs(p.x - c.x) <= 1.2 * g && std::fabs(p.y - c.y) <= 1.2 * g;
    });
  };
  const auto isPiece = [&](const testing::RecordingCanvas::Figure& f, const Piece& piece) {
    if (f.type != 'l') return false;
    const drawing::CanvasPoint a = pixel(piece.first);
    const drawing::CanvasPoint b = pixel(piece.second);
    const auto same = [](drawing::CanvasPoint p, drawing::CanvasPoint q) {
      return std::fabs(p.x - q.x) < 1e-9 && std::fabs(p.y - q.y) < 1e-9;
    };
    return (same(f.points[0], a) && same(f.points[1], b)) ||
           (same(f.points[0], b) && same(f.points[1], a));
  };

  const auto orange = canvas.inColor(drawing::kInstantColor);
  ASSERT_FALSE(orange.empty());
  std::map<std::string, int> perElement;
  std::set<std::size_t> piecesDrawn;
  for (const auto& f : orange) {
    bool placed = false;
    for (std::size_t i = 0; i < view.picture.pieces.size(); ++i)
      if (isPiece(f, view.picture.pieces[i])) {
        piecesDrawn.insert(i);
        placed = true;
      }
    for (const model::Element* e : view.picture.elements)
      if (nearElement(f, *e)) {
        ++perElement[e->name()];
        placed = true;
      }
    EXPECT_TRUE(placed) << f.type << " at " << f.points[0].x << "," << f.points[0].y;
  }
  EXPECT_EQ(piecesDrawn.size(), view.picture.pieces.size());
  for (const model::Element* e : view.picture.elements) EXPECT_GT(perElement[e->name()], 0);
  // Nothing orange around the valves and the source that carry no current.
  for (const std::string name : {"T3", "T4", "T5", "T6", "Eb", "V1"}) {
    const model::Element* e = s_schematic.findElement(name);
    ASSERT_NE(e, nullptr);
    for (const auto& f : orange) EXPECT_FALSE(nearElement(f, *e) && f.type != 'l') << name;
  }
  // The values are drawn on top, after the whole schematic.
  const auto texts = canvas.ofType('t');
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const auto& t) {
    return t.text == prefixedValue(*s_sim.store().valueAt("U(R1)", s_sample), "V");
  }));
}

TEST(InstantView, PieceCurrentsOfAWireTreeFollowKirchhoff) {
  // E1 feeds R1 (10 Ω) and R2 (5 Ω) in parallel; the bottom return joins at a junction in the
  // middle of a wire.
  model::Schematic s;
  testing::CircuitBuilder b(s);
  b.element(K::Nap, 10, 10, 1, "sin/10/0/50/90");
  b.element(K::Rez, 14, 10, 5, "10");
  b.element(K::Rez, 18, 10, 5, "5");
  for (auto [x1, y1, x2, y2] : {std::array{10, 9, 10, 8},
                                {10, 8, 14, 8},
                                {14, 8, 18, 8},
                                {14, 8, 14, 9},
                                {18, 8, 18, 9},
                                {10, 11, 10, 12},
                                {10, 12, 18, 12},
                                {14, 11, 14, 12},
                                {18, 12, 18, 11}})
    b.wire(x1, y1, x2, y2);
  b.junction(14, 12);
  engine::Simulation sim;
  sim.setSampleCount(200);
  ASSERT_TRUE(sim.transientRun(s, 0, 20e-3, 0).ok());
  const int k = 10;
  const double i1 = std::fabs(*sim.store().valueAt("I(R1)", k));
  ASSERT_GT(i1, 0.1);
  const InstantView view = instantAt(s, sim.store(), k);

  // Signed current from left to right (or top to bottom) of each piece.
  std::map<decltype(key({}, {})), double> along;
  for (const WirePiece& p : view.pieces) {
    const bool forward = p.from.x < p.to.x || (p.from.x == p.to.x && p.from.y < p.to.y);
    along[key(p.from, p.to)] = forward ? p.current : -p.current;
  }
  ASSERT_EQ(along.size(), 10u);  // the bottom wire is split at the junction
  const auto at = [&](int x1, int y1, int x2, int y2) { return along.at(key({x1, y1}, {x2, y2})); };
  const double feed = at(10, 8, 14, 8);
  EXPECT_NEAR(std::fabs(feed), 3 * i1, 1e-6 * i1);
  EXPECT_NEAR(at(14, 8, 18, 8), feed * 2 / 3, 1e-6 * i1);
  EXPECT_NEAR(at(14, 8, 14, 9), feed / 3, 1e-6 * i1);      // down into R1
  EXPECT_NEAR(at(18, 8, 18, 9), feed * 2 / 3, 1e-6 * i1);  // down into R2
  EXPECT_NEAR(at(10, 12, 14, 12), -feed, 1e-6 * i1);       // back to the source
  EXPECT_NEAR(at(14, 12, 18, 12), -feed * 2 / 3, 1e-6 * i1);
  EXPECT_NEAR(at(10, 8, 10, 9), -feed, 1e-6 * i1);  // out of the source's top
  EXPECT_EQ(view.picture.pieces.size(), 10u);
  EXPECT_EQ(view.picture.elements.size(), 3u);
}

TEST(InstantView, ValuesCarryPrefixesAndADecimalComma) {
  EXPECT_EQ(prefixedValue(12.345, "V"), "12,3 V");
  EXPECT_EQ(prefixedValue(-0.004567, "A"), "\u22124,57 mA");
  EXPECT_EQ(prefixedValue(0.01235, "s", 4), "12,35 ms");
  EXPECT_EQ(prefixedValue(999.96, "V"), "1 kV");
  EXPECT_EQ(prefixedValue(0.0, "A"), "0 A");
  EXPECT_EQ(prefixedValue(0.05, "s", 4), "50 ms");
}

}  // namespace
}  // namespace wolterix::editor
