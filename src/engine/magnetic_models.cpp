#include "engine/magnetic_models.h"

#include <algorithm>
#include <cmath>

namespace wolterix::engine {

namespace {
constexpr double kPi = 3.141592654;
constexpr double kFourPi = 12.566370616;
namespace Spr = model::param::spr;
namespace Tf = model::param::tf1;
}  // namespace

// Coupled coils. Backward Euler on v = L di/dt with L = [[L1, dM], [dM, L2]]:
// i(n) = i(n-1) + h * inverse(L) * v(n).
CoupledCoilsModel::Inverse CoupledCoilsModel::inverse() const {
  const double l1 = value(Spr::L1);
  const double l2 = value(Spr::L2);
  const double coupling = std::min(value(Spr::M) / 100.0, kMaxCoupling);
  const double polarity = m_swapped ? -1.0 : 1.0;
  const double m = polarity * coupling * std::sqrt(l1 * l2);
  const double det = l1 * l2 - m * m;
  return {l2 / det, l1 / det, -m / det};
}

BranchStamp CoupledCoilsModel::companion(double h, double, SubBranchCode code) {
  const Inverse g = inverse();
  if (code == SubBranchCode::SecondWinding) return {h * g.g22, -m_current2, h * g.g12};
  return {h * g.g11, -m_current1, h * g.g12};
}

void CoupledCoilsModel::resetState() {
  m_current1 = value(Spr::Io1);
  // A swapped second winding is connected the other way round.
  m_current2 = m_swapped ? -value(Spr::Io2) : value(Spr::Io2);
}

void CoupledCoilsModel::commitStep(NodeVector V, double h, double) {
  const Inverse g = inverse();
  const double v1 = voltage(V, 0, 1);
  const double v2 = voltage(V, 2, 3);
  m_current1 += h * (g.g11 * v1 + g.g12 * v2);
  m_current2 += h * (g.g12 * v1 + g.g22 * v2);
}

TransformerModel::Equivalent TransformerModel::computeEquivalent() const {
  const double s = value(Tf::S);
  const double u1 = value(Tf::U1);
  const double u2 = value(Tf::U2);
  const double f = value(Tf::F);
  const double uzr = value(Tf::Uzr) / 100.0;
  const double ior = value(Tf::Ior);
  const double pun = value(Tf::Pun);
  const double pfen = value(Tf::Pfen);
  Equivalent eq{};
  eq.r1 = pun * u1 * u1 / (2.0 * s * s);
  eq.r2 = pun * u2 * u2 / (2.0 * s * s);
  eq.perUnitLeakage = std::sqrt(uzr * uzr - (pun / s) * (pun / s));
  eq.leakage1 = eq.perUnitLeakage * u1 * u1 / (kFourPi * f * s);
  eq.leakage2 = eq.perUnitLeakage * u2 * u2 / (kFourPi * f * s);
  eq.r = 50.0 / (kPi * f * s * ior);
  eq.lm1 = u1 * u1 * eq.r;
  eq.lm2 = u2 * u2 * eq.r;
  eq.m12 = u1 * u2 * eq.r;
  eq.gfe1 = pfen / (2.0 * u1 * u1);
  eq.gfe2 = pfen / (2.0 * u2 * u2);
  return eq;
}

bool TransformerModel::hasParameters() const {
  // The leakage reactance needs Uzr/100 > Pun/S.
  return ElementModel::hasParameters() && value(Tf::Uzr) / 100.0 > value(Tf::Pun) / value(Tf::S);
}

void TransformerModel::resetState() {
  m_eq = computeEquivalent();
  m_current1 = m_current2 = m_flux = 0.0;
}

// One backward-Euler step of the equivalent circuit, solved for the winding currents:
// v_k = R_k i_k + Ls_k (i_k - i_k')/h + U_k x, i_k = Gfe_k U_k x + im_k, and the flux variable
// phi = r (U1 im1 + U2 im2) = phi' + h x gives i_k = sum_m y_km v_m + c_k.
TransformerModel::StepTerms TransformerModel::stepTerms(double h) const {
  StepTerms t{{value(Tf::U1), value(Tf::U2)},
              {m_eq.r1 + m_eq.leakage1 / h, m_eq.r2 + m_eq.leakage2 / h},
              {m_eq.leakage1 * m_current1 / h, m_eq.leakage2 * m_current2 / h},
              0.0};
  const double gsum = m_eq.gfe1 * t.u[0] * t.u[0] + m_eq.gfe2 * t.u[1] * t.u[1];
  t.d = h + m_eq.r * (t.u[0] * t.u[0] / t.z[0] + t.u[1] * t.u[1] / t.z[1] + gsum);
  return t;
}

TransformerModel::TwoPort TransformerModel::twoPort(double h) const {
  const auto [u, z, a, d] = stepTerms(h);
  const double history = m_eq.r * (u[0] * a[0] / z[0] + u[1] * a[1] / z[1]) - m_flux;
  TwoPort p{};
  p.y11 = 1.0 / z[0] - m_eq.r * u[0] * u[0] / (z[0] * z[0] * d);
  p.y22 = 1.0 / z[1] - m_eq.r * u[1] * u[1] / (z[1] * z[1] * d);
  p.y12 = -m_eq.r * u[0] * u[1] / (z[0] * z[1] * d);
  p.c1 = a[0] / z[0] - u[0] / z[0] * history / d;
  p.c2 = a[1] / z[1] - u[1] / z[1] * history / d;
  return p;
}

BranchStamp TransformerModel::companion(double h, double, SubBranchCode code) {
  const TwoPort p = twoPort(h);
  if (code == SubBranchCode::SecondWinding) return {p.y22, -p.c2, p.y12};
  return {p.y11, -p.c1, p.y12};
}

void TransformerModel::commitStep(NodeVector V, double h, double) {
  const auto [u, z, a, d] = stepTerms(h);
  const double v1 = voltage(V, 0, 1);
  const double v2 = voltage(V, 2, 3);
  const double x = (m_eq.r * (u[0] * (v1 + a[0]) / z[0] + u[1] * (v2 + a[1]) / z[1]) - m_flux) / d;
  m_current1 = (v1 + a[0] - u[0] * x) / z[0];
  m_current2 = (v2 + a[1] - u[1] * x) / z[1];
  m_flux += h * x;
}

}  // namespace wolterix::engine
