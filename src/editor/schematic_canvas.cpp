#include "editor/schematic_canvas.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleHints>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "drawing/painter_canvas.h"

namespace wolterix::editor {

namespace {

// Our own cursor pictures: a pointing hand over objects, a cross for placing.
QCursor handCursor() {
  QPixmap picture(32, 32);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  const QPoint finger[] = {{8, 1},   {11, 1},  {11, 10}, {20, 12}, {21, 22},
                           {18, 28}, {10, 28}, {4, 18},  {5, 15},  {8, 17}};
  p.drawPolygon(finger, 10);
  p.drawLine(14, 12, 14, 18);
  p.drawLine(17, 13, 17, 18);
  return QCursor(picture, 9, 1);
}

QCursor crossCursor() {
  QPixmap picture(32, 32);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setPen(QPen(Qt::white, 3));
  p.drawLine(16, 4, 16, 28);
  p.drawLine(4, 16, 28, 16);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(16, 4, 16, 28);
  p.drawLine(4, 16, 28, 16);
  return QCursor(picture, 16, 16);
}

}  // namespace

SchematicCanvas::SchematicCanvas(Editor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_handCursor(handCursor()), m_crossCursor(crossCursor()) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setView(m_view);
}

void SchematicCanvas::setView(const drawing::ViewSettings& view) {
  m_view = view;
  m_view.printer = false;
  const drawing::CanvasSize size = drawing::canvasSize(m_view);
  setFixedSize(size.width, size.height);
  m_editor.setView(m_view.grid, m_view.zoom);
  update();
}

void SchematicCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const drawing::Color bg = m_view.background;
  painter.fillRect(rect(), QColor(bg.r, bg.g, bg.b));
  drawing::PainterCanvas canvas(painter);
  // An instant refers to elements of the schematic the results were made of: after an edit
  // it may name ones gone, so it is drawn only while those results stand.
  if (m_instant && m_editor.flags().resultsValid)
    drawing::drawInstant(canvas, m_editor.schematic(), m_view, m_view.zoom, 0, 0,
                         m_instant->picture, m_showValues);
  else
    drawing::drawSchematic(canvas, m_editor.schematic(), m_view, m_view.zoom, 0, 0);

  // The wire being drawn and the rubber band: red, dotted.
  canvas.setPen({drawing::colors::kRed, 1, drawing::PenStyle::Dot});
  canvas.setBrush(drawing::Brush::none());
  if (const auto preview = m_editor.wirePreview()) {
    const drawing::CanvasPoint a = drawing::gridToPixel(preview->first, m_view);
    const drawing::CanvasPoint b = drawing::gridToPixel(preview->second, m_view);
    canvas.line(a.x * m_view.zoom, a.y * m_view.zoom, b.x * m_view.zoom, b.y * m_view.zoom);
  }
  if (const auto band = m_editor.rubberBand())
    canvas.rectangle(band->first.x, band->first.y, band->second.x, band->second.y);
}

void SchematicCanvas::setInstant(std::optional<InstantView> instant) {
  m_instant = std::move(instant);
  update();
}

void SchematicCanvas::setShowValues(bool show) {
  if (m_showValues == show) return;
  m_showValues = show;
  if (m_instant) update();
}

Modifiers SchematicCanvas::modifiersOf(const QMouseEvent* event) {
  const Qt::KeyboardModifiers m = event->modifiers();
  return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::AltModifier),
          m.testFlag(Qt::ControlModifier)};
}

bool SchematicCanvas::pan(QMouseEvent* event) {
  const QEvent::Type type = event->type();
  if (!m_panFrom) {
    // Only a middle button pressed alone starts it: a left drag under way keeps the mouse.
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && onScroll &&
        event->buttons() == Qt::MiddleButton) {
      m_panFrom = event->globalPosition();
      setCursor(Qt::ClosedHandCursor);
    }
    return m_panFrom.has_value();
  }
  if (!event->buttons().testFlag(Qt::MiddleButton)) {
    // Its release ends it, and so does any event showing the release was missed elsewhere.
    m_panFrom.reset();
    const QPointF pos = event->position();
    updateCursor(drawing::pixelToGrid(pos.x(), pos.y(), m_view));
    return type == QEvent::MouseButtonRelease && event->button() == Qt::MiddleButton;
  }
  if (type == QEvent::MouseMove) {
    // Screen positions: the surface itself moves under the mouse as it scrolls.
    const QPointF at = event->globalPosition();
    const QPoint by = (*m_panFrom - at).toPoint();
    m_panFrom = at;
    if (!by.isNull()) onScroll(by);
  }
  return true;
}

