#include "engine/switching_models.h"

#include <algorithm>
#include <cmath>

#include "engine/network.h"
#include "model/switching_elements.h"

namespace wolterix::engine {
namespace {

constexpr double kClosedSwitch = 1e6;
constexpr double kOpenSwitch = 1e-9;

namespace Dio = model::param::dio;
namespace Zen = model::param::zen;
namespace Scr = model::param::tyr;
namespace Gto = model::param::gto;
namespace Breaker = model::param::wyl;
// The phase-controlled valves read Rt, Gd and f from the same places.
namespace Valve = model::param::gto;
static_assert(std::size_t{Scr::Rt} == Valve::Rt && std::size_t{Scr::Gd} == Valve::Gd &&
              std::size_t{Scr::F} == Valve::F);

BranchStamp onOff(bool conducting, double onResistance, double offConductance) {
  if (conducting) return {1.0 / std::max(onResistance, kMinOnResistance), 0.0};
  return {std::max(offConductance, kMinOffConductance), 0.0};
}

bool forwardBiased(NodeVector V, const ElementModel& m) { return V[m.node(0)] > V[m.node(1)]; }

// Conducting follows the bias: on when forward biased, off otherwise; true on a change.
bool followBias(bool& conducting, bool forward) {
  if (conducting == forward) return false;
  conducting = forward;
  return true;
}

// fmod(x, p) for p > 0, without fmod's long division where it is not needed. The remainder of
// fmod is exactly representable, so x - q * p rounded once (fma) is exactly it whenever q is
// the whole quotient; a quotient one off gives a value outside [0, p), and fmod decides.
double periodRemainder(double x, double p) {
  if (x >= 0.0 && x < 1e15 * p) {
    const double q = static_cast<double>(static_cast<long long>(x / p));
    const double r = std::fma(-q, p, x);
    if (r >= 0.0 && r < p) return r;
  }
  return std::fmod(x, p);
}

}  // namespace

BranchStamp DiodeModel::companion(double, double, SubBranchCode) {
  return onOff(m_conducting, value(Dio::Rf), value(Dio::Gd));
}

BranchStamp ZenerModel::companion(double, double, SubBranchCode) {
  const double rf = std::max(value(Zen::Rf), kMinOnResistance);
  if (m_mode == 0) return {std::max(value(Zen::Gd), kMinOffConductance), 0.0};
  // In breakdown the branch current is (V0 - V1 + Uz) / Rf.
  return {1.0 / rf, m_mode == -1 ? -value(Zen::Uz) / rf : 0.0};
}

bool ZenerModel::checkState(NodeVector V) {
  const double u = V[node(1)] - V[node(0)];  // reverse voltage
  const int before = m_mode;
  if (m_mode == 0) {
    if (u < 0.0)
      m_mode = 1;
    else if (u > value(Zen::Uz))
      m_mode = -1;
  } else if (m_mode == 1) {
    if (u > 0.0) m_mode = 0;
  } else if (u < value(Zen::Uz)) {
    m_mode = 0;
  }
  if (m_mode == before) return false;
  stampChanged();
  return true;
}

double PhaseClock::instant(double angleDegrees, double frequency) {
  double angle = std::fmod(angleDegrees, 360.0);
  if (angle < 0.0) angle += 360.0;
  return angle / (360.0 * frequency);
}

void PhaseClock::advanceBy(double h, double t, double period) {
  // From the time itself, not by adding steps up, so no rounding drifts the clock.
  double next = periodRemainder(t + h, period);
  if (next < 0.0) next += period;
  if (m_fresh) {
    m_previous = -2e-6 * h;  // the instant 0 once more (see the class)
    m_fresh = false;
  } else {
    m_previous = next < m_time ? m_time - period : m_time;
  }
  m_time = next;
}

bool PhaseClock::spansWholePeriods(double onDegrees, double offDegrees) {
  const double turns = (offDegrees - onDegrees) / 360.0;
  return turns >= 1.0 - 1e-12 && std::abs(turns - std::round(turns)) < 1e-12;
}

PhaseControlledModel::PhaseControlledModel(const model::Element& element)
    : ElementModel(element), m_period(1.0 / frequency()) {}

void PhaseControlledModel::setConducting(bool conducting) {
  if (conducting == m_conducting) return;
  m_conducting = conducting;
  stampChanged();
}

void PhaseControlledModel::bind(const Network& network) {
  // The clocks of one period run alike from the same reset, so one of them serves all.
  m_leader = nullptr;
  for (std::size_t i = 0; i < network.modelCount(); ++i) {
    const auto* other = dynamic_cast<const PhaseControlledModel*>(&network.model(i));
    if (other == this) break;
    if (other && other->m_period == m_period) {
      m_leader = other;
      break;
    }
  }
}

BranchStamp PhaseControlledModel::companion(double, double, SubBranchCode) {
  return onOff(m_conducting, value(Valve::Rt), value(Valve::Gd));
}

void PhaseControlledModel::resetState() {
  setConducting(false);
  m_clock.reset();
}

double PhaseControlledModel::frequency() const { return value(Valve::F); }

ThyristorModel::ThyristorModel(const model::Element& element) : PhaseControlledModel(element) {
  for (std::size_t slot = Scr::On1; slot < Scr::Count; ++slot)
    if (given(slot))
      m_firingInstants[static_cast<std::size_t>(m_firingCount++)] =
          PhaseClock::instant(value(slot), frequency());
}

void ThyristorModel::resetState() {
  PhaseControlledModel::resetState();
  m_reverseFlag = false;
}

void ThyristorModel::fireIfDue(double h) {
  const PhaseClock::Window window = clock().lastStep(h);
  for (int k = 0; k < m_firingCount; ++k)
    if (PhaseClock::when(window, m_firingInstants[static_cast<std::size_t>(k)], m_period))
      setConducting(true);
}

bool ThyristorModel::checkReverseConduction(NodeVector V) {
  // The antiparallel diode conducts whenever the device is reverse biased; a forward
  // voltage after reverse conduction turns it off until it is fired again.
  const bool forward = forwardBiased(V, *this);
  if (m_reverseFlag && forward) {
    setConducting(false);
    m_reverseFlag = false;
    return true;
  }
  if (m_reverseFlag || forward) return false;
  m_reverseFlag = true;
  if (m_conducting) return false;
  setConducting(true);
  return true;
}

TurnOffModel::TurnOffModel(const model::Element& element)
    : PhaseControlledModel(element),
      m_onInstant(PhaseClock::instant(value(Gto::On), frequency())),
      m_offInstant(PhaseClock::instant(value(Gto::Off), frequency())),
      m_wholePeriods(PhaseClock::spansWholePeriods(value(Gto::On), value(Gto::Off))) {}

void TurnOffModel::resetState() {
  PhaseControlledModel::resetState();
  m_gate = false;
}

void TurnOffModel::prepareStep(double h, NodeVector V) {
  const bool forward = forwardBiased(V, *this);
  if (isTransistor()) {
    const double a = m_onInstant;
    const double b = m_offInstant;
    const double p = clock().time();
    if (m_wholePeriods)
      m_gate = true;  // off a whole turn after on: the gate never goes off
    else
      m_gate = a <= b ? (a <= p && p < b) : (p >= a || p < b);
    if (forward) setConducting(m_gate);
    return;
  }
  const std::optional<double> on = clock().whenInstantInLastStep(m_onInstant, m_period, h);
  // The gate turns the GTO off at the (off) instant whatever the current, unless that instant
  // lies whole periods after the (on) one. When both fall in one step, the later one decides.
  std::optional<double> off;
  if (!m_wholePeriods) off = clock().whenInstantInLastStep(m_offInstant, m_period, h);
  const bool offLast = off && (!on || *off >= *on);
  bool conducting = m_conducting;
  if (off && !offLast) conducting = false;
  if (!conducting && forward && on) conducting = true;
  if (offLast) conducting = false;
  setConducting(conducting);
}

bool TurnOffModel::checkState(NodeVector V) {
  if (!isTransistor()) return offWhenReversed(V);
  if (!m_gate || !followBias(m_conducting, forwardBiased(V, *this))) return false;
  stampChanged();
  return true;
}

SwitchModel::SwitchModel(const model::Element& element)
    : ElementModel(element),
      m_initiallyClosed(static_cast<const model::Wylacznik&>(element).initiallyOn()) {}

BranchStamp SwitchModel::companion(double, double, SubBranchCode) {
  return {m_closed ? kClosedSwitch : kOpenSwitch, 0.0};
}

void SwitchModel::resetState() {
  m_closed = m_initiallyClosed;
  stampChanged();
  m_done[0] = m_done[1] = false;
}

void SwitchModel::commitStep(NodeVector, double h, double t) {
  // Each time acts once per run from 0; the new state holds from the next step. A time due
  // at this step's instant, give or take a millionth of a step, is this step's.
  for (std::size_t i = Breaker::T1; i < Breaker::Count; ++i) {
    if (given(i) && !m_done[i] && t >= value(i) - 1e-6 * h) {
      m_closed = !m_closed;
      m_done[i] = true;
      stampChanged();
    }
  }
}

}  // namespace wolterix::engine
