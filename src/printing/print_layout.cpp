#include "printing/print_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "model/schematic.h"

namespace wolterix::printing {

int roundHalfUp(double value) { return static_cast<int>(std::floor(value + 0.5)); }

SchematicExtent schematicExtent(const model::Schematic& schematic) {
  model::GridPoint min{100, 100};
  model::GridPoint max{0, 0};
  bool any = false;
  const auto widen = [&](model::GridPoint p) {
    any = true;
    min = {std::min(min.x, p.x), std::min(min.y, p.y)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y)};
  };
  for (const auto& w : schematic.wires()) {
    widen(w->start());
    widen(w->end());
  }
  for (const auto& j : schematic.junctions()) widen(j->position());
  for (const auto& e : schematic.elements()) {
    widen(e->position());
    // The further terminals of the kinds that have more than two.
    for (int t = 2; t < e->terminalCount(); ++t) widen(e->terminalPoint(t));
  }
  if (!any) return {};
  return {min, {std::max(max.x - min.x, 1), std::max(max.y - min.y, 1)}};
}

namespace {

// A canvas that only notes how far the figures drawn on it reach.
class BoundsCanvas final : public drawing::Canvas {
 public:
  explicit BoundsCanvas(const drawing::TextMetrics& metrics) : m_metrics(metrics) {}

  PageBox box() const { return m_any ? m_box : PageBox{}; }

  void setPen(const drawing::Pen& pen) override { m_pen = pen.width; }
  void setBrush(const drawing::Brush&) override {}
  void point(double x, double y) override { cover(x, y, x + 1, y + 1, 0); }
  void line(double x1, double y1, double x2, double y2) override {
    // Square caps of a slanted line reach out by up to half the pen times the square root of 2.
    const bool straight = x1 == x2 || y1 == y2;
    cover(x1, y1, x2, y2, straight ? m_pen / 2 : m_pen / std::numbers::sqrt2);
  }
  void rectangle(double x1, double y1, double x2, double y2) override {
    cover(x1, y1, x2, y2, m_pen / 2);
  }
  void ellipse(double x1, double y1, double x2, double y2) override {
    cover(x1, y1, x2, y2, m_pen / 2);
  }
  // The whole ellipse: a little generous for an arc, never short.
  void arc(double x1, double y1, double x2, double y2, double, double) override {
    cover(x1, y1, x2, y2, m_pen / 2);
  }
  void polygon(std::span<const drawing::CanvasPoint> points) override {
    for (const drawing::CanvasPoint& p : points) cover(p.x, p.y, p.x, p.y, m_pen / 2);
  }
  void polyline(std::span<const drawing::CanvasPoint> points) override { polygon(points); }
  void text(double x, double y, std::string_view utf8, double pixelSize) override {
    cover(x, y, x + textWidth(utf8, pixelSize), y + textHeight(utf8, pixelSize), 0);
  }
  double textWidth(std::string_view utf8, double pixelSize) const override {
    return m_metrics.textWidth(utf8, pixelSize);
  }
  double textHeight(std::string_view utf8, double pixelSize) const override {
    return m_metrics.textHeight(utf8, pixelSize);
  }

 private:
  void cover(double x1, double y1, double x2, double y2, double pad) {
    const PageBox b{std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::max(x1, x2) + pad,
                    std::max(y1, y2) + pad};
    if (!m_any) {
      m_box = b;
      m_any = true;
      return;
    }
    m_box = {std::min(m_box.left, b.left), std::min(m_box.top, b.top),
             std::max(m_box.right, b.right), std::max(m_box.bottom, b.bottom)};
  }

  const drawing::TextMetrics& m_metrics;
  double m_pen = 1.0;
  bool m_any = false;
  PageBox m_box;
};

// Miniature pixels that hold a length of the page, rounded up so that the frame never
// shows less than prints.
int miniatureLength(double pageLength, long long miniature, long long page) {
  return static_cast<int>(
      std::ceil((pageLength + 1) * static_cast<double>(miniature) / static_cast<double>(page)));
}

std::string decimal(double value) {
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1).ptr;
  std::string text(buffer, end);
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

}  // namespace

PageBox drawnBounds(const model::Schematic& schematic, const drawing::ViewSettings& view,
                    double scale, const drawing::TextMetrics& metrics) {
  BoundsCanvas canvas(metrics);
  drawing::drawSchematic(canvas, schematic, view, scale, 0, 0);
  return canvas.box();
}

PrintLayout::PrintLayout(std::optional<PageMetrics> page) {
  if (page) setPage(*page);
}

void PrintLayout::setPage(const PageMetrics& page) {
  const bool first = !m_page;
  m_page = page;
  m_plotBase = page.pageWidth * 0.9 / std::max(page.screenWidth, 1);
  if (first) {
    m_scale = std::max(1, roundHalfUp(page.pageWidth / 720.0));
    m_scaleMin = std::max(1, roundHalfUp(page.pageWidth / 1440.0));
    m_scaleMax = std::max(m_scale, roundHalfUp(page.pageWidth / 480.0));
  }
  recompute();
}

void PrintLayout::setSchematic(DrawnBoundsAt bounds) {
  m_bounds = std::move(bounds);
  recompute();
}

