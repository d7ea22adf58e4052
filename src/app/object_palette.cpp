#include "app/object_palette.h"

#include <QAction>
#include <QGridLayout>
#include <QToolButton>
#include <string_view>

#include "app/commands.h"

namespace wolterix::app {

namespace {

// The input voltage of a transfer workspace takes the place of the controlled voltage source,
// which that workspace does not offer.
struct PaletteCell {
  const char* code;
  int row;
  int column;
};

const PaletteCell kPaletteCells[] = {
    {"Nic", 0, 0},  {"Wen", 1, 0},  {"Lin", 1, 1},  {"Nap", 2, 0},  {"Prd", 2, 1},  {"zsN", 3, 0},
    {"nWe", 3, 0},  {"zsP", 3, 1},  {"Rez", 4, 0},  {"War", 4, 1},  {"Ind", 5, 0},  {"nlL", 5, 1},
    {"Poj", 6, 0},  {"nlC", 6, 1},  {"Dio", 7, 0},  {"Zen", 7, 1},  {"Tyr", 8, 0},  {"RCT", 8, 1},
    {"GTO", 9, 0},  {"TrM", 9, 1},  {"sDC", 10, 0}, {"wyl", 10, 1}, {"Spr", 11, 0}, {"Tf1", 11, 1},
    {"mmV", 12, 0}, {"BJT", 12, 1}, {"mmA", 13, 0}, {"mmW", 13, 1},
};

int modeOf(std::string_view code) {
  for (const InsertRow& row : insertRows())
    if (code == row.code) return row.mode;
  return 0;
}

}  // namespace

ObjectPalette::ObjectPalette(QWidget* parent, const std::map<int, QAction*>& modeActions)
    : QToolBar(QStringLiteral("Paleta obiektów"), parent) {
  setObjectName(QStringLiteral("PanelElem"));
  setMovable(false);
  setFloatable(false);
  auto* grid = new QWidget(this);
  m_layout = new QGridLayout(grid);
  m_layout->setContentsMargins(1, 1, 1, 1);
  m_layout->setSpacing(0);
  for (const PaletteCell& cell : kPaletteCells) {
    auto* button = new QToolButton(grid);
    button->setDefaultAction(modeActions.at(modeOf(cell.code)));
    button->setObjectName(QStringLiteral("SB") + QString::fromLatin1(cell.code));
    button->setIconSize(QSize(28, 28));
    button->setAutoRaise(true);
    m_buttons.push_back(button);
  }
  layOut();
  addWidget(grid);
}

// The buttons shown keep their columns; a row left with none closes up, so the voltmeter of a
// transfer workspace moves up under the capacitor.
void ObjectPalette::layOut() {
  for (QToolButton* button : m_buttons) m_layout->removeWidget(button);
  int row = -1;
  int cellRow = -1;
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    QToolButton* button = m_buttons[i];
    const bool shown = button->defaultAction()->isVisible();
    button->setVisible(shown);
    if (!shown) continue;
    if (kPaletteCells[i].row != cellRow) {
      cellRow = kPaletteCells[i].row;
      ++row;
    }
    m_layout->addWidget(button, row, kPaletteCells[i].column);
  }
  m_layout->parentWidget()->adjustSize();
  updateGeometry();
}

}  // namespace wolterix::app
