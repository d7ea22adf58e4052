#pragma once
/// A canvas that keeps every figure drawn on it, for tests of the artwork.

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "drawing/canvas.h"

namespace wolterix::testing {

/// Keeps every primitive as its points, with the pen it was drawn with. Text is measured as
/// half its pixel size per byte, one pixel size high.
class RecordingCanvas final : public drawing::Canvas {
 public:
  using Color = drawing::Color;
  using CanvasPoint = drawing::CanvasPoint;

  struct Figure {
    char type;  // 'p'oint, 'l'ine, 'r'ectangle, 'e'llipse, 'a'rc, 'g' polygon, 'y' polyline,
                // 't'ext
    Color color;
    std::vector<CanvasPoint> points;
    std::string text;
    double penWidth = 0;
    drawing::PenStyle style = drawing::PenStyle::Solid;
  };

  void setPen(const drawing::Pen& pen) override { m_pen = pen; }
  void setBrush(const drawing::Brush&) override {}
  void point(double x, double y) override { add('p', {{x, y}}); }
  void line(double x1, double y1, double x2, double y2) override { add('l', {{x1, y1}, {x2, y2}}); }
  void rectangle(double x1, double y1, double x2, double y2) override {
    add('r', {{x1, y1}, {x2, y2}});
  }
  void ellipse(double x1, double y1, double x2, double y2) override {
    add('e', {{x1, y1}, {x2, y2}});
  }
  // An arc is kept as points along it, since only that part of its circle is painted.
  void arc(double x1, double y1, double x2, double y2, double start, double span) override {
    std::vector<CanvasPoint> points;
    for (int i = 0; i <= 8; ++i) {
      const double a = (start + span * i / 8) * 3.141592653589793 / 180;
      points.push_back({(x1 + x2) / 2 + (x2 - x1) / 2 * std::cos(a),
                        (y1 + y2) / 2 - (y2 - y1) / 2 * std::sin(a)});
    }
    add('a', std::move(points));
  }
  void polygon(std::span<const CanvasPoint> points) override {
    add('g', {points.begin(), points.end()});
  }
  void polyline(std::span<const CanvasPoint> points) override {
    add('y', {points.begin(), points.end()});
  }
  void text(double x, double y, std::string_view utf8, double pixelSize) override {
    add('t', {{x, y}, {x + textWidth(utf8, pixelSize), y + textHeight(utf8, pixelSize)}});
    figures.back().text = std::string(utf8);
  }
  double textWidth(std::string_view utf8, double pixelSize) const override {
    return 0.5 * pixelSize * static_cast<double>(utf8.size());
  }
  double textHeight(std::string_view, double pixelSize) const override { return pixelSize; }

  std::vector<Figure> figures;

  std::vector<Figure> ofType(char type) const {
    std::vector<Figure> out;
    std::copy_if(figures.begin(), figures.end(), std::back_inserter(out),
                 [type](const Figure& f) { return f.type == type; });
    return out;
  }
  std::vector<Figure> inColor(Color c) const {
    std::vector<Figure> out;
    std::copy_if(figures.begin(), figures.end(), std::back_inserter(out),
                 [c](const Figure& f) { return f.color == c; });
    return out;
  }

  /// The box around everything painted: the points of strokes widened by half their pen,
  /// texts as measured. {left, top, right, bottom}; nothing drawn gives an inverted box.
  struct Box {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
  };
  Box paintedBox() const {
    Box box;
    for (const Figure& f : figures) {
      const double pad = f.type == 't' ? 0.0 : f.penWidth / 2;
      for (const CanvasPoint& p : f.points) {
        box.left = std::min(box.left, p.x - pad);
        box.top = std::min(box.top, p.y - pad);
        box.right = std::max(box.right, p.x + pad);
        box.bottom = std::max(box.bottom, p.y + pad);
      }
    }
    return box;
  }

 private:
  void add(char type, std::vector<CanvasPoint> points) {
    figures.push_back({type, m_pen.color, std::move(points), {}, m_pen.width, m_pen.style});
  }
  drawing::Pen m_pen;
};

}  // namespace wolterix::testing
