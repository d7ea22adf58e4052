#pragma once
/// The life of the document without widgets: new, open, save, save as, the recent files and
/// the questions that guard them.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace wolterix::editor {
class Editor;
}

namespace wolterix::app {

/// Answers of the save question.
enum class SaveAnswer { Yes, No, Cancel };
/// Answers of the question before saving over a file some of whose lines could not be read.
enum class OverwriteAnswer { Save, SaveAs, Cancel };

/// What the file commands ask the user and tell them. Paths are UTF-8; empty = cancelled.
class DocumentPrompt {
 public:
  virtual ~DocumentPrompt() = default;
  virtual SaveAnswer askSave() = 0;
  /// Asked by the first save onto a file whose opening skipped the given number of lines.
  virtual OverwriteAnswer askOverwriteSkipped(int skippedLines) = 0;
  /// The kind of the new workspace: true = transfer function; nullopt = cancelled.
  virtual std::optional<bool> askNewMode(bool transferNow) = 0;
  virtual std::string askOpenPath() = 0;
  virtual std::string askSavePath(const std::string& currentFile) = 0;
  /// An "Uwaga" message.
  virtual void warn(const std::string& text) = 0;
  /// A file being read: its start, each step (false when the user cancelled), its end.
  virtual void readingStarted(const std::string& /*path*/) {}
  virtual bool reading(std::size_t /*done*/, std::size_t /*total*/) { return true; }
  virtual void readingEnded() {}
};

class DocumentSession {
 public:
  DocumentSession(editor::Editor& editor, std::array<std::string, 4>& recentFiles,
                  DocumentPrompt& prompt);

  void setPrompt(DocumentPrompt& prompt) { m_prompt = &prompt; }
  DocumentPrompt& prompt() { return *m_prompt; }
  /// UTF-8; empty while the schematic has no file.
  const std::string& currentFile() const { return m_currentFile; }

  // Each returns false when it was abandoned.
  bool newDocument();
  /// Opens without the save question (start-up with a file name).
  bool openFile(const std::string& path);
  /// Opens a recovery copy as the unsaved schematic of originalPath (empty: untitled), so
  /// that "Zapisz" writes to the original file.
  bool openRecovered(const std::string& copyPath, const std::string& originalPath);
  bool openDocument();
  bool openRecent(int index);
  /// Opens a copy of a file (an example): after the save question, the schematic as read but
  /// without a file of its own, so that "Zapisz" asks for a name and the file stays as it is.
  bool openCopy(const std::string& path);
  bool save();
  bool saveAs();
  /// The save question: true when the command may go on (saved, or not wanted).
  bool maybeSave();

  /// Puts a current file not listed yet at the top of the recent files; true when the list
  /// changed.
  bool rememberCurrentFile();

  std::function<void()> onReplaced;  ///< another schematic: new or opened
  std::function<void()> onRenamed;   ///< saved under another name
  std::function<void()> onSaved;     ///< the schematic was written to its file

 private:
  bool writeFile(const std::string& path);
  void replaced();

  editor::Editor& m_editor;
  std::array<std::string, 4>& m_recent;
  DocumentPrompt* m_prompt;
  std::string m_currentFile;
  int m_linesLostOnSave = 0;  ///< lines of the current file that its opening skipped
  std::string m_lastRemembered;
};

}  // namespace wolterix::app
