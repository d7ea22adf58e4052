#include "app/recovery_session.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/document_session.h"
#include "editor/editing.h"
#include "model/schematic_file.h"

namespace wolterix::app {

QString recoveryQuestion(const RecoveredCopy& copy) {
  const QString name = copy.originalPath.isEmpty() ? QStringLiteral("Nowy schemat")
                                                   : QFileInfo(copy.originalPath).fileName();
  // The dates as the file dialogs show them.
  const QString saved =
      QLocale(QLocale::Polish).toString(copy.saved, QStringLiteral("d MMM yyyy, HH:mm"));
  return QStringLiteral(
             "Wolterix nie został poprawnie zamknięty. Znaleziono niezapisany schemat "
             "„%1” (zapisany %2). Co zrobić?")
      .arg(name, saved);
}

std::unique_ptr<QMessageBox> createRecoveryBox(QWidget* parent, const RecoveredCopy& copy) {
  auto box =
      std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Odzyskiwanie schematu"),
                                    recoveryQuestion(copy), QMessageBox::NoButton, parent);
  QPushButton* recover = box->addButton(QStringLiteral("Odzyskaj"), QMessageBox::AcceptRole);
  box->addButton(QStringLiteral("Odrzuć"), QMessageBox::DestructiveRole);
  box->addButton(QStringLiteral("Później"), QMessageBox::RejectRole);
  box->setDefaultButton(recover);
  return box;
}

RecoveryAnswer recoveryAnswerOf(const QMessageBox& box) {
  switch (box.buttonRole(box.clickedButton())) {
    case QMessageBox::AcceptRole: return RecoveryAnswer::Recover;
    case QMessageBox::DestructiveRole: return RecoveryAnswer::Discard;
    default: return RecoveryAnswer::Later;  // Escape or the window's close button too
  }
}

RecoverySession::RecoverySession(editor::Editor& editor, DocumentSession& documents,
                                 const QString& directory)
    : m_editor(editor),
      m_documents(documents),
      m_store(directory),
      m_timers(std::make_unique<QObject>()) {
  m_every = new QTimer(m_timers.get());
  m_soon = new QTimer(m_timers.get());
  m_soon->setSingleShot(true);
  QObject::connect(m_every, &QTimer::timeout, m_timers.get(), [this] {
    if (m_editor.flags().modified)
      requestWrite();
    else if (m_store.hasCopy())
      documentDone();  // the changes were undone back to the saved schematic
  });
  QObject::connect(m_soon, &QTimer::timeout, m_timers.get(), [this] { writeIfChanged(); });
  setIntervals(std::chrono::minutes(1), std::chrono::seconds(5));
}

RecoverySession::~RecoverySession() { m_store.remove(); }

void RecoverySession::setIntervals(std::chrono::milliseconds every,
                                   std::chrono::milliseconds atMostEvery) {
  m_atMostEvery = atMostEvery;
  m_every->start(every);
}

void RecoverySession::requestWrite() {
  if (m_soon->isActive()) return;
  using std::chrono::milliseconds;
  const milliseconds since{m_sinceWrite.isValid() ? m_sinceWrite.elapsed() : m_atMostEvery.count()};
  m_soon->start(std::max(milliseconds(0), m_atMostEvery - since));
}

void RecoverySession::documentChanged() {
  if (!m_editor.flags().modified) return;
  if (++m_edits >= kEditsForEarlyCopy) requestWrite();
}

void RecoverySession::writeIfChanged() {
  if (!m_editor.flags().modified) return;
  model::SchematicText text;
  model::writeSchematic(m_editor.schematic(), text, false);
  m_edits = 0;
  if (m_written && *m_written == text && m_store.hasCopy()) return;
  if (!m_store.write(text, QString::fromStdString(m_documents.currentFile()))) return;
  m_written = std::move(text);
  m_sinceWrite.start();
}

void RecoverySession::documentDone() {
  m_soon->stop();
  m_store.remove();
  m_written.reset();
  m_edits = 0;
}

bool RecoverySession::offer() {
  for (const RecoveredCopy& copy : m_store.leftOver()) {
    switch (ask ? ask(copy) : RecoveryAnswer::Later) {
      case RecoveryAnswer::Recover:
        if (!m_documents.maybeSave()) return false;
        if (beforeRecovering) beforeRecovering();
        if (!m_documents.openRecovered(copy.copyPath.toStdString(),
                                       copy.originalPath.toStdString()))
          break;  // unreadable: left for the user to find
        // This window's own copy takes over before the left-over one goes.
        writeIfChanged();
        RecoveryStore::discard(copy);
        break;
      case RecoveryAnswer::Discard: RecoveryStore::discard(copy); break;
      case RecoveryAnswer::Later: break;
    }
  }
  return true;
}

}  // namespace wolterix::app
