#pragma once
/// Placing the schematic (and a plot) on the printed page: the arithmetic of the print dialog,
/// without widgets.

#include <functional>
#include <optional>
#include <string>

#include "drawing/symbols.h"
#include "model/grid.h"

namespace wolterix::model {
class Schematic;
}

namespace wolterix::printing {

/// The printable area of the printer in device pixels and the screen the plots come from.
struct PageMetrics {
  int pageWidth = 0;
  int pageHeight = 0;
  bool landscape = false;
  int dotsPerInch = 600;
  int screenWidth = 1024;
  int screenHeight = 768;
};

/// The smallest grid point of the schematic (wire ends, junctions, element centres and the
/// further terminals of multi-terminal kinds) and its size in grid steps (each at least 1;
/// (0, 0) for an empty schematic).
struct SchematicExtent {
  model::GridPoint min{0, 0};
  model::GridPoint size{0, 0};
};
SchematicExtent schematicExtent(const model::Schematic& schematic);

int roundHalfUp(double value);

/// A box on the page in device pixels.
struct PageBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  bool empty() const { return !(left < right && top < bottom); }
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

/// Everything drawSchematic paints with this view and scale at no offset: every stroke with
/// its pen, every text as the metrics measure it. Empty for an empty schematic.
PageBox drawnBounds(const model::Schematic& schematic, const drawing::ViewSettings& view,
                    double scale, const drawing::TextMetrics& metrics);

/// What the schematic covers on the page at a given schematic scale, drawn at no offset.
using DrawnBoundsAt = std::function<PageBox(int scale)>;

/// A rectangle of the page miniature, in miniature pixels.
struct MiniRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

enum class Move { Up, Down, Left, Right };

/// The state of the print dialog: the page miniature with the schematic and plot frames.
class PrintLayout {
 public:
  static constexpr int kMiniatureWidth = 210;
  static constexpr int kMiniatureHeight = 297;

  /// Without page metrics there is no printer and printing stays disabled.
  explicit PrintLayout(std::optional<PageMetrics> page);

  bool noPrinter() const { return !m_page; }
  const PageMetrics& page() const { return *m_page; }
  void setPage(const PageMetrics& page);

  int scale() const { return m_scale; }
  int scaleMinimum() const { return m_scaleMin; }
  int scaleMaximum() const { return m_scaleMax; }
  int plotStep() const { return m_plotStep; }
  double plotScale() const { return (1.0 - 0.1 * m_plotStep) * m_plotBase; }

  const MiniRect& miniature() const { return m_miniature; }
  const MiniRect& schematicFrame() const { return m_schematic; }
  const MiniRect& plotFrame() const { return m_plot; }

  /// What the schematic covers; the frame is sized over it so that the miniature shows what
  /// prints.
  void setSchematic(DrawnBoundsAt bounds);
  /// Recomputes the frame sizes from the scales, the page and its orientation.
  void recompute();

  bool moveSchematic(Move move) { return moveFrame(m_schematic, move); }
  bool movePlot(Move move) { return moveFrame(m_plot, move); }
  bool enlargeSchematic();
  bool reduceSchematic();
  bool enlargePlot();
  bool reducePlot();

  /// Offset of the schematic on the page, in device pixels, that puts everything it draws
  /// inside the frame.
  std::pair<int, int> schematicOffset() const;
  /// The scale as the dialog reads it out: the scale, its range and the printed grid step.
  std::string schematicScaleText(int grid) const;
  std::string plotScaleText() const;
  /// Where the plot lies on the page, in device pixels: left, top, width, height.
  struct PageRect {
    double left, top, width, height;
  };
  PageRect plotRect() const;

 private:
  bool moveFrame(MiniRect& frame, Move move);

  std::optional<PageMetrics> m_page;
  MiniRect m_miniature{0, 0, kMiniatureWidth, kMiniatureHeight};
  MiniRect m_schematic{10, 10, 0, 0};
  MiniRect m_plot{10, 140, 0, 0};
  int m_scale = 1;
  int m_scaleMin = 1;
  int m_scaleMax = 1;
  double m_plotBase = 1.0;
  int m_plotStep = 0;
  DrawnBoundsAt m_bounds;
  PageBox m_drawn;  ///< m_bounds at the current scale
};

}  // namespace wolterix::printing
