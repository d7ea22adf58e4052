#include "drawing/symbols.h"

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <string>
#include <vector>

#include "model/element.h"
#include "model/schematic.h"
#include "model/source_elements.h"
#include "model/switching_elements.h"

namespace wolterix::drawing {

using model::ElementKind;
using model::GridPoint;

CanvasSize canvasSize(const ViewSettings& view) {
  const int side = view.zoom * view.grid * (model::kGridSize + 1);
  return {side, side};
}

CanvasPoint gridToPixel(GridPoint p, const ViewSettings& view) {
  const int shift = view.printer ? 0 : 1;
  return {static_cast<double>((p.x + shift) * view.grid),
          static_cast<double>((p.y + shift) * view.grid)};
}

GridPoint pixelToGrid(double px, double py, const ViewSettings& view) {
  const double step = static_cast<double>(view.grid) * view.zoom;
  const auto snap = [step](double v) {
    return static_cast<int>(std::floor((v - step) / step + 0.5));
  };
  return {snap(px), snap(py)};
}

double penWidth(const ViewSettings& view) {
  if (view.printer) return view.printerPen;
  return view.zoom >= 3 ? 2.0 : 1.0;
}

double printedLineWidth(double dotsPerInch) {
  // As heavy as a fine drawing pen; a fixed count of device pixels would all but vanish on a
  // 1200 dpi page.
  constexpr double kMillimetres = 0.3;
  return dotsPerInch * kMillimetres / 25.4;
}

double fontPixelSize(const ViewSettings& view, double scale) {
  // 8, 10, 12 and 14 points at 96 dots per inch.
  static constexpr double kPixels[] = {11.0, 13.0, 16.0, 19.0};
  if (view.printer) return kPixels[0] * scale;
  const int z = view.zoom < 1 ? 1 : (view.zoom > 4 ? 4 : view.zoom);
  return kPixels[z - 1];
}

double decodeLabelCode(int code, double w, double h, double s, int grid) {
  const int magnitude = std::abs(code);
  const double sign = code < 0 ? -1.0 : 1.0;
  if (code == 1000) return -w / 2;
  if (magnitude < 15) return s * code;
  if (magnitude < 2000) return s * (code + 12) - h;
  if (magnitude < 3000) return -s * (magnitude - 2000) - w;
  if (magnitude < 3013) return sign * (h + s * (grid + magnitude % 3000 - 12));
  if (magnitude < 4000) return sign * s * (grid + magnitude % 3000);
  return sign * (w + s * (grid + magnitude % 4000));
}

namespace {

struct Vec {
  double x;
  double y;
};

constexpr double kPi = std::numbers::pi;

// Element-local drawing: coordinates in unscaled pixels with x across the axis towards the
// label point S and y along the axis towards T1, which is the picture of orientation 1. The
// other orientations turn it with the axis; a mirrored frame exchanges the two ends.
class Frame {
 public:
  Frame(Canvas& canvas, Vec centre, GridPoint d, double scale, bool mirrored = false)
      : m_canvas(canvas),
        m_centre(centre),
        m_s(scale),
        m_across{static_cast<double>(d.y), static_cast<double>(-d.x)},
        m_along{(mirrored ? -1.0 : 1.0) * d.x, (mirrored ? -1.0 : 1.0) * d.y} {}

  Canvas& canvas() const { return m_canvas; }
  double scale() const { return m_s; }

  Vec map(double x, double y) const {
    return {m_centre.x + m_s * (x * m_across.x + y * m_along.x),
            m_centre.y + m_s * (x * m_across.y + y * m_along.y)};
  }

  void line(double x1, double y1, double x2, double y2) const {
    const Vec a = map(x1, y1);
    const Vec b = map(x2, y2);
    m_canvas.line(a.x, a.y, b.x, b.y);
  }

  void polyline(std::initializer_list<Vec> points) const {
    const Vec* previous = nullptr;
    for (const Vec& p : points) {
      if (previous) line(previous->x, previous->y, p.x, p.y);
      previous = &p;
    }
  }

