#pragma once
/// The drawing surface of the main window: paints the schematic and turns mouse events into
/// calls on the editor.

#include <QCursor>
#include <QWidget>
#include <functional>
#include <optional>

#include "drawing/symbols.h"
#include "editor/editing.h"
#include "editor/instant_view.h"

namespace wolterix::editor {

class SchematicCanvas : public QWidget {
  Q_OBJECT

 public:
  SchematicCanvas(Editor& editor, QWidget* parent = nullptr);

  /// Grid size, zoom, grid dots and background; resizes the surface to z * g * 102 pixels.
  void setView(const drawing::ViewSettings& view);
  const drawing::ViewSettings& view() const { return m_view; }
  /// The top-left grid point of the part of the sheet that can be seen (where pastes start).
  model::GridPoint firstVisiblePoint() const;

  /// The circuit at an instant of the last time run drawn over the schematic; nullopt draws
  /// it as usual. Shown only while the editor holds valid results (an edit drops it).
  void setInstant(std::optional<InstantView> instant);
  const std::optional<InstantView>& instant() const { return m_instant; }
  /// Whether the values stand beside the elements while an instant is shown.
  void setShowValues(bool show);
  bool showValues() const { return m_showValues; }

  /// Receives the status texts: the grid position ("12:7") and the object under the mouse.
  std::function<void(const QString& position, const QString& object)> onStatus;
  /// Called after every mouse action that may have changed the schematic.
  std::function<void()> onEdited;
  /// Asked to move the seen part of the sheet by the given pixels (the wheel, a drag with the
  /// middle button); without it the wheel goes to the parent.
  std::function<void(QPoint by)> onScroll;
  /// Asked to zoom by whole steps (positive: closer) keeping the point `at` of the surface,
  /// in its present pixels, under the mouse (Ctrl+wheel).
  std::function<void(int steps, QPointF at)> onZoom;
  /// Whether the middle button is dragging the sheet.
  bool panning() const { return m_panFrom.has_value(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The handlers of the surface, named as in the rest of the program.
  void mousePressEvent(QMouseEvent* event) override { MFOnMD(event); }
  void mouseMoveEvent(QMouseEvent* event) override { MFOnMM(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { MFOnMU(event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { OnDoubleCl(event); }
  void wheelEvent(QWheelEvent* event) override;

 private:
  void MFOnMD(QMouseEvent* event);
  void MFOnMM(QMouseEvent* event);
  void MFOnMU(QMouseEvent* event);
  void OnDoubleCl(QMouseEvent* event);
  static Modifiers modifiersOf(const QMouseEvent* event);
  void updateCursor(model::GridPoint g);
  /// The middle button's drag: it moves the sheet and nothing else.
  bool pan(QMouseEvent* event);

  Editor& m_editor;
  drawing::ViewSettings m_view;
  QCursor m_handCursor;
  QCursor m_crossCursor;
  std::optional<InstantView> m_instant;
  bool m_showValues = false;
  std::optional<QPointF> m_panFrom;  ///< screen position of the last step of a pan
  int m_zoomWheel = 0;               ///< wheel turn not yet worth a zoom step
};

}  // namespace wolterix::editor
