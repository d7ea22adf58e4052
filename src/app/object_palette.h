#pragma once
/// The object palette: the placing modes' buttons in two columns, each linear element beside
/// its nonlinear twin.

#include <QToolBar>
#include <map>
#include <vector>

class QGridLayout;
class QToolButton;

namespace wolterix::app {

class ObjectPalette final : public QToolBar {
 public:
  /// One button for each mode's action (keyed by mode), named "SB" and the mode's code.
  ObjectPalette(QWidget* parent, const std::map<int, QAction*>& modeActions);
  /// Places the buttons of the visible actions again.
  void layOut();

 private:
  std::vector<QToolButton*> m_buttons;
  QGridLayout* m_layout;
};

}  // namespace wolterix::app