  void rectangle(double x1, double y1, double x2, double y2) const {
    const Vec a = map(x1, y1);
    const Vec b = map(x2, y2);
    m_canvas.rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                       std::max(a.y, b.y));
  }

  void circle(double cx, double cy, double r) const {
    const Vec c = map(cx, cy);
    m_canvas.ellipse(c.x - m_s * r, c.y - m_s * r, c.x + m_s * r, c.y + m_s * r);
  }

  // Circular arc; angles as the Canvas counts them, in the local picture.
  void arc(double cx, double cy, double r, double startDegrees, double spanDegrees) const {
    const Vec c = map(cx, cy);
    const double a = startDegrees * kPi / 180.0;
    const Vec local{std::cos(a), -std::sin(a)};
    const Vec turned{local.x * m_across.x + local.y * m_along.x,
                     local.x * m_across.y + local.y * m_along.y};
    const double start = std::atan2(-turned.y, turned.x) * 180.0 / kPi;
    // A mirrored frame runs the other way round.
    const double determinant = m_across.x * m_along.y - m_across.y * m_along.x;
    const double span = determinant > 0 ? spanDegrees : -spanDegrees;
    m_canvas.arc(c.x - m_s * r, c.y - m_s * r, c.x + m_s * r, c.y + m_s * r, start, span);
  }

  void polygon(std::initializer_list<Vec> points) const {
    std::vector<CanvasPoint> mapped;
    mapped.reserve(points.size());
    for (const Vec& p : points) {
      const Vec m = map(p.x, p.y);
      mapped.push_back({m.x, m.y});
    }
    m_canvas.polygon(mapped);
  }

  // Upright text centred on a local point.
  void centredText(double x, double y, std::string_view text, double pixelSize) const {
    const Vec c = map(x, y);
    const double w = m_canvas.textWidth(text, pixelSize);
    const double h = m_canvas.textHeight(text, pixelSize);
    m_canvas.text(c.x - w / 2, c.y - h / 2, text, pixelSize);
  }

 private:
  Canvas& m_canvas;
  Vec m_centre;
  double m_s;
  Vec m_across;
  Vec m_along;
};

// A filled arrow head from base to tip in local coordinates.
void arrowHead(const Frame& f, Vec from, Vec tip, double length, double halfWidth) {
  const double dx = tip.x - from.x;
  const double dy = tip.y - from.y;
  const double n = std::hypot(dx, dy);
  if (n == 0) return;
  const Vec u{dx / n, dy / n};
  const Vec base{tip.x - length * u.x, tip.y - length * u.y};
  f.polygon({tip,
             {base.x - halfWidth * u.y, base.y + halfWidth * u.x},
             {base.x + halfWidth * u.y, base.y - halfWidth * u.x}});
}

// The label table sets names 8 px from the centre across the axis (10 px for the power
// transistor). Round bodies end short of that even with the pen, so a name never runs into
// its circle at any orientation.
constexpr double kRoundBody = 7;

class SymbolPainter {
 public:
  SymbolPainter(Canvas& canvas, const model::Element& element, const ViewSettings& view,
                double scale, double dx, double dy)
      : m_canvas(canvas),
        m_e(element),
        m_view(view),
        m_s(scale),
        m_dx(dx),
        m_dy(dy),
        m_L(view.grid),
        m_outline(!view.printer && element.selected ? colors::kRed : colors::kBlack),
        m_fill(view.printer ? colors::kWhite : view.background),
        m_pen(penWidth(view)),
        m_centre(toCanvas(element.position())),
        m_d(model::orientationDirection(element.orientation())),
        m_frame(canvas, m_centre, m_d, scale) {}

  void draw() {
    outlinePen();
    body();
    terminalMarks();
    if (m_e.showVoltage) voltageArrow();
    if (m_e.showCurrent) currentArrow();
    if (m_e.showName) name();
  }

