#pragma once
/// The drawing surface that the schematic artwork is written against: screen, printer and SVG.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace wolterix::drawing {

/// An opaque RGB colour.
struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend constexpr bool operator==(Color, Color) = default;
};

namespace colors {
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kMaroon{128, 0, 0};
inline constexpr Color kNavy{0, 0, 128};
inline constexpr Color kLime{0, 255, 0};
}  // namespace colors

enum class PenStyle { Solid, Dot, Dash };

/// Outline of figures, lines and the colour of text.
struct Pen {
  Color color{};
  double width = 1.0;  ///< in canvas pixels
  PenStyle style = PenStyle::Solid;
  /// On a scaled surface (the printer) the width stays in device pixels.
  bool cosmetic = false;

  friend bool operator==(const Pen&, const Pen&) = default;
};

/// Interior of closed figures; a brush without fill leaves them hollow.
struct Brush {
  bool filled = false;
  Color color{};

  static constexpr Brush none() { return {}; }
  static constexpr Brush solid(Color c) { return {true, c}; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

struct CanvasPoint {
  double x = 0.0;
  double y = 0.0;
};

/// How big a text comes out on a surface, in its pixels.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual double textWidth(std::string_view utf8, double pixelSize) const = 0;
  virtual double textHeight(std::string_view utf8, double pixelSize) const = 0;
};

/// A drawing surface. Coordinates are canvas pixels (doubles), y grows downward. Figures are
/// geometric: a rectangle or ellipse given by the corners (x1, y1), (x2, y2) has its outline
/// exactly on that box, and a line includes both end points.
class Canvas : public TextMetrics {
 public:
  virtual void setPen(const Pen& pen) = 0;
  virtual void setBrush(const Brush& brush) = 0;

  /// A single pixel at (x, y) in the pen colour (grid dots).
  virtual void point(double x, double y) = 0;
  virtual void line(double x1, double y1, double x2, double y2) = 0;
  /// Rectangle with corners (x1, y1) and (x2, y2), outlined with the pen, filled with the brush.
  virtual void rectangle(double x1, double y1, double x2, double y2) = 0;
  /// Ellipse inscribed in the box with corners (x1, y1) and (x2, y2).
  virtual void ellipse(double x1, double y1, double x2, double y2) = 0;
  /// Open arc of the ellipse inscribed in the box (x1, y1)-(x2, y2). Angles in degrees, 0 at
  /// three o'clock, positive counter-clockwise as seen on the screen; a negative span runs
  /// clockwise.
  virtual void arc(double x1, double y1, double x2, double y2, double startDegrees,
                   double spanDegrees) = 0;
  /// Closed polygon, outlined with the pen and filled with the brush.
  virtual void polygon(std::span<const CanvasPoint> points) = 0;
  /// Open line through the points in the pen (curves: antialiased where the surface can).
  virtual void polyline(std::span<const CanvasPoint> points) = 0;
  /// Several open lines that make one figure (a trace cut by its frame), drawn as one where
  /// the surface can say so.
  virtual void polylines(std::span<const std::vector<CanvasPoint>> parts) {
    for (const auto& part : parts) polyline(part);
  }
  /// UTF-8 text in the pen colour with its top-left corner at (x, y), no background.
  virtual void text(double x, double y, std::string_view utf8, double pixelSize) = 0;
};

}  // namespace wolterix::drawing
