#include "drawing/painter_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <cmath>
#include <vector>

namespace wolterix::drawing {

namespace {

QColor toQColor(Color c) { return QColor(c.r, c.g, c.b); }

QString toQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont fontOf(double pixelSize) {
  QFont font("DejaVu Sans");
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  return font;
}

double widthOn(QPaintDevice* device, std::string_view utf8, double pixelSize) {
  return QFontMetricsF(fontOf(pixelSize), device).horizontalAdvance(toQString(utf8));
}

double heightOn(QPaintDevice* device, double pixelSize) {
  return QFontMetricsF(fontOf(pixelSize), device).height();
}

QRectF box(double x1, double y1, double x2, double y2) {
  return QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)),
                QPointF(std::max(x1, x2), std::max(y1, y2)));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : m_painter(painter) {
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterCanvas::setPen(const Pen& pen) {
  m_pen = pen;
  QPen qpen(toQColor(pen.color));
  qpen.setWidthF(pen.width);
  qpen.setStyle(pen.style == PenStyle::Dot    ? Qt::DotLine
                : pen.style == PenStyle::Dash ? Qt::DashLine
                                              : Qt::SolidLine);
  qpen.setCosmetic(pen.cosmetic);
  qpen.setCapStyle(Qt::SquareCap);
  m_painter.setPen(qpen);
}

void PainterCanvas::setBrush(const Brush& brush) {
  m_painter.setBrush(brush.filled ? QBrush(toQColor(brush.color)) : QBrush(Qt::NoBrush));
}

void PainterCanvas::point(double x, double y) {
  // A one-pixel dot whatever the current pen width.
  m_painter.fillRect(QRectF(std::floor(x), std::floor(y), 1, 1), toQColor(m_pen.color));
}

void PainterCanvas::line(double x1, double y1, double x2, double y2) {
  m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::rectangle(double x1, double y1, double x2, double y2) {
  m_painter.drawRect(box(x1, y1, x2, y2));
}

void PainterCanvas::ellipse(double x1, double y1, double x2, double y2) {
  m_painter.drawEllipse(box(x1, y1, x2, y2));
}

void PainterCanvas::arc(double x1, double y1, double x2, double y2, double startDegrees,
                        double spanDegrees) {
  // Qt counts arcs in sixteenths of a degree, in the same sense as we do.
  m_painter.drawArc(box(x1, y1, x2, y2), static_cast<int>(std::lround(startDegrees * 16)),
                    static_cast<int>(std::lround(spanDegrees * 16)));
}

void PainterCanvas::polygon(std::span<const CanvasPoint> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const CanvasPoint& p : points) polygon << QPointF(p.x, p.y);
  m_painter.drawPolygon(polygon);
}

void PainterCanvas::polyline(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  QPainterPath path(QPointF(points[0].x, points[0].y));
  for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i].x, points[i].y);
  // Curves are smooth; the rest stays crisp.
  const bool smooth = m_painter.testRenderHint(QPainter::Antialiasing);
  m_painter.setRenderHint(QPainter::Antialiasing, true);
  const QBrush brush = m_painter.brush();
  m_painter.setBrush(Qt::NoBrush);
  m_painter.drawPath(path);
  m_painter.setBrush(brush);
  m_painter.setRenderHint(QPainter::Antialiasing, smooth);
}

void PainterCanvas::text(double x, double y, std::string_view utf8, double pixelSize) {
  const QFont font = fontOf(pixelSize);
  m_painter.setFont(font);
  const QFontMetricsF metrics(font, m_painter.device());
  m_painter.drawText(QPointF(x, y + metrics.ascent()), toQString(utf8));
}

double PainterCanvas::textWidth(std::string_view utf8, double pixelSize) const {
  return widthOn(m_painter.device(), utf8, pixelSize);
}

double PainterCanvas::textHeight(std::string_view, double pixelSize) const {
  return heightOn(m_painter.device(), pixelSize);
}

double DeviceTextMetrics::textWidth(std::string_view utf8, double pixelSize) const {
  return widthOn(m_device, utf8, pixelSize);
}

double DeviceTextMetrics::textHeight(std::string_view, double pixelSize) const {
  return heightOn(m_device, pixelSize);
}

}  // namespace wolterix::drawing