 private:
  Vec toCanvas(GridPoint p) const {
    const CanvasPoint px = gridToPixel(p, m_view);
    return {m_dx + m_s * px.x, m_dy + m_s * px.y};
  }

  void outlinePen() const {
    m_canvas.setPen({m_outline, m_pen, PenStyle::Solid});
    m_canvas.setBrush(Brush::none());
  }
  void filled() const { m_canvas.setBrush(Brush::solid(m_fill)); }
  void solid() const { m_canvas.setBrush(Brush::solid(m_outline)); }
  void hollow() const { m_canvas.setBrush(Brush::none()); }

  // Leads from both terminals up to the body, which reaches inner pixels along the axis.
  void leadsTo(double inner) const {
    m_frame.line(0, m_L, 0, inner);
    m_frame.line(0, -inner, 0, -m_L);
  }
  void fullLead() const { m_frame.line(0, m_L, 0, -m_L); }

  // Local y of the terminal the source drives current out of (where the current arrow points).
  double drivenEnd() const { return m_e.currentDirection() ? -1.0 : 1.0; }

  void body() const {
    const Frame& f = m_frame;
    switch (m_e.kind()) {
      case ElementKind::Rez: resistor(); return;
      case ElementKind::War:
        resistor();
        nonlinearSlash(7, 9);
        return;
      case ElementKind::nWe:
        resistor();
        // A sine along the body marks the input of the transfer function.
        sine(f, 0, 0, 6, 2.5, true);
        return;
      case ElementKind::Ind: inductor(); return;
      case ElementKind::nlL:
        inductor();
        nonlinearSlash(6, 9);
        return;
      case ElementKind::Poj: capacitor(); return;
      case ElementKind::nlC:
        capacitor();
        nonlinearSlash(8, 9);
        return;
      case ElementKind::Dio: diode(); return;
      case ElementKind::Zen:
        diode();
        f.line(6, -6, 8, -9);
        f.line(-6, -6, -8, -3);
        return;
      case ElementKind::Tyr:
        diode();
        gate();
        return;
      case ElementKind::GTO:
        diode();
        gate();
        // The crossbar on the gate: it can turn the device off as well.
        f.line(5, -11, 9, -7);
        return;
      case ElementKind::RCT:
        diode();
        gate();
        // The integrated reverse diode shares the bar and the base line.
        f.line(-6, -6, 0, 6);
        f.line(6, -6, 0, 6);
        return;
      case ElementKind::TrM:
        filled();
        f.circle(1, 0, 8);
        hollow();
        transistor(f, true);
        f.line(5, 0, 8, 0);
        return;
      case ElementKind::BJT: {
        // Collector towards terminal 0 wherever the swap put it.
        const Frame c(m_canvas, m_centre, m_d, m_s, m_e.terminalsSwapped);
        transistor(c, m_e.isNpn());
        c.line(5, 0, m_L, 0);
        return;
      }
      case ElementKind::wyl: {
        leadsTo(8);
        const bool on = static_cast<const model::Wylacznik&>(m_e).initiallyOn();
        if (on)
          f.line(0, 8, 0, -8);
        else
          f.line(0, 8, -8, -6);
        filled();
        f.circle(0, 8, 1.5);
        f.circle(0, -8, 1.5);
        hollow();
        return;
      }
      case ElementKind::Nap:
      case ElementKind::Prd: independentSource(); return;
      case ElementKind::zsN:
      case ElementKind::zsP: controlledSource(); return;
      case ElementKind::sDC: letterCircle("M"); return;
      case ElementKind::mmV: letterCircle("V"); return;
      case ElementKind::mmA: letterCircle("A"); return;
      case ElementKind::mmW: wattmeter(); return;
      case ElementKind::Spr:
      case ElementKind::Tf1: twoWindings(); return;
    }
    model::unknownKind(m_e.kind(), "SymbolPainter::body");
  }

  void resistor() const {
    fullLead();
    filled();
    m_frame.rectangle(-4, -8, 4, 8);
    hollow();
  }

