#pragma once
/// "Wykresy": the time traces or the transfer-function plots of the last run.

#include <QPointF>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "results/plot_data.h"
#include "results/plot_painter.h"
#include "results/plot_scales.h"

class QLabel;
class QPainter;
class QToolButton;
class QMouseEvent;

namespace wolterix::engine {
class Simulation;
}

namespace wolterix::results {

class TOpisOsiDialog;
class HarmonicsWindow;

/// Paints the plot into a rectangle of a painter through a PainterCanvas; on paper with its
/// legend above, the lines and the text in their printed sizes on the painter's device.
void paintPlot(QPainter& painter, const QRectF& area, const PlotView& view, bool paper);

/// The plot window: a top-level window with speed buttons, an information bar and the plot,
/// all commands also on its pop-up menu. It opens frameless over the whole screen; "Okno"
/// switches to a normal window and back.
class TWykDialog : public QWidget {
  Q_OBJECT

 public:
  explicit TWykDialog(QWidget* parent = nullptr);

  /// Reads the chosen traces of the last run and shows them.
  void showResults(const engine::Simulation& simulation, const WaveformSelection& selection,
                   bool transfer, double inputLevel);

  void setBackground(const QColor& background);
  void setGridMode(GridMode mode);
  void setLabelChoices(int left, int right);
  /// "Przewodzenie" (Ctrl+P): the conduction strip under a time plot.
  void setShowConduction(bool shown);
  const PlotView& view() const { return m_view; }
  /// Trace colours on the current background, for the markers of "Przebiegi".
  std::array<QColor, 6> traceColors() const;
  QColor backgroundColor() const;
  /// The information bar's text: the legend of the shown traces, each in its colour, and the
  /// readout of the cursors (rich text).
  QString informationText() const;

  bool fullScreenMode() const { return m_fullScreen; }
  /// Frameless over the available part of the screen, or a framed, movable, resizable window.
  void setFullScreenMode(bool fullScreen);

  /// Shows [from, to] (seconds, or hertz on a transfer plot) of the full range; the results
  /// read from the run stay as they are.
  void zoomTo(double from, double to);
  void showFullRange();
  bool zoomed() const { return m_zoomed; }
  const TimePlot& fullTimePlot() const { return m_fullTime; }
  const TransferPlot& fullTransferPlot() const { return m_fullTransfer; }

  /// The fixed cursors in plot coordinates (x: time or frequency, y: Im on the complex plane).
  const std::optional<QPointF>& cursorA() const { return m_cursorA; }
  const std::optional<QPointF>& cursorB() const { return m_cursorB; }
  void clearCursors();

  /// The instant the time plot points at: cursor A's time when fixed, else the hover cursor's;
  /// nullopt for none and on a transfer plot.
  std::optional<double> instant() const;
  /// Fixes cursor A at t (clamped to the run) without calling onInstant.
  void followInstant(double t);
  /// Clears cursor A without calling onInstant.
  void clearInstant();

  /// "Harmoniczne..." (F7): opens or raises the harmonics of the full time plot, on the trace
  /// nearest the mouse over the plot (else the first), with the proposed fundamental.
  void openHarmonics();
  /// The harmonics window once opened, else null.
  HarmonicsWindow* harmonicsWindow() const { return m_harmonics; }
  /// The fundamental to propose: proposeFundamental's when it gives one, else 50 Hz when the
  /// run holds a period of it, else the whole run as one period.
  double proposedFundamental() const;

  // Commands the owner carries out (back to the schematic, "Przebiegi", "Symulacja",
  // "Kontynuuj", printing, help with its topic).
  std::function<void()> onBack;
  std::function<void()> onSelectWaveforms;
  std::function<void()> onSimulate;
  std::function<void()> onContinue;
  std::function<void()> onPrint;
  std::function<void()> onExportPdf;
  std::function<void(int topic)> onHelp;
  /// Printing and the PDF of the harmonics window.
  std::function<void()> onPrintHarmonics;
  std::function<void()> onExportHarmonicsPdf;
  /// The fundamental the schematic suggests (its sinusoidal source), if any.
  std::function<std::optional<double>()> proposeFundamental;
  /// The background colour or the grid mode (both kept with the user settings), or the showing
  /// of the conduction strip changed.
  std::function<void()> onViewChanged;
  /// The instant() changed: by the mouse, a click, Esc, new results (nullopt).
  std::function<void(std::optional<double> t)> onInstant;
  /// Shows the axis-description dialog (replaceable for tests).
  std::function<int(TOpisOsiDialog&)> execAxisDialog;
  /// Asks where to export (title, filter, default suffix); empty when cancelled.
  std::function<QString(const QString&, const QString&, const QString&)> askExportPath;
  /// Tells the user why an export failed.
  std::function<void(const QString&)> showWarning;
  /// Asks the size of an exported image, proposing the window's; nullopt when cancelled.
  std::function<std::optional<QSize>(QSize)> askImageSize;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void rebuildColors();
  void updateInformation();
  void chooseBackground();
  void plotMouseEvent(QMouseEvent* event);
  std::optional<QPointF> plotPointAt(const QPointF& pos) const;
  void paintCursors(QPainter& painter) const;
  void cursorsMoved();
  void exportCsv();
  void exportImage();
  void exportSvg();
  void writeExport(const QString& path, std::string_view bytes);
  int traceNearestMouse() const;

  TimePlot m_fullTime;
  TransferPlot m_fullTransfer;
  bool m_zoomed = false;
  bool m_fullScreen = true;
  std::optional<QPointF> m_hover;
  std::optional<QPointF> m_cursorA;
  std::optional<QPointF> m_cursorB;
  std::optional<double> m_instant;   ///< the instant last told through onInstant
  std::optional<QPointF> m_pressAt;  ///< widget position of a left press on the plot
  bool m_dragging = false;
  QPointF m_dragTo;

  PlotView m_view;
  QLabel* m_information;
  QWidget* m_plotArea;
  QToolButton* m_continue;
  QToolButton* m_axisLabels;
  QAction* m_continueAction;
  QAction* m_axisAction;
  QAction* m_harmonicsAction;
  QAction* m_conductionAction;
  HarmonicsWindow* m_harmonics = nullptr;
};

}  // namespace wolterix::results
