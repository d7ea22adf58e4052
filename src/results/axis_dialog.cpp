#include "results/axis_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "results/waveform_selection.h"

namespace wolterix::results {

namespace {
constexpr int kPlotHelpTopic = 42;
// The buttons in their order on screen, and the quantity each one stands for.
constexpr const char* kLetters[] = {"U", "I", "P", "n"};
constexpr Quantity kQuantities[] = {Quantity::Voltage, Quantity::Current, Quantity::Power,
                                    Quantity::Speed};
}  // namespace

TOpisOsiDialog::TOpisOsiDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Opis osi pionowej"));
  auto* grid = new QGridLayout;
  for (int row = 0; row < 2; ++row) {
    grid->addWidget(
        new QLabel(row == 0 ? QStringLiteral("Lewa strona :") : QStringLiteral("Prawa strona :"),
                   this),
        row, 0);
    for (int q = 0; q < 4; ++q) {
      auto* button = new QPushButton(QString::fromLatin1(kLetters[q]), this);
      button->setObjectName(QStringLiteral("X%1%2").arg(QString::fromLatin1(kLetters[q])).arg(row));
      button->setCheckable(true);
      button->setFixedSize(36, 28);
      // At most one button down per row; pressing the one down lifts it (no label).
      connect(button, &QPushButton::toggled, this, [this, row, q](bool down) {
        if (!down) return;
        for (int other = 0; other < 4; ++other)
          if (other != q) m_buttons[row][other]->setChecked(false);
      });
      m_buttons[row][q] = button;
      grid->addWidget(button, row, q + 1);
    }
  }
  auto* box = new QDialogButtonBox(this);
  box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  box->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  QPushButton* help = box->addButton(QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp) onHelp(kPlotHelpTopic);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(box);
}

void TOpisOsiDialog::setChoices(int left, int right) {
  const int choice[2] = {left, right};
  for (int row = 0; row < 2; ++row)
    for (int b = 0; b < 4; ++b)
      m_buttons[row][b]->setChecked(choice[row] == static_cast<int>(kQuantities[b]));
}

std::array<int, 2> TOpisOsiDialog::choices() const {
  std::array<int, 2> result{-1, -1};
  for (int row = 0; row < 2; ++row)
    for (int b = 0; b < 4; ++b)
      if (m_buttons[row][b]->isChecked()) result[row] = static_cast<int>(kQuantities[b]);
  return result;
}

void TOpisOsiDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(kPlotHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace wolterix::results