  void inductor() const {
    leadsTo(10);
    for (double y : {-7.5, -2.5, 2.5, 7.5}) m_frame.arc(0, y, 2.5, -90, 180);
  }

  void capacitor() const {
    leadsTo(2);
    m_frame.line(-6, -2, 6, -2);
    m_frame.line(-6, 2, 6, 2);
  }

  // The slanted stroke with a foot that marks a nonlinear characteristic.
  void nonlinearSlash(double dx, double dy) const {
    m_frame.line(-dx, dy, dx, -dy);
    m_frame.line(-dx, dy, -dx - 3, dy);
  }

  void diode() const {
    const Frame& f = m_frame;
    f.line(-6, 6, 6, 6);
    f.line(6, 6, 0, -6);
    f.line(0, -6, -6, 6);
    fullLead();
    f.line(-6, -6, 6, -6);
  }

  void gate() const { m_frame.line(3, -6, 9, -12); }

  // Base bar beside the axis at x = 5, collector towards +y, emitter towards -y with its arrow.
  void transistor(const Frame& f, bool npn) const {
    f.line(0, m_L, 0, 8);
    f.line(0, -8, 0, -m_L);
    f.line(5, -6, 5, 6);
    f.line(5, 2.5, 0, 8);
    f.line(5, -2.5, 0, -8);
    solid();
    if (npn)
      arrowHead(f, {5, -2.5}, {1, -6.9}, 4, 2);
    else
      arrowHead(f, {0, -8}, {4, -3.6}, 4, 2);
    hollow();
  }

  // A waveform picture, upright on the screen, or along the axis.
  static void sine(const Frame& f, double cx, double cy, double halfLength, double amplitude,
                   bool alongAxis) {
    constexpr int kSegments = 12;
    for (int i = 0; i < kSegments; ++i) {
      const double t0 = static_cast<double>(i) / kSegments;
      const double t1 = static_cast<double>(i + 1) / kSegments;
      const double u0 = -halfLength + 2 * halfLength * t0;
      const double u1 = -halfLength + 2 * halfLength * t1;
      const double v0 = -amplitude * std::sin(2 * kPi * t0);
      const double v1 = -amplitude * std::sin(2 * kPi * t1);
      if (alongAxis)
        f.line(cx + v0, cy - u0, cx + v1, cy - u1);
      else
        f.line(cx + u0, cy + v0, cx + u1, cy + v1);
    }
  }

  void waveformPicture(model::Waveform waveform, double size) const {
    const Frame up(m_canvas, m_centre, GridPoint{0, 1}, m_s);
    const double w = size;        // half width
    const double a = size * 0.6;  // half height
    switch (waveform) {
      case model::Waveform::Constant:
        up.line(-w, -a / 2, w, -a / 2);
        for (double x : {-w, -w / 5 * 1, w * 3 / 5}) up.line(x, a / 2, x + w * 2 / 5, a / 2);
        return;
      case model::Waveform::Sine: sine(up, 0, 0, w, a, false); return;
      case model::Waveform::Square:
        up.polyline({{-w, a}, {-w, -a}, {0, -a}, {0, a}, {w, a}, {w, -a}});
        return;
      case model::Waveform::Triangle:
        up.polyline({{-w, 0}, {-w / 2, -a}, {w / 2, a}, {w, 0}});
        return;
      case model::Waveform::Sawtooth: up.polyline({{-w, a}, {0, -a}, {0, a}, {w, -a}}); return;
    }
  }

  // "+" beside the terminal that a voltage source drives positive.
  void plusMark(double x, double y) const {
    m_frame.line(x - 2, y, x + 2, y);
    m_frame.line(x, y - 2, x, y + 2);
  }

