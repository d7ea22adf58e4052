#pragma once
/// The schematic artwork: grid, wires, junctions and the symbols of all element kinds, drawn
/// on any Canvas (screen, printer, SVG export).

#include "drawing/canvas.h"
#include "model/grid.h"

namespace wolterix::model {
class Element;
class Schematic;
}  // namespace wolterix::model

namespace wolterix::drawing {

/// How the schematic is shown: the view options of the main window, or the printer.
struct ViewSettings {
  int grid = 20;  ///< grid step g in pixels: 16, 18, 20, 22 or 24
  int zoom = 1;   ///< 1..4 (100 % .. 400 %)
  bool showGrid = true;
  Color background{0, 255, 0};  ///< window colour; the body fill on screen
  bool printer = false;         ///< printer rule: no grid offset, white fill, black outlines
  double printerPen = 2.0;      ///< printed line width in device pixels (see printedLineWidth)
};

struct CanvasSize {
  int width = 0;
  int height = 0;
  friend bool operator==(CanvasSize, CanvasSize) = default;
};

/// Size of the screen drawing surface: z * g * 102 pixels square.
CanvasSize canvasSize(const ViewSettings& view);

/// Unscaled pixel position of a grid point: ((x+1)g, (y+1)g) on screen, (xg, yg) on the
/// printer. The canvas point is then (dx + s*px, dy + s*py).
CanvasPoint gridToPixel(model::GridPoint p, const ViewSettings& view);

/// Grid point nearest to a mouse position on the screen surface (halves round up). The
/// result may lie outside 0..100; callers check it.
model::GridPoint pixelToGrid(double px, double py, const ViewSettings& view);

/// Pen width in canvas pixels: 1 at zoom 1-2, 2 at zoom 3-4, the view's printer pen on paper.
double penWidth(const ViewSettings& view);

/// Width in device pixels of a line about 0.3 mm wide on a device of this resolution.
double printedLineWidth(double dotsPerInch);

/// Font pixel size for names: 8, 10, 12, 14 points at zoom 1-4 on a 96 dpi screen; on the
/// printer the zoom-1 size times the scale, so text keeps its size relative to the symbols.
double fontPixelSize(const ViewSettings& view, double scale);

/// Offset of a name from the element's centre for one label code (x or y code of the
/// catalogue's label table), given the text's width w and height h on the target canvas.
double decodeLabelCode(int code, double w, double h, double scale, int grid);

/// Draws the whole schematic: grid dots (screen, grid shown, free points only), then wires,
/// junctions and elements in list order. Canvas point = (dx + s*px, dy + s*py).
void drawSchematic(Canvas& canvas, const model::Schematic& schematic, const ViewSettings& view,
                   double scale, double dx, double dy);

/// Draws one element with its terminal marks and its shown arrows and name.
void drawElement(Canvas& canvas, const model::Element& element, const ViewSettings& view,
                 double scale, double dx, double dy);

}  // namespace wolterix::drawing
