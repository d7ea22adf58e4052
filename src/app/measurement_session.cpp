#include "app/measurement_session.h"

#include <chrono>

#include "editor/editing.h"
#include "engine/run_settings.h"
#include "model/messages.h"

namespace wolterix::app {

MeasurementSession::MeasurementSession(editor::Editor& editor, engine::Measurement& measurement,
                                       MeasurementPrompt& prompt)
    : m_editor(editor), m_measurement(measurement), m_prompt(prompt) {}

// No second measurement on top of a running one, and none in a transfer workspace.
bool MeasurementSession::refused() const {
  return m_measurement.running() || m_editor.schematic().transferMode();
}

bool MeasurementSession::addMeter(engine::MeterQuantity quantity) {
  const model::Element* element = m_editor.selectedElement();
  if (refused() || !element) return false;
  if (m_measurement.addMeter(*element, quantity) < 0) return false;
  m_prompt.openPanel();
  m_prompt.showMeters();
  m_prompt.commandsChanged();
  return true;
}

void MeasurementSession::closeMeter(int slot) {
  if (m_measurement.running()) return;
  m_measurement.closeMeter(slot);
  m_prompt.showMeters();
}

bool MeasurementSession::meterOptions(int slot) {
  if (m_measurement.running() || slot < 0 || slot >= engine::Measurement::kSlotCount) return false;
  const engine::MeterSlot& meter = m_measurement.meterSlots()[static_cast<std::size_t>(slot)];
  if (!meter.inUse || !meter.element) return false;
  const std::optional<MeterOptions> options = m_prompt.askMeterOptions(meter);
  if (!options) return false;
  m_measurement.applyOptions(slot, options->autoRange, options->quantity, options->indication,
                             options->rangePosition);
  m_prompt.showMeters();
  return true;
}

bool MeasurementSession::start() {
  if (refused()) return false;
  engine::MeasurementSettings& settings = m_measurement.settings();
  for (;;) {
    const MeasurementAnswer answer = m_prompt.askMeasurement(settings);
    if (answer.choice == MeasurementAnswer::Cancelled) return false;
    settings.iterations = answer.iterations;
    const auto accepted = engine::acceptedMeasurement(answer.frequencyText, answer.cyclesText);
    if (!accepted) {
      m_prompt.showErrors({std::string(model::messages::kInvalidNumber)});
      settings.frequencyText = settings.cyclesText = "?";
      continue;
    }
    settings.frequencyText = answer.frequencyText;
    settings.cyclesText = answer.cyclesText;
    settings.frequency = accepted->first;
    settings.cycles = accepted->second;
    return run(answer.choice == MeasurementAnswer::Continue);
  }
}

bool MeasurementSession::runStored(bool continuing) {
  if (refused()) return false;
  // Nothing stored yet: ask for it as F8 does.
  if (!m_measurement.settingsValid()) return start();
  return run(continuing);
}

bool MeasurementSession::run(bool continuing) {
  if (m_measurement.running()) return false;
  m_prompt.openPanel();
  const double period = 1.0 / m_measurement.settings().frequency;
  double stepTime = m_measurement.continuationTime();
  // The window stays responsive without handling events after every solve, which would make
  // a long measurement crawl: events are let through at most every 20 ms.
  using Clock = std::chrono::steady_clock;
  Clock::time_point sinceEvents = Clock::now();
  const auto letEventsThrough = [&] {
    m_prompt.letEventsThrough();
    sinceEvents = Clock::now();
  };
  engine::MeasurementCallbacks callbacks;
  callbacks.progress = [&](int percent) {
    if (const auto frame = engine::animationFrame(percent))
      m_prompt.showFrame(*frame, engine::timeDisplayText(stepTime, period));
  };
  callbacks.afterSample = [&](double t) {
    stepTime = t;
    if (Clock::now() - sinceEvents >= std::chrono::milliseconds(20)) letEventsThrough();
  };
  callbacks.afterCycle = [&](long long cycle) {
    m_prompt.showMeters();
    m_prompt.cycleMeasured(cycle);
    letEventsThrough();
  };
  m_editor.setRunInProgress(true);
  m_prompt.setMeasuring(true);
  const engine::MeasurementOutcome outcome = m_measurement.run(continuing, callbacks);
  m_editor.setRunInProgress(false);
  m_prompt.setMeasuring(false);
  m_prompt.showMeters();
  m_prompt.showTime(engine::timeDisplayText(m_measurement.continuationTime(), period));
  m_prompt.commandsChanged();
  if (outcome.failure.code != 0) m_prompt.showErrors(outcome.failure.lines);
  m_prompt.measurementEnded();
  return outcome.failure.code == 0;
}

}  // namespace wolterix::app
