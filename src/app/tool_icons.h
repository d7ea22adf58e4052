#pragma once
/// The program's pictures: its own icon, the tool palette's commands in one line style, and
/// the object palette's symbols.

#include <QIcon>

namespace wolterix::app {

/// The commands of the tool palette (and their menu items) that carry a picture.
enum class ToolIcon {
  New,
  Open,
  Save,
  SaveAs,
  Print,
  Pdf,
  Undo,
  Redo,
  Delete,
  Reverse,
  RotateLeft,
  RotateRight,
  Parameters,
  Name,
  Voltage,
  Current,
  ReverseVoltage,
  ReverseCurrent,
  Simulate,
  Waveforms,
  Plots,
  Measurement,
  Topology,
  About,
  Help,
};

/// A tool picture at the usual toolbar and menu sizes.
QIcon toolIcon(ToolIcon which);

/// The palette picture of a placing mode (an element kind's number, the wire, the junction or
/// selection), the whole symbol scaled to fit with a free margin.
QIcon symbolIcon(int mode);

/// The program's icon: a source with a sine wave in a small circuit, simplified at small sizes.
QIcon programIcon();

}  // namespace wolterix::app
