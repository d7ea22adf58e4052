#include "app/tool_icons.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QString>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <span>

#include "drawing/canvas.h"
#include "drawing/painter_canvas.h"
#include "drawing/symbols.h"
#include "editor/editing.h"
#include "model/element.h"
#include "model/element_catalogue.h"

namespace wolterix::app {

namespace {

// Every tool picture is drawn on a 24-unit square: dark round-capped strokes over light fills,
// with the schematic's own colours where a tool is about voltages, currents or names.
constexpr double kDesign = 24.0;
constexpr double kStroke = 1.6;
const QColor kInk(38, 42, 50);
const QColor kPaper(255, 255, 255);
const QColor kTint(214, 228, 248);
QColor qcolor(drawing::Color c) { return QColor(c.r, c.g, c.b); }
// The colours of the schematic's own voltage arrows, current arrows and names.
const QColor kVoltage = qcolor(drawing::colors::kBlue);
const QColor kCurrent = qcolor(drawing::colors::kMaroon);
const QColor kNameInk = qcolor(drawing::colors::kNavy);
const QColor kTrace(20, 100, 210);
const QColor kGo(46, 160, 70);

QPen stroke(const QColor& colour = kInk, double width = kStroke) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void outlined(QPainter& p, const QColor& fill, const QColor& colour = kInk) {
  p.setPen(stroke(colour));
  p.setBrush(fill);
}

void lines(QPainter& p, const QColor& colour = kInk) {
  p.setPen(stroke(colour));
  p.setBrush(Qt::NoBrush);
}

// A filled head with its tip at `tip`, pointing along `degrees` (0 right, 90 down).
void arrowHead(QPainter& p, QPointF tip, double degrees, const QColor& colour = kInk,
               double length = 5.0, double halfWidth = 3.0) {
  const double a = qDegreesToRadians(degrees);
  const QPointF along(std::cos(a), std::sin(a));
  const QPointF across(-along.y(), along.x());
  const QPointF base = tip - along * length;
  const QPointF head[] = {tip, base + across * halfWidth, base - across * halfWidth};
  p.save();
  p.setPen(stroke(colour, 1.0));
  p.setBrush(colour);
  p.drawPolygon(head, 3);
  p.restore();
}

// A straight arrow from `from` to `to`, the shaft stopping under the head.
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour = kInk) {
  const QPointF d = to - from;
  const double length = std::hypot(d.x(), d.y());
  lines(p, colour);
  p.drawLine(from, to - d * (3.5 / length));
  arrowHead(p, to, qRadiansToDegrees(std::atan2(d.y(), d.x())), colour);
}

// A circular arrow (Qt's arc angles: counter-clockwise from three o'clock), head at its end.
void arcArrow(QPainter& p, QPointF centre, double radius, double startDegrees, double spanDegrees,
              const QColor& colour = kInk) {
  const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  const double shortened = spanDegrees - std::copysign(18.0, spanDegrees);
  lines(p, colour);
  p.drawArc(box, qRound(startDegrees * 16), qRound(shortened * 16));
  const double end = qDegreesToRadians(startDegrees + spanDegrees);
  const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
  // Direction of travel on the screen (y grows downward).
  const double sign = spanDegrees > 0 ? 1.0 : -1.0;
  const QPointF travel(-std::sin(end) * sign, -std::cos(end) * sign);
  arrowHead(p, tip, qRadiansToDegrees(std::atan2(travel.y(), travel.x())), colour);
}

// A resistor-like body with its two leads across the square at height y.
void element(QPainter& p, double y, double left = 2.5, double right = 21.5, double body = 6.5) {
  lines(p);
  p.drawLine(QPointF(left, y), QPointF(12 - body, y));
  p.drawLine(QPointF(12 + body, y), QPointF(right, y));
  outlined(p, kPaper);
  p.drawRect(QRectF(12 - body, y - 2.8, 2 * body, 5.6));
}

void page(QPainter& p) {
  QPainterPath sheet;
  sheet.moveTo(5, 2.5);
  sheet.lineTo(14, 2.5);
  sheet.lineTo(19, 7.5);
  sheet.lineTo(19, 21.5);
  sheet.lineTo(5, 21.5);
  sheet.closeSubpath();
  outlined(p, kPaper);
  p.drawPath(sheet);
  lines(p);
  p.drawPolyline(QPolygonF({{14, 2.5}, {14, 7.5}, {19, 7.5}}));
}

void floppy(QPainter& p) {
  QPainterPath disk;
  disk.moveTo(3, 3);
  disk.lineTo(17.5, 3);
  disk.lineTo(21, 6.5);
  disk.lineTo(21, 21);
  disk.lineTo(3, 21);
  disk.closeSubpath();
  outlined(p, kTint);
  p.drawPath(disk);
  outlined(p, kPaper);
  p.drawRect(QRectF(7, 3, 9, 5.5));
  p.drawRect(QRectF(6, 12.5, 12, 8.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRect(QRectF(12.5, 4.2, 2, 3.2));
  lines(p);
  p.drawLine(QPointF(8.5, 15.5), QPointF(15.5, 15.5));
  p.drawLine(QPointF(8.5, 18), QPointF(13.5, 18));
}

void pencil(QPainter& p) {
  p.save();
  p.translate(17.5, 13.5);
  p.rotate(45);  // the tip points down and to the left
  outlined(p, QColor(250, 205, 80));
  p.drawRect(QRectF(-2.2, -7, 4.4, 10));
  outlined(p, kPaper);
  p.drawPolygon(QPolygonF({{-2.2, 3}, {2.2, 3}, {0, 7.5}}));
  p.restore();
}

void roundPanel(QPainter& p) {
  outlined(p, kTint);
  p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
}

void sine(QPainter& p, QRectF box, double periods, const QColor& colour) {
  QPainterPath path;
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const double t = double(i) / steps;
    const QPointF at(box.left() + t * box.width(),
                     box.center().y() - box.height() / 2 * std::sin(2 * M_PI * periods * t));
    if (i == 0)
      path.moveTo(at);
    else
      path.lineTo(at);
  }
  lines(p, colour);
  p.drawPath(path);
}

void drawTool(QPainter& p, ToolIcon which) {
  switch (which) {
    case ToolIcon::New: page(p); return;
    case ToolIcon::Open: {
      outlined(p, QColor(246, 214, 120));
      p.drawPolygon(
          QPolygonF({{2.5, 5}, {9, 5}, {11, 7.5}, {19.5, 7.5}, {19.5, 19.5}, {2.5, 19.5}}));
      outlined(p, QColor(252, 232, 160));
      p.drawPolygon(QPolygonF({{5.5, 11}, {22, 11}, {19.5, 19.5}, {2.5, 19.5}}));
      return;
    }
    case ToolIcon::Save: floppy(p); return;
    case ToolIcon::SaveAs:
      p.save();
      p.scale(0.82, 0.82);
      floppy(p);
      p.restore();
      pencil(p);
      return;
    case ToolIcon::Print:
      outlined(p, kPaper);
      p.drawRect(QRectF(6.5, 2.5, 11, 7));
      outlined(p, kTint);
      p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
      outlined(p, kPaper);
      p.drawRect(QRectF(6.5, 13.5, 11, 8));
      lines(p);
      p.drawLine(QPointF(8.5, 16.5), QPointF(15.5, 16.5));
      p.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
      p.setPen(Qt::NoPen);
      p.setBrush(kGo);
      p.drawEllipse(QPointF(18.6, 11.2), 1.1, 1.1);
      return;
    case ToolIcon::Pdf:
      page(p);
      arrow(p, {12, 8}, {12, 18.5}, QColor(190, 30, 30));
      return;
    case ToolIcon::Undo: {
      QPainterPath hook;
      hook.moveTo(19.5, 19.5);
      hook.cubicTo(19.5, 12, 16, 8.5, 10, 8.5);
      hook.lineTo(7, 8.5);
      lines(p);
      p.drawPath(hook);
      arrowHead(p, {2.5, 8.5}, 180);
      return;
    }
    case ToolIcon::Redo: {  // the undo hook mirrored
      QPainterPath hook;
      hook.moveTo(4.5, 19.5);
      hook.cubicTo(4.5, 12, 8, 8.5, 14, 8.5);
      hook.lineTo(17, 8.5);
      lines(p);
      p.drawPath(hook);
      arrowHead(p, {21.5, 8.5}, 0);
      return;
    }
    case ToolIcon::Delete:
      outlined(p, kPaper);
      p.drawPolygon(QPolygonF({{5.5, 6.5}, {18.5, 6.5}, {17.2, 21.5}, {6.8, 21.5}}));
      lines(p);
      p.drawLine(QPointF(3.5, 6.5), QPointF(20.5, 6.5));
      p.drawPolyline(QPolygonF({{9.5, 6.5}, {9.5, 3}, {14.5, 3}, {14.5, 6.5}}));
      p.drawLine(QPointF(10, 10), QPointF(10.3, 18.5));
      p.drawLine(QPointF(14, 10), QPointF(13.7, 18.5));
      return;
    case ToolIcon::Reverse: {
      element(p, 12, 3.5, 20.5, 4);
      outlined(p, kPaper);
      p.drawEllipse(QPointF(3, 12), 1.4, 1.4);
      p.drawEllipse(QPointF(21, 12), 1.4, 1.4);
      QPainterPath over;
      over.moveTo(4, 7.5);
      over.quadTo(12, 0.5, 18.5, 5.5);
      QPainterPath under;
      under.moveTo(20, 16.5);
      under.quadTo(12, 23.5, 5.5, 18.5);
      lines(p);
      p.drawPath(over);
      p.drawPath(under);
      arrowHead(p, {21, 7.8}, 40, kInk, 4.5, 2.6);
      arrowHead(p, {3, 16.2}, 220, kInk, 4.5, 2.6);
      return;
    }
    case ToolIcon::RotateLeft:
      arcArrow(p, {12, 12}, 8, -60, 250);
      outlined(p, kPaper);
      p.drawRect(QRectF(9.5, 9, 5, 6));
      return;
    case ToolIcon::RotateRight:
      arcArrow(p, {12, 12}, 8, 240, -250);
      outlined(p, kPaper);
      p.drawRect(QRectF(9.5, 9, 5, 6));
      return;
    case ToolIcon::Parameters:
      element(p, 12);
      arrow(p, {6, 19.5}, {19, 4});
      return;
    case ToolIcon::Name:
      outlined(p, kPaper, kNameInk);
      p.drawPolygon(QPolygonF({{2.5, 7}, {15, 7}, {21.5, 12}, {15, 17}, {2.5, 17}}));
      p.drawEllipse(QPointF(16, 12), 1.3, 1.3);
      lines(p, kNameInk);
      p.drawLine(QPointF(5.5, 10.5), QPointF(11.5, 10.5));
      p.drawLine(QPointF(5.5, 13.5), QPointF(9.5, 13.5));
      return;
    case ToolIcon::Voltage:
      element(p, 8);
      arrow(p, {4, 17}, {20, 17}, kVoltage);
      return;
    case ToolIcon::ReverseVoltage:
      element(p, 7);
      arrow(p, {5, 14}, {20, 14}, kVoltage);
      arrow(p, {19, 20}, {4, 20}, kVoltage);
      return;
    case ToolIcon::Current:
      element(p, 12, 2.5, 21.5, 3.5);
      arrowHead(p, {7.5, 12}, 0, kCurrent, 5, 3.2);
      return;
    case ToolIcon::ReverseCurrent:
      element(p, 16, 2.5, 21.5, 3.5);
      arrowHead(p, {7.5, 16}, 0, kCurrent, 5, 3.2);
      arcArrow(p, {12, 9.5}, 5, 0, 180, kCurrent);
      return;
    case ToolIcon::Simulate:
      outlined(p, kGo, QColor(20, 100, 40));
      p.drawPolygon(QPolygonF({{7, 3.5}, {20, 12}, {7, 20.5}}));
      return;
    case ToolIcon::Waveforms:
      sine(p, QRectF(3, 4, 18, 9), 1.5, kTrace);
      lines(p);
      p.drawLine(QPointF(3, 19.5), QPointF(21, 19.5));
      for (double x : {3.0, 7.5, 12.0, 16.5, 21.0}) p.drawLine(QPointF(x, 19.5), QPointF(x, 16.5));
      return;
    case ToolIcon::Plots:
      outlined(p, kPaper);
      p.drawRect(QRectF(2.5, 3, 19, 18));
      lines(p);
      p.drawLine(QPointF(5.5, 6), QPointF(5.5, 18));
      p.drawLine(QPointF(5.5, 18), QPointF(19, 18));
      sine(p, QRectF(5.5, 7.5, 13, 7), 1.0, kTrace);
      return;
    case ToolIcon::Measurement:
      outlined(p, kPaper);
      p.drawRoundedRect(QRectF(2.5, 4, 19, 16), 2.5, 2.5);
      lines(p);
      p.drawArc(QRectF(4.5, 8, 15, 15), 30 * 16, 120 * 16);
      for (double a : {40.0, 65.0, 90.0, 115.0, 140.0}) {
        const double r = qDegreesToRadians(a);
        p.drawLine(QPointF(12 + 7.5 * std::cos(r), 15.5 - 7.5 * std::sin(r)),
                   QPointF(12 + 9.2 * std::cos(r), 15.5 - 9.2 * std::sin(r)));
      }
      lines(p, QColor(200, 30, 30));
      p.drawLine(QPointF(12, 17), QPointF(16.5, 9.5));
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(12, 17), 1.4, 1.4);
      return;
    case ToolIcon::Topology: {
      const QPointF nodes[] = {{5, 5}, {19, 5}, {12, 12}, {5, 19}, {19, 19}};
      lines(p);
      for (int i : {0, 1, 3, 4}) p.drawLine(nodes[2], nodes[i]);
      p.drawLine(nodes[0], nodes[1]);
      outlined(p, kPaper);
      for (const QPointF& n : nodes) p.drawEllipse(n, 2.3, 2.3);
      return;
    }
    case ToolIcon::About:
      roundPanel(p);
      lines(p);
      p.drawLine(QPointF(12, 10.5), QPointF(12, 17));
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(12, 7), 1.3, 1.3);
      return;
    case ToolIcon::Help: {
      roundPanel(p);
      QPainterPath hook;
      hook.moveTo(8.8, 9.5);
      hook.cubicTo(8.8, 5.6, 15.2, 5.6, 15.2, 9.3);
      hook.cubicTo(15.2, 11.8, 12, 11.8, 12, 14.3);
      lines(p);
      p.drawPath(hook);
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(12, 17.4), 1.3, 1.3);
      return;
    }
  }
}

