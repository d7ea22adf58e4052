// Moving about the sheet with the wheel and the middle button, and opening dropped files.

#include <QDropEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/main_window.h"
#include "editor/schematic_canvas.h"

namespace wolterix::app {

using C = Command;

void TForm1::wireSheetNavigation(QScrollArea* scrollBox) {
  m_scrollBox = scrollBox;
  m_canvas->onScroll = [this](QPoint by) { scrollSheet(by); };
  m_canvas->onZoom = [this](int steps, QPointF at) { zoomSheet(steps, at); };
  setAcceptDrops(true);
}

void TForm1::scrollSheet(QPoint by) {
  QScrollBar* across = m_scrollBox->horizontalScrollBar();
  QScrollBar* down = m_scrollBox->verticalScrollBar();
  across->setValue(across->value() + by.x());
  down->setValue(down->value() + by.y());
}

void TForm1::zoomSheet(int steps, QPointF at) {
  // The steps of the view commands, 100 % to 400 %.
  const int zoom = std::clamp(m_view.zoom + steps, zoomOf(C::Zoom100), zoomOf(C::Zoom400));
  if (zoom == m_view.zoom) return;
  // Surface pixels scale with the zoom: the mouse's point of the sheet goes where its new
  // pixel is, at the same place in the scroll box.
  const QPointF inBox = at + QPointF(m_canvas->pos());
  const QPointF after = at * zoom / m_view.zoom;
  m_view.zoom = zoom;
  applyView();
  m_scrollBox->horizontalScrollBar()->setValue(qRound(after.x() - inBox.x()));
  m_scrollBox->verticalScrollBar()->setValue(qRound(after.y() - inBox.y()));
}

QString TForm1::droppedFile(const QMimeData* data) const {
  // A running measurement lets events through: no other schematic under its feet.
  if (!m_started || m_measurement.running() || !data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() &&
        url.toLocalFile().endsWith(QStringLiteral(".wtx"), Qt::CaseInsensitive))
      return url.toLocalFile();
  return {};
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (droppedFile(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = droppedFile(event->mimeData());
  if (path.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  // The save question waits for the user: not while the other program still holds its drag.
  QTimer::singleShot(0, this, [this, path] { openDropped(path); });
}

bool TForm1::openDropped(const QString& path) {
  if (m_measurement.running() || !m_documents.maybeSave()) return false;
  return m_documents.openFile(path.toStdString());
}

}  // namespace wolterix::app
