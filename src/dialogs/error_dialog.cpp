#include "dialogs/error_dialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wolterix::dialogs {

TErrorDialog::TErrorDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Błąd"));
  m_memo = new QPlainTextEdit(this);
  m_memo->setReadOnly(true);
  m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_memo);
  layout->addWidget(buttons);
  resize(460, 220);
}

void TErrorDialog::setLines(const QStringList& lines) { m_memo->setPlainText(lines.join('\n')); }

QStringList TErrorDialog::lines() const {
  return m_memo->toPlainText().split('\n', Qt::SkipEmptyParts);
}

void TErrorDialog::show(QWidget* parent, const QStringList& lines) {
  if (showHook) {
    showHook(lines);
    return;
  }
  TErrorDialog dialog(parent);
  dialog.setLines(lines);
  dialog.exec();
}

}  // namespace wolterix::dialogs
