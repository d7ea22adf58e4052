#include "drawing/svg_canvas.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <numbers>

namespace wolterix::drawing {

namespace {

// Three decimals keep the file small and are far below what a viewer can show.
std::string num(double value) {
  double rounded = std::round(value * 1000.0) / 1000.0;
  if (rounded == 0.0) rounded = 0.0;  // no "-0"
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string hex(Color c) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text = "#";
  for (std::uint8_t v : {c.r, c.g, c.b}) {
    text += digits[v >> 4];
    text += digits[v & 15];
  }
  return text;
}

// Length of the UTF-8 sequence starting at s[i], or 0 when it is malformed.
std::size_t sequenceLength(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  std::size_t length = 0;
  unsigned min = 0;
  unsigned code = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0)
    length = 2, min = 0x80, code = lead & 0x1F;
  else if ((lead & 0xF0) == 0xE0)
    length = 3, min = 0x800, code = lead & 0x0F;
  else if ((lead & 0xF8) == 0xF0)
    length = 4, min = 0x10000, code = lead & 0x07;
  else
    return 0;
  if (i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  if (code == 0xFFFE || code == 0xFFFF) return 0;  // not allowed in XML
  return length;
}

std::size_t characterCount(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const std::size_t length = sequenceLength(s, i);
    i += length == 0 ? 1 : length;
  }
  return count;
}

}  // namespace

std::string escapeXml(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t length = sequenceLength(s, i);
    if (length == 0) {
      out += '?';
      ++i;
      continue;
    }
    const char c = s[i];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (length == 1 && static_cast<unsigned char>(c) < 0x20 && c != '\t')
          out += '?';
        else
          out.append(s.substr(i, length));
    }
    i += length;
  }
  return out;
}

SvgCanvas::SvgCanvas(double width, double height) : m_width(width), m_height(height) {}

void SvgCanvas::setBackground(Color color) {
  m_hasBackground = true;
  m_background = color;
}

std::string SvgCanvas::strokeAttributes() const {
  std::string a = " stroke=\"" + hex(m_pen.color) + "\" stroke-width=\"" + num(m_pen.width) + '"';
  if (m_pen.style == PenStyle::Dot)
    a += " stroke-dasharray=\"" + num(m_pen.width) + ' ' + num(2 * m_pen.width) + '"';
  else if (m_pen.style == PenStyle::Dash)
    a += " stroke-dasharray=\"" + num(4 * m_pen.width) + ' ' + num(2 * m_pen.width) + '"';
  return a;
}

std::string SvgCanvas::fillAttribute() const {
  return m_brush.filled ? " fill=\"" + hex(m_brush.color) + '"' : std::string(" fill=\"none\"");
}

void SvgCanvas::point(double x, double y) {
  m_body += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"1\" height=\"1\" fill=\"" +
            hex(m_pen.color) + "\"/>\n";
}

void SvgCanvas::line(double x1, double y1, double x2, double y2) {
  m_body += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
            num(y2) + '"' + strokeAttributes() + " stroke-linecap=\"square\"/>\n";
}

void SvgCanvas::rectangle(double x1, double y1, double x2, double y2) {
  m_body += "<rect x=\"" + num(std::min(x1, x2)) + "\" y=\"" + num(std::min(y1, y2)) +
            "\" width=\"" + num(std::abs(x2 - x1)) + "\" height=\"" + num(std::abs(y2 - y1)) + '"' +
            strokeAttributes() + fillAttribute() + "/>\n";
}

void SvgCanvas::ellipse(double x1, double y1, double x2, double y2) {
  m_body += "<ellipse cx=\"" + num((x1 + x2) / 2) + "\" cy=\"" + num((y1 + y2) / 2) + "\" rx=\"" +
            num(std::abs(x2 - x1) / 2) + "\" ry=\"" + num(std::abs(y2 - y1) / 2) + '"' +
            strokeAttributes() + fillAttribute() + "/>\n";
}

