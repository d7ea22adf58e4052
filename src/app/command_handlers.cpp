// What the commands of the menus, palettes and keys do, and how the window follows the
// document: its replacement, its edits, the settings and the close.

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPrinterInfo>

#include "app/instant_session.h"
#include "app/main_window.h"
#include "app/settings_store.h"
#include "dialogs/parameter_dialogs.h"
#include "dialogs/workspace_dialogs.h"
#include "editor/schematic_canvas.h"
#include "engine/harmonics.h"
#include "help/about_dialog.h"
#include "help/help_window.h"
#include "meters/measurement_panel.h"
#include "model/connectivity.h"
#include "model/waveform_names.h"
#include "results/plot_data.h"
#include "results/plot_window.h"
#include "results/waveform_dialog.h"

namespace wolterix::app {

using C = Command;

void TForm1::runCommand(Command command) {
  if (const int size = gridSizeOf(command)) {
    m_settings.grid = size;
    applyView();
    return saveSettings();
  }
  if (const int zoom = zoomOf(command)) {
    if (m_view.zoom == zoom) return;
    m_view.zoom = zoom;
    return applyView();
  }
  switch (command) {
    case C::New: m_documents.newDocument(); break;
    case C::Open: m_documents.openDocument(); break;
    case C::Recent1:
    case C::Recent2:
    case C::Recent3:
    case C::Recent4:
      m_documents.openRecent(static_cast<int>(command) - static_cast<int>(C::Recent1));
      break;
    case C::Save: m_documents.save(); break;
    case C::SaveAs: m_documents.saveAs(); break;
    case C::PrintSchematic: DrukujOnCl(); break;
    case C::ExportPdf: exportPdf(); break;
    case C::Exit: close(); break;
    case C::Undo: undoOrRedo(true); break;
    case C::Redo: undoOrRedo(false); break;
    case C::Delete: m_editor.deleteSelected(); break;
    case C::Cut: m_editor.cut(); break;
    case C::Copy: m_editor.copy(); break;
    case C::Paste: m_editor.paste(m_canvas->firstVisiblePoint()); break;
    case C::SelectAll: m_editor.selectAll(); break;
    case C::SelectElements: m_editor.selectElements(); break;
    case C::SelectWires: m_editor.selectWires(); break;
    case C::SelectJunctions: m_editor.selectJunctions(); break;
    case C::NudgeLeft: m_editor.nudge(-1, 0); break;
    case C::NudgeRight: m_editor.nudge(1, 0); break;
    case C::NudgeUp: m_editor.nudge(0, -1); break;
    case C::NudgeDown: m_editor.nudge(0, 1); break;
    case C::RotateLeft: m_editor.rotateLeft(); break;
    case C::RotateRight: m_editor.rotateRight(); break;
    case C::Reverse: m_editor.reverse(); break;
    case C::Parameters: ParamOnCl(); break;
    case C::ToggleName: m_editor.toggleNames(); break;
    case C::ToggleVoltage: m_editor.toggleVoltageArrows(); break;
    case C::ToggleCurrent: m_editor.toggleCurrentArrows(); break;
    case C::ReverseVoltage: m_editor.reverseVoltageArrows(); break;
    case C::ReverseCurrent: m_editor.reverseCurrentArrows(); break;
    case C::Simulate: SymOnCl(); break;
    case C::Waveforms: chooseWaveforms(); break;
    case C::Plots: showPlots(); break;
    case C::Topology:
      refreshTopology();
      m_topology->show();
      m_topology->raise();
      break;
    case C::SimulateAndPlot:
      if (runWithStoredSettings()) showPlots();
      break;
    case C::Stepping:
      action(C::Stepping)->setChecked(m_instant->setActive(action(C::Stepping)->isChecked()));
      break;
    case C::InstantValues: m_instant->setShowValues(action(C::InstantValues)->isChecked()); break;
    case C::SampleBack: m_instant->step(-1); break;
    case C::SampleForward: m_instant->step(1); break;
    case C::PeriodBack: m_instant->stepPeriods(-1); break;
    case C::PeriodForward: m_instant->stepPeriods(1); break;
    case C::PlayPause: m_instant->togglePlay(); break;
    case C::MeasurementPanel: togglePanel(); break;
    case C::AddVoltmeter: addMeter(engine::MeterQuantity::Voltage); break;
    case C::AddAmmeter: addMeter(engine::MeterQuantity::Current); break;
    case C::AddWattmeter: addMeter(engine::MeterQuantity::Power); break;
    case C::Measure: StartPauseOnCl(); break;
    case C::RepeatMeasurement: repeatMeasurement(); break;
    case C::ContinueMeasurement: continueMeasurement(); break;
    case C::BackgroundColour: chooseBackground(); break;
    case C::ShowGrid:
      m_settings.showGrid = action(C::ShowGrid)->isChecked();
      applyView();
      saveSettings();
      break;
    case C::ToolPalette:
    case C::ObjectPalette:
    case C::StatusBar:
      (command == C::ToolPalette     ? m_settings.toolPalette
       : command == C::ObjectPalette ? m_settings.objectPalette
                                     : m_settings.statusBar) = action(command)->isChecked();
      applyView();
      saveSettings();
      break;
    case C::ContextHelp: contextHelp(); break;
    case C::LastHelpPage: m_help->showLastTopic(); break;
    case C::HelpTopics: m_help->showContents(); break;
    case C::Questions: m_help->showQuestions(); break;
    case C::About: {
      help::AboutDialog about(this);
      about.exec();
      break;
    }
    default: break;
  }
}

void TForm1::chooseBackground() {
  dialogs::TKolorDialog dialog(this);
  drawing::Color colour = m_settings.canvasColour;
  dialog.onPreview = [this](drawing::Color shown) {
    m_settings.canvasColour = shown;
    applyView();
  };
  if (dialog.choose(canvasColours(), colour)) {
    m_settings.canvasColour = colour;
    applyView();
    saveSettings();
  }
}

void TForm1::loadSettings() {
  m_settings = readUserSettings();
  applyView();
}

void TForm1::saveSettings() {
  const QColor plot = m_plots->backgroundColor();
  m_settings.plotColour = {static_cast<std::uint8_t>(plot.red()),
                           static_cast<std::uint8_t>(plot.green()),
                           static_cast<std::uint8_t>(plot.blue())};
  m_settings.plotMode = static_cast<int>(m_plots->view().grid);
  m_settings.conductionStrip = m_plots->view().showConduction;
  m_settings.validate();
  // Written at every change, so a crash loses nothing (the store syncs when it goes).
  writeUserSettings(m_settings);
}

void TForm1::undoOrRedo(bool undo) {
  // The schematic is read again from the step's text: the meters find their elements by name.
  std::vector<std::pair<engine::MeterSlot, std::string>> meters;
  for (const engine::MeterSlot& slot : m_measurement.meterSlots())
    meters.emplace_back(slot, slot.inUse && slot.element ? slot.element->name() : std::string());
  if (!(undo ? m_editor.undo() : m_editor.redo())) return;
  auto& inUse = m_measurement.meterSlots();
  for (std::size_t i = 0; i < inUse.size(); ++i) {
    const auto& [slot, name] = meters[i];
    if (!slot.inUse || inUse[i].inUse) continue;
    if (const model::Element* element = m_schematic.findElement(name)) {
      inUse[i] = slot;
      inUse[i].element = element;
    }
    m_measurementPanel->showSlot(static_cast<int>(i), inUse[i]);
  }
}

void TForm1::edited() {
  m_instant->check();  // an edit ends the stepping with the results it showed
  if (m_topology->isVisible()) refreshTopology();
  // A renamed element renames its meters.
  if (m_measurementPanel->isVisibleTo(this)) m_meterDialogs.showMeters();
}

void TForm1::refreshTopology() {
  model::numberNodes(m_schematic);
  QStringList lines;
  for (const std::string& line : model::showTopology(m_schematic))
    lines << QString::fromStdString(line);
  m_topology->setLines(lines);
}

QString TForm1::titleFor(const QString& path) {
  if (path.isEmpty()) return QStringLiteral("Wolterix - (bez nazwy)");
  const QString name = QFileInfo(path).fileName();
  return QStringLiteral("Wolterix - ") + name.left(std::max<qsizetype>(0, name.size() - 4));
}

void TForm1::documentReplaced() {
  m_modeActions[editor::kSelectMode]->setChecked(true);
  setWindowTitle(titleFor(currentFile()));
  m_timePanel->setText(QStringLiteral("0 ms"));  // the last run's time is not this schematic's
  if (m_topology->isVisible()) refreshTopology();
  m_instant->check();
  m_canvas->update();
}

void TForm1::closeEvent(QCloseEvent* event) {
  // The run is on the stack below this event: stop it first and close once it has ended.
  if (m_measurement.running()) {
    m_measurement.stop();
    m_closeAfterMeasurement = true;
    event->ignore();
    return;
  }
  if (!m_documents.maybeSave()) {
    event->ignore();
    return;
  }
  addRecentFile(m_settings.recent, m_documents.currentFile());
  saveSettings();
  m_plots->hide();
  m_help->hideHelp();
  event->accept();
}

void TForm1::togglePanel() {
  if (m_schematic.transferMode()) return;
  m_measurementPanel->setVisible(!m_measurementPanel->isVisibleTo(this));
  m_meterDialogs.showMeters();
  idleUpdate();
}

bool TForm1::ParamOnCl() {
  if (m_measurement.running()) return false;
  model::Element* element = m_editor.selectedElement();
  if (!element) return false;
  // The dialog's changes are one step of the history; a refused or cancelled one none.
  m_editor.beginEdit();
  const std::string label = "zmiana parametrów " + element->name();
  const bool accepted = dialogs::editParameters(this, *element, m_schematic, m_editor.flags(),
                                                helpOnTopic(), [this] { m_help->hideHelp(); });
  m_editor.endEdit(label);
  edited();
  m_canvas->update();
  return accepted;
}

void TForm1::wirePlots() {
  // The plot window's colour and grid mode are kept with the settings too.
  m_plots->setBackground(
      QColor(m_settings.plotColour.r, m_settings.plotColour.g, m_settings.plotColour.b));
  m_plots->setGridMode(static_cast<results::GridMode>(m_settings.plotMode));
  m_plots->setShowConduction(m_settings.conductionStrip);
  m_plots->onViewChanged = [this] { saveSettings(); };
  m_plots->onBack = [this] {
    m_plots->hide();
    raise();
    activateWindow();
  };
  m_plots->onSelectWaveforms = [this] {
    if (chooseWaveforms()) showPlots();
  };
  m_plots->onSimulate = [this] {
    if (SymOnCl()) showPlots();
  };
  m_plots->onPrint = [this] { printPlot(QPrinterInfo::availablePrinterNames().isEmpty()); };
  m_plots->onExportPdf = [this] { printPlot(true); };
  m_plots->onPrintHarmonics = [this] {
    printHarmonics(QPrinterInfo::availablePrinterNames().isEmpty());
  };
  m_plots->onExportHarmonicsPdf = [this] { printHarmonics(true); };
  m_plots->proposeFundamental = [this] { return engine::proposedFundamental(m_schematic); };
  m_plots->onInstant = [this](std::optional<double> t) { m_instant->followPlot(t); };
  m_instant->onMoved = [this](double t) {
    if (m_plots->isVisible()) m_plots->followInstant(t);
  };
  m_plots->askExportPath = [this](const QString& title, const QString& filter,
                                  const QString& suffix) {
    return app::askExportPath(m_plots, title, filter, suffix);
  };
  m_plots->onContinue = [this] {
    if (m_analysis.continueRun()) showPlots();
  };
}

bool TForm1::chooseWaveforms() {
  if (!resultsValid()) return false;
  m_waveformDialog->onHelp = helpOnTopic();
  m_waveformDialog->setTraceColors(m_plots->backgroundColor(), m_plots->traceColors());
  const bool chosen = m_waveformDialog->edit(m_selection, model::waveformList(m_schematic),
                                             m_schematic.transferMode());
  m_help->hideHelp();  // the help on a closed dialog would be left hanging
  return chosen;
}

void TForm1::showPlots() {
  if (!resultsValid()) return;
  m_plots->onHelp = helpOnTopic();
  m_plots->showResults(simulation(), m_selection, m_schematic.transferMode(),
                       results::inputLevelOf(m_schematic));
  m_plots->show();
  m_plots->raise();
  // Its keys are its own (F7 is "Harmoniczne" there), also when it was behind this window.
  m_plots->activateWindow();
}

}  // namespace wolterix::app