  void independentSource() const {
    const auto& source = static_cast<const model::IndependentSource&>(m_e);
    leadsTo(kRoundBody);
    filled();
    m_frame.circle(0, 0, kRoundBody);
    hollow();
    const double end = drivenEnd();
    if (m_e.kind() == ElementKind::Nap) {
      waveformPicture(source.waveform(), 4.5);
      plusMark(-5, end * 13);
    } else {
      // A smaller picture leaves room for the arrow head towards the driven end.
      waveformPicture(source.waveform(), 3);
      solid();
      arrowHead(m_frame, {0, 0}, {0, end * 6.3}, 3, 2);
      hollow();
    }
  }

  void controlledSource() const {
    const Frame& f = m_frame;
    leadsTo(10);
    filled();
    f.polygon({{0, 10}, {10, 0}, {0, -10}, {-10, 0}});
    hollow();
    const double end = drivenEnd();
    if (m_e.kind() == ElementKind::zsN) {
      plusMark(0, end * 5);
      const Vec minus = f.map(0, -end * 5);
      m_canvas.line(minus.x - 2 * m_s, minus.y, minus.x + 2 * m_s, minus.y);
    } else {
      f.line(0, -end * 6, 0, end * 3);
      solid();
      arrowHead(f, {0, 0}, {0, end * 7}, 4, 2.5);
      hollow();
    }
  }

  void letterCircle(std::string_view letter) const {
    leadsTo(kRoundBody);
    filled();
    m_frame.circle(0, 0, kRoundBody);
    hollow();
    m_frame.centredText(0, 0, letter, 10 * m_s);
  }

  void wattmeter() const {
    letterCircle("W");
    m_frame.line(-m_L, 0, -kRoundBody, 0);
    m_frame.line(kRoundBody, 0, m_L, 0);
    // Dots at the ends of the current and voltage paths that are taken as positive.
    const double v1 = m_e.terminalsSwapped ? 1.0 : -1.0;
    solid();
    m_frame.circle(3, 12, 1.5);
    m_frame.circle(v1 * 12, 3, 1.5);
    hollow();
  }

  void twoWindings() const {
    const Frame& f = m_frame;
    const double L = m_L;
    // First winding at A (x = +L), second at B (x = -L), humps facing each other.
    for (double side : {1.0, -1.0}) {
      const double x = side * L;
      f.line(x, L, x, 9);
      f.line(x, -9, x, -L);
      for (double y : {-6.0, 0.0, 6.0}) f.arc(x, y, 3, side > 0 ? 90 : -90, 180);
    }
    if (m_e.kind() == ElementKind::Tf1) {
      f.line(-2, -10, -2, 10);
      f.line(2, -10, 2, 10);
    }
    // Dots at the winding ends of the same polarity; a swapped second winding turns round.
    const double second = m_e.terminalsSwapped ? -1.0 : 1.0;
    solid();
    f.circle(L - 6, 11, 1.5);
    f.circle(-L + 6, second * 11, 1.5);
    hollow();
  }

  void terminalMarks() const {
    outlinePen();
    filled();
    for (int i = 0; i < m_e.terminalCount(); ++i) {
      const Vec t = toCanvas(m_e.terminalPoint(i));
      m_canvas.ellipse(t.x - 1.5 * m_s, t.y - 1.5 * m_s, t.x + 1.5 * m_s, t.y + 1.5 * m_s);
    }
    hollow();
  }

  bool windings() const { return m_e.info().hasWindings(); }

  // The frame and axis the arrows belong to: the element's own axis, the collector-emitter
  // path of a transistor, or the first winding.
  Frame arrowFrame() const {
    return Frame(m_canvas, m_centre, m_d, m_s,
                 m_e.kind() == ElementKind::BJT && m_e.terminalsSwapped);
  }
  double arrowAxis() const { return windings() ? m_L : 0.0; }

  void voltageArrow() const {
    m_canvas.setPen({colors::kBlue, m_pen, PenStyle::Solid});
    const Frame f = arrowFrame();
    // On the side away from the label point; beside a winding, away from the other one.
    const double x = windings() ? m_L + 12 : -12.0;
    const double end = m_L - 3;
    f.line(x, end, x, -end);
    const double tip = m_e.voltageDirection ? end : -end;
    const double back = m_e.voltageDirection ? -5 : 5;
    f.line(x, tip, x - 2, tip + back);
    f.line(x, tip, x + 2, tip + back);
  }

