#pragma once
/// The undo and redo history of a schematic: each step keeps the schematic's text before and
/// after one edit, so that undoing or redoing it gives back exactly what was there.

#include <cstddef>
#include <deque>
#include <string>

#include "model/schematic_file.h"

namespace wolterix::editor {

struct EditStep {
  std::string label;  ///< what the edit did, for "Cofnij: …" ("przesunięcie 3 obiektów")
  model::SchematicText before;
  model::SchematicText after;
  bool changedCircuit = false;  ///< the edit marked the document modified and the results stale
};

class EditHistory {
 public:
  static constexpr std::size_t kDepth = 200;

  /// A new edit: it goes on top of the undo steps (the oldest dropped beyond the depth) and
  /// the redo steps are forgotten.
  void record(EditStep step);
  bool canUndo() const { return !m_undo.empty(); }
  bool canRedo() const { return !m_redo.empty(); }
  const std::string& undoLabel() const;
  const std::string& redoLabel() const;
  std::size_t undoCount() const { return m_undo.size(); }
  std::size_t redoCount() const { return m_redo.size(); }
  /// Moves the newest step to the redo side and answers it; the caller restores `before`.
  EditStep undo();
  /// Moves the newest undone step back and answers it; the caller restores `after`.
  EditStep redo();
  void clear();

 private:
  std::deque<EditStep> m_undo;  ///< oldest first
  std::deque<EditStep> m_redo;  ///< newest undone last
};

/// "1 obiektu", "3 obiektów": the count of objects after a noun in the genitive.
std::string objectCount(std::size_t count);

}  // namespace wolterix::editor