// Draws a picture made on a design square of `design` units at each of the given sizes.
QIcon drawnIcon(const std::function<void(QPainter&, int size)>& draw, double design,
                std::initializer_list<int> sizes) {
  QIcon icon;
  for (const int size : sizes) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / design, size / design);
    draw(painter, size);
    painter.end();
    icon.addPixmap(picture);
  }
  return icon;
}

QFont symbolFont(double pixelSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  return font;
}

// How far a drawing reaches, so that it can be fitted to an icon.
class ExtentCanvas final : public drawing::Canvas {
 public:
  QRectF extent() const { return QRectF(QPointF(m_left, m_top), QPointF(m_right, m_bottom)); }

  void setPen(const drawing::Pen&) override {}
  void setBrush(const drawing::Brush&) override {}
  void point(double x, double y) override { add(x, y); }
  void line(double x1, double y1, double x2, double y2) override {
    add(x1, y1);
    add(x2, y2);
  }
  void rectangle(double x1, double y1, double x2, double y2) override { line(x1, y1, x2, y2); }
  void ellipse(double x1, double y1, double x2, double y2) override { line(x1, y1, x2, y2); }
  void arc(double x1, double y1, double x2, double y2, double startDegrees,
           double spanDegrees) override {
    // Only the part drawn counts: the humps of a coil reach one side of their circles.
    const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    const double rx = std::abs(x2 - x1) / 2, ry = std::abs(y2 - y1) / 2;
    for (int i = 0; i <= 36; ++i) {
      const double a = qDegreesToRadians(startDegrees + spanDegrees * i / 36);
      add(cx + rx * std::cos(a), cy - ry * std::sin(a));
    }
  }
  void polygon(std::span<const drawing::CanvasPoint> points) override {
    for (const drawing::CanvasPoint& p : points) add(p.x, p.y);
  }
  void polyline(std::span<const drawing::CanvasPoint> points) override { polygon(points); }
  void text(double x, double y, std::string_view utf8, double pixelSize) override {
    add(x, y);
    add(x + textWidth(utf8, pixelSize), y + textHeight(utf8, pixelSize));
  }
  double textWidth(std::string_view utf8, double pixelSize) const override {
    return QFontMetricsF(symbolFont(pixelSize))
        .horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  }
  double textHeight(std::string_view, double pixelSize) const override {
    return QFontMetricsF(symbolFont(pixelSize)).height();
  }

