#pragma once
/// What the main window's commands look like at a given moment: which are enabled or visible
/// and how the analysis commands are captioned. Recomputed whenever the program is idle.

#include <string>

#include "model/element_catalogue.h"

namespace wolterix::editor {
class Editor;
}

namespace wolterix::app {

/// Facts about the program beside the editor.
struct ProgramState {
  bool printerAvailable = true;
  bool timeResultsValid = false;      ///< a time run finished and nothing changed since
  bool transferResultsValid = false;  ///< likewise for the transfer function
  bool measurementPanelOpen = false;
  bool measurementRunning = false;
  bool measurementContinuable = false;  ///< the last measurement may be continued
  bool measurementRepeatable = false;   ///< the stored measurement settings are valid
};

struct CommandStates {
  bool print = false;
  bool deleteSelection = false;  ///< also copy and cut
  bool undo = false;
  bool redo = false;
  bool paste = false;
  bool rotateAndName = false;  ///< name, rotate left, rotate right
  bool parameters = false;
  bool reverse = false;
  bool voltageArrows = false;
  bool currentArrows = false;
  bool run = false;
  bool plotsAndWaveforms = false;
  bool measurement = false;  ///< the measurement menu and panel button
  bool addMeter = false;     ///< voltmeter, ammeter and wattmeter of the selected element
  bool startMeasurement = false;
  bool repeatMeasurement = false;
  bool continueMeasurement = false;

  std::string simulateCaption;     ///< "&Symulacja..." / "&Transmitancja..."
  std::string simulateHint;        ///< hint of the menu item
  std::string simulateButtonHint;  ///< "Symulacja|Wywołuje ..." / "Transmitancja|..."
  std::string runAndPlotCaption;
  std::string runAndPlotHint;
  std::string analysisPanel;  ///< status panel 0
  std::string panelCaption;   ///< "Otwórz pa&nel pomiarowy" / "Zamknij pa&nel pomiarowy"

  /// Palette buttons and insert-menu items of the element kinds.
  bool kindVisible(model::ElementKind kind) const;
  bool kindEnabled(model::ElementKind kind) const;

  bool transferMode = false;
  bool inputVoltagePlaced = false;
};

/// Kinds the transfer-function analysis does not take (hidden in a transfer workspace).
bool timeOnlyKind(model::ElementKind kind);

CommandStates computeCommandStates(const editor::Editor& editor, const ProgramState& program);

}  // namespace wolterix::app
