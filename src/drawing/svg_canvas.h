#pragma once
/// A canvas that writes an SVG document as plain text.

#include <filesystem>
#include <string>

#include "drawing/canvas.h"

namespace wolterix::drawing {

/// Collects figures into an SVG document of a fixed size in pixels. Text is set in
/// "DejaVu Sans"; without a font engine its extent is estimated from the character count
/// (see textWidth and textHeight), close enough to place labels beside the symbols.
class SvgCanvas final : public Canvas {
 public:
  SvgCanvas(double width, double height);

  /// Fills the whole document with a colour (drawn under everything added so far and later).
  void setBackground(Color color);

  void setPen(const Pen& pen) override { m_pen = pen; }
  void setBrush(const Brush& brush) override { m_brush = brush; }

  void point(double x, double y) override;
  void line(double x1, double y1, double x2, double y2) override;
  void rectangle(double x1, double y1, double x2, double y2) override;
  void ellipse(double x1, double y1, double x2, double y2) override;
  void arc(double x1, double y1, double x2, double y2, double startDegrees,
           double spanDegrees) override;
  void polygon(std::span<const CanvasPoint> points) override;
  void polyline(std::span<const CanvasPoint> points) override;
  /// One <path> of several parts, so a cut trace stays one element.
  void polylines(std::span<const std::vector<CanvasPoint>> parts) override;
  void text(double x, double y, std::string_view utf8, double pixelSize) override;
  /// Number of characters times 0.62 of the pixel size (DejaVu Sans digits and capitals).
  double textWidth(std::string_view utf8, double pixelSize) const override;
  /// 1.17 of the pixel size: ascent plus descent of DejaVu Sans.
  double textHeight(std::string_view utf8, double pixelSize) const override;

  /// The complete document.
  std::string document() const;
  /// Writes the document; false when the file cannot be written.
  bool save(const std::filesystem::path& path) const;

 private:
  std::string strokeAttributes() const;
  std::string fillAttribute() const;

  double m_width;
  double m_height;
  bool m_hasBackground = false;
  Color m_background{};
  Pen m_pen{};
  Brush m_brush{};
  std::string m_body;
};

/// Text made safe for XML character data and attribute values: markup characters escaped,
/// control characters and malformed UTF-8 replaced by "?".
std::string escapeXml(std::string_view utf8);

}  // namespace wolterix::drawing
