#pragma once
/// "Wykresy": the time traces or the transfer-function plots of the last run.

#include <QWidget>
#include <array>
#include <functional>

#include "results/plot_data.h"
#include "results/plot_scales.h"

class QLabel;
class QPainter;
class QToolButton;

namespace wolterix::engine {
class Simulation;
}

namespace wolterix::results {

class TOpisOsiDialog;

/// Everything one drawing of the plot needs; the screen and the printer share it.
struct PlotView {
  bool transfer = false;
  TimePlot time;
  TransferPlot transferPlot;
  WaveformSelection selection;
  PlotColors colors = plotColors(drawing::Color{0, 0, 0}, GridMode::Faint);
  GridMode grid = GridMode::Faint;
  /// Quantities labelled on the vertical axis (left, right); any other value labels none.
  std::array<int, 2> labelChoices{0, 1};
};

/// Paints the plot into a rectangle. On paper the text is black and the grid black or grey.
void paintPlot(QPainter& painter, const QRectF& area, const PlotView& view, bool paper);

/// The plot window: a frameless top-level window with speed buttons, an information bar and
/// the plot, all commands also on its pop-up menu.
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
  const PlotView& view() const { return m_view; }
  /// Trace colours on the current background, for the markers of "Przebiegi".
  std::array<QColor, 6> traceColors() const;
  QColor backgroundColor() const;
  /// The information bar's text: the shown trace names, each in its colour (rich text).
  QString informationText() const;

  // Commands the owner carries out (back to the schematic, "Przebiegi", "Symulacja",
  // "Kontynuuj", printing, help with its topic).
  std::function<void()> onBack;
  std::function<void()> onSelectWaveforms;
  std::function<void()> onSimulate;
  std::function<void()> onContinue;
  std::function<void()> onPrint;
  std::function<void()> onExportPdf;
  std::function<void(int topic)> onHelp;
  /// The background colour or the grid mode changed (both are kept with the user settings).
  std::function<void()> onViewChanged;
  /// Shows the axis-description dialog (replaceable for tests).
  std::function<int(TOpisOsiDialog&)> execAxisDialog;

 private:
  void rebuildColors();
  void updateInformation();
  void chooseBackground();

  PlotView m_view;
  QLabel* m_information;
  QWidget* m_plotArea;
  QToolButton* m_continue;
  QToolButton* m_axisLabels;
  QAction* m_continueAction;
  QAction* m_axisAction;
};

}  // namespace wolterix::results
