#pragma once
/// Menus whose items stand in columns.

#include <QList>

class QAction;
class QMenu;

namespace wolterix::app {

/// Puts the actions into the menu as side-by-side columns. Qt's menus wrap into columns only
/// when they are taller than the screen, so the items live in one widget action and are drawn
/// by the style as ordinary menu items: check marks, shortcuts, hints, tooltips, the mouse and
/// the arrow keys (across the columns too) work as in any menu, and items follow the visibility
/// and state of their actions. Each item widget is named after its action.
void addMenuColumns(QMenu& menu, const QList<QList<QAction*>>& columns);

}  // namespace wolterix::app
