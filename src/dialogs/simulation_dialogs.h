#pragma once
/// "Symulacja", "Transmitancja" and the progress window "Przebieg symulacji".

#include <QDialog>
#include <functional>

class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSlider;

namespace wolterix::dialogs {

/// The "Ilość iteracji :" row of a run dialog's grid: the track bar `Iteracje` (0..6, a tick
/// per position) and, right-aligned beside it, the number of time steps, samples * 2^k, that
/// follows the bar.
struct IterationRow {
  QSlider* bar;
  QLabel* steps;
};
IterationRow addIterationRow(QGridLayout* grid, int row, int samples, QWidget* dialog);

/// "Start" (default), "Kontynuuj", "Anuluj" ending the dialog with 1, 2 and 0, and "Pomoc"
/// calling help.
QDialogButtonBox* addRunButtons(QDialog* dialog, std::function<void()> help);

/// The time-simulation dialog: simulated time and iteration setting.
class TSymuDialog : public QDialog {
  Q_OBJECT

 public:
  enum Choice { Cancelled = 0, Start = 1, Continue = 2 };

  TSymuDialog(int samples, QWidget* parent = nullptr);
  void setValues(const QString& timeText, int iterations);
  QString timeText() const;
  int iterations() const;
  /// The label of the total number of steps: N * 2^k.
  QString stepsText() const;
  std::function<void(int)> onHelp;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* m_time;
  QSlider* m_iterations;
  QLabel* m_steps;
};

/// The transfer-function dialog: the frequency range.
class TTransmiDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TTransmiDialog(QWidget* parent = nullptr);
  void setValues(const QString& from, const QString& to);
  QString fromText() const;
  QString toText() const;
  std::function<void(int)> onHelp;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* m_from;
  QLineEdit* m_to;
};

/// "Przebieg symulacji": a progress bar shown while a run goes on.
class ProgressWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);
  /// Sets the bar (0..100) and repaints it at once: the run does not return to the event loop.
  void setProgress(int percent);
  int progress() const;

 private:
  QProgressBar* m_bar;
};

}  // namespace wolterix::dialogs