void PrintLayout::recompute() {
  if (!m_page) return;
  const long long pw = std::max(m_page->pageWidth, 1);
  const long long ph = std::max(m_page->pageHeight, 1);
  const long long mw = m_miniature.width;
  const long long mh = m_miniature.height;
  const double plot = plotScale();
  m_drawn = m_bounds ? m_bounds(m_scale) : PageBox{};
  if (m_drawn.empty()) {
    m_schematic.width = 0;
    m_schematic.height = 0;
  } else if (!m_page->landscape) {
    m_schematic.width = miniatureLength(m_drawn.width(), mw, pw);
    m_schematic.height = miniatureLength(m_drawn.height(), mh, ph);
  } else {
    // The miniature shows the landscape page turned upright.
    m_schematic.width = miniatureLength(m_drawn.height(), mw, ph);
    m_schematic.height = miniatureLength(m_drawn.width(), mh, pw);
  }
  if (!m_page->landscape) {
    m_plot.width = static_cast<int>(m_page->screenWidth * plot * mw / pw);
    m_plot.height = static_cast<int>((m_page->screenHeight - 32) * plot * mh / ph);
  } else {
    m_plot.width = static_cast<int>((m_page->screenHeight - 32) * plot * mw / ph);
    m_plot.height = static_cast<int>(m_page->screenWidth * plot * mh / pw);
  }
}

bool PrintLayout::moveFrame(MiniRect& frame, Move move) {
  // A frame moves by 5 pixels only while it stays more than 5 pixels inside the page.
  switch (move) {
    case Move::Up:
      if (!(m_miniature.top + 5 < frame.top)) return false;
      frame.top -= 5;
      return true;
    case Move::Down:
      if (!(frame.bottom() < m_miniature.bottom() - 5)) return false;
      frame.top += 5;
      return true;
    case Move::Left:
      if (!(m_miniature.left + 5 < frame.left)) return false;
      frame.left -= 5;
      return true;
    case Move::Right:
      if (!(frame.right() < m_miniature.right() - 5)) return false;
      frame.left += 5;
      return true;
  }
  return false;
}

bool PrintLayout::enlargeSchematic() {
  if (m_scale >= m_scaleMax) return false;
  ++m_scale;
  recompute();
  return true;
}

bool PrintLayout::reduceSchematic() {
  if (m_scale <= m_scaleMin) return false;
  --m_scale;
  recompute();
  return true;
}

bool PrintLayout::enlargePlot() {
  if (m_plotStep <= 0) return false;
  --m_plotStep;
  recompute();
  return true;
}

bool PrintLayout::reducePlot() {
  if (m_plotStep > 4) return false;
  ++m_plotStep;
  recompute();
  return true;
}

std::pair<int, int> PrintLayout::schematicOffset() const {
  if (!m_page) return {0, 0};
  double fx = 0.0;
  double fy = 0.0;
  if (!m_page->landscape) {
    fx = static_cast<double>(m_schematic.left - m_miniature.left) / m_miniature.width;
    fy = static_cast<double>(m_schematic.top - m_miniature.top) / m_miniature.height;
  } else {
    fx = static_cast<double>(m_schematic.top - m_miniature.top) / m_miniature.height;
    fy = static_cast<double>(m_miniature.right() - m_schematic.right()) / m_miniature.width;
  }
  // The frame's corner on the page takes the corner of what is drawn; rounding up keeps it
  // inside, and the frame was sized one pixel larger for that.
  const int dx = static_cast<int>(std::ceil(m_page->pageWidth * fx - m_drawn.left));
  const int dy = static_cast<int>(std::ceil(m_page->pageHeight * fy - m_drawn.top));
  return {dx, dy};
}

std::string PrintLayout::schematicScaleText(int grid) const {
  if (!m_page) return {};
  const double step = 25.4 * grid * m_scale / std::max(m_page->dotsPerInch, 1);
  return "Skala: " + std::to_string(m_scale) + " (" + std::to_string(m_scaleMin) + "–" +
         std::to_string(m_scaleMax) + ")\nKrok siatki: " + decimal(step) + " mm";
}

std::string PrintLayout::plotScaleText() const {
  return "Skala: " + std::to_string(100 - 10 * m_plotStep) + " %";
}

PrintLayout::PageRect PrintLayout::plotRect() const {
  if (!m_page) return {0, 0, 0, 0};
  // The plot keeps the screen's proportions, scaled; its corner follows the frame as the
  // schematic's does (the miniature shows a landscape page turned upright).
  double fx = 0.0;
  double fy = 0.0;
  if (!m_page->landscape) {
    fx = static_cast<double>(m_plot.left - m_miniature.left) / m_miniature.width;
    fy = static_cast<double>(m_plot.top - m_miniature.top) / m_miniature.height;
  } else {
    fx = static_cast<double>(m_plot.top - m_miniature.top) / m_miniature.height;
    fy = static_cast<double>(m_miniature.right() - m_plot.right()) / m_miniature.width;
  }
  return {m_page->pageWidth * fx, m_page->pageHeight * fy, m_page->screenWidth * plotScale(),
          (m_page->screenHeight - 32) * plotScale()};
}

}  // namespace wolterix::printing
