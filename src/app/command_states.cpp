#include "app/command_states.h"

#include "editor/editing.h"

namespace wolterix::app {

using model::ElementKind;

bool timeOnlyKind(ElementKind kind) { return model::kindInfo(kind).timeOnly; }

bool CommandStates::kindVisible(ElementKind kind) const {
  if (kind == ElementKind::nWe) return transferMode;
  return !(transferMode && timeOnlyKind(kind));
}

bool CommandStates::kindEnabled(ElementKind kind) const {
  return kindVisible(kind) && !(kind == ElementKind::nWe && inputVoltagePlaced);
}

CommandStates computeCommandStates(const editor::Editor& editor, const ProgramState& program) {
  const model::Schematic& schematic = editor.schematic();
  const editor::SelectionSummary summary = editor.summary();
  const bool transfer = schematic.transferMode();
  const bool oneElement = summary == editor::SelectionSummary::OneElement;
  const bool severalElements = summary == editor::SelectionSummary::SeveralElements;
  const model::Element* only = editor.selectedElement();

  CommandStates s;
  s.transferMode = transfer;
  s.inputVoltagePlaced = schematic.hasInputVoltage();
  const bool empty =
      schematic.elements().empty() && schematic.wires().empty() && schematic.junctions().empty();
  s.print = program.printerAvailable && !empty;
  s.deleteSelection = summary != editor::SelectionSummary::Nothing;
  s.undo = editor.canUndo();
  s.redo = editor.canRedo();
  s.paste = editor.canPaste();
  s.rotateAndName = oneElement || severalElements;
  s.parameters = oneElement;
  s.reverse = only && model::hasSwapFlag(only->kind());
  // The input voltage alone offers no arrow commands, though a group of elements that holds
  // it turns its arrows with the rest.
  if (only && only->kind() != ElementKind::nWe) {
    s.voltageArrows = only->info().hasArrow(model::kVoltageArrow);
    s.currentArrows = !transfer && only->info().hasArrow(model::kCurrentArrow);
  }
  s.voltageArrows = s.voltageArrows || severalElements;
  s.currentArrows = s.currentArrows || severalElements;
  // Wires alone are nothing to simulate; a transfer function needs its input.
  s.run = !schematic.elements().empty() && (!transfer || schematic.hasInputVoltage());
  s.plotsAndWaveforms = transfer ? program.transferResultsValid : program.timeResultsValid;
  s.measurement = !transfer;
  // While a measurement runs only its Stop button is live.
  const bool idle = s.measurement && !program.measurementRunning;
  s.addMeter = idle && oneElement;
  s.startMeasurement = idle && !schematic.elements().empty();
  s.repeatMeasurement = s.startMeasurement && program.measurementRepeatable;
  s.continueMeasurement = s.startMeasurement && program.measurementContinuable;

  const std::string kind = transfer ? "transmitancji" : "symulacji";
  s.simulateCaption = transfer ? "&Transmitancja..." : "&Symulacja...";
  s.simulateHint = "Wywołuje pole dialogowe " + kind;
  s.simulateButtonHint =
      std::string(transfer ? "Transmitancja" : "Symulacja") + "|Wywołuje pole dialogowe " + kind;
  s.runAndPlotCaption = transfer ? "Transmitancja+Wyk&resy" : "Symulacja+Wyk&resy";
  s.runAndPlotHint = std::string(transfer ? "Wykonuje transmitancję " : "Wykonuje symulację ") +
                     "przy aktualnych ustawieniach i automatycznie wyświetla wybrane przebiegi";
  s.analysisPanel = transfer ? "Transmitancja   " : "Symulacja czasowa   ";
  s.panelCaption =
      program.measurementPanelOpen ? "Zamknij pa&nel pomiarowy" : "Otwórz pa&nel pomiarowy";
  return s;
}

}  // namespace wolterix::app
