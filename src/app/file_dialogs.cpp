#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>

#include "dialogs/workspace_dialogs.h"
#include "model/messages.h"

namespace wolterix::app {

namespace {

const QString kFilter = QStringLiteral("Pliki Wolterix (*.wtx)");
constexpr int kSteps = 1000;

// Qt's file model writes dates and sizes in the system's language, whatever the program's.
class PolishFileDetails final : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role == Qt::DisplayRole && files) {
      const QLocale polish(QLocale::Polish);
      const QModelIndex source = mapToSource(index);
      if (index.column() == 1 && !files->isDir(source))
        return polish.formattedDataSize(files->size(source));
      if (index.column() == 3)
        return polish.toString(files->lastModified(source), QStringLiteral("d MMM yyyy, HH:mm"));
    }
    return QIdentityProxyModel::data(index, role);
  }
};

QString chosenFile(QFileDialog& dialog) {
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace

void speakPolish(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setLocale(QLocale(QLocale::Polish));
  dialog.setProxyModel(new PolishFileDetails(&dialog));
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
      details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  dialog.resize(dialog.size().expandedTo(QSize(780, 440)));  // room for every column
}

QString askPdfPath(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Eksportuj do PDF"), QString(),
                     QStringLiteral("Pliki PDF (*.pdf)"));
  speakPolish(dialog);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  return chosenFile(dialog);
}

QString askExportPath(QWidget* parent, const QString& title, const QString& filter,
                      const QString& suffix) {
  QFileDialog dialog(parent, title, QString(), filter);
  speakPolish(dialog);
  dialog.setDefaultSuffix(suffix);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  return chosenFile(dialog);
}

FileDialogs::FileDialogs(QWidget* parent) : m_parent(parent) {}

FileDialogs::~FileDialogs() = default;

SaveAnswer FileDialogs::askSave() {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Uwaga"),
                  QStringLiteral("Bieżący schemat został zmieniony. Czy zapisać zmiany?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
  const int answer = box.exec();
  if (answer == QMessageBox::Yes) return SaveAnswer::Yes;
  if (answer == QMessageBox::No) return SaveAnswer::No;
  return SaveAnswer::Cancel;
}

OverwriteAnswer FileDialogs::askOverwriteSkipped(int skippedLines) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Uwaga"),
                  QString::fromUtf8(model::messages::kSkippedLinesLostBefore) +
                      QString::number(skippedLines) +
                      QString::fromUtf8(model::messages::kSkippedLinesLostAfter),
                  QMessageBox::NoButton, m_parent);
  QPushButton* save = box.addButton(QStringLiteral("Zapisz"), QMessageBox::AcceptRole);
  QPushButton* saveAs = box.addButton(QStringLiteral("Zapisz jako..."), QMessageBox::ActionRole);
  box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
  box.setDefaultButton(saveAs);
  box.exec();
  if (box.clickedButton() == save) return OverwriteAnswer::Save;
  if (box.clickedButton() == saveAs) return OverwriteAnswer::SaveAs;
  return OverwriteAnswer::Cancel;
}

std::optional<bool> FileDialogs::askNewMode(bool transferNow) {
  dialogs::TNowyDialog dialog(m_parent);
  dialog.setTransferChosen(transferNow);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.transferChosen();
}

std::string FileDialogs::askOpenPath() {
  QFileDialog dialog(m_parent, QStringLiteral("Otwórz"), QString(), kFilter);
  speakPolish(dialog);
  dialog.setDefaultSuffix(QStringLiteral("wtx"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  return chosenFile(dialog).toStdString();
}

std::string FileDialogs::askSavePath(const std::string& currentFile) {
  QFileDialog dialog(m_parent, QStringLiteral("Zapisz jako"), QString::fromStdString(currentFile),
                     kFilter);
  speakPolish(dialog);
  dialog.setDefaultSuffix(QStringLiteral("wtx"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  return chosenFile(dialog).toStdString();
}

void FileDialogs::warn(const std::string& text) {
  QMessageBox::warning(m_parent, QStringLiteral("Uwaga"), QString::fromStdString(text));
}

// A file that takes long shows its progress and may be cancelled.
void FileDialogs::readingStarted(const std::string& path) {
  m_progress =
      std::make_unique<QProgressDialog>(QString::fromUtf8(model::messages::kReadingFile) +
                                            QFileInfo(QString::fromStdString(path)).fileName(),
                                        QStringLiteral("Anuluj"), 0, kSteps, m_parent);
  m_progress->setWindowTitle(QStringLiteral("Otwórz"));
  m_progress->setWindowModality(Qt::WindowModal);
  m_progress->setMinimumDuration(progressDelay);
  m_progress->setAutoClose(false);
  m_progress->setAutoReset(false);
  m_progress->setValue(0);
}

bool FileDialogs::reading(std::size_t done, std::size_t total) {
  if (!m_progress) return true;
  m_progress->setValue(
      static_cast<int>(static_cast<double>(done) / std::max<std::size_t>(total, 1) * kSteps));
  return !m_progress->wasCanceled();
}

void FileDialogs::readingEnded() { m_progress.reset(); }

}  // namespace wolterix::app
