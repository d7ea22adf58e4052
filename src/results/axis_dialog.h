#pragma once
/// "Opis osi pionowej": which two quantities label the vertical axis.

#include <QDialog>
#include <array>
#include <functional>

class QPushButton;

namespace wolterix::results {

class TOpisOsiDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TOpisOsiDialog(QWidget* parent = nullptr);
  /// Two choices, each a quantity's index (see Quantity), anything else none. The buttons
  /// show them in the order U, I, P, n.
  void setChoices(int left, int right);
  std::array<int, 2> choices() const;
  std::function<void(int)> onHelp;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::array<std::array<QPushButton*, 4>, 2> m_buttons{};
};

}  // namespace wolterix::results
