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
  /// Two choices, each 0 voltage, 1 current, 2 power, 3 speed, anything else none.
  void setChoices(int left, int right);
  std::array<int, 2> choices() const;
  std::function<void(int)> onHelp;

protected:
  void keyPressEvent(QKeyEvent* event) override;

private:
  std::array<std::array<QPushButton*, 4>, 2> m_buttons{};
};

}  // namespace wolterix::results
