#pragma once
/// The about box: program name, version, a one-line description and a small drawn icon.

#include <QDialog>
#include <QPixmap>

namespace wolterix::help {

/// "wersja 2.0": the version line of the start screen and the about box.
QString versionText();

/// Modal "O programie" dialog closed by its "OK" button.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  /// The program's icon: a sine wave over a resistor symbol, drawn at the given size.
  static QPixmap drawIcon(int size);
};

}  // namespace wolterix::help
