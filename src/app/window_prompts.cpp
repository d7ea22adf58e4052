#include "app/window_prompts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "app/instant_session.h"
#include "app/main_window.h"
#include "app/object_palette.h"
#include "dialogs/error_dialog.h"
#include "dialogs/simulation_dialogs.h"
#include "editor/schematic_canvas.h"
#include "help/help_window.h"
#include "meters/measurement_dialogs.h"
#include "meters/measurement_panel.h"
#include "model/element.h"
#include "results/plot_window.h"
#include "results/waveform_dialog.h"

namespace wolterix::app {

namespace {
void showErrorLines(QWidget* parent, const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  dialogs::TErrorDialog::show(parent, list);
}
}  // namespace

void AnalysisDialogs::create(int samples) {
  m_simulation = new dialogs::TSymuDialog(samples, &m_window);
  m_transfer = new dialogs::TTransmiDialog(&m_window);
  m_simulation->onHelp = m_window.helpOnTopic();
  m_transfer->onHelp = m_window.helpOnTopic();
  m_progress = new dialogs::ProgressWindow(&m_window);
  m_window.execSimulationDialog = [](dialogs::TSymuDialog& dialog) { return dialog.exec(); };
  m_window.execTransferDialog = [](dialogs::TTransmiDialog& dialog) { return dialog.exec(); };
}

SimulationAnswer AnalysisDialogs::askSimulation(const std::string& timeText, int iterations) {
  m_simulation->setValues(QString::fromStdString(timeText), iterations);
  const int choice = m_window.execSimulationDialog(*m_simulation);
  m_window.m_help->hideHelp();
  SimulationAnswer answer;
  if (choice == dialogs::TSymuDialog::Cancelled) return answer;
  answer.choice = choice == dialogs::TSymuDialog::Continue ? SimulationAnswer::Continue
                                                           : SimulationAnswer::Start;
  answer.timeText = m_simulation->timeText().toStdString();
  answer.iterations = m_simulation->iterations();
  return answer;
}

std::optional<std::pair<std::string, std::string>> AnalysisDialogs::askRange(
    const std::string& from, const std::string& to) {
  m_transfer->setValues(QString::fromStdString(from), QString::fromStdString(to));
  const int answer = m_window.execTransferDialog(*m_transfer);
  m_window.m_help->hideHelp();
  if (answer != QDialog::Accepted) return std::nullopt;
  return std::pair{m_transfer->fromText().toStdString(), m_transfer->toText().toStdString()};
}

void AnalysisDialogs::showErrors(const std::vector<std::string>& lines) {
  showErrorLines(&m_window, lines);
}

void AnalysisDialogs::runStarted() {
  m_progress->setProgress(0);
  m_progress->show();
}

void AnalysisDialogs::runProgress(int percent) { m_progress->setProgress(percent); }

void AnalysisDialogs::runEnded() { m_progress->hide(); }

void AnalysisDialogs::showRunTime(const std::string& text) {
  m_window.m_timePanel->setText(QString::fromStdString(text));
}

void AnalysisDialogs::resultsChanged() {
  m_window.m_instant->resultsReplaced();
  m_window.m_canvas->update();
}

void MeterDialogs::create(int samples) {
  m_dialog = new meters::TPomiarDialog(samples, &m_window);
  m_dialog->onHelp = m_window.helpOnTopic();
  TForm1& w = m_window;
  w.execMeasurementDialog = [](meters::TPomiarDialog& dialog) { return dialog.exec(); };
  w.execOptionsDialog = [](meters::TOpcjeDialog& dialog) { return dialog.exec(); };
  meters::MeasurementPanel& panel = *w.m_measurementPanel;
  panel.onAdd = [&w](engine::MeterQuantity quantity) { w.addMeter(quantity); };
  panel.onStart = [&w] { w.StartPauseOnCl(); };
  panel.onStop = [&w] { w.stopMeasurement(); };
  panel.onContinue = [&w] { w.continueMeasurement(); };
  panel.onOptions = [&w](int slot) { w.meterOptions(slot); };
  panel.onClose = [&w](int slot) { w.closeMeter(slot); };
  // A meter lets go of its element when the element goes.
  w.m_schematic.onElementDestroyed = [&w](const model::Element& element) {
    for (int slot : w.m_measurement.forgetElement(element))
      w.m_measurementPanel->showSlot(slot,
                                     w.m_measurement.meterSlots()[static_cast<std::size_t>(slot)]);
  };
}

MeasurementAnswer MeterDialogs::askMeasurement(const engine::MeasurementSettings& shown) {
  m_dialog->setValues(QString::fromStdString(shown.frequencyText),
                      QString::fromStdString(shown.cyclesText), shown.iterations);
  const int choice = m_window.execMeasurementDialog(*m_dialog);
  m_window.m_help->hideHelp();
  MeasurementAnswer answer;
  if (choice != meters::TPomiarDialog::Start && choice != meters::TPomiarDialog::Continue)
    return answer;
  answer.choice = choice == meters::TPomiarDialog::Continue ? MeasurementAnswer::Continue
                                                            : MeasurementAnswer::Start;
  answer.iterations = m_dialog->iterations();
  answer.frequencyText = m_dialog->frequencyText().toStdString();
  answer.cyclesText = m_dialog->cyclesText().toStdString();
  return answer;
}

std::optional<MeterOptions> MeterDialogs::askMeterOptions(const engine::MeterSlot& meter) {
  meters::TOpcjeDialog dialog(&m_window);
  dialog.onHelp = m_window.helpOnTopic();
  dialog.setSlot(meter, QString::fromStdString(meter.element->name()));
  const bool accepted = m_window.execOptionsDialog(dialog) == QDialog::Accepted;
  m_window.m_help->hideHelp();
  if (!accepted) return std::nullopt;
  return MeterOptions{dialog.autoRange(), dialog.quantity(), dialog.indication(),
                      dialog.rangePosition()};
}

void MeterDialogs::showErrors(const std::vector<std::string>& lines) {
  showErrorLines(&m_window, lines);
}

void MeterDialogs::openPanel() { m_window.m_measurementPanel->show(); }

void MeterDialogs::showMeters() {
  const auto& meters = m_window.m_measurement.meterSlots();
  for (int i = 0; i < engine::Measurement::kSlotCount; ++i)
    m_window.m_measurementPanel->showSlot(i, meters[static_cast<std::size_t>(i)]);
}

void MeterDialogs::setMeasuring(bool measuring) {
  TForm1& w = m_window;
  w.menuBar()->setEnabled(!measuring);
  w.m_toolPalette->setEnabled(!measuring);
  w.m_objectPalette->setEnabled(!measuring);
  w.m_plots->setEnabled(!measuring);
  w.m_waveformDialog->setEnabled(!measuring);
  w.m_measurementPanel->setRunning(measuring, w.m_editor.flags().measurementContinuable);
}

void MeterDialogs::showFrame(int frame, const std::string& time) {
  m_window.m_measurementPanel->setAnimationFrame(frame);
  m_window.m_timePanel->setText(QString::fromStdString(time));
  m_window.m_timePanel->repaint();
}

void MeterDialogs::showTime(const std::string& time) {
  m_window.m_timePanel->setText(QString::fromStdString(time));
}

void MeterDialogs::letEventsThrough() { QCoreApplication::processEvents(); }

void MeterDialogs::cycleMeasured(long long cycle) {
  if (m_window.onMeasurementCycle) m_window.onMeasurementCycle(cycle);
}

void MeterDialogs::commandsChanged() { m_window.idleUpdate(); }

// The window's close waited for the run, which was on the stack below it, to end.
void MeterDialogs::measurementEnded() {
  m_window.m_canvas->update();
  if (m_window.m_closeAfterMeasurement) {
    m_window.m_closeAfterMeasurement = false;
    QTimer::singleShot(0, &m_window, &QWidget::close);
  }
}

}  // namespace wolterix::app
