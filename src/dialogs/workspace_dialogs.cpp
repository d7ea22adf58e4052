#include "dialogs/workspace_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace wolterix::dialogs {

TNowyDialog::TNowyDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Nowy"));
  auto* group = new QGroupBox(QStringLiteral("Utwórz nowy obszar roboczy do : "), this);
  m_time = new QRadioButton(QStringLiteral("symulacji czasowej"), group);
  m_transfer = new QRadioButton(QStringLiteral("badania transmitancji"), group);
  m_time->setChecked(true);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(m_time);
  groupLayout->addWidget(m_transfer);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

bool TNowyDialog::transferChosen() const { return m_transfer->isChecked(); }

void TNowyDialog::setTransferChosen(bool transfer) {
  (transfer ? m_transfer : m_time)->setChecked(true);
}

TKolorDialog::TKolorDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Kolor tła"));
}

bool TKolorDialog::choose(std::span<const drawing::Color> colours, drawing::Color& colour) {
  // Rebuilt for each set: the canvas and the plot window offer different colours.
  delete layout();
  qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
  m_chosen = colour;
  auto* grid = new QGridLayout;
  std::vector<QPushButton*> swatches;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const drawing::Color c = colours[i];
    auto* swatch = new QPushButton(this);
    swatch->setCheckable(true);
    swatch->setAutoExclusive(true);
    swatch->setFixedSize(44, 32);
    swatch->setStyleSheet(
        QStringLiteral("QPushButton { background: rgb(%1,%2,%3); border: 1px solid "
                       "gray; } QPushButton:checked { border: 3px solid black; }")
            .arg(c.r)
            .arg(c.g)
            .arg(c.b));
    swatch->setChecked(c == colour);
    connect(swatch, &QPushButton::clicked, this, [this, c] {
      m_chosen = c;
      if (onPreview) onPreview(c);
    });
    grid->addWidget(swatch, static_cast<int>(i / 4), static_cast<int>(i % 4));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  if (exec() != QDialog::Accepted) {
    if (onPreview && m_chosen != colour) onPreview(colour);
    return false;
  }
  colour = m_chosen;
  return true;
}

TTopoDialog::TTopoDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Topologia"));
  m_memo = new QPlainTextEdit(this);
  m_memo->setReadOnly(true);
  m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  m_memo->setFont(font);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Zamknij"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_memo);
  layout->addWidget(buttons);
  resize(520, 360);
}

void TTopoDialog::setLines(const QStringList& lines) { m_memo->setPlainText(lines.join('\n')); }

QString TTopoDialog::text() const { return m_memo->toPlainText(); }

}  // namespace wolterix::dialogs