 private:
  void add(double x, double y) {
    m_left = std::min(m_left, x);
    m_right = std::max(m_right, x);
    m_top = std::min(m_top, y);
    m_bottom = std::max(m_bottom, y);
  }

  double m_left = std::numeric_limits<double>::max();
  double m_top = std::numeric_limits<double>::max();
  double m_right = std::numeric_limits<double>::lowest();
  double m_bottom = std::numeric_limits<double>::lowest();
};

// The symbol artwork on a small picture: one pen width for every kind, however far a symbol
// had to be shrunk, and smooth lines.
class IconCanvas final : public drawing::Canvas {
 public:
  IconCanvas(QPainter& painter, double penWidth) : m_canvas(painter), m_penWidth(penWidth) {
    painter.setRenderHint(QPainter::Antialiasing);
  }

  void setPen(const drawing::Pen& pen) override {
    drawing::Pen fixed = pen;
    fixed.width = m_penWidth;
    m_canvas.setPen(fixed);
  }
  void setBrush(const drawing::Brush& brush) override { m_canvas.setBrush(brush); }
  void point(double x, double y) override { m_canvas.point(x, y); }
  void line(double x1, double y1, double x2, double y2) override { m_canvas.line(x1, y1, x2, y2); }
  void rectangle(double x1, double y1, double x2, double y2) override {
    m_canvas.rectangle(x1, y1, x2, y2);
  }
  void ellipse(double x1, double y1, double x2, double y2) override {
    m_canvas.ellipse(x1, y1, x2, y2);
  }
  void arc(double x1, double y1, double x2, double y2, double startDegrees,
           double spanDegrees) override {
    m_canvas.arc(x1, y1, x2, y2, startDegrees, spanDegrees);
  }
  void polygon(std::span<const drawing::CanvasPoint> points) override { m_canvas.polygon(points); }
  void polyline(std::span<const drawing::CanvasPoint> points) override {
    m_canvas.polyline(points);
  }
  void text(double x, double y, std::string_view utf8, double pixelSize) override {
    m_canvas.text(x, y, utf8, pixelSize);
  }
  double textWidth(std::string_view utf8, double pixelSize) const override {
    return m_canvas.textWidth(utf8, pixelSize);
  }
  double textHeight(std::string_view utf8, double pixelSize) const override {
    return m_canvas.textHeight(utf8, pixelSize);
  }

