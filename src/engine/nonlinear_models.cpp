#include "engine/nonlinear_models.h"

#include <algorithm>
#include <cmath>

namespace wolterix::engine {
namespace {

namespace param = model::param;
namespace Nl = param::nonlinear;

// Magnitudes below this are raised, so a zero state never gives an infinite or zero slope.
constexpr double kMinMagnitude = 0.01;

// c * beta * a^(beta - 1): the slope of c * x^beta at a.
double incremental(double c, double beta, double x) {
  const double a = std::max(std::abs(x), kMinMagnitude);
  return c * beta * std::pow(a, beta - 1.0);
}

}  // namespace

BranchStamp NonlinearInductanceModel::companion(double h, double, SubBranchCode) {
  return {h / incremental(value(Nl::C), value(Nl::Beta), m_current), -m_current};
}

void NonlinearInductanceModel::resetState() {
  m_current = m_currentDirection ? value(Nl::Initial) : -value(Nl::Initial);
}

void NonlinearInductanceModel::commitStep(NodeVector V, double h, double) {
  const double g = h / incremental(value(Nl::C), value(Nl::Beta), m_current);
  m_current = g * voltage(V, 0, 1) + m_current;
}

BranchStamp NonlinearCapacitanceModel::companion(double h, double, SubBranchCode) {
  const double g = incremental(value(Nl::C), value(Nl::Beta), m_voltage) / h;
  return {g, g * m_voltage};
}

void NonlinearCapacitanceModel::resetState() {
  m_voltage = m_voltageDirection ? value(Nl::Initial) : -value(Nl::Initial);
}

void NonlinearCapacitanceModel::commitStep(NodeVector V, double, double) {
  m_voltage = voltage(V, 0, 1);
}

BranchStamp VaristorModel::companion(double, double, SubBranchCode) {
  const double c = value(param::war::C);
  const double beta = value(param::war::Beta);
  const double a = std::max(std::abs(m_voltage), kMinMagnitude);
  const double sigma = m_voltage < 0.0 ? -1.0 : 1.0;
  // I(U) = (U/c)^(1/beta); its tangent at a: G = dI/dU, and the current I(a) = G * a * beta.
  const double g = std::pow(a / c, 1.0 / beta) / (a * beta);
  return {g, sigma * g * a * (1.0 - beta)};
}

void VaristorModel::commitStep(NodeVector V, double, double) { m_voltage = voltage(V, 0, 1); }

}  // namespace wolterix::engine
