#pragma once
/// "Drukuj": the page miniature with the schematic and plot frames, and printing through it.

#include <QDialog>
#include <functional>

#include "printing/print_layout.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPainter;
class QPrinter;
class QRectF;
class QTabWidget;

namespace wolterix::model {
class Schematic;
}

namespace wolterix::printing {

/// Page metrics of a printer (its printable area in device pixels) and of the screen.
PageMetrics pageMetricsOf(const QPrinter& printer);

class TDrukDialog : public QDialog {
  Q_OBJECT

 public:
  TDrukDialog(QPrinter& printer, QWidget* parent = nullptr);

  PrintLayout& layout() { return m_layout; }
  /// Prepares for the schematic alone: the plot frame and the choice of parts are hidden. The
  /// schematic must outlive the dialog, which measures it whenever the scale changes.
  void prepareForSchematic(const model::Schematic& schematic, int grid);
  /// Prepares for a plot, with the schematic as a choice ("Schemat", "Wykres").
  void prepareForPlot(const model::Schematic& schematic, int grid);
  bool schematicChosen() const;
  bool plotChosen() const;
  std::function<void(int)> onHelp;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void measure(const model::Schematic& schematic, int grid);
  void refresh();

  QPrinter& m_printer;
  PrintLayout m_layout;
  QWidget* m_miniature;
  QGroupBox* m_parts;
  QCheckBox* m_schematicBox;
  QCheckBox* m_plotBox;
  QTabWidget* m_tabs;
  QLabel* m_schematicScale;
  QLabel* m_plotScale;
  int m_grid = 20;
};

using PlotPainter = std::function<void(QPainter&, const QRectF&)>;

/// Draws the schematic on the printer (or PDF) page as the dialog placed it.
bool printSchematic(QPrinter& printer, const model::Schematic& schematic, const PrintLayout& layout,
                    int grid);
/// Draws the schematic and/or a plot, each in its frame; paintPlot draws the plot into a
/// rectangle of the page.
bool printPage(QPrinter& printer, const model::Schematic* schematic, const PrintLayout& layout,
               int grid, const PlotPainter& paintPlot);
/// What printPage draws, onto a page that is being painted (lines follow its resolution).
void paintPage(QPainter& painter, const model::Schematic* schematic, const PrintLayout& layout,
               int grid, const PlotPainter& paintPlot);

}  // namespace wolterix::printing