void SchematicCanvas::wheelEvent(QWheelEvent* event) {
  const QPoint turn = event->angleDelta();
  if (event->modifiers().testFlag(Qt::ControlModifier)) {
    event->accept();  // never a page scroll of the parent instead
    // A left drag keeps pixel positions of the present zoom: no zooming under it.
    if (!onZoom || event->buttons().testFlag(Qt::LeftButton)) return;
    m_zoomWheel += turn.y();
    const int steps = m_zoomWheel / QWheelEvent::DefaultDeltasPerStep;
    m_zoomWheel -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) onZoom(steps, event->position());
    return;
  }
  if (!onScroll) return event->ignore();
  QPoint by = -event->pixelDelta();
  if (by.isNull()) {
    // A notch moves the sheet by the system's count of lines, a grid step each.
    const int perNotch =
        QGuiApplication::styleHints()->wheelScrollLines() * m_view.grid * m_view.zoom;
    by = QPoint(-turn.x() * perNotch / QWheelEvent::DefaultDeltasPerStep,
                -turn.y() * perNotch / QWheelEvent::DefaultDeltasPerStep);
  }
  if (event->modifiers().testFlag(Qt::ShiftModifier) && by.x() == 0) by = QPoint(by.y(), 0);
  event->accept();
  if (!by.isNull()) onScroll(by);
}

void SchematicCanvas::MFOnMD(QMouseEvent* event) {
  if (pan(event) || event->button() != Qt::LeftButton) return;
  const QPointF pos = event->position();
  m_editor.mouseDown(drawing::pixelToGrid(pos.x(), pos.y(), m_view), {pos.x(), pos.y()},
                     modifiersOf(event));
  update();
  if (onEdited) onEdited();
}

void SchematicCanvas::MFOnMM(QMouseEvent* event) {
  if (pan(event)) return;
  const QPointF pos = event->position();
  const model::GridPoint g = drawing::pixelToGrid(pos.x(), pos.y(), m_view);
  m_editor.mouseMove(g, {pos.x(), pos.y()}, modifiersOf(event),
                     event->buttons().testFlag(Qt::LeftButton));
  if (onStatus)
    onStatus(QString::fromStdString(Editor::positionText(g)),
             QString::fromStdString(m_editor.objectText(g)));
  updateCursor(g);
  if (event->buttons().testFlag(Qt::LeftButton)) {
    update();
    if (onEdited) onEdited();
  }
}

void SchematicCanvas::MFOnMU(QMouseEvent* event) {
  if (pan(event) || event->button() != Qt::LeftButton) return;
  const QPointF pos = event->position();
  m_editor.mouseUp(drawing::pixelToGrid(pos.x(), pos.y(), m_view), {pos.x(), pos.y()},
                   modifiersOf(event));
  update();
  if (onEdited) onEdited();
}

void SchematicCanvas::OnDoubleCl(QMouseEvent* event) {
  if (pan(event) || event->button() != Qt::LeftButton) return;
  if (modifiersOf(event).alt || modifiersOf(event).ctrl) return;
  m_editor.doubleClick();
}

model::GridPoint SchematicCanvas::firstVisiblePoint() const {
  const QRect seen = visibleRegion().boundingRect();
  if (seen.isEmpty()) return {0, 0};
  // Grid point (x, y) sits at ((x + 1) * step, (y + 1) * step): the first one at or after the
  // visible corner.
  const int step = m_view.grid * m_view.zoom;
  const auto first = [step](int pixel) {
    return std::clamp((pixel + step - 1) / step - 1, 0, 100);
  };
  return {first(seen.left()), first(seen.top())};
}

void SchematicCanvas::updateCursor(model::GridPoint g) {
  if (m_editor.mode() != kSelectMode) {
    setCursor(m_crossCursor);
  } else if (m_editor.hitTest(g)) {
    setCursor(m_handCursor);
  } else {
    unsetCursor();
  }
}

}  // namespace wolterix::editor
