#pragma once
/// "Przebiegi": choosing up to six traces and the vertical scales of the plot window.

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "results/waveform_selection.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace wolterix::results {

/// The waveform selection dialog. Kept alive by its owner so that it remembers its last tab.
class TPrzeb2Dialog : public QDialog {
  Q_OBJECT

 public:
  explicit TPrzeb2Dialog(QWidget* parent = nullptr);

  /// Shows the dialog for the list of the last run; "OK" stores the controls into the
  /// selection and answers true, "Anuluj" leaves it as it was.
  bool edit(WaveformSelection& selection, const std::vector<std::string>& list, bool transfer);

  /// Fills the controls (what showing the dialog does before it appears): slots whose names
  /// the list does not offer come out empty and off.
  void load(const WaveformSelection& selection, const std::vector<std::string>& list,
            bool transfer);
  /// The controls as a selection (what "OK" stores).
  WaveformSelection controls() const;
  /// Colours of the six slot markers and their background, from the plot window.
  void setTraceColors(const QColor& background, const std::array<QColor, 6>& traces);

  void OverClick(int slot);        ///< `Over1Click`..`Over6Click`, slot 0..5
  void edDbCl(int slot);           ///< `ed0DbCl`..`ed5DbCl`
  void UDcl(int step, int delta);  ///< `UD1cl`..`UD7cl`, step 0..6

  std::function<void(int topic)> onHelp;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  void showSteps();

  WaveformSelection m_working;
  QTabWidget* m_tabs;
  QWidget* m_waveformTab;
  QWidget* m_scaleTab;
  QWidget* m_transferTab;
  int m_lastTab = 0;
  QListWidget* m_list;
  std::array<QLabel*, 6> m_markers{};
  std::array<QLineEdit*, 6> m_slotEdits{};
  std::array<QCheckBox*, 6> m_slotOn{};
  std::array<QCheckBox*, kQuantityCount> m_fixed{};
  std::array<QLabel*, kScaleStepCount> m_stepLabels{};
  QButtonGroup* m_plotKind;
  QComboBox* m_magnitudeScale;
  QCheckBox* m_markStart;
  QButtonGroup* m_coordinates;
};

}  // namespace wolterix::results
