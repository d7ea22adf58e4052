#pragma once
/// "Harmoniczne": the harmonic content of one time trace of the plot window, as a bar chart,
/// a table and THD.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "engine/harmonics.h"
#include "results/harmonics_painter.h"
#include "results/plot_data.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPainter;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace wolterix::results {

/// Paints the chart into a rectangle of a painter through a PainterCanvas; on paper the lines
/// and the text in their printed sizes on the painter's device.
void paintHarmonics(QPainter& painter, const QRectF& area, const HarmonicsView& view, bool paper);

/// A framed, resizable window: the trace, the fundamental and the number of orders at the
/// top, the chart and the table below, with THD, RMS and DC beside the table.
class HarmonicsWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HarmonicsWindow(QWidget* parent = nullptr);

  /// Offers the plot's traces, proposes the fundamental and analyses the chosen trace (the one
  /// of the same name as before, else the first).
  void setTraces(const TimePlot& plot, double proposedFundamental);
  /// New results of the same plot: the trace (by name), the fundamental and the orders stay.
  void updateTraces(const TimePlot& plot);
  void chooseTrace(int index);
  int chosenTrace() const;
  /// The fundamental as its field reads it; nullopt when the text is no number.
  std::optional<double> fundamental() const;
  void setFundamental(double hertz);
  void setHarmonicCount(int count);
  /// Analyses the last `periods` whole periods; 0: all that fit.
  void setLastPeriods(int periods);
  void setPercent(bool percent);
  void setLogarithmic(bool logarithmic);

  const std::optional<engine::HarmonicAnalysis>& analysis() const { return m_view.analysis; }
  /// Why the analysis could not be made (Polish); empty when it was.
  const QString& refusal() const { return m_refusal; }
  QTableWidget* table() const { return m_table; }
  QString summaryText() const;
  /// The table as text: a header row and a row per order, cells separated by tabs.
  QString tableText() const;
  HarmonicsView view() const { return m_view; }

  /// Puts tableText() on the clipboard ("Kopiuj tabelę", Ctrl+C).
  void copyTable();
  /// "Eksportuj dane (CSV)...": the analysis as CSV into a file asked through askExportPath.
  void exportCsv();

  // Commands the owner carries out: printing, the PDF and help with its topic.
  std::function<void()> onPrint;
  std::function<void()> onExportPdf;
  std::function<void(int topic)> onHelp;
  /// Asks where to export (title, filter, default suffix); empty when cancelled.
  std::function<QString(const QString&, const QString&, const QString&)> askExportPath;
  /// Tells the user why an export failed.
  std::function<void(const QString&)> showWarning;

 private:
  void analyse();
  void fillTable();
  void updateSummary();
  QString unit() const;

  TimePlot m_plot;
  HarmonicsView m_view;
  QString m_refusal;
  QComboBox* m_traces;
  QLineEdit* m_fundamental;
  QSpinBox* m_count;
  QSpinBox* m_periods;
  QRadioButton* m_percent;
  QRadioButton* m_absolute;
  QRadioButton* m_linear;
  QRadioButton* m_logarithmic;
  QWidget* m_chart;
  QTableWidget* m_table;
  QLabel* m_summary;
};

}  // namespace wolterix::results
