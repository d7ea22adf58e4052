#include "drawing/symbols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/element.h"
#include "model/machine_elements.h"
#include "model/schematic.h"
#include "model/source_elements.h"
#include "model/switching_elements.h"
#include "support/recording_canvas.h"

namespace wolterix::drawing {
namespace {

using model::ElementKind;
using model::GridPoint;

using wolterix::testing::RecordingCanvas;

model::Element& place(model::Schematic& s, ElementKind kind, GridPoint p, int orientation = 3) {
  EXPECT_TRUE(s.addObject(static_cast<int>(kind), p, p, false));
  auto& e = dynamic_cast<model::Element&>(*s.lastCreated());
  if (orientation != 3) e.rotate(s.occupancy(), orientation - 3);
  return e;
}

TEST(CanvasGeometry, SurfaceSizeFollowsGridAndZoom) {
  ViewSettings view;
  EXPECT_EQ(canvasSize(view), (CanvasSize{2040, 2040}));
  view.grid = 24;
  EXPECT_EQ(canvasSize(view), (CanvasSize{2448, 2448}));
  view.zoom = 4;
  EXPECT_EQ(canvasSize(view), (CanvasSize{9792, 9792}));
}

TEST(CanvasGeometry, PrinterPutsEveryPointOneGridStepUpAndLeft) {
  ViewSettings view;
  view.grid = 18;
  const CanvasPoint screen = gridToPixel({4, 7}, view);
  view.printer = true;
  const CanvasPoint printer = gridToPixel({4, 7}, view);
  EXPECT_DOUBLE_EQ(screen.x, 90);
  EXPECT_DOUBLE_EQ(screen.y, 144);
  EXPECT_DOUBLE_EQ(printer.x, 72);
  EXPECT_DOUBLE_EQ(printer.y, 126);
}

TEST(CanvasGeometry, MouseSnapsToNearestPointWithHalvesGoingUp) {
  ViewSettings view;  // g = 20, z = 1: point x sits at (x + 1) * 20
  struct Case {
    double px;
    int expected;
  };
  for (const Case c : {Case{20, 0}, Case{29.9, 0}, Case{30, 1}, Case{10, 0}, Case{9.9, -1},
                       Case{0, -1}, Case{2040, 101}})
    EXPECT_EQ(pixelToGrid(c.px, c.px, view), (GridPoint{c.expected, c.expected})) << c.px;
  view.zoom = 2;
  EXPECT_EQ(pixelToGrid(2 * 20 * 51, 2 * 20 * 1 + 19, view), (GridPoint{50, 0}));
  EXPECT_EQ(pixelToGrid(2 * 20 * 51, 2 * 20 * 1 + 20, view), (GridPoint{50, 1}));
}

TEST(CanvasGeometry, PenAndFontFollowZoom) {
  ViewSettings view;
  EXPECT_EQ(penWidth(view), 1);
  view.zoom = 2;
  EXPECT_EQ(penWidth(view), 1);
  EXPECT_GT(fontPixelSize(view, 2), fontPixelSize(ViewSettings{}, 1));
  view.zoom = 3;
  EXPECT_EQ(penWidth(view), 2);
  view.printer = true;
  view.zoom = 1;
  EXPECT_EQ(penWidth(view), 2);
  EXPECT_DOUBLE_EQ(fontPixelSize(view, 6), 6 * fontPixelSize(ViewSettings{}, 1));
}

TEST(LabelCodes, EveryRangeOfTheTable) {
  struct Case {
    int code;
    double w, h, s;
    int g;
    double expected;
  };
  const Case cases[] = {
      {1000, 30, 13, 2, 20, -15},  // centred
      {8, 30, 13, 2, 20, 16},      // plain offset, scaled
      {-5, 30, 13, 3, 20, -15},
      {-18, 30, 13, 1, 20, -6 - 13},       // above: text ends 6 px above the centre
      {2007, 20, 13, 1, 20, -7 - 20},      // left of the centre by its width
      {3003, 20, 13, 1, 20, 13 + 11},      // below a two-winding block
      {-3014, 20, 13, 1, 20, -34},         // above it
      {-4002, 20, 13, 2, 20, -(20 + 44)},  // left of it
      {4002, 20, 13, 1, 24, 20 + 26},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(decodeLabelCode(c.code, c.w, c.h, c.s, c.g), c.expected) << c.code;
}

TEST(GridDots, OnlyFreePointsAndOnlyOnScreenWithTheGridShown) {
  model::Schematic s;
  ASSERT_TRUE(s.addObject(model::kWireKind, {10, 10}, {12, 10}, false));
  ViewSettings view;
  RecordingCanvas canvas;
  drawSchematic(canvas, s, view, 1, 0, 0);
  const auto dots = canvas.ofType('p');
  EXPECT_EQ(dots.size(), 101u * 101u - 3u);
  const CanvasPoint covered = gridToPixel({11, 10}, view);
  EXPECT_TRUE(std::none_of(dots.begin(), dots.end(), [&](const auto& f) {
    return f.points[0].x == covered.x && f.points[0].y == covered.y;
  }));

  s.destroy(s.wires().front().get());
  RecordingCanvas again;
  drawSchematic(again, s, view, 1, 0, 0);
  EXPECT_EQ(again.ofType('p').size(), 101u * 101u);

  view.showGrid = false;
  RecordingCanvas hidden;
  drawSchematic(hidden, s, view, 1, 0, 0);
  EXPECT_TRUE(hidden.ofType('p').empty());

  view.showGrid = true;
  view.printer = true;
  RecordingCanvas printed;
  drawSchematic(printed, s, view, 1, 0, 0);
  EXPECT_TRUE(printed.ofType('p').empty());
}

TEST(Colours, SelectionIsRedOnScreenOnly) {
  model::Schematic s;
  place(s, ElementKind::Rez, {5, 5}).selected = true;
  ASSERT_TRUE(s.addObject(model::kJunctionKind, {9, 9}, {9, 9}, false));
  s.junctions().front()->selected = false;
  ViewSettings view;
  view.showGrid = false;
  RecordingCanvas screen;
  drawSchematic(screen, s, view, 1, 0, 0);
  EXPECT_FALSE(screen.inColor(colors::kRed).empty());
  EXPECT_EQ(screen.inColor(colors::kBlack).size(), 1u);  // the junction's disc

  s.elements().front()->selected = false;
  RecordingCanvas unselected;
  drawSchematic(unselected, s, view, 1, 0, 0);
  EXPECT_TRUE(unselected.inColor(colors::kRed).empty());

  s.elements().front()->selected = true;
  view.printer = true;
  RecordingCanvas printed;
  drawSchematic(printed, s, view, 1, 0, 0);
  EXPECT_TRUE(printed.inColor(colors::kRed).empty());
}

TEST(Printing, SameFiguresOneGridStepUpAndLeft) {
  model::Schematic s;
  place(s, ElementKind::Dio, {5, 6}, 1).showName = true;
  ASSERT_TRUE(s.addObject(model::kWireKind, {6, 5}, {6, 9}, false));
  for (const auto& e : s.elements()) e->selected = false;
  for (const auto& w : s.wires()) w->selected = false;
  ViewSettings view;
  view.showGrid = false;
  const double scale = 3;
  RecordingCanvas screen;
  drawSchematic(screen, s, view, scale, 7, 11);
  view.printer = true;
  RecordingCanvas printed;
  drawSchematic(printed, s, view, scale, 7, 11);
  ASSERT_EQ(screen.figures.size(), printed.figures.size());
  const double shift = view.grid * scale;
  for (std::size_t i = 0; i < screen.figures.size(); ++i) {
    ASSERT_EQ(screen.figures[i].points.size(), printed.figures[i].points.size());
    if (screen.figures[i].type == 't') {  // the printer's font is larger; the anchor is not
      EXPECT_EQ(screen.figures[i].text, printed.figures[i].text);
      continue;
    }
    for (std::size_t k = 0; k < screen.figures[i].points.size(); ++k) {
      EXPECT_NEAR(screen.figures[i].points[k].x - shift, printed.figures[i].points[k].x, 1e-9);
      EXPECT_NEAR(screen.figures[i].points[k].y - shift, printed.figures[i].points[k].y, 1e-9);
    }
  }
}

// Every kind, every orientation, two grid sizes and two scales: something is drawn, and the
// symbol without its arrows and name stays inside P +- one grid step (the 3 x 3 block).
TEST(Symbols, EveryKindStaysInsideItsFootprint) {
  for (const model::KindInfo& info : model::allKinds()) {
    for (int orientation : {1, 3, 5, 7}) {
      for (int grid : {16, 24}) {
        for (double scale : {1.0, 2.0}) {
          model::Schematic s;
          model::Element& e = place(s, info.kind, {50, 50}, orientation);
          ViewSettings view;
          view.grid = grid;
          view.showGrid = false;
          RecordingCanvas canvas;
          drawSchematic(canvas, s, view, scale, 0, 0);
          SCOPED_TRACE(std::string(info.code) + " o=" + std::to_string(orientation) +
                       " g=" + std::to_string(grid) + " s=" + std::to_string(scale));
          ASSERT_GE(canvas.figures.size(), 3u);
          const CanvasPoint c = gridToPixel(e.position(), view);
          const double reach = grid * scale + 1.5 * scale;  // terminal marks are circles
          for (const auto& figure : canvas.figures)
            for (const CanvasPoint& p : figure.points) {
              EXPECT_LE(std::abs(p.x - scale * c.x), reach) << figure.type;
              EXPECT_LE(std::abs(p.y - scale * c.y), reach) << figure.type;
            }
        }
      }
    }
  }
}

TEST(Symbols, TerminalMarksSitOnEveryTerminal) {
  for (const model::KindInfo& info : model::allKinds()) {
    model::Schematic s;
    model::Element& e = place(s, info.kind, {20, 30}, 7);
    ViewSettings view;
    view.showGrid = false;
    RecordingCanvas canvas;
    drawSchematic(canvas, s, view, 2, 0, 0);
    const auto ellipses = canvas.ofType('e');
    for (int i = 0; i < e.terminalCount(); ++i) {
      const CanvasPoint t = gridToPixel(e.terminalPoint(i), view);
      EXPECT_TRUE(std::any_of(ellipses.begin(), ellipses.end(),
                              [&](const auto& f) {
                                return (f.points[0].x + f.points[1].x) / 2 == 2 * t.x &&
                                       (f.points[0].y + f.points[1].y) / 2 == 2 * t.y;
                              }))
          << info.code << " terminal " << i;
    }
  }
}

// Figures of a symbol as text, to tell variants of one kind apart.
std::string picture(model::Schematic& s) {
  ViewSettings view;
  view.showGrid = false;
  RecordingCanvas canvas;
  drawSchematic(canvas, s, view, 1, 0, 0);
  std::string text;
  for (const auto& f : canvas.figures)
    for (const CanvasPoint& p : f.points)
      text += f.type + std::to_string(p.x) + ',' + std::to_string(p.y) + ';';
  return text;
}

TEST(Symbols, VariantsOfOneKindLookDifferent) {
  model::Schematic s;
  auto& bjt = dynamic_cast<model::TranzystorBJT&>(place(s, ElementKind::BJT, {5, 5}));
  const std::string npn = picture(s);
  bjt.setNpn(false);
  EXPECT_NE(picture(s), npn);

  model::Schematic t;
  auto& sw = dynamic_cast<model::Wylacznik&>(place(t, ElementKind::wyl, {5, 5}));
  const std::string open = picture(t);
  sw.setInitiallyOn(true);
  EXPECT_NE(picture(t), open);

  model::Schematic u;
  auto& source = dynamic_cast<model::IndependentSource&>(place(u, ElementKind::Nap, {5, 5}));
  std::vector<std::string> pictures;
  for (auto w : {model::Waveform::Constant, model::Waveform::Sine, model::Waveform::Square,
                 model::Waveform::Triangle, model::Waveform::Sawtooth}) {
    source.setWaveform(w);
    pictures.push_back(picture(u));
  }
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(std::unique(pictures.begin(), pictures.end()), pictures.end());
}

// The voltage arrow runs 12 px beside the axis, away from the label point, its tip 3 px inside
// T1 with the direction flag set; the current arrow's tip sits on the lead 3 px inside T2.
TEST(Arrows, SideAndDirection) {
  for (int orientation : {1, 3, 5, 7}) {
    for (bool direction : {true, false}) {
      model::Schematic s;
      model::Element& e = place(s, ElementKind::Rez, {10, 10}, orientation);
      e.showVoltage = true;
      e.showCurrent = true;
      e.voltageDirection = direction;
      e.setCurrentDirection(direction);
      ViewSettings view;
      view.showGrid = false;
      RecordingCanvas canvas;
      drawSchematic(canvas, s, view, 1, 0, 0);
      const CanvasPoint c = gridToPixel(e.position(), view);
      const GridPoint d = model::orientationDirection(orientation);
      const GridPoint across = e.labelPoint() - e.position();
      const double along = 17;  // g - 3

      const auto blue = canvas.inColor(colors::kBlue);
      ASSERT_EQ(blue.size(), 3u);  // shaft and two strokes of the head
      const double vTip = direction ? along : -along;
      const CanvasPoint shaftTip{c.x - 12 * across.x + vTip * d.x,
                                 c.y - 12 * across.y + vTip * d.y};
      EXPECT_NEAR(blue[1].points[0].x, shaftTip.x, 1e-9) << orientation;
      EXPECT_NEAR(blue[1].points[0].y, shaftTip.y, 1e-9) << orientation;

      const auto maroon = canvas.inColor(colors::kMaroon);
      ASSERT_EQ(maroon.size(), 2u);
      const double iTip = direction ? -along : along;
      EXPECT_NEAR(maroon[0].points[0].x, c.x + iTip * d.x, 1e-9);
      EXPECT_NEAR(maroon[0].points[0].y, c.y + iTip * d.y, 1e-9);
    }
  }
}

TEST(Arrows, SwappedTransistorKeepsItsArrowsOnCollectorAndEmitter) {
  model::Schematic s;
  model::Element& e = place(s, ElementKind::BJT, {10, 10});
  e.showVoltage = true;
  ViewSettings view;
  view.showGrid = false;
  RecordingCanvas plain;
  drawSchematic(plain, s, view, 1, 0, 0);
  e.setTerminalsSwapped(s.occupancy(), true);
  RecordingCanvas swapped;
  drawSchematic(swapped, s, view, 1, 0, 0);
  const auto a = plain.inColor(colors::kBlue);
  const auto b = swapped.inColor(colors::kBlue);
  ASSERT_EQ(a.size(), 3u);
  ASSERT_EQ(b.size(), 3u);
  // Orientation 3: T1 left of the centre. Swapping sends the tip to the other end.
  const double centre = gridToPixel(e.position(), view).x;
  EXPECT_LT(a[1].points[0].x, centre);
  EXPECT_GT(b[1].points[0].x, centre);
}

TEST(Names, PlacedByTheLabelTableOnlyWhenShown) {
  model::Schematic s;
  model::Element& e = place(s, ElementKind::Rez, {10, 10});
  ASSERT_TRUE(e.setName("R12"));
  ViewSettings view;
  view.showGrid = false;
  RecordingCanvas hidden;
  drawSchematic(hidden, s, view, 2, 0, 0);
  EXPECT_TRUE(hidden.ofType('t').empty());

  e.showName = true;
  RecordingCanvas shown;
  drawSchematic(shown, s, view, 2, 5, 0);
  const auto texts = shown.ofType('t');
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "R12");
  EXPECT_EQ(texts[0].color, colors::kNavy);
  const CanvasPoint c = gridToPixel(e.position(), view);
  const double w = 0.5 * fontPixelSize(view, 2) * 3;
  EXPECT_DOUBLE_EQ(texts[0].points[0].x, 5 + 2 * c.x - w / 2);  // (1000, 6) at o = 3
  EXPECT_DOUBLE_EQ(texts[0].points[0].y, 2 * c.y + 2 * 6);
}

// The label table puts names 8 px (10 px for the transistor) beside the centre across the
// axis; a round body must end short of that, pen included, or the name runs into it.
TEST(Names, ClearOfRoundBodiesAtEveryOrientationAndZoom) {
  for (ElementKind kind : {ElementKind::Nap, ElementKind::Prd, ElementKind::sDC, ElementKind::mmV,
                           ElementKind::mmA, ElementKind::mmW, ElementKind::TrM}) {
    for (int orientation : {1, 3, 5, 7}) {
      for (int zoom : {1, 2}) {
        model::Schematic s;
        place(s, kind, {10, 10}, orientation).showName = true;
        ViewSettings view;
        view.zoom = zoom;
        view.showGrid = false;
        RecordingCanvas canvas;
        drawSchematic(canvas, s, view, zoom, 0, 0);
        SCOPED_TRACE(std::string(model::kindInfo(kind).code) + " o=" + std::to_string(orientation) +
                     " zoom=" + std::to_string(zoom));
        const auto texts = canvas.ofType('t');
        const auto name = std::find_if(texts.begin(), texts.end(),
                                       [](const auto& t) { return t.color == colors::kNavy; });
        ASSERT_NE(name, texts.end());
        // The body is the largest circle; terminal marks and polarity dots are small ones.
        const auto ellipses = canvas.ofType('e');
        const auto body = std::max_element(ellipses.begin(), ellipses.end(), [](auto& a, auto& b) {
          return a.points[1].x - a.points[0].x < b.points[1].x - b.points[0].x;
        });
        ASSERT_NE(body, ellipses.end());
        const double cx = (body->points[0].x + body->points[1].x) / 2;
        const double cy = (body->points[0].y + body->points[1].y) / 2;
        const double reach = (body->points[1].x - body->points[0].x) / 2 + body->penWidth / 2;
        const CanvasPoint a = name->points[0];
        const CanvasPoint b = name->points[1];
        const double nearestX = std::clamp(cx, a.x, b.x);
        const double nearestY = std::clamp(cy, a.y, b.y);
        EXPECT_GT(std::hypot(nearestX - cx, nearestY - cy), reach);
      }
    }
  }
}

TEST(Drawing, ObjectsBeingMovedAreLeftOut) {
  model::Schematic s;
  place(s, ElementKind::Rez, {10, 10}).drawn = false;
  ViewSettings view;
  view.showGrid = false;
  RecordingCanvas canvas;
  drawSchematic(canvas, s, view, 1, 0, 0);
  EXPECT_TRUE(canvas.figures.empty());
}

}  // namespace
}  // namespace wolterix::drawing
