#pragma once
/// A Canvas over a QPainter: the screen and the printer.

#include <QFont>

#include "drawing/canvas.h"

class QPainter;
class QPaintDevice;

namespace wolterix::drawing {

/// Draws on a painter that stays owned by the caller. Antialiasing is switched off so that
/// one-pixel grid dots and lines stay crisp on the screen; fonts are given pixel sizes so text
/// has the same size on a printer page as the artwork around it.
class PainterCanvas final : public Canvas {
 public:
  explicit PainterCanvas(QPainter& painter);

  void setPen(const Pen& pen) override;
  void setBrush(const Brush& brush) override;

  void point(double x, double y) override;
  void line(double x1, double y1, double x2, double y2) override;
  void rectangle(double x1, double y1, double x2, double y2) override;
  void ellipse(double x1, double y1, double x2, double y2) override;
  void arc(double x1, double y1, double x2, double y2, double startDegrees,
           double spanDegrees) override;
  void polygon(std::span<const CanvasPoint> points) override;
  void polyline(std::span<const CanvasPoint> points) override;
  void text(double x, double y, std::string_view utf8, double pixelSize) override;
  double textWidth(std::string_view utf8, double pixelSize) const override;
  double textHeight(std::string_view utf8, double pixelSize) const override;

 private:
  QPainter& m_painter;
  Pen m_pen{};
};

/// Text measured as a PainterCanvas on that device would measure it, without painting: the
/// print dialog sizes its frame before the print job begins.
class DeviceTextMetrics final : public TextMetrics {
 public:
  explicit DeviceTextMetrics(QPaintDevice* device) : m_device(device) {}
  double textWidth(std::string_view utf8, double pixelSize) const override;
  double textHeight(std::string_view utf8, double pixelSize) const override;

 private:
  QPaintDevice* m_device;
};

}  // namespace wolterix::drawing