void SvgCanvas::arc(double x1, double y1, double x2, double y2, double startDegrees,
                    double spanDegrees) {
  if (std::abs(spanDegrees) >= 360.0) {
    const Brush brush = m_brush;
    m_brush = Brush::none();
    ellipse(x1, y1, x2, y2);
    m_brush = brush;
    return;
  }
  const double cx = (x1 + x2) / 2;
  const double cy = (y1 + y2) / 2;
  const double rx = std::abs(x2 - x1) / 2;
  const double ry = std::abs(y2 - y1) / 2;
  const double a = startDegrees * std::numbers::pi / 180.0;
  const double b = (startDegrees + spanDegrees) * std::numbers::pi / 180.0;
  // SVG's positive sweep turns clockwise on the screen, our positive span counter-clockwise.
  const int large = std::abs(spanDegrees) > 180.0 ? 1 : 0;
  const int sweep = spanDegrees > 0 ? 0 : 1;
  m_body += "<path d=\"M" + num(cx + rx * std::cos(a)) + ' ' + num(cy - ry * std::sin(a)) + " A" +
            num(rx) + ' ' + num(ry) + " 0 " + std::to_string(large) + ' ' + std::to_string(sweep) +
            ' ' + num(cx + rx * std::cos(b)) + ' ' + num(cy - ry * std::sin(b)) + '"' +
            strokeAttributes() + " fill=\"none\"/>\n";
}

void SvgCanvas::polygon(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  std::string list;
  for (const CanvasPoint& p : points) {
    if (!list.empty()) list += ' ';
    list += num(p.x) + ',' + num(p.y);
  }
  m_body += "<polygon points=\"" + list + '"' + strokeAttributes() + fillAttribute() + "/>\n";
}

void SvgCanvas::polyline(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  std::string list;
  for (const CanvasPoint& p : points) {
    if (!list.empty()) list += ' ';
    list += num(p.x) + ',' + num(p.y);
  }
  m_body += "<polyline points=\"" + list + '"' + strokeAttributes() +
            " fill=\"none\" stroke-linejoin=\"round\"/>\n";
}

void SvgCanvas::polylines(std::span<const std::vector<CanvasPoint>> parts) {
  std::size_t drawn = 0;
  for (const auto& part : parts) drawn += part.empty() ? 0 : 1;
  if (drawn <= 1) {
    for (const auto& part : parts) polyline(part);
    return;
  }
  std::string d;
  for (const auto& part : parts)
    for (std::size_t i = 0; i < part.size(); ++i) {
      if (!d.empty()) d += ' ';
      d += (i == 0 ? "M" : "L") + num(part[i].x) + ',' + num(part[i].y);
    }
  m_body +=
      "<path d=\"" + d + '"' + strokeAttributes() + " fill=\"none\" stroke-linejoin=\"round\"/>\n";
}

void SvgCanvas::text(double x, double y, std::string_view utf8, double pixelSize) {
  // SVG places text by its baseline; the ascent of DejaVu Sans is 0.928 em.
  m_body += "<text x=\"" + num(x) + "\" y=\"" + num(y + 0.928 * pixelSize) +
            "\" font-family=\"DejaVu Sans\" font-size=\"" + num(pixelSize) + "\" fill=\"" +
            hex(m_pen.color) + "\" xml:space=\"preserve\">" + escapeXml(utf8) + "</text>\n";
}

double SvgCanvas::textWidth(std::string_view utf8, double pixelSize) const {
  return 0.62 * pixelSize * static_cast<double>(characterCount(utf8));
}

double SvgCanvas::textHeight(std::string_view, double pixelSize) const { return 1.17 * pixelSize; }

std::string SvgCanvas::document() const {
  std::string doc = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(m_width) +
                    "\" height=\"" + num(m_height) + "\" viewBox=\"0 0 " + num(m_width) + ' ' +
                    num(m_height) + "\">\n";
  if (m_hasBackground)
    doc += "<rect x=\"0\" y=\"0\" width=\"" + num(m_width) + "\" height=\"" + num(m_height) +
           "\" fill=\"" + hex(m_background) + "\"/>\n";
  doc += m_body;
  doc += "</svg>\n";
  return doc;
}

bool SvgCanvas::save(const std::filesystem::path& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << document();
  out.close();
  return static_cast<bool>(out);
}

}  // namespace wolterix::drawing
