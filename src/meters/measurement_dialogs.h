#pragma once
/// "Pomiar (Real-Time)" and "Opcje miernika": the dialogs of the measurement panel.

#include <QDialog>
#include <array>
#include <functional>

#include "engine/meter_reading.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace wolterix::meters {

/// The real-time measurement dialog: frequency, number of cycles and iteration setting.
class TPomiarDialog : public QDialog {
  Q_OBJECT

 public:
  /// The result of exec(): which button closed the dialog.
  enum Choice { Cancelled = 0, Start = 1, Continue = 2 };

  /// `samples` is the number of samples of one cycle before iterating.
  TPomiarDialog(int samples, QWidget* parent = nullptr);
  /// Fills the fields, e.g. from the last run.
  void setValues(const QString& frequency, const QString& cycles, int iterations);
  /// The frequency as typed, in Hz.
  QString frequencyText() const;
  /// The number of cycles as typed.
  QString cyclesText() const;
  /// The iteration slider position 0..6.
  int iterations() const;
  /// The label of the total number of steps: N * 2^k.
  QString stepsText() const;
  /// Called with the help topic number.
  std::function<void(int)> onHelp;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* m_frequency;
  QLineEdit* m_cycles;
  QSlider* m_iterations;
  QLabel* m_steps;
};

/// The options of one meter: range, indication and measured quantity.
class TOpcjeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TOpcjeDialog(QWidget* parent = nullptr);
  /// Shows the settings of a meter and the name of its element.
  void setSlot(const engine::MeterSlot& slot, const QString& elementName);
  /// The "Automatyczny" check box.
  bool autoRange() const;
  /// The chosen quantity.
  engine::MeterQuantity quantity() const;
  /// The chosen indication, one the chosen quantity offers.
  engine::Indication indication() const;
  /// The range slider position: 0 = 1000 G .. 15 = 1000 u.
  int rangePosition() const;
  /// Called with the help topic number.
  std::function<void(int)> onHelp;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void quantityChanged();
  void indicationChanged();
  void autoRangeChanged();
  QCheckBox* m_autoRange;
  QSlider* m_range;
  std::array<QLabel*, 16> m_rangeLabels{};
  QGroupBox* m_indicationBox;
  QButtonGroup* m_indications;
  QButtonGroup* m_quantities;
  QLabel* m_element;
};

}  // namespace wolterix::meters
