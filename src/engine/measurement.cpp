#include "engine/measurement.h"

#include <cmath>

#include "model/connectivity.h"
#include "model/element.h"
#include "model/engineering_number.h"
#include "model/messages.h"

namespace wolterix::engine {

std::optional<std::pair<double, long long>> acceptedMeasurement(const std::string& frequency,
                                                                const std::string& cycles) {
  if (!model::isValidNumber(frequency, false, false) || !model::isValidNumber(cycles, false, false))
    return std::nullopt;
  const double f = *model::parseNumber(frequency);
  const double count = *model::parseNumber(cycles);
  // A cycle is run whole or not at all; a count beyond a billion cycles is no measurement.
  if (!(f > 0.0) || !std::isfinite(f)) return std::nullopt;
  if (!(count >= 1.0) || count > 1e9 || std::floor(count) != count) return std::nullopt;
  return std::pair{f, static_cast<long long>(count)};
}

std::optional<int> animationFrame(int percent) {
  for (int l = 0; l < 8; ++l)
    if (l * 12.5 < percent && percent <= l * 12.5 + 1) return l;
  return std::nullopt;
}

std::string meterWaveform(MeterQuantity quantity, const std::string& elementName) {
  return quantityLetter(quantity) + "(" + elementName + ")";
}

std::optional<double> readStoredCycle(const engine::WaveformStore& store, MeterQuantity quantity,
                                      Indication indication, const std::string& elementName) {
  if (quantity == MeterQuantity::Power && indication != Indication::DcMean) {
    const auto factors = store.powerFactors(elementName);
    if (!factors) return std::nullopt;
    return readPowerCycle(factors->first, factors->second, indication);
  }
  const auto samples = store.trace(meterWaveform(quantity, elementName));
  if (!samples) return std::nullopt;
  return readCycle(*samples, indication);
}

Measurement::Measurement(model::Schematic& schematic, model::DocumentFlags& flags)
    : m_schematic(schematic), m_flags(flags) {}

int Measurement::addMeter(const model::Element& element, MeterQuantity quantity) {
  for (int i = 0; i < kSlotCount; ++i) {
    MeterSlot& slot = m_slots[static_cast<std::size_t>(i)];
    if (slot.inUse) continue;
    slot = MeterSlot{};
    slot.inUse = true;
    slot.element = &element;
    slot.quantity = quantity;
    slot.indication = quantity == MeterQuantity::Power ? Indication::DcMean : Indication::TrueRms;
    resetDisplay(slot);
    return i;
  }
  return -1;
}

void Measurement::closeMeter(int index) {
  if (index < 0 || index >= kSlotCount) return;
  m_slots[static_cast<std::size_t>(index)] = MeterSlot{};
}

std::vector<int> Measurement::forgetElement(const model::Element& element) {
  std::vector<int> freed;
  for (int i = 0; i < kSlotCount; ++i)
    if (m_slots[static_cast<std::size_t>(i)].inUse &&
        m_slots[static_cast<std::size_t>(i)].element == &element) {
      closeMeter(i);
      freed.push_back(i);
    }
  return freed;
}

void Measurement::applyOptions(int index, bool autoRange, MeterQuantity quantity,
                               Indication indication, int position) {
  if (index < 0 || index >= kSlotCount) return;
  MeterSlot& slot = m_slots[static_cast<std::size_t>(index)];
  if (!slot.inUse) return;
  if (!indicationFits(quantity, indication))
    indication = quantity == MeterQuantity::Power ? Indication::DcMean : Indication::TrueRms;
  // A new range shows the last reading again; another quantity or indication starts at 0.
  const bool sameReading =
      slot.hasReading && slot.quantity == quantity && slot.indication == indication;
  slot.autoRange = autoRange;
  slot.quantity = quantity;
  slot.indication = indication;
  rangeFromPosition(position, slot.fullScale, slot.rangeExponent);
  if (sameReading)
    showReading(slot, slot.reading);
  else
    resetDisplay(slot);
}

bool Measurement::anyMeter() const {
  for (const MeterSlot& slot : m_slots)
    if (slot.inUse) return true;
  return false;
}

void Measurement::resetMeters() {
  for (MeterSlot& slot : m_slots)
    if (slot.inUse) resetDisplay(slot);
}

void Measurement::updateMeters() {
  for (MeterSlot& slot : m_slots) {
    if (!slot.inUse || !slot.element) continue;
    if (const auto reading = readStoredCycle(m_simulation.store(), slot.quantity, slot.indication,
                                             slot.element->name()))
      showReading(slot, *reading);
  }
}

MeasurementOutcome Measurement::run(bool continueRun, const MeasurementCallbacks& callbacks) {
  MeasurementOutcome outcome;
  if (!(m_settings.frequency > 0.0) || !std::isfinite(m_settings.frequency) ||
      m_settings.cycles < 1) {
    outcome.failure = {1, {std::string(model::messages::kInvalidNumber)}};
    return outcome;
  }
  // Like a new run, a measurement leaves the last simulation's results behind: its plots and
  // its continuation wait for the next simulation.
  m_flags.resultsValid = false;
  m_running = true;
  double start = m_continuationTime;
  if (!continueRun || !m_flags.measurementContinuable) {
    model::numberNodes(m_schematic);
    m_flags.measurementContinuable = false;
    resetMeters();
    start = 0.0;
  }
  const double period = 1.0 / m_settings.frequency;
  engine::RunCallbacks cycle;
  cycle.progress = callbacks.progress;
  cycle.afterSample = callbacks.afterSample;
  for (long long n = 1; n <= m_settings.cycles; ++n) {
    engine::RunResult result =
        m_simulation.transientRun(m_schematic, start, period, m_settings.iterations, true, cycle);
    if (!result.ok()) {
      m_flags.measurementContinuable = false;
      outcome.failure = std::move(result);
      break;
    }
    m_flags.measurementContinuable = true;
    start = m_continuationTime = m_simulation.continuationTime();
    updateMeters();
    outcome.cyclesDone = n;
    if (callbacks.afterCycle) callbacks.afterCycle(n);
    if (!m_running) {
      outcome.stopped = n < m_settings.cycles;
      break;
    }
  }
  m_running = false;
  return outcome;
}

}  // namespace wolterix::engine
