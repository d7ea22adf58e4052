#include "drawing/instant_overlay.h"

#include <algorithm>
#include <cmath>

#include "model/element.h"

namespace wolterix::drawing {

namespace {

// Repeats an element's outlines on the target in one colour and width: the band under the
// symbol. Filled bodies come out filled with the band's colour (the normal drawing fills them
// again on top); arrows, names and points are left out.
class BandCanvas final : public Canvas {
 public:
  BandCanvas(Canvas& target, Color color, double width)
      : m_target(target), m_color(color), m_width(width) {}

  void setPen(const Pen& pen) override {
    // The arrows and names have colours of their own; the band follows the symbol only.
    m_skip =
        pen.color == colors::kBlue || pen.color == colors::kMaroon || pen.color == colors::kNavy;
  }
  void setBrush(const Brush& brush) override {
    m_target.setBrush(brush.filled ? Brush::solid(m_color) : Brush::none());
  }
  void point(double, double) override {}
  void line(double x1, double y1, double x2, double y2) override {
    if (pen()) m_target.line(x1, y1, x2, y2);
  }
  void rectangle(double x1, double y1, double x2, double y2) override {
    if (pen()) m_target.rectangle(x1, y1, x2, y2);
  }
  void ellipse(double x1, double y1, double x2, double y2) override {
    if (pen()) m_target.ellipse(x1, y1, x2, y2);
  }
  void arc(double x1, double y1, double x2, double y2, double start, double span) override {
    if (pen()) m_target.arc(x1, y1, x2, y2, start, span);
  }
  void polygon(std::span<const CanvasPoint> points) override {
    if (pen()) m_target.polygon(points);
  }
  void polyline(std::span<const CanvasPoint> points) override {
    if (pen()) m_target.polyline(points);
  }
  void text(double, double, std::string_view, double) override {}
  double textWidth(std::string_view utf8, double pixelSize) const override {
    return m_target.textWidth(utf8, pixelSize);
  }
  double textHeight(std::string_view utf8, double pixelSize) const override {
    return m_target.textHeight(utf8, pixelSize);
  }

 private:
  bool pen() {
    if (m_skip) return false;
    m_target.setPen({m_color, m_width, PenStyle::Solid});
    return true;
  }

  Canvas& m_target;
  Color m_color;
  double m_width;
  bool m_skip = false;
};

void drawBands(Canvas& canvas, const ViewSettings& view, double scale, double dx, double dy,
               const InstantPicture& picture, Color color, double width) {
  canvas.setBrush(Brush::none());
  canvas.setPen({color, width, PenStyle::Solid});
  for (const auto& [a, b] : picture.pieces) {
    const CanvasPoint pa = gridToPixel(a, view);
    const CanvasPoint pb = gridToPixel(b, view);
    canvas.setPen({color, width, PenStyle::Solid});
    canvas.line(dx + scale * pa.x, dy + scale * pa.y, dx + scale * pb.x, dy + scale * pb.y);
  }
  BandCanvas band(canvas, color, width);
  // Shown as not selected: the band is the same whatever the selection.
  for (const model::Element* element : picture.elements) {
    if (element && element->drawn) drawElement(band, *element, view, scale, dx, dy);
  }
  canvas.setBrush(Brush::none());
}

void drawLabel(Canvas& canvas, const ViewSettings& view, double scale, double dx, double dy,
               const InstantPicture::Label& label) {
  if (!label.element || !label.element->drawn || label.lines.empty()) return;
  const model::Element& e = *label.element;
  const double size = 0.9 * fontPixelSize(view, scale);
  double width = 0;
  double height = 0;
  for (const std::string& line : label.lines) {
    width = std::max(width, canvas.textWidth(line, size));
    height += canvas.textHeight(line, size);
  }
  const double pad = 2.0 * scale;
  const double w = width + 2 * pad;
  const double h = height + 2 * pad;
  const CanvasPoint centre = gridToPixel(e.position(), view);
  const CanvasPoint named = gridToPixel(e.labelPoint(), view);
  const double cx = dx + scale * centre.x;
  const double cy = dy + scale * centre.y;
  // Away from the name's side, clear of the symbol and its voltage arrow.
  const double away = 0.75 * view.grid * scale;
  const double ax = centre.x - named.x;
  const double ay = centre.y - named.y;
  double left = cx - w / 2;
  double top = cy - h / 2;
  if (std::fabs(ax) >= std::fabs(ay)) {
    left = ax >= 0 ? cx + away : cx - away - w;
  } else {
    top = ay >= 0 ? cy + away : cy - away - h;
  }
  canvas.setPen({colors::kBlack, 1.0, PenStyle::Solid});
  canvas.setBrush(Brush::solid(colors::kWhite));
  canvas.rectangle(left, top, left + w, top + h);
  canvas.setBrush(Brush::none());
  double y = top + pad;
  for (const std::string& line : label.lines) {
    canvas.text(left + pad, y, line, size);
    y += canvas.textHeight(line, size);
  }
}

}  // namespace

void drawInstant(Canvas& canvas, const model::Schematic& schematic, const ViewSettings& view,
                 double scale, double dx, double dy, const InstantPicture& picture, bool values) {
  const double band = 5.0 * scale;
  drawBands(canvas, view, scale, dx, dy, picture, kInstantEdge, band + 2.0 * scale);
  drawBands(canvas, view, scale, dx, dy, picture, kInstantColor, band);
  drawSchematic(canvas, schematic, view, scale, dx, dy);
  if (!values) return;
  for (const InstantPicture::Label& label : picture.labels)
    drawLabel(canvas, view, scale, dx, dy, label);
}

}  // namespace wolterix::drawing
