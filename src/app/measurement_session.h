#pragma once
/// The real-time measurement without widgets: meters on the selected element, their options,
/// the measurement dialog with its checks and retries, and the cycles.

#include <optional>
#include <string>
#include <vector>

#include "engine/measurement.h"

namespace wolterix::editor {
class Editor;
}

namespace wolterix::app {

/// What the measurement dialog was left with.
struct MeasurementAnswer {
  enum Choice { Cancelled, Start, Continue };
  Choice choice = Cancelled;
  std::string frequencyText;
  std::string cyclesText;
  int iterations = 0;
};

/// What the options dialog of a meter was left with by "OK".
struct MeterOptions {
  bool autoRange = true;
  engine::MeterQuantity quantity = engine::MeterQuantity::Voltage;
  engine::Indication indication = engine::Indication::TrueRms;
  int rangePosition = 0;
};

/// The dialogs and the panel of the measurement.
class MeasurementPrompt {
 public:
  virtual ~MeasurementPrompt() = default;
  virtual MeasurementAnswer askMeasurement(const engine::MeasurementSettings& shown) = 0;
  /// The options dialog of a meter in use; nullopt when cancelled.
  virtual std::optional<MeterOptions> askMeterOptions(const engine::MeterSlot& meter) = 0;
  virtual void showErrors(const std::vector<std::string>& lines) = 0;
  /// The panel opens (if it was closed).
  virtual void openPanel() = 0;
  /// The panel shows every slot as it stands.
  virtual void showMeters() = 0;
  /// Everything that edits or starts another run is off while the cycles go on.
  virtual void setMeasuring(bool measuring) = 0;
  /// The animation frame and the time within the run.
  virtual void showFrame(int /*frame*/, const std::string& /*time*/) {}
  virtual void showTime(const std::string& /*time*/) {}
  /// Lets the window handle its events (the Stop button among them).
  virtual void letEventsThrough() {}
  virtual void cycleMeasured(long long /*cycle*/) {}
  /// The command states may have changed.
  virtual void commandsChanged() {}
  /// A measurement has ended (done, stopped or failed).
  virtual void measurementEnded() {}
};

class MeasurementSession {
 public:
  MeasurementSession(editor::Editor& editor, engine::Measurement& measurement,
                     MeasurementPrompt& prompt);

  /// A meter of the quantity on the one selected element, in the first free slot; opens the
  /// panel. False when nothing was added.
  bool addMeter(engine::MeterQuantity quantity);
  void closeMeter(int slot);
  /// The options dialog of a meter; true when "OK" changed it.
  bool meterOptions(int slot);
  /// The measurement dialog until its entry is accepted, then the cycles. False when
  /// cancelled or a cycle failed.
  bool start();
  /// The stored cycles again from where the last measurement ended (the dialog when nothing
  /// is stored yet).
  bool continueMeasurement() { return runStored(true); }
  /// The stored settings from 0 (the dialog when nothing is stored yet).
  bool repeatMeasurement() { return runStored(false); }
  /// The measurement ends after the present cycle.
  void stop() { m_measurement.stop(); }
  bool run(bool continuing);

 private:
  bool runStored(bool continuing);
  bool refused() const;

  editor::Editor& m_editor;
  engine::Measurement& m_measurement;
  MeasurementPrompt& m_prompt;
};

}  // namespace wolterix::app