 private:
  drawing::PainterCanvas m_canvas;
  double m_penWidth;
};

// The modes without an element symbol, on the 24-unit square.
void drawModeGlyph(QPainter& p, int mode) {
  if (mode == editor::kWireMode) {
    lines(p);
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
  } else if (mode == editor::kJunctionMode) {
    lines(p);
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
    p.drawLine(QPointF(12, 3), QPointF(12, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(12, 12), 2.6, 2.6);
  } else {
    outlined(p, kInk);
    p.drawPolygon(QPolygonF(
        {{7, 3}, {7, 19.5}, {11, 15.8}, {14, 21.5}, {16.5, 20.3}, {13.6, 14.7}, {19, 14.7}}));
  }
}

constexpr std::initializer_list<int> kPaletteSizes = {16, 24, 28, 32, 48, 56};

}  // namespace

QIcon toolIcon(ToolIcon which) {
  return drawnIcon([which](QPainter& p, int) { drawTool(p, which); }, kDesign, {16, 24, 32, 48});
}

QIcon symbolIcon(int mode) {
  const auto kind = model::kindFromNumber(mode);
  if (!kind)
    return drawnIcon([mode](QPainter& p, int) { drawModeGlyph(p, mode); }, kDesign, kPaletteSizes);

  auto element = model::createElement(*kind, {5, 5});
  element->selected = false;
  drawing::ViewSettings view;
  view.grid = 10;
  view.printer = true;
  view.background = drawing::colors::kWhite;
  ExtentCanvas measure;
  drawing::drawElement(measure, *element, view, 1.0, 0, 0);
  const QRectF extent = measure.extent();

  QIcon icon;
  for (const int size : kPaletteSizes) {
    const double pen = std::max(1.0, size / 24.0);
    const double room = size - 2 * (1.0 + pen);  // a free pixel beyond the half pen
    // A two-terminal symbol (one grid step either side) fills the width; bigger ones shrink
    // until they fit.
    const double scale = std::min({room / (2.4 * view.grid), room / std::max(1.0, extent.width()),
                                   room / std::max(1.0, extent.height())});
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    IconCanvas canvas(painter, pen);
    drawing::drawElement(canvas, *element, view, scale, size / 2.0 - scale * extent.center().x(),
                         size / 2.0 - scale * extent.center().y());
    painter.end();
    icon.addPixmap(picture);
  }
  return icon;
}

