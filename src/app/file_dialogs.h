#pragma once
/// The file commands' questions as the window asks them: Qt's own file dialogs in Polish,
/// message boxes and the progress of a long read.

#include <QString>
#include <memory>

#include "app/document_session.h"

class QFileDialog;
class QProgressDialog;
class QWidget;

namespace wolterix::app {

/// Qt's own dialog rather than the desktop's, which would speak the desktop's language.
void speakPolish(QFileDialog& dialog);
/// The PDF file to write; empty when cancelled.
QString askPdfPath(QWidget* parent);
/// A file for an export of the plot window (title, filter, default suffix); empty when cancelled.
QString askExportPath(QWidget* parent, const QString& title, const QString& filter,
                      const QString& suffix);

class FileDialogs final : public DocumentPrompt {
 public:
  explicit FileDialogs(QWidget* parent);
  ~FileDialogs() override;

  SaveAnswer askSave() override;
  OverwriteAnswer askOverwriteSkipped(int skippedLines) override;
  std::optional<bool> askNewMode(bool transferNow) override;
  std::string askOpenPath() override;
  std::string askSavePath(const std::string& currentFile) override;
  void warn(const std::string& text) override;
  void readingStarted(const std::string& path) override;
  bool reading(std::size_t done, std::size_t total) override;
  void readingEnded() override;

  /// How long (ms) a file must take to read before its progress dialog shows.
  int progressDelay = 1000;

 private:
  QWidget* m_parent;
  std::unique_ptr<QProgressDialog> m_progress;
};

}  // namespace wolterix::app
