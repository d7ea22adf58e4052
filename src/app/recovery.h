#pragma once
/// Recovery copies: while a schematic has unsaved changes its window writes a copy of it
/// beside the user's settings, so that a crash or a power cut loses at most a minute of work.
/// Each window owns its copy (named after its process and a number of its own) and holds a
/// lock while it runs; a copy whose lock nobody holds is left over from a window that ended
/// without closing.

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <vector>

#include "model/schematic_file.h"

namespace wolterix::app {

/// A copy left over by a window that did not close.
struct RecoveredCopy {
  QString copyPath;      ///< the copy itself
  QString originalPath;  ///< the file the schematic came from; empty for an unsaved one
  QDateTime saved;       ///< when the copy was written
};

class RecoveryStore {
 public:
  /// `directory` holds the copies; by default the folder "Wolterix-odzysk" beside the
  /// settings file.
  explicit RecoveryStore(QString directory = defaultDirectory());
  ~RecoveryStore();
  RecoveryStore(const RecoveryStore&) = delete;
  RecoveryStore& operator=(const RecoveryStore&) = delete;

  static QString defaultDirectory();
  const QString& directory() const { return m_directory; }

  /// Writes this window's copy atomically (never over any other file), with the original
  /// file's path and the time. False when it could not be written.
  bool write(const model::SchematicText& text, const QString& originalPath);
  /// Removes this window's copy (a save, a normal close, New, Open).
  void remove();
  /// This window's copy, for tests.
  QString copyPath() const;
  bool hasCopy() const;

  /// Copies whose window is no longer running, newest first.
  std::vector<RecoveredCopy> leftOver() const;
  /// Throws a left-over copy away.
  static void discard(const RecoveredCopy& copy);

 private:
  QString pathFor(const QString& id, const QString& suffix) const;

  QString m_directory;
  QString m_id;  ///< "<process>-<number>"
  std::unique_ptr<QLockFile> m_lock;
};

}  // namespace wolterix::app
