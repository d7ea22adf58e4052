#include "engine/source_models.h"

#include <algorithm>
#include <cmath>

#include "engine/network.h"
#include "model/schematic.h"
#include "model/source_elements.h"
#include "model/waveform_names.h"

namespace wolterix::engine {
namespace {

constexpr double kMinResistance = 0.0001;
constexpr double kMinConductance = 1e-12;
constexpr double kTwoPi = 6.283185308;
constexpr double kPi = 3.141592654;
namespace Src = model::param::source;
namespace Ctl = model::param::controlled;

}  // namespace

double waveformValue(model::Waveform kind, double a, double f, double phaseDegrees, double t) {
  using W = model::Waveform;
  const double theta = kTwoPi * f * t + kPi * phaseDegrees / 180.0;
  const double x = f * t + phaseDegrees / 360.0;  // elapsed periods
  // floor rather than truncation keeps negative phases on the same shape.
  switch (kind) {
    case W::Constant: return a;
    case W::Sine: return std::sqrt(2.0) * a * std::sin(theta);
    case W::Square: return std::sin(theta) >= 0.0 ? a : 0.0;
    case W::Triangle:
      if (std::cos(theta) >= 0.0) return 4.0 * a * (x - std::floor(x + 0.4));
      return -4.0 * a * (x + 0.5 - std::floor(x + 0.8));
    case W::Sawtooth: return 2.0 * a * (x - std::floor(x + 0.5));
  }
  return 0.0;
}

IndependentSourceModel::IndependentSourceModel(const model::Element& element)
    : ElementModel(element),
      m_waveform(static_cast<const model::IndependentSource&>(element).waveform()),
      m_voltage(element.kind() == model::ElementKind::Nap),
      m_peak(std::sqrt(2.0) * value(Src::Value)),
      m_omega(kTwoPi * value(Src::F)),
      m_phase(kPi * value(Src::Phase) / 180.0),
      m_internal(std::max(value(Src::Internal), kMinResistance)),
      m_conductance(m_voltage ? 1.0 / m_internal
                              : std::max(value(Src::Internal), kMinConductance)) {}

double IndependentSourceModel::otherWaveform(double t) const {
  return waveformValue(m_waveform, value(Src::Value), value(Src::F), value(Src::Phase), t);
}

bool IndependentSourceModel::hasParameters() const {
  return haveValues(Src::Value, Src::F) &&
         (m_waveform == model::Waveform::Constant || haveValues(Src::F, Src::Count));
}

ControlledSourceModel::ControlledSourceModel(const model::Element& element,
                                             const model::Schematic& schematic)
    : ElementModel(element),
      m_voltage(element.kind() == model::ElementKind::zsN),
      m_controlGiven(!element.controlText().empty()) {
  if (const auto trace = model::resolveWaveform(schematic, element.controlText())) {
    m_letter = trace->quantity;
    m_target = trace->elementIndex;
  } else {
    m_controlGiven = false;
  }
}

bool ControlledSourceModel::hasParameters() const {
  return m_controlGiven && haveValues(Ctl::K, Ctl::Count);
}

BranchStamp ControlledSourceModel::companion(double, double, SubBranchCode) {
  const double source = sign() * value(Ctl::K) * m_x;
  if (m_voltage) {
    const double rw = std::max(value(Ctl::Internal), kMinResistance);
    return {1.0 / rw, source / rw};
  }
  return {std::max(value(Ctl::Internal), kMinConductance), source};
}

void ControlledSourceModel::resetState() { m_x = 0.0; }

void ControlledSourceModel::bind(const Network& network) { m_network = &network; }

void ControlledSourceModel::commitStep(NodeVector V, double, double) {
  if (!m_network || m_target < 0 || static_cast<std::size_t>(m_target) >= m_network->modelCount())
    return;
  const ElementModel& target = m_network->model(static_cast<std::size_t>(m_target));
  switch (m_letter) {
    case 'U': {
      const double u = V[target.node(0)] - V[target.node(1)];
      m_x = target.voltageDirection() ? u : -u;
      break;
    }
    case 'I': {
      const auto branch =
          static_cast<std::size_t>(m_network->firstBranchOf(static_cast<std::size_t>(m_target)));
      const double i = m_network->branchCurrent(branch, V);
      m_x = target.currentDirection() ? i : -i;
      break;
    }
    case 'n': m_x = target.motorSpeed(); break;
    default: break;
  }
}

}  // namespace wolterix::engine
