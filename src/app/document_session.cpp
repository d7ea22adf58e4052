#include "app/document_session.h"

#include <filesystem>
#include <system_error>

#include "app/user_settings.h"
#include "editor/editing.h"
#include "model/messages.h"
#include "model/schematic_file.h"

namespace wolterix::app {

namespace {
std::filesystem::path onDisk(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
}  // namespace

DocumentSession::DocumentSession(editor::Editor& editor, std::array<std::string, 4>& recentFiles,
                                 DocumentPrompt& prompt)
    : m_editor(editor), m_recent(recentFiles), m_prompt(&prompt) {}

bool DocumentSession::maybeSave() {
  if (!m_editor.flags().modified) return true;
  switch (m_prompt->askSave()) {
    case SaveAnswer::Yes: return save();  // goes on only once the file is really written
    case SaveAnswer::No: return true;
    case SaveAnswer::Cancel: return false;
  }
  return false;
}

void DocumentSession::replaced() {
  m_editor.setMode(editor::kSelectMode);
  m_editor.deselectAll();
  m_editor.clearHistory();
  m_editor.flags() = {};
  if (onReplaced) onReplaced();
}

bool DocumentSession::newDocument() {
  if (!maybeSave()) return false;
  model::Schematic& schematic = m_editor.schematic();
  const std::optional<bool> transfer = m_prompt->askNewMode(schematic.transferMode());
  if (!transfer) return false;  // cancelled: nothing is deleted
  schematic.clear();
  schematic.setTransferMode(*transfer);
  m_currentFile.clear();
  m_linesLostOnSave = 0;
  replaced();
  return true;
}

bool DocumentSession::openCopy(const std::string& path) {
  if (!maybeSave() || !openFile(path)) return false;
  m_currentFile.clear();
  m_linesLostOnSave = 0;
  if (onRenamed) onRenamed();
  return true;
}

bool DocumentSession::openFile(const std::string& path) {
  // The schematic is replaced only when the whole file was read and holds a schematic.
  m_prompt->readingStarted(path);
  const auto result = model::openSchematicFile(
      m_editor.schematic(), onDisk(path),
      [this](std::size_t done, std::size_t total) { return m_prompt->reading(done, total); });
  m_prompt->readingEnded();
  if (result.cancelled) return false;
  if (!result.ok()) {
    m_prompt->warn(result.error);
    return false;
  }
  m_currentFile = path;
  m_linesLostOnSave = result.skippedLines;
  replaced();
  // Told after the schematic is shown, so the user sees what did come through.
  if (const std::string warning = result.warning(); !warning.empty()) m_prompt->warn(warning);
  return true;
}

bool DocumentSession::openRecovered(const std::string& copyPath, const std::string& originalPath) {
  if (!openFile(copyPath)) return false;
  m_currentFile = originalPath;
  m_linesLostOnSave = 0;
  if (onRenamed) onRenamed();
  m_editor.flags().modified = true;
  return true;
}

bool DocumentSession::openDocument() {
  if (!maybeSave()) return false;
  const std::string path = m_prompt->askOpenPath();
  return !path.empty() && openFile(path);
}

bool DocumentSession::openRecent(int index) {
  if (index < 0 || index > 3) return false;
  const std::string path = m_recent[static_cast<std::size_t>(index)];
  if (path.empty() || !maybeSave()) return false;
  std::error_code error;
  if (!std::filesystem::exists(onDisk(path), error)) {
    m_prompt->warn(std::string(model::messages::kFileMissing));
    return false;
  }
  return openFile(path);
}

bool DocumentSession::writeFile(const std::string& path) {
  const auto result = model::saveSchematicFile(m_editor.schematic(), onDisk(path));
  if (!result.ok()) {
    m_prompt->warn(result.error);  // the modified flag stays set
    return false;
  }
  m_editor.flags().modified = false;
  if (onSaved) onSaved();
  return true;
}

bool DocumentSession::save() {
  if (m_currentFile.empty()) return saveAs();
  if (m_linesLostOnSave > 0) {
    // Saving would drop from the file the lines this program could not read.
    switch (m_prompt->askOverwriteSkipped(m_linesLostOnSave)) {
      case OverwriteAnswer::Save: break;
      case OverwriteAnswer::SaveAs: return saveAs();
      case OverwriteAnswer::Cancel: return false;
    }
  }
  if (!writeFile(m_currentFile)) return false;
  m_linesLostOnSave = 0;
  return true;
}

bool DocumentSession::saveAs() {
  const std::string path = m_prompt->askSavePath(m_currentFile);
  if (path.empty() || !writeFile(path)) return false;
  m_currentFile = path;
  m_linesLostOnSave = 0;
  if (onRenamed) onRenamed();
  return true;
}

bool DocumentSession::rememberCurrentFile() {
  if (m_currentFile.empty() || m_currentFile == m_lastRemembered) return false;
  m_lastRemembered = m_currentFile;
  return addRecentFile(m_recent, m_currentFile);
}

}  // namespace wolterix::app
