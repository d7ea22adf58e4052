// Which commands are live: the Qt-free command states mapped onto the actions.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPrinterInfo>

#include "app/command_states.h"
#include "app/instant_session.h"
#include "app/main_window.h"
#include "app/object_palette.h"
#include "meters/measurement_panel.h"

namespace wolterix::app {

using C = Command;

namespace {
QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void TForm1::idleUpdate() {
  ProgramState program;
  program.measurementPanelOpen = m_measurementPanel->isVisibleTo(this);
  program.measurementRunning = m_measurement.running();
  program.measurementContinuable = m_editor.flags().measurementContinuable;
  program.measurementRepeatable = m_measurement.settingsValid();
  program.timeResultsValid = resultsValid() && !m_schematic.transferMode();
  program.transferResultsValid = resultsValid() && m_schematic.transferMode();
  const CommandStates s = computeCommandStates(m_editor, program);
  const auto enable = [&](std::initializer_list<Command> commands, bool on) {
    for (const C c : commands) action(c)->setEnabled(on);
  };
  enable({C::PrintSchematic}, s.print && !QPrinterInfo::availablePrinterNames().isEmpty());
  enable({C::ExportPdf}, s.print);
  enable({C::Delete, C::Cut, C::Copy}, s.deleteSelection);
  // Without a selection the arrows scroll the sheet.
  enable({C::NudgeLeft, C::NudgeRight, C::NudgeUp, C::NudgeDown}, s.deleteSelection);
  enable({C::Undo}, s.undo);
  enable({C::Redo}, s.redo);
  // The items name the step they undo and redo ("Cofnij: przesunięcie 3 obiektów").
  const auto name = [](QAction* a, const QString& text, const std::string& step) {
    const QString named =
        step.empty() ? text : text + QStringLiteral(": ") + QString::fromStdString(step);
    a->setText(QLatin1Char('&') + named);
    a->setToolTip(named);
    a->setStatusTip(named);
  };
  name(action(C::Undo), QStringLiteral("Cofnij"), m_editor.undoLabel());
  name(action(C::Redo), QStringLiteral("Ponów"), m_editor.redoLabel());
  enable({C::Paste}, s.paste);
  enable({C::ToggleName, C::RotateLeft, C::RotateRight}, s.rotateAndName);
  enable({C::Reverse}, s.reverse);
  enable({C::ToggleVoltage, C::ReverseVoltage}, s.voltageArrows);
  enable({C::ToggleCurrent, C::ReverseCurrent}, s.currentArrows);
  enable({C::Simulate, C::SimulateAndPlot}, s.run);
  m_instant->check();
  enable({C::Stepping}, program.timeResultsValid && !program.measurementRunning);
  action(C::Stepping)->setChecked(m_instant->active());
  enable({C::SampleBack, C::SampleForward, C::PeriodBack, C::PeriodForward, C::PlayPause},
         m_instant->active() && !program.measurementRunning);
  enable({C::Parameters}, s.parameters);
  enable({C::Waveforms, C::Plots}, s.plotsAndWaveforms);
  enable({C::MeasurementPanel}, s.measurement);
  enable({C::AddVoltmeter, C::AddAmmeter, C::AddWattmeter}, s.addMeter);
  enable({C::Measure}, s.startMeasurement);
  enable({C::RepeatMeasurement}, s.repeatMeasurement);
  enable({C::ContinueMeasurement}, s.continueMeasurement);
  m_measurementPanel->setAddEnabled(s.addMeter);
  m_measurementPanel->setRunning(program.measurementRunning, s.continueMeasurement);
  // No measurement in a transfer workspace: its panel goes.
  if (!s.measurement && program.measurementPanelOpen) m_measurementPanel->hide();
  QAction* simulate = action(C::Simulate);
  simulate->setText(fromUtf8(s.simulateCaption));
  simulate->setStatusTip(fromUtf8(s.simulateHint));
  const QString buttonHint = fromUtf8(s.simulateButtonHint);
  simulate->setToolTip(buttonHint.left(buttonHint.indexOf('|')));
  action(C::SimulateAndPlot)->setText(fromUtf8(s.runAndPlotCaption));
  action(C::SimulateAndPlot)->setStatusTip(fromUtf8(s.runAndPlotHint));
  action(C::MeasurementPanel)->setText(fromUtf8(s.panelCaption));
  const QString panel = fromUtf8(s.analysisPanel);
  if (m_analysisPanel->text() != panel) m_analysisPanel->setText(panel);
  m_measurementMenu->menuAction()->setEnabled(s.measurement);
  bool paletteChanged = false;
  for (const InsertRow& row : insertRows()) {
    const auto kind = model::kindFromNumber(row.mode);
    if (!kind) continue;
    QAction* a = m_modeActions[row.mode];
    paletteChanged = paletteChanged || a->isVisible() != s.kindVisible(*kind);
    a->setVisible(s.kindVisible(*kind));
    a->setEnabled(s.kindEnabled(*kind));
  }
  if (paletteChanged) m_objectPalette->layOut();
  // A hidden kind cannot stay the placing mode.
  if (const auto kind = model::kindFromNumber(m_editor.mode()); kind && !s.kindEnabled(*kind))
    setMode(editor::kSelectMode);

  if (m_documents.rememberCurrentFile()) saveSettings();
  for (int i = 0; i < 4; ++i) {
    const QString path = QString::fromStdString(m_settings.recent[static_cast<std::size_t>(i)]);
    QAction* item = action(static_cast<C>(static_cast<int>(C::Recent1) + i));
    item->setText(QStringLiteral("&%1 ").arg(i + 1) + path);
    item->setVisible(!path.isEmpty());
  }
  m_reopen->setEnabled(action(C::Recent1)->isVisible());
}

}  // namespace wolterix::app
