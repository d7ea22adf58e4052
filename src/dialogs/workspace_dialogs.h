#pragma once
/// Small dialogs of the main window: new workspace, canvas colour, topology.

#include <QDialog>
#include <functional>
#include <span>

#include "drawing/canvas.h"

class QPlainTextEdit;
class QRadioButton;

namespace wolterix::dialogs {

/// "Nowy": chooses the analysis of a new workspace.
class TNowyDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TNowyDialog(QWidget* parent = nullptr);
  /// True when "badania transmitancji" is chosen.
  bool transferChosen() const;
  void setTransferChosen(bool transfer);

 private:
  QRadioButton* m_time;
  QRadioButton* m_transfer;
};

/// "Kolor tła": picks one colour of a fixed set.
class TKolorDialog : public QDialog {
  Q_OBJECT

 public:
  TKolorDialog(QWidget* parent = nullptr);
  /// Shows the set with the current colour marked; answers the chosen colour on OK.
  bool choose(std::span<const drawing::Color> colours, drawing::Color& colour);
  /// Told of every colour clicked, so that the caller can show it before OK; after Cancel
  /// it is told the colour it started with.
  std::function<void(drawing::Color)> onPreview;

 private:
  drawing::Color m_chosen{};
};

/// "Topologia": the node numbers of every element, one line each.
class TTopoDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TTopoDialog(QWidget* parent = nullptr);
  void setLines(const QStringList& lines);
  QString text() const;

 private:
  QPlainTextEdit* m_memo;
};

}  // namespace wolterix::dialogs
