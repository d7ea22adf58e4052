#pragma once
/// The real-time measurement without widgets: six meter slots attached to elements, the
/// settings of the measuring cycle, and the cycle-by-cycle run that turns each period's
/// samples into meter readings.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "engine/meter_reading.h"
#include "engine/transient_run.h"
#include "model/document_flags.h"

namespace wolterix::engine {

/// What the measurement dialog holds between measurements.
struct MeasurementSettings {
  std::string frequencyText = "?";
  std::string cyclesText = "?";
  double frequency = 0.0;  ///< Hz
  long long cycles = 0;
  int iterations = 0;  ///< 2^k steps per sample, 0..6
};

/// The frequency and cycle count that may start a measurement: a valid positive frequency
/// and a whole number of cycles, at least 1. nullopt otherwise.
std::optional<std::pair<double, long long>> acceptedMeasurement(const std::string& frequency,
                                                                const std::string& cycles);

/// Which of the eight animation frames a progress position shows, if any.
std::optional<int> animationFrame(int percent);

struct MeasurementCallbacks {
  std::function<void(int percent)> progress;  ///< within the present cycle
  std::function<void(double time)> afterSample;
  std::function<void(long long cycle)> afterCycle;  ///< the meters hold this cycle's readings
};

struct MeasurementOutcome {
  long long cyclesDone = 0;
  engine::RunResult failure;  ///< the failed cycle's result; code 0 when none failed
  bool stopped = false;       ///< Stop ended it before the count was done
};

class Measurement {
 public:
  static constexpr int kSlotCount = 6;

  Measurement(model::Schematic& schematic, model::DocumentFlags& flags);

  std::array<MeterSlot, kSlotCount>& meterSlots() { return m_slots; }
  const std::array<MeterSlot, kSlotCount>& meterSlots() const { return m_slots; }
  /// Attaches a meter of the quantity to the element in the first free slot; -1 when all six
  /// are in use.
  int addMeter(const model::Element& element, MeterQuantity quantity);
  void closeMeter(int index);
  /// Frees every slot measuring the element (it is being destroyed); answers the slots freed.
  std::vector<int> forgetElement(const model::Element& element);
  /// The options dialog's "OK": range, quantity and indication (one the quantity does not
  /// offer becomes its default: TRMS, or the active power).
  void applyOptions(int index, bool autoRange, MeterQuantity quantity, Indication indication,
                    int rangePosition);
  bool anyMeter() const;

  MeasurementSettings& settings() { return m_settings; }
  /// True when the stored frequency and cycle count may start a measurement.
  bool settingsValid() const {
    return acceptedMeasurement(m_settings.frequencyText, m_settings.cyclesText).has_value();
  }
  const MeasurementSettings& settings() const { return m_settings; }
  engine::Simulation& simulation() { return m_simulation; }

  bool running() const { return m_running; }
  /// Asks a running measurement to end; it is heard between cycles.
  void stop() { m_running = false; }

  /// Runs the settings' number of cycles, each one period long. Continues from where the
  /// last measurement ended while that may be continued; otherwise starts from 0 and resets
  /// the meters. Ends at the first failed cycle or when stop() was called.
  MeasurementOutcome run(bool continueRun, const MeasurementCallbacks& callbacks = {});
  double continuationTime() const { return m_continuationTime; }
  /// Reads every meter in use from the samples of the last cycle.
  void updateMeters();
  void resetMeters();

 private:
  model::Schematic& m_schematic;
  model::DocumentFlags& m_flags;
  std::array<MeterSlot, kSlotCount> m_slots{};
  MeasurementSettings m_settings;
  // The measurement keeps its own engine, so its cycles never replace the results of the
  // last simulation nor inherit that run's element states.
  engine::Simulation m_simulation;
  bool m_running = false;
  double m_continuationTime = 0.0;
};

/// The waveform a meter reads: "U(R1)", "I(R1)" or "P(R1)".
std::string meterWaveform(MeterQuantity quantity, const std::string& elementName);
/// A meter's reading of the stored cycle; nullopt when the store has no such waveform.
std::optional<double> readStoredCycle(const engine::WaveformStore& store, MeterQuantity quantity,
                                      Indication indication, const std::string& elementName);

}  // namespace wolterix::engine
