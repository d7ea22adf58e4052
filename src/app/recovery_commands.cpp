// The window's recovery copy: written while there are unsaved changes, offered after a crash.

#include <QMessageBox>

#include "app/main_window.h"
#include "app/recovery_session.h"

namespace wolterix::app {

using C = Command;

void TForm1::wireRecovery() {
  m_recovery = std::make_unique<RecoverySession>(m_editor, m_documents);
  m_recovery->ask = [this](const RecoveredCopy& copy) {
    const auto box = createRecoveryBox(this, copy);
    box->exec();
    return recoveryAnswerOf(*box);
  };
  m_recovery->beforeRecovering = [this] {
    if (!m_started) start();
  };
  m_documents.onReplaced = [this] {
    m_recovery->documentDone();
    documentReplaced();
  };
  m_documents.onSaved = [this] { m_recovery->documentDone(); };
}

void TForm1::setRecoveryIntervals(std::chrono::milliseconds every,
                                  std::chrono::milliseconds atMostEvery) {
  m_recovery->setIntervals(every, atMostEvery);
}

void TForm1::offerRecovery() { m_recovery->offer(); }

void TForm1::documentChanged() { m_recovery->documentChanged(); }

}  // namespace wolterix::app