QIcon programIcon() {
  return drawnIcon(
      [](QPainter& p, int size) {
        QLinearGradient green(0, 3, 0, 61);
        green.setColorAt(0, QColor(84, 214, 110));
        green.setColorAt(1, QColor(18, 132, 62));
        p.setPen(QPen(QColor(10, 86, 42), 2));
        p.setBrush(green);
        p.drawRoundedRect(QRectF(3, 3, 58, 58), 13, 13);

        // Below 32 pixels only the source is drawn, large enough to read.
        const bool small = size < 32;
        const QColor dark(20, 34, 28);
        if (!small) {
          p.setPen(stroke(Qt::white, 3.4));
          p.setBrush(Qt::NoBrush);
          p.drawRect(QRectF(18, 16, 29, 32));
          p.setPen(stroke(dark, 2.6));
          p.setBrush(Qt::white);
          p.drawRect(QRectF(41.5, 23, 11, 18));
        }
        const QPointF centre = small ? QPointF(32, 32) : QPointF(18, 32);
        const double radius = small ? 22 : 12;
        p.setPen(stroke(dark, small ? 4.5 : 2.6));
        p.setBrush(Qt::white);
        p.drawEllipse(centre, radius, radius);
        QPainterPath wave;
        for (int i = 0; i <= 40; ++i) {
          const double t = i / 40.0;
          const QPointF at(centre.x() - 0.62 * radius + 1.24 * radius * t,
                           centre.y() - 0.4 * radius * std::sin(2 * M_PI * t));
          if (i == 0)
            wave.moveTo(at);
          else
            wave.lineTo(at);
        }
        p.setPen(stroke(kVoltage, small ? 5 : 2.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
      },
      64.0, {16, 24, 32, 48, 64, 128, 256});
}

}  // namespace wolterix::app
