#include "editor/main_window.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>

#include "model/schematic_file.h"

namespace wolterix::editor {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(titleFor({}));
  auto* label = new QLabel(QStringLiteral("Wolterix\nwersja 2.0"), this);
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setPixelSize(32);
  label->setFont(font);
  setCentralWidget(label);
  resize(800, 600);
}

QString TForm1::titleFor(const QString& path) {
  if (path.isEmpty()) return QStringLiteral("Wolterix - (bez nazwy)");
  const QString name = QFileInfo(path).fileName();
  return QStringLiteral("Wolterix - ") + name.left(std::max<qsizetype>(0, name.size() - 4));
}

bool TForm1::openFile(const QString& path) {
  // The schematic is replaced only when the file could be read.
  const auto result =
      model::openSchematicFile(m_schematic, QFile::encodeName(path).toStdString());
  if (!result.ok()) {
    QMessageBox::warning(this, QStringLiteral("Uwaga"), QString::fromStdString(result.error));
    return false;
  }
  m_currentFile = path;
  setWindowTitle(titleFor(path));
  statusBar()->showMessage(QStringLiteral("Elementy: %1, przewody: %2, węzły: %3")
                               .arg(m_schematic.elementCount())
                               .arg(m_schematic.wires().size())
                               .arg(m_schematic.junctions().size()));
  return true;
}

}  // namespace wolterix::editor