  void currentArrow() const {
    m_canvas.setPen({colors::kMaroon, m_pen, PenStyle::Solid});
    const Frame f = arrowFrame();
    const double x = arrowAxis();
    const double tip = m_e.currentDirection() ? -(m_L - 3) : m_L - 3;
    const double back = m_e.currentDirection() ? 3 : -3;
    f.line(x, tip, x - 3, tip + back);
    f.line(x, tip, x + 3, tip + back);
  }

  void name() const {
    m_canvas.setPen({colors::kNavy, m_pen, PenStyle::Solid});
    const double size = fontPixelSize(m_view, m_s);
    const std::string& text = m_e.name();
    const double w = m_canvas.textWidth(text, size);
    const double h = m_canvas.textHeight(text, size);
    const auto index = static_cast<std::size_t>((m_e.orientation() - 1) / 2) % 4;
    const model::LabelCode code = m_e.info().labelCodes[index];
    m_canvas.text(m_centre.x + decodeLabelCode(code.x, w, h, m_s, m_view.grid),
                  m_centre.y + decodeLabelCode(code.y, w, h, m_s, m_view.grid), text, size);
  }

  Canvas& m_canvas;
  const model::Element& m_e;
  const ViewSettings& m_view;
  double m_s;
  double m_dx;
  double m_dy;
  double m_L;  // one grid step: the distance of the terminals from the centre
  Color m_outline;
  Color m_fill;
  double m_pen;
  Vec m_centre;
  GridPoint m_d;
  Frame m_frame;
};

}  // namespace

void drawElement(Canvas& canvas, const model::Element& element, const ViewSettings& view,
                 double scale, double dx, double dy) {
  // Objects being moved are left out; the whole canvas is repainted anyway.
  if (!element.drawn) return;
  SymbolPainter(canvas, element, view, scale, dx, dy).draw();
}

void drawSchematic(Canvas& canvas, const model::Schematic& schematic, const ViewSettings& view,
                   double scale, double dx, double dy) {
  const auto toCanvas = [&](GridPoint p) {
    const CanvasPoint px = gridToPixel(p, view);
    return Vec{dx + scale * px.x, dy + scale * px.y};
  };
  const auto outline = [&](const model::Obiekt& o) {
    return !view.printer && o.selected ? colors::kRed : colors::kBlack;
  };

  if (!view.printer && view.showGrid) {
    canvas.setPen({colors::kBlack, 1.0, PenStyle::Solid});
    for (int x = 0; x < model::kGridSize; ++x)
      for (int y = 0; y < model::kGridSize; ++y) {
        if (schematic.occupancy().at({x, y}) > 0) continue;
        const Vec p = toCanvas({x, y});
        canvas.point(p.x, p.y);
      }
  }

  const double pen = penWidth(view);
  canvas.setBrush(Brush::none());
  for (const auto& wire : schematic.wires()) {
    if (!wire->drawn) continue;
    canvas.setPen({outline(*wire), pen, PenStyle::Solid});
    const Vec a = toCanvas(wire->start());
    const Vec b = toCanvas(wire->end());
    canvas.line(a.x, a.y, b.x, b.y);
  }
  for (const auto& junction : schematic.junctions()) {
    if (!junction->drawn) continue;
    const Color c = outline(*junction);
    canvas.setPen({c, pen, PenStyle::Solid});
    canvas.setBrush(Brush::solid(c));
    const Vec p = toCanvas(junction->position());
    const double r = 2.5 * scale;
    canvas.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
  }
  canvas.setBrush(Brush::none());
  for (const auto& element : schematic.elements())
    drawElement(canvas, *element, view, scale, dx, dy);
}

}  // namespace wolterix::drawing
