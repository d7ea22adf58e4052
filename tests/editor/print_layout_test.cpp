#include <gtest/gtest.h>

#include "editor/print_layout.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::editor;
using wolterix::model::ElementKind;
using wolterix::model::GridPoint;
using wolterix::model::Schematic;
using wolterix::testing::CircuitBuilder;

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

TEST(PrintLayout, PreviewInPortraitAndLandscape) {
  PrintLayout portrait(a4());
  portrait.setSchematic({20, 10}, 20);  // 400 x 200 schematic pixels
  EXPECT_EQ(portrait.schematicFrame().width, 7 * 400 * 210 / 4800);
  EXPECT_EQ(portrait.schematicFrame().height, 7 * 200 * 297 / 7016);
  PrintLayout landscape(a4(true));
  landscape.setSchematic({20, 10}, 20);
  EXPECT_EQ(landscape.schematicFrame().width, 10 * 200 * 210 / 4800);
  EXPECT_EQ(landscape.schematicFrame().height, 10 * 400 * 297 / 7016);
}

TEST(PrintLayout, FramesStayInsideThePage) {
  PrintLayout layout(a4());
  layout.setSchematic({20, 10}, 20);
  EXPECT_TRUE(layout.moveSchematic(Move::Up));  // from 10 to 5
  EXPECT_FALSE(layout.moveSchematic(Move::Up));
  EXPECT_TRUE(layout.moveSchematic(Move::Left));
  EXPECT_FALSE(layout.moveSchematic(Move::Left));
  int moves = 0;
  while (layout.moveSchematic(Move::Right)) ++moves;
  EXPECT_LT(layout.schematicFrame().right(), PrintLayout::kMiniatureWidth);
  EXPECT_GT(moves, 0);
  // At (5, 5) of the miniature the drawing begins one grid step inside its frame.
  PrintLayout corner(a4());
  corner.moveSchematic(Move::Up);
  corner.moveSchematic(Move::Left);
  const auto [dx, dy] = corner.schematicOffset({10, 10}, 20);
  EXPECT_EQ(dx, static_cast<int>(4800 * 5.0 / 210 - 20.0 * 10 * 7 + 20 * 7));
  EXPECT_EQ(dy, static_cast<int>(7016 * 5.0 / 297 - 20.0 * 10 * 7 + 20 * 7));
}

}  // namespace
