#pragma once
/// When the window writes its recovery copy, and the question at the next start about the
/// copies a window that did not close left behind.
///
/// Timing: while the schematic has unsaved changes the copy is brought up to date every
/// `every` (a minute); after `kEditsForEarlyCopy` edits since the last copy it is written
/// sooner, but never less than `atMostEvery` (5 s) after the previous one. A copy is written
/// only when the schematic's text differs from the last one written.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "app/recovery.h"

class QMessageBox;
class QTimer;
class QWidget;

namespace wolterix::editor {
class Editor;
}

namespace wolterix::app {

class DocumentSession;

enum class RecoveryAnswer { Recover, Discard, Later };

/// "Wolterix nie został poprawnie zamknięty. Znaleziono niezapisany schemat „…” (zapisany …).
/// Co zrobić?"
QString recoveryQuestion(const RecoveredCopy& copy);
/// The question's message box with "Odzyskaj", "Odrzuć" and "Później"; answer() reads the
/// button it was closed with.
std::unique_ptr<QMessageBox> createRecoveryBox(QWidget* parent, const RecoveredCopy& copy);
RecoveryAnswer recoveryAnswerOf(const QMessageBox& box);

class RecoverySession {
 public:
  static constexpr int kEditsForEarlyCopy = 10;

  RecoverySession(editor::Editor& editor, DocumentSession& documents,
                  const QString& directory = RecoveryStore::defaultDirectory());
  /// A window that ends normally takes its copy with it.
  ~RecoverySession();
  RecoverySession(const RecoverySession&) = delete;
  RecoverySession& operator=(const RecoverySession&) = delete;

  void setIntervals(std::chrono::milliseconds every, std::chrono::milliseconds atMostEvery);
  RecoveryStore& store() { return m_store; }

  /// An edit was made (the canvas, a command, a dialog).
  void documentChanged();
  /// Saved, replaced by New or Open, or the window closed: the copy goes.
  void documentDone();
  /// Writes the copy now if the schematic has changes the copy lacks.
  void writeIfChanged();

  /// Asks about every left-over copy, newest first. Replaceable for tests.
  std::function<RecoveryAnswer(const RecoveredCopy&)> ask;
  /// Called before a recovered schematic is opened (the window leaves its start screen).
  std::function<void()> beforeRecovering;
  /// The questions; false when a save question before recovering was cancelled (the
  /// remaining copies wait for the next start).
  bool offer();

 private:
  void requestWrite();

  editor::Editor& m_editor;
  DocumentSession& m_documents;
  RecoveryStore m_store;
  std::unique_ptr<QObject> m_timers;  ///< owns both timers
  QTimer* m_every = nullptr;
  QTimer* m_soon = nullptr;
  std::chrono::milliseconds m_atMostEvery{5000};
  QElapsedTimer m_sinceWrite;
  int m_edits = 0;
  std::optional<model::SchematicText> m_written;  ///< the text of the copy on disk
};

}  // namespace wolterix::app
