#pragma once
/// The commands of the menus, palettes and keys: one row each, addressed by Command.

#include <QKeyCombination>
#include <optional>
#include <span>
#include <string>

#include "app/tool_icons.h"

namespace wolterix::meters {
struct ButtonHint;
}

namespace wolterix::app {

enum class Command {
  // File.
  New,
  Open,
  Recent1,
  Recent2,
  Recent3,
  Recent4,
  Save,
  SaveAs,
  PrintSchematic,
  ExportPdf,
  Exit,
  // Edit.
  Undo,
  Redo,
  Delete,
  Cut,
  Copy,
  Paste,
  SelectAll,
  SelectElements,
  SelectWires,
  SelectJunctions,
  NudgeLeft,
  NudgeRight,
  NudgeUp,
  NudgeDown,
  // Element.
  RotateLeft,
  RotateRight,
  Reverse,
  Parameters,
  ToggleName,
  ToggleVoltage,
  ToggleCurrent,
  ReverseVoltage,
  ReverseCurrent,
  // Simulation and measurement.
  Simulate,
  Waveforms,
  Plots,
  Topology,
  SimulateAndPlot,
  Stepping,
  InstantValues,
  SampleBack,
  SampleForward,
  PeriodBack,
  PeriodForward,
  PlayPause,
  MeasurementPanel,
  AddVoltmeter,
  AddAmmeter,
  AddWattmeter,
  Measure,
  RepeatMeasurement,
  ContinueMeasurement,
  // View.
  BackgroundColour,
  ShowGrid,
  Grid16,
  Grid18,
  Grid20,
  Grid22,
  Grid24,
  Zoom100,
  Zoom200,
  Zoom300,
  Zoom400,
  ToolPalette,
  ObjectPalette,
  StatusBar,
  // Help.
  ContextHelp,
  LastHelpPage,
  HelpTopics,
  Questions,
  About,
  Count
};

struct CommandRow {
  Command id;
  const char* name;  ///< object name of the action ("MXsymu")
  const char* text;
  const char* hint;  ///< "tooltip|status bar text"
  QKeyCombination key = {};
  std::optional<ToolIcon> icon = {};
  bool checkable = false;
  const char* alias = nullptr;  ///< the popup menu's name of the same action ("Pm2")
  const meters::ButtonHint* buttonHint = nullptr;  ///< the panel button's hint instead of hint
};

const CommandRow& commandRow(Command command);

/// The placing modes of the object palette and the insert menu, in the order of the menu. The
/// element kinds take their code, caption and hint from the element table.
struct InsertRow {
  int mode;
  std::string code;  ///< suffix of the names: "MX" in the menu, "SB" on the palette
  std::string text;
  std::string hint;  ///< "tooltip|status bar text"
};
std::span<const InsertRow> insertRows();

/// The tool palette's buttons and their names; nullopt is a separator.
struct ToolButtonRow {
  std::optional<Command> command;
  const char* name;
};
std::span<const ToolButtonRow> toolPaletteRows();

/// The grid size or zoom a view command chooses (0 for other commands).
int gridSizeOf(Command command);
int zoomOf(Command command);

}  // namespace wolterix::app
