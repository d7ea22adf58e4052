#include "engine/passive_models.h"

namespace wolterix::engine {

namespace {
constexpr double kMeterOpen = 1e-9;
constexpr double kMeterShort = 1e6;
}  // namespace

BranchStamp ResistanceModel::companion(double, double, SubBranchCode) {
  return {1.0 / value(0), 0.0};
}

BranchStamp InductanceModel::companion(double h, double, SubBranchCode) {
  return {h / value(0), -m_current};
}
void InductanceModel::resetState() { m_current = m_currentDirection ? value(1) : -value(1); }
void InductanceModel::commitStep(NodeVector V, double h, double) {
  // i = G * v - J with the stamp of the step just accepted.
  m_current = h / value(0) * voltage(V, 0, 1) + m_current;
}

BranchStamp CapacitanceModel::companion(double h, double, SubBranchCode) {
  const double g = value(0) / h;
  return {g, g * m_voltage};
}
void CapacitanceModel::resetState() { m_voltage = m_voltageDirection ? value(1) : -value(1); }
void CapacitanceModel::commitStep(NodeVector V, double, double) { m_voltage = voltage(V, 0, 1); }


namespace {
double meterConductance(model::ElementKind kind, SubBranchCode code) {
  if (kind == model::ElementKind::mmA) return kMeterShort;
  if (kind == model::ElementKind::mmW && code == SubBranchCode::CurrentPath) return kMeterShort;
  return kMeterOpen;
}
}  // namespace

BranchStamp MeterModel::companion(double, double, SubBranchCode code) {
  return {meterConductance(kind(), code), 0.0};
}

}  // namespace wolterix::engine
