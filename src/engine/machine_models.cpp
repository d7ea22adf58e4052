#include "engine/machine_models.h"

#include <algorithm>
#include <cmath>

#include "model/machine_elements.h"

namespace wolterix::engine {
namespace {
constexpr double kPi = 3.141592654;
constexpr double kFallbackConstant = 0.00001;
constexpr double kMinArmatureResistance = 0.01;
constexpr double kInactiveConductance = 1e-6;
constexpr double kBaseFallback = 1e6;

namespace Motor = model::param::sdc;
namespace Bjt = model::param::bjt;
}  // namespace

DcMotorModel::DcMotorModel(const model::Element& element)
    : ElementModel(element),
      m_activeLoad(static_cast<const model::SilnikDC&>(element).activeLoad()) {}

bool DcMotorModel::hasParameters() const {
  // The mechanics divide by J and the armature by h*Rt + Lt.
  return ElementModel::hasParameters() && value(Motor::J) > 0.0 &&
         (value(Motor::Rt) > 0.0 || value(Motor::Lt) > 0.0);
}

void DcMotorModel::resetState() {
  const double ratedOmega = value(Motor::N) * kPi / 30.0;
  const double rt = std::max(value(Motor::Rt), kMinArmatureResistance);
  const double excitation = value(Motor::Excitation) / 100.0;
  m_kT = (value(Motor::N) == 0.0 || value(Motor::I) == 0.0)
             ? kFallbackConstant
             : value(Motor::P) / (value(Motor::I) * ratedOmega) * excitation;
  m_kE = value(Motor::N) == 0.0
             ? kFallbackConstant
             : (value(Motor::U) - value(Motor::I) * rt) / ratedOmega * excitation;
  m_omega = m_nextOmega = m_free = value(Motor::N0) * kPi / 30.0;
  m_current = m_currentDirection ? value(Motor::I0) : -value(Motor::I0);
  m_load = 0.0;
}

BranchStamp DcMotorModel::companion(double h, double, SubBranchCode) {
  // The armature current and the speed of the step are solved together (backward Euler of
  // both equations); only the load torque is taken at the last accepted speed. The speed the
  // step reaches is m_free plus h/J times kT times the step's current, so the back EMF adds
  // kE kT h / J to the armature's impedance, and no step is too long for the loop.
  const double x = m_omega / value(Motor::N);
  m_load = value(Motor::A) + value(Motor::B) * std::abs(x) + value(Motor::C) * x * x;
  double sigma = 1.0;
  if (!m_activeLoad) sigma = m_omega >= 1.0 ? 1.0 : (m_omega <= -1.0 ? -1.0 : 0.0);
  m_h = h;
  m_free = m_omega - h / value(Motor::J) * sigma * m_load;
  m_nextOmega = m_free;
  const double denominator =
      h * value(Motor::Rt) + value(Motor::Lt) + m_kE * m_kT * h * h / value(Motor::J);
  m_G = h / denominator;
  m_J = (h * m_kE * m_free - value(Motor::Lt) * m_current) / denominator;
  return {m_G, m_J};
}

bool DcMotorModel::checkState(NodeVector V) {
  // Not a change of state: the speed this solution implies, for the samples and for
  // sources steered by it.
  m_nextOmega = m_free + m_h / value(Motor::J) * m_kT * (m_G * voltage(V, 0, 1) - m_J);
  return false;
}

void DcMotorModel::commitStep(NodeVector V, double, double) {
  m_current = m_G * voltage(V, 0, 1) - m_J;
  m_omega = m_free + m_h / value(Motor::J) * m_kT * m_current;
  m_nextOmega = m_omega;
}

double DcMotorModel::motorSpeed() const { return m_nextOmega * 30.0 / kPi; }

BjtModel::BjtModel(const model::Element& element) : ElementModel(element), m_npn(element.isNpn()) {}

bool BjtModel::hasParameters() const {
  // The stamps divide by h12e and h22e.
  return ElementModel::hasParameters() && value(Bjt::H12e) != 0.0 && value(Bjt::H22e) != 0.0;
}

void BjtModel::resetState() {
  m_active = false;
  m_x = 0.0;
  m_stepEmitterConductance = kInactiveConductance;
}

double BjtModel::baseConductance() const {
  const double h11 = value(Bjt::H11e), h12 = value(Bjt::H12e);
  const double h21 = value(Bjt::H21e), h22 = value(Bjt::H22e);
  const double g = 1.0 / (h11 - (h21 + 1.0) * h12 / h22);
  return (g > 0.0 && std::isfinite(g)) ? g : kBaseFallback;
}

double BjtModel::emitterConductance() const {
  return m_active ? value(Bjt::H22e) / value(Bjt::H12e) : kInactiveConductance;
}

BranchStamp BjtModel::companion(double, double, SubBranchCode code) {
  const double h12 = value(Bjt::H12e), h21 = value(Bjt::H21e), h22 = value(Bjt::H22e);
  switch (code) {
    case SubBranchCode::BjtCollector:
      if (!m_active) return {kInactiveConductance, 0.0};
      return {h22 / (h21 + 1.0), (h21 + h12) * m_x / (h21 + 1.0)};
    case SubBranchCode::BjtEmitter:
      m_stepEmitterConductance = emitterConductance();
      return {m_stepEmitterConductance, 0.0};
    case SubBranchCode::BjtBase: return {baseConductance(), 0.0};
    case SubBranchCode::Single:
    case SubBranchCode::FirstWinding:
    case SubBranchCode::SecondWinding:
    case SubBranchCode::CurrentPath:
    case SubBranchCode::VoltagePath: break;
  }
  return {};
}

bool BjtModel::checkState(NodeVector V) {
  const double internal = V[node(model::kInternalNodeTerminal)];
  const double emitter = V[node(1)];
  const bool active = m_npn ? internal > emitter : internal < emitter;
  if (active == m_active) return false;
  m_active = active;
  return true;
}

void BjtModel::commitStep(NodeVector V, double, double) {
  // With the conductance the accepted solve used: a step accepted after its sixth solve may
  // end with the state flipped once more by the last check.
  m_x = m_stepEmitterConductance * (V[node(1)] - V[node(model::kInternalNodeTerminal)]);
}

}  // namespace wolterix::engine
