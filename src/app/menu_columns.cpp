#include "app/menu_columns.h"

#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QToolTip>
#include <QWidgetAction>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace wolterix::app {

namespace {

constexpr int kColumnGap = 9;

QString shortcutText(const QAction& action) {
  const qsizetype tab = action.text().indexOf(u'\t');
  if (tab >= 0) return action.text().mid(tab + 1);
  return action.shortcut().toString(QKeySequence::NativeText);
}

QString itemText(const QAction& action) {
  const qsizetype tab = action.text().indexOf(u'\t');
  return tab >= 0 ? action.text().left(tab) : action.text();
}

class ColumnItem;

class MenuColumns final : public QWidget {
 public:
  MenuColumns(QMenu& menu, QWidgetAction& holder, const QList<QList<QAction*>>& columns);

  ColumnItem* current() const { return m_current; }
  void setCurrent(ColumnItem* item);
  void choose(ColumnItem& item);
  int shortcutWidth() const { return m_shortcutWidth; }
  int iconWidth() const { return m_iconWidth; }
  const QMenu& menu() const { return m_menu; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // A click between the columns is no choice; the menu must not take it as one.
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }

 private:
  bool move(int key);
  void followActions();
  void showStatus(const QString& text);

  QMenu& m_menu;
  QWidgetAction& m_holder;
  std::vector<std::vector<ColumnItem*>> m_columns;
  ColumnItem* m_current = nullptr;
  int m_shortcutWidth = 0;
  int m_iconWidth = 0;
};

class ColumnItem final : public QWidget {
 public:
  ColumnItem(QAction& action, MenuColumns& columns, QWidget* parent)
      : QWidget(parent), m_action(action), m_columns(columns) {
    setObjectName(action.objectName());
    setMouseTracking(true);
  }

  QAction& action() const { return m_action; }
  bool selectable() const { return !isHidden() && m_action.isEnabled(); }

  QSize sizeHint() const override {
    const QStyleOptionMenuItem item = option();
    QSize size(
        fontMetrics()
            .boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, itemText(m_action))
            .width(),
        fontMetrics().height());
    if (!item.icon.isNull())
      size.setHeight(
          std::max(size.height(), style()->pixelMetric(QStyle::PM_SmallIconSize, &item, this)));
    size = style()->sizeFromContents(QStyle::CT_MenuItem, &item, size, this);
    size.rwidth() += m_columns.shortcutWidth();
    return size;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QStyleOptionMenuItem item = option();
    style()->drawControl(QStyle::CE_MenuItem, &item, &painter, this);
  }
  void enterEvent(QEnterEvent*) override { hover(); }
  void mouseMoveEvent(QMouseEvent* event) override {
    hover();
    event->accept();
  }
  void leaveEvent(QEvent*) override {
    if (m_columns.current() == this) m_columns.setCurrent(nullptr);
  }
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      m_columns.choose(*this);
  }
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      // As a menu does: only a tooltip that says more than the item itself.
      const QString tip = m_action.toolTip();
      QString plain = itemText(m_action);
      plain.remove(u'&');
      if (m_columns.menu().toolTipsVisible() && !tip.isEmpty() && tip != plain)
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
      else
        QToolTip::hideText();
      return true;
    }
    return QWidget::event(event);
  }

 private:
  void hover() {
    if (m_columns.current() != this && selectable()) m_columns.setCurrent(this);
  }

  QStyleOptionMenuItem option() const {
    QStyleOptionMenuItem item;
    item.initFrom(this);
    item.state = QStyle::State_None;
    if (window()->isActiveWindow()) item.state |= QStyle::State_Active;
    if (m_action.isEnabled())
      item.state |= QStyle::State_Enabled;
    else
      item.palette.setCurrentColorGroup(QPalette::Disabled);
    if (m_columns.current() == this) item.state |= QStyle::State_Selected;
    item.font = font();
    item.fontMetrics = fontMetrics();
    item.menuHasCheckableItems = true;
    if (m_action.isCheckable()) {
      const bool radio = m_action.actionGroup() && m_action.actionGroup()->isExclusive();
      item.checkType = radio ? QStyleOptionMenuItem::Exclusive : QStyleOptionMenuItem::NonExclusive;
      item.checked = m_action.isChecked();
    } else {
      item.checkType = QStyleOptionMenuItem::NotCheckable;
    }
    item.menuItemType = QStyleOptionMenuItem::Normal;
    if (m_action.isIconVisibleInMenu()) item.icon = m_action.icon();
    item.text = itemText(m_action);
    if (const QString keys = shortcutText(m_action); !keys.isEmpty()) item.text += u'\t' + keys;
    item.reservedShortcutWidth = m_columns.shortcutWidth();
    item.maxIconWidth = m_columns.iconWidth();
    item.menuRect = m_columns.rect();
    item.rect = rect();
    return item;
  }

  QAction& m_action;
  MenuColumns& m_columns;
};

