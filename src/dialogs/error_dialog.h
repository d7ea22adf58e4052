#pragma once
/// "Błąd": the numbered lines of a failed check, in a read-only memo.

#include <QDialog>
#include <QStringList>
#include <functional>

class QPlainTextEdit;

namespace wolterix::dialogs {

class TErrorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TErrorDialog(QWidget* parent = nullptr);
  void setLines(const QStringList& lines);
  QStringList lines() const;

  /// Shows the lines modally; a test may replace how (see showHook).
  static void show(QWidget* parent, const QStringList& lines);
  /// When set, show() hands the lines here instead of opening the dialog (offscreen tests).
  static inline std::function<void(const QStringList&)> showHook;

 private:
  QPlainTextEdit* m_memo;
};

}  // namespace wolterix::dialogs
