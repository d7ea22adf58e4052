#include "editor/print_layout.h"

#include <algorithm>
#include <cmath>

#include "model/schematic.h"

namespace wolterix::editor {

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

void PrintLayout::setSchematic(model::GridPoint extent, int grid) {
  m_schematicWidth = extent.x * grid;
  m_schematicHeight = extent.y * grid;
  recompute();
}

void PrintLayout::recompute() {
  if (!m_page) return;
  const long long pw = std::max(m_page->pageWidth, 1);
  const long long ph = std::max(m_page->pageHeight, 1);
  const long long mw = m_miniature.width;
  const long long mh = m_miniature.height;
  const double plot = plotScale();
  if (!m_page->landscape) {
    m_schematic.width = static_cast<int>(m_scale * m_schematicWidth * mw / pw);
    m_schematic.height = static_cast<int>(m_scale * m_schematicHeight * mh / ph);
    m_plot.width = static_cast<int>(m_page->screenWidth * plot * mw / pw);
    m_plot.height = static_cast<int>((m_page->screenHeight - 32) * plot * mh / ph);
  } else {
    m_schematic.width = static_cast<int>(m_scale * m_schematicHeight * mw / ph);
    m_schematic.height = static_cast<int>(m_scale * m_schematicWidth * mh / pw);
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

std::pair<int, int> PrintLayout::schematicOffset(model::GridPoint min, int grid) const {
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
  const double margin = static_cast<double>(grid) * m_scale;
  const int dx = static_cast<int>(m_page->pageWidth * fx - static_cast<double>(grid) * min.x * m_scale + margin);
  const int dy = static_cast<int>(m_page->pageHeight * fy - static_cast<double>(grid) * min.y * m_scale + margin);
  return {dx, dy};
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

}  // namespace wolterix::editor
