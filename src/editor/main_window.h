#pragma once
/// The main window of the program.

#include <QMainWindow>
#include <QString>

#include "model/schematic.h"

namespace wolterix::editor {

/// Main window: owns the open schematic and shows its name in the title.
class TForm1 : public QMainWindow {
  Q_OBJECT

public:
  explicit TForm1(QWidget* parent = nullptr);

  model::Schematic& schematic() { return m_schematic; }
  /// Opens a schematic file; on failure shows the reason and keeps the current schematic.
  bool openFile(const QString& path);
  /// "Wolterix - " and the file name without directory and extension, or "(bez nazwy)".
  static QString titleFor(const QString& path);

private:
  model::Schematic m_schematic;
  QString m_currentFile;
};

}  // namespace wolterix::editor
