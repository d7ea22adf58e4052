#include "editor/edit_history.h"

namespace wolterix::editor {

namespace {
const std::string kNone;
}

void EditHistory::record(EditStep step) {
  m_undo.push_back(std::move(step));
  if (m_undo.size() > kDepth) m_undo.pop_front();
  m_redo.clear();
}

const std::string& EditHistory::undoLabel() const {
  return m_undo.empty() ? kNone : m_undo.back().label;
}

const std::string& EditHistory::redoLabel() const {
  return m_redo.empty() ? kNone : m_redo.back().label;
}

EditStep EditHistory::undo() {
  EditStep step = std::move(m_undo.back());
  m_undo.pop_back();
  m_redo.push_back(step);
  return step;
}

EditStep EditHistory::redo() {
  EditStep step = std::move(m_redo.back());
  m_redo.pop_back();
  m_undo.push_back(step);
  return step;
}

void EditHistory::clear() {
  m_undo.clear();
  m_redo.clear();
}

std::string objectCount(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " obiektu" : " obiektów");
}

}  // namespace wolterix::editor
