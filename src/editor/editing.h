#pragma once
/// Editing a schematic with the mouse and the editing commands, without any widget: the
/// canvas widget feeds it grid points and modifier keys and paints what it says.

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/edit_history.h"
#include "model/document_flags.h"
#include "model/schematic.h"
#include "model/schematic_file.h"

namespace wolterix::editor {

/// Editor modes: selection, placing a junction, drawing a wire; any other value is the numeric
/// kind of the element to place.
inline constexpr int kSelectMode = -1;
inline constexpr int kJunctionMode = -2;
inline constexpr int kWireMode = 0;

/// What is selected.
enum class SelectionSummary {
  Nothing = -1,
  OneJunction = -2,
  OneWire = 0,
  OneElement = 1,
  SeveralWithWires = -4,  ///< several objects including a wire or a junction
  SeveralElements = -3,
};

struct Modifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};

/// A point in canvas pixels.
struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
};

class Editor {
 public:
  explicit Editor(model::Schematic& schematic);

  model::Schematic& schematic() { return m_schematic; }
  const model::Schematic& schematic() const { return m_schematic; }

  // View: the grid size and zoom the widget draws with (for the rubber band's pixel test).
  void setView(int grid, int zoom);

  // Modes.
  int mode() const { return m_mode; }
  /// Chooses a mode (a palette button): deselects everything.
  void setMode(int mode);

  // Mouse, in grid points (snapped by the caller) and raw pixels. A run in progress makes the
  // mouse do nothing.
  void mouseDown(model::GridPoint g, PixelPoint raw, Modifiers modifiers);
  void mouseMove(model::GridPoint g, PixelPoint raw, Modifiers modifiers, bool leftButtonHeld);
  void mouseUp(model::GridPoint g, PixelPoint raw, Modifiers modifiers);
  void doubleClick();
  void setRunInProgress(bool running) { m_running = running; }

  /// Called when a double click asks for the selected element's parameters.
  std::function<void(model::Element&)> onParameters;
  /// Called with a hint for the status bar when an edit is refused for a reason worth telling.
  std::function<void(const std::string&)> onHint;

  // What the widget paints besides the schematic.
  std::optional<std::pair<model::GridPoint, model::GridPoint>> wirePreview() const {
    return m_preview;
  }
  std::optional<std::pair<PixelPoint, PixelPoint>> rubberBand() const { return m_band; }

  // Status bar texts for a grid point.
  static std::string positionText(model::GridPoint g);
  std::string objectText(model::GridPoint g) const;

  /// The object under a grid point: a junction, else a wire through it, else an element
  /// centred there; null for nothing or a point off the grid.
  model::Obiekt* hitTest(model::GridPoint g) const;

  // Selection.
  SelectionSummary summary() const;
  /// The one selected element when the selection is exactly one element, else null.
  model::Element* selectedElement() const;
  model::Obiekt* currentObject() const { return m_current; }
  void deselectAll();
  void selectAll();
  void selectElements();
  void selectWires();
  void selectJunctions();

  // Commands on the selection.
  void rotateLeft() { rotateSelected(-2); }
  void rotateRight() { rotateSelected(+2); }
  /// Swaps two terminals of the one selected BJT, coupled coils or wattmeter.
  void reverse();
  void toggleNames();
  void toggleVoltageArrows();
  void toggleCurrentArrows();
  void reverseVoltageArrows();
  void reverseCurrentArrows();
  void deleteSelected();
  /// Moves the selection by one grid step under the rules of dragging, then joins its wires
  /// as a drag would; false when it may not move there.
  bool nudge(int dx, int dy);
  void copy();
  void cut();
  bool canPaste() const;
  /// Pastes the clipboard at the first free place from start (the top-left corner of the
  /// visible part of the sheet), else from the sheet's origin; false if none.
  bool paste(model::GridPoint start = {0, 0});

  model::DocumentFlags& flags() { return m_flags; }
  const model::DocumentFlags& flags() const { return m_flags; }

  // Undo and redo. Every edit that changes the schematic's text is one step (a drag, a paste,
  // a dialog's changes); an edit that changes nothing records nothing.
  bool canUndo() const { return m_history.canUndo(); }
  bool canRedo() const { return m_history.canRedo(); }
  const std::string& undoLabel() const { return m_history.undoLabel(); }
  const std::string& redoLabel() const { return m_history.redoLabel(); }
  const EditHistory& history() const { return m_history; }
  /// Puts the schematic back as it was before the newest step, or after the newest undone
  /// one; the document flags change as the edit itself changed them. The schematic is read
  /// again from the step's text, so every element is a new object (the selection is empty).
  bool undo();
  bool redo();
  /// Forgets the history (New, Open).
  void clearHistory() { m_history.clear(); }
  /// Brackets an edit made from outside (a parameter dialog): the schematic's text is taken
  /// at the start and a step recorded at the end if it changed.
  void beginEdit();
  void endEdit(const std::string& label);

 private:
  void select(model::GridPoint g, bool adding);
  void changed();
  void rotateSelected(int steps);
  void destroySelected();
  /// Destroys the selected objects without touching the document flags.
  void removeSelected();
  void placeObject(model::GridPoint press, model::GridPoint release);
  /// Where every selected object stands, as a drag starts.
  void rememberSelection();
  bool moveSelection(model::GridPoint g);
  bool selectionPlacedSoundly() const;
  bool windingNeighboursClear() const;
  bool liesAlongAWire(model::GridPoint a, model::GridPoint b) const;
  bool selectionCovers(model::GridPoint q) const;
  void mergeSelectedWires();
  void renameDuplicatesAmongSelected();
  /// Reads a group in at shift, selected, only if all of it fits; false leaves nothing behind.
  bool insertGroup(const model::SchematicText& group, model::GridPoint shift);
  std::vector<model::Element*> selectedElements() const;
  std::size_t selectedCount() const;
  model::Obiekt* firstSelected() const;
  PixelPoint pixelOf(model::GridPoint g) const;

  model::Schematic& m_schematic;
  int m_mode = kSelectMode;
  int m_grid = 20;
  int m_zoom = 1;
  bool m_running = false;
  bool m_buttonDown = false;
  bool m_openParametersOnRelease = false;
  model::GridPoint m_press{};
  model::GridPoint m_lastMove{};
  model::Obiekt* m_current = nullptr;
  std::vector<std::pair<model::Obiekt*, model::GridPoint>> m_dragOrigins;
  std::optional<std::pair<model::GridPoint, model::GridPoint>> m_preview;
  std::optional<std::pair<PixelPoint, PixelPoint>> m_band;
  void restore(const model::SchematicText& text);
  model::SchematicText text() const;

  EditHistory m_history;
  /// The text and the change count when the open edit began (an edit that calls changed()
  /// marks the document modified and the results stale, and so do its undo and redo).
  std::optional<model::SchematicText> m_editStart;
  int m_changeCount = 0;
  int m_editStartChanges = 0;
  std::string m_mouseLabel;
  model::SchematicText m_clipboard;
  bool m_clipboardTransfer = false;
  model::DocumentFlags m_flags;
};

}  // namespace wolterix::editor
