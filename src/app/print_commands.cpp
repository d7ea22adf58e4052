// Printing the schematic and the plots, on paper or into a PDF file.

#include <QFileInfo>
#include <QPrinter>

#include "app/main_window.h"
#include "help/help_window.h"
#include "printing/print_dialog.h"
#include "results/harmonics_window.h"
#include "results/plot_data.h"
#include "results/plot_window.h"

namespace wolterix::app {

namespace {
// A printer that writes an A4 PDF file instead.
void toPdfFile(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(path);
}

bool printThroughDialog(TForm1& window, QPrinter& printer, const model::Schematic& schematic,
                        int grid, const std::function<int(printing::TDrukDialog&)>& exec,
                        const std::function<void(int)>& help) {
  printing::TDrukDialog dialog(printer, &window);
  dialog.onHelp = help;
  dialog.prepareForSchematic(schematic, grid);
  if (exec(dialog) != QDialog::Accepted) return false;
  return printing::printSchematic(printer, schematic, dialog.layout(), grid);
}
}  // namespace

bool TForm1::DrukujOnCl() {
  QPrinter printer(QPrinter::HighResolution);
  const bool printed =
      printThroughDialog(*this, printer, m_schematic, m_view.grid, execPrintDialog, helpOnTopic());
  m_help->hideHelp();
  return printed;
}

bool TForm1::exportPdf() {
  const QString path = askPdfPath();
  if (path.isEmpty()) return false;
  QPrinter printer(QPrinter::HighResolution);
  toPdfFile(printer, path);
  const bool printed =
      printThroughDialog(*this, printer, m_schematic, m_view.grid, execPrintDialog, helpOnTopic());
  m_help->hideHelp();
  if (!printed) return false;
  if (!QFileInfo::exists(path)) {
    m_documents.prompt().warn((QStringLiteral("Nie można zapisać pliku: ") + path).toStdString());
    return false;
  }
  return true;
}

bool TForm1::printPlot(bool toPdf) {
  const results::PlotView view = m_plots->view();
  return printPainted(toPdf, [&view](QPainter& painter, const QRectF& area) {
    results::paintPlot(painter, area, view, true);
  });
}

bool TForm1::printHarmonics(bool toPdf) {
  const results::HarmonicsWindow* window = m_plots->harmonicsWindow();
  if (!window || !window->analysis()) return false;
  const results::HarmonicsView view = window->view();
  return printPainted(toPdf, [&view](QPainter& painter, const QRectF& area) {
    results::paintHarmonics(painter, area, view, true);
  });
}

bool TForm1::printPainted(bool toPdf, const std::function<void(QPainter&, const QRectF&)>& paint) {
  QPrinter printer(QPrinter::HighResolution);
  QString path;
  if (toPdf) {
    path = askPdfPath();
    if (path.isEmpty()) return false;
    toPdfFile(printer, path);
  }
  printing::TDrukDialog dialog(printer, this);
  dialog.onHelp = helpOnTopic();
  dialog.prepareForPlot(m_schematic, m_view.grid);
  const int answer = execPrintDialog(dialog);
  m_help->hideHelp();
  if (answer != QDialog::Accepted) return false;
  if (!dialog.schematicChosen() && !dialog.plotChosen()) return false;
  const bool done =
      printing::printPage(printer, dialog.schematicChosen() ? &m_schematic : nullptr,
                          dialog.layout(), m_view.grid, dialog.plotChosen() ? paint : nullptr);
  if (toPdf && !QFileInfo::exists(path)) {
    m_documents.prompt().warn((QStringLiteral("Nie można zapisać pliku: ") + path).toStdString());
    return false;
  }
  return done;
}

}  // namespace wolterix::app
