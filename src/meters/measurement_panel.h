#pragma once
/// The real-time measurement panel: six digital meters and the buttons that run them.

#include <QFrame>
#include <QPixmap>
#include <array>
#include <functional>

#include "engine/meter_reading.h"

class QLabel;
class QShortcut;
class QToolButton;

namespace wolterix::meters {

/// A panel button's hint: the tooltip and the status-bar text. The menu items that do what a
/// button does carry the same hint.
struct ButtonHint {
  const char* tip;
  const char* status;
};
inline constexpr ButtonHint kAddVoltageHint{
    "Dodaj woltomierz",
    "Dodaje do panelu wyświetlacz wskazujący napięcie na zaznaczonym elemencie"};
inline constexpr ButtonHint kAddCurrentHint{
    "Dodaj amperomierz", "Dodaje do panelu wyświetlacz wskazujący prąd zaznaczonego elementu"};
inline constexpr ButtonHint kAddPowerHint{
    "Dodaj watomierz",
    "Dodaje do panelu wyświetlacz wskazujący moc elektryczną zaznaczonego elementu"};
inline constexpr ButtonHint kStartHint{"Pomiar (Real-Time)",
                                       "Wywołuje pole dialogowe pomiaru real-time"};
inline constexpr ButtonHint kStopHint{"Stop", "Zatrzymuje pomiar"};
inline constexpr ButtonHint kContinueHint{"Kontynuuj",
                                          "Kontynuuje pomiar przy aktualnych ustawieniach"};

/// The panel docked at the right edge of the main window.
class MeasurementPanel : public QFrame {
  Q_OBJECT

 public:
  /// The number of meters the panel holds.
  static constexpr int kSlotCount = 6;

  explicit MeasurementPanel(QWidget* parent = nullptr);
  /// Shows slot k (0..5): hidden when free, else name, value, unit, indication, badge.
  void showSlot(int index, const engine::MeterSlot& slot);
  /// Add buttons: enabled only when adding is possible (the caller decides).
  void setAddEnabled(bool enabled);
  /// While running only Stop is live (add, start, continue, options and close buttons off);
  /// when idle Stop is off and Continue follows `continuable`, Start is on.
  void setRunning(bool running, bool continuable);
  /// Shows animation frame 0..7 and repaints it at once.
  void setAnimationFrame(int frame);

  /// Called by the add buttons with the quantity of the new meter.
  std::function<void(engine::MeterQuantity)> onAdd;
  /// Called by StartPause, Stop and Continue.
  std::function<void()> onStart, onStop, onContinue;
  /// Called by the options and close buttons of a meter with its slot index.
  std::function<void(int)> onOptions, onClose;

 private:
  struct Display {
    QWidget* group = nullptr;
    QLabel* name = nullptr;
    QLabel* badge = nullptr;
    QLabel* value = nullptr;
    QLabel* unit = nullptr;
    QLabel* indication = nullptr;
    QToolButton* options = nullptr;
    QToolButton* close = nullptr;
  };

  QWidget* createDisplay(int index);
  void updateButtons();

  std::array<Display, kSlotCount> m_displays;
  std::array<QToolButton*, 3> m_add{};
  QToolButton* m_start;
  QToolButton* m_stop;
  QToolButton* m_continue;
  QShortcut* m_escape;
  QLabel* m_animation;
  std::array<QPixmap, 8> m_frames;
  bool m_addEnabled = false;
  bool m_running = false;
  bool m_continuable = false;
};

}  // namespace wolterix::meters
