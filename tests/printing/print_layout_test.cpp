#include "printing/print_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "drawing/symbols.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"
#include "support/recording_canvas.h"

namespace {

using namespace wolterix::printing;
using namespace wolterix::drawing;
using wolterix::model::ElementKind;
using wolterix::model::GridPoint;
using wolterix::model::Schematic;
using wolterix::testing::CircuitBuilder;
using wolterix::testing::RecordingCanvas;

PageMetrics a4(bool landscape = false) {
  PageMetrics page;
  page.pageWidth = landscape ? 7016 : 4800;
  page.pageHeight = landscape ? 4800 : 7016;
  page.landscape = landscape;
  page.screenWidth = 1024;
  page.screenHeight = 768;
  return page;
}

TEST(PrintLayout, ScalesFollowThePageWidth) {
  PrintLayout layout(a4());
  EXPECT_EQ(layout.scale(), 7);
  EXPECT_EQ(layout.scaleMinimum(), 3);
  EXPECT_EQ(layout.scaleMaximum(), 10);
  for (int i = 0; i < 5; ++i) layout.enlargeSchematic();
  EXPECT_EQ(layout.scale(), 10);
  for (int i = 0; i < 10; ++i) layout.reduceSchematic();
  EXPECT_EQ(layout.scale(), 3);
  EXPECT_FALSE(PrintLayout(std::nullopt).noPrinter() == false);
}

TEST(PrintLayout, ExtentOfTheSchematic) {
  Schematic empty;
  EXPECT_EQ(schematicExtent(empty).size, (GridPoint{0, 0}));
  Schematic one;
  CircuitBuilder(one).element(ElementKind::Rez, 10, 10);
  EXPECT_EQ(schematicExtent(one).size, (GridPoint{1, 1}));
  EXPECT_EQ(schematicExtent(one).min, (GridPoint{10, 10}));
  CircuitBuilder(one).wire(20, 5, 20, 15);
  CircuitBuilder(one).element(ElementKind::BJT, 30, 10);  // its base at (30, 11) counts
  EXPECT_EQ(schematicExtent(one).min, (GridPoint{10, 5}));
  EXPECT_EQ(schematicExtent(one).size, (GridPoint{20, 10}));
}

TEST(PrintLayout, PlotFrameHalvesInFiveStepsAndComesBack) {
  PrintLayout layout(a4());
  const int full = layout.plotFrame().width;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(layout.reducePlot());
  EXPECT_FALSE(layout.reducePlot());
  EXPECT_EQ(layout.plotStep(), 5);
  EXPECT_NEAR(layout.plotFrame().width, full / 2, 1);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(layout.enlargePlot());
  EXPECT_FALSE(layout.enlargePlot());
  EXPECT_EQ(layout.plotFrame().width, full);
}

// A drawing of 400 x 200 device pixels per unit of scale, its corner left of and above the
// origin as names and terminal marks are.
DrawnBoundsAt box400x200() {
  return [](int scale) {
    return PageBox{-10.0 * scale, -5.0 * scale, 390.0 * scale, 195.0 * scale};
  };
}

TEST(PrintLayout, PreviewInPortraitAndLandscape) {
  PrintLayout portrait(a4());
  portrait.setSchematic(box400x200());
  EXPECT_EQ(portrait.schematicFrame().width, 123);  // 2800 of 4800 page pixels, rounded up
  EXPECT_EQ(portrait.schematicFrame().height, 60);  // 1400 of 7016
  // The miniature shows a landscape page turned upright: width and height change places.
  PrintLayout landscape(a4(true));
  landscape.setSchematic(box400x200());
  EXPECT_EQ(landscape.schematicFrame().width, 88);    // 2000 of 4800
  EXPECT_EQ(landscape.schematicFrame().height, 170);  // 4000 of 7016
  PrintLayout empty(a4());
  empty.setSchematic([](int) { return PageBox{}; });
  EXPECT_EQ(empty.schematicFrame().width, 0);
}

TEST(PrintLayout, FramesStayInsideThePage) {
  PrintLayout layout(a4());
  layout.setSchematic(box400x200());
  EXPECT_TRUE(layout.moveSchematic(Move::Up));  // from 10 to 5
  EXPECT_FALSE(layout.moveSchematic(Move::Up));
  EXPECT_TRUE(layout.moveSchematic(Move::Left));
  EXPECT_FALSE(layout.moveSchematic(Move::Left));
  int moves = 0;
  while (layout.moveSchematic(Move::Right)) ++moves;
  EXPECT_LT(layout.schematicFrame().right(), PrintLayout::kMiniatureWidth);
  EXPECT_GT(moves, 0);
  // At (5, 5) of the miniature the corner of the drawing is the corner of the frame.
  PrintLayout corner(a4());
  corner.setSchematic(box400x200());
  corner.moveSchematic(Move::Up);
  corner.moveSchematic(Move::Left);
  const auto [dx, dy] = corner.schematicOffset();
  EXPECT_EQ(dx, static_cast<int>(std::ceil(4800 * 5.0 / 210 + 70)));
  EXPECT_EQ(dy, static_cast<int>(std::ceil(7016 * 5.0 / 297 + 35)));
}

TEST(PrintLayout, ScaleReadout) {
  PageMetrics page = a4();
  page.dotsPerInch = 600;
  PrintLayout layout(page);
  EXPECT_EQ(layout.schematicScaleText(20), "Skala: 7 (3–10)\nKrok siatki: 5,9 mm");
  layout.enlargeSchematic();
  EXPECT_EQ(layout.schematicScaleText(20), "Skala: 8 (3–10)\nKrok siatki: 6,8 mm");
  EXPECT_EQ(layout.plotScaleText(), "Skala: 100 %");
  layout.reducePlot();
  EXPECT_EQ(layout.plotScaleText(), "Skala: 90 %");
}

struct PageRect {
  double left, top, right, bottom;
};

// Where a frame of the miniature lies on the page; a landscape page is shown turned upright,
// its top edge on the right of the miniature.
PageRect onPage(const PrintLayout& layout, const MiniRect& f) {
  const MiniRect& m = layout.miniature();
  const double pw = layout.page().pageWidth;
  const double ph = layout.page().pageHeight;
  if (!layout.page().landscape)
    return {pw * (f.left - m.left) / m.width, ph * (f.top - m.top) / m.height,
            pw * (f.right() - m.left) / m.width, ph * (f.bottom() - m.top) / m.height};
  return {pw * (f.top - m.top) / m.height, ph * (m.right() - f.right()) / m.width,
          pw * (f.bottom() - m.top) / m.height, ph * (m.right() - f.left) / m.width};
}

// Pushed into a corner of the miniature (on a landscape page the bottom-right corner of the
// miniature is the top-right corner of the page, so the opposite corner is tried as well), the
// frame still holds every stroke and every text of the printout.
TEST(PrintLayout, EverythingDrawnLiesInsideTheFrameAtTheFarCorner) {
  Schematic s;
  ASSERT_TRUE(wolterix::model::openSchematicFile(s, WOLTERIX_TEST_DATA "/all_kinds.wtx").ok());
  for (const auto& e : s.elements()) e->showName = e->showVoltage = e->showCurrent = true;
  for (const auto& [landscape, far] :
       {std::pair{false, true}, std::pair{true, true}, std::pair{true, false}}) {
    SCOPED_TRACE(std::string(landscape ? "landscape" : "portrait") + (far ? " far" : " near"));
    ViewSettings view;
    view.printer = true;
    view.printerPen = printedLineWidth(600);
    RecordingCanvas canvas;
    PrintLayout layout(a4(landscape));
    layout.setSchematic([&](int scale) { return drawnBounds(s, view, scale, canvas); });
    // As the user would, make the frame small enough to fit on the page first.
    const MiniRect& frame = layout.schematicFrame();
    while ((frame.right() >= PrintLayout::kMiniatureWidth ||
            frame.bottom() >= PrintLayout::kMiniatureHeight) &&
           layout.reduceSchematic()) {
    }
    while (layout.moveSchematic(far ? Move::Down : Move::Up)) {
    }
    while (layout.moveSchematic(far ? Move::Right : Move::Left)) {
    }
    const auto [dx, dy] = layout.schematicOffset();
    drawSchematic(canvas, s, view, layout.scale(), dx, dy);
    const auto drawn = canvas.paintedBox();
    const PageRect onPaper = onPage(layout, frame);
    EXPECT_GE(drawn.left, onPaper.left);
    EXPECT_GE(drawn.top, onPaper.top);
    EXPECT_LE(drawn.right, onPaper.right);
    EXPECT_LE(drawn.bottom, onPaper.bottom);
    EXPECT_GE(onPaper.left, 0);
    EXPECT_GE(onPaper.top, 0);
    EXPECT_LE(onPaper.right, layout.page().pageWidth);
    EXPECT_LE(onPaper.bottom, layout.page().pageHeight);
  }
}

}  // namespace