MenuColumns::MenuColumns(QMenu& menu, QWidgetAction& holder, const QList<QList<QAction*>>& columns)
    : m_menu(menu), m_holder(holder) {
  setFocusPolicy(Qt::NoFocus);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(kColumnGap);
  const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &menu);
  for (const QList<QAction*>& actions : columns) {
    auto* stack = new QVBoxLayout;
    stack->setSpacing(0);
    std::vector<ColumnItem*>& items = m_columns.emplace_back();
    for (QAction* action : actions) {
      auto* item = new ColumnItem(*action, *this, this);
      stack->addWidget(item);
      items.push_back(item);
      m_shortcutWidth =
          std::max(m_shortcutWidth, fontMetrics().horizontalAdvance(shortcutText(*action)));
      if (!action->icon().isNull()) m_iconWidth = std::max(m_iconWidth, icon + 4);
      connect(action, &QAction::changed, this, &MenuColumns::followActions);
    }
    stack->addStretch();
    row->addLayout(stack);
  }
  menu.installEventFilter(this);
  followActions();
}

void MenuColumns::setCurrent(ColumnItem* item) {
  if (item == m_current) return;
  if (m_current) m_current->update();
  m_current = item;
  if (m_current) m_current->update();
  showStatus(m_current ? m_current->action().statusTip() : QString());
}

void MenuColumns::showStatus(const QString& text) {
  // Where the menu's own items send their hints: the menu bar, and on to the window.
  QObject* receiver = m_menu.parentWidget();
  if (!receiver) return;
  QStatusTipEvent tip(text);
  QCoreApplication::sendEvent(receiver, &tip);
}

void MenuColumns::choose(ColumnItem& item) {
  if (!item.selectable()) return;
  QAction& action = item.action();
  m_menu.close();
  action.trigger();
}

// Shows, hides and repaints the items as their actions change; the menu is told when its
// size must follow.
void MenuColumns::followActions() {
  bool reshaped = false;
  for (const auto& column : m_columns)
    for (ColumnItem* item : column) {
      const bool hidden = !item->action().isVisible();
      if (item->isHidden() != hidden) {
        item->setHidden(hidden);
        reshaped = true;
      }
      item->update();
    }
  if (m_current && !m_current->selectable()) setCurrent(nullptr);
  if (!reshaped) return;
  layout()->invalidate();
  updateGeometry();
  adjustSize();
  if (!m_menu.actions().contains(&m_holder)) return;
  QActionEvent changed(QEvent::ActionChanged, &m_holder);
  QCoreApplication::sendEvent(&m_menu, &changed);
}

bool MenuColumns::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_menu) {
    switch (event->type()) {
      case QEvent::Show:
      case QEvent::Hide: setCurrent(nullptr); break;
      case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
          if (!m_current) return false;
          choose(*m_current);
          return true;
        }
        return move(key);
      }
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Up and Down walk a column round; Left and Right step across to the nearest item of the next
// column, or leave the key to the menu (which then moves along the menu bar).
bool MenuColumns::move(int key) {
  const auto selectableIn = [&](const std::vector<ColumnItem*>& column) {
    std::vector<ColumnItem*> items;
    for (ColumnItem* item : column)
      if (item->selectable()) items.push_back(item);
    return items;
  };
  int column = -1;
  for (std::size_t c = 0; c < m_columns.size(); ++c)
    for (ColumnItem* item : m_columns[c])
      if (item == m_current) column = static_cast<int>(c);

  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    const std::vector<ColumnItem*> items = selectableIn(m_columns[std::max(column, 0)]);
    if (items.empty()) return true;
    if (column < 0) {
      setCurrent(key == Qt::Key_Down ? items.front() : items.back());
      return true;
    }
    const auto at = std::find(items.begin(), items.end(), m_current) - items.begin();
    const auto count = static_cast<std::ptrdiff_t>(items.size());
    const auto step = key == Qt::Key_Down ? 1 : count - 1;
    setCurrent(items[static_cast<std::size_t>((at + step) % count)]);
    return true;
  }
  if ((key != Qt::Key_Left && key != Qt::Key_Right) || column < 0) return false;
  const int target = column + (key == Qt::Key_Right ? 1 : -1);
  if (target < 0 || target >= static_cast<int>(m_columns.size())) return false;
  const std::vector<ColumnItem*> items = selectableIn(m_columns[static_cast<std::size_t>(target)]);
  if (items.empty()) return false;
  ColumnItem* nearest = items.front();
  for (ColumnItem* item : items)
    if (std::abs(item->y() - m_current->y()) < std::abs(nearest->y() - m_current->y()))
      nearest = item;
  setCurrent(nearest);
  return true;
}

void MenuColumns::paintEvent(QPaintEvent*) {
  // A thin rule between the columns, as a menu break shows it.
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Window).darker(125));
  for (std::size_t c = 1; c < m_columns.size(); ++c) {
    const auto first = std::find_if(m_columns[c].begin(), m_columns[c].end(),
                                    [](const ColumnItem* item) { return !item->isHidden(); });
    if (first == m_columns[c].end()) continue;
    const int x = (*first)->x() - kColumnGap / 2 - 1;
    painter.drawLine(x, 2, x, height() - 3);
  }
}

}  // namespace

void addMenuColumns(QMenu& menu, const QList<QList<QAction*>>& columns) {
  auto* holder = new QWidgetAction(&menu);
  holder->setDefaultWidget(new MenuColumns(menu, *holder, columns));
  menu.addAction(holder);
}

}  // namespace wolterix::app
